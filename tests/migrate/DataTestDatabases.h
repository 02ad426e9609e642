#pragma once

#include "TUniConnection.h"

#include <QLocale>
#include <QString>
#include <string>

// The database systems the data-layer tests of the migration program run on.
enum TDataTestDB { tdbSQLite, tdbMariaDB, tdbFirebird };

inline constexpr TDataTestDB AllDataTestDBs[] = {tdbSQLite, tdbMariaDB, tdbFirebird};

// "SQLite", "MariaDB", "Firebird": for test names and messages.
std::string DataTestDBName(TDataTestDB Kind);

// Configures Conn (not connected) for a fresh, empty database of Kind: a new SQLite file in the
// running test's scratch folder, or a new database on the test server. False with the reason
// when that is not possible here.
bool SetupFreshDatabase(TDataTestDB Kind, TUniConnection& Conn, QString& Why);

// Gives To the settings of From, for a second connection to the same database.
void CopyConnectionSettings(const TUniConnection& From, TUniConnection& To);

// Skips the running test (fails it when servers are required) unless SetupFreshDatabase succeeds.
#define KLADDE_REQUIRE_DATABASE(Kind, Conn) KLADDE_REQUIRE_SERVER(SetupFreshDatabase((Kind), (Conn), why))

// Sets the default locale for the life of the object and restores the one before.
class TScopedDefaultLocale
{
public:
    explicit TScopedDefaultLocale(const QLocale& Locale) { QLocale::setDefault(Locale); }
    ~TScopedDefaultLocale() { QLocale::setDefault(FPrevious); }
    TScopedDefaultLocale(const TScopedDefaultLocale&) = delete;
    TScopedDefaultLocale& operator=(const TScopedDefaultLocale&) = delete;

private:
    QLocale FPrevious;
};
