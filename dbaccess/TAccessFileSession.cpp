#include "TAccessFileSession.h"

#include "EUniError.h"
#include "TAccessImporter.h"

#include <QFileInfo>
#include <sqlite3.h>

TAccessFileCopy::TAccessFileCopy(const QString& AccessPath) : FAccessPath(AccessPath)
{
    if (AccessPath.isEmpty())
        throw EUniError(QStringLiteral("No Access database file given"));
    if (!QFileInfo::exists(AccessPath))
        throw EUniError(QStringLiteral("The database file \"%1\" does not exist").arg(AccessPath));
    if (!FDir.isValid())
        throw EUniError(QStringLiteral("No temporary folder for reading %1: %2").arg(AccessPath, FDir.errorString()));
    sqlite3* db = nullptr;
    const QByteArray path = CopyPath().toUtf8();
    if (sqlite3_open_v2(path.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        throw EUniError(message);
    }
    try {
        ImportAccessFile(AccessPath, db);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

TAccessFileSession::TAccessFileSession(const TConnectionSettings& Settings)
    : TAccessFileCopy(Settings.Database), TSQLiteSession(TReadOnlyFile{CopyPath()})
{
}

qint64 TAccessFileSession::Execute(const QString& Sql, const QVector<QVariant>& Params)
{
    throw EUniError(QStringLiteral("Access files can only be read on this system; the change was not made to %1")
                        .arg(FAccessPath));
}
