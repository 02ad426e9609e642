#include "TIniFile.h"

#include "TIniDocument.h"

#include <QFile>
#include <QSaveFile>

namespace {

// The profile functions read into a buffer of 2048 characters, one of them the terminating NUL.
constexpr qsizetype MaxValueLength = 2047;

QString StripEnclosingQuotes(const QString& Value)
{
    if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'') && Value.back() == Value.front())
        return Value.sliced(1, Value.size() - 2);
    return Value;
}

QString StripTrailingSpaces(const QString& Text)
{
    qsizetype end = Text.size();
    while (end > 0 && Text[end - 1] == u' ')
        --end;
    return Text.first(end);
}

// The value of a digit in Base (10 or 16), or -1.
int DigitValue(QChar Ch, int Base)
{
    const char16_t c = Ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (Base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (Base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

std::optional<int> ParseInteger(QStringView Text)
{
    bool negative = false;
    if (!Text.isEmpty() && (Text.front() == u'-' || Text.front() == u'+')) {
        negative = Text.front() == u'-';
        Text = Text.sliced(1);
    }
    int base = 10;
    if (Text.startsWith(u'$')) {
        base = 16;
        Text = Text.sliced(1);
    } else if (Text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        Text = Text.sliced(2);
    }
    if (Text.isEmpty())
        return std::nullopt;
    // Hexadecimal takes all 32 bits ("$FFFFFFFF" is -1); decimal must fit the signed range.
    const quint64 limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    quint64 value = 0;
    for (const QChar ch : Text) {
        const int digit = DigitValue(ch, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + static_cast<quint64>(digit);
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<quint32>(value);
    return static_cast<qint32>(negative ? 0u - bits : bits);
}

} // namespace

TIniFile::TIniFile(const QString& FileName) : FFileName(FileName)
{
}

QString TIniFile::ReadString(const QString& Section, const QString& Ident, const QString& Default) const
{
    const std::optional<QString> value = Load().Value(Section, Ident);
    const QString result = value ? StripEnclosingQuotes(*value) : StripTrailingSpaces(Default);
    return result.left(MaxValueLength);
}

int TIniFile::ReadInteger(const QString& Section, const QString& Ident, int Default) const
{
    return ParseInteger(ReadString(Section, Ident, QString())).value_or(Default);
}

bool TIniFile::ReadBool(const QString& Section, const QString& Ident, bool Default) const
{
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& Section, const QString& Ident, const QString& Value)
{
    TIniDocument document = Load();
    document.SetValue(Section, Ident, Value);
    Save(document);
}

void TIniFile::WriteInteger(const QString& Section, const QString& Ident, int Value)
{
    WriteString(Section, Ident, QString::number(Value));
}

void TIniFile::WriteBool(const QString& Section, const QString& Ident, bool Value)
{
    WriteString(Section, Ident, Value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::EraseSection(const QString& Section)
{
    TIniDocument document = Load();
    document.EraseSection(Section);
    Save(document);
}

bool TIniFile::SectionExists(const QString& Section) const
{
    return Load().HasKeys(Section);
}

bool TIniFile::ValueExists(const QString& Section, const QString& Ident) const
{
    return Load().Value(Section, Ident).has_value();
}

TIniDocument TIniFile::Load() const
{
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly))
        return TIniDocument::FromBytes(QByteArray());
    return TIniDocument::FromBytes(file.readAll());
}

void TIniFile::Save(const TIniDocument& Document)
{
    const QByteArray bytes = Document.ToBytes();
    QSaveFile file(FFileName);
    // A folder that allows no new files still lets an existing file be overwritten in place.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileException(QStringLiteral("In %1 kann nicht geschrieben werden").arg(FFileName));
}
