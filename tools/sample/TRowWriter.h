#pragma once

#include "TRowSink.h"
#include "uKladdeConnector.h"

#include <QHash>
#include <QList>
#include <memory>

class TUniConnection;
class TUniSQL;

// Writes the rows into the tables of an open connection. SQLite and MySQL receive INSERTs of many
// rows written as literals, Firebird an EXECUTE BLOCK of many one-row INSERTs (a statement per row
// costs a prepare, and a round trip on a server, each time); the other systems one parameterised
// INSERT per row. Every few thousand rows are one transaction. Raises EUniError with the
// database's message when a write fails; the open transaction is then rolled back.
class TRowWriter : public TRowSink
{
public:
    // REQUIRES: Connection is open and outlives the writer.
    TRowWriter(TUniConnection& Connection, TDBProviderType Type);
    ~TRowWriter() override;

    void BeginTable(const QString& Table, const QStringList& Columns) override;
    void AddRow(const QVector<QVariant>& Values) override;
    void EndTable() override;

    // The rows written per table, in the order the tables were begun.
    const QList<QPair<QString, qint64>>& Counts() const { return FCounts; }

private:
    QString Literal(const QVariant& Value) const;
    void Flush();
    void CommitIfDue();

    TUniConnection& FConn;
    TDBProviderType FType;
    enum TMode { mMultiRowInsert, mExecuteBlock, mParameters };
    TMode FMode;
    bool FBackslashEscapes = false;
    QString FTable;
    QStringList FColumns;
    QString FInsertHead; // "insert into T (a, b) values "
    QString FPending;    // rows as literal text, not yet sent
    int FPendingRows = 0;
    qint64 FRowsInTransaction = 0;
    std::unique_ptr<TUniSQL> FCommand;
    QList<QPair<QString, qint64>> FCounts;
};
