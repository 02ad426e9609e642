#pragma once

#include "TUniQuery.h"

#include <QStringList>

// All rows of one table, and the table's primary key as the database reports it.
class TUniTable : public TUniQuery
{
public:
    explicit TUniTable(TUniConnection* Connection = nullptr) : TUniQuery(Connection) {}

    const QString& TableName() const { return FTableName; }
    void SetTableName(const QString& Value)
    {
        Close();
        FTableName = Value;
    }
    // The names of the primary key columns; empty when the table has none.
    QStringList KeyFieldNames();

protected:
    QString EffectiveSQL() const override { return QStringLiteral("select * from ") + FTableName; }
    QString UpdateTable() const override { return FTableName; }

private:
    QString FTableName;
};
