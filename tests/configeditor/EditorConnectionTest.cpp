// "Verbindungstest" against real databases: SQLite files, Access files, the MariaDB and Firebird
// test servers.

#include "EditorWindow.h"
#include "Platform.h"
#include "utils.h"
#include "TIniFile.h"
#include "Exception.h"
#include "ScratchDir.h"
#include "TestServers.h"
#include "TUniConnection.h"

#include <QFile>

namespace {

using EditorConnectionTest = EditorTest;

const QString Success = QStringLiteral("Verbindung erfolgreich hergestellt");
const QString FailurePrefix = QStringLiteral("Fehler beim Verbindungsaufbau: ");

// The message the database layer gives for a connection with these settings; empty on success.
QString LayerMessage(const QString& Provider, const QString& Server, int Port, const QString& Database,
                     const QString& User, const QString& Password)
{
    TUniConnection conn;
    conn.SetLoginPrompt(false);
    conn.SetProviderName(Provider);
    conn.SetServer(Server);
    conn.SetPort(Port);
    conn.SetDatabase(Database);
    conn.SetUsername(User);
    conn.SetPassword(Password);
    try {
        conn.Connect();
    } catch (const Exception& e) {
        return e.Message();
    }
    conn.Disconnect();
    return QString();
}

// Clicks "Verbindungstest" and returns the one message box it showed.
TShownDialog TestConnection(TEditorWindow& W)
{
    const qsizetype before = TDialogs::Log().size();
    TDialogs::SetNextAnswers({mrOk});
    W.Click(QStringLiteral("btnConnect"));
    EXPECT_EQ(TDialogs::Log().size(), before + 1) << "one message box expected";
    return TDialogs::Log().size() > before ? TDialogs::Log()[before] : TShownDialog();
}

void ExpectSuccess(const TShownDialog& Shown)
{
    EXPECT_EQ(Shown.Kind, dkMessage);
    EXPECT_EQ(Shown.Text, Success);
    EXPECT_EQ(Shown.Type, mtInformation);
    EXPECT_EQ(Shown.Buttons, TMsgDlgButtons(mbOK));
}

void ExpectFailure(const TShownDialog& Shown, const QString& LayerText)
{
    EXPECT_FALSE(LayerText.isEmpty());
    EXPECT_EQ(Shown.Text, FailurePrefix + LayerText);
    EXPECT_EQ(Shown.Type, mtError);
    EXPECT_EQ(Shown.Buttons, TMsgDlgButtons(mbOK));
}

QString MakeSQLiteFile()
{
    const QString path = ScratchDir() + QStringLiteral("/Kladde.sqlite");
    TUniConnection conn;
    conn.SetLoginPrompt(false);
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(path);
    conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
    conn.Connect();
    conn.ExecSQL(QStringLiteral("create table Schueler (ID integer primary key, Name varchar(50))"));
    conn.Disconnect();
    return path;
}

void EnterServer(TEditorWindow& W, const QString& Format, const TTestServer& Server, const QString& Password)
{
    W.Choose(Format);
    W.Type(QStringLiteral("edServer"), Server.Host);
    W.Type(QStringLiteral("edPort"), QString::number(Server.Port));
    W.Type(QStringLiteral("edUser"), Server.User);
    W.Type(QStringLiteral("edPW"), Password);
    W.Type(QStringLiteral("edDatabase"), Server.Database);
}

} // namespace

TEST_F(EditorConnectionTest, SQLiteFileWithAndWithoutDirectAccessReportsOneSuccess)
{
    const QString path = MakeSQLiteFile();
    TEditorWindow w;
    w.Choose(QStringLiteral("SQLITE"));
    w.Type(QStringLiteral("edDBFile"), path);
    for (const bool direct : {true, false, true}) {
        // Checked: the keyed attempt fails without a word, the plain attempt reports.
        w.SetChecked(QStringLiteral("chbxDirectSQLite"), direct);
        ExpectSuccess(TestConnection(w));
    }
}

TEST_F(EditorConnectionTest, MissingSQLiteFileReportsThePlainAttemptsError)
{
    const QString path = ScratchDir() + QStringLiteral("/fehlt.sqlite");
    const QString layerText = LayerMessage(QStringLiteral("SQLite"), {}, 0, path, {}, {});
    TEditorWindow w;
    w.Choose(QStringLiteral("SQLITE"));
    w.Type(QStringLiteral("edDBFile"), path);
    for (const bool direct : {true, false}) {
        w.SetChecked(QStringLiteral("chbxDirectSQLite"), direct);
        ExpectFailure(TestConnection(w), layerText);
    }
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(EditorConnectionTest, AccessFiles)
{
    const QString fixtures = QStringLiteral(KLADDE_SHARED_DIR "/fixtures/access/");
    for (const char* name : {"ASampleDatabase.accdb", "DateTestDatabase.mdb"}) {
        const QString copy = ScratchDir() + QLatin1Char('/') + QLatin1String(name);
        ASSERT_TRUE(QFile::copy(fixtures + QLatin1String(name), copy)) << name;
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        TEditorWindow w;
        w.Choose(QStringLiteral("MSACCESS"));
        w.Type(QStringLiteral("edDBFile"), copy);
        ExpectSuccess(TestConnection(w));
    }
    const QString missing = ScratchDir() + QStringLiteral("/fehlt.mdb");
    TEditorWindow w;
    w.Choose(QStringLiteral("MSACCESS"));
    w.Type(QStringLiteral("edDBFile"), missing);
    ExpectFailure(TestConnection(w),
                  LayerMessage(QStringLiteral("Access"), {}, 0, missing, QStringLiteral("Administrator"),
                               QStringLiteral("wombel")));
}

// What each format's test hands the connection, whether the database answers or not.
TEST_F(EditorConnectionTest, SettingsOfTheTestedConnection)
{
    struct Case {
        const char* File;
        const char* Password;
    };
    for (const Case& c : {Case{"C:\\Kladde\\Kladde.ACCDB", "Tqb4Gvvnrpp&"}, Case{"C:\\Kladde\\Kladde.mdb", "wombel"},
                          Case{"C:\\Kladde\\Kladde", "wombel"}}) {
        TEditorWindow w;
        w.Choose(QStringLiteral("MSACCESS"));
        w.Type(QStringLiteral("edDBFile"), QString::fromLatin1(c.File));
        TestConnection(w);
        const TUniConnection& conn = w.Form().TestedConnection();
        EXPECT_EQ(conn.ProviderName(), QStringLiteral("Access")) << c.File;
        EXPECT_EQ(conn.Username(), QStringLiteral("Administrator")) << c.File;
        EXPECT_EQ(conn.Password(), QLatin1String(c.Password)) << c.File;
        EXPECT_EQ(conn.Port(), 0) << c.File;
    }

    // A hand-written port in hexadecimal reads as the migration program reads it.
    const QString path = ScratchDir() + QStringLiteral("/mssql.kdbcfg");
    TIniFile ini(path);
    ini.WriteString(QStringLiteral("Kladdeconnection"), QStringLiteral("ProviderName"), QStringLiteral("MSSQL"));
    ini.WriteString(QStringLiteral("Kladdeconnection"), QStringLiteral("Server"), QStringLiteral("127.0.0.1"));
    ini.WriteString(QStringLiteral("Kladdeconnection"), QStringLiteral("Port"), QStringLiteral("$10"));
    ini.WriteString(QStringLiteral("Kladdeconnection"), QStringLiteral("Database"), QStringLiteral("Kladde"));
    TEditorWindow mssql({path});
    TestConnection(mssql);
    const TUniConnection& conn = mssql.Form().TestedConnection();
    EXPECT_EQ(conn.ProviderName(), QStringLiteral("SQL Server"));
    EXPECT_EQ(conn.SpecificOptions().Values(QStringLiteral("SQL Server.Provider")), QStringLiteral("prAuto"));
    EXPECT_EQ(conn.Port(), 16);

    TEditorWindow firebird;
    firebird.Choose(QStringLiteral("FIREBIRD"));
    firebird.Type(QStringLiteral("edDatabase"), ScratchDir() + QStringLiteral("/fehlt.fdb"));
    TestConnection(firebird);
    EXPECT_EQ(firebird.Form().TestedConnection().ProviderName(), QStringLiteral("InterBase"));
    EXPECT_EQ(firebird.Form().TestedConnection().SpecificOptions().Values(QStringLiteral("InterBase.ClientLibrary")),
              AppDir() + PathDelim + QStringLiteral("fbclient.dll"));
}

TEST_F(EditorConnectionTest, MariaDBServer)
{
    TTestServer srv;
    KLADDE_REQUIRE_SERVER(TestMariaDB(srv, why));
    for (const QString& format : {QStringLiteral("MARIADB"), QStringLiteral("MYSQL")}) {
        TEditorWindow w;
        EnterServer(w, format, srv, srv.Password);
        ExpectSuccess(TestConnection(w));

        EnterServer(w, format, srv, srv.Password + QStringLiteral("-falsch"));
        ExpectFailure(TestConnection(w), LayerMessage(QStringLiteral("MySQL"), srv.Host, srv.Port, srv.Database, srv.User,
                                                      srv.Password + QStringLiteral("-falsch")));
    }
}

TEST_F(EditorConnectionTest, MariaDBFileSavedAndStartedWithConnects)
{
    TTestServer srv;
    KLADDE_REQUIRE_SERVER(TestMariaDB(srv, why));
    const QString path = ScratchDir() + QStringLiteral("/maria.kdbcfg");
    {
        TEditorWindow w;
        EnterServer(w, QStringLiteral("MARIADB"), srv, srv.Password);
        TDialogs::SetNextFileNames({path});
        w.Click(QStringLiteral("Button1"));
    }
    TEditorWindow w({path});
    ExpectSuccess(TestConnection(w));
}

TEST_F(EditorConnectionTest, FirebirdServer)
{
    TTestServer srv;
    KLADDE_REQUIRE_SERVER(TestFirebird(srv, why));
    TEditorWindow w;
    EnterServer(w, QStringLiteral("FIREBIRD"), srv, srv.Password);
    ExpectSuccess(TestConnection(w));

    EnterServer(w, QStringLiteral("FIREBIRD"), srv, srv.Password + QStringLiteral("-falsch"));
    ExpectFailure(TestConnection(w), LayerMessage(QStringLiteral("InterBase"), srv.Host, srv.Port, srv.Database, srv.User,
                                                  srv.Password + QStringLiteral("-falsch")));
}
