#include "TIniFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <functional>
#include <optional>

namespace {

QByteArray Utf16File(const QString& Text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar ch : Text) {
        bytes.append(static_cast<char>(ch.unicode() & 0xFF));
        bytes.append(static_cast<char>(ch.unicode() >> 8));
    }
    return bytes;
}

QString Digits(int Length)
{
    QString text;
    for (int i = 0; i < Length; ++i)
        text.append(QChar(u'0' + i % 10));
    return text;
}

using TAction = std::function<QString(TIniFile&)>;

TAction Read(const QString& Section, const QString& Ident, const QString& Default = QStringLiteral("<default>"))
{
    return [=](TIniFile& Ini) { return Ini.ReadString(Section, Ident, Default); };
}

TAction ReadInt(int Default = 7)
{
    return [=](TIniFile& Ini) { return QString::number(Ini.ReadInteger(QStringLiteral("S"), QStringLiteral("Port"), Default)); };
}

TAction ReadBool(bool Default)
{
    return [=](TIniFile& Ini) { return Ini.ReadBool(QStringLiteral("S"), QStringLiteral("Direct"), Default) ? QStringLiteral("true") : QStringLiteral("false"); };
}

TAction Write(const QString& Section, const QString& Ident, const QString& Value)
{
    return [=](TIniFile& Ini) {
        Ini.WriteString(Section, Ident, Value);
        return QString();
    };
}

TAction Erase(const QString& Section)
{
    return [=](TIniFile& Ini) {
        Ini.EraseSection(Section);
        return QString();
    };
}

TAction Steps(std::vector<TAction> Actions)
{
    return [=](TIniFile& Ini) {
        for (const TAction& action : Actions)
            action(Ini);
        return QString();
    };
}

// One rule of the INI format: the file's bytes before (none: no file), what is done with it, the
// text that gives (reads), and the file's bytes afterwards (none: unchanged).
struct TIniCase
{
    const char* Name;
    std::optional<QByteArray> Before;
    TAction Act;
    QString Result;
    std::optional<QByteArray> After;
};

QByteArray IntFile(const char* Value)
{
    return QByteArray("[S]\r\nPort=") + Value + "\r\n";
}

QByteArray BoolFile(const char* Value)
{
    return QByteArray("[S]\r\nDirect=") + Value + "\r\n";
}

const std::vector<TIniCase>& IniCases()
{
    static const std::vector<TIniCase> cases = {
        // Reading
        {"PlainValue", "[S]\r\nKey=Value\r\n", Read("S", "Key"), "Value", {}},
        {"NamesIgnoreCase", "[KladdeConnection]\r\nPROVIDERNAME=MSSQL\r\n", Read("kladdeconnection", "ProviderName"), "MSSQL", {}},
        {"BlanksAroundLinesNamesAndValues", "  [S]  \r\n\t Key \t=  a  b  \r\n", Read("S", "Key"), "a  b", {}},
        {"DoubleQuotesRemoved", "[S]\r\nDatabase=\"C:\\Daten\\kladde.mdb\"\r\n", Read("S", "Database"), "C:\\Daten\\kladde.mdb", {}},
        {"SingleQuotesRemovedInnerBlanksKept", "[S]\r\nKey= '  x  ' \r\n", Read("S", "Key"), "  x  ", {}},
        {"OnlyOnePairOfQuotesRemoved", "[S]\r\nKey=\"\"x\"\"\r\n", Read("S", "Key"), "\"x\"", {}},
        {"UnmatchedQuotesKept", "[S]\r\nKey=\"x'\r\n", Read("S", "Key"), "\"x'", {}},
        {"LoneQuoteKept", "[S]\r\nKey=\"\r\n", Read("S", "Key"), "\"", {}},
        {"CommentLinesAreNoKeys", "[S]\r\n;Key=1\r\n  ;Key=2\r\nKey=3\r\n", Read("S", "Key"), "3", {}},
        {"OnlyCommentGivesDefault", "[S]\r\n;Key=1\r\n", Read("S", "Key"), "<default>", {}},
        {"FirstOfDuplicateKeysWins", "[S]\r\nKey=1\r\nkey=2\r\n", Read("S", "Key"), "1", {}},
        {"FirstOfDuplicateSectionsCounts", "[S]\r\nA=1\r\n[T]\r\n[s]\r\nA=2\r\nB=3\r\n", Read("S", "B"), "<default>", {}},
        {"LineWithoutEqualsIsNoKey", "[S]\r\nKey\r\n", Read("S", "Key"), "<default>", {}},
        {"KeyOfOtherSectionNotSeen", "[A]\r\nKey=1\r\n[S]\r\nOther=2\r\n", Read("S", "Key"), "<default>", {}},
        {"KeyBeforeFirstSectionNotSeen", "Key=1\r\n[S]\r\n", Read("S", "Key"), "<default>", {}},
        {"KeyAfterBlankLinesAndComments", "[A]\r\nx=1\r\n\r\n; about S\r\n[S]\r\n\r\nKey=2\r\n", Read("S", "Key"), "2", {}},
        {"EmptyValueIsNotTheDefault", "[S]\r\nKey=\r\n", Read("S", "Key"), "", {}},
        {"MissingSection", "[A]\r\nKey=1\r\n", Read("S", "Key"), "<default>", {}},
        {"MissingFile", std::nullopt, Read("S", "Key"), "<default>", {}},
        {"DefaultLosesTrailingBlanks", std::nullopt, Read("S", "Key", " a b  "), " a b", {}},
        {"LfAndCrLineEnds", "[S]\nA=1\rKey=2\n", Read("S", "Key"), "2", {}},
        {"Windows1252Bytes", "[S]\r\nKey=M\xFCller \x80\r\n", Read("S", "Key"), QStringLiteral("Müller €"), {}},
        {"Utf16LeFile", Utf16File(QStringLiteral("[S]\r\nKey=Grüße €\r\n")), Read("S", "Key"), QStringLiteral("Grüße €"), {}},
        {"ValueSeenUpTo2047Characters", "[S]\r\nKey=" + Digits(3000).toLatin1() + "\r\n", Read("S", "Key"), Digits(2047), {}},
        {"QuotedValueSeenUpTo2047Characters", "[S]\r\nKey=\"" + Digits(3000).toLatin1() + "\"\r\n", Read("S", "Key"), Digits(2047), {}},
        {"DefaultSeenUpTo2047Characters", std::nullopt, Read("S", "Key", Digits(3000)), Digits(2047), {}},
        {"IntegerDecimal", IntFile("3306"), ReadInt(), "3306", {}},
        {"IntegerNegative", IntFile("-12"), ReadInt(), "-12", {}},
        {"IntegerDollarHex", IntFile("$1"), ReadInt(), "1", {}},
        {"Integer0xHex", IntFile("0x1F"), ReadInt(), "31", {}},
        {"Integer0XHexMixedCase", IntFile("0X1f"), ReadInt(), "31", {}},
        {"IntegerHexUsesAll32Bits", IntFile("$FFFFFFFF"), ReadInt(), "-1", {}},
        {"IntegerQuoted", IntFile("\"42\""), ReadInt(), "42", {}},
        {"IntegerEmptyGivesDefault", IntFile(""), ReadInt(), "7", {}},
        {"IntegerMissingGivesDefault", "[S]\r\n", ReadInt(), "7", {}},
        {"IntegerWithTrailingTextGivesDefault", IntFile("12abc"), ReadInt(), "7", {}},
        {"IntegerOverflowGivesDefault", IntFile("2147483648"), ReadInt(), "7", {}},
        {"IntegerBarePrefixGivesDefault", IntFile("0x"), ReadInt(), "7", {}},
        {"BoolTrueTextReadsAsDefaultFalse", BoolFile("True"), ReadBool(false), "false", {}},
        {"BoolOne", BoolFile("1"), ReadBool(false), "true", {}},
        {"BoolDollarOne", BoolFile("$1"), ReadBool(false), "true", {}},
        {"BoolAnyNonZero", BoolFile("2"), ReadBool(false), "true", {}},
        {"BoolZero", BoolFile("0"), ReadBool(true), "false", {}},
        {"BoolMissingGivesDefault", "[S]\r\n", ReadBool(true), "true", {}},

        // Writing
        {"NewFileIsWindows1252WithCrLf", std::nullopt, Write("Kladdeconnection", "Database", QStringLiteral("C:\\Daten\\Müller €.mdb")), "",
         "[Kladdeconnection]\r\nDatabase=C:\\Daten\\M\xFCller \x80.mdb\r\n"},
        {"CharacterOutsideCodePageBecomesQuestionMark", std::nullopt, Write("S", "K", QStringLiteral("Ω")), "", "[S]\r\nK=?\r\n"},
        {"NoBlanksAroundEquals", std::nullopt, Write("S", "K", " v "), "", "[S]\r\nK= v \r\n"},
        {"NewKeyGoesAfterLastKeyLine", "[A]\r\nx=1\r\n; note\r\n\r\n[B]\r\ny=2\r\n", Write("A", "z", "3"), "",
         "[A]\r\nx=1\r\nz=3\r\n; note\r\n\r\n[B]\r\ny=2\r\n"},
        {"NewKeyAfterHeaderOfSectionWithoutKeys", "[A]\r\n\r\n[B]\r\n", Write("a", "k", "v"), "", "[A]\r\nk=v\r\n\r\n[B]\r\n"},
        {"ValueReplacedInPlaceOtherLinesKept", "; c\n[A]\n  Key = old \nother=1\n", Write("a", "KEY", "new"), "",
         "; c\n[A]\nKey=new\nother=1\n"},
        {"FirstOfDuplicateKeysReplaced", "[A]\r\nk=1\r\nk=2\r\n", Write("A", "K", "9"), "", "[A]\r\nk=9\r\nk=2\r\n"},
        {"MissingSectionAppendedAtEnd", "[A]\r\nx=1\r\n\r\n", Write("B", "k", "v"), "", "[A]\r\nx=1\r\n\r\n[B]\r\nk=v\r\n"},
        {"SectionAfterLastLineWithoutLineEnd", "[A]\r\nx=1", Write("B", "k", "v"), "", "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"KeyAfterLastLineWithoutLineEnd", "[A]\r\nx=1", Write("A", "y", "2"), "", "[A]\r\nx=1\r\ny=2\r\n"},
        {"UndefinedCodePageBytesKept", "[A]\r\nx=\x81\x8D\x8F\x90\x9D\r\n", Write("A", "y", "2"), "",
         "[A]\r\nx=\x81\x8D\x8F\x90\x9D\r\ny=2\r\n"},
        {"Utf16FileStaysUtf16", Utf16File(QStringLiteral("[A]\r\nx=1\r\n")), Write("A", "y", QStringLiteral("ü€")), "",
         Utf16File(QStringLiteral("[A]\r\nx=1\r\ny=ü€\r\n"))},
        {"WriteBoolAndInteger", std::nullopt,
         [](TIniFile& Ini) {
             Ini.WriteBool("S", "A", true);
             Ini.WriteBool("S", "B", false);
             Ini.WriteInteger("S", "C", -5);
             return QString();
         },
         "", "[S]\r\nA=1\r\nB=0\r\nC=-5\r\n"},
        {"EraseSectionBetweenTwoOthers", "[A]\r\na=1\r\n[B]\r\nb=1\r\n; about b\r\n\r\n[C]\r\nc=1\r\n", Erase("b"), "",
         "[A]\r\na=1\r\n[C]\r\nc=1\r\n"},
        {"EraseMissingSectionKeepsFile", "[A]\r\na=1\r\n", Erase("B"), "", {}},
        {"EraseInMissingFileCreatesEmptyFile", std::nullopt, Erase("A"), "", ""},
        {"EraseThenWriteRecreatesSectionAtEnd", "[Kladdeconnection]\r\nServer=x\r\nPort=3306\r\n[Other]\r\nk=v\r\n",
         Steps({Erase("Kladdeconnection"), Write("Kladdeconnection", "ProviderName", "MSACCESS"),
                Write("Kladdeconnection", "ProviderType", "MSACCESS"), Write("Kladdeconnection", "Database", "db")}),
         "", "[Other]\r\nk=v\r\n[Kladdeconnection]\r\nProviderName=MSACCESS\r\nProviderType=MSACCESS\r\nDatabase=db\r\n"},
    };
    return cases;
}

class IniFileRules : public testing::TestWithParam<TIniCase>
{
};

TEST_P(IniFileRules, FileBytesAndResult)
{
    const TIniCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("test.kdbcfg"));
    if (c.Before) {
        QFile file(fileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(*c.Before);
    }

    TIniFile ini(fileName);
    EXPECT_EQ(c.Act(ini).toStdString(), c.Result.toStdString());

    QFile file(fileName);
    const std::optional<QByteArray> expected = c.After ? c.After : c.Before;
    if (!expected) {
        EXPECT_FALSE(file.exists());
        return;
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), expected->toStdString());
}

INSTANTIATE_TEST_SUITE_P(Cases, IniFileRules, testing::ValuesIn(IniCases()),
                         [](const testing::TestParamInfo<TIniCase>& Info) { return std::string(Info.param.Name); });

TEST(IniFile, SectionAndValueExistence)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("test.ini"));
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Empty]\r\n;x=1\r\n[S]\r\nBlank=\r\n;Comment=1\r\nNoEquals\r\n");
    file.close();

    const TIniFile ini(fileName);
    EXPECT_TRUE(ini.SectionExists(QStringLiteral("s")));
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Empty"))) << "a section counts only with a key";
    EXPECT_FALSE(ini.SectionExists(QStringLiteral("Missing")));
    EXPECT_TRUE(ini.ValueExists(QStringLiteral("S"), QStringLiteral("BLANK")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("S"), QStringLiteral(";Comment")));
    EXPECT_FALSE(ini.ValueExists(QStringLiteral("S"), QStringLiteral("NoEquals")));
    EXPECT_FALSE(TIniFile(dir.filePath(QStringLiteral("none.ini"))).SectionExists(QStringLiteral("S")));
}

TEST(IniFile, EveryReadSeesTheFileAsItIsNow)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("test.ini"));
    TIniFile writer(fileName);
    const TIniFile reader(fileName);
    writer.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("1"));
    EXPECT_EQ(reader.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("1"));

    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[S]\r\nK=2\r\n");
    file.close();
    EXPECT_EQ(reader.ReadString(QStringLiteral("S"), QStringLiteral("K"), QString()), QStringLiteral("2"));
}

TEST(IniFile, FailedWriteRaisesEIniFileException)
{
    QTemporaryDir dir;
    // The parent "folder" is a regular file, so no user (root included) can create the file.
    const QString parent = dir.filePath(QStringLiteral("plain.txt"));
    QFile file(parent);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString fileName = parent + QStringLiteral("/test.kdbcfg");

    const auto expectFailure = [&](const std::function<void(TIniFile&)>& Write) {
        TIniFile ini(fileName);
        try {
            Write(ini);
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_EQ(e.ClassName(), QStringLiteral("EIniFileException"));
            EXPECT_EQ(e.Message(), QStringLiteral("In %1 kann nicht geschrieben werden").arg(fileName));
            EXPECT_NE(dynamic_cast<const EIniFileException*>(&e), nullptr);
        }
    };
    expectFailure([](TIniFile& Ini) { Ini.WriteString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("v")); });
    expectFailure([](TIniFile& Ini) { Ini.WriteBool(QStringLiteral("S"), QStringLiteral("K"), true); });
    expectFailure([](TIniFile& Ini) { Ini.EraseSection(QStringLiteral("S")); });
    EXPECT_EQ(TIniFile(fileName).ReadString(QStringLiteral("S"), QStringLiteral("K"), QStringLiteral("d")), QStringLiteral("d"));
}

} // namespace
