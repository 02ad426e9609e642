#include "TIniFile.h"

#include "TIniDocument.h"
#include "utils.h"

#include <QFile>
#include <QFileInfo>
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
    TIniDocument document = LoadForChange();
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
    TIniDocument document = LoadForChange();
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

TIniDocument TIniFile::LoadForChange() const
{
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly)) {
        // A file that is there but cannot be read would be replaced by its new lines alone.
        if (QFileInfo::exists(FFileName))
            throw EIniFileException(QStringLiteral("In %1 kann nicht geschrieben werden").arg(FFileName));
        return TIniDocument::FromBytes(QByteArray());
    }
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
