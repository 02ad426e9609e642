// PrintString on a real printer: a PDF file in the printer's own device pixels.

#include "PdfPrinter.h"
#include "ScratchDir.h"
#include "unit_PrintStrings.h"

#include <QFile>
#include <QFontMetrics>
#include <QPrinter>
#include <gtest/gtest.h>

namespace {

QStringList NumberedLines(int Count)
{
    QStringList lines;
    for (int i = 1; i <= Count; ++i)
        lines << QStringLiteral("Zeile %1: Schüler Müller, Klasse 5a").arg(i);
    return lines;
}

// Lines a page of CreatePdfPrinter takes at margins 0.5 in and 5 lines per inch: the line area
// runs from 600 px to 14033 - 600 px (both inside the printable area), the step is 240 px.
int LinesPerPdfPage(const QFont& Font, QPrinter& Printer)
{
    const int textHeight = QFontMetrics(Font, &Printer).size(Qt::TextSingleLine, QStringLiteral("Äy")).height();
    return (14033 - 600 - 600 - textHeight) / 240 + 1;
}

} // namespace

TEST(PrintStringPdf, PrintsThePagesItCounts)
{
    const QString file = ScratchDir() + QStringLiteral("/liste.pdf");
    std::unique_ptr<QPrinter> printer = CreatePdfPrinter(file);
    ASSERT_EQ(printer->resolution(), 1200);
    ASSERT_EQ(printer->paperRect(QPrinter::DevicePixel).toRect().size(), QSize(9917, 14033));
    const QFont font(QStringLiteral("Tahoma"), 8);
    const int perPage = LinesPerPdfPage(font, *printer);
    ASSERT_EQ(perPage, 53);

    EXPECT_EQ(PrintString(*printer, NumberedLines(2 * perPage + 1), &font, false, 0.5f, 0.5f, 0.5f, 0.5f, 5), 3);
    EXPECT_EQ(PdfPageCount(file), 3);
}

TEST(PrintStringPdf, AnExactlyFilledPageStaysOnePage)
{
    const QString file = ScratchDir() + QStringLiteral("/voll.pdf");
    std::unique_ptr<QPrinter> printer = CreatePdfPrinter(file);
    const QFont font(QStringLiteral("Tahoma"), 8);

    EXPECT_EQ(PrintString(*printer, NumberedLines(LinesPerPdfPage(font, *printer)), &font, false, 0.5f, 0.5f, 0.5f,
                          0.5f, 5),
              1);
    EXPECT_EQ(PdfPageCount(file), 1);
}

TEST(PrintStringPdf, MeasureOnlyLeavesNoFile)
{
    const QString file = ScratchDir() + QStringLiteral("/nur-zaehlen.pdf");
    std::unique_ptr<QPrinter> printer = CreatePdfPrinter(file);
    const QFont font(QStringLiteral("Tahoma"), 8);

    EXPECT_EQ(PrintString(*printer, NumberedLines(120), &font, true, 0.5f, 0.5f, 0.5f, 0.5f, 5), 3);
    EXPECT_FALSE(QFile::exists(file));
}
