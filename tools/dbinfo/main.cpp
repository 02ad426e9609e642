// kladde-dbinfo: opens a database through the project's database access layer and prints its
// tables, their row counts and their columns with the field types the layer reads them as.
//
//   kladde-dbinfo "Provider Name=SQLite;Database=school.sqlite"
//   kladde-dbinfo "Provider Name=MySQL;Data Source=127.0.0.1;Port=3306;Database=kladde;User ID=u;Password=p"

#include "EUniError.h"
#include "TUniConnection.h"
#include "TUniQuery.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() != 1) {
        err << "usage: kladde-dbinfo \"Provider Name=...;Database=...[;Data Source=...;Port=...;User ID=...;Password=...]\"\n";
        return 2;
    }
    TUniConnection conn;
    conn.SetConnectString(args[0]);
    conn.SetLoginPrompt(false);
    try {
        conn.Connect();
        QStringList tables = conn.GetTableNames();
        tables.sort(Qt::CaseInsensitive);
        for (const QString& table : tables) {
            TUniQuery count(&conn);
            count.SetSQL(QStringLiteral("select count(*) as Anzahl from ") + table);
            count.Open();
            out << table << " (" << count.FieldByName(QStringLiteral("Anzahl")).AsLargeInt() << " rows)\n";
            TUniQuery columns(&conn);
            columns.SetSQL(QStringLiteral("select * from ") + table + QStringLiteral(" where 1=0"));
            columns.Open();
            for (int i = 0; i < columns.FieldCount(); ++i) {
                const TField* f = columns.Fields(i);
                out << "    " << f->FieldName() << ": " << FieldTypeName(f->DataType());
                if (f->Size() > 0)
                    out << "(" << f->Size() << ")";
                out << " [" << f->NativeType() << "]" << (f->Required() ? " required" : "")
                    << (f->Column().AutoIncrement ? " auto-increment" : "") << "\n";
            }
        }
    } catch (const Exception& e) {
        err << "kladde-dbinfo: " << e.Message() << "\n";
        return 1;
    }
    return 0;
}
