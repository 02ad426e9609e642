#include "LayerTargets.h"

#include "TestServers.h"

#include <QAtomicInteger>

namespace {

QTemporaryDir& SqliteFolder()
{
    static QTemporaryDir dir;
    return dir;
}

bool SetupSqlite(TUniConnection& Conn, QString& Why)
{
    static QAtomicInteger<int> next;
    Conn.SetProviderName(QStringLiteral("SQLite"));
    Conn.SetDatabase(SqliteFolder().filePath(QStringLiteral("layer-%1.sqlite").arg(++next)));
    Conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
    Conn.SetLoginPrompt(false);
    return true;
}

bool SetupMariaDB(TUniConnection& Conn, QString& Why)
{
    TTestServer server;
    if (!FreshMariaDBDatabase(server, Why))
        return false;
    UseServer(Conn, QStringLiteral("MySQL"), server);
    return true;
}

bool SetupFirebird(TUniConnection& Conn, QString& Why)
{
    TTestServer server;
    if (!FreshFirebirdDatabase(server, Why))
        return false;
    UseServer(Conn, QStringLiteral("InterBase"), server);
    Conn.SpecificOptions().SetValue(QStringLiteral("Interbase.Charset"), QStringLiteral("WIN1252"));
    Conn.SpecificOptions().SetValue(QStringLiteral("Interbase.UseUnicode"), QStringLiteral("True"));
    return true;
}

} // namespace

const std::vector<TLayerTarget>& LayerTargets()
{
    static const std::vector<TLayerTarget> targets = {
        {QStringLiteral("SQLite"), SetupSqlite,
         QStringLiteral("create table T (ID integer primary key, Name varchar(50) not null, Note text, Big bigint, "
                        "F double, Amount decimal(10,4), D date, DT datetime, Flag boolean, Pic blob, Small smallint)")},
        {QStringLiteral("MariaDB"), SetupMariaDB,
         QStringLiteral("create table T (ID int primary key, Name varchar(50) not null, Note text, Big bigint, "
                        "F double, Amount decimal(10,4), D date, DT datetime, Flag tinyint(1), Pic longblob, "
                        "Small smallint) engine=InnoDB default charset=utf8mb4")},
        {QStringLiteral("Firebird"), SetupFirebird,
         QStringLiteral("create table T (ID integer not null primary key, Name varchar(50) not null, "
                        "Note blob sub_type text, Big bigint, F double precision, Amount decimal(10,4), D date, "
                        "DT timestamp, Flag boolean, Pic blob, Small smallint)")},
    };
    return targets;
}
