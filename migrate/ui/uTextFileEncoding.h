#pragma once

#include <QByteArray>
#include <QStringList>

// How a text file's characters are stored: Windows-1252 without byte-order mark, or Unicode with
// its mark.
enum TTextEncoding { teAnsi, teUtf8, teUtf16LE, teUtf16BE };

// The encoding a file's bytes announce by their byte-order mark; teAnsi without one.
TTextEncoding DetectTextEncoding(const QByteArray& Bytes);

// Lines as the bytes of a text file: the encoding's byte-order mark (none for teAnsi), then every
// line followed by CR LF. Characters Windows-1252 lacks become "?" under teAnsi.
QByteArray EncodeTextLines(const QStringList& Lines, TTextEncoding Encoding);
