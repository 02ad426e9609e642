// kladde-bench-stream: writes a table of N rows and reads it back through the database access
// layer as a forward stream, printing the time taken and the process's peak memory before and
// after the read (the read must not raise it with the table's size).
//
//   kladde-bench-stream [--rows N] [--connect "Provider Name=...;..."]
// Without --connect the table goes into a temporary SQLite file.

#include "EUniError.h"
#include "TUniConnection.h"
#include "TUniQuery.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Peak resident memory of this process in KiB (Linux); 0 where it cannot be read.
qint64 PeakMemoryKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

void Fill(TUniConnection& Conn, qint64 Rows, QTextStream& Out)
{
    Conn.ExecSQL(QStringLiteral("create table BenchRows (ID bigint not null primary key, Name varchar(60), "
                                "Note varchar(200), Amount double precision)"));
    if (Conn.ProviderName().compare(QLatin1String("InterBase"), Qt::CaseInsensitive) == 0) {
        // One statement per row would take most of the time: the server fills the table itself.
        Conn.ExecSQL(QStringLiteral("execute block as declare i bigint = 1; begin while (i <= %1) do begin "
                                    "insert into BenchRows values (:i, 'Schüler ' || :i, 'Bemerkung zu ' || :i || "
                                    "' mit etwas Text', :i * 0.25); i = i + 1; end end")
                         .arg(Rows));
        Out << "written: " << Rows << " rows\n";
        return;
    }
    const qint64 batch = 1000;
    Conn.StartTransaction();
    for (qint64 first = 1; first <= Rows; first += batch) {
        QStringList values;
        for (qint64 id = first; id < first + batch && id <= Rows; ++id)
            values << QStringLiteral("(%1,'Schüler %1','Bemerkung zu %1 mit etwas Text',%2)").arg(id).arg(QString::number(id * 0.25, 'f', 2));
        Conn.ExecSQL(QStringLiteral("insert into BenchRows values ") + values.join(QLatin1Char(',')));
        if ((first / batch) % 100 == 99) {
            Conn.Commit();
            Conn.StartTransaction();
        }
    }
    Conn.Commit();
    Out << "written: " << Rows << " rows\n";
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    qint64 rows = 1000000;
    QString connect;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--rows"))
            rows = args[i + 1].toLongLong();
        else if (args[i] == QLatin1String("--connect"))
            connect = args[i + 1];
    }
    QTemporaryDir dir;
    TUniConnection conn;
    if (connect.isEmpty()) {
        conn.SetProviderName(QStringLiteral("SQLite"));
        conn.SetDatabase(dir.filePath(QStringLiteral("bench.sqlite")));
        conn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
    } else {
        conn.SetConnectString(connect);
    }
    conn.SetLoginPrompt(false);
    try {
        conn.Connect();
        try {
            conn.ExecSQL(QStringLiteral("drop table BenchRows"));
        } catch (const EUniError&) {
        }
        Fill(conn, rows, out);
        const qint64 before = PeakMemoryKiB();
        QElapsedTimer timer;
        timer.start();
        TUniQuery q(&conn);
        q.SetSQL(QStringLiteral("select * from BenchRows"));
        q.Open();
        qint64 seen = 0;
        double sum = 0;
        for (; !q.Eof(); q.Next()) {
            ++seen;
            sum += q.FieldByName(QStringLiteral("Amount")).AsFloat();
        }
        const double seconds = timer.elapsed() / 1000.0;
        out << conn.ProviderName() << ": read " << seen << " rows in " << seconds << " s ("
            << qint64(seen / qMax(seconds, 0.001)) << " rows/s), checksum " << qint64(sum) << "\n";
        out << "peak memory before the read: " << before << " KiB, after: " << PeakMemoryKiB() << " KiB\n";
        conn.ExecSQL(QStringLiteral("drop table BenchRows"));
    } catch (const Exception& e) {
        QTextStream(stderr) << "kladde-bench-stream: " << e.Message() << "\n";
        return 1;
    }
    return 0;
}
