#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// The lines of one INI text, parsed the way the Windows private-profile functions see them, and
// edited so that every line not touched keeps its text and its line end.
//
// Lines: "[name]" opens a section (blanks around the line ignored, the name is everything between
// "[" and the last "]"); "name=value" is a key (blanks around name and value ignored); lines starting
// with ";" are comments; blank lines and lines without "=" are kept but are no keys. Lines before
// the first section belong to none. Names match without regard to case; of duplicate sections and
// duplicate keys only the first counts. Line ends may be CR LF, LF or CR; new lines get CR LF.
class TIniDocument
{
public:
    // Bytes starting with the UTF-16LE byte-order mark are UTF-16LE, all others Windows-1252.
    static TIniDocument FromBytes(const QByteArray& Bytes);
    // The text in the encoding it was read in (Windows-1252 for a document made from nothing).
    QByteArray ToBytes() const;

    // The value of the key with blanks around it removed; nullopt when section or key is missing.
    std::optional<QString> Value(const QString& Section, const QString& Ident) const;
    // True when the section exists and holds at least one key.
    bool HasKeys(const QString& Section) const;

    // Replaces the line of an existing key by "name=value" (the name as the file spells it), or adds
    // "Ident=Value" after the last key line of the section (after its header when it has none), or
    // appends the section with this key at the end of the text.
    void SetValue(const QString& Section, const QString& Ident, const QString& Value);
    // Removes the section's header and every line up to the next header; nothing when missing.
    void EraseSection(const QString& Section);

private:
    struct TLine
    {
        QString Text;
        QString Eol; // empty only for a last line without line end
    };

    // Index of the first header of Section, or -1.
    int FindSection(const QString& Section) const;
    // Index of the next header after Index, or the number of lines.
    int SectionEnd(int Index) const;
    // Index of the first key Ident between the header at Header and the next header, or -1.
    int FindKey(int Header, const QString& Ident) const;
    void InsertLine(int Index, const QString& Text);

    QList<TLine> FLines;
    bool FUtf16 = false;
};
