// Connection settings, connect strings and the failures of Connect, also against the test servers.

#include "EUniError.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "TestServers.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString ConnectMessage(TUniConnection& Conn)
{
    try {
        Conn.Connect();
    } catch (const EUniError& e) {
        return e.Message();
    }
    return QString();
}

TEST(ConnectString, ReadingGivesTheSettingsAsNameValueItems)
{
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("MySQL"));
    conn.SetServer(QStringLiteral("host"));
    conn.SetDatabase(QStringLiteral("db"));
    conn.SetPort(3306);
    conn.SetUsername(QStringLiteral("u"));
    conn.SetPassword(QStringLiteral("p"));
    conn.SetLoginPrompt(false);
    EXPECT_EQ(conn.ConnectString(),
              QStringLiteral("Provider Name=MySQL;Data Source=host;Database=db;Port=3306;User ID=u;Password=p;Login Prompt=False"));
    conn.SetConnectString(conn.ConnectString() + QStringLiteral(";Use Unicode=True"));
    EXPECT_EQ(conn.ConnectString(), QStringLiteral("Provider Name=MySQL;Data Source=host;Database=db;Port=3306;User ID=u;"
                                                   "Password=p;Login Prompt=False;Use Unicode=True"));
}

TEST(ConnectString, WritingParsesUniversalAndAdoForms)
{
    struct Case {
        const char* Text;
        const char* Provider;
        const char* Server;
        const char* Database;
        int Port;
        const char* User;
        const char* Password;
        bool LoginPrompt;
    };
    const Case cases[] = {
        {"Provider Name=Access;User ID=Administrator;Password=wombel;Database=C:\\k\\a.mdb;Login Prompt=False", "Access", "",
         "C:\\k\\a.mdb", 0, "Administrator", "wombel", false},
        {"Provider Name=SQL Server;Data Source=srv;Initial Catalog=kladde;Port=0;User ID=sa;Password=x;Login Prompt=False",
         "SQL Server", "srv", "kladde", 0, "sa", "x", false},
        {"provider name=InterBase;data source=fb;database=/d/k.fdb;port=3050;user id=SYSDBA;password=\"a;b\"", "InterBase", "fb",
         "/d/k.fdb", 3050, "SYSDBA", "a;b", false},
        {"", "", "", "", 0, "", "", false},
    };
    for (const Case& c : cases) {
        TUniConnection conn;
        conn.SetLoginPrompt(false);
        conn.SetConnectString(QString::fromLatin1(c.Text));
        EXPECT_EQ(conn.ProviderName(), QLatin1String(c.Provider)) << c.Text;
        EXPECT_EQ(conn.Server(), QLatin1String(c.Server)) << c.Text;
        EXPECT_EQ(conn.Database(), QLatin1String(c.Database)) << c.Text;
        EXPECT_EQ(conn.Port(), c.Port) << c.Text;
        EXPECT_EQ(conn.Username(), QLatin1String(c.User)) << c.Text;
        EXPECT_EQ(conn.Password(), QLatin1String(c.Password)) << c.Text;
        EXPECT_EQ(conn.LoginPrompt(), c.LoginPrompt) << c.Text;
    }
}

TEST(SpecificOptions, PrefixedAndShortNamesAndReplacement)
{
    TUniConnection conn;
    conn.SpecificOptions().SetValue(QStringLiteral("SQLite.Direct"), QStringLiteral("True"));
    conn.SpecificOptions().SetValue(QStringLiteral("ConnectMode"), QStringLiteral("cmReadOnly"));
    conn.SpecificOptions().SetValue(QStringLiteral("sqlite.direct"), QStringLiteral("False"));
    EXPECT_EQ(conn.SpecificOptions().Count(), 2);
    EXPECT_EQ(conn.SpecificOptions().Values(QStringLiteral("SQLite.Direct")), QStringLiteral("False"));
    EXPECT_EQ(conn.SpecificOptions().ProviderValue(QStringLiteral("SQLite"), QStringLiteral("ConnectMode")),
              QStringLiteral("cmReadOnly"));
}

TEST(Connect, ProvidersThatAreNotAvailableFailWithAClearMessage)
{
    for (const char* provider : {"Oracle", "NexusDB", "PostgreSQL", "Paradox", ""}) {
        TUniConnection conn;
        conn.SetProviderName(QString::fromLatin1(provider));
        conn.SetLoginPrompt(false);
        const QString message = ConnectMessage(conn);
        EXPECT_FALSE(conn.Connected()) << provider;
        if (*provider)
            EXPECT_EQ(message, QStringLiteral("The database provider \"%1\" is not available").arg(QLatin1String(provider)));
        else
            EXPECT_EQ(message, QStringLiteral("No database provider is set for the connection"));
    }
}

TEST(Connect, EventsRunInOrderAndOnLoginOnlyWithLoginPrompt)
{
    QTemporaryDir dir;
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(dir.filePath(QStringLiteral("e.sqlite")));
    conn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
    QStringList calls;
    conn.BeforeConnect = [&](TUniConnection&) { calls << QStringLiteral("before"); };
    conn.OnLogin = [&](TUniConnection& c) {
        calls << QStringLiteral("login");
        c.SetLoginPrompt(false);
    };
    conn.AfterConnect = [&](TUniConnection&) { calls << QStringLiteral("after"); };
    conn.BeforeDisconnect = [&](TUniConnection&) { calls << QStringLiteral("disconnect"); };
    conn.Connect();
    conn.Disconnect();
    conn.Connect();
    EXPECT_EQ(calls.join(QLatin1Char(',')), QStringLiteral("before,login,after,disconnect,before,after"));
}

class SqliteFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Path = Dir.filePath(QStringLiteral("k.sqlite"));
        TUniConnection create;
        create.SetProviderName(QStringLiteral("SQLite"));
        create.SetDatabase(Path);
        create.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
        create.ExecSQL(QStringLiteral("create table K (ID integer primary key, Name varchar(20))"));
        create.ExecSQL(QStringLiteral("insert into K values (1, 'eins')"));
    }
    QTemporaryDir Dir;
    QString Path;
};

TEST_F(SqliteFile, MissingFileIsAnErrorUnlessCreationIsForced)
{
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(Dir.filePath(QStringLiteral("missing.sqlite")));
    EXPECT_EQ(ConnectMessage(conn), QStringLiteral("The database file \"%1\" does not exist").arg(conn.Database()));
    EXPECT_FALSE(QFile::exists(conn.Database()));
}

TEST_F(SqliteFile, ReadOnlyModeRefusesWrites)
{
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(Path);
    conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ConnectMode"), QStringLiteral("cmReadOnly"));
    TUniQuery q(&conn);
    q.SetSQL(QStringLiteral("select Name from K"));
    q.Open();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Name")).AsString(), QStringLiteral("eins"));
    try {
        conn.ExecSQL(QStringLiteral("insert into K values (2, 'zwei')"));
        FAIL() << "a read-only connection must refuse the insert";
    } catch (const EUniError& e) {
        EXPECT_TRUE(e.Message().contains(QLatin1String("readonly"))) << e.Message().toStdString();
    }
}

TEST_F(SqliteFile, AnEncryptionKeyIsRefusedSoThatCallersCanFallBackToPlain)
{
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(Path);
    conn.SpecificOptions().SetValue(QStringLiteral("SQLite.EncryptionAlgorithm"), QStringLiteral("leBlowfish"));
    conn.SpecificOptions().SetValue(QStringLiteral("SQLite.EncryptionKey"), QStringLiteral("Tqb4Gvvnrpp&"));
    EXPECT_EQ(ConnectMessage(conn), QStringLiteral("Encrypted SQLite databases are not supported: %1").arg(Path));
    conn.SpecificOptions().SetValue(QStringLiteral("SQLite.EncryptionKey"), QString());
    EXPECT_EQ(ConnectMessage(conn), QString());
    EXPECT_TRUE(conn.Connected());
}

TEST_F(SqliteFile, AFileThatIsNoDatabaseFailsAtConnect)
{
    QFile file(Dir.filePath(QStringLiteral("text.sqlite")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(file.fileName());
    EXPECT_FALSE(ConnectMessage(conn).isEmpty());
    EXPECT_FALSE(conn.Connected());
}


TEST(ServerConnect, MariaDBRefusesAWrongPasswordAndAMissingDatabase)
{
    TTestServer server;
    KLADDE_REQUIRE_SERVER(TestMariaDB(server, why));
    TUniConnection conn;
    UseServer(conn, QStringLiteral("MySQL"), server);
    EXPECT_EQ(ConnectMessage(conn), QString());
    conn.Disconnect();

    conn.SetPassword(QStringLiteral("falsch"));
    EXPECT_TRUE(ConnectMessage(conn).contains(QLatin1String("Access denied"))) << ConnectMessage(conn).toStdString();
    EXPECT_FALSE(conn.Connected());

    conn.SetPassword(server.Password);
    conn.SetDatabase(QStringLiteral("gibt_es_nicht"));
    EXPECT_TRUE(ConnectMessage(conn).contains(QLatin1String("gibt_es_nicht"))) << ConnectMessage(conn).toStdString();
}

TEST(ServerConnect, FirebirdRefusesAWrongPasswordAndAMissingDatabase)
{
    TTestServer server;
    KLADDE_REQUIRE_SERVER(TestFirebird(server, why));
    TUniConnection conn;
    UseServer(conn, QStringLiteral("InterBase"), server);
    EXPECT_EQ(ConnectMessage(conn), QString());
    conn.Disconnect();

    conn.SetPassword(QStringLiteral("falsch"));
    const QString wrong = ConnectMessage(conn);
    EXPECT_TRUE(wrong.contains(QLatin1String("password"), Qt::CaseInsensitive)) << wrong.toStdString();
    EXPECT_FALSE(conn.Connected());

    conn.SetPassword(server.Password);
    conn.SetDatabase(server.Database + QStringLiteral(".fehlt.fdb"));
    EXPECT_FALSE(ConnectMessage(conn).isEmpty());
    EXPECT_FALSE(conn.Connected());
}

} // namespace
