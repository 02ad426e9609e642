#include "AesBlockCipher.h"

#include <openssl/evp.h>

struct TAesBlockCipher::TContexts
{
    EVP_CIPHER_CTX* Encrypt = EVP_CIPHER_CTX_new();
    EVP_CIPHER_CTX* Decrypt = EVP_CIPHER_CTX_new();

    ~TContexts()
    {
        EVP_CIPHER_CTX_free(Encrypt);
        EVP_CIPHER_CTX_free(Decrypt);
    }
};

namespace {

const EVP_CIPHER* EcbForKeyLength(qsizetype Length)
{
    switch (Length) {
    case 16:
        return EVP_aes_128_ecb();
    case 24:
        return EVP_aes_192_ecb();
    case 32:
        return EVP_aes_256_ecb();
    default:
        return nullptr;
    }
}

// ECB on exactly one block without padding is the bare block cipher.
bool RunBlock(EVP_CIPHER_CTX* Context, const TAesBlockCipher::TBlock& In, TAesBlockCipher::TBlock& Out)
{
    int written = 0;
    return EVP_CipherUpdate(Context, Out.data(), &written, In.data(), TAesBlockCipher::BlockSize) == 1
        && written == TAesBlockCipher::BlockSize;
}

} // namespace

TAesBlockCipher::TAesBlockCipher(const QByteArray& Key) : FContexts(std::make_unique<TContexts>())
{
    const EVP_CIPHER* cipher = EcbForKeyLength(Key.size());
    if (cipher == nullptr || FContexts->Encrypt == nullptr || FContexts->Decrypt == nullptr)
        return;
    const auto* key = reinterpret_cast<const unsigned char*>(Key.constData());
    FValid = EVP_EncryptInit_ex(FContexts->Encrypt, cipher, nullptr, key, nullptr) == 1
        && EVP_CIPHER_CTX_set_padding(FContexts->Encrypt, 0) == 1
        && EVP_DecryptInit_ex(FContexts->Decrypt, cipher, nullptr, key, nullptr) == 1
        && EVP_CIPHER_CTX_set_padding(FContexts->Decrypt, 0) == 1;
}

TAesBlockCipher::~TAesBlockCipher() = default;

TAesBlockCipher::TBlock TAesBlockCipher::EncryptBlock(const TBlock& In) const
{
    TBlock out{};
    if (!FValid || !RunBlock(FContexts->Encrypt, In, out))
        out.fill(0);
    return out;
}

TAesBlockCipher::TBlock TAesBlockCipher::DecryptBlock(const TBlock& In) const
{
    TBlock out{};
    if (!FValid || !RunBlock(FContexts->Decrypt, In, out))
        out.fill(0);
    return out;
}
