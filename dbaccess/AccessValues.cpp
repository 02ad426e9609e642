#include "AccessValues.h"

#include <QDate>
#include <QtEndian>

#include <array>
#include <cmath>

namespace {

constexpr qint64 SecondsPerDay = 86400;

} // namespace

QString AccessDateTimeText(double Days)
{
    // Beyond the years 1..9999 in either direction; keeps the integer conversion below safe.
    if (!std::isfinite(Days) || std::fabs(Days) > 3.7e6)
        return {};
    const double WholeDays = std::trunc(Days);
    qint64 Day = qint64(WholeDays);
    qint64 Seconds = std::llround(std::fabs(Days - WholeDays) * SecondsPerDay);
    if (Seconds >= SecondsPerDay) {
        // The time of day always runs forward from midnight, also before 30 Dec 1899.
        Seconds -= SecondsPerDay;
        ++Day;
    }
    const QDate Date = QDate(1899, 12, 30).addDays(Day);
    if (!Date.isValid() || Date.year() < 1 || Date.year() > 9999)
        return {};
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", Date.year(), Date.month(), Date.day(),
                             int(Seconds / 3600), int(Seconds / 60 % 60), int(Seconds % 60));
}

QString AccessCurrencyText(qint64 TenThousandths)
{
    const bool Negative = TenThousandths < 0;
    // Through unsigned so that the smallest value keeps its magnitude.
    const quint64 Magnitude = Negative ? 0 - quint64(TenThousandths) : quint64(TenThousandths);
    return QStringLiteral("%1%2.%3")
        .arg(Negative ? QStringLiteral("-") : QString())
        .arg(Magnitude / 10000)
        .arg(Magnitude % 10000, 4, 10, QLatin1Char('0'));
}

QString AccessDecimalText(const unsigned char* Data, int Scale)
{
    std::array<quint32, 4> Words; // most significant first
    for (int I = 0; I < 4; ++I)
        Words[I] = qFromLittleEndian<quint32>(Data + 1 + 4 * I);

    QString Digits;
    auto IsZero = [&Words] { return !(Words[0] | Words[1] | Words[2] | Words[3]); };
    while (!IsZero()) {
        quint64 Remainder = 0;
        for (quint32& Word : Words) {
            const quint64 Current = (Remainder << 32) | Word;
            Word = quint32(Current / 10);
            Remainder = Current % 10;
        }
        Digits.prepend(QChar(u'0' + char16_t(Remainder)));
    }
    const bool Negative = (Data[0] & 0x80) && !Digits.isEmpty();
    Scale = qBound(0, Scale, 38);
    if (Digits.size() <= Scale)
        Digits = QString(Scale + 1 - Digits.size(), QLatin1Char('0')) + Digits;
    if (Scale > 0)
        Digits.insert(Digits.size() - Scale, QLatin1Char('.'));
    return Negative ? QLatin1Char('-') + Digits : Digits;
}

QString AccessGuidText(const unsigned char* Data)
{
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                             qFromLittleEndian<quint32>(Data), unsigned(qFromLittleEndian<quint16>(Data + 4)),
                             unsigned(qFromLittleEndian<quint16>(Data + 6)), Data[8], Data[9], Data[10], Data[11],
                             Data[12], Data[13], Data[14], Data[15]);
}

QString JetUnicodeText(const char* Data, qsizetype Size)
{
    const auto* Bytes = reinterpret_cast<const unsigned char*>(Data);
    QString Result;
    if (Size >= 2 && Bytes[0] == 0xFF && Bytes[1] == 0xFE) {
        Result.reserve(Size);
        bool Compressed = true;
        qsizetype I = 2;
        while (I < Size) {
            if (Bytes[I] == 0) {
                Compressed = !Compressed;
                ++I;
            } else if (Compressed) {
                Result += QChar(char16_t(Bytes[I]));
                ++I;
            } else if (I + 1 < Size) {
                Result += QChar(qFromLittleEndian<quint16>(Bytes + I));
                I += 2;
            } else {
                break;
            }
        }
        return Result;
    }
    Result.reserve(Size / 2);
    for (qsizetype I = 0; I + 1 < Size; I += 2)
        Result += QChar(qFromLittleEndian<quint16>(Bytes + I));
    return Result;
}
