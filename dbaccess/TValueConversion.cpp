#include "TValueConversion.h"

#include <QRegularExpression>
#include <QLocale>
#include <cmath>
#include <limits>

namespace ValueConversion {

QDateTime PlainDateTime(const QDate& Date, const QTime& Time)
{
    return QDateTime(Date, Time, Qt::UTC);
}

bool ParseDateTime(const QString& Text, QDateTime& Out)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2})(?:[ T](\d{1,2}):(\d{2})(?::(\d{2})(?:[.,](\d{1,9}))?)?)?\s*$)"));
    const auto m = pattern.match(Text);
    if (!m.hasMatch())
        return false;
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!date.isValid())
        return false;
    QTime time(0, 0);
    if (m.capturedLength(4) > 0) {
        const QString fraction = (m.captured(7) + QStringLiteral("000")).left(3);
        time = QTime(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), fraction.toInt());
        if (!time.isValid())
            return false;
    }
    Out = PlainDateTime(date, time);
    return true;
}

bool ToDecimalText(const QVariant& Raw, QString& Out)
{
    switch (Raw.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = Raw.toDouble();
        if (!std::isfinite(d))
            return false;
        Out = QString::number(d, 'g', QLocale::FloatingPointShortest);
        if (Out.contains(QLatin1Char('e'))) // decimal literals carry no exponent
            Out = QString::number(d, 'f', 10).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
        return true;
    }
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::UChar:
        Out = Raw.toString();
        return true;
    default: {
        static const QRegularExpression decimal(QStringLiteral(R"(^\s*[-+]?(\d+(\.\d*)?|\.\d+)\s*$)"));
        const QString text = Raw.toString();
        if (!decimal.match(text).hasMatch())
            return false;
        Out = text.trimmed();
        if (Out.startsWith(QLatin1Char('+')))
            Out.remove(0, 1);
        return true;
    }
    }
}

namespace {

bool ToWhole(const QVariant& Raw, qlonglong& Out)
{
    switch (Raw.typeId()) {
    case QMetaType::Bool:
        Out = Raw.toBool() ? 1 : 0;
        return true;
    case QMetaType::Double:
    case QMetaType::Float: {
        const double d = Raw.toDouble();
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18)
            return false;
        Out = qlonglong(std::llround(d));
        return true;
    }
    case QMetaType::ULongLong:
        Out = qlonglong(Raw.toULongLong());
        return Raw.toULongLong() <= quint64(std::numeric_limits<qint64>::max());
    default: {
        bool ok = false;
        Out = Raw.toString().trimmed().toLongLong(&ok);
        if (!ok) {
            // Decimal texts with a zero fraction ("12.0000") are whole numbers too.
            const double d = Raw.toString().trimmed().toDouble(&ok);
            if (!ok || d != std::floor(d) || std::fabs(d) > 9.2e18)
                return false;
            Out = qlonglong(d);
        }
        return true;
    }
    }
}

bool ToBool(const QVariant& Raw, bool& Out)
{
    if (Raw.typeId() == QMetaType::Bool) {
        Out = Raw.toBool();
        return true;
    }
    const QString text = Raw.toString().trimmed();
    if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) {
        Out = true;
        return true;
    }
    if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) {
        Out = false;
        return true;
    }
    qlonglong n = 0;
    if (!ToWhole(Raw, n))
        return false;
    Out = n != 0;
    return true;
}

bool ToDateTime(const QVariant& Raw, QDateTime& Out)
{
    switch (Raw.typeId()) {
    case QMetaType::QDateTime: {
        const QDateTime dt = Raw.toDateTime();
        Out = PlainDateTime(dt.date(), dt.time());
        return dt.isValid();
    }
    case QMetaType::QDate:
        Out = PlainDateTime(Raw.toDate());
        return Raw.toDate().isValid();
    case QMetaType::QTime:
        Out = PlainDateTime(QDate(1899, 12, 30), Raw.toTime());
        return Raw.toTime().isValid();
    default:
        return ParseDateTime(Raw.toString(), Out);
    }
}

} // namespace

bool ToCanonical(const QVariant& Raw, TFieldType Type, QVariant& Out)
{
    if (Raw.isNull()) {
        Out = QVariant();
        return true;
    }
    switch (Type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftFixedWideChar:
    case ftMemo:
    case ftWideMemo:
    case ftUnknown:
        if (Raw.typeId() == QMetaType::QByteArray)
            Out = QString::fromUtf8(Raw.toByteArray());
        else if (Raw.typeId() == QMetaType::QDateTime || Raw.typeId() == QMetaType::QDate) {
            QDateTime dt;
            ToDateTime(Raw, dt);
            Out = Raw.typeId() == QMetaType::QDate ? dt.toString(QStringLiteral("yyyy-MM-dd"))
                                                   : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        } else
            Out = Raw.toString();
        return true;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftByte:
    case ftLargeint:
    case ftAutoInc: {
        qlonglong n = 0;
        if (!ToWhole(Raw, n))
            return false;
        Out = n;
        return true;
    }
    case ftFloat: {
        bool ok = true;
        const double d = Raw.typeId() == QMetaType::QString ? Raw.toString().trimmed().toDouble(&ok) : Raw.toDouble(&ok);
        if (!ok)
            return false;
        Out = d;
        return true;
    }
    case ftCurrency:
    case ftBCD: {
        QString text;
        if (!ToDecimalText(Raw, text))
            return false;
        Out = text;
        return true;
    }
    case ftDate:
    case ftTime:
    case ftDateTime: {
        QDateTime dt;
        if (!ToDateTime(Raw, dt))
            return false;
        if (Type == ftDate)
            Out = dt.date();
        else if (Type == ftTime)
            Out = dt.time();
        else
            Out = dt;
        return true;
    }
    case ftBoolean: {
        bool b = false;
        if (!ToBool(Raw, b))
            return false;
        Out = b;
        return true;
    }
    case ftBytes:
    case ftVarBytes:
    case ftBlob:
        Out = Raw.typeId() == QMetaType::QString ? Raw.toString().toUtf8() : Raw.toByteArray();
        return true;
    }
    return false;
}

} // namespace ValueConversion
