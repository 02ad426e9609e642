#include "uSourceSelection.h"

#include "TUniConnection.h"
#include "TUniQuery.h"
#include "utils.h"

#include <QDate>

namespace {

const QString Comma = QStringLiteral(",");
const QString TablePlaceholder = QStringLiteral("$T$");

QString QuotedClass(const QString& Name)
{
    return u'\'' + QString(Name).replace(QStringLiteral("'"), QStringLiteral("''")) + u'\'';
}

void AppendCondition(QString& Condition, const QString& Part)
{
    if (!Condition.isEmpty())
        Condition += QStringLiteral(" AND ");
    Condition += Part;
}

} // namespace

QList<TSelectionState> SelectionStates()
{
    return {
        {QStringLiteral("Neuaufnahme"), 0}, {QStringLiteral("Warteliste"), 1}, {QStringLiteral("Aktiv"), 2},
        {QStringLiteral("Beurlaubt"), 3},   {QStringLiteral("Abgänger"), 9},   {QStringLiteral("Abschluss"), 8},
        {QStringLiteral("Extern"), 6},
    };
}

int CurrentCalendarYear()
{
    return QDate::currentDate().year();
}

QList<TSchoolYear> SchoolYears(int CurrentYear)
{
    QList<TSchoolYear> years;
    for (int year = 2005; year <= CurrentYear + 3; ++year) {
        const QString next = QString::number(year + 1);
        years.append({QString::number(year) + u'/' + next.right(2), year});
    }
    return years;
}

void TSourceSelection::BuildSelection(const TSelectionControls& Controls)
{
    const QList<TSelectionState> states = SelectionStates();
    FStatus.clear();
    for (int position : Controls.CheckedStatusItems()) {
        if (!FStatus.isEmpty())
            FStatus += Comma;
        FStatus += QString::number(states.at(position).Code);
    }
    if (TokenCount(FStatus, Comma) == states.size())
        FStatus.clear();

    // Counted by its separators, so a class name holding a comma counts twice.
    FKlassen.clear();
    for (const QString& name : Controls.CheckedClasses()) {
        if (!FKlassen.isEmpty())
            FKlassen += Comma;
        FKlassen += QuotedClass(name);
    }
    if (TokenCount(FKlassen, Comma) == Controls.ClassCount())
        FKlassen.clear();

    FStartJahr = Controls.StartYearKey().value_or(0);
    FEndJahr = Controls.EndYearKey().value_or(0);

    FCondSchueler.clear();
    FCondSchuelerAbh.clear();
    FCondAbschnittAbh.clear();
    if (FStatus.isEmpty() && FKlassen.isEmpty() && FStartJahr <= 0 && FEndJahr <= 0)
        return;

    QString condition;
    if (!FStatus.isEmpty())
        AppendCondition(condition, QStringLiteral("Schueler.Status IN (") + FStatus + u')');
    if (!FKlassen.isEmpty())
        AppendCondition(condition, QStringLiteral("Schueler.Klasse IN (") + FKlassen + u')');
    if (FStartJahr > 0 && FEndJahr > 0)
        AppendCondition(condition, QStringLiteral(" AktSchuljahr BETWEEN %1 AND %2").arg(FStartJahr).arg(FEndJahr));
    else if (FStartJahr > 0)
        AppendCondition(condition, QStringLiteral(" AktSchuljahr >= %1").arg(FStartJahr));
    else if (FEndJahr > 0)
        AppendCondition(condition, QStringLiteral(" AktSchuljahr <= %1").arg(FEndJahr));

    FCondSchuelerAbh = QStringLiteral("SELECT $T$.* FROM $T$,Schueler WHERE ") + condition
                       + QStringLiteral(" AND $T$.Schueler_ID=Schueler.ID");
    FCondAbschnittAbh = QStringLiteral("SELECT $T$.* FROM $T$,Schueler,SchuelerLernabschnittsdaten WHERE ") + condition
                        + QStringLiteral(" AND SchuelerLernabschnittsdaten.Schueler_ID=Schueler.ID AND "
                                         "$T$.Abschnitt_ID=SchuelerLernabschnittsdaten.ID");
    FCondSchueler = QStringLiteral("SELECT $T$.* FROM $T$ WHERE ") + condition;
}

std::optional<QString> TSourceSelection::SourceStatement(const QString& FilterKind, const QString& TableName) const
{
    if (FilterKind == QStringLiteral("#") || FCondSchueler.isEmpty())
        return QStringLiteral("select * from ") + TableName;
    const QString* pattern = nullptr;
    if (FilterKind == QStringLiteral("I"))
        pattern = &FCondSchueler;
    else if (FilterKind == QStringLiteral("S"))
        pattern = &FCondSchuelerAbh;
    else if (FilterKind == QStringLiteral("A"))
        pattern = &FCondAbschnittAbh;
    else
        return std::nullopt;
    return QString(*pattern).replace(TablePlaceholder, TableName);
}

void LoadClasses(TUniConnection& Source, TSelectionControls& Controls)
{
    Controls.ClearClasses();
    TUniQuery qryKlassen(&Source);
    qryKlassen.SetSQL(QStringLiteral("select Klasse from Versetzung order by Klasse"));
    qryKlassen.Open();
    for (; !qryKlassen.Eof(); qryKlassen.Next())
        Controls.AddClass(qryKlassen.FieldByName(QStringLiteral("Klasse")).AsString());
    qryKlassen.Close();
}
