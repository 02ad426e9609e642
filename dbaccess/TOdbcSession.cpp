#include "TOdbcSession.h"

#include <QFileInfo>
#include <QSqlField>
#include <QSqlRecord>

namespace {

// The ODBC driver names of this platform.
QString SqlServerDriver()
{
#ifdef Q_OS_WIN
    return QStringLiteral("SQL Server");
#else
    return QStringLiteral("FreeTDS");
#endif
}

QString Braced(const QString& Value)
{
    QString v = Value;
    return QLatin1Char('{') + v.replace(QLatin1Char('}'), QLatin1String("}}")) + QLatin1Char('}');
}

QString ConnectString(TOdbcSession::TKind Kind, const TConnectionSettings& S)
{
    switch (Kind) {
    case TOdbcSession::okSqlServer: {
        QString server = S.Server;
#ifdef Q_OS_WIN
        if (S.Port > 0)
            server += QStringLiteral(",%1").arg(S.Port);
#endif
        QString text = QStringLiteral("DRIVER=%1;SERVER=%2;").arg(Braced(SqlServerDriver()), Braced(server));
#ifndef Q_OS_WIN
        text += QStringLiteral("PORT=%1;TDS_Version=7.4;ClientCharset=UTF-8;").arg(S.Port > 0 ? S.Port : 1433);
#endif
        text += QStringLiteral("DATABASE=%1;UID=%2;PWD=%3;").arg(Braced(S.Database), Braced(S.Username), Braced(S.Password));
        return text;
    }
    case TOdbcSession::okAccess:
        return QStringLiteral("DRIVER={Microsoft Access Driver (*.mdb, *.accdb)};DBQ=%1;UID=%2;PWD=%3;")
            .arg(Braced(S.Database), Braced(S.Username), Braced(S.Password));
    case TOdbcSession::okGeneric:
        return S.Database;
    }
    return S.Database;
}

} // namespace

TOdbcSession::TOdbcSession(TKind Kind, const TConnectionSettings& Settings) : TQtSqlSession(QStringLiteral("QODBC"))
{
    Database().setDatabaseName(ConnectString(Kind, Settings));
    if (Kind == okGeneric) {
        Database().setUserName(Settings.Username);
        Database().setPassword(Settings.Password);
    }
    OpenDatabase();
}

QVector<TColumnInfo> TOdbcSession::Describe(QSqlQuery& Query)
{
    // ODBC type codes (sql.h / sqlext.h).
    enum { Char = 1, Numeric = 2, Decimal = 3, Integer = 4, SmallInt = 5, Float = 6, Real = 7, Double = 8,
           Date = 91, Time = 92, Timestamp = 93, VarChar = 12, LongVarChar = -1, Binary = -2, VarBinary = -3,
           LongVarBinary = -4, BigInt = -5, TinyInt = -6, Bit = -7, WChar = -8, WVarChar = -9, WLongVarChar = -10,
           Guid = -11 };
    const QSqlRecord record = Query.record();
    QVector<TColumnInfo> columns;
    for (int i = 0; i < record.count(); ++i) {
        const QSqlField field = record.field(i);
        TColumnInfo c;
        c.Name = field.name();
        c.Required = field.requiredStatus() == QSqlField::Required;
        c.AutoIncrement = field.isAutoValue();
        const int length = field.length() > 0 ? field.length() : 0;
        switch (field.typeID()) {
        case Char: case WChar: c.NativeType = QStringLiteral("CHAR"); c.DataType = ftWideString; c.Size = length; break;
        case VarChar: case WVarChar: c.NativeType = QStringLiteral("VARCHAR"); c.DataType = ftWideString; c.Size = length; break;
        case LongVarChar: case WLongVarChar: c.NativeType = QStringLiteral("TEXT"); c.DataType = ftWideMemo; break;
        case TinyInt: c.NativeType = QStringLiteral("TINYINT"); c.DataType = ftByte; break;
        case SmallInt: c.NativeType = QStringLiteral("SMALLINT"); c.DataType = ftSmallint; break;
        case Integer: c.NativeType = QStringLiteral("INT"); c.DataType = ftInteger; break;
        case BigInt: c.NativeType = QStringLiteral("BIGINT"); c.DataType = ftLargeint; break;
        case Float: case Real: case Double: c.NativeType = QStringLiteral("FLOAT"); c.DataType = ftFloat; break;
        case Numeric: case Decimal:
            c.NativeType = QStringLiteral("DECIMAL"); c.DataType = ftBCD;
            c.Precision = length; c.Scale = field.precision(); break;
        case Date: c.NativeType = QStringLiteral("DATE"); c.DataType = ftDate; break;
        case Time: c.NativeType = QStringLiteral("TIME"); c.DataType = ftTime; break;
        case Timestamp: c.NativeType = QStringLiteral("DATETIME"); c.DataType = ftDateTime; break;
        case Bit: c.NativeType = QStringLiteral("BIT"); c.DataType = ftBoolean; break;
        case Binary: c.NativeType = QStringLiteral("BINARY"); c.DataType = ftBytes; c.Size = length; break;
        case VarBinary: c.NativeType = QStringLiteral("VARBINARY"); c.DataType = ftVarBytes; c.Size = length; break;
        case LongVarBinary: c.NativeType = QStringLiteral("IMAGE"); c.DataType = ftBlob; break;
        case Guid: c.NativeType = QStringLiteral("UNIQUEIDENTIFIER"); c.DataType = ftWideString; c.Size = 38; break;
        default: c.NativeType = QStringLiteral("UNKNOWN"); c.DataType = ftWideMemo; break;
        }
        if (c.AutoIncrement)
            c.DataType = ftAutoInc;
        columns.append(c);
    }
    return columns;
}
