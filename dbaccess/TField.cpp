#include "TField.h"

#include "EUniError.h"
#include "TDataSet.h"
#include "TValueConversion.h"

#include <QLocale>
#include <cmath>

using ValueConversion::PlainDateTime;

TField::TField(TDataSet* DataSet, const TColumnInfo& Column, TFieldType DataType, bool IgnoreConversionErrors)
    : FDataSet(DataSet), FColumn(Column), FDataType(DataType), FIgnoreConversionErrors(IgnoreConversionErrors),
      FRequired(Column.Required && DataType != ftAutoInc)
{
}

QVariant TField::Canonical(const QVariant& Raw) const
{
    QVariant out;
    if (ValueConversion::ToCanonical(Raw, FDataType, out))
        return out;
    if (FIgnoreConversionErrors)
        return QVariant();
    throw EUniError(QStringLiteral("'%1' is not a valid value for field '%2' of type %3")
                        .arg(Raw.toString(), FColumn.Name, FieldTypeName(FDataType)));
}

void TField::LoadValue(const QVariant& Raw)
{
    FValue = Canonical(Raw);
}

void TField::SetValue(const QVariant& Value)
{
    if (FDataSet)
        FDataSet->CheckEditing(*this);
    FValue = Canonical(Value);
    FAssigned = true;
}

void TField::ConversionError(const QString& Target) const
{
    throw EUniError(QStringLiteral("'%1' is not a valid %2 value (field '%3')").arg(AsString(), Target, FColumn.Name));
}

QString TField::AsString() const
{
    if (FValue.isNull())
        return {};
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    switch (FDataType) {
    case ftFloat: {
        // The regional decimal separator, but ASCII signs and exponent: some locales write a
        // minus sign (U+2212) or "×10^" that no SQL literal accepts.
        QString text = QString::number(FValue.toDouble(), 'g', QLocale::FloatingPointShortest);
        return text.replace(QLatin1Char('.'), locale.decimalPoint());
    }
    case ftCurrency:
    case ftBCD: {
        QString text = FValue.toString();
        return text.replace(QLatin1Char('.'), locale.decimalPoint());
    }
    case ftDate:
        return FValue.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case ftTime:
        return FValue.toTime().toString(QStringLiteral("HH:mm:ss"));
    case ftDateTime: {
        const QDateTime dt = FValue.toDateTime();
        return dt.time() == QTime(0, 0) ? dt.toString(QStringLiteral("yyyy-MM-dd"))
                                        : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    }
    case ftBoolean:
        return FValue.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
        return QString::fromLatin1(FValue.toByteArray());
    default:
        return FValue.toString();
    }
}

qint64 TField::AsLargeInt() const
{
    if (FValue.isNull())
        return 0;
    QVariant whole;
    if (!ValueConversion::ToCanonical(FValue, ftLargeint, whole))
        ConversionError(QStringLiteral("integer"));
    return whole.toLongLong();
}

int TField::AsInteger() const
{
    const qint64 value = AsLargeInt();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        ConversionError(QStringLiteral("32-bit integer"));
    return int(value);
}

double TField::AsFloat() const
{
    if (FValue.isNull())
        return 0;
    QVariant number;
    if (!ValueConversion::ToCanonical(FValue, ftFloat, number))
        ConversionError(QStringLiteral("floating point"));
    return number.toDouble();
}

QDateTime TField::AsDateTime() const
{
    if (FValue.isNull())
        return {};
    QVariant dt;
    if (!ValueConversion::ToCanonical(FValue, ftDateTime, dt))
        ConversionError(QStringLiteral("date and time"));
    return dt.toDateTime();
}

bool TField::AsBoolean() const
{
    if (FValue.isNull())
        return false;
    QVariant b;
    if (!ValueConversion::ToCanonical(FValue, ftBoolean, b))
        ConversionError(QStringLiteral("boolean"));
    return b.toBool();
}

QByteArray TField::AsBytes() const
{
    if (FValue.typeId() == QMetaType::QByteArray)
        return FValue.toByteArray();
    return FValue.toString().toUtf8();
}
