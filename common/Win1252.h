#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the single-byte code page of new INI files and of RTF "\'hh" escapes.

// Every byte maps to one character; the five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the control characters of the same number, so that decoding and
// encoding again gives the original bytes.
QString DecodeWin1252(const QByteArray& Bytes);

// Characters the code page cannot represent become "?" (one per code point).
QByteArray EncodeWin1252(const QString& Text);

// The character of one byte (see DecodeWin1252).
QChar Win1252Char(unsigned char Byte);
