#include "CBCxCipher.h"

#include <algorithm>

namespace {

TAesBlockCipher::TBlock BlockAt(const QByteArray& Data, qsizetype Offset)
{
    TAesBlockCipher::TBlock block;
    for (int b = 0; b < TAesBlockCipher::BlockSize; ++b)
        block[b] = static_cast<std::uint8_t>(Data[Offset + b]);
    return block;
}

void AppendBlock(QByteArray& Out, const TAesBlockCipher::TBlock& Block)
{
    Out.append(reinterpret_cast<const char*>(Block.data()), TAesBlockCipher::BlockSize);
}

} // namespace

TCBCxCipher::TCBCxCipher(const TAesBlockCipher& Cipher, const TBlock& Feedback)
    : FCipher(Cipher), FFeedback(Feedback)
{
}

QByteArray TCBCxCipher::Encipher(const QByteArray& Plain)
{
    const qsizetype whole = Plain.size() - Plain.size() % TAesBlockCipher::BlockSize;
    QByteArray out;
    out.reserve(Plain.size());
    for (qsizetype offset = 0; offset < whole; offset += TAesBlockCipher::BlockSize) {
        TBlock block = BlockAt(Plain, offset);
        for (int b = 0; b < TAesBlockCipher::BlockSize; ++b)
            block[b] ^= FFeedback[b];
        FFeedback = FCipher.EncryptBlock(block);
        AppendBlock(out, FFeedback);
    }
    out.append(EncipherBytewise(Plain.mid(whole)));
    return out;
}

QByteArray TCBCxCipher::Decipher(const QByteArray& Enciphered)
{
    const qsizetype whole = Enciphered.size() - Enciphered.size() % TAesBlockCipher::BlockSize;
    QByteArray out;
    out.reserve(Enciphered.size());
    for (qsizetype offset = 0; offset < whole; offset += TAesBlockCipher::BlockSize) {
        const TBlock block = BlockAt(Enciphered, offset);
        TBlock plain = FCipher.DecryptBlock(block);
        for (int b = 0; b < TAesBlockCipher::BlockSize; ++b)
            plain[b] ^= FFeedback[b];
        FFeedback = block;
        AppendBlock(out, plain);
    }
    out.append(DecipherBytewise(Enciphered.mid(whole)));
    return out;
}

QByteArray TCBCxCipher::EncipherBytewise(const QByteArray& Plain)
{
    QByteArray out(Plain.size(), '\0');
    for (qsizetype i = 0; i < Plain.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(static_cast<std::uint8_t>(Plain[i]) ^ KeyStreamByte());
        ShiftIn(c);
        out[i] = static_cast<char>(c);
    }
    return out;
}

QByteArray TCBCxCipher::DecipherBytewise(const QByteArray& Enciphered)
{
    QByteArray out(Enciphered.size(), '\0');
    for (qsizetype i = 0; i < Enciphered.size(); ++i) {
        const auto c = static_cast<std::uint8_t>(Enciphered[i]);
        const std::uint8_t key = KeyStreamByte();
        ShiftIn(c);
        out[i] = static_cast<char>(c ^ key);
    }
    return out;
}

TCBCxCipher::TBlock TCBCxCipher::CheckBlock() const
{
    return FCipher.EncryptBlock(FFeedback);
}

std::uint8_t TCBCxCipher::KeyStreamByte() const
{
    return FCipher.EncryptBlock(FFeedback)[0];
}

void TCBCxCipher::ShiftIn(std::uint8_t EncipheredByte)
{
    std::copy(FFeedback.begin() + 1, FFeedback.end(), FFeedback.begin());
    FFeedback[TAesBlockCipher::BlockSize - 1] = EncipheredByte;
}
