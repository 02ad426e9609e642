#pragma once

#include "TQtSqlSession.h"

struct sqlite3;
struct sqlite3_stmt;

// SQLite files through Qt's SQLite driver. Columns are described from their declared types
// ("VARCHAR(50)", "BIGINT", "DATETIME"), which SQLite keeps for every column of a table.
// Options: "ConnectMode" = "cmReadOnly" opens read-only; "ForceCreateDatabase" = "True" creates a
// missing file (otherwise a missing file is an error); a non-empty "EncryptionKey" is refused,
// since encrypted SQLite files are not supported here.
class TSQLiteSession : public TQtSqlSession
{
public:
    explicit TSQLiteSession(const TConnectionSettings& Settings);

    bool ReadOnly() const override { return FReadOnly; }
    // The tables of the file, without SQLite's own ("sqlite_sequence").
    QStringList TableNames() override;

    // Describes a column from its declared type. Shared with the Access files on Linux, whose
    // declared types carry the Access type ("TEXT(50)", "LONG", "AUTOINCREMENT", "CURRENCY").
    static void ApplyDeclaredType(const QString& Declared, TColumnInfo& Column);

protected:
    // For the Access session: a session on a file that is opened read-only with no further checks.
    struct TReadOnlyFile {
        QString Path;
    };
    explicit TSQLiteSession(const TReadOnlyFile& File);

    QVector<TColumnInfo> Describe(QSqlQuery& Query) override;
    // Dates are stored as text "yyyy-MM-dd HH:mm:ss", which SQLite's date functions read.
    QVariant BindValue(const QVariant& Value) const override;
    sqlite3* Handle();

private:
    bool FReadOnly = false;
};
