#include "AesBlockCipher.h"
#include "Base64Lenient.h"
#include "CBCxCipher.h"
#include "KDFx.h"
#include "Whirlpool0.h"
#include "uCrypt.h"

#include <gtest/gtest.h>

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <cmath>

namespace {

QByteArray Hex(const char* Text)
{
    return QByteArray::fromHex(Text);
}

TAesBlockCipher::TBlock ToBlock(const QByteArray& Bytes)
{
    TAesBlockCipher::TBlock block{};
    std::copy(Bytes.begin(), Bytes.end(), block.begin());
    return block;
}

QByteArray ToBytes(const TAesBlockCipher::TBlock& Block)
{
    return QByteArray(reinterpret_cast<const char*>(Block.data()), Block.size());
}

QByteArray Utf16Le(const QString& Text)
{
    QByteArray bytes;
    for (const QChar ch : Text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

// A mode of OpenSSL's own, for building stored values independently of the code under test.
QByteArray OpenSslEncipher(const EVP_CIPHER* Cipher, const QByteArray& Key, const QByteArray& Iv,
                           const QByteArray& Plain)
{
    EVP_CIPHER_CTX* context = EVP_CIPHER_CTX_new();
    QByteArray out(Plain.size() + 32, '\0');
    int written = 0;
    int finalWritten = 0;
    EVP_EncryptInit_ex(context, Cipher, nullptr, reinterpret_cast<const unsigned char*>(Key.constData()),
                       Iv.isEmpty() ? nullptr : reinterpret_cast<const unsigned char*>(Iv.constData()));
    EVP_CIPHER_CTX_set_padding(context, 0);
    EVP_EncryptUpdate(context, reinterpret_cast<unsigned char*>(out.data()), &written,
                      reinterpret_cast<const unsigned char*>(Plain.constData()), static_cast<int>(Plain.size()));
    EVP_EncryptFinal_ex(context, reinterpret_cast<unsigned char*>(out.data()) + written, &finalWritten);
    EVP_CIPHER_CTX_free(context);
    out.truncate(written + finalWritten);
    return out;
}

qsizetype StoredLength(qsizetype CodeUnits)
{
    return 4 * ((32 + 2 * CodeUnits + 2) / 3);
}

// A stored value with one byte changed (the Base64 text re-encoded).
QString WithByteFlipped(const QString& Stored, qsizetype Index)
{
    QByteArray bytes = QByteArray::fromBase64(Stored.toLatin1());
    bytes[Index] = static_cast<char>(bytes[Index] ^ 0x01);
    return QString::fromLatin1(bytes.toBase64());
}

const QString BuiltInPassphrase = QStringLiteral("Qp4rTz9VnHs2LdXe7KmWb3JcFgY");

} // namespace

// --- Whirlpool-0 --------------------------------------------------------------------------------

struct THashCase
{
    const char* Name;
    QByteArray Message;
    const char* Digest;
};

TEST(CryptWhirlpool0, PublishedVectors)
{
    const THashCase cases[] = {
        {"empty", "",
         "b3e1ab6eaf640a34f784593f2074416accd3b8e62c620175fca0997b1ba2347339aa0d79e754c308209ea36811dfa40c1c32f1a2b9004725d987d3635165d3c8"},
        {"a", "a",
         "f4b620445ae62431dbd6dbcec64d2a3031cd2f48df5e755f30b3d069929ed4b4eda0ae65441bc86746021fb7f2167f84d67566efaba003f0abb67a42a2ce5b13"},
        {"abc", "abc",
         "54ee18b0bbd4dd38a211699f2829793156e5842df502a2a25995c6c541f28cc050ff57d4af772dee7cedcc4c34c3b8ec06446c6657f2f36c2c06464399879b86"},
        {"message digest", "message digest",
         "29e158ba336ce7f930115178a6c86019f0f413adb283d8f0798af06ca0a06d6d6f295a333b1c24bda2f429ac918a3748aef90f7a2c8bfb084d5f979cf4e7b2b5"},
        {"alphabet", "abcdefghijklmnopqrstuvwxyz",
         "5ac9757e1407432daf348a972b8ad4a65c1123cf1f9b779c1ae7ee2d540f30b3cefa8f98dca5fbb42084c5c2f161a7b40eb6b4a1fc7f9aaab92a4bb6002edc5e"},
        {"62 characters (two blocks after padding)", "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "cae4175f09753de84974cfa968621092fe41ee9de913919c2b452e6cb424056721d640e563f628f29dd3bd0030837ae4ac14aa17308505a92e5f7a92f112be75"},
        {"80 digits (more than one block)", QByteArray("1234567890").repeated(8),
         "e5965b4565b041a0d459610e5e48e944c4830cd16feba02d9d263e7da8de6a6b88966709bf28a5328d928312e7a172da4cff72fe6de02277dae4b1dba49689a2"},
        {"quick brown fox", "The quick brown fox jumps over the lazy dog",
         "4f8f5cb531e3d49a61cf417cd133792ccfa501fd8da53ee368fed20e5fe0248c3a0b64f98a6533cee1da614c3a8ddec791ff05fee6d971d57c1348320f4eb42d"},
        {"one zero byte", QByteArray(1, '\0'),
         "ee898fa681e89e1bba6764a5c07ced2f4a7bd1b8ec0637dd9caca94d398db29baf6993b278231e2b7a3eecffe027928a4a4c9ac6eb0de5f0fa58ede5949983d8"},
        {"UTF-16LE a", Hex("6100"),
         "a025014030d125c34d3629dde73304535597a7a06ce6b012686cc064f9aba29fa943e8d07ce689aa2107f2f6162f71182b4ae1ab9cfd6ddfb3eaa66a12cc3d01"},
        {"UTF-16LE abc", Hex("610062006300"),
         "8d41703489c5399ac0717eb23ec100a5a0ee247948b10f6fab1be49fec61435a23bf5abc72c65ab30c1132d392cdf49d607e1cd852cd8c97cf7fc56f50c1321c"},
    };
    for (const THashCase& c : cases)
        EXPECT_EQ(Whirlpool0(c.Message).toHex(), QByteArray(c.Digest)) << c.Name;
}

TEST(CryptWhirlpool0, MillionAInUnevenPieces)
{
    // Pieces of 1..999 bytes cross the block boundary at every offset.
    const QByteArray piece(999, 'a');
    TWhirlpool0 hash;
    qsizetype fed = 0;
    for (int step = 1; fed < 1000000; step = step % 999 + 1) {
        const qsizetype take = std::min<qsizetype>(step, 1000000 - fed);
        hash.Update(piece.constData(), take);
        fed += take;
    }
    EXPECT_EQ(hash.Final().toHex(),
              QByteArray("bb6cba9730d6c029c0c15fb7a2aa3597cf9442dad96a676c5ee9a1d55f1d64d5"
                         "e0d1ed0e71250ed960a1bd2e065642cfff1c976e061bab70d6c54d284eaaefb9"));
}

TEST(CryptWhirlpool0, ResetStartsANewMessage)
{
    TWhirlpool0 hash;
    hash.Update(QByteArray("something else"));
    hash.Final();
    hash.Reset();
    hash.Update(QByteArray("abc"));
    EXPECT_EQ(hash.Final(), Whirlpool0("abc"));
}

// --- KDFx -------------------------------------------------------------------------------------

namespace {

QByteArray Sha1(const QByteArray& Data)
{
    QByteArray digest(SHA_DIGEST_LENGTH, '\0');
    SHA1(reinterpret_cast<const unsigned char*>(Data.constData()), static_cast<size_t>(Data.size()),
         reinterpret_cast<unsigned char*>(digest.data()));
    return digest;
}

} // namespace

TEST(CryptKDFx, Sha1Vectors)
{
    const struct
    {
        std::uint32_t Index;
        const char* Key;
    } cases[] = {
        {1, "e473e6b6065219bab4fde9113bd803016cc49979783559585b0c8bb5bbdfa4cd"},
        {2, "2dfb9508c07cd1521849d8dd92585ec09499132de0f6b8d4ed2768ec1c83f0ed"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KDFx(&Sha1, Hex("deadbeeffeebdaed"), QByteArray(), 32, c.Index).toHex(), QByteArray(c.Key))
            << "index " << c.Index;
}

TEST(CryptKDFx, ShorterKeyIsPrefixAndSaltMatters)
{
    const QByteArray data = Hex("deadbeeffeebdaed");
    const QByteArray full = KDFx(&Sha1, data, QByteArray(), 32);
    EXPECT_EQ(KDFx(&Sha1, data, QByteArray(), 7), full.left(7));
    EXPECT_NE(KDFx(&Sha1, data, QByteArray(16, '\0'), 32), full);
}

// --- AES and the feedback modes ---------------------------------------------------------------

TEST(CryptAes, Vectors)
{
    const struct
    {
        const char* Name;
        const char* Key;
        const char* Plain;
        const char* Enciphered;
    } cases[] = {
        {"FIPS-197 AES-256", "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
         "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
        {"AES-256 zero key, zero block", "0000000000000000000000000000000000000000000000000000000000000000",
         "00000000000000000000000000000000", "dc95c078a2408989ad48a21492842087"},
    };
    for (const auto& c : cases) {
        const TAesBlockCipher cipher(Hex(c.Key));
        ASSERT_TRUE(cipher.IsValid()) << c.Name;
        EXPECT_EQ(ToBytes(cipher.EncryptBlock(ToBlock(Hex(c.Plain)))).toHex(), QByteArray(c.Enciphered)) << c.Name;
        EXPECT_EQ(ToBytes(cipher.DecryptBlock(ToBlock(Hex(c.Enciphered)))).toHex(), QByteArray(c.Plain)) << c.Name;
    }
}

TEST(CryptAes, KeyOfWrongLengthIsInvalid)
{
    const TAesBlockCipher cipher(QByteArray(31, 'k'));
    EXPECT_FALSE(cipher.IsValid());
    EXPECT_EQ(ToBytes(cipher.EncryptBlock(ToBlock(Hex("00112233445566778899aabbccddeeff")))), QByteArray(16, '\0'));
}

TEST(CryptCBCx, BytewiseFeedbackIsCfb8)
{
    // NIST SP 800-38A, F.3.7 (CFB8-AES128.Encrypt).
    const TAesBlockCipher cipher(Hex("2b7e151628aed2a6abf7158809cf4f3c"));
    const auto iv = ToBlock(Hex("000102030405060708090a0b0c0d0e0f"));
    const QByteArray plain = Hex("6bc1bee22e409f96e93d7e117393172aae2d");
    const QByteArray enciphered = Hex("3b79424c9c0dd436bace9e0ed4586a4f32b9");

    TCBCxCipher encipher(cipher, iv);
    EXPECT_EQ(encipher.EncipherBytewise(plain).toHex(), enciphered.toHex());
    TCBCxCipher decipher(cipher, iv);
    EXPECT_EQ(decipher.DecipherBytewise(enciphered).toHex(), plain.toHex());
    EXPECT_EQ(ToBytes(encipher.Feedback()), enciphered.right(16));
    EXPECT_EQ(ToBytes(decipher.Feedback()), enciphered.right(16));
}

TEST(CryptCBCx, WholeBlocksChainedAndTailFedBack)
{
    // For 2 blocks and 6 bytes the mode is CBC followed by CFB8 whose register is the last
    // enciphered block; OpenSSL's modes give the expected bytes.
    const QByteArray key = Hex("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
    const QByteArray iv = Hex("f0e1d2c3b4a5968778695a4b3c2d1e0f");
    const QByteArray plain = QByteArray("0123456789abcdefFEDCBA9876543210tail!!");
    const QByteArray blocks = OpenSslEncipher(EVP_aes_256_cbc(), key, iv, plain.left(32));
    const QByteArray expected = blocks + OpenSslEncipher(EVP_aes_256_cfb8(), key, blocks.right(16), plain.mid(32));

    const TAesBlockCipher cipher(key);
    TCBCxCipher encipher(cipher, ToBlock(iv));
    EXPECT_EQ(encipher.Encipher(plain).toHex(), expected.toHex());
    TCBCxCipher decipher(cipher, ToBlock(iv));
    EXPECT_EQ(decipher.Decipher(expected), plain);
    EXPECT_EQ(ToBytes(encipher.Feedback()), expected.right(16));
    EXPECT_EQ(encipher.Feedback(), decipher.Feedback());
}

// --- Lenient Base64 ---------------------------------------------------------------------------

TEST(CryptBase64, LenientDecoding)
{
    const struct
    {
        const char* Text;
        QByteArray Bytes;
    } cases[] = {
        {"QUJD", "ABC"},
        {" QU\r\nJD \n", "ABC"},
        {"Q\tU*J-D", "ABC"},
        {"QUI=", "AB"},
        {"QQ==", "A"},
        {"QUI", "AB"},
        {"QQ", "A"},
        {"QUJDQ", "ABC"},
        {"QQ==QUJD", "A"},
        {"=QUJD", ""},
        {"", ""},
        {"\xe4\xf6!", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeBase64Lenient(QString::fromLatin1(c.Text)), c.Bytes) << c.Text;
}

// --- Encrypt and Decrypt ----------------------------------------------------------------------

TEST(Crypt, RoundTripsAndStoredLength)
{
    const QString cases[] = {
        QString(),
        QStringLiteral("abc"),                 // byte-wise tail only
        QStringLiteral("geheim12"),            // exactly one block
        QStringLiteral("Passwort123"),         // one block and a tail of 6 bytes
        QStringLiteral("Grüße, Öl & Maß"),     // umlauts
        QString::fromUtf8("x\xF0\x9D\x84\x9Ey"), // a surrogate pair (U+1D11E)
        QStringLiteral("a much longer password of more than three blocks"),
    };
    for (const QString& text : cases) {
        const QString stored = Encrypt(text);
        EXPECT_EQ(stored.size(), StoredLength(text.size())) << text.toStdString();
        EXPECT_EQ(Decrypt(stored), text) << text.toStdString();
    }
}

TEST(Crypt, EmptyTextGives44Characters)
{
    const QString stored = Encrypt(QString());
    EXPECT_EQ(stored.size(), 44);
    EXPECT_EQ(QByteArray::fromBase64(stored.toLatin1()).size(), 32);
    const QString clear = Decrypt(stored);
    EXPECT_TRUE(clear.isEmpty());
    EXPECT_NE(clear, QStringLiteral("???"));
}

TEST(Crypt, SaltMakesEachEncipheringDifferent)
{
    const QString first = Encrypt(QStringLiteral("geheim"));
    const QString second = Encrypt(QStringLiteral("geheim"));
    EXPECT_NE(first, second);
    EXPECT_NE(first.left(22), second.left(22)); // the salt itself differs
    EXPECT_EQ(Decrypt(first), QStringLiteral("geheim"));
    EXPECT_EQ(Decrypt(second), QStringLiteral("geheim"));
}

TEST(Crypt, EmptyPassphraseIsTheBuiltInOne)
{
    EXPECT_EQ(Decrypt(Encrypt(QStringLiteral("geheim")), BuiltInPassphrase), QStringLiteral("geheim"));
    EXPECT_EQ(Decrypt(Encrypt(QStringLiteral("geheim"), BuiltInPassphrase)), QStringLiteral("geheim"));
    EXPECT_EQ(Decrypt(Encrypt(QStringLiteral("geheim"), QStringLiteral("eigene Phrase")),
                      QStringLiteral("eigene Phrase")),
              QStringLiteral("geheim"));
}

TEST(Crypt, ReadsValueBuiltFromThePublishedConstruction)
{
    // salt | CBC-then-CFB8 of the UTF-16LE text under KDFx-Whirlpool-0 key, IV = E(FF..FF) |
    // check block E(F), assembled with OpenSSL's modes; this is the stored format of existing files.
    const QByteArray salt = Hex("00112233445566778899aabbccddeeff");
    const QString text = QStringLiteral("Kennwört123"); // 22 bytes: one block and a tail
    const QByteArray key = KDFx(&Whirlpool0, Utf16Le(BuiltInPassphrase), salt, 32);
    const QByteArray iv = OpenSslEncipher(EVP_aes_256_ecb(), key, QByteArray(), QByteArray(16, '\xFF'));
    const QByteArray plain = Utf16Le(text);
    const QByteArray block = OpenSslEncipher(EVP_aes_256_cbc(), key, iv, plain.left(16));
    const QByteArray tail = OpenSslEncipher(EVP_aes_256_cfb8(), key, block, plain.mid(16));
    const QByteArray feedback = (block + tail).right(16);
    const QByteArray check = OpenSslEncipher(EVP_aes_256_ecb(), key, QByteArray(), feedback);
    const QString stored = QString::fromLatin1((salt + block + tail + check).toBase64());

    EXPECT_EQ(Decrypt(stored), text);
}

TEST(Crypt, DamagedValuesGiveFailureMarker)
{
    const QString failure = QStringLiteral("???");
    const QString text = QStringLiteral("Passwort123"); // 22 enciphered bytes at offsets 16..37
    const QString stored = Encrypt(text);
    ASSERT_EQ(Decrypt(stored), text);

    EXPECT_EQ(Decrypt(stored, QStringLiteral("andere Phrase")), failure);
    for (qsizetype i = 38; i < 54; ++i)
        EXPECT_EQ(Decrypt(WithByteFlipped(stored, i)), failure) << "check block byte " << i - 38;
    for (qsizetype i = 22; i < 38; ++i)
        EXPECT_EQ(Decrypt(WithByteFlipped(stored, i)), failure) << "enciphered byte " << i - 16;
    EXPECT_EQ(Decrypt(WithByteFlipped(stored, 0)), failure) << "salt";

    const QByteArray bytes = QByteArray::fromBase64(stored.toLatin1());
    EXPECT_EQ(Decrypt(QString::fromLatin1(bytes.left(bytes.size() - 1).toBase64())), failure) << "one byte short";
    EXPECT_EQ(Decrypt(QString::fromLatin1(bytes.left(31).toBase64())), failure) << "shorter than salt and check";
    EXPECT_EQ(Decrypt(stored.left(stored.size() - 4)), failure) << "last group cut off";
    EXPECT_EQ(Decrypt(QStringLiteral("kein Base64-Text!")), failure);
    EXPECT_EQ(Decrypt(QStringLiteral("ÄÖÜ äöü ß")), failure);
    EXPECT_EQ(Decrypt(QString()), failure);
}

TEST(Crypt, BlanksAndLineBreaksInsideAreIgnored)
{
    const QString stored = Encrypt(QStringLiteral("Grüße"));
    QString spread;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        spread.append(stored[i]);
        if (i % 7 == 3)
            spread.append(QStringLiteral(" "));
        if (i % 19 == 11)
            spread.append(QStringLiteral("\r\n"));
    }
    EXPECT_EQ(Decrypt(QStringLiteral("  ") + spread + QStringLiteral("\n")), QStringLiteral("Grüße"));
}
