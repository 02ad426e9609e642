#pragma once

#include <QPoint>
#include <QSize>

class TPrinterCanvas;

// A printer as a print routine sees it: its resolution and page geometry in device pixels, the
// steps of one print job and the canvas to draw on.
class TPrinterDevice
{
public:
    virtual ~TPrinterDevice() = default;

    // Pixels per inch, horizontally and vertically.
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The whole sheet of paper.
    virtual QSize PhysicalSize() const = 0;
    // Offset of the printable area from the paper's top-left corner.
    virtual QPoint PrintableOffset() const = 0;
    // Width and height of the printable area.
    virtual QSize PageSize() const = 0;

    // Starts a job on its first page. Raises EPrinter when the printer refuses it.
    virtual void BeginDoc() = 0;
    // Ends the current page and starts the next one.
    virtual void NewPage() = 0;
    // Ends the job; its pages are printed.
    virtual void EndDoc() = 0;
    // Ends the job without printing any of its pages.
    virtual void Abort() = 0;

    virtual TPrinterCanvas& Canvas() = 0;
};
