#include "uTableList.h"

#include "Exception.h"
#include "Platform.h"
#include "Win1252.h"
#include "utils.h"

#include <QFile>

namespace {

QString DecodeUtf16(const QByteArray& Bytes, bool BigEndian)
{
    QString text;
    text.reserve((Bytes.size() - 2) / 2);
    // A dangling odd byte at the end cannot form a character and is dropped.
    for (qsizetype at = 2; at + 1 < Bytes.size(); at += 2) {
        const auto first = static_cast<unsigned char>(Bytes[at]);
        const auto second = static_cast<unsigned char>(Bytes[at + 1]);
        text.append(QChar(BigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first)));
    }
    return text;
}

} // namespace

QString TableListFileName()
{
    return QStringLiteral("Migration_Tabellen.txt");
}

QString TableListPath()
{
    return AppDir() + PathDelim + TableListFileName();
}

QString DecodeTextFile(const QByteArray& Bytes)
{
    if (Bytes.startsWith("\xFF\xFE"))
        return DecodeUtf16(Bytes, false);
    if (Bytes.startsWith("\xFE\xFF"))
        return DecodeUtf16(Bytes, true);
    if (Bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(Bytes.sliced(3));
    return DecodeWin1252(Bytes);
}

QStringList SplitTextLines(const QString& Text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = Text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && Text[end] != u'\r' && Text[end] != u'\n')
            ++end;
        lines.append(Text.sliced(start, end - start));
        if (end < size && Text[end] == u'\r')
            ++end;
        if (end < size && Text[end] == u'\n')
            ++end;
        start = end;
    }
    return lines;
}

QStringList LoadTextLines(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(FileName, file.errorString()));
    return SplitTextLines(DecodeTextFile(file.readAll()));
}

bool IsCommentLine(const QString& Line)
{
    return Line.startsWith(QStringLiteral("//"));
}

bool IsTableLine(const QString& Line)
{
    return !Line.isEmpty() && !IsCommentLine(Line);
}

TMigType DetectMigType(const QStringList& Lines)
{
    for (const QString& line : Lines)
        if (line.contains(QStringLiteral("SchuelerLeistungsdaten"), Qt::CaseInsensitive))
            return mtKladde;
    return mtOther;
}

TTableLine TTableLine::Parse(const QString& Line)
{
    const QString separator = QStringLiteral(";");
    TTableLine result;
    result.TableName = GetToken(Line, separator, 1);
    result.FilterKind = GetToken(Line, separator, 2);
    result.ErrorFlag = GetToken(Line, separator, 3);
    result.KeyColumn = GetToken(Line, separator, 4);
    result.ExclusionRaw = GetToken(Line, separator, 5);
    result.CopyModeFlag = GetToken(Line, separator, 6);
    return result;
}

bool TTableLine::ShowErrors() const
{
    return ErrorFlag == QStringLiteral("+");
}

QString TTableLine::KeyColumnOrHash() const
{
    return KeyColumn.isEmpty() ? QStringLiteral("#") : KeyColumn;
}

QString TTableLine::ExclusionList() const
{
    return QString(ExclusionRaw).replace(u',', u';');
}

bool TTableLine::IdentityFlag() const
{
    return ExclusionRaw.startsWith(u'$');
}

bool TTableLine::BlobMode() const
{
    return CopyModeFlag.compare(QStringLiteral("BLOB"), Qt::CaseInsensitive) == 0;
}

QString WithoutIdentityFlag(const QString& List)
{
    QString result = List;
    const qsizetype at = result.indexOf(u'$');
    if (at >= 0)
        result.remove(at, 1);
    return result;
}

QString WithoutPlaceholder(const QString& List)
{
    return List == QStringLiteral("#") ? QString() : List;
}
