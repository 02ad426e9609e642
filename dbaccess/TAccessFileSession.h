#pragma once

#include "TSQLiteSession.h"

#include <QTemporaryDir>

// Reads the Access file into a private SQLite copy before the session opens it.
class TAccessFileCopy
{
protected:
    explicit TAccessFileCopy(const QString& AccessPath);
    QString CopyPath() const { return FDir.filePath(QStringLiteral("access-copy.db3")); }
    QString FAccessPath;

private:
    QTemporaryDir FDir;
};

// An Access file (.mdb, .accdb) where no Access driver is installed: its tables are read into a
// temporary SQLite database when the connection opens, and queries are answered there. Column
// types are those of the Access file. Every change is refused: the Access file stays as it is.
class TAccessFileSession : private TAccessFileCopy, public TSQLiteSession
{
public:
    explicit TAccessFileSession(const TConnectionSettings& Settings);

    qint64 Execute(const QString& Sql, const QVector<QVariant>& Params) override;
};
