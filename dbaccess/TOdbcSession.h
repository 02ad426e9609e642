#pragma once

#include "TQtSqlSession.h"

// Databases reached through ODBC with Qt's ODBC driver: "SQL Server" (the connection's server,
// port, database and login make the ODBC connect string: FreeTDS on Linux, the SQL Server ODBC
// driver on Windows), "ODBC" (the connection's Database holds a complete ODBC connect string)
// and, on Windows, "Access" files through the Access ODBC driver.
class TOdbcSession : public TQtSqlSession
{
public:
    enum TKind { okSqlServer, okGeneric, okAccess };
    TOdbcSession(TKind Kind, const TConnectionSettings& Settings);
    QString QuoteIdentifier(const QString& Name) const override
    {
        QString n = Name;
        return QLatin1Char('[') + n.replace(QLatin1Char(']'), QLatin1String("]]")) + QLatin1Char(']');
    }

protected:
    QVector<TColumnInfo> Describe(QSqlQuery& Query) override;
};
