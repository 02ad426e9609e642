#pragma once

#include "TSelectionControls.h"

#include <QList>
#include <QString>

#include <optional>

class TUniConnection;

// The pupil selection: states, classes and a school-year range chosen on the options tab become
// three statement templates in which "$T$" stands for the table name. Empty templates mean that
// every table is copied whole.

// One item of the status list and the code it stands for in the column Schueler.Status.
struct TSelectionState
{
    QString Text;
    int Code;
};

// "Neuaufnahme" 0, "Warteliste" 1, "Aktiv" 2, "Beurlaubt" 3, "Abgänger" 9, "Abschluss" 8,
// "Extern" 6, in this order.
QList<TSelectionState> SelectionStates();

// One row of the school-year list.
struct TSchoolYear
{
    QString SchuljahrText; // "2005/06"
    int SchuljahrNum;      // 2005
};

// The current calendar year of the system clock.
int CurrentCalendarYear();
// One row for every year from 2005 up to and including CurrentYear + 3, ascending.
QList<TSchoolYear> SchoolYears(int CurrentYear);

class TSourceSelection
{
public:
    // Reads the choices from Controls and rebuilds FStatus, FKlassen, FStartJahr, FEndJahr and the
    // three templates. All states ticked means no state condition, all classes ticked no class
    // condition; with no condition left the templates are empty.
    void BuildSelection(const TSelectionControls& Controls);

    const QString& Status() const { return FStatus; }
    const QString& Klassen() const { return FKlassen; }
    int StartJahr() const { return FStartJahr; }
    int EndJahr() const { return FEndJahr; }
    // Filter kind "I": the pupil table itself.
    const QString& CondSchueler() const { return FCondSchueler; }
    // Filter kind "S": tables with a "Schueler_ID".
    const QString& CondSchuelerAbh() const { return FCondSchuelerAbh; }
    // Filter kind "A": tables with an "Abschnitt_ID".
    const QString& CondAbschnittAbh() const { return FCondAbschnittAbh; }

    // Whether a selection is active (the templates are not empty).
    bool Active() const { return !FCondSchueler.isEmpty(); }

    // The source statement of a table line: "select * from " + TableName for kind "#" or without
    // an active selection; else the template of kind "I", "S" or "A" with every "$T$" replaced by
    // TableName; nullopt for any other kind while a selection is active (the table is not copied).
    std::optional<QString> SourceStatement(const QString& FilterKind, const QString& TableName) const;

private:
    QString FStatus;
    QString FKlassen;
    int FStartJahr = 0;
    int FEndJahr = 0;
    QString FCondSchueler;
    QString FCondSchuelerAbh;
    QString FCondAbschnittAbh;
};

// Replaces the class items of Controls by the classes of the source database, in the order of
// "select Klasse from Versetzung order by Klasse", all unticked. The items are removed first;
// a failing statement raises EUniError and leaves the list empty.
void LoadClasses(TUniConnection& Source, TSelectionControls& Controls);
