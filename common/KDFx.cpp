#include "KDFx.h"

namespace {

void AppendBigEndian32(QByteArray& Out, std::uint32_t Value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        Out.append(static_cast<char>((Value >> shift) & 0xFF));
}

} // namespace

QByteArray KDFx(const THashFunction& Hash, const QByteArray& Data, const QByteArray& Seed, int KeyLength,
                std::uint32_t Index)
{
    QByteArray key;
    for (int i = 0; i < KeyLength; ++i) {
        QByteArray message;
        message.reserve(16 + i + Seed.size() + Data.size());
        AppendBigEndian32(message, static_cast<std::uint32_t>(i));
        message.append(key);
        AppendBigEndian32(message, Index);
        AppendBigEndian32(message, static_cast<std::uint32_t>(Seed.size()));
        message.append(Seed);
        AppendBigEndian32(message, static_cast<std::uint32_t>(Data.size()));
        message.append(Data);

        std::uint8_t folded = 0;
        for (const char b : Hash(message))
            folded ^= static_cast<std::uint8_t>(b);
        key.append(static_cast<char>(folded));
    }
    return key;
}
