#include "TMySqlField.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <mysql.h>

#include <charconv>
#include <limits>

namespace {

constexpr unsigned BinaryCharset = 63;

int CharBytes(unsigned CharsetNr, int Default)
{
    const MARIADB_CHARSET_INFO* Info = mariadb_get_charset_by_nr(CharsetNr);
    return Info && Info->char_maxlen > 0 ? int(Info->char_maxlen) : qMax(Default, 1);
}

// MariaDB reports JSON columns as LONGTEXT and names the format only in the extended metadata.
bool IsJsonFormat(const MYSQL_FIELD& Field)
{
    MARIADB_CONST_STRING Format{nullptr, 0};
    return mariadb_field_attr(&Format, &Field, MARIADB_FIELD_ATTR_FORMAT_NAME) == 0 && Format.str
        && QByteArray::fromRawData(Format.str, qsizetype(Format.length)).compare("json", Qt::CaseInsensitive) == 0;
}

// TINY/-/MEDIUM/LONG by the largest number of characters (or bytes) the column holds.
QString LobSizeName(unsigned long Units, const char* Suffix)
{
    const char* Prefix = Units <= 0xFFUL ? "TINY" : Units <= 0xFFFFUL ? "" : Units <= 0xFFFFFFUL ? "MEDIUM" : "LONG";
    return QString::fromLatin1(Prefix) + QString::fromLatin1(Suffix);
}

// Digits at Text[0..Count); -1 when one of them is no digit.
int Digits(const char* Text, int Count)
{
    int Result = 0;
    for (int I = 0; I < Count; ++I) {
        if (Text[I] < '0' || Text[I] > '9')
            return -1;
        Result = Result * 10 + (Text[I] - '0');
    }
    return Result;
}

// Milliseconds of a fraction ".f..." at Text (truncated, as a wider fraction cannot round into
// the next second).
int Millis(const char* Text, const char* End)
{
    if (Text >= End || *Text != '.')
        return 0;
    int Result = 0;
    int Count = 0;
    for (++Text; Count < 3; ++Count) {
        const bool Digit = Text < End && *Text >= '0' && *Text <= '9';
        Result = Result * 10 + (Digit ? *Text++ - '0' : 0);
    }
    return Result;
}

QDate ParseDate(const char* Text, unsigned long Length)
{
    if (Length < 10 || Text[4] != '-' || Text[7] != '-')
        return {};
    const int Year = Digits(Text, 4);
    const int Month = Digits(Text + 5, 2);
    const int Day = Digits(Text + 8, 2);
    if (Year < 0 || Month < 0 || Day < 0)
        return {};
    return QDate(Year, Month, Day);
}

// "HH:MM:SS[.f]" of a time of day; an invalid QTime for anything else.
QTime ParseTimeOfDay(const char* Text, unsigned long Length)
{
    if (Length < 8 || Text[2] != ':' || Text[5] != ':')
        return {};
    const int Hour = Digits(Text, 2);
    const int Minute = Digits(Text + 3, 2);
    const int Second = Digits(Text + 6, 2);
    if (Hour < 0 || Minute < 0 || Second < 0)
        return {};
    return QTime(Hour, Minute, Second, Millis(Text + 8, Text + Length));
}

template <typename T> bool ParseNumber(const char* Text, unsigned long Length, T& Out)
{
    const auto [End, Error] = std::from_chars(Text, Text + Length, Out);
    return Error == std::errc() && End == Text + Length;
}

} // namespace

TMySqlField::TMySqlField(const MYSQL_FIELD& Field, int DefaultCharBytes)
{
    FInfo.Name = QString::fromUtf8(Field.name, Field.name_length);
    FInfo.TableName = QString::fromUtf8(Field.org_table, Field.org_table_length);
    FInfo.Required = Field.flags & NOT_NULL_FLAG;
    FInfo.AutoIncrement = Field.flags & AUTO_INCREMENT_FLAG;

    const bool Binary = Field.charsetnr == BinaryCharset;
    const bool Unsigned = Field.flags & UNSIGNED_FLAG;
    const int Bytes = Binary ? 1 : CharBytes(Field.charsetnr, DefaultCharBytes);
    const int Chars = int(qMin<unsigned long>(Field.length / unsigned(Bytes), std::numeric_limits<int>::max()));
    QString Name;
    TFieldType Type = ftUnknown;

    auto Integer = [&](const char* IntName, TFieldType IntType) {
        Name = QString::fromLatin1(IntName) + (Unsigned ? QStringLiteral(" UNSIGNED") : QString());
        Type = FInfo.AutoIncrement ? ftAutoInc : IntType;
        FKind = kInteger;
    };
    auto Text = [&](QString TextName, TFieldType TextType) {
        Name = std::move(TextName);
        Type = TextType;
        FKind = kText;
        FInfo.Size = Chars;
    };

    switch (Field.type) {
    case MYSQL_TYPE_TINY:
        Integer("TINYINT", Field.length == 1 ? ftBoolean : ftSmallint);
        break;
    case MYSQL_TYPE_SHORT:
        Integer("SMALLINT", ftSmallint);
        break;
    case MYSQL_TYPE_INT24:
        Integer("MEDIUMINT", ftInteger);
        break;
    case MYSQL_TYPE_LONG:
        Integer("INT", Unsigned ? ftLargeint : ftInteger);
        break;
    case MYSQL_TYPE_LONGLONG:
        Integer("BIGINT", ftLargeint);
        if (Unsigned)
            FKind = kUnsignedBig;
        break;
    case MYSQL_TYPE_YEAR:
        Name = QStringLiteral("YEAR");
        Type = ftSmallint;
        FKind = kInteger;
        break;
    case MYSQL_TYPE_FLOAT:
    case MYSQL_TYPE_DOUBLE:
        Name = Field.type == MYSQL_TYPE_FLOAT ? QStringLiteral("FLOAT") : QStringLiteral("DOUBLE");
        Type = ftFloat;
        FKind = kFloat;
        break;
    case MYSQL_TYPE_DECIMAL:
    case MYSQL_TYPE_NEWDECIMAL:
        Name = QStringLiteral("DECIMAL");
        Type = ftBCD;
        FKind = kDecimal;
        FInfo.Scale = int(Field.decimals);
        // The display length counts the decimal point and, for signed columns, the sign.
        FInfo.Precision = int(Field.length) - (Field.decimals > 0 ? 1 : 0) - (Unsigned ? 0 : 1);
        break;
    case MYSQL_TYPE_DATE:
    case MYSQL_TYPE_NEWDATE:
        Name = QStringLiteral("DATE");
        Type = ftDate;
        FKind = kDate;
        break;
    case MYSQL_TYPE_TIME:
    case MYSQL_TYPE_TIME2:
        Name = QStringLiteral("TIME");
        Type = ftTime;
        FKind = kTime;
        break;
    case MYSQL_TYPE_DATETIME:
    case MYSQL_TYPE_DATETIME2:
        Name = QStringLiteral("DATETIME");
        Type = ftDateTime;
        FKind = kDateTime;
        break;
    case MYSQL_TYPE_TIMESTAMP:
    case MYSQL_TYPE_TIMESTAMP2:
        Name = QStringLiteral("TIMESTAMP");
        Type = ftDateTime;
        FKind = kDateTime;
        break;
    case MYSQL_TYPE_BIT:
        Name = QStringLiteral("BIT");
        Type = Field.length == 1 ? ftBoolean : ftBlob;
        FKind = Field.length == 1 ? kBit1 : kBytes;
        break;
    case MYSQL_TYPE_JSON:
        Text(QStringLiteral("JSON"), ftWideMemo);
        break;
    case MYSQL_TYPE_ENUM:
        Text(QStringLiteral("ENUM"), ftWideString);
        break;
    case MYSQL_TYPE_SET:
        Text(QStringLiteral("SET"), ftWideString);
        break;
    case MYSQL_TYPE_TINY_BLOB:
    case MYSQL_TYPE_MEDIUM_BLOB:
    case MYSQL_TYPE_LONG_BLOB:
    case MYSQL_TYPE_BLOB:
        if (Binary) {
            Name = LobSizeName(Field.length, "BLOB");
            Type = ftBlob;
            FKind = kBytes;
        } else if (IsJsonFormat(Field)) {
            Text(QStringLiteral("JSON"), ftWideMemo);
        } else {
            Text(LobSizeName(unsigned(Chars), "TEXT"), ftWideMemo);
        }
        break;
    case MYSQL_TYPE_VARCHAR:
    case MYSQL_TYPE_VAR_STRING:
    case MYSQL_TYPE_STRING:
        // ENUM and SET arrive as strings that only their flags tell apart.
        if (Field.flags & ENUM_FLAG) {
            Text(QStringLiteral("ENUM"), ftWideString);
        } else if (Field.flags & SET_FLAG) {
            Text(QStringLiteral("SET"), ftWideString);
        } else if (Binary) {
            const bool Fixed = Field.type == MYSQL_TYPE_STRING;
            Name = Fixed ? QStringLiteral("BINARY") : QStringLiteral("VARBINARY");
            Type = Fixed ? ftBytes : ftVarBytes;
            FKind = kBytes;
            FInfo.Size = Chars;
        } else {
            Text(Field.type == MYSQL_TYPE_STRING ? QStringLiteral("CHAR") : QStringLiteral("VARCHAR"), ftWideString);
        }
        break;
    case MYSQL_TYPE_GEOMETRY:
        Name = QStringLiteral("GEOMETRY");
        Type = ftBlob;
        FKind = kBytes;
        break;
    case MYSQL_TYPE_NULL:
        Name = QStringLiteral("NULL");
        Type = ftWideString;
        FKind = kText;
        break;
    case MAX_NO_FIELD_TYPES:
        break;
    }
    FInfo.NativeType = Name;
    FInfo.DataType = Type;

    switch (FKind) {
    case kText:
    case kDecimal:
        FType = QMetaType(QMetaType::QString);
        break;
    case kInteger:
    case kUnsignedBig:
        FType = QMetaType(QMetaType::LongLong);
        break;
    case kFloat:
        FType = QMetaType(QMetaType::Double);
        break;
    case kDate:
        FType = QMetaType(QMetaType::QDate);
        break;
    case kTime:
        FType = QMetaType(QMetaType::QTime);
        break;
    case kDateTime:
        FType = QMetaType(QMetaType::QDateTime);
        break;
    case kBit1:
        FType = QMetaType(QMetaType::Bool);
        break;
    case kBytes:
        FType = QMetaType(QMetaType::QByteArray);
        break;
    }
}

QVariant TMySqlField::Value(const char* Data, unsigned long Length) const
{
    if (!Data)
        return QVariant(FType);
    // What the server sent, for numbers and times that do not fit the column's value type.
    auto Raw = [&] { return QVariant(QString::fromLatin1(Data, qsizetype(Length))); };

    switch (FKind) {
    case kText:
        return QString::fromUtf8(Data, qsizetype(Length));
    case kDecimal:
        return Raw();
    case kInteger: {
        qlonglong Value = 0;
        return ParseNumber(Data, Length, Value) ? QVariant(Value) : Raw();
    }
    case kUnsignedBig: {
        qulonglong Value = 0;
        if (!ParseNumber(Data, Length, Value))
            return Raw();
        if (Value <= qulonglong(std::numeric_limits<qlonglong>::max()))
            return QVariant(qlonglong(Value));
        return QVariant(Value);
    }
    case kFloat: {
        double Value = 0;
        return ParseNumber(Data, Length, Value) ? QVariant(Value) : Raw();
    }
    case kDate: {
        const QDate Date = ParseDate(Data, Length);
        return Date.isValid() ? QVariant(Date) : QVariant(FType);
    }
    case kTime: {
        // A TIME is a duration from -838:59:59 to 838:59:59; only times of day become QTime.
        const QTime Time = ParseTimeOfDay(Data, Length);
        return Time.isValid() ? QVariant(Time) : Raw();
    }
    case kDateTime: {
        const QDate Date = ParseDate(Data, Length);
        const QTime Time = Length > 11 ? ParseTimeOfDay(Data + 11, Length - 11) : QTime(0, 0);
        if (!Date.isValid() || !Time.isValid())
            return QVariant(FType);
        // UTC stands for "no time zone": the value is passed on as the server shows it.
        return QDateTime(Date, Time, Qt::UTC);
    }
    case kBit1:
        for (unsigned long I = 0; I < Length; ++I)
            if (Data[I] != 0)
                return true;
        return false;
    case kBytes:
        return QByteArray(Data, qsizetype(Length));
    }
    return Raw();
}
