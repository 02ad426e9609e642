#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

// The Whirlpool-0 hash (the first, 2000 form of Whirlpool: 512-bit digest, 10 rounds).
// It is not interchangeable with the final Whirlpool or Whirlpool-T, which give other digests;
// the password cipher of the configuration files depends on exactly this form.
class TWhirlpool0
{
public:
    static constexpr int DigestSize = 64;

    TWhirlpool0();

    // Appends Data to the message. REQUIRES: Final() not yet called since construction or Reset().
    void Update(const char* Data, qsizetype Length);
    void Update(const QByteArray& Data);

    // Completes the message and returns its 64-byte digest; afterwards only Reset() may follow.
    QByteArray Final();

    // Starts a new, empty message.
    void Reset();

private:
    void Compress(const std::uint8_t* Block);

    std::array<std::uint64_t, 8> FHash;
    std::array<std::uint8_t, 64> FBuffer;
    int FBufferLength;
    std::uint64_t FMessageLength; // in bytes
};

// The 64-byte Whirlpool-0 digest of Data.
QByteArray Whirlpool0(const QByteArray& Data);
