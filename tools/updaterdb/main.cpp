// kladde-updaterdb: builds the updater database Keytabs/DBUpdater.db3 from the script files of
// data/updater (see data/updater/README.md).
//
//   kladde-updaterdb OUT.db3 All.sql SQLite.sql MySQL.sql ...
//
// The file is written under a temporary name and renamed at the end, so that a failed run leaves
// no half-written database behind. Exit code 0 on success, 1 with a message on stderr otherwise.

#include "TScriptSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <sqlite3.h>
#include <stdexcept>

namespace {

// An open SQLite file; every failure raises std::runtime_error with SQLite's message.
class TDatabase
{
public:
    explicit TDatabase(const QString& FileName)
    {
        if (sqlite3_open_v2(FileName.toUtf8().constData(), &FDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
            SQLITE_OK)
            Fail();
    }
    ~TDatabase() { sqlite3_close(FDb); }

    void Exec(const char* Sql)
    {
        if (sqlite3_exec(FDb, Sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            Fail();
    }

    // Runs Sql once per row of Rows; each row binds its values to the "?" markers in order.
    void Insert(const char* Sql, const QList<QVariantList>& Rows)
    {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(FDb, Sql, -1, &stmt, nullptr) != SQLITE_OK)
            Fail();
        for (const QVariantList& row : Rows) {
            sqlite3_reset(stmt);
            for (int i = 0; i < row.size(); ++i) {
                const QVariant& v = row[i];
                if (v.typeId() == QMetaType::QString) {
                    const QByteArray text = v.toString().toUtf8();
                    sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                } else {
                    sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                }
            }
            if (sqlite3_step(stmt) != SQLITE_DONE) {
                sqlite3_finalize(stmt);
                Fail();
            }
        }
        sqlite3_finalize(stmt);
    }

private:
    [[noreturn]] void Fail() { throw std::runtime_error(sqlite3_errmsg(FDb)); }

    sqlite3* FDb = nullptr;
};

void Write(const QString& FileName, const QList<TUpdateScript>& Scripts)
{
    TDatabase db(FileName);
    db.Exec("BEGIN");
    db.Exec("CREATE TABLE SQLData (ID INTEGER PRIMARY KEY, DBType VARCHAR(20) NOT NULL, Version1 INTEGER NOT NULL, "
            "Version2 INTEGER NOT NULL, Version3 INTEGER NOT NULL, Version4 INTEGER NOT NULL, SQLText TEXT NOT NULL, "
            "\"Ignore\" INTEGER NOT NULL)");
    db.Exec("CREATE TABLE App_Config_ (Key_ VARCHAR(50) NOT NULL PRIMARY KEY, Value_I INTEGER)");
    db.Exec("CREATE TABLE AppData (Key_ VARCHAR(50) NOT NULL PRIMARY KEY, Value_S TEXT)");

    QList<QVariantList> rows;
    for (const TUpdateScript& s : Scripts)
        rows.append({qlonglong(rows.size() + 1), s.DBType, s.Version[0], s.Version[1], s.Version[2], s.Version[3],
                     s.SQLText, s.Ignore ? 1 : 0});
    db.Insert("INSERT INTO SQLData (ID, DBType, Version1, Version2, Version3, Version4, SQLText, \"Ignore\") "
              "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
              rows);

    // The updater database's own version: the schema version its scripts lead to.
    const std::array<int, 4> latest = TScriptSource::LatestVersion(Scripts);
    QList<QVariantList> settings;
    for (int i = 0; i < 4; ++i)
        settings.append({QStringLiteral("Version%1").arg(i + 1), latest[i]});
    db.Insert("INSERT INTO App_Config_ (Key_, Value_I) VALUES (?, ?)", settings);
    db.Insert("INSERT INTO AppData (Key_, Value_S) VALUES (?, ?)",
              {{QStringLiteral("Inhalt"), QStringLiteral("Aktualisierungsskripte der Kladde-Datenbank")}});
    db.Exec("COMMIT");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        err << "usage: kladde-updaterdb OUT.db3 SCRIPTS.sql...\n";
        return 2;
    }
    const QString out = QFileInfo(args.takeFirst()).absoluteFilePath();
    // "All" first, then the systems by name: the IDs do not change with the order of the arguments.
    std::sort(args.begin(), args.end(), [](const QString& A, const QString& B) {
        const QString a = QFileInfo(A).completeBaseName(), b = QFileInfo(B).completeBaseName();
        if ((a == QLatin1String("All")) != (b == QLatin1String("All")))
            return a == QLatin1String("All");
        return a < b;
    });

    QList<TUpdateScript> scripts;
    QString error;
    for (const QString& file : args)
        if (!TScriptSource::ReadFile(file, scripts, error)) {
            err << "kladde-updaterdb: " << error << "\n";
            return 1;
        }
    error = TScriptSource::CheckVersions(scripts);
    if (!error.isEmpty()) {
        err << "kladde-updaterdb: " << error << "\n";
        return 1;
    }

    const QString temp = out + QStringLiteral(".tmp");
    QDir().mkpath(QFileInfo(out).absolutePath());
    QFile::remove(temp);
    try {
        Write(temp, scripts);
    } catch (const std::exception& e) {
        QFile::remove(temp);
        err << "kladde-updaterdb: " << out << ": " << e.what() << "\n";
        return 1;
    }
    QFile::remove(out);
    if (!QFile::rename(temp, out)) {
        err << "kladde-updaterdb: cannot rename " << temp << " to " << out << "\n";
        return 1;
    }
    return 0;
}
