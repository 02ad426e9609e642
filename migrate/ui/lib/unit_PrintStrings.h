#pragma once

#include <QFont>
#include <QRect>
#include <QStringList>

#include <functional>

class QPrinter;
class TPrinterCanvas;
class TPrinterDevice;

// Called at the start of each page (header) or after its lines (footer) with the job's canvas, the
// page number (from 1) and the area reserved for it in canvas coordinates (Area's left/top and
// width/height; PrintString does not change it). Setting Continue to false stops the job: nothing
// further is drawn and nothing is printed.
using THeaderFooterEvent =
    std::function<void(TPrinterCanvas& Canvas, int PageNum, QRect& Area, bool& Continue)>;

// Prints Lines, one per output line and unbroken (a line wider than the page is cut at the edge of
// the printable area), in aFont on Printer, with margins in inches from the paper edges and a fixed
// number of lines per inch. The first line of a page starts at the top margin (or the top of the
// printable area, if lower); a page holds the lines whose full height fits above the bottom margin.
// Empty callbacks are not called.
//
// Returns the number of pages, or 0 when a callback stopped the job (which is then aborted). With
// MeasureOnly the pages are produced and counted but the job is aborted. An empty list gives one
// empty page, printed.
// REQUIRES: aFont is not null; else EAssertionFailed, before any job is started.
// Raises EPrinter when the margins leave no area to print on; the (empty) job is then ended
// normally, unless MeasureOnly. Any exception out of the job ends it the same way before it passes on.
// GUI thread only.
int PrintString(TPrinterDevice& Printer, const QStringList& Lines, const QFont* aFont, bool MeasureOnly,
                float LeftMargin, float RightMargin, float TopMargin, float BottomMargin, float LinesPerInch,
                const THeaderFooterEvent& OnHeader = {}, const THeaderFooterEvent& OnFooter = {});

// The same on a configured QPrinter (the one a print dialog chose), in its device pixels.
int PrintString(QPrinter& Printer, const QStringList& Lines, const QFont* aFont, bool MeasureOnly,
                float LeftMargin, float RightMargin, float TopMargin, float BottomMargin, float LinesPerInch,
                const THeaderFooterEvent& OnHeader = {}, const THeaderFooterEvent& OnFooter = {});
