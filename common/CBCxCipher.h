#pragma once

#include "AesBlockCipher.h"

#include <QByteArray>

// The CBCx mode: cipher block chaining for the whole 16-byte blocks, then 8-bit cipher feedback
// on the same feedback register for a last partial block. The register F depends only on the
// enciphered bytes, so both directions end with the same F, and CheckBlock() = E(F) lets the
// reader verify key and data. Each object handles one message; the block cipher must outlive it.
class TCBCxCipher
{
public:
    using TBlock = TAesBlockCipher::TBlock;

    TCBCxCipher(const TAesBlockCipher& Cipher, const TBlock& Feedback);

    // Whole blocks chained, the remaining 0..15 bytes byte-wise; output as long as input.
    QByteArray Encipher(const QByteArray& Plain);
    QByteArray Decipher(const QByteArray& Enciphered);

    // 8-bit cipher feedback only (the tail of the two above), for any length.
    QByteArray EncipherBytewise(const QByteArray& Plain);
    QByteArray DecipherBytewise(const QByteArray& Enciphered);

    // E(F) with the register as it stands now.
    TBlock CheckBlock() const;

    const TBlock& Feedback() const { return FFeedback; }

private:
    // The first byte of E(F): what the next tail byte is combined with.
    std::uint8_t KeyStreamByte() const;
    // Shifts F left by one byte and puts the enciphered byte at its end.
    void ShiftIn(std::uint8_t EncipheredByte);

    const TAesBlockCipher& FCipher;
    TBlock FFeedback;
};
