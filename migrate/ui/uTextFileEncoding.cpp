#include "uTextFileEncoding.h"

#include "Win1252.h"

#include <QStringEncoder>

TTextEncoding DetectTextEncoding(const QByteArray& Bytes)
{
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        return teUtf8;
    if (Bytes.startsWith("\xFF\xFE"))
        return teUtf16LE;
    if (Bytes.startsWith("\xFE\xFF"))
        return teUtf16BE;
    return teAnsi;
}

QByteArray EncodeTextLines(const QStringList& Lines, TTextEncoding Encoding)
{
    QString text;
    for (const QString& line : Lines)
        text += line + QStringLiteral("\r\n");
    switch (Encoding) {
    case teAnsi:
        return EncodeWin1252(text);
    case teUtf8:
        return QStringEncoder(QStringConverter::Utf8, QStringConverter::Flag::WriteBom).encode(text);
    case teUtf16LE:
        return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom).encode(text);
    case teUtf16BE:
        return QStringEncoder(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom).encode(text);
    }
    return QByteArray();
}
