#include "RtfReader.h"

#include "Exception.h"
#include "Win1252.h"

#include <QHash>
#include <QList>

namespace {

// Groups whose text is no part of the document's text.
bool IsSkippedDestination(const QString& Word)
{
    static const QStringList destinations = {
        QStringLiteral("fonttbl"),    QStringLiteral("colortbl"),   QStringLiteral("stylesheet"),
        QStringLiteral("info"),       QStringLiteral("pict"),       QStringLiteral("object"),
        QStringLiteral("header"),     QStringLiteral("headerl"),    QStringLiteral("headerr"),
        QStringLiteral("headerf"),    QStringLiteral("footer"),     QStringLiteral("footerl"),
        QStringLiteral("footerr"),    QStringLiteral("footerf"),    QStringLiteral("listtable"),
        QStringLiteral("listoverridetable"), QStringLiteral("revtbl"), QStringLiteral("rsidtbl"),
        QStringLiteral("filetbl"),    QStringLiteral("xmlnstbl"),   QStringLiteral("fldinst"),
        // Numbering text for readers that cannot number lists; the control numbers them itself.
        QStringLiteral("pntext"),     QStringLiteral("listtext"),
    };
    return destinations.contains(Word);
}

// Control words that stand for one character.
char16_t SymbolOf(const QString& Word)
{
    static const QHash<QString, char16_t> symbols = {
        {QStringLiteral("tab"), u'\t'},         {QStringLiteral("cell"), u'\t'},
        {QStringLiteral("emdash"), 0x2014},     {QStringLiteral("endash"), 0x2013},
        {QStringLiteral("emspace"), 0x2003},    {QStringLiteral("enspace"), 0x2002},
        {QStringLiteral("qmspace"), 0x2005},    {QStringLiteral("bullet"), 0x2022},
        {QStringLiteral("lquote"), 0x2018},     {QStringLiteral("rquote"), 0x2019},
        {QStringLiteral("ldblquote"), 0x201C},  {QStringLiteral("rdblquote"), 0x201D},
        {QStringLiteral("zwj"), 0x200D},        {QStringLiteral("zwnj"), 0x200C},
        {QStringLiteral("ltrmark"), 0x200E},    {QStringLiteral("rtlmark"), 0x200F},
    };
    return symbols.value(Word, 0);
}

int HexValue(QChar Ch)
{
    const char16_t c = Ch.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

class TRtfParser
{
public:
    explicit TRtfParser(const QString& Rtf) : FRtf(Rtf) {}

    QString Run()
    {
        while (FPos < FRtf.size()) {
            const QChar ch = FRtf[FPos++];
            if (ch == u'{') {
                FGroups.append(FState);
                FFallbackLeft = 0;
            } else if (ch == u'}') {
                FFallbackLeft = 0;
                if (FGroups.isEmpty())
                    break;
                FState = FGroups.takeLast();
                // The document ends with its outermost group.
                if (FGroups.isEmpty())
                    break;
            } else if (ch == u'\\') {
                ReadControl();
            } else if (ch != u'\r' && ch != u'\n') {
                Character(ch);
            }
        }
        // The final paragraph mark is the control's own, which its text does not show.
        if (FEndsWithParagraph)
            FText.chop(2);
        return FText;
    }

private:
    struct TState
    {
        bool Skip = false;
        int UnicodeFallback = 1; // \ucN: characters that follow each \uN for other readers
    };

    void ReadControl()
    {
        if (FPos >= FRtf.size())
            return;
        const QChar first = FRtf[FPos];
        if (first.isLetter() && first.unicode() < 0x80) {
            ReadControlWord();
            return;
        }
        ++FPos;
        if (first == u'\'') {
            const int high = FPos < FRtf.size() ? HexValue(FRtf[FPos]) : -1;
            const int low = FPos + 1 < FRtf.size() ? HexValue(FRtf[FPos + 1]) : -1;
            if (high < 0 || low < 0)
                return;
            FPos += 2;
            Character(Win1252Char(static_cast<unsigned char>(high * 16 + low)));
            return;
        }
        if (SkipsFallback())
            return;
        switch (first.unicode()) {
        case u'*':
            FState.Skip = true;
            break;
        case u'\r':
        case u'\n':
            Paragraph();
            break;
        case u'~':
            Emit(QChar(0x00A0));
            break;
        case u'-':
            Emit(QChar(0x00AD));
            break;
        case u'_':
            Emit(QChar(0x2011));
            break;
        case u'\\':
        case u'{':
        case u'}':
            Emit(first);
            break;
        default:
            break;
        }
    }

    void ReadControlWord()
    {
        const qsizetype start = FPos;
        while (FPos < FRtf.size() && FRtf[FPos].isLetter() && FRtf[FPos].unicode() < 0x80)
            ++FPos;
        const QString word = FRtf.sliced(start, FPos - start);
        bool hasParameter = false;
        qint64 parameter = 0;
        bool negative = false;
        if (FPos < FRtf.size() && FRtf[FPos] == u'-' && FPos + 1 < FRtf.size() && FRtf[FPos + 1].isDigit()) {
            negative = true;
            ++FPos;
        }
        while (FPos < FRtf.size() && FRtf[FPos].isDigit() && FRtf[FPos].unicode() < 0x80) {
            hasParameter = true;
            parameter = qMin<qint64>(parameter * 10 + (FRtf[FPos].unicode() - u'0'), 0x7FFFFFFF);
            ++FPos;
        }
        if (negative)
            parameter = -parameter;
        if (FPos < FRtf.size() && FRtf[FPos] == u' ')
            ++FPos;
        ControlWord(word, hasParameter, parameter);
    }

    void ControlWord(const QString& Word, bool HasParameter, qint64 Parameter)
    {
        if (Word == u"bin") {
            // Binary data of that many characters follows; it is never text.
            FPos = qMin(FRtf.size(), FPos + qMax<qint64>(0, Parameter));
            return;
        }
        if (SkipsFallback())
            return;
        if (IsSkippedDestination(Word)) {
            FState.Skip = true;
        } else if (Word == u"par" || Word == u"row") {
            Paragraph();
        } else if (Word == u"line") {
            Emit(QStringLiteral("\r\n"));
        } else if (Word == u"u" && HasParameter) {
            // A signed 16-bit number; the two halves of a surrogate pair come as two \u.
            Emit(QChar(static_cast<char16_t>(Parameter < 0 ? Parameter + 65536 : Parameter)));
            FFallbackLeft = FState.UnicodeFallback;
        } else if (Word == u"uc" && HasParameter) {
            FState.UnicodeFallback = static_cast<int>(qMax<qint64>(0, Parameter));
        } else if (const char16_t symbol = SymbolOf(Word); symbol != 0) {
            Emit(QChar(symbol));
        }
    }

    // True when the item just read is a fallback character of the last \uN and is to be dropped.
    bool SkipsFallback()
    {
        if (FFallbackLeft <= 0)
            return false;
        --FFallbackLeft;
        return true;
    }

    void Character(QChar Ch)
    {
        if (!SkipsFallback())
            Emit(Ch);
    }

    void Emit(const QString& Text)
    {
        if (FState.Skip)
            return;
        FText += Text;
        FEndsWithParagraph = false;
    }

    void Emit(QChar Ch) { Emit(QString(Ch)); }

    void Paragraph()
    {
        if (FState.Skip)
            return;
        FText += QStringLiteral("\r\n");
        FEndsWithParagraph = true;
    }

    const QString& FRtf;
    qsizetype FPos = 0;
    QString FText;
    TState FState;
    QList<TState> FGroups;
    int FFallbackLeft = 0;
    bool FEndsWithParagraph = false;
};

} // namespace

QString RtfPlainText(const QString& Rtf)
{
    if (!Rtf.startsWith(QStringLiteral("{\\rtf"), Qt::CaseInsensitive))
        throw Exception(QStringLiteral("Der Text ist kein RTF-Text."));
    return TRtfParser(Rtf).Run();
}
