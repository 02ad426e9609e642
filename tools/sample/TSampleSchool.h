#pragma once

#include "TSchoolPlan.h"

#include <QStringList>

class TRowSink;
class TRandom;

// The sample school database: a Gymnasium over nine school years (see TSchoolPlan) with about 150
// rows per pupil across all tables, most of them marks. Deterministic: the same number of pupils
// and seed give the same rows.
//
// Besides plausible data it holds what real databases hold: names with umlauts, apostrophes and
// letters outside Windows-1252; RTF remarks; NULLs and texts of blanks only; dates before 1920 and
// far in the future; catalogue IDs (K_Datenschutz, K_Ankreuzfloskeln) that start above 1 and have
// gaps, so that a copy that renumbers them shows; and the inconsistencies the migration repairs in
// a source: foreign keys of 0 (SchuelerLernabschnittsdaten.Fachklasse_ID,
// SchuelerLeistungsdaten.Kurs_ID), courses no mark uses (with rows in KursLehrer), ASDJahrgang
// values that differ from the year group's, year group IDs that point nowhere, and references to
// teachers and classes in another letter case.
class TSampleSchool
{
public:
    // REQUIRES: Pupils >= 0.
    TSampleSchool(int Pupils, quint64 Seed);

    // The tables Write fills, in the order it fills them: every table of the schema except
    // Kladde_Verwaltung, which belongs to the update scripts.
    static QStringList TableNames();

    // Writes every table of TableNames to Sink, in that order. Errors of the sink pass through.
    void Write(TRowSink& Sink);

private:
    void WriteSchool(TRowSink& Sink);
    void WriteSchoolYears(TRowSink& Sink);
    void WritePlaces(TRowSink& Sink);
    void WriteReligions(TRowSink& Sink);
    void WriteTeachers(TRowSink& Sink);
    void WriteSubjects(TRowSink& Sink);
    void WriteYearGroups(TRowSink& Sink);
    void WriteSpecialistClasses(TRowSink& Sink);
    void WriteClasses(TRowSink& Sink);
    void WriteConsentCatalogue(TRowSink& Sink);
    void WritePhraseCatalogue(TRowSink& Sink);
    void WriteCourses(TRowSink& Sink);
    void WriteCourseTeachers(TRowSink& Sink);
    void WritePupils(TRowSink& Sink);
    void WriteGuardians(TRowSink& Sink);
    void WritePhotos(TRowSink& Sink);
    void WriteConsents(TRowSink& Sink);
    void WriteSections(TRowSink& Sink);
    void WriteMarks(TRowSink& Sink);
    void WritePhrases(TRowSink& Sink);
    void WriteRemarks(TRowSink& Sink);

    // One mark of a section, as both the section's average and the marks table need it.
    struct TMark
    {
        TSchoolPlan::TSubjectSlot Slot;
        QString NotenKrz; // empty: not given yet
        double Value;     // 1.0 (best) to 6.0; 0 when not given
    };
    QList<TMark> Marks(const TSchoolPlan::TPupil& Pupil, const TSchoolPlan::TSection& Section) const;

    // A random stream of its own for each kind of row and entity, so that every value depends
    // on the seed and the entity only.
    TRandom Stream(int Kind, int ID) const;
    // Whether a rare case happens to entity ID: with the probability PerMille, and always for the
    // entity Forced, so that even a small school shows every case.
    bool Rare(TRandom& Random, int PerMille, int ID, int Forced) const;
    QString Kuerzel(int Teacher) const;

    TSchoolPlan FPlan;
    int FPhraseCount = 0;
};
