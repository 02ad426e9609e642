#include "TMySqlSession.h"

#include "EUniError.h"
#include "TMySqlStream.h"
#include "TParams.h"

#include <QDate>
#include <QDateTime>
#include <mysql.h>

namespace {

class TMySqlCursor : public TProviderCursor
{
public:
    TMySqlCursor(TMySqlSession* Session, std::unique_ptr<TMySqlStream> Stream)
        : FSession(Session), FStream(std::move(Stream))
    {
    }
    ~TMySqlCursor() override
    {
        if (FSession)
            FSession->Forget(FStream.get());
    }
    const QVector<TColumnInfo>& Columns() const override { return FStream->Columns(); }
    bool Fetch(QVector<QVariant>& Row) override
    {
        const bool more = FStream->Fetch(Row);
        if (!more && FSession)
            FSession->Forget(FStream.get());
        return more;
    }
private:
    TMySqlSession* FSession;
    std::unique_ptr<TMySqlStream> FStream;
};

void Configure(QSqlDatabase& Db, const TConnectionSettings& Settings)
{
    Db.setHostName(Settings.Server.isEmpty() ? QStringLiteral("localhost") : Settings.Server);
    if (Settings.Port > 0)
        Db.setPort(Settings.Port);
    Db.setDatabaseName(Settings.Database);
    Db.setUserName(Settings.Username);
    Db.setPassword(Settings.Password);
    Db.setConnectOptions(QStringLiteral("MYSQL_OPT_CONNECT_TIMEOUT=15"));
}

void UseUtf8mb4(const QSqlDatabase& Db)
{
    MYSQL* handle = TMySqlStream::HandleOf(Db);
    if (handle && mysql_set_character_set(handle, "utf8mb4") != 0)
        throw EUniError(QString::fromUtf8(mysql_error(handle)), int(mysql_errno(handle)));
}

} // namespace

TMySqlSession::TMySqlSession(const TConnectionSettings& Settings)
    : TQtSqlSession(QStringLiteral("QMYSQL")), FSettings(Settings)
{
    Configure(Database(), Settings);
    OpenDatabase();
    UseUtf8mb4(Database());
}

TMySqlSession::~TMySqlSession()
{
    FPending.clear();
    if (FReader.isValid()) {
        FReader.close();
        FReader = QSqlDatabase();
        QSqlDatabase::removeDatabase(FReaderName);
    }
}

QByteArray TMySqlSession::Bind(MYSQL* Handle, const QString& Sql, const QVector<QVariant>& Params) const
{
    if (Params.isEmpty())
        return Sql.toUtf8();
    QStringList literals;
    for (const QVariant& value : Params) {
        if (value.isNull()) {
            literals << QStringLiteral("NULL");
            continue;
        }
        switch (value.typeId()) {
        case QMetaType::Bool:
            literals << (value.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
            break;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
            literals << value.toString();
            break;
        case QMetaType::Double:
            literals << QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
            break;
        case QMetaType::QDate:
            literals << QLatin1Char('\'') + value.toDate().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
            break;
        case QMetaType::QTime:
            literals << QLatin1Char('\'') + value.toTime().toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char('\'');
            break;
        case QMetaType::QDateTime:
            literals << QLatin1Char('\'') + value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"))
                            + QLatin1Char('\'');
            break;
        case QMetaType::QByteArray:
            literals << QStringLiteral("X'") + QString::fromLatin1(value.toByteArray().toHex()) + QLatin1Char('\'');
            break;
        default: {
            const QByteArray text = value.toString().toUtf8();
            QByteArray escaped(text.size() * 2 + 1, '\0');
            const unsigned long length = mysql_real_escape_string(Handle, escaped.data(), text.constData(), text.size());
            escaped.truncate(int(length));
            literals << QLatin1Char('\'') + QString::fromUtf8(escaped) + QLatin1Char('\'');
            break;
        }
        }
    }
    return ReplacePlaceholders(Sql, literals, true).toUtf8();
}

bool TMySqlSession::MainBusy() const
{
    for (TMySqlStream* stream : FPending)
        if (stream->Pending())
            return true;
    return false;
}

void TMySqlSession::BufferPending()
{
    for (TMySqlStream* stream : FPending)
        if (stream->Pending())
            stream->Buffer();
}

QSqlDatabase& TMySqlSession::Reader()
{
    if (!FReader.isValid()) {
        FReaderName = QStringLiteral("%1-reader").arg(Database().connectionName());
        FReader = QSqlDatabase::addDatabase(QStringLiteral("QMYSQL"), FReaderName);
        Configure(FReader, FSettings);
    }
    if (!FReader.isOpen()) {
        if (!FReader.open())
            Raise(FReader.lastError());
        UseUtf8mb4(FReader);
    }
    return FReader;
}

std::unique_ptr<TProviderCursor> TMySqlSession::Open(const QString& Sql, const QVector<QVariant>& Params)
{
    if (MainBusy()) {
        if (!FInTransaction) {
            // A second reader is not tracked: streams on it end with their cursor.
            MYSQL* reader = TMySqlStream::HandleOf(Reader());
            auto stream = std::make_unique<TMySqlStream>(reader, Bind(reader, Sql, Params));
            return std::make_unique<TMySqlCursor>(nullptr, std::move(stream));
        }
        BufferPending();
    }
    MYSQL* handle = TMySqlStream::HandleOf(Database());
    auto stream = std::make_unique<TMySqlStream>(handle, Bind(handle, Sql, Params));
    FPending.insert(stream.get());
    return std::make_unique<TMySqlCursor>(this, std::move(stream));
}

qint64 TMySqlSession::Execute(const QString& Sql, const QVector<QVariant>& Params)
{
    BufferPending();
    MYSQL* handle = TMySqlStream::HandleOf(Database());
    TMySqlStream stream(handle, Bind(handle, Sql, Params));
    return stream.AffectedRows();
}

void TMySqlSession::StartTransaction()
{
    Execute(QStringLiteral("START TRANSACTION"), {});
    FInTransaction = true;
}

void TMySqlSession::Commit()
{
    Execute(QStringLiteral("COMMIT"), {});
    FInTransaction = false;
}

void TMySqlSession::Rollback()
{
    FInTransaction = false;
    Execute(QStringLiteral("ROLLBACK"), {});
}

namespace {

QStringList FirstColumn(TProviderCursor& Cursor)
{
    QStringList values;
    QVector<QVariant> row;
    while (Cursor.Fetch(row))
        values << row.value(0).toString();
    return values;
}

} // namespace

QStringList TMySqlSession::TableNames()
{
    auto cursor = Open(QStringLiteral("select TABLE_NAME from information_schema.TABLES "
                                      "where TABLE_SCHEMA = database() and TABLE_TYPE = 'BASE TABLE' order by TABLE_NAME"),
                       {});
    return FirstColumn(*cursor);
}

QStringList TMySqlSession::PrimaryKey(const QString& Table)
{
    auto cursor = Open(QStringLiteral("select COLUMN_NAME from information_schema.KEY_COLUMN_USAGE "
                                      "where TABLE_SCHEMA = database() and TABLE_NAME = ? and CONSTRAINT_NAME = 'PRIMARY' "
                                      "order by ORDINAL_POSITION"),
                       {Table});
    return FirstColumn(*cursor);
}
