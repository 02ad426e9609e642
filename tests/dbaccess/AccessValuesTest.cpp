#include "AccessValues.h"

#include <QtEndian>

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

double At(int Days, int Hours, int Minutes, double Seconds)
{
    return Days + (Hours * 3600 + Minutes * 60 + Seconds) / 86400.0;
}

TEST(AccessDateTimeText, CountsDaysFrom30Dec1899AndRoundsToSeconds)
{
    const struct {
        double Days;
        const char* Text;
    } Cases[] = {
        {0, "1899-12-30 00:00:00"},
        {0.5, "1899-12-30 12:00:00"},
        {2, "1900-01-01 00:00:00"},
        {At(44532, 10, 15, 30), "2021-12-02 10:15:30"},
        {At(36526, 23, 59, 59.4), "2000-01-01 23:59:59"},
        {At(36526, 23, 59, 59.6), "2000-01-02 00:00:00"},
        {At(2958465, 23, 59, 59), "9999-12-31 23:59:59"},
        // Before 1899 the whole days count back, the fraction still forward from midnight.
        {-1.25, "1899-12-29 06:00:00"},
        {-0.5, "1899-12-30 12:00:00"},
        {-(1 + 86399.6 / 86400), "1899-12-30 00:00:00"},
        {-657434, "0100-01-01 00:00:00"},
        {-693593, "0001-01-01 00:00:00"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(AccessDateTimeText(Case.Days), QString::fromLatin1(Case.Text)) << Case.Days;
}

TEST(AccessDateTimeText, IsNullOutsideTheYears1To9999)
{
    for (double Days : {2958466.0, -693594.0, 1e300, std::numeric_limits<double>::quiet_NaN(),
                        std::numeric_limits<double>::infinity()})
        EXPECT_TRUE(AccessDateTimeText(Days).isNull()) << Days;
}

TEST(AccessCurrencyText, ShowsFourDecimals)
{
    const struct {
        qint64 Value;
        const char* Text;
    } Cases[] = {
        {123400, "12.3400"},
        {0, "0.0000"},
        {-5000, "-0.5000"},
        {-19955000, "-1995.5000"},
        {std::numeric_limits<qint64>::max(), "922337203685477.5807"},
        {std::numeric_limits<qint64>::min(), "-922337203685477.5808"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(AccessCurrencyText(Case.Value), QString::fromLatin1(Case.Text)) << Case.Value;
}

// The 17 stored bytes of a Decimal: sign byte, then the words most significant first.
std::array<unsigned char, 17> DecimalBytes(bool Negative, quint32 W0, quint32 W1, quint32 W2, quint32 W3)
{
    std::array<unsigned char, 17> Bytes{};
    Bytes[0] = Negative ? 0x80 : 0x00;
    const quint32 Words[] = {W0, W1, W2, W3};
    for (int I = 0; I < 4; ++I)
        qToLittleEndian(Words[I], Bytes.data() + 1 + 4 * I);
    return Bytes;
}

TEST(AccessDecimalText, PlacesTheScaleAndSign)
{
    const struct {
        std::array<unsigned char, 17> Bytes;
        int Scale;
        const char* Text;
    } Cases[] = {
        {DecimalBytes(false, 0, 0, 0, 12345), 2, "123.45"},
        {DecimalBytes(true, 0, 0, 0, 5), 2, "-0.05"},
        {DecimalBytes(true, 0, 0, 0, 0), 2, "0.00"},
        {DecimalBytes(false, 0, 0, 0, 0), 0, "0"},
        {DecimalBytes(false, 0, 0, 1, 1), 0, "4294967297"},
        // 10^28 - 1, the largest Decimal Access stores.
        {DecimalBytes(false, 0, 0x204FCE5E, 0x3E250261, 0x0FFFFFFF), 4, "999999999999999999999999.9999"},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(AccessDecimalText(Case.Bytes.data(), Case.Scale), QString::fromLatin1(Case.Text)) << Case.Text;
}

TEST(AccessGuidText, KeepsTheByteOrderOfTheFirstThreeFields)
{
    const unsigned char Bytes[16] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07,
                                     0x08, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0xFF};
    EXPECT_EQ(AccessGuidText(Bytes), QStringLiteral("{03020100-0504-0706-0809-0A0B0C0D0EFF}"));
}

TEST(JetUnicodeText, DecodesPlainAndCompressedText)
{
    const struct {
        QByteArray Bytes;
        QString Text;
    } Cases[] = {
        {QByteArray("G\0r\0\xFC\0\xDF\0 \0\xAC\x20", 12), QStringLiteral("Grüß €")},
        {QByteArray("\xFF\xFEGr\xFC\xDF", 6), QStringLiteral("Grüß")},
        {QByteArray("\xFF\xFE" "a\0\xAC\x20\x3A\x4E\0b", 10), QStringLiteral("a€为b")},
        {QByteArray("\xFF\xFE", 2), QString()},
        {QByteArray(), QString()},
        {QByteArray("A\0B", 3), QStringLiteral("A")},
    };
    for (const auto& Case : Cases)
        EXPECT_EQ(JetUnicodeText(Case.Bytes.constData(), Case.Bytes.size()), Case.Text) << Case.Bytes.toHex().constData();
}

} // namespace
