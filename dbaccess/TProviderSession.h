#pragma once

#include "TColumnInfo.h"
#include "TProviderOptions.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <memory>

// What a connection hands its provider when it opens.
struct TConnectionSettings {
    QString ProviderName;
    QString Server;
    int Port = 0;
    QString Database;
    QString Username;
    QString Password;
    TProviderOptions Options;
};

// A forward stream of the rows of one result. Rows are fetched one at a time; nothing of the
// result is held beyond the current row (except where a provider says otherwise).
class TProviderCursor
{
public:
    virtual ~TProviderCursor() = default;
    virtual const QVector<TColumnInfo>& Columns() const = 0;
    // The next row into Row, one value per column. False at the end. Raises EUniError.
    virtual bool Fetch(QVector<QVariant>& Row) = 0;
};

// One open connection to a database, in the dialect of its database system. Every operation
// raises EUniError with the database's own message on failure. Transactions are explicit:
// outside StartTransaction..Commit/Rollback every statement commits by itself.
class TProviderSession
{
public:
    virtual ~TProviderSession() = default;

    // Runs a statement that yields rows. Params are the values of the "?" markers in order.
    virtual std::unique_ptr<TProviderCursor> Open(const QString& Sql, const QVector<QVariant>& Params) = 0;
    // Runs a statement without result; returns the number of rows it changed (-1 when unknown).
    virtual qint64 Execute(const QString& Sql, const QVector<QVariant>& Params) = 0;

    virtual void StartTransaction() = 0;
    virtual void Commit() = 0;
    virtual void Rollback() = 0;

    virtual QStringList TableNames() = 0;
    // The primary key columns of Table, in key order; empty when it has none.
    virtual QStringList PrimaryKey(const QString& Table) = 0;

    // Whether the session refuses every change (a read-only SQLite file, an Access file on Linux).
    virtual bool ReadOnly() const { return false; }

    // A column name as the dialect quotes it, for the statements the layer writes itself.
    virtual QString QuoteIdentifier(const QString& Name) const
    {
        QString n = Name;
        return QLatin1Char('"') + n.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    }
};

// Creates the session for Settings.ProviderName. Raises EUniError when the provider is not
// available here or the database cannot be reached.
std::unique_ptr<TProviderSession> CreateProviderSession(const TConnectionSettings& Settings);
