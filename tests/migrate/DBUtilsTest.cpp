// Format keys, SQL literals, identifier look-ups and the record copy between datasets of two
// database systems.

#include "DataTestDatabases.h"
#include "EUniError.h"
#include "TUniQuery.h"
#include "TValueConversion.h"
#include "TestServers.h"
#include "uDBUtils_Unidac.h"
#include "uGetDBFormat_Unidac.h"

#include <gtest/gtest.h>

using ValueConversion::PlainDateTime;

namespace {

TEST(GetDBFormat, ProviderNameGivesFormatKeyAndProviderType)
{
    struct TCase
    {
        const char* ProviderName;
        const char* Format;
        TDBProviderType Type;
    };
    const TCase cases[] = {
        {"Access", "MSACCESS", dbpAccess},     {"SQLite", "SQLITE", dbpSQLite},
        {"SQL Server", "MSSQL", dbpMSSQL},     {"sql server", "MSSQL", dbpMSSQL},
        {"InterBase", "FIREBIRD", dbpFirebird}, {"ORACLE", "ORACLE", dbpOracle},
        {"mysql", "MYSQL", dbpMySQL},          {"NexusDB", "NEXUSDB", dbpNexusDB},
        {"PostgreSQL", "POSTGRESQL", dbpPostgreSQL},
        {"ODBC", "", dbpAccess},               {"", "", dbpAccess},
        {"Firebird", "", dbpAccess},           {"SQL  Server", "", dbpAccess},
    };
    for (const TCase& c : cases) {
        TUniConnection conn;
        conn.SetProviderName(QString::fromUtf8(c.ProviderName));
        EXPECT_EQ(GetDBFormat(&conn), QString::fromUtf8(c.Format)) << c.ProviderName;
        EXPECT_EQ(GetDBProviderType(&conn), c.Type) << c.ProviderName;
    }
    EXPECT_EQ(GetDBFormat(nullptr), QString());
    EXPECT_EQ(GetDBProviderType(nullptr), dbpAccess);
}

TEST(DBInfo, WritingConnectionTakesASnapshot)
{
    TDBInfo info;
    EXPECT_EQ(info.Connection(), nullptr);
    EXPECT_EQ(info.DBProvider(), dbpAccess);
    EXPECT_EQ(info.DBPort(), 0);
    EXPECT_TRUE(info.DBFormat().isEmpty());

    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("MySQL"));
    conn.SetServer(QStringLiteral("db.schule.local"));
    conn.SetPort(3307);
    conn.SetDatabase(QStringLiteral("kladde"));
    conn.SetUsername(QStringLiteral("lehrer"));
    conn.SetPassword(QStringLiteral("geheim"));
    info.SetConnection(&conn);
    conn.SetServer(QStringLiteral("anderer"));
    conn.SetProviderName(QStringLiteral("SQLite"));

    EXPECT_EQ(info.Connection(), &conn);
    EXPECT_EQ(info.DBFormat(), QStringLiteral("MYSQL"));
    EXPECT_EQ(info.DBProvider(), dbpMySQL);
    EXPECT_EQ(info.DBServer(), QStringLiteral("db.schule.local"));
    EXPECT_EQ(info.DBName(), QStringLiteral("kladde"));
    EXPECT_EQ(info.DBUser(), QStringLiteral("lehrer"));
    EXPECT_EQ(info.DBPassword(), QStringLiteral("geheim"));
    EXPECT_EQ(info.DBPort(), 3307);
}

TEST(DBInfo, ProgramInstanceIsInstalledByTheProgram)
{
    TDBInfo info;
    TDBInfo* before = SetDBInfo(&info);
    EXPECT_EQ(DBInfo(), &info);
    EXPECT_EQ(SetDBInfo(before), &info);
}

TEST(DateToSQLLiteral, FormsOfEachDatabaseSystem)
{
    const TScopedDefaultLocale german{QLocale(QLocale::German, QLocale::Germany)};
    const QDateTime withTime = PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43));
    const QDateTime dateOnly = PlainDateTime(QDate(2021, 2, 19));
    struct TCase
    {
        TDBProviderType Type;
        QDateTime Value;
        const char* Expected;
    };
    const TCase cases[] = {
        {dbpAccess, withTime, "{date '2021-02-19 11:33:43'}"},
        {dbpAccess, dateOnly, "{date '2021-02-19'}"},
        {dbpSQLite, withTime, "'2021-02-19 11:33:43'"},
        {dbpSQLite, dateOnly, "'2021-02-19'"},
        {dbpOracle, withTime, "'2021-02-19 11:33:43'"},
        {dbpMySQL, withTime, "'2021-02-19 11:33:43'"},
        {dbpMySQL, dateOnly, "'2021-02-19'"},
        {dbpPostgreSQL, withTime, "'2021-02-19 11:33:43'"},
        {dbpMSSQL, withTime, "'20210219 11:33:43'"},
        {dbpMSSQL, dateOnly, "'20210219'"},
        {dbpFirebird, withTime, "'2021-02-19'"},
        {dbpFirebird, dateOnly, "'2021-02-19'"},
        {dbpNexusDB, withTime, "timestamp '2021-02-19 11:33:43'"},
        {dbpNexusDB, dateOnly, "timestamp '2021-02-19 00:00:00'"},
        // Milliseconds alone make a time of day; the literal has whole seconds.
        {dbpSQLite, PlainDateTime(QDate(1900, 1, 1), QTime(0, 0, 0, 5)), "'1900-01-01 00:00:00'"},
        {dbpSQLite, PlainDateTime(QDate(999, 3, 4)), "'0999-03-04'"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(DateToSQLLiteral(c.Type, c.Value), QString::fromUtf8(c.Expected))
            << DBProviderTypeName(c.Type).toStdString() << " " << c.Value.toString(Qt::ISODate).toStdString();
    EXPECT_EQ(DateToAccessLiteral(withTime), QStringLiteral("{date '2021-02-19 11:33:43'}"));
}

TEST(DateToSQLLiteral, TimeSeparatorFollowsTheRegionalSettings)
{
    const TScopedDefaultLocale finnish{QLocale(QLocale::Finnish, QLocale::Finland)};
    const QDateTime value = PlainDateTime(QDate(2021, 2, 19), QTime(11, 33, 43));
    EXPECT_EQ(DateToSQLLiteral(dbpSQLite, value), QStringLiteral("'2021-02-19 11.33.43'"));
    EXPECT_EQ(DateToAccessLiteral(value), QStringLiteral("{date '2021-02-19 11.33.43'}"));
}

TEST(SQLLiterals, TextBooleanAndBinaryOfEachDatabaseSystem)
{
    const QString text = QStringLiteral("O'Brien C:\\Temp\\");
    const QByteArray bytes("\x00\x27\x5C\xFF", 4);
    struct TCase
    {
        TDBProviderType Type;
        const char* Text;
        const char* True;
        const char* False;
        const char* Binary;
    };
    const TCase cases[] = {
        {dbpAccess, R"('O''Brien C:\Temp\')", "-1", "0", "0x00275CFF"},
        {dbpSQLite, R"('O''Brien C:\Temp\')", "1", "0", "X'00275CFF'"},
        {dbpMSSQL, R"('O''Brien C:\Temp\')", "1", "0", "0x00275CFF"},
        {dbpFirebird, R"('O''Brien C:\Temp\')", "TRUE", "FALSE", "x'00275CFF'"},
        {dbpOracle, R"('O''Brien C:\Temp\')", "1", "0", "hextoraw('00275CFF')"},
        {dbpMySQL, R"('O''Brien C:\\Temp\\')", "1", "0", "X'00275CFF'"},
        {dbpNexusDB, R"('O''Brien C:\Temp\')", "TRUE", "FALSE", "x'00275CFF'"},
        {dbpPostgreSQL, R"('O''Brien C:\Temp\')", "TRUE", "FALSE", "decode('00275CFF','hex')"},
    };
    for (const TCase& c : cases) {
        const std::string name = DBProviderTypeName(c.Type).toStdString();
        EXPECT_EQ(TextToSQLLiteral(c.Type, text), QString::fromUtf8(c.Text)) << name;
        EXPECT_EQ(BooleanToSQLLiteral(c.Type, true), QString::fromUtf8(c.True)) << name;
        EXPECT_EQ(BooleanToSQLLiteral(c.Type, false), QString::fromUtf8(c.False)) << name;
        EXPECT_EQ(BinaryToSQLLiteral(c.Type, bytes), QString::fromUtf8(c.Binary)) << name;
    }
}

class DBUtilsOnDatabase : public ::testing::TestWithParam<TDataTestDB>
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(GetParam(), Conn);
        Conn.Connect();
        Conn.ExecSQL(QStringLiteral("create table Ids (ID bigint not null primary key, Name varchar(20))"));
    }

    TUniConnection Conn;
};

TEST_P(DBUtilsOnDatabase, IdentifiersOfAnEmptyTable)
{
    EXPECT_EQ(GetNewID(&Conn, QStringLiteral("Ids"), QStringLiteral("ID")), 1);
    EXPECT_EQ(GetMaxID(&Conn, QStringLiteral("Ids"), QStringLiteral("ID")), 0);
}

TEST_P(DBUtilsOnDatabase, IdentifiersBeyond32Bits)
{
    Conn.ExecSQL(QStringLiteral("insert into Ids (ID) values (7)"));
    Conn.ExecSQL(QStringLiteral("insert into Ids (ID) values (5000000000)"));
    EXPECT_EQ(GetNewID(&Conn, QStringLiteral("Ids"), QStringLiteral("ID")), Q_INT64_C(5000000001));
    EXPECT_EQ(GetMaxID(&Conn, QStringLiteral("Ids"), QStringLiteral("ID")), Q_INT64_C(5000000000));
}

TEST_P(DBUtilsOnDatabase, LookUpErrorsReachTheCaller)
{
    EXPECT_THROW(GetNewID(&Conn, QStringLiteral("NoSuchTable"), QStringLiteral("ID")), EUniError);
    EXPECT_THROW(GetMaxID(&Conn, QStringLiteral("Ids"), QStringLiteral("NoSuchColumn")), EUniError);
}

TEST_P(DBUtilsOnDatabase, ReadOnlyQueryRefusesChanges)
{
    Conn.ExecSQL(QStringLiteral("insert into Ids (ID, Name) values (1, 'a')"));
    std::unique_ptr<TUniQuery> query = CreateReadOnlyQuery(&Conn);
    ASSERT_EQ(query->Connection(), &Conn);
    EXPECT_TRUE(query->ReadOnly());
    query->SetSQL(QStringLiteral("select * from Ids"));
    query->Open();
    EXPECT_THROW(query->Edit(), EUniError);
    EXPECT_FALSE(CreateQuery(&Conn)->ReadOnly());
}

INSTANTIATE_TEST_SUITE_P(All, DBUtilsOnDatabase, ::testing::ValuesIn(AllDataTestDBs),
                         [](const auto& Info) { return DataTestDBName(Info.param); });

// Rows of a SQLite source copied into a dataset of another database system.
class RecordCopy : public ::testing::TestWithParam<TDataTestDB>
{
protected:
    void SetUp() override
    {
        InitCopyDates(Today);
        KLADDE_REQUIRE_DATABASE(tdbSQLite, Src);
        KLADDE_REQUIRE_DATABASE(GetParam(), Dst);
        Src.Connect();
        Src.ExecSQL(QStringLiteral(
            "create table S (ID integer primary key, Schueler_ID integer, Name varchar(100), Kurz varchar(100), "
            "Note text, Big bigint, F double, D date, DT datetime, Flag boolean, Amount decimal(10,4), Pic blob, "
            "Extra varchar(10), Num varchar(10), Memo2 text)"));
        Dst.Connect();
        if (GetParam() == tdbFirebird)
            Dst.ExecSQL(QStringLiteral(
                "create table D (ID integer not null primary key, Schueler_ID integer, Name varchar(50), "
                "Kurz varchar(10), Note blob sub_type text, Big bigint, F double precision, D date, DT timestamp, "
                "Flag boolean, Amount decimal(10,4), Pic blob, Num integer, Memo2 blob sub_type text)"));
        else
            Dst.ExecSQL(QStringLiteral(
                "create table D (ID int not null primary key, Schueler_ID int, Name varchar(50), Kurz varchar(10), "
                "Note text, Big bigint, F double, D date, DT datetime, Flag tinyint(1), Amount decimal(10,4), "
                "Pic longblob, Num int, Memo2 text) default charset=utf8mb4"));

        // Row 1: every rule once. Row 2: the values of an edited row.
        TUniQuery insert(&Src);
        insert.SetSQL(QStringLiteral(
            "insert into S values (1, 77, :Name, 'kurz', :Note, 5000000000, 3.25, '1919-12-31', :DT1, 1, "
            "1234.5678, :Pic, 'x', 'abc', '  Text  ')"));
        insert.ParamByName(QStringLiteral("Name")).SetValue(QStringLiteral(" \t") + LongName + QStringLiteral("\r\n "));
        insert.ParamByName(QStringLiteral("Note")).SetValue(QStringLiteral("  Grüße € Ωmega\n"));
        insert.ParamByName(QStringLiteral("DT1")).SetValue(MaxCopyDate());
        insert.ParamByName(QStringLiteral("Pic")).SetValue(Picture);
        insert.ExecSQL();
        insert.SetSQL(QStringLiteral("insert into S (ID, Schueler_ID, Name, Kurz, D, DT) values (9, 88, 'Neu', '   ', "
                                     "'1920-01-01', :DT2)"));
        insert.ParamByName(QStringLiteral("DT2")).SetValue(MaxCopyDate().addDays(1));
        insert.ExecSQL();

        Source = std::make_unique<TUniQuery>(&Src);
        Source->SetSQL(QStringLiteral("select * from S order by ID"));
        Source->Open();
        Dest = std::make_unique<TUniQuery>(&Dst);
        Dest->SetSQL(QStringLiteral("select * from D"));
    }

    void TearDown() override { InitCopyDates(QDate::currentDate()); }

    // The row of D with the given ID, read anew.
    std::unique_ptr<TUniQuery> ReadBack(int Id)
    {
        auto query = std::make_unique<TUniQuery>(&Dst);
        query->SetSQL(QStringLiteral("select * from D where ID=%1").arg(Id));
        query->Open();
        EXPECT_FALSE(query->Eof()) << "no row " << Id;
        return query;
    }

    static QString Text(const TUniQuery& Query, const char* Field)
    {
        return Query.FieldByName(QLatin1String(Field)).AsString();
    }
    static bool IsNull(const TUniQuery& Query, const char* Field)
    {
        return Query.FieldByName(QLatin1String(Field)).IsNull();
    }

    const QDate Today{2024, 5, 1};
    const QString LongName = QStringLiteral("Änne-Sophie ").repeated(5); // 60 characters
    const QByteArray Picture{"\x89PNG\r\n\x00\x01\xFF", 9};
    TUniConnection Src;
    TUniConnection Dst;
    std::unique_ptr<TUniQuery> Source;
    std::unique_ptr<TUniQuery> Dest;
};

TEST_P(RecordCopy, InsertCopiesEachFieldByTheRuleOfItsDestinationType)
{
    Dest->Open();
    Dest->Append();
    CopyRecordFields(*Source, *Dest, QStringLiteral("id"), false);
    Dest->Post();

    const auto row = ReadBack(1);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Schueler_ID")).AsInteger(), 77);
    EXPECT_EQ(Text(*row, "Name"), LongName.left(50)) << "trimmed, then cut to the field size";
    EXPECT_EQ(Text(*row, "Kurz"), QStringLiteral("kurz"));
    EXPECT_EQ(Text(*row, "Note"), QStringLiteral("Grüße € ?mega")) << "through Windows-1252";
    EXPECT_EQ(row->FieldByName(QStringLiteral("Big")).AsLargeInt(), Q_INT64_C(5000000000));
    EXPECT_DOUBLE_EQ(row->FieldByName(QStringLiteral("F")).AsFloat(), 3.25);
    EXPECT_TRUE(IsNull(*row, "D")) << "31 December 1919 lies below MinCopyDate";
    EXPECT_EQ(row->FieldByName(QStringLiteral("DT")).AsDateTime(), MaxCopyDate()) << "the bound itself is copied";
    EXPECT_TRUE(row->FieldByName(QStringLiteral("Flag")).AsBoolean());
    EXPECT_EQ(row->FieldByName(QStringLiteral("Amount")).Value().toString(), QStringLiteral("1234.5678"));
    EXPECT_EQ(row->FieldByName(QStringLiteral("Pic")).AsBytes(), Picture);
    EXPECT_TRUE(IsNull(*row, "Num")) << "a value that does not convert is left out";
    EXPECT_EQ(Text(*row, "Memo2"), QStringLiteral("Text")) << "the fields after a failed one are copied";
}

TEST_P(RecordCopy, AlwaysExcludedFieldIsNotCopiedOnInsert)
{
    Dest->Open();
    Dest->Append();
    CopyRecordFields(*Source, *Dest, QStringLiteral("Kurz;ID"), true);
    EXPECT_TRUE(Dest->FieldByName(QStringLiteral("ID")).IsNull());
    EXPECT_TRUE(Dest->FieldByName(QStringLiteral("Kurz")).IsNull());
    EXPECT_EQ(Dest->FieldByName(QStringLiteral("Schueler_ID")).AsInteger(), 77) << "\"ID\" does not exclude Schueler_ID";
    Dest->FieldByName(QStringLiteral("ID")).SetAsInteger(5);
    Dest->Post();
    EXPECT_EQ(Text(*ReadBack(5), "Memo2"), QStringLiteral("Text"));
}

TEST_P(RecordCopy, EditSkipsExcludedFieldsAndKeepsWhatTheSourceLacks)
{
    Dst.ExecSQL(QStringLiteral("insert into D (ID, Schueler_ID, Name, Kurz, Note, Big, D, DT) values "
                               "(2, 1, 'Alt', 'alt', 'alte Notiz', 42, '2000-01-01', '2000-01-01')"));
    Source->Next();
    ASSERT_EQ(Source->FieldByName(QStringLiteral("ID")).AsInteger(), 9);
    Dest->Open();
    ASSERT_FALSE(Dest->Eof());
    Dest->Edit();
    CopyRecordFields(*Source, *Dest, QStringLiteral("ID"), false);
    Dest->Post();

    const auto row = ReadBack(2);
    EXPECT_EQ(row->FieldByName(QStringLiteral("Schueler_ID")).AsInteger(), 88);
    EXPECT_EQ(Text(*row, "Name"), QStringLiteral("Neu"));
    EXPECT_TRUE(IsNull(*row, "Kurz")) << "blanks clear the field";
    EXPECT_TRUE(IsNull(*row, "Note")) << "a NULL text clears the field";
    EXPECT_EQ(row->FieldByName(QStringLiteral("Big")).AsLargeInt(), 42) << "a NULL number is not copied";
    EXPECT_EQ(row->FieldByName(QStringLiteral("D")).AsDateTime().date(), QDate(1920, 1, 1));
    EXPECT_EQ(row->FieldByName(QStringLiteral("DT")).AsDateTime(), PlainDateTime(QDate(2000, 1, 1)))
        << "a date after MaxCopyDate is not copied";
}

INSTANTIATE_TEST_SUITE_P(FromSQLite, RecordCopy, ::testing::Values(tdbMariaDB, tdbFirebird),
                         [](const auto& Info) { return DataTestDBName(Info.param); });

} // namespace
