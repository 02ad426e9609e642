#include "Whirlpool0.h"

#include <algorithm>
#include <cstring>

namespace {

// The S-box of the 2000 form. It was generated at random, so it is a constant and cannot be derived.
constexpr std::uint8_t SBox[256] = {
    0x68, 0xD0, 0xEB, 0x2B, 0x48, 0x9D, 0x6A, 0xE4, 0xE3, 0xA3, 0x56, 0x81, 0x7D, 0xF1, 0x85, 0x9E,
    0x2C, 0x8E, 0x78, 0xCA, 0x17, 0xA9, 0x61, 0xD5, 0x5D, 0x0B, 0x8C, 0x3C, 0x77, 0x51, 0x22, 0x42,
    0x3F, 0x54, 0x41, 0x80, 0xCC, 0x86, 0xB3, 0x18, 0x2E, 0x57, 0x06, 0x62, 0xF4, 0x36, 0xD1, 0x6B,
    0x1B, 0x65, 0x75, 0x10, 0xDA, 0x49, 0x26, 0xF9, 0xCB, 0x66, 0xE7, 0xBA, 0xAE, 0x50, 0x52, 0xAB,
    0x05, 0xF0, 0x0D, 0x73, 0x3B, 0x04, 0x20, 0xFE, 0xDD, 0xF5, 0xB4, 0x5F, 0x0A, 0xB5, 0xC0, 0xA0,
    0x71, 0xA5, 0x2D, 0x60, 0x72, 0x93, 0x39, 0x08, 0x83, 0x21, 0x5C, 0x87, 0xB1, 0xE0, 0x00, 0xC3,
    0x12, 0x91, 0x8A, 0x02, 0x1C, 0xE6, 0x45, 0xC2, 0xC4, 0xFD, 0xBF, 0x44, 0xA1, 0x4C, 0x33, 0xC5,
    0x84, 0x23, 0x7C, 0xB0, 0x25, 0x15, 0x35, 0x69, 0xFF, 0x94, 0x4D, 0x70, 0xA2, 0xAF, 0xCD, 0xD6,
    0x6C, 0xB7, 0xF8, 0x09, 0xF3, 0x67, 0xA4, 0xEA, 0xEC, 0xB6, 0xD4, 0xD2, 0x14, 0x1E, 0xE1, 0x24,
    0x38, 0xC6, 0xDB, 0x4B, 0x7A, 0x3A, 0xDE, 0x5E, 0xDF, 0x95, 0xFC, 0xAA, 0xD7, 0xCE, 0x07, 0x0F,
    0x3D, 0x58, 0x9A, 0x98, 0x9C, 0xF2, 0xA7, 0x11, 0x7E, 0x8B, 0x43, 0x03, 0xE2, 0xDC, 0xE5, 0xB2,
    0x4E, 0xC7, 0x6D, 0xE9, 0x27, 0x40, 0xD8, 0x37, 0x92, 0x8F, 0x01, 0x1D, 0x53, 0x3E, 0x59, 0xC1,
    0x4F, 0x32, 0x16, 0xFA, 0x74, 0xFB, 0x63, 0x9F, 0x34, 0x1A, 0x2A, 0x5A, 0x8D, 0xC9, 0xCF, 0xF6,
    0x90, 0x28, 0x88, 0x9B, 0x31, 0x0E, 0xBD, 0x4A, 0xE8, 0x96, 0xA6, 0x0C, 0xC8, 0x79, 0xBC, 0xBE,
    0xEF, 0x6E, 0x46, 0x97, 0x5B, 0xED, 0x19, 0xD9, 0xAC, 0x99, 0xA8, 0x29, 0x64, 0x1F, 0xAD, 0x55,
    0x13, 0xBB, 0xF7, 0x6F, 0xB9, 0x47, 0x2F, 0xEE, 0xB8, 0x7B, 0x89, 0x30, 0xD3, 0x7F, 0x76, 0x82,
};

constexpr int Rounds = 10;

// First row of the circulant diffusion matrix; row k is this row rotated right by k places.
constexpr std::uint8_t Circulant[8] = {1, 1, 3, 1, 5, 8, 9, 5};

// Multiplication in GF(2^8) modulo x^8 + x^4 + x^3 + x^2 + 1.
constexpr std::uint8_t GfMultiply(std::uint8_t A, std::uint8_t B)
{
    std::uint8_t product = 0;
    while (B != 0) {
        if (B & 1)
            product ^= A;
        A = static_cast<std::uint8_t>((A << 1) ^ ((A & 0x80) ? 0x1D : 0x00));
        B >>= 1;
    }
    return product;
}

// A state row is held as a 64-bit word with column 0 in the most significant byte.
// Table[k][x] is the contribution of S[x], standing in column k after the column shift,
// to a whole output row: byte j of it is S[x] times the matrix entry (k, j).
struct TRoundTables
{
    std::uint64_t Table[8][256];
    std::uint64_t Constant[Rounds + 1]; // row 0 of the round constants; the other rows are zero

    constexpr TRoundTables() : Table{}, Constant{}
    {
        for (int x = 0; x < 256; ++x) {
            std::uint64_t row = 0;
            for (int j = 0; j < 8; ++j)
                row = (row << 8) | GfMultiply(SBox[x], Circulant[j]);
            for (int k = 0; k < 8; ++k)
                Table[k][x] = k == 0 ? row : (row >> (8 * k)) | (row << (64 - 8 * k));
        }
        for (int r = 1; r <= Rounds; ++r) {
            std::uint64_t row = 0;
            for (int j = 0; j < 8; ++j)
                row = (row << 8) | SBox[8 * (r - 1) + j];
            Constant[r] = row;
        }
    }
};

constexpr TRoundTables RoundTables;

// One round without the key addition: the S-box on every byte, column j moved down by j rows,
// then the diffusion matrix on every row.
void Transform(const std::uint64_t (&In)[8], std::uint64_t (&Out)[8])
{
    for (int i = 0; i < 8; ++i) {
        std::uint64_t row = 0;
        for (int k = 0; k < 8; ++k)
            row ^= RoundTables.Table[k][(In[(i - k) & 7] >> (56 - 8 * k)) & 0xFF];
        Out[i] = row;
    }
}

std::uint64_t LoadBigEndian(const std::uint8_t* Bytes)
{
    std::uint64_t value = 0;
    for (int b = 0; b < 8; ++b)
        value = (value << 8) | Bytes[b];
    return value;
}

} // namespace

TWhirlpool0::TWhirlpool0()
{
    Reset();
}

void TWhirlpool0::Reset()
{
    FHash.fill(0);
    FBuffer.fill(0);
    FBufferLength = 0;
    FMessageLength = 0;
}

void TWhirlpool0::Update(const QByteArray& Data)
{
    Update(Data.constData(), Data.size());
}

void TWhirlpool0::Update(const char* Data, qsizetype Length)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(Data);
    FMessageLength += static_cast<std::uint64_t>(Length);
    while (Length > 0) {
        const qsizetype take = std::min<qsizetype>(Length, 64 - FBufferLength);
        std::memcpy(FBuffer.data() + FBufferLength, bytes, static_cast<size_t>(take));
        FBufferLength += static_cast<int>(take);
        bytes += take;
        Length -= take;
        if (FBufferLength == 64) {
            Compress(FBuffer.data());
            FBufferLength = 0;
        }
    }
}

QByteArray TWhirlpool0::Final()
{
    // One 1 bit, zero bits up to 32 bytes before a block end, then the length in bits as a
    // 256-bit big-endian number.
    const std::uint64_t messageLength = FMessageLength;
    FBuffer[FBufferLength++] = 0x80;
    if (FBufferLength > 32) {
        std::fill(FBuffer.begin() + FBufferLength, FBuffer.end(), 0);
        Compress(FBuffer.data());
        FBufferLength = 0;
    }
    std::fill(FBuffer.begin() + FBufferLength, FBuffer.end(), 0);
    const std::uint64_t bitsLow = messageLength << 3;
    const std::uint64_t bitsHigh = messageLength >> 61;
    for (int b = 0; b < 8; ++b) {
        FBuffer[63 - b] = static_cast<std::uint8_t>(bitsLow >> (8 * b));
        FBuffer[55 - b] = static_cast<std::uint8_t>(bitsHigh >> (8 * b));
    }
    Compress(FBuffer.data());

    QByteArray digest(DigestSize, '\0');
    for (int i = 0; i < 8; ++i)
        for (int b = 0; b < 8; ++b)
            digest[8 * i + b] = static_cast<char>(FHash[i] >> (56 - 8 * b));
    return digest;
}

// Miyaguchi-Preneel: the block is enciphered under the chaining value as key, and the result,
// the chaining value and the block are combined by exclusive-or.
void TWhirlpool0::Compress(const std::uint8_t* Block)
{
    std::uint64_t key[8];
    std::uint64_t state[8];
    std::uint64_t message[8];
    std::uint64_t next[8];
    for (int i = 0; i < 8; ++i) {
        message[i] = LoadBigEndian(Block + 8 * i);
        key[i] = FHash[i];
        state[i] = message[i] ^ key[i];
    }
    for (int r = 1; r <= Rounds; ++r) {
        Transform(key, next);
        next[0] ^= RoundTables.Constant[r];
        std::copy(std::begin(next), std::end(next), std::begin(key));

        Transform(state, next);
        for (int i = 0; i < 8; ++i)
            state[i] = next[i] ^ key[i];
    }
    for (int i = 0; i < 8; ++i)
        FHash[i] ^= state[i] ^ message[i];
}

QByteArray Whirlpool0(const QByteArray& Data)
{
    TWhirlpool0 hash;
    hash.Update(Data);
    return hash.Final();
}
