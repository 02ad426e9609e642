#include "uDBUpdater.h"

#include "DataTestDatabases.h"
#include "EUniError.h"
#include "Platform.h"
#include "ScratchDir.h"
#include "TUniQuery.h"
#include "TNoticeRecorder.h"
#include "TestServers.h"
#include "dmodProviders.h"
#include "utils.h"

#include <QFile>
#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

namespace {

std::string S(const QString& Text)
{
    return Text.toStdString();
}

std::string S(const QStringList& List)
{
    return List.join(QStringLiteral(", ")).toStdString();
}


QString Literal(const QString& Value)
{
    QString text = Value;
    return u'\'' + text.replace(u'\'', QStringLiteral("''")) + u'\'';
}

// A statement of the updater file's scripts: logs Step in the destination's table UpdLog.
QString LogStep(const QString& Step)
{
    return QStringLiteral("INSERT INTO UpdLog (Step) VALUES ('%1')").arg(Step);
}

struct TScriptRow
{
    int ID;
    const char* DBType;
    int V1, V2, V3, V4;
    QString SQLText;
    QVariant Ignore; // null for NULL
};

// The scripts of the test's updater file, deliberately not in version order.
const QList<TScriptRow>& Scripts()
{
    static const QList<TScriptRow> rows = {
        {10, "All", 2, 0, 0, 0, LogStep("tie-a"), QVariant()},
        {2, "All", 1, 0, 0, 0, LogStep("all-1.0"), QVariant()},
        {3, "SQLite", 1, 1, 0, 0, LogStep("sqlite-1.1"), 0},
        {4, "MySQL", 1, 1, 0, 0, LogStep("mysql-1.1"), 0},
        {5, "MSSQL", 1, 1, 0, 5, LogStep("mssql"), QVariant()},
        {1, "All", 0, 0, 0, 0, LogStep("zero"), QVariant()},
        {6, "All", 1, 2, 0, 0, LogStep("ignored-1"), 1},
        {7, "All", 1, 3, 0, 0, LogStep("ignore-negative"), -1},
        {8, "All", 1, 4, 0, 0, LogStep("ignored-5"), 5},
        {9, "All", 1, 10, 0, 0, LogStep("v1.10"), QVariant()},
        {12, "All", 1, 9, 0, 0, LogStep("v1.9"), 0},
        {11, "All", 2, 0, 0, 0, LogStep("tie-b"), 0},
        {13, "All", 2, 1, 0, 0, QStringLiteral("INSERT INTO NoSuchTable (X) VALUES (1)"), QVariant()},
        {14, "All", 2, 1, 0, 3, LogStep("after-fail"), QVariant()},
        // Selected only through a direct call: the updater file compares "DBType" exactly.
        {16, "sqlite", 1, 5, 0, 0, LogStep("lower-case"), QVariant()},
        // Two rows of one "ID": never run.
        {50, "All", 3, 0, 0, 0, LogStep("dup-a"), 1},
        {50, "All", 3, 0, 0, 0, LogStep("dup-b"), 1},
    };
    return rows;
}

// The steps ExecuteUpdate logs for a destination at version 0.0.0.0 that records the versions
// written, with Provider's own script; "tie" stands for whichever of the two scripts of version
// 2.0.0.0 comes first.
QStringList AllDueSteps(const QString& ProviderScript)
{
    return {QStringLiteral("all-1.0"), ProviderScript,         QStringLiteral("ignore-negative"),
            QStringLiteral("v1.9"),    QStringLiteral("v1.10"), QStringLiteral("tie"),
            QStringLiteral("after-fail")};
}

enum TFileContent { fcComplete, fcWithoutScripts, fcScriptsWithoutIgnore };

void WriteUpdaterTables(TUniConnection& conn, TFileContent Content);

// Writes an unencrypted updater file: "SQLData" with Scripts(), "App_Config_" with a few
// settings, "AppData".
void WriteUpdaterFile(const QString& Path, TFileContent Content = fcComplete)
{
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(Path);
    conn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
    conn.SetLoginPrompt(false);
    // One transaction, so that the file is written once.
    conn.StartTransaction();
    WriteUpdaterTables(conn, Content);
    conn.Commit();
}

void WriteUpdaterTables(TUniConnection& conn, TFileContent Content)
{
    conn.ExecSQL(QStringLiteral("CREATE TABLE App_Config_ (Key_ varchar(50), Value_I integer, Value_S varchar(50))"));
    const char* settings[][2] = {{"Version1", "3"}, {"Version2", "5"}, {"Version3", "-9999"},
                                 {"It's", "42"},    {"Text", "NULL"}};
    for (const auto& setting : settings)
        conn.ExecSQL(QStringLiteral("INSERT INTO App_Config_ (Key_, Value_I, Value_S) VALUES (%1, %2, 'abc')")
                         .arg(Literal(QString::fromLatin1(setting[0])), QString::fromLatin1(setting[1])));
    conn.ExecSQL(QStringLiteral("CREATE TABLE AppData (X integer)"));
    if (Content == fcWithoutScripts)
        return;
    if (Content == fcScriptsWithoutIgnore) {
        conn.ExecSQL(QStringLiteral("CREATE TABLE SQLData (ID integer, DBType varchar(20), Version1 integer, "
                                    "Version2 integer, Version3 integer, Version4 integer, SQLText text)"));
        conn.ExecSQL(
            QStringLiteral("INSERT INTO SQLData VALUES (1, 'All', 1, 0, 0, 0, %1)").arg(Literal(LogStep("x"))));
        return;
    }
    conn.ExecSQL(QStringLiteral("CREATE TABLE SQLData (ID integer, DBType varchar(20), Version1 integer, "
                                "Version2 integer, Version3 integer, Version4 integer, SQLText text, "
                                "Ignore integer, Comment text)"));
    for (const TScriptRow& row : Scripts())
        conn.ExecSQL(QStringLiteral("INSERT INTO SQLData VALUES (%1, '%2', %3, %4, %5, %6, %7, %8, 'note')")
                         .arg(row.ID)
                         .arg(QString::fromLatin1(row.DBType))
                         .arg(row.V1)
                         .arg(row.V2)
                         .arg(row.V3)
                         .arg(row.V4)
                         .arg(Literal(row.SQLText))
                         .arg(row.Ignore.isNull() ? QStringLiteral("NULL") : row.Ignore.toString()));
}

QString UpdaterFile(TFileContent Content = fcComplete)
{
    const QString path = ScratchDir() + QStringLiteral("/DBUpdater-%1.db3").arg(int(Content));
    if (!QFile::exists(path))
        WriteUpdaterFile(path, Content);
    return path;
}

// --- The updater database ---------------------------------------------------------------------

TEST(DBUpdaterFileTest, OpensAnExistingFileWithoutMessages)
{
    const QString path = UpdaterFile();
    TNoticeRecorder notices;
    TDBUpdater updater(path);
    EXPECT_TRUE(notices.Texts.isEmpty()) << S(notices.Texts);
    EXPECT_EQ(updater.DatabaseFilename(), path);
    ASSERT_TRUE(updater.ConSQLite()->Connected());
    EXPECT_EQ(updater.GetField(QStringLiteral("select count(*) as N from SQLData"), QStringLiteral("N")),
              QString::number(Scripts().size()));
}

TEST(DBUpdaterFileTest, AFileThatCannotBeOpenedReadOnlyMakesTheConstructorRaise)
{
    const QString missing = ScratchDir() + QStringLiteral("/Keytabs/DBUpdater.db3");
    const QString garbage = ScratchDir() + QStringLiteral("/garbage.db3");
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();

    for (const QString& path : {missing, garbage}) {
        TNoticeRecorder notices;
        EXPECT_THROW(TDBUpdater updater(path), EUniError) << S(path);
        EXPECT_TRUE(notices.Texts.isEmpty()) << S(notices.Texts);
    }
    EXPECT_FALSE(QFile::exists(missing)) << "a read-only connection must not create the file";
}

TEST(DBUpdaterFileTest, AFailedProbeIsOnlyRecorded)
{
    // A valid database without "App_Config_".
    const QString path = ScratchDir() + QStringLiteral("/empty.db3");
    {
        TUniConnection conn;
        conn.SetProviderName(QStringLiteral("SQLite"));
        conn.SetDatabase(path);
        conn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
        conn.ExecSQL(QStringLiteral("CREATE TABLE Other (X integer)"));
    }
    const int before = TDBUpdater::ErrorCount();
    TNoticeRecorder notices;
    TDBUpdater updater(path);
    EXPECT_TRUE(notices.Texts.isEmpty()) << S(notices.Texts);
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 1);
    EXPECT_TRUE(TDBUpdater::LastError().startsWith(QStringLiteral("EUniError "))) << S(TDBUpdater::LastError());
    EXPECT_TRUE(TDBUpdater::LastError().contains(QStringLiteral("App_Config_"))) << S(TDBUpdater::LastError());
}

TEST(DBUpdaterFileTest, DefaultFileNameIsTheProgramFoldersKeytabs)
{
    TDBUpdater updater(UpdaterFile());
    updater.SetDatabaseFilename(QString());
    const QString expected =
        AppDir() + PathDelim + QStringLiteral("Keytabs") + PathDelim + QStringLiteral("DBUpdater.db3");
    EXPECT_EQ(updater.DatabaseFilename(), expected);
    updater.SetDatabaseFilename(QStringLiteral("relative/other.db3"));
    EXPECT_EQ(updater.DatabaseFilename(), QStringLiteral("relative/other.db3"));
}

TEST(DBUpdaterFileTest, ConnectOperationsReportWhetherTheConnectionOpened)
{
    TDBUpdater updater(UpdaterFile());
    EXPECT_EQ(updater.GetLastInsertID(), 0);

    // No SQLite encryption in the layer: the connection fails and so do the queries after it.
    const int before = TDBUpdater::ErrorCount();
    EXPECT_FALSE(updater.TryConnectToEncryptedDB());
    EXPECT_EQ(TDBUpdater::ErrorCount(), before);
    EXPECT_EQ(updater.GetLastInsertID(), -1);
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 1);
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("Version1"), 77, false), 77);

    EXPECT_TRUE(updater.TryConnectToUnencryptedDB());
    EXPECT_EQ(updater.Version1(), 3);

    updater.SetDatabaseFilename(ScratchDir() + QStringLiteral("/missing.db3"));
    EXPECT_FALSE(updater.TryConnectToUnencryptedDB());
    EXPECT_FALSE(QFile::exists(updater.DatabaseFilename()));
}

TEST(DBUpdaterFileTest, EncryptionKeyIsFortyThreeCharacterCodes)
{
    const QString key = TDBUpdater::EncryptionKey();
    ASSERT_TRUE(key.endsWith(u';'));
    const QStringList codes = key.chopped(1).split(u';');
    ASSERT_EQ(codes.size(), 43) << S(key);
    QString phrase;
    for (const QString& code : codes) {
        bool ok = false;
        const int value = code.toInt(&ok);
        ASSERT_TRUE(ok && value >= 32 && value <= 126 && QString::number(value) == code) << S(code);
        phrase.prepend(QChar(value));
    }
    EXPECT_EQ(key, TDBUpdater::EncryptionKey());
    EXPECT_NE(phrase.front(), phrase.back()) << "reversal unobservable: " << S(phrase);
}

TEST(DBUpdaterFileTest, SafeSQLFormsRecordAndCountFailures)
{
    TDBUpdater updater(UpdaterFile());
    const int before = TDBUpdater::ErrorCount();

    std::unique_ptr<TUniQuery> query = updater.GetQuery(QStringLiteral("select * from NoSuchTable"));
    ASSERT_TRUE(query);
    EXPECT_FALSE(query->Active());
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 1);
    const QString first = TDBUpdater::LastError();
    EXPECT_TRUE(first.startsWith(QStringLiteral("EUniError "))) << S(first);
    EXPECT_TRUE(first.contains(QStringLiteral("NoSuchTable"))) << S(first);

    EXPECT_TRUE(updater.SafeSQL(*query, QStringLiteral("select Key_ from App_Config_ order by Key_")));
    EXPECT_TRUE(query->Active());
    EXPECT_EQ(query->FieldByName(QStringLiteral("Key_")).AsString(), QStringLiteral("It's"));
    EXPECT_TRUE(updater.SafeSQL(*query, true));
    EXPECT_EQ(TDBUpdater::LastError(), first);

    // The connection is read-only: every write fails.
    EXPECT_FALSE(updater.SafeSQL(QStringLiteral("delete from App_Config_")));
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 2);
    EXPECT_NE(TDBUpdater::LastError(), first);
    EXPECT_TRUE(TDBUpdater::LastError().startsWith(QStringLiteral("EUniError "))) << S(TDBUpdater::LastError());
    EXPECT_EQ(updater.GetField(QStringLiteral("select count(*) as N from App_Config_"), QStringLiteral("N")),
              QStringLiteral("5"));

    query->SetSQL(QStringLiteral("update App_Config_ set Value_I=0"));
    EXPECT_FALSE(updater.SafeSQL(*query, false));
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 3);
}

TEST(DBUpdaterFileTest, GetFieldRaisesForAFailedOpenOrAMissingField)
{
    TDBUpdater updater(UpdaterFile());
    const QString sql = QStringLiteral("select Value_I, Value_S from App_Config_ where Key_='Version2'");
    EXPECT_EQ(updater.GetField(sql, QStringLiteral("Value_I")), QStringLiteral("5"));
    EXPECT_EQ(updater.GetFieldInt(sql, QStringLiteral("Value_I"), -1), 5);
    EXPECT_EQ(updater.GetFieldInt(sql, QStringLiteral("Value_S"), -1), -1);
    EXPECT_EQ(updater.GetFieldInt(QStringLiteral("select ' 7' as T"), QStringLiteral("T"), -1), -1);
    EXPECT_EQ(updater.GetFieldInt(QStringLiteral("select '-7' as T"), QStringLiteral("T"), -1), -7);
    EXPECT_THROW(updater.GetField(sql, QStringLiteral("Nope")), EUniError);
    EXPECT_THROW(updater.GetFieldInt(sql, QStringLiteral("Nope"), 0), EUniError);

    const int before = TDBUpdater::ErrorCount();
    EXPECT_THROW(updater.GetField(QStringLiteral("select X from NoSuchTable"), QStringLiteral("X")), EUniError);
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 1);
}

TEST(DBUpdaterFileTest, IntegerSettingsReadAndRefuseToWrite)
{
    TDBUpdater updater(UpdaterFile());
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("It's"), 0, false), 42);
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("Text"), 9, false), 0) << "NULL reads as 0";

    int before = TDBUpdater::ErrorCount();
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("X"), 5, false), 5);
    EXPECT_EQ(TDBUpdater::ErrorCount(), before) << "nothing is written without ASaveDefaultValue";
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("X"), 5, true), 5);
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 1);
    EXPECT_TRUE(TDBUpdater::LastError().contains(QStringLiteral("readonly"), Qt::CaseInsensitive))
        << S(TDBUpdater::LastError());
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("X"), 6, false), 6);

    EXPECT_EQ(updater.Version1(), 3);
    EXPECT_EQ(updater.Version2(), 5);
    EXPECT_EQ(updater.Version3(), -9999);
    EXPECT_EQ(updater.Version4(), 0);

    before = TDBUpdater::ErrorCount();
    updater.SetIntProperty(QStringLiteral("Version1"), 8, false);
    updater.SetIntProperty(QStringLiteral("New"), 8, true);
    updater.SetVersion2(11); // an update
    updater.SetVersion3(11); // -9999 counts as absent: an insert
    updater.SetVersion4(11); // an insert
    EXPECT_EQ(TDBUpdater::ErrorCount(), before + 5);
    EXPECT_EQ(updater.Version1(), 3);
    EXPECT_EQ(updater.Version2(), 5);
    EXPECT_EQ(updater.Version4(), 0);
    EXPECT_EQ(updater.GetIntProperty(QStringLiteral("New"), -1, false), -1);
}

TEST(DBUpdaterFileTest, LiteralHelpers)
{
    const struct
    {
        int ID;
        const char* Text;
    } ids[] = {{0, "null"}, {-1, "null"}, {-2147483647 - 1, "null"}, {1, "1"}, {7, "7"}, {2147483647, "2147483647"}};
    for (const auto& c : ids)
        EXPECT_EQ(TDBUpdater::strIDorNull(c.ID), QString::fromLatin1(c.Text)) << c.ID;

    EXPECT_EQ(TDBUpdater::strQuote(QStringLiteral("O'Neil")), QStringLiteral("'O'Neil'"));
    EXPECT_EQ(TDBUpdater::strQuote(QString()), QStringLiteral("''"));
    EXPECT_EQ(TDBUpdater::dateQuote(QDateTime(QDate(2021, 2, 19), QTime(13, 5, 9)),
                                    QStringLiteral("yyyy-MM-dd hh:mm:ss")),
              QStringLiteral("'2021-02-19 13:05:09'"));
    EXPECT_EQ(TDBUpdater::dateQuote(QDateTime(QDate(2021, 2, 19), QTime(0, 0)), QStringLiteral("dd.MM.yyyy")),
              QStringLiteral("'19.02.2021'"));
}

TEST(DBUpdaterFileTest, ProviderNamesOfTheScripts)
{
    const struct
    {
        TDBProviderType Type;
        const char* Name;
    } names[] = {{dbpAccess, "Access"},   {dbpSQLite, "SQLite"},   {dbpMSSQL, "MSSQL"},
                 {dbpFirebird, "Firebird"}, {dbpOracle, "Oracle"}, {dbpMySQL, "MySQL"},
                 {dbpNexusDB, "NexusDB"}, {dbpPostgreSQL, "PostgreSQL"}, {dbpUndefined, "Undefined"}};
    for (const auto& c : names)
        EXPECT_EQ(TDBUpdater::ProviderName(c.Type), QString::fromLatin1(c.Name)) << c.Name;
}

// --- The update run -----------------------------------------------------------------------------

// How the destination keeps its version.
enum TVersionTable { vtValue, vtNull, vtEmpty, vtNoColumn, vtNoTable, vtReadOnlyView };

class DBUpdateRunTest : public ::testing::TestWithParam<TDataTestDB>
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(GetParam(), FDst);
        const QString key = GetParam() == tdbSQLite ? QStringLiteral("integer primary key autoincrement")
                                                    : QStringLiteral("integer auto_increment primary key");
        FDst.ExecSQL(QStringLiteral("CREATE TABLE UpdLog (N %1, Step varchar(30))").arg(key));
        FDM.KladdeConnector()->SetDBProviderType(GetParam() == tdbSQLite ? dbpSQLite : dbpMySQL);
        FDM.KladdeConnector()->SetConnection(&FDst);
    }

    QString ProviderScript() const
    {
        return GetParam() == tdbSQLite ? QStringLiteral("sqlite-1.1") : QStringLiteral("mysql-1.1");
    }

    int OtherProviderScriptID() const { return GetParam() == tdbSQLite ? 4 : 3; }

    void CreateVersionTable(TVersionTable Kind, const QString& Value = QString())
    {
        switch (Kind) {
        case vtValue:
        case vtNull:
        case vtEmpty:
            FDst.ExecSQL(QStringLiteral("CREATE TABLE Kladde_Verwaltung (ID integer, Version3 varchar(20))"));
            FDst.ExecSQL(QStringLiteral("INSERT INTO Kladde_Verwaltung (ID, Version3) VALUES (1, %1)")
                             .arg(Kind == vtNull ? QStringLiteral("NULL") : Literal(Value)));
            break;
        case vtNoColumn:
            FDst.ExecSQL(QStringLiteral("CREATE TABLE Kladde_Verwaltung (ID integer, Version2 varchar(20))"));
            FDst.ExecSQL(QStringLiteral("INSERT INTO Kladde_Verwaltung (ID, Version2) VALUES (1, '1.0.0.0')"));
            break;
        case vtNoTable:
            break;
        case vtReadOnlyView:
            FDst.ExecSQL(
                QStringLiteral("CREATE VIEW Kladde_Verwaltung AS SELECT DISTINCT %1 AS Version3").arg(Literal(Value)));
            break;
        }
    }

    // The steps logged in the destination, in order; "tie-a" and "tie-b" shown as "tie".
    QStringList LoggedSteps(int* Ties = nullptr)
    {
        TUniQuery query(&FDst);
        query.SetSQL(QStringLiteral("SELECT Step FROM UpdLog ORDER BY N"));
        query.Open();
        QStringList steps;
        int ties = 0;
        for (; !query.Eof(); query.Next()) {
            QString step = query.FieldByName(QStringLiteral("Step")).AsString();
            if (step.startsWith(QStringLiteral("tie-"))) {
                ++ties;
                step = QStringLiteral("tie");
            }
            steps << step;
        }
        if (Ties)
            *Ties = ties;
        return steps;
    }

    QStringList StoredVersions()
    {
        TUniQuery query(&FDst);
        query.SetSQL(QStringLiteral("SELECT Version3 FROM Kladde_Verwaltung ORDER BY ID"));
        query.Open();
        QStringList versions;
        for (; !query.Eof(); query.Next())
            versions << query.FieldByName(QStringLiteral("Version3")).AsString();
        return versions;
    }

    TUniConnection FDst;
    TdmProvider FDM;
};

TEST_P(DBUpdateRunTest, RunsTheDueScriptsInVersionOrderAndStoresEachVersion)
{
    CreateVersionTable(vtNull);
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("0.0.0.0"));

    const int before = TDBUpdater::ErrorCount();
    EXPECT_TRUE(updater.ExecuteUpdate(true)) << "the last script succeeded";
    int ties = 0;
    EXPECT_EQ(LoggedSteps(&ties), AllDueSteps(ProviderScript())) << S(LoggedSteps());
    EXPECT_EQ(ties, 1) << "the second script of 2.0.0.0 is not newer once the first has run";
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("2.1.0.3")});
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("2.1.0.3"));

    // The failed script is recorded without counting; its version was written all the same.
    const QString error = TDBUpdater::LastError();
    EXPECT_TRUE(error.startsWith(QStringLiteral("EUniError "))) << S(error);
    EXPECT_TRUE(error.contains(QStringLiteral("NoSuchTable"), Qt::CaseInsensitive)) << S(error);
    EXPECT_EQ(TDBUpdater::ErrorCount(), before);

    // Up to date: a second run has nothing to do.
    EXPECT_FALSE(updater.ExecuteUpdate(true));
    EXPECT_EQ(LoggedSteps().size(), AllDueSteps(ProviderScript()).size());
}

TEST_P(DBUpdateRunTest, EachScriptIsCommittedAlsoWhenTheConnectionDoesNotCommitByItself)
{
    CreateVersionTable(vtNull);
    FDst.SetAutoCommit(false);
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    updater.ExecuteUpdate(true);
    EXPECT_FALSE(FDst.AutoCommit()) << "the connection's own setting comes back";
    EXPECT_FALSE(FDst.InTransaction());
    FDst.Disconnect(); // an open transaction would be rolled back here
    EXPECT_EQ(LoggedSteps(), AllDueSteps(ProviderScript())) << S(LoggedSteps());
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("2.1.0.3")});
}

TEST_P(DBUpdateRunTest, AnEmptyVersionReadLaterStartsFromZeroAgain)
{
    CreateVersionTable(vtValue, QStringLiteral("3.0.0.0"));
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("3.0.0.0"));
    FDst.ExecSQL(QStringLiteral("UPDATE Kladde_Verwaltung SET Version3=NULL"));
    updater.ReadKladdeDBVersion();
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("0.0.0.0"));
}

TEST_P(DBUpdateRunTest, StopsAtTheFirstFailureUnlessErrorsAreIgnored)
{
    CreateVersionTable(vtEmpty);
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_FALSE(updater.ExecuteUpdate(false));
    QStringList expected = AllDueSteps(ProviderScript());
    expected.removeLast();
    EXPECT_EQ(LoggedSteps(), expected) << S(LoggedSteps());
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("2.1.0.0")});

    // The next run goes on after the failed script's version.
    EXPECT_TRUE(updater.ExecuteUpdate(false));
    EXPECT_EQ(LoggedSteps().last(), QStringLiteral("after-fail"));
}

TEST_P(DBUpdateRunTest, StartsFromTheStoredVersion)
{
    const struct
    {
        const char* Stored;
        const char* Read;
        int FirstStep; // index into AllDueSteps
    } cases[] = {
        {"1.9.0.0", "1.9.0.0", 4},
        {"1.2.3", "1.2.0.0", 2}, // only V1 and V2 parse
        {"1.10.0.0", "1.10.0.0", 5},
        {"abc", "0.0.0.0", 0},
    };
    for (const auto& c : cases) {
        FDst.ExecSQL(QStringLiteral("DELETE FROM UpdLog"));
        FDst.ExecSQL(QStringLiteral("DROP TABLE IF EXISTS Kladde_Verwaltung"));
        CreateVersionTable(vtValue, QString::fromLatin1(c.Stored));
        TDBUpdater updater(UpdaterFile());
        updater.SetDMProvider(&FDM);
        EXPECT_EQ(updater.DBVersion().ToString(), QString::fromLatin1(c.Read)) << c.Stored;
        updater.ExecuteUpdate(true);
        EXPECT_EQ(LoggedSteps(), AllDueSteps(ProviderScript()).mid(c.FirstStep))
            << c.Stored << ": " << S(LoggedSteps());
    }
}

TEST_P(DBUpdateRunTest, NothingDueGivesFalse)
{
    CreateVersionTable(vtValue, QStringLiteral("2.1.0.3"));
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_FALSE(updater.ExecuteUpdate(true));
    EXPECT_TRUE(LoggedSteps().isEmpty()) << S(LoggedSteps());
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("2.1.0.3")});
}

TEST_P(DBUpdateRunTest, WithoutAStoredVersionEveryDueScriptRuns)
{
    for (TVersionTable kind : {vtNoTable, vtNoColumn}) {
        FDst.ExecSQL(QStringLiteral("DELETE FROM UpdLog"));
        FDst.ExecSQL(QStringLiteral("DROP TABLE IF EXISTS Kladde_Verwaltung"));
        CreateVersionTable(kind);
        FDM.ClearSQLErrors();
        TDBUpdater updater(UpdaterFile());
        updater.SetDMProvider(&FDM);
        EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("0.0.0.0"));
        EXPECT_EQ(FDM.LastSQLError().contains(QStringLiteral("Error in SafeSQL_Open ")), kind == vtNoTable)
            << S(FDM.LastSQLError());

        EXPECT_TRUE(updater.ExecuteUpdate(true));
        // No version is ever written, so both scripts of 2.0.0.0 run.
        QStringList expected = AllDueSteps(ProviderScript());
        expected.insert(expected.indexOf(QStringLiteral("tie")), QStringLiteral("tie"));
        EXPECT_EQ(LoggedSteps(), expected) << S(LoggedSteps());
        EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("0.0.0.0"));
        EXPECT_FALSE(updater.UpdateDBVersion(QStringLiteral("3.0.0.0")));
    }
}

TEST_P(DBUpdateRunTest, AVersionThatCannotBeWrittenIsRecorded)
{
    CreateVersionTable(vtReadOnlyView, QStringLiteral("2.0.0.0"));
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("2.0.0.0"));
    const int before = TDBUpdater::ErrorCount();
    EXPECT_FALSE(updater.UpdateDBVersion(QStringLiteral("2.6.13.0")));
    EXPECT_EQ(TDBUpdater::LastError(), QStringLiteral("Cannot update Kladde_Verwaltung.Version3 to version 2.6.13.0"));
    EXPECT_EQ(TDBUpdater::ErrorCount(), before);
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("2.0.0.0"));

    EXPECT_TRUE(updater.ExecuteUpdate(true));
    EXPECT_EQ(LoggedSteps(), QStringList{QStringLiteral("after-fail")}) << S(LoggedSteps());
    EXPECT_EQ(TDBUpdater::LastError(), QStringLiteral("Cannot update Kladde_Verwaltung.Version3 to version 2.1.0.3"));
}

TEST_P(DBUpdateRunTest, UpdateDBVersionWritesEveryRow)
{
    CreateVersionTable(vtValue, QStringLiteral("1.0.0.0"));
    FDst.ExecSQL(QStringLiteral("INSERT INTO Kladde_Verwaltung (ID, Version3) VALUES (2, NULL)"));
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_TRUE(updater.UpdateDBVersion(QStringLiteral("2.6.13.0")));
    EXPECT_EQ(StoredVersions(), (QStringList{QStringLiteral("2.6.13.0"), QStringLiteral("2.6.13.0")}));
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("2.6.13.0"));
}

TEST_P(DBUpdateRunTest, ExecuteUpdateScriptChecksTheRowAndTheDatabaseSystem)
{
    CreateVersionTable(vtValue, QStringLiteral("1.0.0.0"));
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);

    // A script of a version not above the database's still runs when called directly.
    EXPECT_TRUE(updater.ExecuteUpdateScript(1, false));
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("1.0.0.0")});
    EXPECT_TRUE(updater.ExecuteUpdateScript(6, true)) << "Ignore matters only to ExecuteUpdate";
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("1.2.0.0")});

    EXPECT_TRUE(updater.ExecuteUpdateScript(QStringLiteral("SELECT 1")));
    const QString recorded = TDBUpdater::LastError();
    EXPECT_FALSE(updater.ExecuteUpdateScript(999, true)) << "no such row";
    EXPECT_FALSE(updater.ExecuteUpdateScript(50, true)) << "two rows";
    EXPECT_EQ(TDBUpdater::LastError(), recorded) << "nothing recorded for a missing or doubled row";

    EXPECT_FALSE(updater.ExecuteUpdateScript(OtherProviderScriptID(), true));
    EXPECT_EQ(TDBUpdater::LastError(), QStringLiteral("Wrong Database type"));
    EXPECT_EQ(StoredVersions(), QStringList{QStringLiteral("1.2.0.0")});

    // "DBType" is compared ignoring case here.
    EXPECT_EQ(updater.ExecuteUpdateScript(16, false), GetParam() == tdbSQLite);

    EXPECT_FALSE(updater.ExecuteUpdateScript(QStringLiteral("INSERT INTO NoSuchTable (X) VALUES (2)")));
    EXPECT_TRUE(TDBUpdater::LastError().startsWith(QStringLiteral("EUniError "))) << S(TDBUpdater::LastError());

    QStringList expected = {QStringLiteral("zero"), QStringLiteral("ignored-1")};
    if (GetParam() == tdbSQLite)
        expected << QStringLiteral("lower-case");
    EXPECT_EQ(LoggedSteps(), expected) << S(LoggedSteps());
}

TEST_P(DBUpdateRunTest, SettingTheDataModuleReadsTheVersionOnce)
{
    CreateVersionTable(vtValue, QStringLiteral("1.0.0.0"));
    TDBUpdater updater(UpdaterFile());
    updater.SetDMProvider(&FDM);
    EXPECT_EQ(updater.DMProvider(), &FDM);
    FDst.ExecSQL(QStringLiteral("UPDATE Kladde_Verwaltung SET Version3='5.0.0.0'"));
    updater.SetDMProvider(&FDM);
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("1.0.0.0"));
    updater.ReadKladdeDBVersion();
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("5.0.0.0"));
    updater.SetDMProvider(nullptr);
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("0.0.0.0"));
    EXPECT_FALSE(updater.ExecuteUpdate(true));
}

INSTANTIATE_TEST_SUITE_P(Destinations, DBUpdateRunTest, ::testing::Values(tdbSQLite, tdbMariaDB),
                         [](const ::testing::TestParamInfo<TDataTestDB>& Info) { return DataTestDBName(Info.param); });

// --- Updater files that lack scripts, and a data module of the updater's own ---------------------

TEST(DBUpdaterOwnModuleTest, ConnectsItsOwnDataModuleThroughAConfigurationFile)
{
    const QString db = ScratchDir() + QStringLiteral("/kladde.sqlite");
    {
        TUniConnection conn;
        conn.SetProviderName(QStringLiteral("SQLite"));
        conn.SetDatabase(db);
        conn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
        conn.ExecSQL(QStringLiteral("CREATE TABLE UpdLog (N integer primary key autoincrement, Step varchar(30))"));
        conn.ExecSQL(QStringLiteral("CREATE TABLE Kladde_Verwaltung (ID integer, Version3 varchar(20))"));
        conn.ExecSQL(QStringLiteral("INSERT INTO Kladde_Verwaltung VALUES (1, '2.0.0.0')"));
    }
    const QString cfg = ScratchDir() + QStringLiteral("/kladde.kdbcfg");
    QFile file(cfg);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("[Kladdeconnection]\r\nProviderName=SQLITE\r\nDatabase=%1\r\n").arg(db).toLocal8Bit());
    file.close();

    TDBUpdater updater(UpdaterFile());
    updater.CreateDBProvider();
    ASSERT_NE(updater.DMProvider(), nullptr);
    TKladdeConnector* connector = updater.DMProvider()->KladdeConnector();
    EXPECT_EQ(connector->ConnectionFile(), QString());
    EXPECT_FALSE(connector->Connection()->Connected());
    connector->SetConnectionFile(cfg);
    EXPECT_TRUE(updater.ConnectToKladdeDB()) << S(connector->ErrorMessage());
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("2.0.0.0"));
    EXPECT_TRUE(updater.ExecuteUpdate(true));
    EXPECT_EQ(updater.DBVersion().ToString(), QStringLiteral("2.1.0.3"));
}

TEST(DBUpdaterOwnModuleTest, UpdaterFilesWithoutUsableScripts)
{
    TUniConnection dst;
    KLADDE_REQUIRE_DATABASE(tdbSQLite, dst);
    dst.ExecSQL(QStringLiteral("CREATE TABLE UpdLog (N integer primary key autoincrement, Step varchar(30))"));
    TdmProvider dm;
    dm.KladdeConnector()->SetDBProviderType(dbpSQLite);
    dm.KladdeConnector()->SetConnection(&dst);

    {
        TDBUpdater updater(UpdaterFile(fcWithoutScripts));
        updater.SetDMProvider(&dm);
        const int before = TDBUpdater::ErrorCount();
        EXPECT_FALSE(updater.ExecuteUpdate(true));
        EXPECT_EQ(TDBUpdater::ErrorCount(), before + 1);
        EXPECT_TRUE(TDBUpdater::LastError().contains(QStringLiteral("SQLData"))) << S(TDBUpdater::LastError());
    }
    {
        // A "SQLData" without "Ignore" is a broken file, which the caller gets to know.
        TDBUpdater updater(UpdaterFile(fcScriptsWithoutIgnore));
        updater.SetDMProvider(&dm);
        EXPECT_THROW(updater.ExecuteUpdate(true), EUniError);
    }
}

} // namespace
