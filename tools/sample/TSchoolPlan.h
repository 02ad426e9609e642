#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QVector>

// The shape of the sample school before any row is written: teachers, classes, pupils with the
// sections (Lernabschnitte) they spent at the school, their subjects, and the courses those
// subjects are taught in. Everything follows from the number of pupils and the seed.
//
// The school is a Gymnasium with the year groups 5 to 10, EF, Q1 and Q2 (indexes 0 to 8), two
// sections per school year, over the school years 2016/17 to 2024/25; the database stands in the
// second section of 2024/25, whose marks are mostly not given yet.
class TSchoolPlan
{
public:
    static constexpr int FirstYear = 2016;
    static constexpr int CurrentYear = 2024;
    static constexpr int CurrentSection = 2;
    static constexpr int YearGroups = 9;

    // The subjects, with their K_Fach.ID as value.
    enum TSubject {
        D = 1,
        M,
        E,
        F,
        L,
        S,
        BI,
        CH,
        PH,
        EK,
        GE,
        PK,
        SW,
        KR,
        ER,
        PP,
        SP,
        MU,
        KU,
        IF,
        PA,
        LI,
        PL,
        NW,
        SubjectCount = NW
    };

    struct TTeacher
    {
        int ID;
        QString Kuerzel;
        QString Nachname;
        QString Vorname;
        bool Female;
    };

    struct TSection
    {
        int ID;
        int Year;
        int Abschnitt;
        int YearGroup;
        QString Klasse;
        bool Repeat;  // the school year is a repetition
        bool Leaving; // the pupil leaves after this section
    };

    // A subject a pupil has in a section, and how it is taught.
    struct TSubjectSlot
    {
        int Fach;
        QString Kursart; // PUK, WP, GK, LK
        int Wochenstunden;
        bool InCourse; // taught in a course (Kurse) rather than in the class
    };

    struct TPupil
    {
        int ID;
        bool Female;
        int Status;    // 0 Neuaufnahme, 1 Warteliste, 2 Aktiv, 3 Beurlaubt, 6 Extern, 8 Abschluss, 9 Abgänger
        int EntryYear; // first school year at the school
        int EntryYearGroup;
        int Religion;             // KR, ER or PP
        int Language2;            // F or L
        int Elective;             // IF, SW or S (Wahlpflicht from year group 7)
        int Science;              // CH or PH in the upper school
        int Society;              // EK or SW in the upper school
        int Arts;                 // KU or MU
        int Advanced1, Advanced2; // Leistungskurse in Q1 and Q2
        bool KeepsLanguage2;      // in Q1 and Q2
        int Ability;              // 10 (best) to 45: the centre of the pupil's marks, in tenths
        QList<TSection> Sections;
    };

    struct TCourse
    {
        int ID;
        int Year;
        int Abschnitt;
        int YearGroup;
        int Fach; // 0 for a working group (AG)
        QString KurzBez;
        QString Kursart;
        int Wochenstunden;
        int Teacher; // index into Teachers()
        int Group;   // 1, 2, ... among the courses of one subject
    };

    TSchoolPlan(int Pupils, quint64 Seed);

    const QList<TTeacher>& Teachers() const { return FTeachers; }
    const QList<TPupil>& Pupils() const { return FPupils; }
    const QList<TCourse>& Courses() const { return FCourses; }
    // The classes of the current school year, in list order, with their year group.
    const QList<QPair<QString, int>>& CurrentClasses() const { return FClasses; }

    // The subjects of Pupil in a year group, in report order.
    QList<TSubjectSlot> Subjects(const TPupil& Pupil, int YearGroup) const;
    // The course (Kurse.ID) in which Pupil has Slot in Section; 0 when the subject is taught in the class.
    int CourseOf(const TPupil& Pupil, const TSection& Section, const TSubjectSlot& Slot) const;

    // The teacher (index) of a class in a school year, of its deputy, and of a subject in a class.
    int ClassTeacher(const QString& Klasse, int Year) const;
    int DeputyTeacher(const QString& Klasse, int Year) const;
    int SubjectTeacher(const QString& Klasse, int Fach, int Year) const;

    static QString SubjectCode(int Fach);
    static QString YearGroupCode(int YearGroup); // "05" .. "10", "EF", "Q1", "Q2"
    // A number that depends on the seed and the parts only; for choices that must come out the
    // same wherever they are made.
    quint64 Hash(quint64 A, quint64 B = 0, quint64 C = 0, quint64 D = 0) const;
    quint64 Seed() const { return FSeed; }

private:
    void PlanTeachers(int Count);
    void PlanPupils(int Count);
    void PlanCourses();
    QString ClassName(int YearGroup, int Letter) const;

    quint64 FSeed;
    QList<TTeacher> FTeachers;
    QList<TPupil> FPupils;
    QList<TCourse> FCourses;
    QList<QPair<QString, int>> FClasses;
    int FLetters[YearGroups] = {};
    // (year, section, year group, subject, kind of course) -> number of its courses and the ID of the first
    QHash<QString, QPair<int, int>> FCourseGroups;
};
