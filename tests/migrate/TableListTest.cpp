#include "Exception.h"
#include "Platform.h"
#include "ScratchDir.h"
#include "Win1252.h"
#include "uTableList.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <functional>

namespace {

std::string Std(const QString& Text)
{
    return Text.toStdString();
}

std::string Joined(const QStringList& Lines)
{
    return Std(u'[' + Lines.join(QStringLiteral("|")) + u']');
}

struct TLineCase
{
    QString Line;
    bool TableLine;
    bool Comment;
    QStringList Fields; // the six fields
    bool ShowErrors;
    QString KeyColumn;  // KeyColumnOrHash
    QString Exclusion;  // ExclusionList
    bool Identity;
    bool Blob;
};

TEST(TableList, LinesAndTheirFields)
{
    const TLineCase cases[] = {
        {"Schueler;I;+;ID;$ID,Foto;BLOB", true, false, {"Schueler", "I", "+", "ID", "$ID,Foto", "BLOB"}, true, "ID",
         "$ID;Foto", true, true},
        // Four fields: no exclusion list, statement mode.
        {"K_Lehrer;#;+;ID", true, false, {"K_Lehrer", "#", "+", "ID", "", ""}, true, "ID", "", false, false},
        {"T;S;-;;;", true, false, {"T", "S", "-", "", "", ""}, false, "#", "", false, false},
        // Fields after the sixth are ignored; the copy-mode flag ignores letter case.
        {"T;A;+;#;#;blob;BLOB;x", true, false, {"T", "A", "+", "#", "#", "blob"}, true, "#", "#", false, true},
        {"T;I;+;ID;a,b,c;BLOBS", true, false, {"T", "I", "+", "ID", "a,b,c", "BLOBS"}, true, "ID", "a;b;c", false,
         false},
        {"T;I;++;ID;x$y", true, false, {"T", "I", "++", "ID", "x$y", ""}, false, "ID", "x$y", false, false},
        // Fields are not trimmed.
        {" T ; I ; + ", true, false, {" T ", " I ", " + ", "", "", ""}, false, "#", "", false, false},
        // A line of blanks is a table line whose table name is the blanks.
        {"   ", true, false, {"   ", "", "", "", "", ""}, false, "#", "", false, false},
        // Only "//" at the very first character makes a comment.
        {" //Schueler;I", true, false, {" //Schueler", "I", "", "", "", ""}, false, "#", "", false, false},
        {"/ /x", true, false, {"/ /x", "", "", "", "", ""}, false, "#", "", false, false},
        {"//Schueler;I;+", false, true, {"//Schueler", "I", "+", "", "", ""}, true, "#", "", false, false},
        {"//", false, true, {"//", "", "", "", "", ""}, false, "#", "", false, false},
        {"", false, false, {"", "", "", "", "", ""}, false, "#", "", false, false},
    };
    for (const TLineCase& c : cases) {
        SCOPED_TRACE("line \"" + Std(c.Line) + "\"");
        EXPECT_EQ(IsTableLine(c.Line), c.TableLine);
        EXPECT_EQ(IsCommentLine(c.Line), c.Comment);
        const TTableLine line = TTableLine::Parse(c.Line);
        const QStringList fields = {line.TableName, line.FilterKind,   line.ErrorFlag,
                                    line.KeyColumn, line.ExclusionRaw, line.CopyModeFlag};
        EXPECT_EQ(Joined(fields), Joined(c.Fields));
        EXPECT_EQ(line.ShowErrors(), c.ShowErrors);
        EXPECT_EQ(Std(line.KeyColumnOrHash()), Std(c.KeyColumn));
        EXPECT_EQ(Std(line.ExclusionList()), Std(c.Exclusion));
        EXPECT_EQ(line.IdentityFlag(), c.Identity);
        EXPECT_EQ(line.BlobMode(), c.Blob);
    }
}

// The exclusion list as the copy phase reduces it: identity flag removed, then a lone "#" emptied.
TEST(TableList, ExclusionListReduction)
{
    const struct
    {
        QString Raw;
        QString WithoutFlag;
        QString Final;
    } cases[] = {
        {"$ID,Foto", "ID;Foto", "ID;Foto"},
        {"$#", "#", ""},
        {"$", "", ""},
        {"#", "#", ""},
        {"##", "##", "##"},
        {"$$ID", "$ID", "$ID"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("field 5 \"" + Std(c.Raw) + "\"");
        const TTableLine line = TTableLine::Parse(QStringLiteral("T;#;+;ID;") + c.Raw);
        const QString list = line.IdentityFlag() ? WithoutIdentityFlag(line.ExclusionList()) : line.ExclusionList();
        EXPECT_EQ(Std(list), Std(c.WithoutFlag));
        EXPECT_EQ(Std(WithoutPlaceholder(list)), Std(c.Final));
    }
}

TEST(TableList, DetectMigType)
{
    const struct
    {
        QStringList Lines;
        TMigType Type;
    } cases[] = {
        {{}, mtOther},
        {{"Schueler;I;+", "SchuelerLernabschnittsdaten;S;+"}, mtOther},
        {{"Schueler;I;+", "SchuelerLeistungsdaten;A;+"}, mtKladde},
        {{"// schuelerleistungsdaten kommt spaeter", "Schueler;I;+"}, mtKladde},
        {{"Tabelle;#;+;SCHUELERLEISTUNGSDATEN_ID"}, mtKladde},
        {{"Schueler Leistungsdaten;#"}, mtOther},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Joined(c.Lines));
        EXPECT_EQ(DetectMigType(c.Lines), c.Type);
    }
}

TEST(TableList, DecodingAndLineEnds)
{
    const struct
    {
        QByteArray Bytes;
        QStringList Lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"\r\n", {""}},
        {"a", {"a"}},
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\n\nb\n", {"a", "", "b"}},
        // LF CR is two line ends; CR CR LF is a CR and a CR LF.
        {"a\n\rb", {"a", "", "b"}},
        {"a\r\r\nb", {"a", "", "b"}},
        {" \t ; \r\n", {" \t ; "}},
        // Without a byte-order mark the bytes are Windows-1252, also when they would be valid UTF-8.
        {"Abg\xE4nger \x80", {QStringLiteral("Abgänger €")}},
        {"\xC3\xA4", {QStringLiteral("Ã¤")}},
        {"\xEF\xBB\xBF", {}},
        {"\xEF\xBB\xBF\xC3\xA4\r\n\xE2\x82\xAC", {QStringLiteral("ä"), QStringLiteral("€")}},
        {QByteArray("\xFF\xFE" "a\0\r\0\n\0\xE4\0", 10), {"a", QStringLiteral("ä")}},
        {QByteArray("\xFE\xFF" "\0a\0\r\0\n\0\xE4", 10), {"a", QStringLiteral("ä")}},
        // A dangling odd byte of UTF-16 is dropped.
        {QByteArray("\xFF\xFE" "a\0b", 5), {"a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("bytes " + c.Bytes.toHex(' ').toStdString());
        EXPECT_EQ(Joined(SplitTextLines(DecodeTextFile(c.Bytes))), Joined(c.Lines));
    }
}

// Files in every encoding and line-end form, with and without a final line end, read the same lines.
TEST(TableList, LoadsFilesInEveryEncodingAndLineEnd)
{
    const QStringList lines = {
        QStringLiteral("// Tabellen für Kladde"),
        QStringLiteral("Schueler;I;+;ID;$ID;"),
        QString(),
        QStringLiteral("   "),
        QStringLiteral(" //Abgänger;S;+;;Größe,Gewicht;BLOB"),
        QStringLiteral("K_Währung;#;-;€"),
    };
    const struct
    {
        const char* Name;
        std::function<QByteArray(const QString&)> Encode;
    } encodings[] = {
        {"Windows-1252", [](const QString& Text) { return EncodeWin1252(Text); }},
        {"UTF-8 with mark", [](const QString& Text) { return QByteArray("\xEF\xBB\xBF") + Text.toUtf8(); }},
        {"UTF-16LE with mark",
         [](const QString& Text) {
             QByteArray bytes("\xFF\xFE");
             for (QChar ch : Text)
                 bytes.append(char(ch.unicode() & 0xFF)).append(char(ch.unicode() >> 8));
             return bytes;
         }},
        {"UTF-16BE with mark",
         [](const QString& Text) {
             QByteArray bytes("\xFE\xFF");
             for (QChar ch : Text)
                 bytes.append(char(ch.unicode() >> 8)).append(char(ch.unicode() & 0xFF));
             return bytes;
         }},
    };
    const QString ends[] = {QStringLiteral("\r\n"), QStringLiteral("\n"), QStringLiteral("\r")};
    const QString path = QDir(ScratchDir()).filePath(TableListFileName());
    for (const auto& encoding : encodings)
        for (const QString& end : ends)
            for (bool finalEnd : {true, false}) {
                SCOPED_TRACE(std::string(encoding.Name) + ", line end " + QByteArray(end.toLatin1()).toHex().toStdString()
                             + (finalEnd ? ", final line end" : ", no final line end"));
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write(encoding.Encode(lines.join(end) + (finalEnd ? end : QString())));
                file.close();
                const QStringList loaded = LoadTextLines(path);
                EXPECT_EQ(Joined(loaded), Joined(lines));
                EXPECT_EQ(DetectMigType(loaded), mtOther);
            }
}

TEST(TableList, UnreadableFileRaises)
{
    const QString path = QDir(ScratchDir()).filePath(QStringLiteral("fehlt.txt"));
    try {
        LoadTextLines(path);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(path)) << Std(e.Message());
    }
}

TEST(TableList, FileLiesInTheProgramFolder)
{
    EXPECT_EQ(Std(TableListFileName()), "Migration_Tabellen.txt");
    EXPECT_EQ(Std(TableListPath()), Std(AppDir() + PathDelim + QStringLiteral("Migration_Tabellen.txt")));
}

} // namespace
