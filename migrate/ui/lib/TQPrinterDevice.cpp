#include "TQPrinterDevice.h"

#include "EPrinter.h"
#include "TPrinterCanvas.h"

#include <QFile>
#include <QFontMetrics>
#include <QPrinter>

class TQPrinterDevice::TCanvas : public TPrinterCanvas
{
public:
    TCanvas(QPrinter& Printer, QPainter& Painter) : FPrinter(Printer), FPainter(Painter) {}

    void SetFont(const QFont& Font) override
    {
        FFont = Font;
        if (FPainter.isActive())
            FPainter.setFont(Font);
    }

    QFont Font() const override { return FFont; }

    int TextHeight(const QString& Text) const override
    {
        return Metrics().size(Qt::TextSingleLine, Text).height();
    }

    int TextWidth(const QString& Text) const override { return Metrics().size(Qt::TextSingleLine, Text).width(); }

    void TextOut(int X, int Y, const QString& Text) override
    {
        if (!FPainter.isActive())
            return;
        FPainter.setFont(FFont);
        FPainter.drawText(QPointF(X, Y + Metrics().ascent()), Text);
    }

    QPainter* Painter() override { return &FPainter; }

private:
    // Measured for the printer, not the screen: the font's pixels scale with its resolution.
    QFontMetrics Metrics() const { return QFontMetrics(FFont, &FPrinter); }

    QPrinter& FPrinter;
    QPainter& FPainter;
    QFont FFont;
};

TQPrinterDevice::TQPrinterDevice(QPrinter& Printer)
    : FPrinter(Printer), FCanvas(std::make_unique<TCanvas>(Printer, FPainter))
{
}

TQPrinterDevice::~TQPrinterDevice()
{
    if (FPainter.isActive())
        FPainter.end();
}

int TQPrinterDevice::DpiX() const
{
    return FPrinter.resolution();
}

int TQPrinterDevice::DpiY() const
{
    return FPrinter.resolution();
}

QSize TQPrinterDevice::PhysicalSize() const
{
    return FPrinter.paperRect(QPrinter::DevicePixel).toRect().size();
}

QPoint TQPrinterDevice::PrintableOffset() const
{
    return (FPrinter.pageRect(QPrinter::DevicePixel).topLeft() - FPrinter.paperRect(QPrinter::DevicePixel).topLeft())
        .toPoint();
}

QSize TQPrinterDevice::PageSize() const
{
    return FPrinter.pageRect(QPrinter::DevicePixel).toRect().size();
}

void TQPrinterDevice::BeginDoc()
{
    if (FPainter.isActive())
        throw EPrinter(QStringLiteral("Printing in progress"));
    if (!FPainter.begin(&FPrinter))
        throw EPrinter(QStringLiteral("The print job could not be started on the printer \"%1\".")
                           .arg(FPrinter.outputFormat() == QPrinter::PdfFormat ? FPrinter.outputFileName()
                                                                               : FPrinter.printerName()));
    FPainter.setFont(FCanvas->Font());
}

void TQPrinterDevice::NewPage()
{
    if (!FPainter.isActive())
        throw EPrinter(QStringLiteral("Printer is not currently printing"));
    if (!FPrinter.newPage())
        throw EPrinter(QStringLiteral("The printer could not start a new page."));
}

void TQPrinterDevice::EndDoc()
{
    if (FPainter.isActive())
        FPainter.end();
}

void TQPrinterDevice::Abort()
{
    if (!FPainter.isActive())
        return;
    const bool aborted = FPrinter.abort();
    FPainter.end();
    if (!aborted && FPrinter.outputFormat() == QPrinter::PdfFormat && !FPrinter.outputFileName().isEmpty())
        QFile::remove(FPrinter.outputFileName());
}

TPrinterCanvas& TQPrinterDevice::Canvas()
{
    return *FCanvas;
}
