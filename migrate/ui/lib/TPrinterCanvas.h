#pragma once

#include <QFont>
#include <QString>

class QPainter;

// The drawing surface of one print job, in device pixels with the origin at the top-left corner
// of the printable area. Valid between the job's BeginDoc and its EndDoc or Abort.
class TPrinterCanvas
{
public:
    virtual ~TPrinterCanvas() = default;

    virtual void SetFont(const QFont& Font) = 0;
    virtual QFont Font() const = 0;
    // Height and width of Text on one line in the current font, measured for the device.
    virtual int TextHeight(const QString& Text) const = 0;
    virtual int TextWidth(const QString& Text) const = 0;
    // Draws Text unbroken with the top-left corner of its line at (X, Y); what passes the edge of
    // the printable area is cut off.
    virtual void TextOut(int X, int Y, const QString& Text) = 0;
    // The painter behind the canvas for other drawing (lines, boxes), or null on a device that
    // has none.
    virtual QPainter* Painter() = 0;
};
