#include "TQtSqlSession.h"

#include "EUniError.h"

#include <QAtomicInteger>
#include <QSqlDriver>
#include <QSqlIndex>
#include <QSqlRecord>

namespace {
QAtomicInteger<quint64> NextConnectionNumber;
} // namespace

class TQtSqlCursor : public TProviderCursor
{
public:
    TQtSqlCursor(const TQtSqlSession* Session, QSqlQuery Query, QVector<TColumnInfo> Columns)
        : FSession(Session), FQuery(std::move(Query)), FColumns(std::move(Columns))
    {
    }

    const QVector<TColumnInfo>& Columns() const override { return FColumns; }

    bool Fetch(QVector<QVariant>& Row) override
    {
        if (!FQuery.next()) {
            if (FQuery.lastError().isValid())
                TQtSqlSession::Raise(FQuery.lastError());
            FQuery.finish();
            return false;
        }
        Row.resize(FColumns.size());
        for (int i = 0; i < FColumns.size(); ++i)
            Row[i] = FSession->ReadValue(FQuery.value(i), FColumns[i]);
        return true;
    }

private:
    const TQtSqlSession* FSession;
    QSqlQuery FQuery;
    QVector<TColumnInfo> FColumns;
};

TQtSqlSession::TQtSqlSession(const QString& DriverName)
    : FConnectionName(QStringLiteral("kladde-%1").arg(++NextConnectionNumber))
{
    if (!QSqlDatabase::isDriverAvailable(DriverName))
        throw EUniError(QStringLiteral("The database driver %1 is not installed").arg(DriverName));
    FDb = QSqlDatabase::addDatabase(DriverName, FConnectionName);
}

TQtSqlSession::~TQtSqlSession()
{
    if (FDb.isOpen()) {
        if (FDb.driver()->hasFeature(QSqlDriver::Transactions))
            FDb.rollback();
        FDb.close();
    }
    FDb = QSqlDatabase();
    QSqlDatabase::removeDatabase(FConnectionName);
}

QString TQtSqlSession::ErrorText(const QSqlError& Error)
{
    const QString text = Error.databaseText().trimmed();
    return text.isEmpty() ? Error.driverText() : text;
}

void TQtSqlSession::Raise(const QSqlError& Error)
{
    throw EUniError(ErrorText(Error), Error.nativeErrorCode().toInt());
}

void TQtSqlSession::OpenDatabase()
{
    if (!FDb.open())
        Raise(FDb.lastError());
}

QSqlQuery TQtSqlSession::Run(const QString& Sql, const QVector<QVariant>& Params)
{
    QSqlQuery query(FDb);
    query.setForwardOnly(true);
    query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    bool ok;
    if (Params.isEmpty()) {
        ok = query.exec(Sql);
    } else {
        ok = query.prepare(Sql);
        if (ok) {
            for (const QVariant& p : Params)
                query.addBindValue(BindValue(p));
            ok = query.exec();
        }
    }
    if (!ok)
        Raise(query.lastError());
    return query;
}

std::unique_ptr<TProviderCursor> TQtSqlSession::Open(const QString& Sql, const QVector<QVariant>& Params)
{
    QSqlQuery query = Run(Sql, Params);
    QVector<TColumnInfo> columns = Describe(query);
    return std::make_unique<TQtSqlCursor>(this, std::move(query), std::move(columns));
}

qint64 TQtSqlSession::Execute(const QString& Sql, const QVector<QVariant>& Params)
{
    QSqlQuery query = Run(Sql, Params);
    const qint64 rows = CountsRows(Sql) ? query.numRowsAffected() : -1;
    query.finish();
    return rows;
}

void TQtSqlSession::StartTransaction()
{
    if (!FDb.transaction())
        Raise(FDb.lastError());
}

void TQtSqlSession::Commit()
{
    if (!FDb.commit())
        Raise(FDb.lastError());
}

void TQtSqlSession::Rollback()
{
    if (!FDb.rollback())
        Raise(FDb.lastError());
}

QStringList TQtSqlSession::TableNames()
{
    return FDb.tables(QSql::Tables);
}

QStringList TQtSqlSession::PrimaryKey(const QString& Table)
{
    const QSqlIndex index = FDb.primaryIndex(Table);
    QStringList names;
    for (int i = 0; i < index.count(); ++i)
        names << index.fieldName(i);
    return names;
}
