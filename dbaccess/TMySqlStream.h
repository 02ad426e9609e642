#pragma once

#include "TColumnInfo.h"
#include "TMySqlField.h"

#include <QByteArray>
#include <QVariant>
#include <QVector>

#include <deque>
#include <vector>

class QSqlDatabase;
typedef struct st_mysql MYSQL;
typedef struct st_mysql_res MYSQL_RES;

// A forward-only reader of one statement's result on a MySQL/MariaDB connection that holds one
// row in client memory at a time (the connection's own driver buffers whole results).
// Only the first result of the statement is delivered; further results (multi-statements, the
// status result of CALL) are read off and dropped once the first one is finished.
// While Pending() the connection can run no other command: finish the stream, destroy it or
// call Buffer() first. Not thread-safe; the handle stays owned by its connection and must
// outlive the stream.
class TMySqlStream
{
public:
    // Runs Sql (UTF-8) on Handle and, when it yields a result set, starts reading it.
    // Throws EUniError with the server's message and error number on failure.
    // REQUIRES: Handle is connected and no other result is pending on it.
    TMySqlStream(MYSQL* Handle, const QByteArray& Sql);
    // Reads off and frees what is left, so that the connection can be used again. Never throws.
    ~TMySqlStream();
    TMySqlStream(const TMySqlStream&) = delete;
    TMySqlStream& operator=(const TMySqlStream&) = delete;

    // The MYSQL* of an open connection of Qt's QMYSQL driver; nullptr for another driver or a
    // closed connection.
    static MYSQL* HandleOf(const QSqlDatabase& Database);

    bool HasResult() const { return FHasResult; }
    // Rows changed by a statement without result set; -1 for one with result set.
    qint64 AffectedRows() const { return FAffectedRows; }
    const QVector<TColumnInfo>& Columns() const { return FColumns; }

    // The next row into Row, one QVariant per column (a null QVariant of the column's value type
    // for NULL). False at the end, and for statements without result set.
    // Throws EUniError when the server or the connection fails mid-stream, or when a later
    // statement of the same Sql fails; the stream is then at its end and the rows before the
    // failure have been delivered.
    bool Fetch(QVector<QVariant>& Row);
    // Reads the rest of the result into memory, so that the connection can run other commands
    // while Fetch goes on with the buffered rows. Throws EUniError like Fetch (the rows read before
    // the failure stay buffered).
    void Buffer();
    // The result is not yet read to its end and not buffered: the connection is busy.
    bool Pending() const { return FResult != nullptr; }

private:
    // Reads the next row from the server into Row; false at the end. Throws on failure.
    bool ReadRow(QVector<QVariant>& Row);
    // Frees the result and reads off any further results of the statement.
    void Finish(bool ThrowOnError);
    [[noreturn]] void ThrowError() const;

    MYSQL* FHandle;
    MYSQL_RES* FResult = nullptr;
    bool FHasResult = false;
    qint64 FAffectedRows = -1;
    QVector<TColumnInfo> FColumns;
    std::vector<TMySqlField> FFields;
    std::deque<QVector<QVariant>> FBuffered;
};
