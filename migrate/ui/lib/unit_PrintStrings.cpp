#include "unit_PrintStrings.h"

#include "EAssertionFailed.h"
#include "EPrinter.h"
#include "TPrinterCanvas.h"
#include "TPrinterDevice.h"
#include "TQPrinterDevice.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Halves go to the even neighbour (the default rounding mode of the floating-point unit). Values
// beyond the integer range (a spacing of 0 lines per inch) saturate instead of overflowing.
int RoundHalfEven(double Value)
{
    if (std::isnan(Value))
        return 0;
    constexpr double limit = std::numeric_limits<int>::max() / 2;
    return int(std::nearbyint(std::clamp(Value, -limit, limit)));
}

// Rectangles by their four edges, right and bottom exclusive, as the geometry rules state them.
struct TEdges {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;

    QRect ToRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
};

} // namespace

int PrintString(TPrinterDevice& Printer, const QStringList& Lines, const QFont* aFont, bool MeasureOnly,
                float LeftMargin, float RightMargin, float TopMargin, float BottomMargin, float LinesPerInch,
                const THeaderFooterEvent& OnHeader, const THeaderFooterEvent& OnFooter)
{
    if (!aFont)
        throw EAssertionFailed(QStringLiteral("PrintString: requires a valid aFont parameter!"));

    bool continuePrint = true;
    int pageNum = 1;
    qsizetype nextLine = 0;
    Printer.BeginDoc();

    const auto finishJob = [&] {
        if (!continuePrint || MeasureOnly)
            Printer.Abort();
        else
            Printer.EndDoc();
    };

    try {
        const int dpiX = Printer.DpiX();
        const int dpiY = Printer.DpiY();
        const QSize physical = Printer.PhysicalSize();
        const QPoint offset = Printer.PrintableOffset();
        const QSize page = Printer.PageSize();

        TEdges paper;
        paper.Left = std::max(RoundHalfEven(double(dpiX) * LeftMargin), offset.x());
        paper.Top = std::max(RoundHalfEven(double(dpiY) * TopMargin), offset.y());
        paper.Right = std::min(physical.width() - RoundHalfEven(double(dpiX) * RightMargin), page.width() + offset.x());
        paper.Bottom =
            std::min(physical.height() - RoundHalfEven(double(dpiY) * BottomMargin), page.height() + offset.y());
        if (paper.Left >= paper.Right || paper.Top >= paper.Bottom)
            throw EPrinter(QStringLiteral(
                "PrintString: the supplied margins are too large, there is no area to print left on the page."));

        const TEdges lineArea{paper.Left - offset.x(), paper.Top - offset.y(), paper.Right - offset.x(),
                              paper.Bottom - offset.y()};
        const TEdges headerEdges{lineArea.Left, 0, lineArea.Right, lineArea.Top};
        const TEdges footerEdges{lineArea.Left, lineArea.Bottom, lineArea.Right, page.height()};
        const int lineStep = RoundHalfEven(double(dpiY) / LinesPerInch);

        TPrinterCanvas& canvas = Printer.Canvas();
        canvas.SetFont(*aFont);
        const int textHeight = canvas.TextHeight(QStringLiteral("Äy"));

        while (nextLine < Lines.size() && continuePrint) {
            if (OnHeader) {
                QRect area = headerEdges.ToRect();
                OnHeader(canvas, pageNum, area, continuePrint);
                canvas.SetFont(*aFont);
            }
            if (!continuePrint)
                break;

            // A line area lower than one line would never take a line; the first line of each page
            // is drawn regardless (cut at the page edge), so that every page makes progress.
            int y = lineArea.Top;
            while (nextLine < Lines.size() && (y == lineArea.Top || y <= lineArea.Bottom - textHeight)) {
                canvas.TextOut(lineArea.Left, y, Lines[nextLine]);
                ++nextLine;
                y += lineStep;
            }

            if (OnFooter) {
                QRect area = footerEdges.ToRect();
                OnFooter(canvas, pageNum, area, continuePrint);
                canvas.SetFont(*aFont);
            }
            if (nextLine < Lines.size() && continuePrint) {
                ++pageNum;
                Printer.NewPage();
            }
        }
    } catch (...) {
        // The job must not stay open; the original error is the one the caller needs to see.
        try {
            finishJob();
        } catch (...) {
        }
        throw;
    }

    finishJob();
    return continuePrint ? pageNum : 0;
}

int PrintString(QPrinter& Printer, const QStringList& Lines, const QFont* aFont, bool MeasureOnly,
                float LeftMargin, float RightMargin, float TopMargin, float BottomMargin, float LinesPerInch,
                const THeaderFooterEvent& OnHeader, const THeaderFooterEvent& OnFooter)
{
    TQPrinterDevice device(Printer);
    return PrintString(device, Lines, aFont, MeasureOnly, LeftMargin, RightMargin, TopMargin, BottomMargin,
                       LinesPerInch, OnHeader, OnFooter);
}
