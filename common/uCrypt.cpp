#include "uCrypt.h"

#include "AesBlockCipher.h"
#include "Base64Lenient.h"
#include "CBCxCipher.h"
#include "KDFx.h"
#include "Whirlpool0.h"

#include <QRandomGenerator>

#include <openssl/rand.h>

namespace {

const QString BuiltInPassphrase = QStringLiteral("Qp4rTz9VnHs2LdXe7KmWb3JcFgY");
const QString FailureMarker = QStringLiteral("???");

constexpr int SaltSize = 16;
constexpr int KeySize = 32;
constexpr int CheckBlockSize = TAesBlockCipher::BlockSize;

// The byte order is part of the stored format, whatever the host's.
QByteArray Utf16LittleEndian(const QString& Text)
{
    QByteArray bytes;
    bytes.reserve(Text.size() * 2);
    for (const QChar ch : Text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

// An odd last byte is no code unit and is dropped.
QString FromUtf16LittleEndian(const QByteArray& Bytes)
{
    QString text;
    text.reserve(Bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < Bytes.size(); i += 2) {
        const auto low = static_cast<std::uint8_t>(Bytes[i]);
        const auto high = static_cast<std::uint8_t>(Bytes[i + 1]);
        text.append(QChar(static_cast<char16_t>(low | (high << 8))));
    }
    return text;
}

QByteArray RandomSalt()
{
    QByteArray salt(SaltSize, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(salt.data()), SaltSize) != 1) {
        // The system generator is cryptographically secure as well.
        QRandomGenerator::system()->generate(salt.begin(), salt.end());
    }
    return salt;
}

QByteArray DeriveKey(const QString& Passphrase, const QByteArray& Salt)
{
    const QString& phrase = Passphrase.isEmpty() ? BuiltInPassphrase : Passphrase;
    return KDFx(&Whirlpool0, Utf16LittleEndian(phrase), Salt, KeySize);
}

// The feedback register starts as E(sixteen bytes 0xFF).
TAesBlockCipher::TBlock InitialVector(const TAesBlockCipher& Cipher)
{
    TAesBlockCipher::TBlock ones;
    ones.fill(0xFF);
    return Cipher.EncryptBlock(ones);
}

QByteArray AsBytes(const TAesBlockCipher::TBlock& Block)
{
    return QByteArray(reinterpret_cast<const char*>(Block.data()), Block.size());
}

} // namespace

QString Encrypt(const QString& Text, const QString& Passphrase)
{
    const QByteArray salt = RandomSalt();
    const TAesBlockCipher cipher(DeriveKey(Passphrase, salt));
    if (!cipher.IsValid())
        return QString();
    TCBCxCipher mode(cipher, InitialVector(cipher));
    const QByteArray enciphered = mode.Encipher(Utf16LittleEndian(Text));
    return QString::fromLatin1((salt + enciphered + AsBytes(mode.CheckBlock())).toBase64());
}

QString Decrypt(const QString& Value, const QString& Passphrase)
{
    const QByteArray bytes = DecodeBase64Lenient(Value);
    const qsizetype length = bytes.size() - SaltSize - CheckBlockSize;
    if (length < 0)
        return FailureMarker;
    const QByteArray salt = bytes.left(SaltSize);
    const TAesBlockCipher cipher(DeriveKey(Passphrase, salt));
    if (!cipher.IsValid())
        return FailureMarker;
    TCBCxCipher mode(cipher, InitialVector(cipher));
    const QByteArray plain = mode.Decipher(bytes.mid(SaltSize, length));
    if (AsBytes(mode.CheckBlock()) != bytes.mid(SaltSize + length))
        return FailureMarker;
    return FromUtf16LittleEndian(plain);
}
