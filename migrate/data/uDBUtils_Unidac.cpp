#include "uDBUtils_Unidac.h"

#include "TDataSet.h"
#include "TUniQuery.h"
#include "TValueConversion.h"
#include "Win1252.h"

#include <QLocale>
#include <QRegularExpression>

using ValueConversion::PlainDateTime;

namespace {

QDateTime MinCopy;
QDateTime MaxCopy;

// The value 0 of a date-time: the day before the first day the programs regard as a date.
QDateTime ZeroDateTime()
{
    return PlainDateTime(QDate(1899, 12, 30));
}

QDateTime OrZero(const QDateTime& Value)
{
    return Value.isValid() ? Value : ZeroDateTime();
}

// The separator the regional settings put after the hour ("HH:mm" gives ":"). The default
// locale follows the system's regional settings on every platform.
QString RegionalTimeSeparator()
{
    const QString format = QLocale().timeFormat(QLocale::ShortFormat);
    qsizetype i = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
    if (i < 0)
        return QStringLiteral(":");
    while (i < format.size() && (format[i] == u'h' || format[i] == u'H'))
        ++i;
    if (i >= format.size() || format[i].isLetterOrNumber() || format[i] == u'\'' || format[i].isSpace())
        return QStringLiteral(":");
    return QString(format[i]);
}

QString TwoDigits(int Value)
{
    return QStringLiteral("%1").arg(Value, 2, 10, QLatin1Char('0'));
}

QString DatePart(const QDate& Date, const QString& Separator)
{
    return QStringLiteral("%1").arg(Date.year(), 4, 10, QLatin1Char('0')) + Separator + TwoDigits(Date.month())
           + Separator + TwoDigits(Date.day());
}

QString TimePart(const QTime& Time)
{
    const QString sep = RegionalTimeSeparator();
    return TwoDigits(Time.hour()) + sep + TwoDigits(Time.minute()) + sep + TwoDigits(Time.second());
}

QString Quoted(QString Text)
{
    return QLatin1Char('\'') + Text.replace(QLatin1Char('\''), QLatin1String("''")) + QLatin1Char('\'');
}

// Blanks and control characters, the characters up to the blank, at both ends.
QString TrimControl(const QString& Text)
{
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && Text[first].unicode() <= 0x20)
        ++first;
    while (last > first && Text[last - 1].unicode() <= 0x20)
        --last;
    return Text.mid(first, last - first);
}

// A date bound counts only when it lies after the value 0.
bool IsBound(const QDateTime& Bound)
{
    return Bound.isValid() && Bound > ZeroDateTime();
}

qint64 ReadMaxID(TUniConnection* AConnection, const QString& Sql)
{
    std::unique_ptr<TUniQuery> query = CreateQuery(AConnection);
    query->SetSQL(Sql);
    query->Open();
    return query->FieldByName(QStringLiteral("MaxID")).AsLargeInt();
}

} // namespace

QString DateToAccessLiteral(const QDateTime& AValue)
{
    const QDateTime value = OrZero(AValue);
    QString text = DatePart(value.date(), QStringLiteral("-"));
    if (value.time() != QTime(0, 0))
        text += QLatin1Char(' ') + TimePart(value.time());
    return QStringLiteral("{date ") + Quoted(text) + QLatin1Char('}');
}

QString DateToSQLLiteral(TDBProviderType AProviderType, const QDateTime& AValue)
{
    const QDateTime value = OrZero(AValue);
    const bool hasTime = value.time() != QTime(0, 0);
    const QString isoDate = DatePart(value.date(), QStringLiteral("-"));
    switch (AProviderType) {
    case dbpAccess:
        return DateToAccessLiteral(value);
    case dbpMSSQL:
        return Quoted(DatePart(value.date(), QString()) + (hasTime ? QLatin1Char(' ') + TimePart(value.time()) : QString()));
    case dbpFirebird:
        return Quoted(isoDate);
    case dbpNexusDB:
        return QStringLiteral("timestamp ") + Quoted(isoDate + QLatin1Char(' ') + TimePart(value.time()));
    case dbpSQLite:
    case dbpOracle:
    case dbpMySQL:
    case dbpPostgreSQL:
    case dbpUndefined:
        break;
    }
    return Quoted(hasTime ? isoDate + QLatin1Char(' ') + TimePart(value.time()) : isoDate);
}

QString TextToSQLLiteral(TDBProviderType AProviderType, const QString& AValue)
{
    QString text = AValue;
    switch (AProviderType) {
    case dbpMySQL:
        // MySQL reads a backslash in a literal as the start of an escape sequence.
        text.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        break;
    case dbpAccess:
    case dbpSQLite:
    case dbpMSSQL:
    case dbpFirebird:
    case dbpOracle:
    case dbpNexusDB:
    case dbpPostgreSQL:
    case dbpUndefined:
        break;
    }
    return Quoted(text);
}

QString BooleanToSQLLiteral(TDBProviderType AProviderType, bool AValue)
{
    switch (AProviderType) {
    case dbpFirebird:
    case dbpPostgreSQL:
    case dbpNexusDB:
        return AValue ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case dbpAccess:
        // Access keeps Yes/No as -1/0; its driver takes the numbers for Yes/No and number columns.
        return AValue ? QStringLiteral("-1") : QStringLiteral("0");
    case dbpSQLite:
    case dbpMSSQL:
    case dbpOracle:
    case dbpMySQL:
    case dbpUndefined:
        break;
    }
    return AValue ? QStringLiteral("1") : QStringLiteral("0");
}

QString BinaryToSQLLiteral(TDBProviderType AProviderType, const QByteArray& AValue)
{
    const QString hex = QString::fromLatin1(AValue.toHex().toUpper());
    switch (AProviderType) {
    case dbpMSSQL:
    case dbpAccess:
        return QStringLiteral("0x") + hex;
    case dbpFirebird:
    case dbpNexusDB:
        return QStringLiteral("x'") + hex + QLatin1Char('\'');
    case dbpOracle:
        return QStringLiteral("hextoraw('") + hex + QStringLiteral("')");
    case dbpPostgreSQL:
        return QStringLiteral("decode('") + hex + QStringLiteral("','hex')");
    case dbpSQLite:
    case dbpMySQL:
    case dbpUndefined:
        break;
    }
    return QStringLiteral("X'") + hex + QLatin1Char('\'');
}

qint64 GetNewID(TUniConnection* AConnection, const QString& ATableName, const QString& AFieldName)
{
    return ReadMaxID(AConnection, QStringLiteral("select Max(") + AFieldName + QStringLiteral(") as MaxID from ") + ATableName)
           + 1;
}

qint64 GetMaxID(TUniConnection* AConnection, const QString& ATableName, const QString& AFieldName)
{
    return ReadMaxID(AConnection, QStringLiteral("SELECT MAX(") + AFieldName + QStringLiteral(") AS MaxID FROM ") + ATableName);
}

std::unique_ptr<TUniQuery> CreateQuery(TUniConnection* AConnection)
{
    return std::make_unique<TUniQuery>(AConnection);
}

std::unique_ptr<TUniQuery> CreateReadOnlyQuery(TUniConnection* AConnection)
{
    std::unique_ptr<TUniQuery> query = CreateQuery(AConnection);
    query->SetReadOnly(true);
    return query;
}

void InitCopyDates(const QDate& Today)
{
    MinCopy = PlainDateTime(QDate(1920, 1, 1));
    MaxCopy = PlainDateTime(Today.addDays(3650));
}

QDateTime MinCopyDate()
{
    return MinCopy;
}

QDateTime MaxCopyDate()
{
    return MaxCopy;
}

void CopyRecordFields(TDataSet& ASource, TDataSet& ADest, const QString& AExcept, bool AAlways)
{
    const QLocale locale;
    const QString exceptList = QLatin1Char(';') + locale.toUpper(AExcept) + QLatin1Char(';');
    for (int i = 0; i < ASource.FieldCount(); ++i) {
        const TField* field = ASource.Fields(i);
        if (field->FieldKind() != fkData)
            continue;
        const QString name = field->FieldName();
        if (!AExcept.isEmpty() && exceptList.contains(QLatin1Char(';') + locale.toUpper(name) + QLatin1Char(';'))
            && (AAlways || ADest.State() == dsEdit))
            continue;
        const TField* dest = ADest.FindField(name);
        if (!dest)
            continue;
        CopyFieldValue(ASource, ADest, name, dest->DataType());
    }
}

void CopyFieldValue(TDataSet& ASource, TDataSet& ADest, const QString& AFieldName, TFieldType ADataType)
{
    try {
        const TField& source = ASource.FieldByName(AFieldName);
        TField& dest = ADest.FieldByName(AFieldName);
        switch (ADataType) {
        case ftString:
        case ftFixedChar:
        case ftWideString:
        case ftFixedWideChar: {
            QString text = TrimControl(source.AsString());
            if (dest.Size() > 0 && text.size() > dest.Size())
                text.truncate(dest.Size());
            text.isEmpty() ? dest.Clear() : dest.SetAsString(text);
            break;
        }
        case ftWideMemo: {
            const QString text = DecodeWin1252(EncodeWin1252(TrimControl(source.AsString())));
            text.isEmpty() ? dest.Clear() : dest.SetAsString(text);
            break;
        }
        case ftSmallint:
        case ftInteger:
        case ftWord:
            if (!source.IsNull())
                dest.SetAsInteger(source.AsInteger());
            break;
        case ftLargeint:
            if (!source.IsNull())
                dest.SetAsLargeInt(source.AsLargeInt());
            break;
        case ftFloat:
            if (!source.IsNull())
                dest.SetAsFloat(source.AsFloat());
            break;
        case ftDate:
        case ftTime:
        case ftDateTime: {
            if (source.IsNull())
                break;
            const QDateTime value = source.AsDateTime();
            if (IsBound(MinCopy) && value < MinCopy)
                break;
            if (IsBound(MaxCopy) && value > MaxCopy)
                break;
            dest.SetAsDateTime(value);
            break;
        }
        case ftAutoInc:
            break;
        case ftUnknown:
        case ftMemo:
        case ftByte:
        case ftCurrency:
        case ftBCD:
        case ftBoolean:
        case ftBytes:
        case ftVarBytes:
        case ftBlob:
            if (!source.IsNull())
                dest.SetValue(source.Value());
            break;
        }
    } catch (const std::exception&) {
        // The field keeps what it held; the next field is copied all the same.
    }
}
