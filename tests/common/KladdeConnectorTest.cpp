#include "EUniError.h"
#include "Platform.h"
#include "TIniFile.h"
#include "TestServers.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "uCrypt.h"
#include "uKladdeConnector.h"
#include "uKladdePassword.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using TKeys = QList<QPair<QString, QString>>;

const QString Section = QStringLiteral("Kladdeconnection");
const QString FixtureDir = QStringLiteral(KLADDE_SHARED_DIR "/fixtures/access/");

std::string S(const QString& Text)
{
    return Text.toStdString();
}

// Writes a configuration file key by key, as the editor does.
void WriteConfig(const QString& FileName, const TKeys& Keys)
{
    TIniFile ini(FileName);
    ini.EraseSection(Section);
    for (const auto& [key, value] : Keys)
        ini.WriteString(Section, key, value);
}

// A connection holding a value in every setting the connector may or may not touch.
void Preset(TUniConnection& Conn)
{
    Conn.SetProviderName(QStringLiteral("Preset"));
    Conn.SetServer(QStringLiteral("presethost"));
    Conn.SetPort(1234);
    Conn.SetDatabase(QStringLiteral("preset.db"));
    Conn.SetUsername(QStringLiteral("presetuser"));
    Conn.SetPassword(QStringLiteral("presetpw"));
    Conn.SetLoginPrompt(true);
}

int Occurrences(const QString& Text, const QString& Part)
{
    return int(Text.count(Part, Qt::CaseInsensitive));
}

class KladdeConnector : public ::testing::Test
{
protected:
    QString File(const QString& Name) const { return FDir.filePath(Name); }
    QString Config(const QString& Name, const TKeys& Keys) const
    {
        const QString file = File(Name);
        WriteConfig(file, Keys);
        return file;
    }
    // A SQLite database with the table K (ID, Name) and one row.
    QString SqliteDatabase(const QString& Name) const
    {
        const QString path = File(Name);
        TUniConnection conn;
        conn.SetProviderName(QStringLiteral("SQLite"));
        conn.SetDatabase(path);
        conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
        conn.SetLoginPrompt(false);
        conn.ExecSQL(QStringLiteral("create table K (ID integer primary key, Name varchar(20))"));
        conn.ExecSQL(QStringLiteral("insert into K values (1, 'eins')"));
        return path;
    }

    QTemporaryDir FDir;
};

// Counts the open attempts of Conn while keeping the connector's handler in place.
void CountAttempts(TUniConnection& Conn, int& Attempts)
{
    auto handler = Conn.BeforeConnect;
    Conn.BeforeConnect = [handler, &Attempts](TUniConnection& C) {
        ++Attempts;
        handler(C);
    };
}

} // namespace

TEST_F(KladdeConnector, StartsEmptyAsAccessAndReplacesTheBeforeConnectHandler)
{
    TUniConnection conn;
    bool oldHandlerCalled = false;
    conn.BeforeConnect = [&](TUniConnection&) { oldHandlerCalled = true; };
    TKladdeConnector connector(&conn);
    EXPECT_EQ(connector.Connection(), &conn);
    EXPECT_EQ(connector.DBProviderType(), dbpAccess);
    EXPECT_TRUE(connector.DBFormat().isEmpty());
    EXPECT_TRUE(connector.ConnectionFile().isEmpty());
    EXPECT_TRUE(connector.ErrorMessage().isEmpty());
    EXPECT_TRUE(connector.Schema().isEmpty());
    EXPECT_EQ(connector.Port(), 0);
    EXPECT_FALSE(connector.Direct());
    ASSERT_TRUE(conn.BeforeConnect);
    conn.BeforeConnect(conn);
    EXPECT_FALSE(oldHandlerCalled);
}

TEST_F(KladdeConnector, DestroyRemovesOnlyItsOwnHandler)
{
    TUniConnection conn;
    {
        TKladdeConnector connector(&conn);
    }
    EXPECT_FALSE(conn.BeforeConnect);

    auto first = std::make_unique<TKladdeConnector>(&conn);
    TKladdeConnector second(&conn);
    first.reset();
    EXPECT_TRUE(conn.BeforeConnect) << "the handler of the connector that took over stays";
}

TEST_F(KladdeConnector, ConfiguresTheConnectionFromTheFile)
{
    const QString password = Encrypt(QStringLiteral("geheim"));
    const QString accdb = GetAccdbPassword();
    const QString mdb = GetMdbPassword();
    const QString fbclient = ProgramFolder() + PathDelim + QStringLiteral("fbclient.dll");
    const QString server = QStringLiteral("srv\\SQLEXPRESS");
    const TKeys serverKeys = {{"Server", server}, {"Port", "1433"}, {"Database", "Kladde"}, {"Username", "sa"},
                              {"Password", password}};
    auto with = [](TKeys Keys, const TKeys& More) {
        Keys.append(More);
        return Keys;
    };

    struct TCase
    {
        const char* Name;
        TKeys Keys;
        // The connector
        QString DBFormat;
        TDBProviderType Type;
        bool Direct;
        QString Schema;
        // The connection
        QString ProviderName;
        QString Server;
        int Port;
        QString Database;
        QString Username;
        QString Password;
        QStringList Options;
    };
    const TCase cases[] = {
        {"accdb in capitals, lower-case format",
         {{"ProviderName", "msaccess"}, {"ProviderType", "MSACCESS"}, {"Database", "C:\\Kladde\\KLADDE.ACCDB"}},
         "MSACCESS", dbpAccess, false, "",
         "Access", "presethost", 0, "C:\\Kladde\\KLADDE.ACCDB", "Administrator", accdb, {}},
        {"mdb",
         {{"ProviderName", "MSACCESS"}, {"ProviderType", "MSACCESS"}, {"Database", "C:\\Kladde\\kladde.mdb"}},
         "MSACCESS", dbpAccess, false, "",
         "Access", "presethost", 0, "C:\\Kladde\\kladde.mdb", "Administrator", mdb, {}},
        {"no extension, dot in a folder name",
         {{"ProviderName", "MSACCESS"}, {"Database", "C:\\Kladde.accdb\\kladde"}},
         "MSACCESS", dbpAccess, false, "",
         "Access", "presethost", 0, "C:\\Kladde.accdb\\kladde", "Administrator", mdb, {}},
        {"SQLite Direct 1",
         {{"ProviderName", "SQLITE"}, {"ProviderType", "SQLITE"}, {"Database", "/daten/kladde.db3"}, {"Direct", "1"}},
         "SQLITE", dbpSQLite, true, "",
         "SQLite", "presethost", 1234, "/daten/kladde.db3", "presetuser", "presetpw", {"SQLite.Direct=True"}},
        {"SQLite Direct 0",
         {{"ProviderName", "SQLITE"}, {"Database", "kladde.db3"}, {"Direct", "0"}},
         "SQLITE", dbpSQLite, false, "",
         "SQLite", "presethost", 1234, "kladde.db3", "presetuser", "presetpw", {"SQLite.Direct=False"}},
        {"SQLite Direct missing",
         {{"ProviderName", "SQLITE"}, {"Database", "kladde.db3"}},
         "SQLITE", dbpSQLite, false, "",
         "SQLite", "presethost", 1234, "kladde.db3", "presetuser", "presetpw", {"SQLite.Direct=False"}},
        {"SQLite Direct True reads as false",
         {{"ProviderName", "SQLITE"}, {"Database", "kladde.db3"}, {"Direct", "True"}},
         "SQLITE", dbpSQLite, false, "",
         "SQLite", "presethost", 1234, "kladde.db3", "presetuser", "presetpw", {"SQLite.Direct=False"}},
        {"lower-case mssql, Direct 1",
         with(with({{"ProviderName", "mssql"}, {"ProviderType", "MSSQL"}}, serverKeys), {{"Direct", "1"}, {"Schema", "verw"}}),
         "MSSQL", dbpMSSQL, true, "verw",
         "SQL Server", server, 1433, "Kladde", "sa", "geheim", {"SQL Server.Provider=prDirect"}},
        {"MSSQL Direct 0",
         with(with({{"ProviderName", "MSSQL"}}, serverKeys), {{"Direct", "0"}, {"Schema", "dbo"}}),
         "MSSQL", dbpMSSQL, false, "dbo",
         "SQL Server", server, 1433, "Kladde", "sa", "geheim", {"SQL Server.Provider=prAuto"}},
        {"MSSQL Direct missing",
         with({{"ProviderName", "MSSQL"}}, serverKeys),
         "MSSQL", dbpMSSQL, false, "",
         "SQL Server", server, 1433, "Kladde", "sa", "geheim", {"SQL Server.Provider=prAuto"}},
        {"MSSQL Direct True reads as false",
         with(with({{"ProviderName", "MSSQL"}}, serverKeys), {{"Direct", "True"}}),
         "MSSQL", dbpMSSQL, false, "",
         "SQL Server", server, 1433, "Kladde", "sa", "geheim", {"SQL Server.Provider=prAuto"}},
        {"MariaDB is MySQL",
         {{"ProviderName", "MYSQL"}, {"ProviderType", "MARIADB"}, {"Server", "db.schule.de"}, {"Port", "3307"},
          {"Database", "kladde"}, {"Username", "root"}, {"Password", password}, {"Direct", "0"}},
         "MYSQL", dbpMySQL, false, "",
         "MySQL", "db.schule.de", 3307, "kladde", "root", "geheim", {}},
        {"Firebird",
         {{"ProviderName", "FIREBIRD"}, {"Server", "fb"}, {"Port", "3050"}, {"Database", "/db/kladde.fdb"},
          {"Username", "SYSDBA"}, {"Password", password}, {"Direct", "0"}},
         "FIREBIRD", dbpFirebird, false, "",
         "InterBase", "fb", 3050, "/db/kladde.fdb", "SYSDBA", "geheim",
         {"Interbase.ClientLibrary=" + fbclient, "Interbase.Charset=WIN1252", "Interbase.UseUnicode=True"}},
        {"Oracle Direct 1",
         with({{"ProviderName", "ORACLE"}, {"Direct", "1"}}, serverKeys),
         "ORACLE", dbpOracle, true, "",
         "Oracle", server, 1433, "Kladde", "sa", "geheim", {"Oracle.Direct=True"}},
        {"Oracle Direct 0",
         with({{"ProviderName", "Oracle"}, {"Direct", "0"}}, serverKeys),
         "ORACLE", dbpOracle, false, "",
         "Oracle", server, 1433, "Kladde", "sa", "geheim", {"Oracle.Direct=False"}},
        {"NexusDB",
         with({{"ProviderName", "NEXUSDB"}}, serverKeys),
         "NEXUSDB", dbpNexusDB, false, "",
         "NexusDB", server, 1433, "Kladde", "sa", "geheim", {}},
        {"PostgreSQL",
         with({{"ProviderName", "postgresql"}}, serverKeys),
         "POSTGRESQL", dbpPostgreSQL, false, "",
         "PostgreSQL", server, 1433, "Kladde", "sa", "geheim", {}},
        {"empty Port",
         {{"ProviderName", "MYSQL"}, {"Server", "h"}, {"Port", ""}, {"Database", "d"}, {"Username", "u"}, {"Password", ""}},
         "MYSQL", dbpMySQL, false, "",
         "MySQL", "h", 0, "d", "u", "", {}},
        {"missing Port",
         {{"ProviderName", "MYSQL"}, {"Server", "h"}, {"Database", "d"}, {"Username", "u"}},
         "MYSQL", dbpMySQL, false, "",
         "MySQL", "h", 0, "d", "u", "", {}},
        {"undecipherable password",
         {{"ProviderName", "MYSQL"}, {"Server", "h"}, {"Database", "d"}, {"Username", "u"}, {"Password", "geheim"}},
         "MYSQL", dbpMySQL, false, "",
         "MySQL", "h", 0, "d", "u", "???", {}},
        {"unknown ProviderName",
         with({{"ProviderName", "db2"}, {"Direct", "1"}, {"Schema", "s"}}, serverKeys),
         "DB2", dbpUndefined, true, "",
         "Preset", server, 1433, "Kladde", "sa", "geheim", {}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TUniConnection conn;
        Preset(conn);
        TKladdeConnector connector(&conn);
        const QString file = Config(QStringLiteral("case.kdbcfg"), c.Keys);
        connector.SetConnectionFile(file);

        EXPECT_EQ(connector.ConnectionFile(), file);
        EXPECT_EQ(S(connector.DBFormat()), S(c.DBFormat));
        EXPECT_EQ(DBProviderTypeName(connector.DBProviderType()), DBProviderTypeName(c.Type));
        EXPECT_EQ(connector.Direct(), c.Direct);
        EXPECT_EQ(S(connector.Schema()), S(c.Schema));
        EXPECT_EQ(S(conn.ProviderName()), S(c.ProviderName));
        EXPECT_EQ(S(conn.Server()), S(c.Server));
        EXPECT_EQ(conn.Port(), c.Port);
        EXPECT_EQ(S(conn.Database()), S(c.Database));
        EXPECT_EQ(S(conn.Username()), S(c.Username));
        EXPECT_EQ(S(conn.Password()), S(c.Password));
        EXPECT_EQ(S(conn.SpecificOptions().Lines().join(u'|')), S(c.Options.join(u'|')));
        EXPECT_FALSE(conn.LoginPrompt());
        EXPECT_FALSE(conn.Connected());
    }
}

TEST_F(KladdeConnector, MissingFileConfiguresUndefinedWithEmptyValues)
{
    TUniConnection conn;
    conn.SetLoginPrompt(true);
    TKladdeConnector connector(&conn);
    connector.SetConnectionFile(File(QStringLiteral("missing.kdbcfg")));
    EXPECT_EQ(connector.DBProviderType(), dbpUndefined);
    EXPECT_TRUE(connector.DBFormat().isEmpty());
    EXPECT_TRUE(conn.ProviderName().isEmpty());
    EXPECT_TRUE(conn.Server().isEmpty());
    EXPECT_EQ(conn.Port(), 0);
    EXPECT_FALSE(conn.LoginPrompt());
    EXPECT_FALSE(connector.Connect());
    EXPECT_EQ(S(connector.ErrorMessage()), "No database provider is set for the connection");
}

TEST_F(KladdeConnector, LaterFilesKeepWhatTheyDoNotSet)
{
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    connector.SetConnectionFile(Config(QStringLiteral("mssql.kdbcfg"),
                                       {{"ProviderName", "MSSQL"}, {"Server", "srv"}, {"Port", "1433"},
                                        {"Database", "Kladde"}, {"Username", "sa"}, {"Direct", "1"}, {"Schema", "verw"}}));
    connector.SetConnectionFile(Config(QStringLiteral("mysql.kdbcfg"),
                                       {{"ProviderName", "MYSQL"}, {"Server", "my"}, {"Database", "k"}, {"Username", "root"}}));
    EXPECT_EQ(S(connector.Schema()), "verw");
    EXPECT_EQ(S(conn.SpecificOptions().Values(QStringLiteral("SQL Server.Provider"))), "prDirect");
    EXPECT_FALSE(connector.Direct());

    connector.SetConnectionFile(Config(QStringLiteral("sqlite.kdbcfg"), {{"ProviderName", "SQLITE"}, {"Database", "k.db3"}}));
    EXPECT_EQ(S(conn.Server()), "my");
    EXPECT_EQ(S(conn.Username()), "root");
    EXPECT_EQ(S(connector.Server()), "my");
    EXPECT_EQ(S(connector.Schema()), "verw");
}

TEST_F(KladdeConnector, BeforeConnectAddsUnicodeAndNoLoginPromptOnceForSomeFormats)
{
    const struct
    {
        const char* Format;
        bool Amends;
    } cases[] = {
        {"MSACCESS", true}, {"SQLITE", true},  {"FIREBIRD", true},   {"MYSQL", true},    {"MSSQL", false},
        {"ORACLE", false},  {"NEXUSDB", false}, {"POSTGRESQL", false}, {"UNKNOWN", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Format);
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        connector.SetConnectionFile(Config(QStringLiteral("h.kdbcfg"),
                                           {{"ProviderName", c.Format}, {"Server", "h"}, {"Database", "C:\\k\\a.mdb"}}));
        conn.SetLoginPrompt(true);
        const QString before = conn.ConnectString();
        conn.BeforeConnect(conn);
        conn.BeforeConnect(conn);
        const QString after = conn.ConnectString();
        if (c.Amends) {
            EXPECT_EQ(Occurrences(after, QStringLiteral("Use Unicode=True")), 1) << S(after);
            EXPECT_EQ(Occurrences(after, QStringLiteral("Login Prompt=False")), 1) << S(after);
            EXPECT_EQ(Occurrences(after, QStringLiteral("Login Prompt=True")), 0) << S(after);
            EXPECT_FALSE(conn.LoginPrompt());
            EXPECT_EQ(S(conn.Database()), "C:\\k\\a.mdb");
        } else {
            EXPECT_EQ(S(after), S(before));
            EXPECT_TRUE(conn.LoginPrompt());
        }
    }
}

TEST_F(KladdeConnector, BeforeConnectAcceptsUnicodeSettingInAnyCase)
{
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    connector.SetConnectionString(QStringLiteral("Provider Name=MySQL;Data Source=h;use unicode=true;Login Prompt=False"));
    conn.BeforeConnect(conn);
    EXPECT_EQ(Occurrences(conn.ConnectString(), QStringLiteral("Use Unicode=True")), 1) << S(conn.ConnectString());
}

TEST_F(KladdeConnector, WritingConnectionStringFollowsItsProviderName)
{
    const struct
    {
        QString Provider;
        TDBProviderType Type;
        QString Format;
    } cases[] = {
        {"oracle", dbpOracle, "ORACLE"},        {"Interbase", dbpFirebird, "FIREBIRD"}, {"InterBase", dbpFirebird, "FIREBIRD"},
        {"SQL Server", dbpMSSQL, "MSSQL"},      {"mysql", dbpMySQL, "MYSQL"},            {"Access", dbpAccess, "MSACCESS"},
        {"SQLite", dbpSQLite, "SQLITE"},        {"NexusDB", dbpNexusDB, "NEXUSDB"},      {"postgresql", dbpPostgreSQL, "POSTGRESQL"},
        {"DB2", dbpUndefined, ""},              {"", dbpUndefined, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(S(c.Provider));
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        const QString file = Config(QStringLiteral("mssql.kdbcfg"),
                                    {{"ProviderName", "MSSQL"}, {"Server", "alt"}, {"Direct", "1"}, {"Schema", "verw"}});
        connector.SetConnectionFile(file);
        conn.SetLoginPrompt(true);
        connector.SetConnectionString(QStringLiteral("Provider Name=%1;Data Source=orasrv;Database=ORCL;Port=1521;"
                                                     "User ID=scott;Password=tiger;Login Prompt=True")
                                          .arg(c.Provider));
        EXPECT_EQ(DBProviderTypeName(connector.DBProviderType()), DBProviderTypeName(c.Type));
        EXPECT_EQ(S(connector.DBFormat()), S(c.Format));
        EXPECT_EQ(S(connector.Server()), "orasrv");
        EXPECT_EQ(S(connector.Database()), "ORCL");
        EXPECT_EQ(connector.Port(), 1521);
        EXPECT_EQ(S(connector.Username()), "scott");
        EXPECT_EQ(S(connector.Password()), "tiger");
        EXPECT_FALSE(conn.LoginPrompt());
        EXPECT_EQ(connector.ConnectionFile(), file);
        EXPECT_TRUE(connector.Direct());
        EXPECT_EQ(S(connector.Schema()), "verw");
    }
}

TEST_F(KladdeConnector, ConvertsAdoConnectStrings)
{
    const struct
    {
        const char* Name;
        QString Ado;
        QString Expected;
    } cases[] = {
        {"Jet without password",
         "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\Kladde\\kladde.mdb;Persist Security Info=False",
         "Provider Name=Access;User ID=Administrator;Database=C:\\Kladde\\kladde.mdb;Login Prompt=False"},
        {"Jet with password, provider in lower case",
         "provider=microsoft.jet.oledb.4.0;Data Source=C:\\k.mdb;Jet OLEDB:Database Password=wombel",
         "Provider Name=Access;User ID=Administrator;Password=wombel;Database=C:\\k.mdb;Login Prompt=False"},
        {"Jet with empty password",
         "Provider=Microsoft.Jet.OLEDB.4.0;Jet OLEDB:Database Password=;Data Source=C:\\k.mdb",
         "Provider Name=Access;User ID=Administrator;Database=C:\\k.mdb;Login Prompt=False"},
        {"SQLOLEDB.1",
         "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=sa;Initial Catalog=Kladde;"
         "Data Source=srv\\SQLEXPRESS",
         "Provider Name=SQL Server;Data Source=srv\\SQLEXPRESS;Initial Catalog=Kladde;Port=0;User ID=sa;Password=pw;"
         "Login Prompt=False"},
        {"SQLOLEDB.1 without login",
         "Provider=sqloledb.1;Integrated Security=SSPI;Initial Catalog=Kladde;Data Source=srv",
         "Provider Name=SQL Server;Data Source=srv;Initial Catalog=Kladde;Port=0;User ID=;Password=;Login Prompt=False"},
        {"password holding a semicolon is cut there",
         "Provider=SQLOLEDB.1;Password=ab;cd;User ID=sa;Initial Catalog=K;Data Source=s",
         "Provider Name=SQL Server;Data Source=s;Initial Catalog=K;Port=0;User ID=sa;Password=ab;Login Prompt=False"},
        {"value holding an equals sign", "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\a=b.mdb",
         "Provider Name=Access;User ID=Administrator;Database=C:\\a=b.mdb;Login Prompt=False"},
        {"newer Access engine", "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=C:\\k.accdb", ""},
        {"names are not trimmed", " Provider=SQLOLEDB.1;Data Source=s", ""},
        {"no provider", "Data Source=C:\\k.mdb", ""},
        {"empty", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(S(TKladdeConnector::ADOToUNIDACConnectionString(c.Ado)), S(c.Expected)) << c.Name;
}

TEST_F(KladdeConnector, WritingAdoConnectionStringConfiguresTheConnection)
{
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    connector.SetADOConnectionString(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\k.mdb;Jet OLEDB:Database Password=wombel"));
    EXPECT_EQ(connector.DBProviderType(), dbpAccess);
    EXPECT_EQ(S(connector.DBFormat()), "MSACCESS");
    EXPECT_EQ(S(conn.ProviderName()), "Access");
    EXPECT_EQ(S(conn.Database()), "C:\\k.mdb");
    EXPECT_EQ(S(conn.Username()), "Administrator");
    EXPECT_EQ(S(conn.Password()), "wombel");

    connector.SetADOConnectionString(QStringLiteral("Provider=Microsoft.ACE.OLEDB.12.0;Data Source=C:\\k.accdb"));
    EXPECT_EQ(connector.DBProviderType(), dbpUndefined);
    EXPECT_TRUE(connector.DBFormat().isEmpty());
    EXPECT_TRUE(conn.ProviderName().isEmpty());
    EXPECT_TRUE(conn.Database().isEmpty());
}

TEST_F(KladdeConnector, ReadsProviderAndDisplayNameOfAFile)
{
    const struct
    {
        const char* Name;
        TKeys Keys;
        QString Provider;
        QString DisplayName;
    } cases[] = {
        {"MSSQL", {{"ProviderName", "mssql"}, {"Server", "srv\\SQLEXPRESS"}, {"Database", "Kladde"}}, "MSSQL",
         "srv\\SQLEXPRESS <Kladde>"},
        {"MSSQL without Database", {{"ProviderName", "MSSQL"}, {"Server", "srv"}, {"Database", ""}}, "MSSQL", "srv"},
        {"MariaDB", {{"ProviderName", "MYSQL"}, {"ProviderType", "MARIADB"}, {"Server", "h"}, {"Database", "k"}},
         "MYSQL", "h <k>"},
        {"Access", {{"ProviderName", "MSACCESS"}, {"Server", "x"}, {"Database", "C:\\Kladde\\kladde.accdb"}},
         "MSACCESS", "C:\\Kladde\\kladde.accdb"},
        {"SQLite", {{"ProviderName", "SQLite"}, {"Database", "/daten/kladde.db3"}}, "SQLITE", "/daten/kladde.db3"},
        {"unknown", {{"ProviderName", "db2"}, {"Server", "h"}, {"Database", "k"}}, "DB2", "h <k>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = Config(QStringLiteral("f.kdbcfg"), c.Keys);
        EXPECT_EQ(S(TKladdeConnector::GetDBProviderFromKDBCFG(file)), S(c.Provider));
        EXPECT_EQ(S(TKladdeConnector::GetDBFileNameFromKDBCFG(file)), S(c.DisplayName));
    }
    const QString missing = File(QStringLiteral("missing.kdbcfg"));
    EXPECT_TRUE(TKladdeConnector::GetDBProviderFromKDBCFG(missing).isEmpty());
    EXPECT_TRUE(TKladdeConnector::GetDBFileNameFromKDBCFG(missing).isEmpty());
}

TEST_F(KladdeConnector, SqliteDirectOpensOnceWithoutKey)
{
    const QString db = SqliteDatabase(QStringLiteral("kladde.db3"));
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    int attempts = 0;
    CountAttempts(conn, attempts);
    connector.SetConnectionFile(Config(QStringLiteral("s.kdbcfg"), {{"ProviderName", "SQLITE"}, {"Database", db}, {"Direct", "1"}}));
    ASSERT_TRUE(connector.Connect()) << S(connector.ErrorMessage());
    EXPECT_TRUE(connector.ErrorMessage().isEmpty());
    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(conn.SpecificOptions().Contains(QStringLiteral("SQLite.EncryptionKey")));
    EXPECT_TRUE(conn.SpecificOptions().Values(QStringLiteral("SQLite.EncryptionKey")).isEmpty());
    EXPECT_FALSE(conn.SpecificOptions().Contains(QStringLiteral("SQLite.EncryptionAlgorithm")));
    TUniQuery q(&conn);
    q.SetSQL(QStringLiteral("select Name from K"));
    q.Open();
    EXPECT_EQ(S(q.FieldByName(QStringLiteral("Name")).AsString()), "eins");
}

TEST_F(KladdeConnector, SqliteWithoutDirectFallsBackToPlainAfterTheKeyedAttempt)
{
    const QString db = SqliteDatabase(QStringLiteral("kladde.db3"));
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    int attempts = 0;
    CountAttempts(conn, attempts);
    connector.SetConnectionFile(Config(QStringLiteral("s.kdbcfg"), {{"ProviderName", "SQLITE"}, {"Database", db}, {"Direct", "0"}}));
    ASSERT_TRUE(connector.Connect()) << S(connector.ErrorMessage());
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(S(conn.SpecificOptions().Values(QStringLiteral("SQLite.EncryptionAlgorithm"))), "leBlowfish");
    EXPECT_TRUE(conn.SpecificOptions().Values(QStringLiteral("SQLite.EncryptionKey")).isEmpty());

    // Connect closes first, so the keyed attempt is made again, and the settings are added only once.
    ASSERT_TRUE(connector.Connect()) << S(connector.ErrorMessage());
    EXPECT_EQ(attempts, 4);
    const QString text = conn.ConnectString();
    EXPECT_EQ(Occurrences(text, QStringLiteral("Use Unicode=True")), 1) << S(text);
    EXPECT_EQ(Occurrences(text, QStringLiteral("Login Prompt=False")), 1) << S(text);
}

TEST_F(KladdeConnector, MissingSqliteFileKeepsOnlyThePlainAttemptsMessage)
{
    const QString db = File(QStringLiteral("missing.db3"));
    for (const char* direct : {"0", "1"}) {
        SCOPED_TRACE(direct);
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        connector.SetConnectionFile(Config(QStringLiteral("s.kdbcfg"), {{"ProviderName", "SQLITE"}, {"Database", db}, {"Direct", direct}}));
        EXPECT_FALSE(connector.Connect());
        EXPECT_EQ(S(connector.ErrorMessage()), S(QStringLiteral("The database file \"%1\" does not exist").arg(db)));
        EXPECT_FALSE(conn.Connected());
        EXPECT_FALSE(QFile::exists(db));
    }
}

TEST_F(KladdeConnector, SuccessClearsTheEarlierMessage)
{
    const QString db = File(QStringLiteral("later.db3"));
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    connector.SetConnectionFile(Config(QStringLiteral("s.kdbcfg"), {{"ProviderName", "SQLITE"}, {"Database", db}, {"Direct", "1"}}));
    EXPECT_FALSE(connector.Connect());
    EXPECT_FALSE(connector.ErrorMessage().isEmpty());
    SqliteDatabase(QStringLiteral("later.db3"));
    EXPECT_TRUE(connector.Connect());
    EXPECT_TRUE(connector.ErrorMessage().isEmpty());
}

TEST_F(KladdeConnector, ReadingConnectionStringConnectsWhenNeeded)
{
    const QString db = SqliteDatabase(QStringLiteral("kladde.db3"));
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    connector.SetConnectionFile(Config(QStringLiteral("s.kdbcfg"), {{"ProviderName", "SQLITE"}, {"Database", db}, {"Direct", "1"}}));
    const QString text = connector.ConnectionString();
    EXPECT_TRUE(conn.Connected());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Provider Name=SQLite;Database=") + db)) << S(text);
    EXPECT_EQ(Occurrences(text, QStringLiteral("Use Unicode=True")), 1) << S(text);

    connector.SetConnectionString(QStringLiteral("Provider Name=SQLite;Database=") + File(QStringLiteral("missing.db3")));
    EXPECT_FALSE(conn.Connected()) << "writing the connect string closes the connection";
    EXPECT_TRUE(connector.ConnectionString().isEmpty());
    EXPECT_FALSE(connector.ErrorMessage().isEmpty());
}

TEST_F(KladdeConnector, ProvidersMissingHereFailWithTheLayersMessage)
{
    const struct
    {
        const char* Format;
        const char* Provider;
    } cases[] = {{"ORACLE", "Oracle"}, {"NEXUSDB", "NexusDB"}, {"POSTGRESQL", "PostgreSQL"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Format);
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        connector.SetConnectionFile(Config(QStringLiteral("o.kdbcfg"),
                                           {{"ProviderName", c.Format}, {"Server", "ora"}, {"Database", "ORCL"},
                                            {"Username", "scott"}, {"Password", Encrypt(QStringLiteral("tiger"))}}));
        EXPECT_FALSE(connector.Connect());
        EXPECT_EQ(S(connector.ErrorMessage()),
                  S(QStringLiteral("The database provider \"%1\" is not available").arg(QLatin1String(c.Provider))));
    }
}

TEST_F(KladdeConnector, OpensTheAccessFixturesAndReadsATable)
{
    const struct
    {
        const char* File;
        const char* Table;
        int Rows;
    } cases[] = {{"DateTestDatabase.mdb", "DateTest", 6}, {"ASampleDatabase.accdb", "Asset Items", 65}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        const QString copy = File(QString::fromLatin1(c.File));
        ASSERT_TRUE(QFile::copy(FixtureDir + QLatin1String(c.File), copy));
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        connector.SetConnectionFile(Config(QStringLiteral("a.kdbcfg"),
                                           {{"ProviderName", "MSACCESS"}, {"ProviderType", "MSACCESS"}, {"Database", copy}}));
        ASSERT_TRUE(connector.Connect()) << S(connector.ErrorMessage());
        TUniQuery q(&conn);
        q.SetSQL(QStringLiteral("select count(*) as N from \"%1\"").arg(QLatin1String(c.Table)));
        q.Open();
        EXPECT_EQ(q.FieldByName(QStringLiteral("N")).AsInteger(), c.Rows);
    }
}

namespace {

// The message the layer raises when Conn's settings are opened without the connector.
QString DirectConnectMessage(const TUniConnection& Conn)
{
    TUniConnection raw;
    raw.SetProviderName(Conn.ProviderName());
    raw.SetServer(Conn.Server());
    raw.SetPort(Conn.Port());
    raw.SetDatabase(Conn.Database());
    raw.SetUsername(Conn.Username());
    raw.SetPassword(Conn.Password());
    raw.SpecificOptions() = Conn.SpecificOptions();
    raw.SetLoginPrompt(false);
    try {
        raw.Connect();
    } catch (const EUniError& E) {
        return E.Message();
    }
    return QString();
}

} // namespace

class KladdeConnectorServer : public KladdeConnector, public ::testing::WithParamInterface<const char*>
{
protected:
    // Connects with the server's user and the stored password Password; the connection stays open.
    bool ConnectWith(TUniConnection& Conn, TKladdeConnector& Connector, const TTestServer& Server, const QString& Password)
    {
        Connector.SetConnectionFile(Config(QStringLiteral("srv.kdbcfg"),
                                           {{"ProviderName", GetParam()}, {"ProviderType", GetParam()},
                                            {"Server", Server.Host}, {"Port", QString::number(Server.Port)},
                                            {"Database", Server.Database}, {"Username", Server.User},
                                            {"Password", Password}, {"Direct", "0"}}));
        return Connector.Connect();
    }
};

TEST_P(KladdeConnectorServer, ConnectsWithTheRightPasswordOnly)
{
    TTestServer server;
    if (QLatin1String(GetParam()) == QLatin1String("FIREBIRD"))
        KLADDE_REQUIRE_SERVER(TestFirebird(server, why));
    else
        KLADDE_REQUIRE_SERVER(TestMariaDB(server, why));

    {
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        ASSERT_TRUE(ConnectWith(conn, connector, server, Encrypt(server.Password))) << S(connector.ErrorMessage());
        EXPECT_TRUE(connector.ErrorMessage().isEmpty());
        TUniQuery q(&conn);
        q.SetSQL(QLatin1String(GetParam()) == QLatin1String("FIREBIRD") ? QStringLiteral("select 1 as N from RDB$DATABASE")
                                                                          : QStringLiteral("select 1 as N"));
        q.Open();
        EXPECT_EQ(q.FieldByName(QStringLiteral("N")).AsInteger(), 1);
    }

    const struct
    {
        const char* Name;
        QString Stored;
        QString Clear;
    } wrong[] = {
        {"wrong password", Encrypt(server.Password + QStringLiteral("x")), server.Password + QStringLiteral("x")},
        {"undecipherable password", server.Password, QStringLiteral("???")},
    };
    for (const auto& c : wrong) {
        SCOPED_TRACE(c.Name);
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        EXPECT_FALSE(ConnectWith(conn, connector, server, c.Stored));
        EXPECT_FALSE(conn.Connected());
        EXPECT_EQ(S(conn.Password()), S(c.Clear));
        EXPECT_FALSE(connector.ErrorMessage().isEmpty());
        EXPECT_EQ(S(connector.ErrorMessage()), S(DirectConnectMessage(conn)));
    }
}

INSTANTIATE_TEST_SUITE_P(Servers, KladdeConnectorServer, ::testing::Values("MYSQL", "FIREBIRD"),
                         [](const auto& Info) { return std::string(Info.param); });
