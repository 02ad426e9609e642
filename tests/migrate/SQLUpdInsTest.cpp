// The statement builder: its statements for each database system, its modes on a real database,
// and rows written by it into SQLite, MariaDB and Firebird and read back.

#include "DataTestDatabases.h"
#include "EUniError.h"
#include "TField.h"
#include "TRichEdit.h"
#include "TUniQuery.h"
#include "TValueConversion.h"
#include "TestServers.h"
#include "uSQLUpdIns_Unidac.h"
#include "uTransactionHandler_UniDAC.h"

#include <gtest/gtest.h>
#include <vector>

using ValueConversion::PlainDateTime;

namespace {

const QDate Today(2024, 5, 1);
// Today plus 3650 days.
const QDate MaxDate(2034, 4, 29);

const QString Rtf = QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Gr\\'fc\\'dfe an O'Brien\\par "
                                   "zweite Zeile\\par}");
const QString RtfText = QStringLiteral("Grüße an O'Brien\r\nzweite Zeile");

// Installs Handler as the program's transaction handler for the life of the object.
class TInstalledHandler
{
public:
    explicit TInstalledHandler(TTransactionHandler& Handler) : FPrevious(SetTransactionHandler(&Handler)) {}
    ~TInstalledHandler() { SetTransactionHandler(FPrevious); }

private:
    TTransactionHandler* FPrevious;
};

struct TFieldSpec
{
    const char* Name;
    TFieldType Type;
    QVariant Value;
};

// A field of no dataset holding Spec's value.
std::unique_ptr<TField> MakeField(const TFieldSpec& Spec)
{
    TColumnInfo column;
    column.Name = QString::fromUtf8(Spec.Name);
    column.DataType = Spec.Type;
    auto field = std::make_unique<TField>(nullptr, column, Spec.Type, false);
    field->SetValue(Spec.Value);
    return field;
}

struct TStatementCase
{
    const char* Label;
    const char* ProviderName;
    TSQLUpdateMode Mode;
    std::vector<TFieldSpec> Fields;
    const char* Expected;
};

// AddField in update mode, AddInsField otherwise; the update condition is "ID=5".
QString BuiltStatement(const TStatementCase& Case, TRichEdit* RichEdit = nullptr)
{
    TTransactionHandler unbound; // executes nothing: the statement text is all that counts here
    const TInstalledHandler installed(unbound);
    TUniConnection dialect;
    dialect.SetProviderName(QString::fromUtf8(Case.ProviderName));
    TSQLUpdIns builder(Today);
    builder.SetConnection(&dialect);
    builder.SetTableName(QStringLiteral("Schueler"));
    builder.SetDefaultMode(Case.Mode);
    builder.SetUpdateCondition(QStringLiteral("ID=5"));
    builder.SetRichEdit(RichEdit);
    for (const TFieldSpec& spec : Case.Fields) {
        const auto field = MakeField(spec);
        Case.Mode == uiUpdate ? builder.AddField(*field) : builder.AddInsField(*field);
    }
    EXPECT_FALSE(builder.Execute());
    EXPECT_EQ(builder.ErrorMessage(), unbound.MessageText());
    return builder.SQLText();
}

TEST(SQLUpdInsStatements, LiteralsOfEachDatabaseSystem)
{
    const TScopedDefaultLocale german{QLocale(QLocale::German, QLocale::Germany)};
    const QVariant null;
    const QByteArray bytes("\x00\xFF\x27\x5C", 4);
    const std::vector<TStatementCase> cases = {
        {"AccessInsertBracketsColumns", "Access", uiInsert,
         {{"ID", ftInteger, 5}, {"Name", ftWideString, QStringLiteral("O'Brien")}},
         "insert into Schueler ([ID],[Name]) values (5,'O''Brien')"},
        {"MSSQLUpdate", "SQL Server", uiUpdate,
         {{"ID", ftInteger, 5}, {"Name", ftWideString, QStringLiteral("O'Brien")}},
         "update Schueler set ID=5,Name='O''Brien' where ID=5"},
        {"AccessUpdateWithoutBrackets", "Access", uiUpdate,
         {{"ID", ftInteger, 5}, {"Name", ftString, QStringLiteral("O'Brien")}},
         "update Schueler set ID=5,Name='O''Brien' where ID=5"},
        {"MySQLDoublesBackslashes", "MySQL", uiInsert,
         {{"Pfad", ftWideString, QStringLiteral("C:\\Temp\\")}, {"Memo", ftWideMemo, QStringLiteral("'\\'")}},
         R"(insert into Schueler (Pfad,Memo) values ('C:\\Temp\\','''\\'''))"},
        {"SQLiteKeepsBackslashes", "SQLite", uiInsert,
         {{"Pfad", ftWideString, QStringLiteral("C:\\Temp\\")}, {"Memo", ftMemo, QStringLiteral("'\\'")}},
         R"(insert into Schueler (Pfad,Memo) values ('C:\Temp\','''\'''))"},
        {"NullsAndEmptyText", "SQLite", uiInsert,
         {{"Name", ftWideString, QString()},
          {"Note", ftWideMemo, null},
          {"N", ftInteger, null},
          {"F", ftFloat, null},
          {"D", ftDate, null},
          {"DT", ftDateTime, null},
          {"Flag", ftBoolean, null},
          {"Betrag", ftCurrency, null},
          {"Dez", ftBCD, null},
          {"Pic", ftBlob, null}},
         "insert into Schueler (Name,Note,N,F,D,DT,Flag,Betrag,Dez,Pic) values "
         "(NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL)"},
        {"NumbersUnderDecimalComma", "SQLite", uiInsert,
         {{"F1", ftFloat, 3.5},
          {"F2", ftFloat, 1234.5},
          {"F3", ftFloat, -0.001},
          {"Big", ftLargeint, Q_INT64_C(5000000000)},
          {"Small", ftSmallint, -3},
          {"Auto", ftAutoInc, 7},
          {"Betrag", ftCurrency, QStringLiteral("1234.5678")},
          {"Dez1", ftBCD, QStringLiteral("-0.0001")},
          {"Dez2", ftBCD, QStringLiteral("12345678901234.123456")}},
         "insert into Schueler (F1,F2,F3,Big,Small,Auto,Betrag,Dez1,Dez2) values "
         "(3.5,1234.5,-0.001,5000000000,-3,7,1234.5678,-0.0001,12345678901234.123456)"},
        {"SQLiteBooleansAndBinary", "SQLite", uiInsert,
         {{"Ja", ftBoolean, true}, {"Nein", ftBoolean, false}, {"Pic", ftBlob, bytes}},
         "insert into Schueler (Ja,Nein,Pic) values (1,0,X'00FF275C')"},
        {"MySQLBooleansAndBinary", "MySQL", uiInsert,
         {{"Ja", ftBoolean, true}, {"Nein", ftBoolean, false}, {"Pic", ftVarBytes, bytes}},
         "insert into Schueler (Ja,Nein,Pic) values (1,0,X'00FF275C')"},
        {"FirebirdBooleansAndBinary", "InterBase", uiInsert,
         {{"Ja", ftBoolean, true}, {"Nein", ftBoolean, false}, {"Pic", ftBlob, bytes}},
         "insert into Schueler (Ja,Nein,Pic) values (TRUE,FALSE,x'00FF275C')"},
        {"MSSQLBooleansAndBinary", "SQL Server", uiInsert,
         {{"Ja", ftBoolean, true}, {"Nein", ftBoolean, false}, {"Pic", ftBytes, bytes}},
         "insert into Schueler (Ja,Nein,Pic) values (1,0,0x00FF275C)"},
        {"AccessBooleansAndBinary", "Access", uiInsert,
         {{"Ja", ftBoolean, true}, {"Nein", ftBoolean, false}, {"Pic", ftBlob, bytes}},
         "insert into Schueler ([Ja],[Nein],[Pic]) values (-1,0,0x00FF275C)"},
        {"SQLiteDateBounds", "SQLite", uiInsert,
         {{"Alt", ftDate, QDate(1850, 3, 1)},
          {"Zukunft", ftDate, QDate(2044, 5, 1)},
          {"Grenze", ftDate, MaxDate},
          {"DT", ftDateTime, PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43))},
          {"Zeit", ftTime, QTime(11, 33, 43)}},
         "insert into Schueler (Alt,Zukunft,Grenze,DT,Zeit) values "
         "('1900-01-01','2034-04-29','2034-04-29','2021-02-19 11:33:43','1900-01-01')"},
        {"FirebirdDropsTheTime", "InterBase", uiInsert,
         {{"DT", ftDateTime, PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43))}, {"Alt", ftDate, QDate(1850, 3, 1)}},
         "insert into Schueler (DT,Alt) values ('2021-02-19','1900-01-01')"},
        {"MSSQLDates", "SQL Server", uiInsert,
         {{"DT", ftDateTime, PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43))}, {"D", ftDate, QDate(2021, 2, 19)}},
         "insert into Schueler (DT,D) values ('20210219 11:33:43','20210219')"},
        {"AccessDates", "Access", uiInsert,
         {{"DT", ftDateTime, PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43))}, {"D", ftDate, QDate(2021, 2, 19)}},
         "insert into Schueler ([DT],[D]) values ({date '2021-02-19 11:33:43'},{date '2021-02-19'})"},
        {"RtfWithoutControlStaysMarkup", "SQLite", uiInsert,
         {{"Note", ftWideMemo, QStringLiteral("{\\rtf1 O'Brien}")}},
         "insert into Schueler (Note) values ('{\\rtf1 O''Brien}')"},
    };
    for (const TStatementCase& c : cases)
        EXPECT_EQ(BuiltStatement(c).toStdString(), c.Expected) << c.Label;
}

TEST(SQLUpdInsStatements, RichEditTurnsRtfIntoPlainText)
{
    TRichEdit richEdit;
    const TStatementCase rtf{"", "MySQL", uiInsert, {{"Note", ftWideMemo, Rtf}, {"Name", ftWideString, QStringLiteral("{\\RTF x")}}, ""};
    EXPECT_EQ(BuiltStatement(rtf, &richEdit),
              QStringLiteral("insert into Schueler (Note,Name) values ('Grüße an O''Brien\r\nzweite Zeile','x')"));
    EXPECT_EQ(richEdit.Rtf(), QStringLiteral("{\\RTF x")) << "the control keeps the last document";

    const TStatementCase notRtf{"", "MySQL", uiInsert, {{"Note", ftWideMemo, QStringLiteral(" {\\rtf1 x}")}}, ""};
    EXPECT_EQ(BuiltStatement(notRtf, &richEdit), QStringLiteral("insert into Schueler (Note) values (' {\\\\rtf1 x}')"));
}

TEST(SQLUpdInsStatements, AddTurnsEmptyValuesIntoNull)
{
    TSQLUpdIns builder;
    builder.Add(QStringLiteral("A"), QString());
    builder.Add(QStringLiteral("B"), QStringLiteral("''"));
    builder.AddIns(QStringLiteral("C"), QStringLiteral("'x'"));
    EXPECT_EQ(builder.Fieldnames(), QStringLiteral("[A],[B],[C]")) << "Access until a connection says otherwise";
    EXPECT_TRUE(builder.DoAction());
    builder.Reset();
    EXPECT_TRUE(builder.Fieldnames().isEmpty());
    EXPECT_FALSE(builder.DoAction());
}

TEST(SQLUpdInsStatements, ProgramInstanceIsInstalledByTheProgram)
{
    TSQLUpdIns builder;
    EXPECT_EQ(builder.DefaultMode(), uiUpdate);
    TSQLUpdIns* before = SetSQLUpdIns(&builder);
    EXPECT_EQ(SQLUpdIns(), &builder);
    EXPECT_EQ(SetSQLUpdIns(before), &builder);
}

// The modes, the existence queries and the identifier column on a SQLite database.
class SQLUpdInsModes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(tdbSQLite, Conn);
        Conn.Connect();
        Conn.ExecSQL(QStringLiteral("create table Schueler (ID integer not null primary key, Name varchar(50), Vorname varchar(50))"));
        Handler.SetConnection(&Conn);
        Builder.SetConnection(&Conn);
        Builder.SetTableName(QStringLiteral("Schueler"));
    }

    // Collects ID and Name for both statements; the UPDATE is meant for the row Id.
    void Collect(int Id, const char* Name)
    {
        Builder.SetUpdateCondition(QStringLiteral("ID=%1").arg(Id));
        Builder.Add(QStringLiteral("ID"), QString::number(Id));
        Builder.Add(QStringLiteral("Name"), QLatin1Char('\'') + QLatin1String(Name) + QLatin1Char('\''));
    }

    QString NameOf(int Id)
    {
        TUniQuery q(&Conn);
        q.SetSQL(QStringLiteral("select Name from Schueler where ID=%1").arg(Id));
        q.Open();
        return q.Eof() ? QStringLiteral("<none>") : q.FieldByName(QStringLiteral("Name")).AsString();
    }

    TUniConnection Conn;
    TTransactionHandler Handler;
    TInstalledHandler Installed{Handler};
    TSQLUpdIns Builder{Today};
};

TEST_F(SQLUpdInsModes, UnknownModeSettlesOnInsertWhenTheUpdateChangesNothing)
{
    Builder.SetDefaultMode(uiUnknown);
    Collect(1, "Anna");
    EXPECT_TRUE(Builder.Execute()) << Builder.ErrorMessage().toStdString();
    EXPECT_EQ(Builder.DefaultMode(), uiInsert);
    EXPECT_EQ(Builder.SQLText(), QStringLiteral("insert into Schueler (ID,Name) values (1,'Anna')"));
    EXPECT_EQ(NameOf(1), QStringLiteral("Anna"));

    Collect(1, "Berta");
    EXPECT_FALSE(Builder.Execute()) << "insert mode now: the row exists";
    EXPECT_FALSE(Builder.ErrorMessage().isEmpty());
    EXPECT_TRUE(Builder.Fieldnames().isEmpty());
    EXPECT_FALSE(Builder.DoAction());
}

TEST_F(SQLUpdInsModes, UnknownModeSettlesOnUpdateWhenARowChanges)
{
    Conn.ExecSQL(QStringLiteral("insert into Schueler (ID, Name) values (1, 'Anna')"));
    Builder.SetDefaultMode(uiUnknown);
    Collect(1, "Berta");
    EXPECT_TRUE(Builder.Execute());
    EXPECT_EQ(Builder.DefaultMode(), uiUpdate);
    EXPECT_EQ(Builder.SQLText(), QStringLiteral("update Schueler set ID=1,Name='Berta' where ID=1"));
    EXPECT_EQ(NameOf(1), QStringLiteral("Berta"));
}

TEST_F(SQLUpdInsModes, UnknownModeInsertsAfterAFailedUpdateAndKeepsItsMessage)
{
    Builder.SetDefaultMode(uiUnknown);
    Collect(1, "Anna");
    Builder.SetUpdateCondition(QStringLiteral("NoSuchColumn=1"));
    EXPECT_TRUE(Builder.Execute());
    EXPECT_TRUE(Builder.ErrorMessage().contains(QStringLiteral("NoSuchColumn"))) << Builder.ErrorMessage().toStdString();
    EXPECT_EQ(Builder.DefaultMode(), uiInsert);
    EXPECT_EQ(NameOf(1), QStringLiteral("Anna"));
}

TEST_F(SQLUpdInsModes, UpdateMatchingNoRowSucceeds)
{
    Collect(1, "Anna");
    EXPECT_TRUE(Builder.Execute());
    EXPECT_EQ(NameOf(1), QStringLiteral("<none>"));
}

TEST_F(SQLUpdInsModes, NothingCollectedExecutesNothing)
{
    Builder.SetDefaultMode(uiInsert);
    Builder.SetErrorMessage(QStringLiteral("alt"));
    EXPECT_FALSE(Builder.Execute());
    EXPECT_TRUE(Builder.ErrorMessage().isEmpty());
    EXPECT_TRUE(Builder.SQLText().isEmpty());
}

TEST_F(SQLUpdInsModes, ExistenceQueryChoosesTheStatement)
{
    for (const char* name : {"Anna", "Berta"}) {
        Builder.SetDefaultMode(uiUpdate);
        Builder.SetExistCondition(QStringLiteral("select ID from Schueler where ID=1"));
        Collect(1, name);
        EXPECT_TRUE(Builder.Execute()) << Builder.ErrorMessage().toStdString();
        EXPECT_EQ(NameOf(1), QLatin1String(name));
    }
    EXPECT_TRUE(Builder.SQLText().startsWith(QStringLiteral("update "))) << Builder.SQLText().toStdString();
    EXPECT_EQ(Builder.DefaultMode(), uiUpdate) << "the existence query does not change the default mode";
}

TEST_F(SQLUpdInsModes, RowTextsOfTheExistenceQueries)
{
    EXPECT_EQ(Builder.ExistingRecord(QStringLiteral("select '' as A, 'a' as B, NULL as C, 'b' as D")), QStringLiteral("a;;b"));
    EXPECT_EQ(Builder.ExistingRecord(QStringLiteral("select '' as A, NULL as B")), QString());
    EXPECT_EQ(Builder.ExistingRecord(QStringLiteral("select ID from Schueler")), QString());

    Conn.ExecSQL(QStringLiteral("insert into Schueler values (1, 'Anna', 'A'), (2, NULL, 'B'), (3, NULL, NULL)"));
    QStringList rows{QStringLiteral("alt")};
    Builder.ExistingRecords(QStringLiteral("select ID, Name, Vorname from Schueler order by ID"), rows);
    EXPECT_EQ(rows, (QStringList{QStringLiteral("1;Anna;A"), QStringLiteral("2;;B"), QStringLiteral("3;;")}));
    EXPECT_EQ(Builder.ExistingRecord(QStringLiteral("select Name, ID from Schueler where ID=2")), QStringLiteral("2"));
}

TEST_F(SQLUpdInsModes, IdentifierColumnComesLast)
{
    Builder.SetDefaultMode(uiInsert);
    for (qint64 expected : {1, 2}) {
        Builder.Reset();
        Builder.SetIDField(QStringLiteral("ID"));
        Builder.AddIns(QStringLiteral("Name"), QStringLiteral("'Anna'"));
        EXPECT_TRUE(Builder.Execute()) << Builder.ErrorMessage().toStdString();
        EXPECT_EQ(Builder.NewID(), expected);
        EXPECT_EQ(Builder.SQLText(), QStringLiteral("insert into Schueler (Name,ID) values ('Anna',%1)").arg(expected));
    }
    Builder.Reset();
    EXPECT_EQ(Builder.NewID(), 2) << "Reset keeps NewID";
    EXPECT_TRUE(Builder.IDField().isEmpty());
    Builder.AddIns(QStringLiteral("ID"), QStringLiteral("9"));
    EXPECT_TRUE(Builder.Execute());
    EXPECT_EQ(Builder.NewID(), 0);
}

TEST_F(SQLUpdInsModes, ExistenceQueryErrorsReachTheCaller)
{
    Builder.SetExistCondition(QStringLiteral("select * from NoSuchTable"));
    Collect(1, "Anna");
    EXPECT_THROW(Builder.Execute(), EUniError);
    EXPECT_TRUE(Builder.Fieldnames().isEmpty());
    EXPECT_FALSE(Builder.DoAction());
}

TEST_F(SQLUpdInsModes, ResetKeepsTableModeAndLastOutcome)
{
    Builder.SetDefaultMode(uiInsert);
    Collect(1, "Anna");
    ASSERT_TRUE(Builder.Execute());
    Collect(1, "Anna");
    ASSERT_FALSE(Builder.Execute());
    const QString message = Builder.ErrorMessage();
    const QString statement = Builder.SQLText();
    Builder.SetExistCondition(QStringLiteral("select 1"));
    Builder.SetCondition(QStringLiteral("frei"));
    Builder.Reset();
    EXPECT_EQ(Builder.TableName(), QStringLiteral("Schueler"));
    EXPECT_EQ(Builder.DefaultMode(), uiInsert);
    EXPECT_EQ(Builder.ErrorMessage(), message);
    EXPECT_EQ(Builder.SQLText(), statement);
    EXPECT_EQ(Builder.Condition(), QStringLiteral("frei"));
    EXPECT_TRUE(Builder.ExistCondition().isEmpty());
    EXPECT_TRUE(Builder.UpdateCondition().isEmpty());
}

// Rows of a SQLite source written by the builder into each database system, as the migration
// does it, and read back.
class SQLUpdInsRoundTrip : public ::testing::TestWithParam<TDataTestDB>
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(tdbSQLite, Src);
        KLADDE_REQUIRE_DATABASE(GetParam(), Dst);
        Src.Connect();
        Src.ExecSQL(QStringLiteral("create table S (ID integer primary key, Name varchar(200), Note text, Big bigint, "
                                   "F double, Amount decimal(18,4), D date, DT datetime, Flag boolean, Pic blob)"));
        Dst.Connect();
        switch (GetParam()) {
        case tdbSQLite:
            Dst.ExecSQL(QStringLiteral("create table T (ID integer primary key, Name varchar(200), Note text, Big bigint, "
                                       "F double, Amount decimal(18,4), D date, DT datetime, Flag boolean, Pic blob)"));
            break;
        case tdbMariaDB:
            Dst.ExecSQL(QStringLiteral("create table T (ID int primary key, Name varchar(200), Note text, Big bigint, "
                                       "F double, Amount decimal(18,4), D date, DT datetime, Flag tinyint(1), "
                                       "Pic longblob) default charset=utf8mb4"));
            break;
        case tdbFirebird:
            Dst.ExecSQL(QStringLiteral("create table T (ID integer not null primary key, Name varchar(200), "
                                       "Note blob sub_type text, Big bigint, F double precision, Amount decimal(18,4), "
                                       "D date, DT timestamp, Flag boolean, Pic blob)"));
            break;
        }
        Handler.SetConnection(&Dst);
        Builder.SetConnection(&Dst);
        Builder.SetDefaultMode(uiInsert);
        Builder.SetTableName(QStringLiteral("T"));
    }

    void AddSourceRow(int Id, const QVariantList& Values)
    {
        TUniQuery insert(&Src);
        insert.SetSQL(QStringLiteral("insert into S values (:ID, :Name, :Note, :Big, :F, :Amount, :D, :DT, :Flag, :Pic)"));
        insert.Params().Items(0).SetValue(Id);
        for (int i = 0; i < Values.size(); ++i)
            insert.Params().Items(i + 1).SetValue(Values[i]);
        insert.ExecSQL();
    }

    // Writes every source row with one INSERT each; the migration's loop.
    void CopyRows()
    {
        TUniQuery source(&Src);
        source.SetSQL(QStringLiteral("select * from S order by ID"));
        source.Open();
        for (; !source.Eof(); source.Next()) {
            Builder.Reset();
            Builder.SetRichEdit(source.FieldByName(QStringLiteral("ID")).AsInteger() == 5 ? &RichEdit : nullptr);
            for (int i = 0; i < source.FieldCount(); ++i)
                Builder.AddInsField(*source.Fields(i));
            EXPECT_TRUE(Builder.Execute()) << Builder.SQLText().toStdString() << "\n" << Builder.ErrorMessage().toStdString();
        }
    }

    std::unique_ptr<TUniQuery> ReadBack(int Id)
    {
        auto query = std::make_unique<TUniQuery>(&Dst);
        query->SetSQL(QStringLiteral("select * from T where ID=%1").arg(Id));
        query->Open();
        EXPECT_FALSE(query->Eof()) << "no row " << Id;
        return query;
    }

    TScopedDefaultLocale German{QLocale(QLocale::German, QLocale::Germany)};
    TUniConnection Src;
    TUniConnection Dst;
    TTransactionHandler Handler;
    TInstalledHandler Installed{Handler};
    TSQLUpdIns Builder{Today};
    TRichEdit RichEdit;
};

TEST_P(SQLUpdInsRoundTrip, RowsArriveUnchanged)
{
    QByteArray allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.append(char(b));
    const QString quotes = QStringLiteral("Jürgen \"Jupp\" O'Brien-Größe ß € 'x'");
    const QString backslashes = QStringLiteral("Zeile 1\r\nZeile 2 \\n \\' \\\\ C:\\Temp\\");
    const QDateTime dt = PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43));
    AddSourceRow(1, {quotes, backslashes, Q_INT64_C(5000000000), 3.5, QStringLiteral("1234.5678"), QDate(1850, 3, 1),
                     dt, true, QByteArray("\x00\x27\x5C\xFF", 4)});
    AddSourceRow(2, {QStringLiteral("\\"), QStringLiteral("ends in \\"), -1, -0.001, QStringLiteral("-0.0001"),
                     QDate(2060, 1, 1), PlainDateTime(QDate(1900, 1, 1)), false, allBytes});
    AddSourceRow(3, {QString(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()});
    AddSourceRow(4, {QStringLiteral("ohne"), Rtf, QVariant(), QVariant(), QVariant(), PlainDateTime(MaxDate), QVariant(),
                     QVariant(), QVariant()});
    AddSourceRow(5, {QStringLiteral("mit"), Rtf, QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant(),
                     QVariant()});
    CopyRows();

    const bool firebird = GetParam() == tdbFirebird;
    auto row = ReadBack(1);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Name")).AsString(), quotes);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Note")).AsString(), backslashes);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Big")).AsLargeInt(), Q_INT64_C(5000000000));
    EXPECT_DOUBLE_EQ(row->FieldByName(QStringLiteral("F")).AsFloat(), 3.5);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Amount")).Value().toString(), QStringLiteral("1234.5678"));
    EXPECT_EQ(row->FieldByName(QStringLiteral("D")).AsDateTime(), PlainDateTime(QDate(1900, 1, 1)));
    EXPECT_EQ(row->FieldByName(QStringLiteral("DT")).AsDateTime(), firebird ? PlainDateTime(dt.date()) : dt);
    EXPECT_TRUE(row->FieldByName(QStringLiteral("Flag")).AsBoolean());
    EXPECT_EQ(row->FieldByName(QStringLiteral("Pic")).AsBytes(), QByteArray("\x00\x27\x5C\xFF", 4));

    row = ReadBack(2);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Name")).AsString(), QStringLiteral("\\"));
    EXPECT_EQ(row->FieldByName(QStringLiteral("Note")).AsString(), QStringLiteral("ends in \\"));
    EXPECT_EQ(row->FieldByName(QStringLiteral("Big")).AsLargeInt(), -1);
    EXPECT_DOUBLE_EQ(row->FieldByName(QStringLiteral("F")).AsFloat(), -0.001);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Amount")).Value().toString(), QStringLiteral("-0.0001"));
    EXPECT_EQ(row->FieldByName(QStringLiteral("D")).AsDateTime(), PlainDateTime(MaxDate));
    EXPECT_EQ(row->FieldByName(QStringLiteral("DT")).AsDateTime(), PlainDateTime(QDate(1900, 1, 1)));
    EXPECT_FALSE(row->FieldByName(QStringLiteral("Flag")).IsNull());
    EXPECT_FALSE(row->FieldByName(QStringLiteral("Flag")).AsBoolean());
    EXPECT_EQ(row->FieldByName(QStringLiteral("Pic")).AsBytes(), allBytes);

    row = ReadBack(3);
    for (const char* name : {"Name", "Note", "Big", "F", "Amount", "D", "DT", "Flag", "Pic"})
        EXPECT_TRUE(row->FieldByName(QLatin1String(name)).IsNull()) << name;

    row = ReadBack(4);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Note")).AsString(), Rtf) << "without a control RTF stays as it is";
    EXPECT_EQ(row->FieldByName(QStringLiteral("D")).AsDateTime(), PlainDateTime(MaxDate));
    row = ReadBack(5);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Note")).AsString(), RtfText);
}

INSTANTIATE_TEST_SUITE_P(All, SQLUpdInsRoundTrip, ::testing::ValuesIn(AllDataTestDBs),
                         [](const auto& Info) { return DataTestDBName(Info.param); });

} // namespace
