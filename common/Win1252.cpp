#include "Win1252.h"

#include <QList>

namespace {

// Characters of the bytes 0x80 to 0x9F; the rest of the code page equals Latin-1.
constexpr char16_t HighControlRange[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char EncodeChar(char32_t Ch)
{
    if (Ch < 0x80 || (Ch >= 0xA0 && Ch <= 0xFF))
        return static_cast<char>(Ch);
    for (int i = 0; i < 32; ++i) {
        if (HighControlRange[i] == Ch)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

} // namespace

QChar Win1252Char(unsigned char Byte)
{
    if (Byte >= 0x80 && Byte <= 0x9F)
        return QChar(HighControlRange[Byte - 0x80]);
    return QChar(static_cast<char16_t>(Byte));
}

QString DecodeWin1252(const QByteArray& Bytes)
{
    QString text;
    text.reserve(Bytes.size());
    for (const char byte : Bytes)
        text.append(Win1252Char(static_cast<unsigned char>(byte)));
    return text;
}

QByteArray EncodeWin1252(const QString& Text)
{
    QByteArray bytes;
    bytes.reserve(Text.size());
    for (const char32_t ch : Text.toUcs4())
        bytes.append(EncodeChar(ch));
    return bytes;
}
