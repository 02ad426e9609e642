#pragma once

#include "TPrinterCanvas.h"
#include "TPrinterDevice.h"

#include <QFont>
#include <QList>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

// One line drawn by TextOut, in canvas coordinates, with the font it was drawn in.
struct TDrawnText {
    int X = 0;
    int Y = 0;
    QString Text;
    QFont Font;
};

// A printer of known resolution and page geometry that records its job: the job steps in Events
// ("BeginDoc", "NewPage", "EndDoc", "Abort"; callers may append their own) and the text drawn on
// each page. Every font measures TextHeight pixels high.
class TFakePrinter : public TPrinterDevice, public TPrinterCanvas
{
public:
    int Dpi = 600;
    QSize Physical{5100, 6600};
    QPoint Offset{100, 100};
    QSize Page{4900, 6400};
    int FontHeight = 100;
    // NewPage beyond this many pages throws std::runtime_error.
    int MaxPages = 1000;

    QStringList Events;
    // Pages of the job so far, each with its texts in drawing order.
    QList<QList<TDrawnText>> Pages;

    int DpiX() const override { return Dpi; }
    int DpiY() const override { return Dpi; }
    QSize PhysicalSize() const override { return Physical; }
    QPoint PrintableOffset() const override { return Offset; }
    QSize PageSize() const override { return Page; }

    void BeginDoc() override;
    void NewPage() override;
    void EndDoc() override;
    void Abort() override;
    TPrinterCanvas& Canvas() override { return *this; }

    void SetFont(const QFont& Font) override { FFont = Font; }
    QFont Font() const override { return FFont; }
    int TextHeight(const QString&) const override { return FontHeight; }
    int TextWidth(const QString& Text) const override { return int(Text.size()) * FontHeight / 2; }
    void TextOut(int X, int Y, const QString& Text) override;
    QPainter* Painter() override { return nullptr; }

    // Lines drawn on all pages together.
    int LinesDrawn() const;

private:
    QFont FFont;
};
