#pragma once

#include "TProviderSession.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

// The part of a session that Qt's SQL drivers serve: one QSqlDatabase under a connection name of
// its own, forward-only queries, transactions through the driver. Each database system derives
// from it and answers what differs: how to open, how to describe the columns of a result.
class TQtSqlSession : public TProviderSession
{
public:
    ~TQtSqlSession() override;

    std::unique_ptr<TProviderCursor> Open(const QString& Sql, const QVector<QVariant>& Params) override;
    qint64 Execute(const QString& Sql, const QVector<QVariant>& Params) override;
    void StartTransaction() override;
    void Commit() override;
    void Rollback() override;
    QStringList TableNames() override;
    QStringList PrimaryKey(const QString& Table) override;

    // The database's own message of a Qt error (its driver text when the database gave none).
    static QString ErrorText(const QSqlError& Error);
    [[noreturn]] static void Raise(const QSqlError& Error);

protected:
    // Adds a database of Qt driver DriverName under a fresh connection name.
    explicit TQtSqlSession(const QString& DriverName);
    QSqlDatabase& Database() { return FDb; }
    // Opens FDb after the subclass has set it up; raises with the database's message.
    void OpenDatabase();

    // Runs Sql with Params on a new forward-only query; raises on failure.
    QSqlQuery Run(const QString& Sql, const QVector<QVariant>& Params);
    // The columns of the executed query Query.
    virtual QVector<TColumnInfo> Describe(QSqlQuery& Query) = 0;
    // A parameter value in the form the driver stores as the database expects it.
    virtual QVariant BindValue(const QVariant& Value) const { return Value; }
    // A fetched value corrected where the driver delivers it in a lossy or odd form.
    virtual QVariant ReadValue(const QVariant& Value, const TColumnInfo& Column) const { return Value; }
    // Whether the driver can tell how many rows Sql changed (not for schema statements).
    virtual bool CountsRows(const QString& Sql) const { return true; }

    friend class TQtSqlCursor;

private:
    QString FConnectionName;
    QSqlDatabase FDb;
};
