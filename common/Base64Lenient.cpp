#include "Base64Lenient.h"

#include <cstdint>

namespace {

int Base64Digit(char16_t Ch)
{
    if (Ch >= u'A' && Ch <= u'Z')
        return Ch - u'A';
    if (Ch >= u'a' && Ch <= u'z')
        return Ch - u'a' + 26;
    if (Ch >= u'0' && Ch <= u'9')
        return Ch - u'0' + 52;
    if (Ch == u'+')
        return 62;
    if (Ch == u'/')
        return 63;
    return -1;
}

} // namespace

QByteArray DecodeBase64Lenient(QStringView Text)
{
    QByteArray out;
    out.reserve(Text.size() * 3 / 4);
    std::uint32_t bits = 0;
    int bitCount = 0;
    for (const QChar ch : Text) {
        if (ch == u'=')
            break;
        const int digit = Base64Digit(ch.unicode());
        if (digit < 0)
            continue;
        bits = (bits << 6) | static_cast<std::uint32_t>(digit);
        bitCount += 6;
        if (bitCount >= 8) {
            bitCount -= 8;
            out.append(static_cast<char>((bits >> bitCount) & 0xFF));
        }
    }
    return out;
}
