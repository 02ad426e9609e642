#include "SchemaTestSupport.h"

#include "TIniFile.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "uCrypt.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

const TDocColumn* TDocTable::Column(const QString& ColumnName) const
{
    for (const TDocColumn& c : Columns)
        if (c.Name.compare(ColumnName, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

QStringList TDocTable::ColumnNames() const
{
    QStringList names;
    for (const TDocColumn& c : Columns)
        names << c.Name;
    return names;
}

QStringList TDocTable::KeyColumns() const
{
    QStringList names;
    for (const TDocColumn& c : Columns)
        if (c.Key)
            names << c.Name;
    return names;
}

const TDocTable* TSchemaDoc::Table(const QString& Name) const
{
    for (const TDocTable& t : Tables)
        if (t.Name.compare(Name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QStringList TSchemaDoc::TableNames() const
{
    QStringList names;
    for (const TDocTable& t : Tables)
        names << t.Name;
    return names;
}

QString TSchemaDoc::Declaration(const QString& Type, const QString& DBType) const
{
    static const QRegularExpression sized(QStringLiteral(R"(^(\w+)\((\d+)\)$)"));
    const auto m = sized.match(Type);
    if (m.hasMatch())
        return Types.value(m.captured(1) + QStringLiteral("(n)"))
            .value(DBType)
            .replace(QStringLiteral("(n)"), u'(' + m.captured(2) + u')');
    return Types.value(Type).value(DBType);
}

QString SourcePath(const QString& Relative)
{
    return QStringLiteral(KLADDE_SOURCE_DIR "/") + Relative;
}

QString BuildPath(const QString& Relative)
{
    return QStringLiteral(KLADDE_BINARY_DIR "/") + Relative;
}

QString UpdaterDatabase()
{
    return BuildPath(QStringLiteral("bin/Keytabs/DBUpdater.db3"));
}

namespace {

QStringList Cells(const QString& Line)
{
    QStringList cells = Line.trimmed().split(u'|');
    cells.removeFirst();
    cells.removeLast();
    for (QString& c : cells)
        c = c.trimmed();
    return cells;
}

TSchemaDoc ParseDoc()
{
    TSchemaDoc doc;
    QFile file(SourcePath(QStringLiteral("data/schema/Kladde-Datenbank.md")));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        return doc;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    QStringList typeHeader;
    bool inTypes = false;
    TDocTable* table = nullptr;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("## "))) {
            inTypes = line == QLatin1String("## Types");
            table = nullptr;
        } else if (line.startsWith(QLatin1String("### "))) {
            doc.Tables.append({line.mid(4).trimmed(), {}, {}});
            table = &doc.Tables.last();
        } else if (line.startsWith(u'|') && !line.startsWith(QLatin1String("|---"))) {
            const QStringList cells = Cells(line);
            if (inTypes) {
                if (typeHeader.isEmpty())
                    typeHeader = cells;
                else
                    for (int i = 1; i < cells.size() && i < typeHeader.size(); ++i)
                        doc.Types[cells[0]][typeHeader[i]] = cells[i];
            } else if (table && cells.size() == 4 && cells[0] != QLatin1String("Column")) {
                TDocColumn c;
                c.Key = cells[0].endsWith(QLatin1String(" (key)"));
                c.Name = c.Key ? cells[0].chopped(6) : cells[0];
                c.Type = cells[1];
                c.NotNull = cells[2] == QLatin1String("no");
                c.Meaning = cells[3];
                table->Columns.append(c);
            }
        } else if (table && line.startsWith(QLatin1String("Indexes: "))) {
            for (QString item : line.mid(9).split(QStringLiteral("; "))) {
                if (item.endsWith(u'.'))
                    item.chop(1);
                table->Indexes << item.section(QStringLiteral(", since"), 0, 0);
            }
        }
    }
    EXPECT_GE(doc.Tables.size(), 20);
    EXPECT_FALSE(doc.Types.isEmpty());
    for (const TDocTable& t : doc.Tables)
        EXPECT_FALSE(t.KeyColumns().isEmpty()) << t.Name.toStdString() << " documents no key";
    return doc;
}

} // namespace

const TSchemaDoc& SchemaDoc()
{
    static const TSchemaDoc doc = ParseDoc();
    return doc;
}

namespace {

void OpenUpdater(TUniConnection& Conn)
{
    Conn.SetProviderName(QStringLiteral("SQLite"));
    Conn.SetDatabase(UpdaterDatabase());
    Conn.SpecificOptions().SetValue(QStringLiteral("SQLite.ConnectMode"), QStringLiteral("cmReadOnly"));
    Conn.SetLoginPrompt(false);
    Conn.Connect();
}

} // namespace

QString LatestSchemaVersion()
{
    TUniConnection conn;
    OpenUpdater(conn);
    QStringList parts;
    for (int i = 1; i <= 4; ++i) {
        TUniQuery q(&conn);
        q.SetSQL(QStringLiteral("select Value_I from App_Config_ where Key_='Version%1'").arg(i));
        q.Open();
        parts << (q.Eof() ? QStringLiteral("?") : q.FieldByName(QStringLiteral("Value_I")).AsString());
    }
    return parts.join(u'.');
}

QList<TScriptRow> UpdaterScripts()
{
    TUniConnection conn;
    OpenUpdater(conn);
    TUniQuery q(&conn);
    q.SetSQL(QStringLiteral("select * from SQLData order by ID"));
    q.Open();
    QList<TScriptRow> rows;
    for (; !q.Eof(); q.Next()) {
        const QString version = QStringLiteral("%1.%2.%3.%4")
                                    .arg(q.FieldByName(QStringLiteral("Version1")).AsInteger())
                                    .arg(q.FieldByName(QStringLiteral("Version2")).AsInteger())
                                    .arg(q.FieldByName(QStringLiteral("Version3")).AsInteger())
                                    .arg(q.FieldByName(QStringLiteral("Version4")).AsInteger());
        rows.append({q.FieldByName(QStringLiteral("ID")).AsInteger(),
                     q.FieldByName(QStringLiteral("DBType")).AsString(), version,
                     q.FieldByName(QStringLiteral("SQLText")).AsString(),
                     q.FieldByName(QStringLiteral("Ignore")).AsInteger()});
    }
    return rows;
}

TProgramRun RunSampleGenerator(const QStringList& Args)
{
    return RunProgram(QStringLiteral("kladde-sample"), Args);
}

TProgramRun RunProgram(const QString& Name, const QStringList& Args)
{
    QProcess process;
    process.start(BuildPath(QStringLiteral("bin/") + Name), Args);
    TProgramRun run;
    if (!process.waitForFinished(5 * 60 * 1000)) {
        process.kill();
        process.waitForFinished();
        run.Err = Name + QStringLiteral(" did not finish: ") + process.errorString();
        return run;
    }
    run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.Out = QString::fromUtf8(process.readAllStandardOutput());
    run.Err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

QList<QPair<QString, qint64>> PrintedCounts(const QString& Out)
{
    static const QRegularExpression line(QStringLiteral(R"(^(\w+)\s+(\d+)$)"), QRegularExpression::MultilineOption);
    QList<QPair<QString, qint64>> counts;
    for (auto it = line.globalMatch(Out); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(1) != QLatin1String("total"))
            counts.append({m.captured(1), m.captured(2).toLongLong()});
    }
    return counts;
}

void WriteConfigFile(const QString& FileName, const TUniConnection& Conn)
{
    const QString section = QStringLiteral("Kladdeconnection");
    TIniFile ini(FileName);
    ini.EraseSection(section);
    const QString provider = Conn.ProviderName();
    if (provider == QLatin1String("SQLite")) {
        ini.WriteString(section, QStringLiteral("ProviderName"), QStringLiteral("SQLITE"));
        ini.WriteString(section, QStringLiteral("Database"), Conn.Database());
        return;
    }
    const QString format = provider == QLatin1String("MySQL") ? QStringLiteral("MYSQL") : QStringLiteral("FIREBIRD");
    ini.WriteString(section, QStringLiteral("ProviderName"), format);
    ini.WriteString(section, QStringLiteral("Server"), Conn.Server());
    ini.WriteString(section, QStringLiteral("Port"), QString::number(Conn.Port()));
    ini.WriteString(section, QStringLiteral("Database"), Conn.Database());
    ini.WriteString(section, QStringLiteral("Username"), Conn.Username());
    ini.WriteString(section, QStringLiteral("Password"), Encrypt(Conn.Password()));
    ini.WriteString(section, QStringLiteral("Direct"), QStringLiteral("0"));
}

QStringList DumpTable(TUniConnection& Conn, const TDocTable& Table)
{
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select %1 from %2 order by %3")
                 .arg(Table.ColumnNames().join(QStringLiteral(", ")), Table.Name,
                      Table.KeyColumns().join(QStringLiteral(", "))));
    q.Open();
    QStringList rows;
    for (; !q.Eof(); q.Next()) {
        QStringList values;
        for (int i = 0; i < q.FieldCount(); ++i) {
            const TField* f = q.Fields(i);
            if (f->IsNull()) {
                values << QStringLiteral("NULL");
                continue;
            }
            switch (f->DataType()) {
                case ftBoolean: values << (f->AsBoolean() ? QStringLiteral("true") : QStringLiteral("false")); break;
                case ftSmallint:
                case ftInteger:
                case ftWord:
                case ftByte:
                case ftLargeint:
                case ftAutoInc: values << QString::number(f->AsLargeInt()); break;
                case ftFloat: values << QString::number(f->AsFloat(), 'g', 12); break;
                case ftDate: values << f->AsDateTime().date().toString(Qt::ISODate); break;
                case ftDateTime: values << f->AsDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")); break;
                case ftBlob:
                case ftBytes:
                case ftVarBytes: values << QString::fromLatin1(f->AsBytes().toHex()); break;
                default: values << u'\'' + f->AsString() + u'\''; break;
            }
        }
        rows << values.join(u'|');
    }
    return rows;
}

qint64 CountRows(TUniConnection& Conn, const QString& Table)
{
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select count(*) as Anzahl from ") + Table);
    q.Open();
    return q.FieldByName(QStringLiteral("Anzahl")).AsLargeInt();
}
