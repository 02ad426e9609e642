#include "EUniError.h"
#include "ScratchDir.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "uSourceSelection.h"

#include <gtest/gtest.h>

#include <QDir>

#include <algorithm>
#include <map>

namespace {

std::string Std(const QString& Text)
{
    return Text.toStdString();
}

// The options tab as a test sets it: ticked states by position, the class items with their ticks.
class TFakeControls : public TSelectionControls
{
public:
    QList<int> StatusTicks;
    QStringList Classes;
    QStringList TickedClasses; // in list order
    std::optional<int> Start;
    std::optional<int> End;

    QList<int> CheckedStatusItems() const override { return StatusTicks; }
    QStringList CheckedClasses() const override { return TickedClasses; }
    int ClassCount() const override { return int(Classes.size()); }
    void ClearClasses() override
    {
        Classes.clear();
        TickedClasses.clear();
    }
    void AddClass(const QString& Name) override { Classes.append(Name); }
    std::optional<int> StartYearKey() const override { return Start; }
    std::optional<int> EndYearKey() const override { return End; }
};

const QStringList FourClasses = {"10c", "5'a", "5a", "6b"};

TEST(SourceSelection, StatesInListOrder)
{
    const QList<TSelectionState> states = SelectionStates();
    ASSERT_EQ(states.size(), 7);
    const char* texts[] = {"Neuaufnahme", "Warteliste", "Aktiv", "Beurlaubt", "Abgänger", "Abschluss", "Extern"};
    const int codes[] = {0, 1, 2, 3, 9, 8, 6};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Std(states[i].Text), texts[i]);
        EXPECT_EQ(states[i].Code, codes[i]) << texts[i];
    }
}

TEST(SourceSelection, SchoolYearsRunFrom2005ToThreeYearsAhead)
{
    const QList<TSchoolYear> years = SchoolYears(2024);
    ASSERT_EQ(years.size(), 2027 - 2005 + 1);
    for (int i = 0; i < years.size(); ++i)
        EXPECT_EQ(years[i].SchuljahrNum, 2005 + i);
    EXPECT_EQ(Std(years.front().SchuljahrText), "2005/06");
    EXPECT_EQ(Std(years[4].SchuljahrText), "2009/10");
    EXPECT_EQ(Std(years.back().SchuljahrText), "2027/28");

    // The last two digits of the following year, also across a century.
    const QList<TSchoolYear> late = SchoolYears(2097);
    EXPECT_EQ(Std(late.back().SchuljahrText), "2100/01");
    EXPECT_EQ(Std(late[late.size() - 2].SchuljahrText), "2099/00");

    EXPECT_EQ(SchoolYears(2002).size(), 1);
    EXPECT_TRUE(SchoolYears(2001).isEmpty());
    EXPECT_GE(SchoolYears(CurrentCalendarYear()).back().SchuljahrNum, 2005 + 3);
}

struct TTemplateCase
{
    const char* Name;
    QList<int> StatusTicks;
    QStringList Classes;
    QStringList TickedClasses;
    std::optional<int> Start;
    std::optional<int> End;
    QString Status;
    QString Klassen;
    int StartJahr;
    int EndJahr;
    QString Condition; // empty: no selection
};

TEST(SourceSelection, TemplatesForEveryKindOfChoice)
{
    const TTemplateCase cases[] = {
        {"nothing chosen", {}, FourClasses, {}, {}, {}, "", "", 0, 0, ""},
        {"all seven states", {0, 1, 2, 3, 4, 5, 6}, FourClasses, {}, {}, {}, "", "", 0, 0, ""},
        {"two states", {2, 4}, FourClasses, {}, {}, {}, "2,9", "", 0, 0, "Schueler.Status IN (2,9)"},
        {"first and last state", {0, 6}, {}, {}, {}, {}, "0,6", "", 0, 0, "Schueler.Status IN (0,6)"},
        {"two classes", {}, FourClasses, {"5a", "6b"}, {}, {}, "", "'5a','6b'", 0, 0,
         "Schueler.Klasse IN ('5a','6b')"},
        {"all classes", {}, FourClasses, FourClasses, {}, {}, "", "", 0, 0, ""},
        {"class with a quote", {}, FourClasses, {"5'a"}, {}, {}, "", "'5''a'", 0, 0, "Schueler.Klasse IN ('5''a')"},
        {"only the last year", {}, FourClasses, {}, {}, 2010, "", "", 0, 2010, " AktSchuljahr <= 2010"},
        {"only the first year", {}, FourClasses, {}, 2008, {}, "", "", 2008, 0, " AktSchuljahr >= 2008"},
        {"both years", {}, FourClasses, {}, 2008, 2010, "", "", 2008, 2010, " AktSchuljahr BETWEEN 2008 AND 2010"},
        {"first year after the last", {}, FourClasses, {}, 2012, 2008, "", "", 2012, 2008,
         " AktSchuljahr BETWEEN 2012 AND 2008"},
        {"states, classes and years", {2}, FourClasses, {"5a"}, 2008, 2010, "2", "'5a'", 2008, 2010,
         "Schueler.Status IN (2) AND Schueler.Klasse IN ('5a') AND  AktSchuljahr BETWEEN 2008 AND 2010"},
        {"all states and one class", {0, 1, 2, 3, 4, 5, 6}, FourClasses, {"6b"}, {}, {}, "", "'6b'", 0, 0,
         "Schueler.Klasse IN ('6b')"},
        {"all classes and a year", {}, FourClasses, FourClasses, {}, 2009, "", "", 0, 2009, " AktSchuljahr <= 2009"},
        // The ticked classes are counted by their separators: one name with a comma counts as two.
        {"class with a comma", {}, {"5,a", "6b"}, {"5,a"}, {}, {}, "", "", 0, 0, ""},
        {"class with a comma among three", {}, {"5,a", "6b", "7c"}, {"5,a"}, {}, {}, "", "'5,a'", 0, 0,
         "Schueler.Klasse IN ('5,a')"},
    };
    for (const TTemplateCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeControls controls;
        controls.StatusTicks = c.StatusTicks;
        controls.Classes = c.Classes;
        controls.TickedClasses = c.TickedClasses;
        controls.Start = c.Start;
        controls.End = c.End;
        TSourceSelection selection;
        selection.BuildSelection(controls);
        EXPECT_EQ(Std(selection.Status()), Std(c.Status));
        EXPECT_EQ(Std(selection.Klassen()), Std(c.Klassen));
        EXPECT_EQ(selection.StartJahr(), c.StartJahr);
        EXPECT_EQ(selection.EndJahr(), c.EndJahr);
        EXPECT_EQ(selection.Active(), !c.Condition.isEmpty());
        if (c.Condition.isEmpty()) {
            EXPECT_EQ(Std(selection.CondSchueler()), "");
            EXPECT_EQ(Std(selection.CondSchuelerAbh()), "");
            EXPECT_EQ(Std(selection.CondAbschnittAbh()), "");
            continue;
        }
        EXPECT_EQ(Std(selection.CondSchueler()), "SELECT $T$.* FROM $T$ WHERE " + Std(c.Condition));
        EXPECT_EQ(Std(selection.CondSchuelerAbh()),
                  "SELECT $T$.* FROM $T$,Schueler WHERE " + Std(c.Condition) + " AND $T$.Schueler_ID=Schueler.ID");
        EXPECT_EQ(Std(selection.CondAbschnittAbh()),
                  "SELECT $T$.* FROM $T$,Schueler,SchuelerLernabschnittsdaten WHERE " + Std(c.Condition)
                      + " AND SchuelerLernabschnittsdaten.Schueler_ID=Schueler.ID AND "
                        "$T$.Abschnitt_ID=SchuelerLernabschnittsdaten.ID");
    }
}

TEST(SourceSelection, EveryBuildStartsAfresh)
{
    TFakeControls controls;
    controls.StatusTicks = {2};
    controls.Classes = FourClasses;
    controls.TickedClasses = {"5a"};
    controls.Start = 2008;
    controls.End = 2010;
    TSourceSelection selection;
    selection.BuildSelection(controls);
    ASSERT_TRUE(selection.Active());

    selection.BuildSelection(TFakeControls());
    EXPECT_FALSE(selection.Active());
    EXPECT_EQ(Std(selection.Status()), "");
    EXPECT_EQ(Std(selection.Klassen()), "");
    EXPECT_EQ(selection.StartJahr(), 0);
    EXPECT_EQ(selection.EndJahr(), 0);
    EXPECT_EQ(Std(selection.CondSchueler() + selection.CondSchuelerAbh() + selection.CondAbschnittAbh()), "");
}

TEST(SourceSelection, SourceStatementByFilterKind)
{
    TSourceSelection none;
    for (const char* kind : {"#", "I", "S", "A", "", "X"}) {
        SCOPED_TRACE(std::string("without selection, kind \"") + kind + "\"");
        EXPECT_EQ(Std(none.SourceStatement(kind, "T$T$").value_or("(none)")), "select * from T$T$");
    }

    TFakeControls controls;
    controls.Start = 2010;
    TSourceSelection active;
    active.BuildSelection(controls);
    const struct
    {
        const char* Kind;
        std::optional<QString> Statement;
    } cases[] = {
        {"#", "select * from Tab"},
        {"I", "SELECT Tab.* FROM Tab WHERE  AktSchuljahr >= 2010"},
        {"S", "SELECT Tab.* FROM Tab,Schueler WHERE  AktSchuljahr >= 2010 AND Tab.Schueler_ID=Schueler.ID"},
        {"A", "SELECT Tab.* FROM Tab,Schueler,SchuelerLernabschnittsdaten WHERE  AktSchuljahr >= 2010 AND "
              "SchuelerLernabschnittsdaten.Schueler_ID=Schueler.ID AND Tab.Abschnitt_ID=SchuelerLernabschnittsdaten.ID"},
        {"i", std::nullopt},
        {"", std::nullopt},
        {"I ", std::nullopt},
        {"+", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("with selection, kind \"") + c.Kind + "\"");
        const std::optional<QString> statement = active.SourceStatement(c.Kind, "Tab");
        EXPECT_EQ(Std(statement.value_or("(none)")), Std(c.Statement.value_or("(none)")));
    }
}

// A small Kladde source: pupils with sections and marks. Pupil p has the sections 10p+1 and
// 10p+2, section s the marks 10s+1 and 10s+2; one section and its marks belong to no pupil.
class SelectionOnDatabase : public ::testing::Test
{
protected:
    struct TPupil
    {
        int ID;
        const char* Klasse;
        int Status;
        std::optional<int> AktSchuljahr;
    };

    static constexpr TPupil Pupils[] = {
        {1, "5a", 2, 2008}, {2, "6b", 2, 2010}, {3, "5a", 9, 2012},         {4, "5'a", 0, 2009},
        {5, "6b", 6, 2011}, {6, "5a", 1, {}},   {7, "10c", 8, 2010}, {8, "6b", 3, 2009},
    };
    static constexpr int OrphanSection = 991;

    void SetUp() override
    {
        FConnection.SetProviderName(QStringLiteral("SQLite"));
        FConnection.SetDatabase(QDir(ScratchDir()).filePath(QStringLiteral("quelle.sqlite")));
        FConnection.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
        try {
            // One transaction: a commit per insert would make the file's fixture slow.
            FConnection.StartTransaction();
            Exec("create table Schueler (ID integer primary key, Name varchar(30), Vorname varchar(30), "
                 "Klasse varchar(10), Status integer, AktSchuljahr integer)");
            Exec("create table SchuelerLernabschnittsdaten (ID integer primary key, Schueler_ID integer, "
                 "Jahr integer, Abschnitt integer)");
            Exec("create table SchuelerLeistungsdaten (ID integer primary key, Abschnitt_ID integer, Note varchar(2))");
            Exec("create table Versetzung (ID integer primary key, Klasse varchar(10))");
            for (const TPupil& p : Pupils) {
                const QString klasse = QString::fromUtf8(p.Klasse).replace(u'\'', QStringLiteral("''"));
                const QString year = p.AktSchuljahr ? QString::number(*p.AktSchuljahr) : QStringLiteral("null");
                Exec(QStringLiteral("insert into Schueler values (%1, 'Name%1', 'Vorname%1', '%2', %3, %4)")
                         .arg(p.ID)
                         .arg(klasse)
                         .arg(p.Status)
                         .arg(year));
                for (int section : SectionsOf(p.ID))
                    AddSection(section, p.ID);
            }
            AddSection(OrphanSection, 99);
            int id = 1;
            for (const char* klasse : {"6b", "5a", "10c", "5'a"})
                Exec(QStringLiteral("insert into Versetzung values (%1, '%2')")
                         .arg(id++)
                         .arg(QString::fromUtf8(klasse).replace(u'\'', QStringLiteral("''"))));
            FConnection.Commit();
        } catch (const EUniError& e) {
            FAIL() << "fixture: " << Std(e.Message());
        }
    }

    void Exec(const QString& Sql) { FConnection.ExecSQL(Sql); }

    void AddSection(int Section, int Pupil)
    {
        Exec(QStringLiteral("insert into SchuelerLernabschnittsdaten values (%1, %2, 2010, 1)").arg(Section).arg(Pupil));
        for (int mark : MarksOf(Section))
            Exec(QStringLiteral("insert into SchuelerLeistungsdaten values (%1, %2, '2')").arg(mark).arg(Section));
    }

    static QList<int> SectionsOf(int Pupil) { return {10 * Pupil + 1, 10 * Pupil + 2}; }
    static QList<int> MarksOf(int Section) { return {10 * Section + 1, 10 * Section + 2}; }

    // The IDs of the rows Sql selects, ascending; the database's message fails the test.
    QList<int> SelectedIDs(const QString& Sql)
    {
        QList<int> ids;
        try {
            TUniQuery query(&FConnection);
            query.SetSQL(Sql);
            query.Open();
            for (; !query.Eof(); query.Next())
                ids.append(query.FieldByName(QStringLiteral("ID")).AsInteger());
        } catch (const EUniError& e) {
            ADD_FAILURE() << Std(Sql) << ": " << Std(e.Message());
        }
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    // The statement of a table line with filter kind Kind, "$T$" replaced by Table.
    static QString Statement(const TSourceSelection& Selection, char Kind, const QString& Table)
    {
        const QString& pattern = Kind == 'I'   ? Selection.CondSchueler()
                                 : Kind == 'S' ? Selection.CondSchuelerAbh()
                                               : Selection.CondAbschnittAbh();
        return QString(pattern).replace(QStringLiteral("$T$"), Table);
    }

    TUniConnection FConnection;
};

struct TDatabaseCase
{
    const char* Name;
    QList<int> StatusTicks;
    QStringList TickedClasses;
    std::optional<int> Start;
    std::optional<int> End;
    QList<int> Pupils; // ascending
};

std::string Text(const QList<int>& IDs)
{
    std::string text;
    for (int id : IDs)
        text += (text.empty() ? "" : ",") + std::to_string(id);
    return '[' + text + ']';
}

TEST_F(SelectionOnDatabase, EachTemplateSelectsExactlyTheRowsOfTheChosenPupils)
{
    // Positions in the status list: 0 Neuaufnahme, 1 Warteliste, 2 Aktiv, 3 Beurlaubt, 4 Abgänger
    // (9), 5 Abschluss (8), 6 Extern (6).
    const TDatabaseCase cases[] = {
        {"Aktiv", {2}, {}, {}, {}, {1, 2}},
        {"Abgänger and Extern", {4, 6}, {}, {}, {}, {3, 5}},
        {"Abschluss", {5}, {}, {}, {}, {7}},
        {"class 5a", {}, {"5a"}, {}, {}, {1, 3, 6}},
        {"class with a quote", {}, {"5'a"}, {}, {}, {4}},
        {"two classes", {}, {"10c", "5'a"}, {}, {}, {4, 7}},
        {"from 2010", {}, {}, 2010, {}, {2, 3, 5, 7}},
        {"up to 2009", {}, {}, {}, 2009, {1, 4, 8}},
        {"2009 to 2011", {}, {}, 2009, 2011, {2, 4, 5, 7, 8}},
        {"first year after the last", {}, {}, 2012, 2008, {}},
        {"Aktiv in 6b", {2}, {"6b"}, {}, {}, {2}},
        {"Neuaufnahme or Aktiv, 5a or 5'a, 2008 to 2009", {0, 2}, {"5'a", "5a"}, 2008, 2009, {1, 4}},
        {"Warteliste without a school year", {1}, {}, {}, 2020, {}},
        {"Warteliste", {1}, {}, {}, {}, {6}},
    };
    for (const TDatabaseCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TFakeControls controls;
        LoadClasses(FConnection, controls);
        controls.StatusTicks = c.StatusTicks;
        controls.TickedClasses = c.TickedClasses;
        controls.Start = c.Start;
        controls.End = c.End;
        TSourceSelection selection;
        selection.BuildSelection(controls);
        ASSERT_TRUE(selection.Active());

        QList<int> sections;
        QList<int> marks;
        for (int pupil : c.Pupils)
            sections += SectionsOf(pupil);
        for (int section : sections)
            marks += MarksOf(section);
        EXPECT_EQ(Text(SelectedIDs(Statement(selection, 'I', "Schueler"))), Text(c.Pupils));
        EXPECT_EQ(Text(SelectedIDs(Statement(selection, 'S', "SchuelerLernabschnittsdaten"))), Text(sections));
        EXPECT_EQ(Text(SelectedIDs(Statement(selection, 'A', "SchuelerLeistungsdaten"))), Text(marks));
    }
}

TEST_F(SelectionOnDatabase, LoadClassesReplacesTheItemsInTheOrderReturned)
{
    TFakeControls controls;
    controls.Classes = {"alt"};
    controls.TickedClasses = {"alt"};
    LoadClasses(FConnection, controls);
    EXPECT_EQ(Std(controls.Classes.join(u'|')), Std(QStringList{"10c", "5'a", "5a", "6b"}.join(u'|')));
    EXPECT_TRUE(controls.TickedClasses.isEmpty());
}

TEST_F(SelectionOnDatabase, LoadClassesRaisesWhenTheStatementFails)
{
    Exec("drop table Versetzung");
    TFakeControls controls;
    controls.Classes = {"alt"};
    EXPECT_THROW(LoadClasses(FConnection, controls), EUniError);
    EXPECT_TRUE(controls.Classes.isEmpty());
}

} // namespace
