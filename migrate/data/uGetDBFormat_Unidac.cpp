#include "uGetDBFormat_Unidac.h"

#include "TUniConnection.h"

namespace {

struct TProviderFormat
{
    const char* ProviderName;
    const char* Format;
    TDBProviderType Type;
};

constexpr TProviderFormat ProviderFormats[] = {
    {"Access", "MSACCESS", dbpAccess},       {"SQLite", "SQLITE", dbpSQLite},
    {"SQL Server", "MSSQL", dbpMSSQL},       {"InterBase", "FIREBIRD", dbpFirebird},
    {"Oracle", "ORACLE", dbpOracle},         {"MySQL", "MYSQL", dbpMySQL},
    {"NexusDB", "NEXUSDB", dbpNexusDB},      {"PostgreSQL", "POSTGRESQL", dbpPostgreSQL},
};

TDBInfo* ProgramDBInfo = nullptr;

} // namespace

QString GetDBFormat(const TUniConnection* AConnection)
{
    if (!AConnection)
        return QString();
    for (const TProviderFormat& entry : ProviderFormats)
        if (AConnection->ProviderName().compare(QLatin1String(entry.ProviderName), Qt::CaseInsensitive) == 0)
            return QLatin1String(entry.Format);
    return QString();
}

TDBProviderType GetDBProviderType(const TUniConnection* AConnection)
{
    const QString format = GetDBFormat(AConnection);
    for (const TProviderFormat& entry : ProviderFormats)
        if (format == QLatin1String(entry.Format))
            return entry.Type;
    return dbpAccess;
}

void TDBInfo::SetConnection(TUniConnection* AConnection)
{
    FConn = AConnection;
    FDBFormat = GetDBFormat(AConnection);
    FDBProviderType = GetDBProviderType(AConnection);
    FDBName = AConnection ? AConnection->Database() : QString();
    FDBServer = AConnection ? AConnection->Server() : QString();
    FDBPassword = AConnection ? AConnection->Password() : QString();
    FDBUser = AConnection ? AConnection->Username() : QString();
    FDBPort = AConnection ? AConnection->Port() : 0;
}

TDBInfo* DBInfo()
{
    return ProgramDBInfo;
}

TDBInfo* SetDBInfo(TDBInfo* Value)
{
    TDBInfo* previous = ProgramDBInfo;
    ProgramDBInfo = Value;
    return previous;
}
