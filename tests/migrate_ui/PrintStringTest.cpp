// PrintString against a printer of known geometry: page breaks, line positions, rounding,
// callbacks and how the job ends.

#include "EAssertionFailed.h"
#include "EPrinter.h"
#include "FakePrinter.h"
#include "unit_PrintStrings.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

QStringList NumberedLines(int Count)
{
    QStringList lines;
    for (int i = 1; i <= Count; ++i)
        lines << QStringLiteral("Zeile %1").arg(i);
    return lines;
}

struct TMargins {
    float Left = 0.5f, Right = 0.5f, Top = 0.5f, Bottom = 0.5f;
};

// The printer's geometry; the defaults are a Letter sheet at 600 dpi with a printable area
// 100 px inside the paper edges.
struct TGeometry {
    int Dpi = 600;
    QSize Physical{5100, 6600};
    QPoint Offset{100, 100};
    QSize Page{4900, 6400};
    int FontHeight = 100;
};

struct TPagingCase {
    const char* Name;
    TGeometry Geometry;
    TMargins Margins;
    float LinesPerInch;
    int LineCount;
    bool MeasureOnly;
    int HeaderStopsOnPage; // 0: never
    int FooterStopsOnPage; // 0: never
    // Expected:
    int Result;
    QList<int> LinesPerPage;
    QPoint FirstLineOnPaper; // top-left of a page's first line, from the paper's corner
    int LineStep;
    const char* JobEnd;
    QStringList Events; // the whole job when not empty
};

const TPagingCase PagingCases[] = {
    {"EmptyListPrintsOneEmptyPage", {}, {}, 5, 0, false, 0, 0, 1, {0}, {}, 0, "EndDoc",
     {"BeginDoc", "EndDoc"}},
    {"OneLine", {}, {}, 5, 1, false, 0, 0, 1, {1}, {300, 300}, 120, "EndDoc", {}},
    // 6000 px of line area: 50 lines of 100 px at 120 px steps; the 50th ends at the bottom edge.
    {"ExactlyFilledPageHasNoEmptyExtraPage", {}, {}, 5, 50, false, 0, 0, 1, {50}, {300, 300}, 120, "EndDoc",
     {"BeginDoc", "Header 1", "Footer 1", "EndDoc"}},
    {"OneLineMoreStartsASecondPage", {}, {}, 5, 51, false, 0, 0, 2, {50, 1}, {300, 300}, 120, "EndDoc",
     {"BeginDoc", "Header 1", "Footer 1", "NewPage", "Header 2", "Footer 2", "EndDoc"}},
    {"MeasureOnlyCountsAndDiscards", {}, {}, 5, 120, true, 0, 0, 3, {50, 50, 20}, {300, 300}, 120, "Abort", {}},
    // The printable area starts 400 px in and ends 5400 px down: both bind instead of the margins.
    {"PrintableAreaInsideTheMargins",
     {600, {5100, 6600}, {400, 400}, {4300, 5000}, 100}, {}, 5, 100, false, 0, 0, 3, {41, 41, 18},
     {400, 400}, 120, "EndDoc", {}},
    // 0.875 x 300 = 262.5 -> 262, 0.375 x 300 = 112.5 -> 112, 300 / 24 = 12.5 -> 12; rounding
    // halves up would give 263, 113, 13 and 235 lines a page.
    {"HalvesRoundToEven",
     {300, {2550, 3300}, {50, 50}, {2450, 3200}, 30}, {0.875f, 0.5f, 0.375f, 0.375f}, 24, 300, false, 0, 0, 2,
     {254, 46}, {262, 112}, 12, "EndDoc", {}},
    // 75 px of line area for a 100 px line: one line a page instead of pages without end.
    {"LineAreaLowerThanALineTakesOneLineAPage", {}, {0.5f, 0.5f, 10.375f, 0.5f}, 5, 3, false, 0, 0, 3, {1, 1, 1},
     {300, 6225}, 0, "EndDoc", {}},
    {"HeaderStopsOnFirstPage", {}, {}, 5, 10, false, 1, 0, 0, {0}, {}, 0, "Abort",
     {"BeginDoc", "Header 1", "Abort"}},
    {"HeaderStopsOnSecondPage", {}, {}, 5, 60, false, 2, 0, 0, {50, 0}, {300, 300}, 120, "Abort",
     {"BeginDoc", "Header 1", "Footer 1", "NewPage", "Header 2", "Abort"}},
    {"FooterStopsWithLinesLeft", {}, {}, 5, 60, false, 0, 1, 0, {50}, {300, 300}, 120, "Abort",
     {"BeginDoc", "Header 1", "Footer 1", "Abort"}},
    {"FooterStopsOnLastPage", {}, {}, 5, 10, false, 0, 1, 0, {10}, {300, 300}, 120, "Abort",
     {"BeginDoc", "Header 1", "Footer 1", "Abort"}},
};

void PrintTo(const TPagingCase& Case, std::ostream* Out)
{
    *Out << Case.Name;
}

class PrintStringPaging : public ::testing::TestWithParam<TPagingCase>
{
};

void Apply(TFakePrinter& Printer, const TGeometry& Geometry)
{
    Printer.Dpi = Geometry.Dpi;
    Printer.Physical = Geometry.Physical;
    Printer.Offset = Geometry.Offset;
    Printer.Page = Geometry.Page;
    Printer.FontHeight = Geometry.FontHeight;
}

// A callback that logs "<Name> <page>" and stops on page StopOnPage.
THeaderFooterEvent LoggingCallback(TFakePrinter& Printer, const char* Name, int StopOnPage)
{
    return [&Printer, Name, StopOnPage](TPrinterCanvas&, int PageNum, QRect&, bool& Continue) {
        Printer.Events << QStringLiteral("%1 %2").arg(QLatin1String(Name)).arg(PageNum);
        if (PageNum == StopOnPage)
            Continue = false;
    };
}

} // namespace

TEST_P(PrintStringPaging, PagesLinesAndJobEnd)
{
    const TPagingCase& c = GetParam();
    TFakePrinter printer;
    Apply(printer, c.Geometry);
    const QFont font(QStringLiteral("Tahoma"), 8);
    const QStringList lines = NumberedLines(c.LineCount);

    const int result = PrintString(printer, lines, &font, c.MeasureOnly, c.Margins.Left, c.Margins.Right,
                                   c.Margins.Top, c.Margins.Bottom, c.LinesPerInch,
                                   LoggingCallback(printer, "Header", c.HeaderStopsOnPage),
                                   LoggingCallback(printer, "Footer", c.FooterStopsOnPage));

    EXPECT_EQ(result, c.Result);
    ASSERT_FALSE(printer.Events.isEmpty());
    EXPECT_EQ(printer.Events.last(), QLatin1String(c.JobEnd));
    EXPECT_EQ(printer.Events.count(QStringLiteral("EndDoc")) + printer.Events.count(QStringLiteral("Abort")), 1);
    if (!c.Events.isEmpty()) {
        EXPECT_EQ(printer.Events, c.Events);
    }

    QList<int> perPage;
    for (const QList<TDrawnText>& page : printer.Pages)
        perPage << int(page.size());
    EXPECT_EQ(perPage, c.LinesPerPage);

    // Lines in order, each page's first at the same place, the next ones one step lower.
    int next = 0;
    for (const QList<TDrawnText>& page : printer.Pages) {
        for (qsizetype i = 0; i < page.size(); ++i) {
            const TDrawnText& drawn = page[i];
            ASSERT_LT(next, lines.size());
            EXPECT_EQ(drawn.Text, lines[next++]);
            EXPECT_EQ(drawn.X + c.Geometry.Offset.x(), c.FirstLineOnPaper.x()) << drawn.Text.toStdString();
            EXPECT_EQ(drawn.Y + c.Geometry.Offset.y(), c.FirstLineOnPaper.y() + int(i) * c.LineStep)
                << drawn.Text.toStdString();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, PrintStringPaging, ::testing::ValuesIn(PagingCases),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST(PrintStringCallbacks, ReceiveThePageNumberAndTheirAreas)
{
    // Right margin 0: the right edge is that of the printable area (5000 on paper, 4900 on canvas).
    TFakePrinter printer;
    const QFont font(QStringLiteral("Tahoma"), 8);
    QList<int> headerPages, footerPages;
    QList<QRect> headerAreas, footerAreas;
    const auto header = [&](TPrinterCanvas&, int PageNum, QRect& Area, bool&) {
        headerPages << PageNum;
        headerAreas << Area;
        Area = QRect(); // must not carry over to the next page
    };
    const auto footer = [&](TPrinterCanvas&, int PageNum, QRect& Area, bool&) {
        footerPages << PageNum;
        footerAreas << Area;
        Area = QRect();
    };

    EXPECT_EQ(PrintString(printer, NumberedLines(60), &font, false, 0.5f, 0.0f, 0.5f, 0.5f, 5, header, footer), 2);

    EXPECT_EQ(headerPages, QList<int>({1, 2}));
    EXPECT_EQ(footerPages, QList<int>({1, 2}));
    const QRect headerArea(200, 0, 4700, 200);   // from the canvas top to the line area
    const QRect footerArea(200, 6200, 4700, 200); // from the line area to the printable area's bottom
    EXPECT_EQ(headerAreas, QList<QRect>({headerArea, headerArea}));
    EXPECT_EQ(footerAreas, QList<QRect>({footerArea, footerArea}));
}

TEST(PrintStringCallbacks, LinesKeepTheirFontWhateverTheCallbacksSet)
{
    TFakePrinter printer;
    QFont font(QStringLiteral("Courier"), 10);
    const auto changeFont = [](TPrinterCanvas& Canvas, int, QRect&, bool&) {
        QFont other(QStringLiteral("Times"), 20);
        other.setBold(true);
        Canvas.SetFont(other);
        Canvas.TextOut(0, 0, QStringLiteral("Kopf"));
    };

    PrintString(printer, NumberedLines(60), &font, false, 0.5f, 0.5f, 0.5f, 0.5f, 5, changeFont, changeFont);

    ASSERT_EQ(printer.Pages.size(), 2);
    for (const QList<TDrawnText>& page : printer.Pages)
        for (const TDrawnText& drawn : page)
            if (drawn.Text != QLatin1String("Kopf")) {
                EXPECT_EQ(drawn.Font, font) << drawn.Text.toStdString();
            }
    EXPECT_EQ(printer.Font(), font);
}

TEST(PrintStringErrors, MarginsLeavingNoAreaRaiseAfterAnEmptyJob)
{
    struct {
        bool MeasureOnly;
        const char* JobEnd;
    } const cases[] = {{false, "EndDoc"}, {true, "Abort"}};
    // 8.5 x 11 in: 4.25 in from either side leaves nothing, 5.5 in from top and bottom neither, and
    // 8.4 in from the left passes the printable area's right edge (8 1/3 in) before the paper's.
    struct {
        TMargins Margins;
    } const margins[] = {{{4.25f, 4.25f, 0.5f, 0.5f}}, {{0.5f, 0.5f, 5.5f, 5.5f}}, {{8.4f, 0.0f, 0.0f, 0.0f}}};
    for (const auto& c : cases) {
        for (const auto& m : margins) {
            TFakePrinter printer;
            const QFont font;
            bool headerCalled = false;
            const auto header = [&](TPrinterCanvas&, int, QRect&, bool&) { headerCalled = true; };
            try {
                PrintString(printer, NumberedLines(5), &font, c.MeasureOnly, m.Margins.Left, m.Margins.Right,
                            m.Margins.Top, m.Margins.Bottom, 5, header, {});
                ADD_FAILURE() << "no EPrinter";
            } catch (const EPrinter& e) {
                EXPECT_EQ(e.Message(), QStringLiteral("PrintString: the supplied margins are too large, there is no "
                                                      "area to print left on the page."));
            }
            EXPECT_EQ(printer.Events, QStringList({"BeginDoc", QLatin1String(c.JobEnd)}));
            EXPECT_EQ(printer.LinesDrawn(), 0);
            EXPECT_FALSE(headerCalled);
        }
    }
}

TEST(PrintStringErrors, NoFontFailsTheAssertionBeforeAnyJob)
{
    TFakePrinter printer;
    try {
        PrintString(printer, NumberedLines(5), nullptr, false, 0.5f, 0.5f, 0.5f, 0.5f, 5);
        ADD_FAILURE() << "no EAssertionFailed";
    } catch (const EAssertionFailed& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("PrintString: requires a valid aFont parameter!"));
    }
    EXPECT_TRUE(printer.Events.isEmpty());
}

TEST(PrintStringErrors, AnErrorInACallbackEndsTheJobAndPassesOn)
{
    TFakePrinter printer;
    const QFont font;
    const auto footer = [](TPrinterCanvas&, int PageNum, QRect&, bool&) {
        if (PageNum == 2)
            throw EPrinter(QStringLiteral("Papierstau"));
    };
    EXPECT_THROW(PrintString(printer, NumberedLines(120), &font, false, 0.5f, 0.5f, 0.5f, 0.5f, 5, {}, footer),
                 EPrinter);
    // The pages so far are printed, as after any end of a job that was not stopped.
    EXPECT_EQ(printer.Events, QStringList({"BeginDoc", "NewPage", "EndDoc"}));
    EXPECT_EQ(printer.LinesDrawn(), 100);
}
