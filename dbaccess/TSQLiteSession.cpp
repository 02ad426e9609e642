#include "TSQLiteSession.h"

#include "EUniError.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QSqlResult>
#include <sqlite3.h>

namespace {

bool IsTrue(const QString& Value)
{
    return Value.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0 || Value == QLatin1String("1");
}

} // namespace

TSQLiteSession::TSQLiteSession(const TConnectionSettings& Settings) : TQtSqlSession(QStringLiteral("QSQLITE"))
{
    const QString provider = Settings.ProviderName;
    if (!Settings.Options.ProviderValue(provider, QStringLiteral("EncryptionKey")).isEmpty())
        throw EUniError(QStringLiteral("Encrypted SQLite databases are not supported: %1").arg(Settings.Database));
    if (Settings.Database.isEmpty())
        throw EUniError(QStringLiteral("No SQLite database file given"));
    FReadOnly = Settings.Options.ProviderValue(provider, QStringLiteral("ConnectMode"))
                    .compare(QLatin1String("cmReadOnly"), Qt::CaseInsensitive) == 0;
    const bool create = IsTrue(Settings.Options.ProviderValue(provider, QStringLiteral("ForceCreateDatabase")));
    if (!QFileInfo::exists(Settings.Database) && (FReadOnly || !create))
        throw EUniError(QStringLiteral("The database file \"%1\" does not exist").arg(Settings.Database));

    Database().setDatabaseName(Settings.Database);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (FReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    Database().setConnectOptions(options);
    OpenDatabase();
    // A file that is not a database opens without complaint; the first read tells.
    Run(QStringLiteral("select count(*) from sqlite_master"), {}).finish();
}

TSQLiteSession::TSQLiteSession(const TReadOnlyFile& File) : TQtSqlSession(QStringLiteral("QSQLITE"))
{
    FReadOnly = true;
    Database().setDatabaseName(File.Path);
    Database().setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    OpenDatabase();
}

QStringList TSQLiteSession::TableNames()
{
    QStringList names;
    for (const QString& name : TQtSqlSession::TableNames())
        if (!name.startsWith(QLatin1String("sqlite_"), Qt::CaseInsensitive))
            names << name;
    return names;
}

QVariant TSQLiteSession::BindValue(const QVariant& Value) const
{
    if (Value.isNull())
        return Value;
    switch (Value.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = Value.toDateTime();
        return dt.toString(dt.time().msec() ? QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz") : QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case QMetaType::QDate:
        return Value.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
        return Value.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool:
        return Value.toBool() ? 1 : 0;
    default:
        return Value;
    }
}

sqlite3* TSQLiteSession::Handle()
{
    const QVariant handle = Database().driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

void TSQLiteSession::ApplyDeclaredType(const QString& Declared, TColumnInfo& Column)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^\s*([A-Za-z_][A-Za-z_ ]*?)\s*(?:\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))?\s*$)"));
    const auto m = pattern.match(Declared);
    QString base = m.hasMatch() ? m.captured(1).simplified().toUpper() : Declared.simplified().toUpper();
    // "MEMO_TEXT", "CURRENCY_TEXT": a type name with the suffix that gives SQLite text affinity.
    if (base.endsWith(QLatin1String("_TEXT")))
        base.chop(5);
    const int size = m.hasMatch() ? m.captured(2).toInt() : 0;
    Column.NativeType = base;
    Column.Size = 0;

    auto text = [&](TFieldType Type) {
        Column.DataType = Type;
        Column.Size = size;
    };
    if (base == QLatin1String("VARCHAR") || base == QLatin1String("NVARCHAR") || base == QLatin1String("CHAR")
        || base == QLatin1String("NCHAR") || base == QLatin1String("CHARACTER") || base == QLatin1String("VARYING CHARACTER")
        || base == QLatin1String("TEXT") && size > 0)
        size > 0 ? text(ftWideString) : text(ftWideMemo);
    else if (base.contains(QLatin1String("TEXT")) || base.contains(QLatin1String("CLOB")) || base == QLatin1String("MEMO"))
        Column.DataType = ftWideMemo;
    else if (base == QLatin1String("AUTOINCREMENT") || base == QLatin1String("COUNTER")) {
        Column.DataType = ftAutoInc;
        Column.AutoIncrement = true;
    } else if (base == QLatin1String("BIGINT") || base == QLatin1String("INT8") || base == QLatin1String("UNSIGNED BIG INT"))
        Column.DataType = ftLargeint;
    else if (base == QLatin1String("SMALLINT") || base == QLatin1String("TINYINT") || base == QLatin1String("INT2"))
        Column.DataType = ftSmallint;
    else if (base == QLatin1String("BYTE"))
        Column.DataType = ftByte;
    else if (base == QLatin1String("LONG") || base.contains(QLatin1String("INT")))
        Column.DataType = ftInteger;
    else if (base == QLatin1String("REAL") || base == QLatin1String("FLOAT") || base == QLatin1String("DOUBLE")
             || base == QLatin1String("DOUBLE PRECISION") || base == QLatin1String("SINGLE"))
        Column.DataType = ftFloat;
    else if (base == QLatin1String("CURRENCY") || base == QLatin1String("MONEY"))
        Column.DataType = ftCurrency;
    else if (base == QLatin1String("NUMERIC") || base == QLatin1String("DECIMAL")) {
        Column.DataType = ftBCD;
        Column.Precision = size;
        Column.Scale = m.hasMatch() ? m.captured(3).toInt() : 0;
    } else if (base == QLatin1String("DATE"))
        Column.DataType = ftDate;
    else if (base == QLatin1String("TIME"))
        Column.DataType = ftTime;
    else if (base == QLatin1String("DATETIME") || base == QLatin1String("TIMESTAMP"))
        Column.DataType = ftDateTime;
    else if (base == QLatin1String("BOOLEAN") || base == QLatin1String("BOOL") || base == QLatin1String("BIT"))
        Column.DataType = ftBoolean;
    else if (base == QLatin1String("BINARY") || base == QLatin1String("VARBINARY")) {
        Column.DataType = base == QLatin1String("BINARY") ? ftBytes : ftVarBytes;
        Column.Size = size;
    } else if (base.contains(QLatin1String("BLOB")) || base == QLatin1String("OLEOBJECT") || base == QLatin1String("IMAGE"))
        Column.DataType = ftBlob;
    else if (base == QLatin1String("GUID")) {
        Column.DataType = ftWideString;
        Column.Size = 38;
    } else
        Column.DataType = ftWideMemo;
}

QVector<TColumnInfo> TSQLiteSession::Describe(QSqlQuery& Query)
{
    const QVariant h = Query.result()->handle();
    sqlite3_stmt* stmt = h.isValid() ? *static_cast<sqlite3_stmt* const*>(h.data()) : nullptr;
    sqlite3* db = Handle();
    const QSqlRecord record = Query.record();
    QVector<TColumnInfo> columns;
    for (int i = 0; i < record.count(); ++i) {
        TColumnInfo column;
        column.Name = record.fieldName(i);
        const char* declared = stmt ? sqlite3_column_decltype(stmt, i) : nullptr;
        if (declared) {
            ApplyDeclaredType(QString::fromUtf8(declared), column);
            const char* table = sqlite3_column_table_name(stmt, i);
            const char* origin = sqlite3_column_origin_name(stmt, i);
            const char* schema = sqlite3_column_database_name(stmt, i);
            int notNull = 0, primaryKey = 0, autoIncrement = 0;
            if (table && origin && db
                && sqlite3_table_column_metadata(db, schema, table, origin, nullptr, nullptr, &notNull, &primaryKey,
                                                 &autoIncrement) == SQLITE_OK) {
                column.TableName = QString::fromUtf8(table);
                column.Required = notNull != 0;
                // Only AUTOINCREMENT makes an identity column: a plain INTEGER PRIMARY KEY takes the
                // values it is given, so copies keep their identifiers.
                if (autoIncrement) {
                    column.AutoIncrement = true;
                    column.DataType = ftAutoInc;
                }
            }
        } else {
            // An expression: its kind is that of the value in the first row.
            column.NativeType.clear();
            switch (stmt ? sqlite3_column_type(stmt, i) : SQLITE_NULL) {
            case SQLITE_INTEGER: column.DataType = ftLargeint; break;
            case SQLITE_FLOAT: column.DataType = ftFloat; break;
            case SQLITE_BLOB: column.DataType = ftBlob; break;
            default: column.DataType = ftWideMemo; break;
            }
        }
        columns.append(column);
    }
    return columns;
}
