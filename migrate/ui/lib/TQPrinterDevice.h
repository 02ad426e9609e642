#pragma once

#include "TPrinterDevice.h"

#include <QPainter>

#include <memory>

class QPrinter;

// TPrinterDevice over a configured QPrinter (the one a print dialog chose), in the device pixels of
// that printer: its resolution, its paper rectangle and its page rectangle (the printable area).
// The printer is not owned and must outlive the device. GUI thread only.
class TQPrinterDevice : public TPrinterDevice
{
public:
    explicit TQPrinterDevice(QPrinter& Printer);
    ~TQPrinterDevice() override;

    int DpiX() const override;
    int DpiY() const override;
    QSize PhysicalSize() const override;
    QPoint PrintableOffset() const override;
    QSize PageSize() const override;

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    // Printers whose engine cannot abort (the PDF writer) are ended, and a file they wrote to is
    // removed, so that nothing of the job remains.
    void Abort() override;

    TPrinterCanvas& Canvas() override;

private:
    class TCanvas;

    QPrinter& FPrinter;
    QPainter FPainter;
    std::unique_ptr<TCanvas> FCanvas;
};
