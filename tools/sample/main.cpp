// kladde-sample: writes a sample school into a Kladde database, for the demo, the tests and the
// benchmarks.
//
//   kladde-sample --pupils N [--seed S] --out FILE.sqlite     a new SQLite file with the schema
//   kladde-sample --pupils N [--seed S] --config FILE.kdbcfg  the empty database the file names,
//                                                             already brought to the current schema
//   further option: --updater FILE.db3 (default: Keytabs/DBUpdater.db3 beside the program)
//
// The schema of a new file comes from the SQLite scripts of the updater database. Prints the rows
// written per table and the time taken. Exit code 0 on success, 1 on an error, 2 on a usage error.

#include "EUniError.h"
#include "TRowWriter.h"
#include "TSampleSchool.h"
#include "TSchemaScripts.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "uKladdeConnector.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

// Refuses a destination that misses a table or already holds rows: the sample's keys would clash.
void CheckEmpty(TUniConnection& Conn)
{
    for (const QString& table : TSampleSchool::TableNames()) {
        TUniQuery count(&Conn);
        count.SetSQL(QStringLiteral("select count(*) as Anzahl from ") + table);
        count.Open();
        if (count.FieldByName(QStringLiteral("Anzahl")).AsLargeInt() > 0)
            throw EUniError(QStringLiteral("the table %1 is not empty").arg(table));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes a sample school into a Kladde database."));
    parser.addHelpOption();
    parser.addOption({QStringLiteral("pupils"), QStringLiteral("Number of pupils."), QStringLiteral("N")});
    parser.addOption({QStringLiteral("seed"), QStringLiteral("Seed of the random choices (default 1)."),
                      QStringLiteral("S"), QStringLiteral("1")});
    parser.addOption({QStringLiteral("out"), QStringLiteral("New SQLite file to create."), QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("config"), QStringLiteral("Configuration file of an empty, updated database."),
                      QStringLiteral("FILE")});
    parser.addOption({QStringLiteral("updater"), QStringLiteral("Updater database with the schema scripts."),
                      QStringLiteral("FILE"),
                      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Keytabs/DBUpdater.db3"))});
    parser.process(app);

    bool pupilsOk = false, seedOk = false;
    const int pupils = parser.value(QStringLiteral("pupils")).toInt(&pupilsOk);
    const quint64 seed = parser.value(QStringLiteral("seed")).toULongLong(&seedOk);
    if (!pupilsOk || pupils < 0 || !seedOk ||
        parser.isSet(QStringLiteral("out")) == parser.isSet(QStringLiteral("config"))) {
        err << "usage: kladde-sample --pupils N [--seed S] (--out FILE.sqlite | --config FILE.kdbcfg) [--updater "
               "FILE.db3]\n";
        return 2;
    }

    TUniConnection conn;
    conn.SetLoginPrompt(false);
    TKladdeConnector connector(&conn);
    TDBProviderType type = dbpSQLite;
    QElapsedTimer timer;
    QString created; // the new file, removed again when the run fails
    try {
        if (parser.isSet(QStringLiteral("out"))) {
            const QString file = QFileInfo(parser.value(QStringLiteral("out"))).absoluteFilePath();
            if (QFileInfo::exists(file))
                throw EUniError(QStringLiteral("%1 exists already").arg(file));
            created = file;
            conn.SetProviderName(QStringLiteral("SQLite"));
            conn.SetDatabase(file);
            conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ForceCreateDatabase"), QStringLiteral("True"));
            conn.Connect();
            const QString version =
                TSchemaScripts::Apply(parser.value(QStringLiteral("updater")), conn, dbpSQLite);
            out << "Schema " << version << " in " << file << "\n";
        } else {
            connector.SetConnectionFile(QFileInfo(parser.value(QStringLiteral("config"))).absoluteFilePath());
            if (!connector.Connect())
                throw EUniError(connector.ErrorMessage());
            type = connector.DBProviderType();
            CheckEmpty(conn);
            out << "Database " << conn.Database() << " (" << connector.DBFormat() << ")\n";
        }
        timer.start();
        TRowWriter writer(conn, type);
        TSampleSchool(pupils, seed).Write(writer);
        qint64 total = 0;
        for (const auto& [table, rows] : writer.Counts()) {
            out << QStringLiteral("%1 %2\n").arg(table, -30).arg(rows, 9);
            total += rows;
        }
        out << QStringLiteral("%1 %2\n").arg(QStringLiteral("total"), -30).arg(total, 9);
        out << QStringLiteral("%1 pupils, seed %2: %3 rows in %4 s\n")
                   .arg(pupils)
                   .arg(seed)
                   .arg(total)
                   .arg(timer.elapsed() / 1000.0, 0, 'f', 1);
    } catch (const Exception& e) {
        err << "kladde-sample: " << e.Message() << "\n";
        if (!created.isEmpty()) {
            conn.Disconnect();
            QFile::remove(created);
        }
        return 1;
    }
    return 0;
}
