#pragma once

#include "TQtSqlSession.h"

#include <QSet>

class TMySqlStream;
typedef struct st_mysql MYSQL;

// MySQL and MariaDB. Qt's MySQL driver makes the connection (utf8mb4 on the wire); statements
// run through TMySqlStream on the driver's handle, so that results are read as a forward stream.
// The server serves one unfinished result per connection: a query opened while another is still
// being read runs on a second connection of the session when no transaction is open (reads
// then see only committed data, as they would anyway); inside a transaction, and before any
// other statement, the unfinished result is read into memory first.
class TMySqlSession : public TQtSqlSession
{
public:
    explicit TMySqlSession(const TConnectionSettings& Settings);
    ~TMySqlSession() override;

    std::unique_ptr<TProviderCursor> Open(const QString& Sql, const QVector<QVariant>& Params) override;
    qint64 Execute(const QString& Sql, const QVector<QVariant>& Params) override;
    void StartTransaction() override;
    void Commit() override;
    void Rollback() override;
    QStringList TableNames() override;
    QStringList PrimaryKey(const QString& Table) override;
    QString QuoteIdentifier(const QString& Name) const override
    {
        QString n = Name;
        return QLatin1Char('`') + n.replace(QLatin1Char('`'), QLatin1String("``")) + QLatin1Char('`');
    }

    // For the cursors: a stream of this session ended.
    void Forget(TMySqlStream* Stream) { FPending.remove(Stream); }

protected:
    QVector<TColumnInfo> Describe(QSqlQuery& Query) override { return {}; }

private:
    QByteArray Bind(MYSQL* Handle, const QString& Sql, const QVector<QVariant>& Params) const;
    // Reads every unfinished result of the main connection into memory.
    void BufferPending();
    bool MainBusy() const;
    QSqlDatabase& Reader();

    TConnectionSettings FSettings;
    QSet<TMySqlStream*> FPending;
    bool FInTransaction = false;
    QString FReaderName;
    QSqlDatabase FReader;
};
