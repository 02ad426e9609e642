#include "TSchoolPlan.h"

#include "SampleNames.h"
#include "TRandom.h"

#include <QMap>
#include <QSet>

namespace {

quint64 Mix(quint64 X)
{
    X = (X ^ (X >> 30)) * 0xBF58476D1CE4E5B9ULL;
    X = (X ^ (X >> 27)) * 0x94D049BB133111EBULL;
    return X ^ (X >> 31);
}

// FNV-1a over the UTF-16 code units: unlike qHash, the same in every process.
quint64 TextHash(const QString& Text)
{
    quint64 h = 0xCBF29CE484222325ULL;
    for (const QChar c : Text) {
        h ^= c.unicode();
        h *= 0x100000001B3ULL;
    }
    return h;
}

// Upper case without accents, the way a case- and accent-insensitive collation (MariaDB's
// utf8mb4_general_ci) compares: two abbreviations with the same key would break a unique index.
QString CollationKey(const QString& Text)
{
    QString key;
    for (const QChar c : Text.toUpper().normalized(QString::NormalizationForm_D)) {
        if (c.category() == QChar::Mark_NonSpacing)
            continue;
        switch (c.unicode()) {
            case 0x0141: key += u'L'; break; // Ł
            case 0x0110: key += u'D'; break; // Đ
            case 0x00D8: key += u'O'; break; // Ø
            case 0x00DF: key += u'S'; break; // ß
            case 0x0131: key += u'I'; break; // ı
            default: key += c; break;
        }
    }
    return key;
}

// The letters of a name in upper case, for abbreviations.
QString Letters(const QString& Name)
{
    QString out;
    for (const QChar c : Name)
        if (c.isLetter())
            out += c.toUpper();
    return out;
}

} // namespace

TSchoolPlan::TSchoolPlan(int Pupils, quint64 Seed) : FSeed(Seed)
{
    PlanTeachers(qMax(14, Pupils / 13));
    // Classes of about 27 pupils. Nine year groups are there in the first school year, then one
    // new year group comes each year, and some pupils join in the upper school.
    const double perYearGroup = Pupils * 0.97 / (9 + (CurrentYear - FirstYear) * 1.15);
    for (int j = 0; j < YearGroups; ++j)
        FLetters[j] = j < 6 ? qBound(1, qRound(perYearGroup / 27.0), 26) : 1;
    for (int j = 0; j < YearGroups; ++j)
        for (int l = 0; l < FLetters[j]; ++l)
            FClasses.append({ClassName(j, l), j});
    PlanPupils(Pupils);
    PlanCourses();
}

quint64 TSchoolPlan::Hash(quint64 A, quint64 B, quint64 C, quint64 D) const
{
    quint64 h = Mix(FSeed + 0x9E3779B97F4A7C15ULL);
    for (const quint64 part : {A, B, C, D})
        h = Mix(h ^ (part + 0x9E3779B97F4A7C15ULL + (h << 6) + (h >> 2)));
    return h;
}

QString TSchoolPlan::SubjectCode(int Fach)
{
    static const char* const codes[] = {"",   "D",  "M",  "E",  "F",  "L",  "S",  "BI", "CH", "PH", "EK", "GE", "PK",
                                        "SW", "KR", "ER", "PP", "SP", "MU", "KU", "IF", "PA", "LI", "PL", "NW"};
    return QString::fromLatin1(codes[Fach]);
}

QString TSchoolPlan::YearGroupCode(int YearGroup)
{
    static const char* const codes[] = {"05", "06", "07", "08", "09", "10", "EF", "Q1", "Q2"};
    return QString::fromLatin1(codes[YearGroup]);
}

QString TSchoolPlan::ClassName(int YearGroup, int Letter) const
{
    if (YearGroup >= 6)
        return YearGroupCode(YearGroup);
    return QString::number(YearGroup + 5) + QChar(u'a' + Letter);
}

void TSchoolPlan::PlanTeachers(int Count)
{
    TRandom r(Hash(1));
    QSet<QString> keys;
    for (int i = 0; i < Count; ++i) {
        TTeacher t;
        t.ID = i + 1;
        t.Female = r.Chance(620);
        t.Nachname = SampleNames::Surnames.Pick(r);
        t.Vorname = (t.Female ? SampleNames::AdultFemaleNames : SampleNames::AdultMaleNames).Pick(r);
        const QString last = Letters(t.Nachname) + QStringLiteral("XXX");
        const QString first = Letters(t.Vorname) + QStringLiteral("X");
        QStringList candidates = {last.left(3), last.left(2) + first.left(1), last.left(1) + first.left(2)};
        for (int n = 2; n <= 9; ++n)
            candidates << last.left(2) + QString::number(n);
        candidates << QStringLiteral("L%1").arg(t.ID);
        for (const QString& c : candidates)
            if (!keys.contains(CollationKey(c))) {
                t.Kuerzel = c;
                break;
            }
        keys.insert(CollationKey(t.Kuerzel));
        FTeachers.append(t);
    }
}

void TSchoolPlan::PlanPupils(int Count)
{
    int nextSection = 1;
    for (int i = 0; i < Count; ++i) {
        TPupil p;
        p.ID = i + 1;
        TRandom r(Hash(2, quint64(p.ID)));
        p.Female = r.Chance(490);
        p.Religion = r.Chance(400) ? KR : r.Chance(580) ? ER : PP;
        p.Language2 = r.Chance(550) ? F : L;
        static const int electives[] = {IF, SW, S};
        p.Elective = r.Pick(electives);
        p.Science = r.Chance(500) ? CH : PH;
        p.Society = r.Chance(500) ? EK : SW;
        p.Arts = r.Chance(550) ? KU : MU;
        static const int advanced[] = {D, M, E, BI, GE};
        p.Advanced1 = r.Pick(advanced);
        do
            p.Advanced2 = r.Pick(advanced);
        while (p.Advanced2 == p.Advanced1);
        p.KeepsLanguage2 = r.Chance(400);
        p.Ability = r.Between(12, 42);

        if (p.ID % 50 == 7 || p.ID % 97 == 11) {
            // Admitted for the next school year, or on the waiting list: no sections yet.
            p.Status = p.ID % 50 == 7 ? 0 : 1;
            p.EntryYear = CurrentYear + 1;
            p.EntryYearGroup = 0;
            FPupils.append(p);
            continue;
        }
        const int start = r.Below(900 + 115 * (CurrentYear - FirstYear));
        if (start < 900) {
            p.EntryYear = FirstYear;
            p.EntryYearGroup = start / 100;
        } else {
            p.EntryYear = FirstYear + 1 + (start - 900) / 115;
            p.EntryYearGroup = r.Chance(130) ? 6 : r.Chance(50) ? r.Between(1, 5) : 0;
        }

        int j = p.EntryYearGroup;
        int letter = r.Below(FLetters[j]);
        bool repeat = false;
        p.Status = 2;
        for (int y = p.EntryYear; y <= CurrentYear; ++y) {
            bool left = false;
            for (int a = 1; a <= 2 && !(y == CurrentYear && a > CurrentSection); ++a) {
                p.Sections.append({nextSection++, y, a, j, ClassName(j, letter), repeat, false});
                if (a == 1 && y < CurrentYear && r.Chance(8)) {
                    p.Status = 9;
                    left = true;
                    break;
                }
            }
            if (left || y == CurrentYear)
                break;
            if (j == 8 || (j == 5 && r.Chance(120))) {
                p.Status = 8;
                break;
            }
            if (r.Chance(20)) {
                p.Status = 9;
                break;
            }
            repeat = r.Chance(30);
            if (repeat) {
                letter = r.Below(FLetters[j]);
            } else {
                ++j;
                letter = qMin(letter, FLetters[j] - 1);
            }
        }
        if (p.Status == 2)
            p.Status = r.Chance(30) ? 3 : r.Chance(20) ? 6 : 2;
        else
            p.Sections.last().Leaving = true;
        FPupils.append(p);
    }
}

QList<TSchoolPlan::TSubjectSlot> TSchoolPlan::Subjects(const TPupil& Pupil, int YearGroup) const
{
    const int rel = Pupil.Religion, l2 = Pupil.Language2, wp = Pupil.Elective;
    QList<TSubjectSlot> s;
    auto cls = [&](int Fach, int Hours) { s.append({Fach, QStringLiteral("PUK"), Hours, false}); };
    auto course = [&](int Fach, const char* Kursart, int Hours) {
        s.append({Fach, QString::fromLatin1(Kursart), Hours, true});
    };
    switch (YearGroup) {
        case 0:
            cls(D, 4), cls(M, 4), cls(E, 5), cls(BI, 2), cls(EK, 2), cls(PK, 1), course(rel, "PUK", 2), cls(SP, 3),
                cls(MU, 2), cls(KU, 2), cls(IF, 1);
            break;
        case 1:
            cls(D, 4), cls(M, 4), cls(E, 4), course(l2, "PUK", 4), cls(BI, 2), cls(PH, 2), cls(GE, 2),
                course(rel, "PUK", 2), cls(SP, 3), cls(MU, 2), cls(KU, 2), cls(IF, 1);
            break;
        case 2:
            cls(D, 4), cls(M, 4), cls(E, 4), course(l2, "PUK", 4), cls(BI, 2), cls(CH, 2), cls(GE, 2), cls(EK, 2),
                course(rel, "PUK", 2), cls(SP, 3), cls(MU, 1), cls(KU, 2), course(wp, "WP", 3);
            break;
        case 3:
            cls(D, 4), cls(M, 4), cls(E, 3), course(l2, "PUK", 3), cls(CH, 2), cls(PH, 2), cls(GE, 2), cls(PK, 2),
                course(rel, "PUK", 2), cls(SP, 3), cls(KU, 2), course(wp, "WP", 3);
            break;
        case 4:
            cls(D, 4), cls(M, 4), cls(E, 3), course(l2, "PUK", 3), cls(BI, 2), cls(PH, 2), cls(GE, 2), cls(EK, 1),
                cls(PK, 2), course(rel, "PUK", 2), cls(SP, 3), cls(MU, 2), course(wp, "WP", 3);
            break;
        case 5:
            cls(D, 4), cls(M, 4), cls(E, 4), course(l2, "PUK", 3), cls(BI, 2), cls(CH, 2), cls(PH, 2), cls(GE, 2),
                cls(EK, 2), cls(PK, 1), course(rel, "PUK", 2), cls(SP, 3), cls(KU, 1), course(wp, "WP", 3);
            break;
        case 6:
            for (const int f : {int(D), int(M), int(E), l2, int(BI), Pupil.Science, int(GE), Pupil.Society, rel})
                course(f, "GK", 3);
            course(SP, "GK", 3), course(Pupil.Arts, "GK", 2), course(PL, "GK", 2),
                course(Pupil.Elective == S ? S : IF, "GK", 3);
            break;
        default: {
            QList<int> subjects = {D, M, E, BI, Pupil.Science, GE, Pupil.Society, rel, SP, Pupil.Arts};
            if (Pupil.KeepsLanguage2)
                subjects.insert(3, l2);
            subjects.append(YearGroup == 7 ? int(LI) : int(PA));
            for (const int f : subjects) {
                const bool lk = f == Pupil.Advanced1 || f == Pupil.Advanced2;
                course(f, lk ? "LK" : "GK", lk ? 5 : f == SP || f == Pupil.Arts ? 2 : 3);
            }
            break;
        }
    }
    return s;
}

void TSchoolPlan::PlanCourses()
{
    // How many pupils take each course subject in each section, in a stable order.
    QMap<QString, QPair<int, int>> counts; // pupils, hours per week
    auto key = [](int Year, int Abschnitt, int YearGroup, int Fach, const QString& Kursart) {
        return QStringLiteral("%1|%2|%3|%4|%5")
            .arg(Year)
            .arg(Abschnitt)
            .arg(YearGroup)
            .arg(Fach, 2, 10, QLatin1Char('0'))
            .arg(Kursart);
    };
    for (const TPupil& p : FPupils)
        for (const TSection& s : p.Sections)
            for (const TSubjectSlot& slot : Subjects(p, s.YearGroup))
                if (slot.InCourse) {
                    auto& c = counts[key(s.Year, s.Abschnitt, s.YearGroup, slot.Fach, slot.Kursart)];
                    ++c.first;
                    c.second = slot.Wochenstunden;
                }

    static const char* const groups[] = {"AG Robotik",        "AG Schulchor", "AG Schach",       "AG Theater",
                                         "AG Schülerzeitung", "AG Imkerei",   "AG Bühnentechnik"};
    int id = 1;
    int previousSection = -1;
    auto addWorkingGroups = [&](int Year, int Abschnitt) {
        // Working groups have no marks: courses that no row of SchuelerLeistungsdaten uses.
        for (int g = 0; g < 2; ++g) {
            const int pick = int((Hash(6, quint64(Year), quint64(Abschnitt)) + quint64(g) * 3) % std::size(groups));
            FCourses.append({id++, Year, Abschnitt, 0, 0, QString::fromUtf8(groups[pick]), QStringLiteral("AG"), 2,
                             int(Hash(7, quint64(Year), quint64(g)) % quint64(FTeachers.size())), g + 1});
        }
    };
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        const QStringList k = it.key().split(u'|');
        const int year = k[0].toInt(), abschnitt = k[1].toInt(), yearGroup = k[2].toInt(), fach = k[3].toInt();
        const QString kursart = k[4];
        if (year * 10 + abschnitt != previousSection) {
            if (previousSection > 0)
                addWorkingGroups(previousSection / 10, previousSection % 10);
            previousSection = year * 10 + abschnitt;
        }
        const int n = qMax(1, (it.value().first + 24) / 25);
        const int hours = it.value().second;
        FCourseGroups.insert(it.key(), {n, id});
        for (int g = 1; g <= n; ++g) {
            const QString name = yearGroup < 6 ? QStringLiteral("%1%2%3")
                                                     .arg(SubjectCode(fach))
                                                     .arg(yearGroup + 5)
                                                     .arg(n > 1 ? QStringLiteral("-%1").arg(g) : QString())
                                               : QStringLiteral("%1-%2%3").arg(SubjectCode(fach), kursart).arg(g);
            const int teacher =
                int(Hash(8, quint64(year), quint64(fach), quint64(yearGroup * 100 + g)) % quint64(FTeachers.size()));
            FCourses.append({id++, year, abschnitt, yearGroup, fach, name, kursart, hours, teacher, g});
        }
    }
    if (previousSection > 0)
        addWorkingGroups(previousSection / 10, previousSection % 10);
}

int TSchoolPlan::CourseOf(const TPupil& Pupil, const TSection& Section, const TSubjectSlot& Slot) const
{
    if (!Slot.InCourse)
        return 0;
    const QString key = QStringLiteral("%1|%2|%3|%4|%5")
                            .arg(Section.Year)
                            .arg(Section.Abschnitt)
                            .arg(Section.YearGroup)
                            .arg(Slot.Fach, 2, 10, QLatin1Char('0'))
                            .arg(Slot.Kursart);
    const auto it = FCourseGroups.constFind(key);
    if (it == FCourseGroups.cend())
        return 0;
    // The same group in both sections of a school year.
    return it->second + int(Hash(9, quint64(Pupil.ID), quint64(Slot.Fach), quint64(Section.Year)) % quint64(it->first));
}

int TSchoolPlan::ClassTeacher(const QString& Klasse, int Year) const
{
    return int(Hash(3, TextHash(Klasse), quint64((Year - FirstYear) / 2)) % quint64(FTeachers.size()));
}

int TSchoolPlan::DeputyTeacher(const QString& Klasse, int Year) const
{
    const int t = int(Hash(4, TextHash(Klasse), quint64((Year - FirstYear) / 2)) % quint64(FTeachers.size()));
    return t == ClassTeacher(Klasse, Year) ? (t + 1) % int(FTeachers.size()) : t;
}

int TSchoolPlan::SubjectTeacher(const QString& Klasse, int Fach, int Year) const
{
    return int(Hash(5, TextHash(Klasse), quint64(Fach), quint64(Year)) % quint64(FTeachers.size()));
}
