#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <memory>

// AES (FIPS-197) on single 16-byte blocks under one key, for building modes of operation on top.
// Not copyable; owns its cipher contexts.
class TAesBlockCipher
{
public:
    static constexpr int BlockSize = 16;
    using TBlock = std::array<std::uint8_t, BlockSize>;

    // Key: 16, 24 or 32 bytes (AES-128/192/256). Any other length, or a failure of the crypto
    // library, leaves the object invalid: IsValid() is false and every block comes out as zeros.
    explicit TAesBlockCipher(const QByteArray& Key);
    ~TAesBlockCipher();
    TAesBlockCipher(const TAesBlockCipher&) = delete;
    TAesBlockCipher& operator=(const TAesBlockCipher&) = delete;

    bool IsValid() const { return FValid; }

    TBlock EncryptBlock(const TBlock& In) const;
    TBlock DecryptBlock(const TBlock& In) const;

private:
    struct TContexts;
    std::unique_ptr<TContexts> FContexts;
    bool FValid = false;
};
