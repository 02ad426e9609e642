#pragma once

#include <QString>

#include <memory>

class QPrinter;

// A printer that writes an A4 PDF file with 10 pt printable-area margins at 1200 dpi, the
// geometry the page counts of the printing tests assume.
std::unique_ptr<QPrinter> CreatePdfPrinter(const QString& FileName);

// The number of page objects in the PDF file FileName; -1 when it cannot be read.
int PdfPageCount(const QString& FileName);
