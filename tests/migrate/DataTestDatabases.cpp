#include "DataTestDatabases.h"

#include "ScratchDir.h"
#include "TestServers.h"

#include <QAtomicInteger>

namespace {


} // namespace

std::string DataTestDBName(TDataTestDB Kind)
{
    switch (Kind) {
    case tdbSQLite:
        return "SQLite";
    case tdbMariaDB:
        return "MariaDB";
    case tdbFirebird:
        return "Firebird";
    }
    return "?";
}

bool SetupFreshDatabase(TDataTestDB Kind, TUniConnection& Conn, QString& Why)
{
    static QAtomicInteger<int> next;
    TTestServer server;
    switch (Kind) {
    case tdbSQLite: {
        const QString folder = ScratchDir();
        if (folder.isEmpty()) {
            Why = QStringLiteral("no scratch folder");
            return false;
        }
        Conn.SetProviderName(QStringLiteral("SQLite"));
        Conn.SetDatabase(folder + QStringLiteral("/data-%1.sqlite").arg(++next));
        Conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
        Conn.SetLoginPrompt(false);
        return true;
    }
    case tdbMariaDB:
        if (!FreshMariaDBDatabase(server, Why))
            return false;
        UseServer(Conn, QStringLiteral("MySQL"), server);
        return true;
    case tdbFirebird:
        if (!FreshFirebirdDatabase(server, Why))
            return false;
        UseServer(Conn, QStringLiteral("InterBase"), server);
        Conn.SpecificOptions().SetValue(QStringLiteral("Interbase.Charset"), QStringLiteral("WIN1252"));
        Conn.SpecificOptions().SetValue(QStringLiteral("Interbase.UseUnicode"), QStringLiteral("True"));
        return true;
    }
    Why = QStringLiteral("unknown database system");
    return false;
}

void CopyConnectionSettings(const TUniConnection& From, TUniConnection& To)
{
    To.SetProviderName(From.ProviderName());
    To.SetServer(From.Server());
    To.SetPort(From.Port());
    To.SetDatabase(From.Database());
    To.SetUsername(From.Username());
    To.SetPassword(From.Password());
    To.SetLoginPrompt(false);
    To.SpecificOptions() = From.SpecificOptions();
}
