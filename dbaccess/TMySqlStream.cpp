#include "TMySqlStream.h"

#include "EUniError.h"

#include <QSqlDatabase>
#include <QSqlDriver>

#include <errmsg.h>
#include <mysql.h>

namespace {

EUniError LastError(MYSQL* Handle)
{
    return EUniError(QString::fromUtf8(mysql_error(Handle)), int(mysql_errno(Handle)));
}

} // namespace

TMySqlStream::TMySqlStream(MYSQL* Handle, const QByteArray& Sql) : FHandle(Handle)
{
    if (mysql_real_query(FHandle, Sql.constData(), static_cast<unsigned long>(Sql.size())) != 0)
        ThrowError();
    if (mysql_field_count(FHandle) == 0) {
        FAffectedRows = qint64(mysql_affected_rows(FHandle));
        Finish(true);
        return;
    }
    FResult = mysql_use_result(FHandle);
    if (!FResult)
        ThrowError();
    FHasResult = true;

    MY_CHARSET_INFO Charset{};
    mysql_get_character_set_info(FHandle, &Charset);
    const unsigned Count = mysql_num_fields(FResult);
    const MYSQL_FIELD* Fields = mysql_fetch_fields(FResult);
    FFields.reserve(Count);
    FColumns.reserve(Count);
    for (unsigned I = 0; I < Count; ++I) {
        FFields.emplace_back(Fields[I], int(Charset.mbmaxlen));
        FColumns.append(FFields.back().Info());
    }
}

TMySqlStream::~TMySqlStream()
{
    if (FResult)
        Finish(false);
}

MYSQL* TMySqlStream::HandleOf(const QSqlDatabase& Database)
{
    if (!Database.isOpen() || !Database.driver())
        return nullptr;
    // Qt 6 names the type after the struct behind the typedef ("st_mysql*"); Qt 5 said "MYSQL*".
    const QVariant Handle = Database.driver()->handle();
    const char* Type = Handle.typeName();
    if (!Type || (qstrcmp(Type, "st_mysql*") != 0 && qstrcmp(Type, "MYSQL*") != 0))
        return nullptr;
    return *static_cast<MYSQL* const*>(Handle.constData());
}

bool TMySqlStream::Fetch(QVector<QVariant>& Row)
{
    if (!FBuffered.empty()) {
        Row = std::move(FBuffered.front());
        FBuffered.pop_front();
        return true;
    }
    return FResult && ReadRow(Row);
}

void TMySqlStream::Buffer()
{
    QVector<QVariant> Row;
    while (FResult && ReadRow(Row))
        FBuffered.push_back(std::move(Row));
}

bool TMySqlStream::ReadRow(QVector<QVariant>& Row)
{
    const MYSQL_ROW Data = mysql_fetch_row(FResult);
    if (!Data) {
        // A command tried on the connection while it was busy leaves "Commands out of sync"
        // behind, which no failure of the read itself reports.
        const unsigned Code = mysql_errno(FHandle);
        if (Code != 0 && Code != CR_COMMANDS_OUT_OF_SYNC) {
            // Freeing the result may touch the connection's error state: keep the failure first.
            const EUniError Error = LastError(FHandle);
            mysql_free_result(FResult);
            FResult = nullptr;
            throw Error;
        }
        Finish(true);
        return false;
    }
    const unsigned long* Lengths = mysql_fetch_lengths(FResult);
    const qsizetype Count = qsizetype(FFields.size());
    Row.resize(Count);
    for (qsizetype I = 0; I < Count; ++I)
        Row[I] = FFields[size_t(I)].Value(Data[I], Lengths[I]);
    return true;
}

void TMySqlStream::Finish(bool ThrowOnError)
{
    if (FResult) {
        mysql_free_result(FResult);
        FResult = nullptr;
    }
    // The connection takes no new command before every result of the statement has been read.
    while (mysql_more_results(FHandle)) {
        const int Status = mysql_next_result(FHandle);
        if (Status > 0 && ThrowOnError)
            ThrowError();
        if (Status != 0)
            return;
        if (MYSQL_RES* More = mysql_use_result(FHandle))
            mysql_free_result(More);
    }
}

void TMySqlStream::ThrowError() const
{
    throw LastError(FHandle);
}
