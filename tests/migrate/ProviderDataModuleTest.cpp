#include "DateTimeText.h"
#include "EUniError.h"
#include "Platform.h"
#include "TUniQuery.h"
#include "TNoticeRecorder.h"
#include "TestServers.h"
#include "dmodProviders.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

std::string S(const QString& Text)
{
    return Text.toStdString();
}

const QString CrLf = QStringLiteral("\r\n");

// A module whose fixed choices a test may change.
class TTestProvider : public TdmProvider
{
public:
    void SetCommitType(TCommitType Value) { FCommitType = Value; }
    void SetShowErrorMessages(bool Value) { FShowErrorMessages = Value; }
};


// Fixes the clock that dates the recorded errors while it lives.
class TFixedNow
{
public:
    explicit TFixedNow(const QDateTime& Value) { Set(Value); }
    ~TFixedNow() { SetNowOverride(std::nullopt); }
    void Set(const QDateTime& Value) { SetNowOverride(Value); }
};

void UseSqlite(TUniConnection& Conn, const QString& Path)
{
    Conn.SetProviderName(QStringLiteral("SQLite"));
    Conn.SetDatabase(Path);
    Conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
    Conn.SetLoginPrompt(false);
}

qint64 Count(TUniConnection& Conn, const QString& Table)
{
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select count(*) as N from ") + Table);
    q.Open();
    return q.FieldByName(QStringLiteral("N")).AsLargeInt();
}

// The entries of a LastSQLError text.
QStringList Entries(const QString& Text)
{
    return Text.isEmpty() ? QStringList() : Text.split(CrLf);
}

// A module whose conKladde is a SQLite file holding the table T (ID, Name).
class ProviderModule : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseSqlite(Dm.conKladde, File(QStringLiteral("kladde.db3")));
        Dm.KladdeConnector()->SetDBProviderType(dbpSQLite);
        Dm.conKladde.ExecSQL(QStringLiteral("create table T (ID integer not null primary key, Name varchar(20))"));
    }
    QString File(const QString& Name) const { return FDir.filePath(Name); }
    // A second connection to the file of conKladde.
    void OpenSecond(TUniConnection& Conn) const { UseSqlite(Conn, File(QStringLiteral("kladde.db3"))); }

    QTemporaryDir FDir;
    TTestProvider Dm;
};

TEST(ProviderModuleCreation, ConnectorConnectionsAreClearedTheOthersKeepTheirSettings)
{
    TdmProvider dm;
    for (TUniConnection* conn : {&dm.conKladde, &dm.conStatkue, &dm.conSchulver}) {
        EXPECT_TRUE(conn->ProviderName().isEmpty());
        EXPECT_TRUE(conn->Database().isEmpty());
        EXPECT_TRUE(conn->Server().isEmpty());
        EXPECT_FALSE(conn->Connected());
    }
    EXPECT_EQ(dm.KladdeConnector()->Connection(), &dm.conKladde);
    EXPECT_EQ(dm.StatkueConnector()->Connection(), &dm.conStatkue);
    EXPECT_EQ(dm.SchulVerConnector()->Connection(), &dm.conSchulver);
    EXPECT_EQ(dm.CurrentConnection(), &dm.conKladde);
    EXPECT_EQ(dm.conStatkue.SpecificOptions().Values(QStringLiteral("Access.DriverVersion")), QStringLiteral("dvMdb"));

    EXPECT_EQ(dm.conKladdeIntern.ProviderName(), QStringLiteral("Access"));
    EXPECT_EQ(dm.conKladdeIntern.Database(), QStringLiteral("Keytabs\\kladdeintern.mdb"));
    EXPECT_EQ(dm.conSDB.Database(), QStringLiteral("Keytabs\\asdtabs.mdb"));
    EXPECT_EQ(dm.conSDB.Username(), QStringLiteral("Administrator"));
    EXPECT_EQ(dm.UniQuery1.Connection(), &dm.conKladde);
    EXPECT_EQ(dm.UniQuery1.FetchRows(), 65000);
    EXPECT_EQ(dm.UniConnection1.SpecificOptions().Values(QStringLiteral("SQLite.ConnectMode")),
              QStringLiteral("cmReadOnly"));
    EXPECT_TRUE(dm.LastSQLError().isEmpty());
}

// conKladde has no provider until its connector is configured.
TEST(ProviderModuleErrors, FreshModuleCannotOpenAQueryAndSaysWhy)
{
    const QDateTime now(QDate(2024, 3, 5), QTime(13, 5, 9));
    TFixedNow clock(now);
    TdmProvider dm;
    std::unique_ptr<TUniQuery> q = dm.GetQuery();
    EXPECT_FALSE(dm.SafeSQL_Open(*q, QStringLiteral("select * from Kladde_Verwaltung")));
    const QString prefix = DateTimeToStr(now) + QStringLiteral(" Error in SafeSQL_Open EUniError ");
    EXPECT_TRUE(dm.LastSQLError().startsWith(prefix)) << S(dm.LastSQLError());
    EXPECT_GT(dm.LastSQLError().size(), prefix.size()) << "the layer's message is part of the entry";
    // The field lookups of a caller fail afterwards; the updater relies on that.
    EXPECT_EQ(q->FindField(QStringLiteral("Version3")), nullptr);
}

TEST(ProviderModuleErrors, FailuresAccumulateWithDateAndTimeUntilCleared)
{
    const QDateTime first(QDate(2024, 3, 5), QTime(13, 5, 9));
    const QDateTime second(QDate(2024, 3, 6), QTime(0, 0)); // exactly midnight: the date alone
    TFixedNow clock(first);
    TdmProvider dm;
    std::unique_ptr<TUniQuery> q = dm.GetQuery();
    EXPECT_FALSE(dm.SafeSQL_Open(*q, QStringLiteral("select 1")));
    clock.Set(second);
    EXPECT_FALSE(dm.StartTransaction(true));

    const QStringList entries = Entries(dm.LastSQLError());
    ASSERT_EQ(entries.size(), 2) << S(dm.LastSQLError());
    EXPECT_TRUE(entries[0].startsWith(DateTimeToStr(first) + QStringLiteral(" Error in SafeSQL_Open EUniError ")))
        << S(entries[0]);
    EXPECT_TRUE(entries[1].startsWith(DateTimeToStr(second)
                                      + QStringLiteral(" Error in TdmProvider.StartTransaction EUniError ")))
        << S(entries[1]);

    dm.ClearSQLErrors();
    EXPECT_TRUE(dm.LastSQLError().isEmpty());
    EXPECT_FALSE(dm.SafeSQL_Open(*q));
    EXPECT_EQ(Entries(dm.LastSQLError()).size(), 1) << S(dm.LastSQLError());
}

TEST(ProviderModuleErrors, ShowErrorMessagesShowsTheWholeTextAfterEachFailure)
{
    TNoticeRecorder notices;
    {
        TdmProvider quiet;
        EXPECT_FALSE(quiet.SafeSQL_Open(*quiet.GetQuery(), QStringLiteral("select 1")));
    }
    EXPECT_TRUE(notices.Texts.isEmpty());

    TTestProvider dm;
    dm.SetShowErrorMessages(true);
    std::unique_ptr<TUniQuery> q = dm.GetQuery();
    dm.SafeSQL_Open(*q, QStringLiteral("select 1"));
    dm.SafeSQL_Open(*q, QStringLiteral("select 2"));
    ASSERT_EQ(notices.Texts.size(), 2);
    EXPECT_EQ(Entries(notices.Texts[0]).size(), 1);
    EXPECT_EQ(notices.Texts[1], dm.LastSQLError());
    EXPECT_EQ(Entries(notices.Texts[1]).size(), 2);
}

struct TTransactionErrorCase {
    TCommitType CommitType;
    bool (*Call)(TdmProvider&);
    bool Result;
    const char* Recorded; // empty: nothing recorded
};

// On a fresh module every operation that has to reach conKladde fails: it has no provider.
// A plain commit or rollback with no transaction open does not need the database.
TEST(ProviderModuleErrors, TransactionOperationsRecordTheirFailures)
{
    const TTransactionErrorCase cases[] = {
        {CT_COMMIT, [](TdmProvider& Dm) { return Dm.StartTransaction(true); }, false,
         " Error in TdmProvider.StartTransaction EUniError "},
        {CT_COMMIT, [](TdmProvider& Dm) { return Dm.StartTransaction(false); }, false,
         " Error in TdmProvider.StartTransaction EUniError "},
        {CT_COMMIT, [](TdmProvider& Dm) { return Dm.CommitTransaction(); }, true, ""},
        {CT_COMMIT, [](TdmProvider& Dm) { return Dm.RollbackTransaction(); }, true, ""},
        {CT_COMMITRETAINING, [](TdmProvider& Dm) { return Dm.StartTransaction(true); }, true, ""},
        {CT_COMMITRETAINING, [](TdmProvider& Dm) { return Dm.CommitTransaction(); }, false,
         " Error in TdmProvider.CommitTransaction EUniError "},
        {CT_COMMITRETAINING, [](TdmProvider& Dm) { return Dm.RollbackTransaction(); }, false,
         " Error in TdmProvider.RollbackTransaction EUniError "},
        {CT_COMMIT, [](TdmProvider& Dm) { return Dm.SafeSQL_Execute(QStringLiteral("delete from T"), false, false); },
         false, " Error in TdmProvider.SafeSQL_Execute EUniError "},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const TTransactionErrorCase& c = cases[i];
        TTestProvider dm;
        dm.SetCommitType(c.CommitType);
        EXPECT_EQ(c.Call(dm), c.Result);
        if (*c.Recorded) {
            const QStringList entries = Entries(dm.LastSQLError());
            ASSERT_EQ(entries.size(), 1) << S(dm.LastSQLError());
            EXPECT_TRUE(entries[0].contains(QLatin1String(c.Recorded))) << S(entries[0]);
        } else {
            EXPECT_TRUE(dm.LastSQLError().isEmpty()) << S(dm.LastSQLError());
        }
    }
}

TEST(ProviderModuleConnections, RepointedConnectorChangesTheDialectButNotTheQueries)
{
    QTemporaryDir dir;
    TUniConnection destination;
    UseSqlite(destination, dir.filePath(QStringLiteral("dst.db3")));
    TdmProvider dm;
    dm.KladdeConnector()->SetConnection(&destination);
    dm.KladdeConnector()->SetDBProviderType(dbpSQLite);

    EXPECT_EQ(dm.GetQuery()->Connection(), &dm.conKladde);
    EXPECT_EQ(dm.CurrentConnection(), &dm.conKladde);
    EXPECT_EQ(dm.GetDataset()->Connection(), &dm.conKladde);
    EXPECT_EQ(S(dm.AbfrageAnProviderAnpassen(QStringLiteral("select month(schueler.geburtsdatum) as m from Schueler"))),
              "select cast( strftime( '%m', Geburtsdatum) as integer) as m from Schueler");

    dm.SetCurrentConnection_Kladde();
    EXPECT_EQ(dm.CurrentConnection(), &destination);
    EXPECT_EQ(dm.GetDataset()->Connection(), &destination);
    EXPECT_EQ(dm.GetQuery()->Connection(), &dm.conKladde);
    EXPECT_EQ(dm.GetDataset(&dm.conSDB)->Connection(), &dm.conSDB);
    dm.SetCurrentConnection_Statkue();
    EXPECT_EQ(dm.CurrentConnection(), &dm.conStatkue);
    dm.SetCurrentConnection_SchulVer();
    EXPECT_EQ(dm.CurrentConnection(), &dm.conSchulver);
}

struct TAdaptCase {
    std::vector<TDBProviderType> Types;
    const char* Expected;
};

TEST(ProviderModuleDialect, BirthMonthAndDayFollowTheConnectorType)
{
    const QString sql = QStringLiteral("select MONTH(Schueler.Geburtsdatum) as M, day(SCHUELER.GEBURTSDATUM) as D "
                                       "from Schueler where Month(schueler.Geburtsdatum) = 3");
    const TAdaptCase cases[] = {
        {{dbpSQLite},
         "select cast( strftime( '%m', Geburtsdatum) as integer) as M, cast( strftime( '%d', Geburtsdatum) as integer) "
         "as D from Schueler where cast( strftime( '%m', Geburtsdatum) as integer) = 3"},
        {{dbpFirebird, dbpNexusDB},
         "select extract(month from Schueler.Geburtsdatum) as M, extract(day from Schueler.Geburtsdatum) as D "
         "from Schueler where extract(month from Schueler.Geburtsdatum) = 3"},
        {{dbpAccess, dbpMSSQL, dbpOracle, dbpMySQL, dbpPostgreSQL, dbpUndefined},
         "select MONTH(Schueler.Geburtsdatum) as M, day(SCHUELER.GEBURTSDATUM) as D "
         "from Schueler where Month(schueler.Geburtsdatum) = 3"},
    };
    TdmProvider dm;
    for (const TAdaptCase& c : cases)
        for (TDBProviderType type : c.Types) {
            dm.KladdeConnector()->SetDBProviderType(type);
            EXPECT_EQ(S(dm.AbfrageAnProviderAnpassen(sql)), c.Expected) << S(DBProviderTypeName(type));
        }
}

TEST(ProviderModuleDialect, JoinClauseInParenthesesForAccessOnly)
{
    const QString join = QStringLiteral("Schueler inner join Klassen on Klassen.ID = Schueler.Klasse_ID");
    TdmProvider dm;
    for (int t = dbpAccess; t <= dbpUndefined; ++t) {
        const auto type = TDBProviderType(t);
        dm.KladdeConnector()->SetDBProviderType(type);
        EXPECT_EQ(dm.FormatJoinClause(join), type == dbpAccess ? u'(' + join + u')' : join)
            << S(DBProviderTypeName(type));
    }
}

struct TIndexCase {
    TDBProviderType Type;
    bool Unique;
    const char* Expected;
};

TEST(ProviderModuleDialect, IndexStatementPerDatabaseSystem)
{
    std::vector<TIndexCase> cases = {
        {dbpAccess, false, "CREATE  INDEX IX_Name on Schueler (Name, Vorname)"},
        {dbpAccess, true, "CREATE UNIQUE  INDEX IX_Name on Schueler (Name, Vorname)"},
        {dbpMySQL, false, "ALTER TABLE Schueler ADD INDEX IX_Name (Name, Vorname)"},
        {dbpMySQL, true, "ALTER TABLE Schueler ADD UNIQUE INDEX IX_Name (Name, Vorname)"},
    };
    for (TDBProviderType type : {dbpSQLite, dbpMSSQL, dbpFirebird, dbpOracle, dbpNexusDB, dbpPostgreSQL, dbpUndefined})
        for (bool unique : {false, true})
            cases.push_back({type, unique, "CREATE INDEX [IX_Name] on [Schueler] ([Name, Vorname]) ASC"});
    for (const TIndexCase& c : cases)
        EXPECT_EQ(S(TdmProvider::IndexStatement(c.Type, QStringLiteral("Schueler"), QStringLiteral("IX_Name"),
                                                QStringLiteral("Name, Vorname"), c.Unique)),
                  c.Expected)
            << S(DBProviderTypeName(c.Type)) << " unique " << c.Unique;
}

TEST_F(ProviderModule, SafeOpenOfAnOpenQueryRunsItAnew)
{
    std::unique_ptr<TUniQuery> q = Dm.GetDataset(QStringLiteral("select count(*) as N from T"));
    ASSERT_TRUE(q->Active()) << S(Dm.LastSQLError());
    EXPECT_EQ(q->FieldByName(QStringLiteral("N")).AsInteger(), 0);
    Dm.conKladde.ExecSQL(QStringLiteral("insert into T values (1, 'a')"));
    EXPECT_TRUE(Dm.SafeSQL_Open(*q));
    EXPECT_EQ(q->FieldByName(QStringLiteral("N")).AsInteger(), 1);
    EXPECT_TRUE(Dm.SafeSQL_Open(*q, QStringLiteral("select count(*) as N from T where ID > 1")));
    EXPECT_EQ(q->FieldByName(QStringLiteral("N")).AsInteger(), 0);
    EXPECT_TRUE(Dm.LastSQLError().isEmpty()) << S(Dm.LastSQLError());
}

TEST_F(ProviderModule, SafeExecuteCommitsOrRollsBackOnConKladde)
{
    EXPECT_TRUE(Dm.SafeSQL_Execute(QStringLiteral("insert into T values (1, 'a')"), true, true));
    EXPECT_FALSE(Dm.conKladde.InTransaction());
    EXPECT_EQ(Count(Dm.conKladde, QStringLiteral("T")), 1);

    EXPECT_FALSE(Dm.SafeSQL_Execute(QStringLiteral("insert into T values (1, 'duplicate')"), true, true));
    EXPECT_FALSE(Dm.conKladde.InTransaction()) << "the failed statement's transaction is rolled back";
    const QStringList entries = Entries(Dm.LastSQLError());
    ASSERT_EQ(entries.size(), 1) << S(Dm.LastSQLError());
    EXPECT_TRUE(entries[0].contains(QLatin1String(" Error in TdmProvider.SafeSQL_Execute EUniError ")))
        << S(entries[0]);

    TUniQuery q(&Dm.conKladde);
    q.SetSQL(QStringLiteral("insert into T values (2, 'b')"));
    EXPECT_TRUE(Dm.SafeSQL_Execute(q, true, false));
    EXPECT_TRUE(Dm.conKladde.InTransaction()) << "left open without CommitTransaction";
    EXPECT_TRUE(Dm.RollbackTransaction());
    EXPECT_EQ(Count(Dm.conKladde, QStringLiteral("T")), 1);
}

// The statement runs on the current connection; the transaction steps stay on conKladde.
TEST_F(ProviderModule, SafeExecuteRunsOnTheCurrentConnectionAndCommitsConKladde)
{
    TUniConnection other;
    UseSqlite(other, File(QStringLiteral("other.db3")));
    other.ExecSQL(QStringLiteral("create table T (ID integer not null primary key, Name varchar(20))"));
    Dm.SetCurrentConnection(&other);

    Dm.conKladde.StartTransaction();
    Dm.conKladde.ExecSQL(QStringLiteral("insert into T values (1, 'pending')"));
    EXPECT_TRUE(Dm.SafeSQL_Execute(QStringLiteral("insert into T values (7, 'other')"), true, false));
    EXPECT_EQ(Count(other, QStringLiteral("T")), 1);
    EXPECT_TRUE(Dm.conKladde.InTransaction()) << "a new transaction is open on conKladde";

    TUniConnection second;
    OpenSecond(second);
    EXPECT_EQ(Count(second, QStringLiteral("T")), 1) << "the pending insert was committed first";
    EXPECT_TRUE(Dm.LastSQLError().isEmpty()) << S(Dm.LastSQLError());
}

TEST_F(ProviderModule, TransactionsOnAGivenConnectionLeaveConKladdeAlone)
{
    TUniConnection other;
    UseSqlite(other, File(QStringLiteral("other.db3")));
    other.ExecSQL(QStringLiteral("create table T (ID integer not null primary key, Name varchar(20))"));
    EXPECT_TRUE(Dm.StartTransaction(true, &other));
    EXPECT_TRUE(other.InTransaction());
    EXPECT_FALSE(Dm.conKladde.InTransaction());
    other.ExecSQL(QStringLiteral("insert into T values (1, 'a')"));
    EXPECT_TRUE(Dm.RollbackTransaction(&other));
    EXPECT_FALSE(other.InTransaction());
    EXPECT_EQ(Count(other, QStringLiteral("T")), 0);
}

// A deferred foreign key makes SQLite refuse the commit itself.
TEST_F(ProviderModule, FailedCommitIsRecordedAndTheTransactionStaysOpen)
{
    Dm.conKladde.ExecSQL(QStringLiteral("pragma foreign_keys = on"));
    Dm.conKladde.ExecSQL(QStringLiteral("create table Child (ID integer primary key, T_ID integer "
                                        "references T (ID) deferrable initially deferred)"));
    ASSERT_TRUE(Dm.StartTransaction(true));
    Dm.conKladde.ExecSQL(QStringLiteral("insert into Child values (1, 99)"));
    EXPECT_FALSE(Dm.CommitTransaction());
    const QStringList entries = Entries(Dm.LastSQLError());
    ASSERT_EQ(entries.size(), 1) << S(Dm.LastSQLError());
    EXPECT_TRUE(entries[0].contains(QLatin1String(" Error in TdmProvider.CommitTransaction EUniError ")))
        << S(entries[0]);
    EXPECT_TRUE(entries[0].contains(QLatin1String("FOREIGN KEY"), Qt::CaseInsensitive)) << S(entries[0]);
    EXPECT_TRUE(Dm.conKladde.InTransaction());
    EXPECT_TRUE(Dm.RollbackTransaction());
    EXPECT_FALSE(Dm.conKladde.InTransaction());
    EXPECT_EQ(Count(Dm.conKladde, QStringLiteral("Child")), 0);
}

TEST_F(ProviderModule, RetainingCommitKeepsTheTransactionOpen)
{
    Dm.SetCommitType(CT_COMMITRETAINING);
    EXPECT_TRUE(Dm.StartTransaction(true));
    EXPECT_FALSE(Dm.conKladde.InTransaction()) << "the retaining mode starts no transaction of its own";

    Dm.conKladde.StartTransaction();
    Dm.conKladde.ExecSQL(QStringLiteral("insert into T values (1, 'a')"));
    EXPECT_TRUE(Dm.CommitTransaction());
    EXPECT_TRUE(Dm.conKladde.InTransaction());
    Dm.conKladde.ExecSQL(QStringLiteral("insert into T values (2, 'b')"));
    EXPECT_TRUE(Dm.RollbackTransaction());
    EXPECT_TRUE(Dm.conKladde.InTransaction());

    TUniConnection second;
    OpenSecond(second);
    EXPECT_EQ(Count(second, QStringLiteral("T")), 1);
    EXPECT_TRUE(Dm.LastSQLError().isEmpty()) << S(Dm.LastSQLError());
}

TEST_F(ProviderModule, IndexListOfAKeyedTable)
{
    Dm.conKladde.ExecSQL(QStringLiteral("create table Plain (A integer, B integer)"));
    EXPECT_EQ(S(Dm.GetIndexList(QStringLiteral("t"), QStringLiteral("unused"))), "GetKeyFieldNames = (ID\r\n)");
    EXPECT_EQ(S(Dm.GetIndexList(QStringLiteral("Plain"), QString())), "GetKeyFieldNames = ()");
    EXPECT_THROW(Dm.GetIndexList(QStringLiteral("Missing"), QString()), EUniError);
}

TEST_F(ProviderModule, NewIdFailureIsRecordedAndRaises)
{
    EXPECT_THROW(Dm.GetNewID_ForAccessDB(QStringLiteral("Missing"), QStringLiteral("ID")), EUniError);
    const QStringList entries = Entries(Dm.LastSQLError());
    ASSERT_EQ(entries.size(), 1) << S(Dm.LastSQLError());
    EXPECT_TRUE(entries[0].contains(QLatin1String(" Error in SafeSQL_Open EUniError "))) << S(entries[0]);
}

TEST_F(ProviderModule, LoginHandlerSwitchesThePromptOff)
{
    // A connector of the SQL Server type adds nothing to the connect string, so the prompt stays
    // on until the module's login handler runs.
    Dm.KladdeConnector()->SetDBProviderType(dbpMSSQL);
    Dm.conKladde.Disconnect();
    Dm.conKladde.SetLoginPrompt(true);
    Dm.conKladde.Connect();
    EXPECT_FALSE(Dm.conKladde.LoginPrompt());
}

TEST_F(ProviderModule, DisconnectIsAnnouncedInDebugModeOnly)
{
    for (bool debug : {false, true}) {
        TNoticeRecorder notices;
        SetDebugModeOverride(debug);
        Dm.conKladde.Connect();
        Dm.conKladde.Disconnect();
        SetDebugModeOverride(std::nullopt);
        EXPECT_EQ(notices.Texts, debug ? QStringList{QStringLiteral("Disconnect")} : QStringList()) << debug;
    }
}

// conSchulver and conSDB read the Access integer columns as 64-bit values.
TEST(ProviderModuleTypes, KeyTableConnectionsReadAccessIntegersAs64Bit)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sample.accdb"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KLADDE_SHARED_DIR "/fixtures/access/ASampleDatabase.accdb"), path));
    TdmProvider dm;
    const QString sql = QStringLiteral("select Warranty from [Asset Items]");
    TUniConnection plain;
    for (TUniConnection* conn : {&plain, &dm.conSchulver, &dm.conSDB}) {
        conn->SetProviderName(QStringLiteral("Access"));
        conn->SetDatabase(path);
        conn->SetLoginPrompt(false);
        std::unique_ptr<TUniQuery> q = dm.GetDataset(sql, conn);
        ASSERT_TRUE(q->Active()) << S(dm.LastSQLError());
        EXPECT_EQ(q->FieldByName(QStringLiteral("Warranty")).DataType(), conn == &plain ? ftInteger : ftLargeint)
            << S(conn->Database());
    }
}

// The databases the module's operations run on, with conKladde pointed at each.
struct TTarget {
    const char* Name;
    TDBProviderType Type;
    // GetIndexList of the table NOTEN keyed by (SchuelerID, Fach), as the database names the keys.
    const char* KeyList;
};

std::ostream& operator<<(std::ostream& Out, const TTarget& Target)
{
    return Out << Target.Name;
}


class ProviderModuleOnDatabase : public ::testing::TestWithParam<TTarget>
{
protected:
    void SetUp() override
    {
        const QString name = QLatin1String(GetParam().Name);
        TTestServer server;
        if (name == QLatin1String("MariaDB")) {
            KLADDE_REQUIRE_SERVER(FreshMariaDBDatabase(server, why));
            UseServer(Dm.conKladde, QStringLiteral("MySQL"), server);
        } else if (name == QLatin1String("Firebird")) {
            KLADDE_REQUIRE_SERVER(FreshFirebirdDatabase(server, why));
            UseServer(Dm.conKladde, QStringLiteral("InterBase"), server);
            Dm.conKladde.SpecificOptions().SetValue(QStringLiteral("Interbase.Charset"), QStringLiteral("WIN1252"));
            Dm.conKladde.SpecificOptions().SetValue(QStringLiteral("Interbase.UseUnicode"), QStringLiteral("True"));
        } else {
            UseSqlite(Dm.conKladde, FDir.filePath(QStringLiteral("kladde.db3")));
        }
        Dm.KladdeConnector()->SetDBProviderType(GetParam().Type);
        Exec(QStringLiteral("create table T (ID integer not null primary key, Name varchar(20))"));
    }

    void Exec(const QString& Sql)
    {
        try {
            Dm.conKladde.ExecSQL(Sql);
        } catch (const EUniError& E) {
            ADD_FAILURE() << S(Sql) << ": " << S(E.Message());
        }
    }
    bool Is(const char* Name) const { return qstrcmp(GetParam().Name, Name) == 0; }

    QTemporaryDir FDir;
    TdmProvider Dm;
};

TEST_P(ProviderModuleOnDatabase, AdaptedBirthdayQueryRuns)
{
    Exec(QStringLiteral("create table Schueler (ID integer not null primary key, Geburtsdatum date)"));
    Exec(QStringLiteral("insert into Schueler (ID, Geburtsdatum) values (1, '2010-03-07')"));
    const QString sql = Dm.AbfrageAnProviderAnpassen(
        QStringLiteral("select MONTH(Schueler.Geburtsdatum) as M, DAY(Schueler.Geburtsdatum) as D from Schueler"));
    std::unique_ptr<TUniQuery> q = Dm.GetDataset(sql);
    ASSERT_TRUE(q->Active()) << S(sql) << "\n" << S(Dm.LastSQLError());
    EXPECT_EQ(q->FieldByName(QStringLiteral("M")).AsInteger(), 3);
    EXPECT_EQ(q->FieldByName(QStringLiteral("D")).AsInteger(), 7);
}

struct TStartCase {
    bool Commit;
    qint64 Rows;
};

TEST_P(ProviderModuleOnDatabase, StartTransactionEndsTheOpenOneFirst)
{
    for (const TStartCase c : {TStartCase{true, 1}, TStartCase{false, 0}}) {
        SCOPED_TRACE(c.Commit ? "commit" : "rollback");
        Exec(QStringLiteral("delete from T"));
        ASSERT_TRUE(Dm.StartTransaction(true)) << S(Dm.LastSQLError());
        ASSERT_TRUE(Dm.conKladde.InTransaction());
        Exec(QStringLiteral("insert into T (ID, Name) values (1, 'a')"));
        EXPECT_TRUE(Dm.StartTransaction(c.Commit));
        EXPECT_TRUE(Dm.conKladde.InTransaction()) << "a new transaction is open";
        EXPECT_TRUE(Dm.RollbackTransaction());
        EXPECT_EQ(Count(Dm.conKladde, QStringLiteral("T")), c.Rows);
    }
    EXPECT_TRUE(Dm.LastSQLError().isEmpty()) << S(Dm.LastSQLError());
}

TEST_P(ProviderModuleOnDatabase, NewIdIsMaximumPlusOne)
{
    EXPECT_EQ(Dm.GetNewID_ForAccessDB(QStringLiteral("T"), QStringLiteral("ID")), 1);
    Exec(QStringLiteral("insert into T (ID, Name) values (5, 'a')"));
    Exec(QStringLiteral("insert into T (ID, Name) values (9, 'b')"));
    EXPECT_EQ(Dm.GetNewID_ForAccessDB(QStringLiteral("T"), QStringLiteral("ID")), 10);
    EXPECT_TRUE(Dm.LastSQLError().isEmpty()) << S(Dm.LastSQLError());
}

// The table name is upper-cased: on MariaDB under Linux only an upper-case table is found.
TEST_P(ProviderModuleOnDatabase, IndexListNamesTheKeyFields)
{
    Exec(QStringLiteral("create table NOTEN (SchuelerID integer not null, Fach varchar(10) not null, Note integer, "
                        "primary key (SchuelerID, Fach))"));
    EXPECT_EQ(S(Dm.GetIndexList(QStringLiteral("Noten"), QString())), GetParam().KeyList);
}

struct TAddIndexCase {
    const char* Target;
    TDBProviderType Type;
    bool Unique;
    bool Accepted;
};

// Which statement forms each database accepts: SQLite refuses the trailing ASC of the generic
// form, Firebird its bracketed names; the Access form suits all three.
TEST_P(ProviderModuleOnDatabase, AddIndexToTableAsEachDatabaseAcceptsIt)
{
    const TAddIndexCase cases[] = {
        {"SQLite", dbpSQLite, false, false},   {"SQLite", dbpAccess, false, true},
        {"SQLite", dbpAccess, true, true},     {"MariaDB", dbpMySQL, false, true},
        {"MariaDB", dbpMySQL, true, true},     {"MariaDB", dbpAccess, true, true},
        {"Firebird", dbpFirebird, false, false}, {"Firebird", dbpFirebird, true, false},
        {"Firebird", dbpAccess, true, true},
    };
    TUniConnection unused;
    int n = 0;
    for (const TAddIndexCase& c : cases) {
        if (!Is(c.Target))
            continue;
        const QString table = QStringLiteral("I%1").arg(++n);
        SCOPED_TRACE(S(DBProviderTypeName(c.Type)) + (c.Unique ? " unique" : ""));
        Exec(QStringLiteral("create table %1 (ID integer not null primary key, Name varchar(20))").arg(table));
        Dm.KladdeConnector()->SetDBProviderType(c.Type);
        Dm.ClearSQLErrors();
        EXPECT_EQ(Dm.AddIndexToTable(&unused, table, QStringLiteral("IX_") + table, QStringLiteral("Name"), c.Unique),
                  c.Accepted)
            << S(Dm.LastSQLError());
        EXPECT_FALSE(Dm.conKladde.InTransaction());
        EXPECT_FALSE(unused.Connected());
        if (!c.Accepted) {
            EXPECT_TRUE(Dm.LastSQLError().contains(QLatin1String(" Error in TdmProvider.SafeSQL_Execute EUniError ")))
                << S(Dm.LastSQLError());
            continue;
        }
        Exec(QStringLiteral("insert into %1 (ID, Name) values (1, 'a')").arg(table));
        if (c.Unique) {
            EXPECT_THROW(Dm.conKladde.ExecSQL(QStringLiteral("insert into %1 (ID, Name) values (2, 'a')").arg(table)),
                         EUniError);
        }
    }
}

// conKladde's data type map widens small integers, and on Firebird dates.
TEST_P(ProviderModuleOnDatabase, KladdeDataTypeMapApplies)
{
    struct TColumn {
        const char* Name;
        TFieldType Type;
    };
    QString ddl;
    std::vector<TColumn> columns;
    if (Is("SQLite")) {
        ddl = QStringLiteral("create table M (A smallint, B tinyint, C varchar(10), E bigint)");
        columns = {{"A", ftInteger}, {"B", ftInteger}, {"C", ftWideString}, {"E", ftLargeint}};
    } else if (Is("MariaDB")) {
        ddl = QStringLiteral("create table M (A smallint, B tinyint, C tinyint unsigned, D tinyint(1), E bigint)");
        columns = {{"A", ftInteger}, {"B", ftInteger}, {"C", ftInteger}, {"D", ftInteger}, {"E", ftLargeint}};
    } else {
        ddl = QStringLiteral("create table M (A smallint, B date, C varchar(10), E bigint)");
        columns = {{"A", ftInteger}, {"B", ftDateTime}, {"C", ftWideString}, {"E", ftLargeint}};
    }
    Exec(ddl);
    std::unique_ptr<TUniQuery> q = Dm.GetDataset(QStringLiteral("select * from M"));
    ASSERT_TRUE(q->Active()) << S(Dm.LastSQLError());
    for (const TColumn& c : columns)
        EXPECT_EQ(S(FieldTypeName(q->FieldByName(QLatin1String(c.Name)).DataType())), S(FieldTypeName(c.Type)))
            << c.Name;
}

INSTANTIATE_TEST_SUITE_P(Databases, ProviderModuleOnDatabase,
                         ::testing::Values(TTarget{"SQLite", dbpSQLite, "GetKeyFieldNames = (SchuelerID\r\nFach\r\n)"},
                                           TTarget{"MariaDB", dbpMySQL, "GetKeyFieldNames = (SchuelerID\r\nFach\r\n)"},
                                           TTarget{"Firebird", dbpFirebird,
                                                   "GetKeyFieldNames = (SCHUELERID\r\nFACH\r\n)"}),
                         [](const ::testing::TestParamInfo<TTarget>& Info) { return std::string(Info.param.Name); });

} // namespace
