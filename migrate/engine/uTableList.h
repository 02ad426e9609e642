#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The table list "Migration_Tabellen.txt": which tables the run empties and copies, in which order
// and how. Also the text-file loading that the table list and the extra script files share.

// Whether the table list describes a Kladde database.
enum TMigType { mtKladde, mtOther };

// "Migration_Tabellen.txt".
QString TableListFileName();
// The table list's path in the program folder.
QString TableListPath();

// The text of a file's bytes: a UTF-8 byte-order mark gives UTF-8, a UTF-16 mark (LE or BE)
// UTF-16, anything else Windows-1252. The mark itself is not part of the text.
QString DecodeTextFile(const QByteArray& Bytes);
// The lines of Text, ended by CR LF, LF or CR. A final line end adds no empty line; an empty text
// has no lines. Lines are returned unchanged (no trimming).
QStringList SplitTextLines(const QString& Text);
// The lines of the file FileName (DecodeTextFile, then SplitTextLines).
// Raises Exception ("Cannot open file ...") when the file cannot be read.
QStringList LoadTextLines(const QString& FileName);

// "//" at the very first character; a blank before it makes a table line.
bool IsCommentLine(const QString& Line);
// Neither empty nor a comment line; a line of blanks is a table line.
bool IsTableLine(const QString& Line);

// mtKladde as soon as one line, comment lines included, contains "SchuelerLeistungsdaten" in any
// letter case; else mtOther.
TMigType DetectMigType(const QStringList& Lines);

// The six fields of one table line as GetToken(line, ";", n) gives them: untrimmed, empty when the
// line has fewer fields; fields after the sixth are ignored.
struct TTableLine
{
    QString TableName;     // field 1
    QString FilterKind;    // field 2: "#", "I", "S", "A"; compared exactly by the run
    QString ErrorFlag;     // field 3
    QString KeyColumn;     // field 4, raw
    QString ExclusionRaw;  // field 5, raw (columns separated by ",")
    QString CopyModeFlag;  // field 6

    static TTableLine Parse(const QString& Line);

    // Field 3 is exactly "+".
    bool ShowErrors() const;
    // Field 4, "#" when empty.
    QString KeyColumnOrHash() const;
    // Field 5 with every "," replaced by ";", the form CopyRecordFields and the column test take.
    QString ExclusionList() const;
    // Field 5 begins with "$": the listed columns are identity columns.
    bool IdentityFlag() const;
    // Field 6 is "BLOB" in any letter case.
    bool BlobMode() const;
};

// List without its first "$" (the identity flag once noted).
QString WithoutIdentityFlag(const QString& List);
// Empty when List is exactly "#", else List.
QString WithoutPlaceholder(const QString& List);
