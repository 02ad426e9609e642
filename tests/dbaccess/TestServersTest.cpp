// The test servers and the support code that reaches them, through Qt's own drivers.

#include "ScratchDir.h"
#include "TestServers.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>

namespace {

QSqlDatabase OpenMariaDB(const TTestServer& Server, const QString& Connection)
{
    QSqlDatabase db = AddQtDatabase(QStringLiteral("QMYSQL"), Server, Connection);
    db.open();
    return db;
}

// The Firebird client is told the port inside the database name: "host/port:path".
QSqlDatabase OpenFirebird(const TTestServer& Server, const QString& Connection)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), Connection);
    db.setDatabaseName(QStringLiteral("%1/%2:%3").arg(Server.Host).arg(Server.Port).arg(Server.Database));
    db.setUserName(Server.User);
    db.setPassword(Server.Password);
    db.open();
    return db;
}

struct TServerKind
{
    const char* Name;
    bool (*Standing)(TTestServer&, QString&);
    bool (*Fresh)(TTestServer&, QString&);
    QSqlDatabase (*Open)(const TTestServer&, const QString&);
    const char* Probe;
    const char* CountTables;
    const char* Charset;
    const char* ExpectedCharset;
};

const TServerKind Kinds[] = {
    {"MariaDB", TestMariaDB, FreshMariaDBDatabase, OpenMariaDB, "SELECT 1",
     "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = DATABASE()",
     "SELECT @@character_set_database", "utf8mb4"},
    {"Firebird", TestFirebird, FreshFirebirdDatabase, OpenFirebird, "SELECT 1 FROM RDB$DATABASE",
     "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$SYSTEM_FLAG = 0",
     "SELECT TRIM(RDB$CHARACTER_SET_NAME) FROM RDB$DATABASE", "UTF8"},
};

// Keeps the discovered test names short ("... # GetParam() = MariaDB").
void PrintTo(const TServerKind& Kind, std::ostream* Out)
{
    *Out << Kind.Name;
}

class TestServersTest : public ::testing::TestWithParam<TServerKind>
{
protected:
    void TearDown() override
    {
        for (const QString& name : FConnections) {
            QSqlDatabase::database(name, false).close();
            QSqlDatabase::removeDatabase(name);
        }
    }

    // The connections are closed and removed after the test; the handle returned must not
    // outlive it.
    QSqlDatabase Open(const TTestServer& Server)
    {
        FConnections << QStringLiteral("%1-%2").arg(QLatin1String(GetParam().Name)).arg(FConnections.size());
        return GetParam().Open(Server, FConnections.last());
    }

    static QVariant Scalar(QSqlDatabase& Db, const QString& Sql)
    {
        QSqlQuery query(Db);
        if (!query.exec(Sql) || !query.next()) {
            ADD_FAILURE() << Sql.toStdString() << ": " << query.lastError().text().toStdString();
            return {};
        }
        return query.value(0);
    }

private:
    QStringList FConnections;
};

TEST_P(TestServersTest, StandingDatabaseAnswers)
{
    TTestServer srv;
    KLADDE_REQUIRE_SERVER(GetParam().Standing(srv, why));
    QSqlDatabase db = Open(srv);
    ASSERT_TRUE(db.isOpen()) << db.lastError().text().toStdString();
    EXPECT_EQ(Scalar(db, QLatin1String(GetParam().Probe)).toInt(), 1);
}

TEST_P(TestServersTest, WrongPasswordIsRefused)
{
    TTestServer srv;
    KLADDE_REQUIRE_SERVER(GetParam().Standing(srv, why));
    srv.Password += QStringLiteral("-wrong");
    QSqlDatabase db = Open(srv);
    EXPECT_FALSE(db.isOpen());
    EXPECT_FALSE(db.lastError().text().isEmpty());
}

TEST_P(TestServersTest, FreshDatabasesAreEmptySeparateAndUnicode)
{
    TTestServer first;
    TTestServer second;
    KLADDE_REQUIRE_SERVER(GetParam().Fresh(first, why) && GetParam().Fresh(second, why));
    ASSERT_NE(first.Database, second.Database);

    QSqlDatabase a = Open(first);
    QSqlDatabase b = Open(second);
    ASSERT_TRUE(a.isOpen()) << a.lastError().text().toStdString();
    ASSERT_TRUE(b.isOpen()) << b.lastError().text().toStdString();
    EXPECT_EQ(Scalar(a, QLatin1String(GetParam().Charset)).toString(), QLatin1String(GetParam().ExpectedCharset));
    EXPECT_EQ(Scalar(a, QLatin1String(GetParam().CountTables)).toInt(), 0);

    QSqlQuery create(a);
    ASSERT_TRUE(create.exec(QStringLiteral("CREATE TABLE T (ID INTEGER)"))) << create.lastError().text().toStdString();
    EXPECT_EQ(Scalar(a, QLatin1String(GetParam().CountTables)).toInt(), 1);
    EXPECT_EQ(Scalar(b, QLatin1String(GetParam().CountTables)).toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Servers, TestServersTest, ::testing::ValuesIn(Kinds),
                         [](const ::testing::TestParamInfo<TServerKind>& Info) { return std::string(Info.param.Name); });

// The tests rely on the server refusing bad data instead of truncating it, and on nobody but
// this machine reaching it.
TEST(TestServersMariaDB, IsStrictAndOnLoopbackOnly)
{
    TTestServer srv;
    KLADDE_REQUIRE_SERVER(TestMariaDB(srv, why));
    {
        QSqlDatabase db = OpenMariaDB(srv, QStringLiteral("mariadb-settings"));
        ASSERT_TRUE(db.isOpen()) << db.lastError().text().toStdString();
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("SELECT @@GLOBAL.sql_mode, @@bind_address, @@skip_networking")) && query.next())
            << query.lastError().text().toStdString();
        EXPECT_TRUE(query.value(0).toString().contains(QLatin1String("STRICT_ALL_TABLES"))) << query.value(0).toString().toStdString();
        EXPECT_EQ(query.value(1).toString(), QLatin1String("127.0.0.1"));
        EXPECT_EQ(query.value(2).toInt(), 0);
    }
    QSqlDatabase::removeDatabase(QStringLiteral("mariadb-settings"));
}

// The servers file is read without any server running: what a broken one reports.
class TestServersFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FWasSet = qEnvironmentVariableIsSet("KLADDE_TEST_SERVERS");
        FSaved = qgetenv("KLADDE_TEST_SERVERS");
    }

    void TearDown() override
    {
        if (FWasSet)
            qputenv("KLADDE_TEST_SERVERS", FSaved);
        else
            qunsetenv("KLADDE_TEST_SERVERS");
    }

    static void UseFile(const QByteArray& Content)
    {
        const QString path = ScratchDir() + QStringLiteral("/servers.env");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(Content);
        file.close();
        qputenv("KLADDE_TEST_SERVERS", path.toUtf8());
    }

private:
    bool FWasSet = false;
    QByteArray FSaved;
};

TEST_F(TestServersFileTest, ReadsKeysAndIgnoresComments)
{
    UseFile("# comment\n"
            "FIREBIRD_HOST=127.0.0.1\nFIREBIRD_PORT=3051\nFIREBIRD_USER=SYSDBA\n"
            "FIREBIRD_PASSWORD=a=b\nFIREBIRD_DATABASE=/tmp/x y/kladde.fdb\n");
    TTestServer srv;
    QString why;
    ASSERT_TRUE(TestFirebird(srv, why)) << why.toStdString();
    EXPECT_EQ(srv.Host, QLatin1String("127.0.0.1"));
    EXPECT_EQ(srv.Port, 3051);
    EXPECT_EQ(srv.User, QLatin1String("SYSDBA"));
    EXPECT_EQ(srv.Password, QLatin1String("a=b"));
    EXPECT_EQ(srv.Database, QLatin1String("/tmp/x y/kladde.fdb"));
}

TEST_F(TestServersFileTest, BrokenFilesGiveTheReason)
{
    const struct
    {
        const char* Content;
        const char* Reason;
    } cases[] = {
        {"MARIADB_HOST=127.0.0.1\nMARIADB_PORT=3306\nMARIADB_USER=kladde\n", "MARIADB_PASSWORD, MARIADB_DATABASE"},
        {"MARIADB_HOST=127.0.0.1\nMARIADB_PORT=\nMARIADB_USER=u\nMARIADB_PASSWORD=p\nMARIADB_DATABASE=d\n", "MARIADB_PORT"},
        {"MARIADB_HOST=127.0.0.1\nMARIADB_PORT=x\nMARIADB_USER=u\nMARIADB_PASSWORD=p\nMARIADB_DATABASE=d\n", "not a port"},
    };
    for (const auto& c : cases) {
        UseFile(c.Content);
        TTestServer srv;
        QString why;
        EXPECT_FALSE(TestMariaDB(srv, why)) << c.Content;
        EXPECT_FALSE(FreshMariaDBDatabase(srv, why)) << c.Content;
        EXPECT_TRUE(why.contains(QLatin1String(c.Reason))) << why.toStdString();
    }
}

TEST_F(TestServersFileTest, MissingFileOrVariableIsReported)
{
    TTestServer srv;
    QString why;
    qputenv("KLADDE_TEST_SERVERS", (ScratchDir() + QStringLiteral("/none.env")).toUtf8());
    EXPECT_FALSE(FreshFirebirdDatabase(srv, why));
    EXPECT_TRUE(why.contains(QLatin1String("none.env"))) << why.toStdString();
    qunsetenv("KLADDE_TEST_SERVERS");
    EXPECT_FALSE(TestFirebird(srv, why));
    EXPECT_TRUE(why.contains(QLatin1String("KLADDE_TEST_SERVERS"))) << why.toStdString();
}

} // namespace
