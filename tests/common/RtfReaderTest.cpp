#include "Exception.h"
#include "RtfReader.h"

#include <gtest/gtest.h>

namespace {

struct TRtfCase
{
    const char* Name;
    QString Rtf;
    QString Text;
};

class RtfReaderRules : public testing::TestWithParam<TRtfCase>
{
};

TEST_P(RtfReaderRules, PlainText)
{
    EXPECT_EQ(RtfPlainText(GetParam().Rtf).toStdU16String(), GetParam().Text.toStdU16String());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RtfReaderRules,
    testing::Values(
        TRtfCase{"ParagraphsSeparatedByCrLf", QStringLiteral("{\\rtf1 a\\par b\\par}"), QStringLiteral("a\r\nb")},
        TRtfCase{"OnlyTheFinalParagraphMarkDropped", QStringLiteral("{\\rtf1 a\\par\\par}"), QStringLiteral("a\r\n")},
        TRtfCase{"TextAfterLastParagraphMark", QStringLiteral("{\\rtf1 a\\par b}"), QStringLiteral("a\r\nb")},
        TRtfCase{"BackslashNewlineIsParagraph", QStringLiteral("{\\rtf1 a\\\nb}"), QStringLiteral("a\r\nb")},
        TRtfCase{"LineBreak", QStringLiteral("{\\rtf1 a\\line b}"), QStringLiteral("a\r\nb")},
        TRtfCase{"Tab", QStringLiteral("{\\rtf1 a\\tab b}"), QStringLiteral("a\tb")},
        TRtfCase{"RawLineBreaksIgnored", QStringLiteral("{\\rtf1 a\r\nb\nc}"), QStringLiteral("abc")},
        TRtfCase{"ControlWordEatsOneSpace", QStringLiteral("{\\rtf1\\b  fett\\b0 .}"), QStringLiteral(" fett.")},
        TRtfCase{"HexEscapesInWindows1252", QStringLiteral("{\\rtf1 \\'e4\\'80\\'9f\\'FC}"), QStringLiteral("ä€Ÿü")},
        TRtfCase{"UnicodeWithFallbackSkipped", QStringLiteral("{\\rtf1 5 \\u8364? x}"), QStringLiteral("5 € x")},
        TRtfCase{"NegativeUnicodeValue", QStringLiteral("{\\rtf1 \\u-3913?}"), QString(QChar(0xF0B7))},
        TRtfCase{"SurrogatePairJoined", QStringLiteral("{\\rtf1 \\u-10179?\\u-8704?!}"), QStringLiteral("\U0001F600!")},
        TRtfCase{"FallbackOfTwoCharacters", QStringLiteral("{\\rtf1\\uc2 \\u252ue x}"), QStringLiteral("ü x")},
        TRtfCase{"FallbackAsHexEscape", QStringLiteral("{\\rtf1 \\u252\\'fcx}"), QStringLiteral("üx")},
        TRtfCase{"NoFallback", QStringLiteral("{\\rtf1\\uc0 \\u252 x}"), QStringLiteral("üx")},
        TRtfCase{"FallbackCountEndsWithGroup", QStringLiteral("{\\rtf1 {\\uc0 \\u252}\\u252?}"), QStringLiteral("üü")},
        TRtfCase{"ControlSymbols", QStringLiteral("{\\rtf1 a\\~b\\-c\\_d\\\\\\{\\}}"), QStringLiteral("a\u00A0b\u00ADc\u2011d\\{}")},
        TRtfCase{"SymbolWords", QStringLiteral("{\\rtf1 \\ldblquote x\\rdblquote\\emdash\\bullet}"), QStringLiteral("\u201Cx\u201D\u2014\u2022")},
        TRtfCase{"DestinationsSkipped",
                 QStringLiteral("{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 Normal;}}"
                                "{\\info{\\title T}}{\\header H}{\\headerl H}{\\footerf F}{\\pict 0102}{\\object x}text}"),
                 QStringLiteral("text")},
        TRtfCase{"StarredGroupsSkipped", QStringLiteral("{\\rtf1{\\*\\generator Riched20;}{\\*\\unknown {a}b}x}"), QStringLiteral("x")},
        TRtfCase{"UnknownControlWordsIgnored", QStringLiteral("{\\rtf1\\foo123 bar\\baz-4 x}"), QStringLiteral("barx")},
        TRtfCase{"BinaryDataSkipped", QStringLiteral("{\\rtf1 a\\bin3 x}{b}"), QStringLiteral("ab")},
        TRtfCase{"MissingFinalBraceTolerated", QStringLiteral("{\\rtf1 abc"), QStringLiteral("abc")},
        TRtfCase{"TextAfterDocumentIgnored", QStringLiteral("{\\rtf1 a}b"), QStringLiteral("a")}),
    [](const testing::TestParamInfo<TRtfCase>& Info) { return std::string(Info.param.Name); });

TEST(RtfReader, TextThatIsNoRtfThrows)
{
    EXPECT_THROW(RtfPlainText(QStringLiteral(" {\\rtf1 a}")), Exception);
    EXPECT_THROW(RtfPlainText(QStringLiteral("plain")), Exception);
    EXPECT_THROW(RtfPlainText(QString()), Exception);
}

} // namespace
