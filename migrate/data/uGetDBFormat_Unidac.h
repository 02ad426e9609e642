#pragma once

#include "uKladdeConnector.h"

#include <QString>

class TUniConnection;

// Which database system a connection talks to, told by its provider name (letter case ignored):
// "Access" MSACCESS, "SQLite" SQLITE, "SQL Server" MSSQL, "InterBase" FIREBIRD, "Oracle" ORACLE,
// "MySQL" MYSQL, "NexusDB" NEXUSDB, "PostgreSQL" POSTGRESQL. Any other name (also "ODBC" and the
// empty name) has the empty format key and counts as dbpAccess; dbpUndefined is never returned.
// A null connection is treated like an unknown provider.

// The format key of AConnection's provider name.
QString GetDBFormat(const TUniConnection* AConnection);
// The provider type of GetDBFormat(AConnection).
TDBProviderType GetDBProviderType(const TUniConnection* AConnection);

// A snapshot of a connection's settings, taken when Connection is written; later changes of the
// connection are not followed. The connection is not owned. GUI thread only.
class TDBInfo
{
public:
    TDBInfo() = default;

    TUniConnection* Connection() const { return FConn; }
    // Stores AConnection and copies its format, provider type, database name, server, password,
    // user name and port. A null connection clears the snapshot to the values after creation.
    void SetConnection(TUniConnection* AConnection);

    QString DBFormat() const { return FDBFormat; }
    TDBProviderType DBProvider() const { return FDBProviderType; }
    QString DBServer() const { return FDBServer; }
    QString DBName() const { return FDBName; }
    QString DBUser() const { return FDBUser; }
    QString DBPassword() const { return FDBPassword; }
    qint32 DBPort() const { return FDBPort; }

private:
    TUniConnection* FConn = nullptr;
    QString FDBFormat;
    TDBProviderType FDBProviderType = dbpAccess;
    QString FDBServer;
    QString FDBName;
    QString FDBUser;
    QString FDBPassword;
    qint32 FDBPort = 0;
};

// The program's TDBInfo, created and installed by the program at start (not owned here); null
// before that and after SetDBInfo(nullptr) at program end.
TDBInfo* DBInfo();
// Installs Value as the program's TDBInfo and returns the one it replaces.
TDBInfo* SetDBInfo(TDBInfo* Value);
