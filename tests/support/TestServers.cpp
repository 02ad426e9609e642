#include "TestServers.h"

#include "TUniConnection.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <atomic>

namespace {

using TSettings = QHash<QString, QString>;

// Reads the servers file: KEY=VALUE lines, the value being the rest of the line; # starts a comment.
bool ReadSettings(TSettings& Out, QString& Why)
{
    const QString path = qEnvironmentVariable("KLADDE_TEST_SERVERS");
    if (path.isEmpty()) {
        Why = QStringLiteral("KLADDE_TEST_SERVERS is not set (the tests run through ctest)");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        Why = QStringLiteral("%1 is missing: the test servers were not started (scripts/test-servers start)").arg(path);
        return false;
    }
    Out.clear();
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        const qsizetype eq = line.indexOf(u'=');
        if (line.isEmpty() || line.startsWith(u'#') || eq <= 0)
            continue;
        Out.insert(line.left(eq), line.mid(eq + 1));
    }
    return true;
}

bool Require(const TSettings& Settings, const QStringList& Keys, QString& Why)
{
    QStringList missing;
    for (const QString& key : Keys)
        if (Settings.value(key).isEmpty())
            missing << key;
    if (missing.isEmpty())
        return true;
    Why = QStringLiteral("%1 lacks %2").arg(qEnvironmentVariable("KLADDE_TEST_SERVERS"), missing.join(u", "));
    return false;
}

// Reads the server of the given key prefix ("MARIADB", "FIREBIRD") and, when wanted, more keys.
bool ReadServer(const QString& Prefix, TTestServer& Out, TSettings& Settings, QString& Why,
                const QStringList& MoreKeys = {})
{
    if (!ReadSettings(Settings, Why))
        return false;
    QStringList keys;
    for (const char* name : {"HOST", "PORT", "USER", "PASSWORD", "DATABASE"})
        keys << Prefix + u'_' + QLatin1String(name);
    if (!Require(Settings, keys + MoreKeys, Why))
        return false;
    bool ok = false;
    const int port = Settings.value(keys[1]).toInt(&ok);
    if (!ok || port <= 0) {
        Why = QStringLiteral("%1 is not a port: %2").arg(keys[1], Settings.value(keys[1]));
        return false;
    }
    Out.Host = Settings.value(keys[0]);
    Out.Port = port;
    Out.User = Settings.value(keys[2]);
    Out.Password = Settings.value(keys[3]);
    Out.Database = Settings.value(keys[4]);
    return true;
}

// "kt_<pid>_<n>": unique among the test processes of one run and the calls of one process.
QString FreshName()
{
    static std::atomic<int> next{0};
    return QStringLiteral("kt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++next);
}

QString FirebirdLiteral(const QString& Text)
{
    QString quoted = Text;
    quoted.replace(u'\'', QStringLiteral("''"));
    return u'\'' + quoted + u'\'';
}

} // namespace

bool TestMariaDB(TTestServer& Out, QString& Why)
{
    TSettings settings;
    return ReadServer(QStringLiteral("MARIADB"), Out, settings, Why);
}

bool TestFirebird(TTestServer& Out, QString& Why)
{
    TSettings settings;
    return ReadServer(QStringLiteral("FIREBIRD"), Out, settings, Why);
}

bool FreshMariaDBDatabase(TTestServer& Out, QString& Why)
{
    TTestServer server;
    if (!TestMariaDB(server, Why))
        return false;
    const QString name = FreshName();
    const QString connection = QStringLiteral("kladde-test-fresh-") + name;
    bool created = false;
    {
        QSqlDatabase db = AddQtDatabase(QStringLiteral("QMYSQL"), server, connection);
        db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=10"));
        if (!db.open()) {
            Why = QStringLiteral("MariaDB at %1:%2: %3").arg(server.Host).arg(server.Port).arg(db.lastError().text());
        } else {
            QSqlQuery query(db);
            created = query.exec(QStringLiteral("CREATE DATABASE %1 CHARACTER SET utf8mb4").arg(name));
            if (!created)
                Why = QStringLiteral("CREATE DATABASE %1: %2").arg(name, query.lastError().text());
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!created)
        return false;
    Out = server;
    Out.Database = name;
    return true;
}

bool FreshFirebirdDatabase(TTestServer& Out, QString& Why)
{
    TTestServer server;
    TSettings settings;
    if (!ReadServer(QStringLiteral("FIREBIRD"), server, settings, Why, {QStringLiteral("FIREBIRD_ISQL")}))
        return false;
    const QString path = QFileInfo(server.Database).absolutePath() + u'/' + FreshName() + QStringLiteral(".fdb");
    const QString remote = QStringLiteral("%1/%2:%3").arg(server.Host).arg(server.Port).arg(path);

    // Created through the server, so that the file belongs to the server process.
    QProcess isql;
    isql.setProcessChannelMode(QProcess::MergedChannels);
    isql.start(settings.value(QStringLiteral("FIREBIRD_ISQL")), {QStringLiteral("-q")});
    if (!isql.waitForStarted(10000)) {
        Why = QStringLiteral("%1: %2").arg(isql.program(), isql.errorString());
        return false;
    }
    isql.write(QStringLiteral("CREATE DATABASE %1 USER %2 PASSWORD %3 DEFAULT CHARACTER SET UTF8;\n")
                   .arg(FirebirdLiteral(remote), FirebirdLiteral(server.User), FirebirdLiteral(server.Password))
                   .toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(60000)) {
        isql.kill();
        isql.waitForFinished();
        Why = QStringLiteral("isql-fb did not finish creating %1").arg(remote);
        return false;
    }
    const QString output = QString::fromLocal8Bit(isql.readAll()).trimmed();
    if (isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 || !output.isEmpty()) {
        Why = QStringLiteral("CREATE DATABASE %1: %2").arg(remote, output);
        return false;
    }
    Out = server;
    Out.Database = path;
    return true;
}

void UseServer(TUniConnection& Conn, const QString& Provider, const TTestServer& Server)
{
    Conn.SetProviderName(Provider);
    Conn.SetServer(Server.Host);
    Conn.SetPort(Server.Port);
    Conn.SetDatabase(Server.Database);
    Conn.SetUsername(Server.User);
    Conn.SetPassword(Server.Password);
    Conn.SetLoginPrompt(false);
}

QSqlDatabase AddQtDatabase(const QString& Driver, const TTestServer& Server, const QString& ConnectionName)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(Driver, ConnectionName);
    db.setHostName(Server.Host);
    db.setPort(Server.Port);
    db.setUserName(Server.User);
    db.setPassword(Server.Password);
    db.setDatabaseName(Server.Database);
    return db;
}

bool ServersRequired()
{
    return qEnvironmentVariable("KLADDE_REQUIRE_SERVERS") == QLatin1String("1");
}
