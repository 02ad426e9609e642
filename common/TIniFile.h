#pragma once

#include "EIniFileException.h"

#include <QString>

class TIniDocument;

// An INI file read and written with the rules of the Windows private-profile functions; see
// TIniDocument for how lines are read. Every read reads the file anew and every write rewrites it,
// so several TIniFile objects on one file always agree.
//
// Reading: a missing file, section or key gives Default (with trailing blanks removed). A value is
// read with blanks around it removed and then one enclosing pair of double or single quotes; at
// most its first 2047 characters are seen.
// Writing: a new file is Windows-1252 text with CR LF line ends, a file starting with the UTF-16LE
// byte-order mark stays UTF-16LE; all lines not written keep their bytes. The new file replaces
// the old one only when it was written completely. A failed write throws EIniFileException
// "In <file name> kann nicht geschrieben werden".
// Not thread-safe; GUI thread only.
class TIniFile
{
public:
    explicit TIniFile(const QString& FileName);

    QString FileName() const { return FFileName; }

    QString ReadString(const QString& Section, const QString& Ident, const QString& Default) const;
    // Decimal, or hexadecimal after "$", "0x" or "0X", with an optional sign; a value that is no
    // integer of 32 bits gives Default.
    int ReadInteger(const QString& Section, const QString& Ident, int Default) const;
    // True when the value reads as an integer other than 0; a value that is no integer, such as
    // "True", gives Default.
    bool ReadBool(const QString& Section, const QString& Ident, bool Default) const;

    // Writes "Ident=Value": in place of the key's line, after the section's last key, or in the
    // section created at the end of the file. Throws EIniFileException.
    void WriteString(const QString& Section, const QString& Ident, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Ident, int Value);
    // Writes "1" or "0".
    void WriteBool(const QString& Section, const QString& Ident, bool Value);

    // Removes the section with its header and all its lines; other sections stay. A missing file is
    // created empty. Throws EIniFileException.
    void EraseSection(const QString& Section);
    // True when the section holds at least one key (a bare header does not count).
    bool SectionExists(const QString& Section) const;
    // True when the section holds the key, also with an empty value.
    bool ValueExists(const QString& Section, const QString& Ident) const;

private:
    TIniDocument Load() const;
    // Load for a write: raises when the file exists but cannot be read.
    TIniDocument LoadForChange() const;
    void Save(const TIniDocument& Document);

    QString FFileName;
};
