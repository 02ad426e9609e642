#include "PdfPrinter.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>

std::unique_ptr<QPrinter> CreatePdfPrinter(const QString& FileName)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(FileName);
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                       QPageLayout::Point));
    return printer;
}

int PdfPageCount(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    // Page objects are "/Type /Page"; the page tree is "/Type /Pages".
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![A-Za-z])"));
    return int(QString::fromLatin1(file.readAll()).count(page));
}
