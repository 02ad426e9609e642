#include "TFirebirdSession.h"

#include "EUniError.h"

#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlRecord>
#include <QSqlResult>
#include <ibase.h>
#include <vector>

namespace {

int BytesPerChar(int CharsetId, int Default)
{
    switch (CharsetId) {
    case 0: // NONE
    case 1: // OCTETS
    case 2: // ASCII
        return 1;
    case 3: // UNICODE_FSS
        return 3;
    case 4: // UTF8
        return 4;
    default:
        return CharsetId >= 10 && CharsetId < 70 ? 1 : Default; // the single-byte code pages
    }
}

} // namespace

TFirebirdSession::TFirebirdSession(const TConnectionSettings& Settings) : TQtSqlSession(QStringLiteral("QIBASE"))
{
    const QString provider = Settings.ProviderName;
    const bool unicode = Settings.Options.ProviderValue(provider, QStringLiteral("UseUnicode"))
                             .compare(QLatin1String("False"), Qt::CaseInsensitive) != 0;
    QString charset = Settings.Options.ProviderValue(provider, QStringLiteral("Charset"));
    if (unicode || charset.isEmpty())
        charset = QStringLiteral("UTF8");
    FBytesPerChar = charset.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0 ? 4 : 1;

    Database().setHostName(Settings.Server);
    if (Settings.Port > 0)
        Database().setPort(Settings.Port);
    Database().setDatabaseName(Settings.Database);
    Database().setUserName(Settings.Username);
    Database().setPassword(Settings.Password);
    Database().setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=%1").arg(charset));
    OpenDatabase();
}

QVariant TFirebirdSession::ReadValue(const QVariant& Value, const TColumnInfo& Column) const
{
    if (Column.DataType != ftBCD || Column.Scale <= 0 || Value.isNull())
        return Value;
    return QString::number(Value.toDouble(), 'f', Column.Scale);
}

bool TFirebirdSession::CountsRows(const QString& Sql) const
{
    static const QRegularExpression schema(QStringLiteral(R"(^\s*(create|alter|drop|recreate|declare|grant|revoke|comment|set)\b)"),
                                           QRegularExpression::CaseInsensitiveOption);
    return !schema.match(Sql).hasMatch();
}

QStringList TFirebirdSession::PrimaryKey(const QString& Table)
{
    // Unquoted names are stored in upper case.
    return TQtSqlSession::PrimaryKey(Table.toUpper());
}

const QSet<QString>& TFirebirdSession::IdentityColumns(const QString& Table)
{
    auto it = FIdentityColumns.find(Table);
    if (it != FIdentityColumns.end())
        return *it;
    QSet<QString> names;
    QSqlQuery query = Run(QStringLiteral("select trim(RDB$FIELD_NAME) from RDB$RELATION_FIELDS "
                                         "where RDB$RELATION_NAME = ? and RDB$IDENTITY_TYPE is not null"),
                          {Table});
    while (query.next())
        names.insert(query.value(0).toString());
    return *FIdentityColumns.insert(Table, names);
}

QVector<TColumnInfo> TFirebirdSession::Describe(QSqlQuery& Query)
{
    const QVariant h = Query.result()->handle();
    isc_stmt_handle stmt = h.isValid() ? *static_cast<const isc_stmt_handle*>(h.constData()) : 0;
    const int count = Query.record().count();
    std::vector<char> buffer(XSQLDA_LENGTH(qMax(1, count)));
    auto* sqlda = reinterpret_cast<XSQLDA*>(buffer.data());
    sqlda->version = SQLDA_VERSION1;
    sqlda->sqln = short(qMax(1, count));
    ISC_STATUS_ARRAY status = {};
    if (isc_dsql_describe(status, &stmt, SQLDA_VERSION1, sqlda) != 0)
        throw EUniError(QStringLiteral("Cannot describe the columns of: %1").arg(Query.lastQuery()));

    QVector<TColumnInfo> columns;
    for (int i = 0; i < count; ++i) {
        const XSQLVAR& v = sqlda->sqlvar[i];
        TColumnInfo c;
        c.Name = QString::fromUtf8(v.aliasname, v.aliasname_length);
        c.TableName = QString::fromUtf8(v.relname, v.relname_length);
        c.Required = (v.sqltype & 1) == 0;
        const int type = v.sqltype & ~1;
        const bool scaled = v.sqlscale < 0;
        auto whole = [&](const char* Name, TFieldType Type) {
            c.NativeType = QString::fromLatin1(scaled ? "NUMERIC" : Name);
            c.DataType = scaled ? ftBCD : Type;
            c.Scale = -v.sqlscale;
        };
        switch (type) {
        case SQL_TEXT:
        case SQL_VARYING:
            c.NativeType = QString::fromLatin1(type == SQL_TEXT ? "CHAR" : "VARCHAR");
            if (v.sqlsubtype == 1) { // CHARACTER SET OCTETS
                c.DataType = type == SQL_TEXT ? ftBytes : ftVarBytes;
                c.Size = v.sqllen;
            } else {
                c.DataType = ftWideString;
                c.Size = v.sqllen / BytesPerChar(v.sqlsubtype, FBytesPerChar);
            }
            break;
        case SQL_SHORT: whole("SMALLINT", ftSmallint); break;
        case SQL_LONG: whole("INTEGER", ftInteger); break;
        case SQL_INT64: whole("BIGINT", ftLargeint); break;
        case SQL_FLOAT:
            c.NativeType = QStringLiteral("FLOAT");
            c.DataType = ftFloat;
            break;
        case SQL_DOUBLE:
        case SQL_D_FLOAT:
            c.NativeType = QStringLiteral("DOUBLE PRECISION");
            c.DataType = ftFloat;
            break;
        case SQL_TIMESTAMP:
            c.NativeType = QStringLiteral("TIMESTAMP");
            c.DataType = ftDateTime;
            break;
        case SQL_TYPE_DATE:
            c.NativeType = QStringLiteral("DATE");
            c.DataType = ftDate;
            break;
        case SQL_TYPE_TIME:
            c.NativeType = QStringLiteral("TIME");
            c.DataType = ftTime;
            break;
        case SQL_BLOB:
            c.NativeType = QString::fromLatin1(v.sqlsubtype == 1 ? "TEXT" : "BLOB");
            c.DataType = v.sqlsubtype == 1 ? ftWideMemo : ftBlob;
            break;
        case SQL_BOOLEAN:
            c.NativeType = QStringLiteral("BOOLEAN");
            c.DataType = ftBoolean;
            break;
        default:
            c.NativeType = QStringLiteral("UNKNOWN");
            c.DataType = ftUnknown;
            break;
        }
        if (!c.TableName.isEmpty()) {
            const QString origin = QString::fromUtf8(v.sqlname, v.sqlname_length);
            if (IdentityColumns(c.TableName).contains(origin)) {
                c.AutoIncrement = true;
                c.DataType = ftAutoInc;
            }
        }
        columns.append(c);
    }
    return columns;
}
