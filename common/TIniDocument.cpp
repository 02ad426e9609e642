#include "TIniDocument.h"

#include "Win1252.h"

namespace {

const QString CrLf = QStringLiteral("\r\n");

bool IsBlank(QChar Ch)
{
    // The profile functions count the end-of-file character among the blanks.
    return Ch == u' ' || Ch == u'\t' || Ch == u'\v' || Ch == u'\f' || Ch == u'\r' || Ch == u'\n' || Ch == u'\x1A';
}

QStringView TrimBlanks(QStringView Text)
{
    qsizetype first = 0;
    qsizetype last = Text.size();
    while (first < last && IsBlank(Text[first]))
        ++first;
    while (last > first && IsBlank(Text[last - 1]))
        --last;
    return Text.sliced(first, last - first);
}

enum class TLineKind { Blank, Comment, Section, Key, Other };

struct TParsedLine
{
    TLineKind Kind = TLineKind::Other;
    QStringView Name;
    QStringView Value;
};

TParsedLine ParseLine(const QString& Text)
{
    const QStringView line = TrimBlanks(Text);
    if (line.isEmpty())
        return {TLineKind::Blank, {}, {}};
    if (line.front() == u';')
        return {TLineKind::Comment, {}, {}};
    if (line.front() == u'[') {
        const qsizetype close = line.lastIndexOf(u']');
        if (close > 0)
            return {TLineKind::Section, line.sliced(1, close - 1), {}};
    }
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0)
        return {TLineKind::Other, {}, {}};
    return {TLineKind::Key, TrimBlanks(line.first(equals)), TrimBlanks(line.sliced(equals + 1))};
}

bool SameName(QStringView A, QStringView B)
{
    return A.compare(B, Qt::CaseInsensitive) == 0;
}

QString DecodeUtf16Le(const QByteArray& Bytes, qsizetype Offset)
{
    QString text;
    text.reserve((Bytes.size() - Offset) / 2);
    for (qsizetype i = Offset; i + 1 < Bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(Bytes[i]);
        const auto high = static_cast<unsigned char>(Bytes[i + 1]);
        text.append(QChar(static_cast<char16_t>(low | (high << 8))));
    }
    return text;
}

QByteArray EncodeUtf16Le(const QString& Text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.reserve(2 + Text.size() * 2);
    for (const QChar ch : Text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

} // namespace

TIniDocument TIniDocument::FromBytes(const QByteArray& Bytes)
{
    TIniDocument doc;
    doc.FUtf16 = Bytes.startsWith("\xFF\xFE");
    const QString text = doc.FUtf16 ? DecodeUtf16Le(Bytes, 2) : DecodeWin1252(Bytes);
    qsizetype start = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar ch = text[i];
        if (ch != u'\r' && ch != u'\n') {
            ++i;
            continue;
        }
        const qsizetype eolLength = (ch == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        doc.FLines.append({text.sliced(start, i - start), text.sliced(i, eolLength)});
        i += eolLength;
        start = i;
    }
    if (start < text.size())
        doc.FLines.append({text.sliced(start), QString()});
    return doc;
}

QByteArray TIniDocument::ToBytes() const
{
    QString text;
    for (const TLine& line : FLines)
        text += line.Text + line.Eol;
    return FUtf16 ? EncodeUtf16Le(text) : EncodeWin1252(text);
}

std::optional<QString> TIniDocument::Value(const QString& Section, const QString& Ident) const
{
    const int header = FindSection(Section);
    if (header < 0)
        return std::nullopt;
    const int key = FindKey(header, Ident);
    if (key < 0)
        return std::nullopt;
    return ParseLine(FLines[key].Text).Value.toString();
}

bool TIniDocument::HasKeys(const QString& Section) const
{
    const int header = FindSection(Section);
    if (header < 0)
        return false;
    const int end = SectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        if (ParseLine(FLines[i].Text).Kind == TLineKind::Key)
            return true;
    }
    return false;
}

void TIniDocument::SetValue(const QString& Section, const QString& Ident, const QString& Value)
{
    const int header = FindSection(Section);
    if (header < 0) {
        InsertLine(FLines.size(), u'[' + Section + u']');
        InsertLine(FLines.size(), Ident + u'=' + Value);
        return;
    }
    const int end = SectionEnd(header);
    int lastKey = header;
    for (int i = header + 1; i < end; ++i) {
        const TParsedLine parsed = ParseLine(FLines[i].Text);
        if (parsed.Kind != TLineKind::Key)
            continue;
        if (SameName(parsed.Name, Ident)) {
            FLines[i].Text = parsed.Name.toString() + u'=' + Value;
            return;
        }
        lastKey = i;
    }
    InsertLine(lastKey + 1, Ident + u'=' + Value);
}

void TIniDocument::EraseSection(const QString& Section)
{
    const int header = FindSection(Section);
    if (header >= 0)
        FLines.remove(header, SectionEnd(header) - header);
}

int TIniDocument::FindSection(const QString& Section) const
{
    for (int i = 0; i < FLines.size(); ++i) {
        const TParsedLine parsed = ParseLine(FLines[i].Text);
        if (parsed.Kind == TLineKind::Section && SameName(parsed.Name, Section))
            return i;
    }
    return -1;
}

int TIniDocument::SectionEnd(int Index) const
{
    for (int i = Index + 1; i < FLines.size(); ++i) {
        if (ParseLine(FLines[i].Text).Kind == TLineKind::Section)
            return i;
    }
    return FLines.size();
}

int TIniDocument::FindKey(int Header, const QString& Ident) const
{
    const int end = SectionEnd(Header);
    for (int i = Header + 1; i < end; ++i) {
        const TParsedLine parsed = ParseLine(FLines[i].Text);
        if (parsed.Kind == TLineKind::Key && SameName(parsed.Name, Ident))
            return i;
    }
    return -1;
}

void TIniDocument::InsertLine(int Index, const QString& Text)
{
    // A last line without line end gets one before anything follows it.
    if (Index > 0 && FLines[Index - 1].Eol.isEmpty())
        FLines[Index - 1].Eol = CrLf;
    FLines.insert(Index, {Text, CrLf});
}
