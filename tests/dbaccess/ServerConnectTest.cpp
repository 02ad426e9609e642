// Connect failures against the test servers: wrong password, missing database.

#include "EUniError.h"
#include "TUniConnection.h"
#include "TestServers.h"

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

void Configure(TUniConnection& Conn, const char* Provider, const TTestServer& Server)
{
    Conn.SetProviderName(QString::fromLatin1(Provider));
    Conn.SetServer(Server.Host);
    Conn.SetPort(Server.Port);
    Conn.SetDatabase(Server.Database);
    Conn.SetUsername(Server.User);
    Conn.SetPassword(Server.Password);
    Conn.SetLoginPrompt(false);
}

TEST(ServerConnect, MariaDBRefusesAWrongPasswordAndAMissingDatabase)
{
    TTestServer server;
    KLADDE_REQUIRE_SERVER(TestMariaDB(server, why));
    TUniConnection conn;
    Configure(conn, "MySQL", server);
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
    Configure(conn, "InterBase", server);
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
