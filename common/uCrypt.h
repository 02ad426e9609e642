#pragma once

#include <QString>

// The cipher of the server password in configuration files. The stored form is Base64 of
// salt (16 bytes) | the text as UTF-16LE, enciphered with AES-256 in CBCx mode | check block (16),
// with the key derived from the passphrase and the salt by KDFx over Whirlpool-0.
// A text of n UTF-16 code units gives 4 * ceil((32 + 2n) / 3) characters.
// An empty Passphrase selects the built-in one. Neither routine throws.

// Returns Text enciphered under a fresh random salt, so two calls give different results.
// Returns an empty text only if the crypto library fails.
QString Encrypt(const QString& Text, const QString& Passphrase = QString());

// Returns the clear text of Value, or "???" when Value was not made with this passphrase,
// is damaged or truncated, or is no Base64 at all. Blanks and line breaks inside Value are ignored.
QString Decrypt(const QString& Value, const QString& Passphrase = QString());
