#include "TProviderSession.h"

#include "EUniError.h"
#include "TAccessFileSession.h"
#include "TFirebirdSession.h"
#include "TMySqlSession.h"
#include "TOdbcSession.h"
#include "TSQLiteSession.h"

std::unique_ptr<TProviderSession> CreateProviderSession(const TConnectionSettings& Settings)
{
    const QString name = Settings.ProviderName.trimmed();
    auto is = [&](const char* Provider) { return name.compare(QLatin1String(Provider), Qt::CaseInsensitive) == 0; };
    if (is("SQLite"))
        return std::make_unique<TSQLiteSession>(Settings);
    if (is("MySQL"))
        return std::make_unique<TMySqlSession>(Settings);
    if (is("InterBase"))
        return std::make_unique<TFirebirdSession>(Settings);
    if (is("SQL Server"))
        return std::make_unique<TOdbcSession>(TOdbcSession::okSqlServer, Settings);
    if (is("ODBC"))
        return std::make_unique<TOdbcSession>(TOdbcSession::okGeneric, Settings);
    if (is("Access")) {
#ifdef Q_OS_WIN
        return std::make_unique<TOdbcSession>(TOdbcSession::okAccess, Settings);
#else
        return std::make_unique<TAccessFileSession>(Settings);
#endif
    }
    if (name.isEmpty())
        throw EUniError(QStringLiteral("No database provider is set for the connection"));
    throw EUniError(QStringLiteral("The database provider \"%1\" is not available").arg(name));
}
