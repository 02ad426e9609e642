#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// Where the sample school's rows go, table after table.
//
// Values: a null QVariant for NULL, QString, int or qlonglong, double, bool, QDate, QDateTime,
// QByteArray. The implementation raises on a failed write.
class TRowSink
{
public:
    virtual ~TRowSink() = default;

    // Starts the rows of Table; every row holds one value per column, in this order.
    virtual void BeginTable(const QString& Table, const QStringList& Columns) = 0;
    virtual void AddRow(const QVector<QVariant>& Values) = 0;
    // Ends the rows of the current table.
    virtual void EndTable() = 0;
};
