#pragma once

#include <QByteArray>

#include <cstdint>
#include <functional>

// A hash function on a whole message, returning its digest.
using THashFunction = std::function<QByteArray(const QByteArray&)>;

// The counter key derivation KDFx: key byte i is the exclusive-or of all digest bytes of
// BE32(i) | K[0..i-1] | BE32(Index) | BE32(len Seed) | Seed | BE32(len Data) | Data,
// where BE32 is a 32-bit big-endian number and K[0..i-1] the key bytes made so far.
// Returns KeyLength bytes (none when KeyLength <= 0).
QByteArray KDFx(const THashFunction& Hash, const QByteArray& Data, const QByteArray& Seed, int KeyLength,
                std::uint32_t Index = 1);
