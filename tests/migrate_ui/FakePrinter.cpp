#include "FakePrinter.h"

#include <stdexcept>

void TFakePrinter::BeginDoc()
{
    Events << QStringLiteral("BeginDoc");
    Pages.append(QList<TDrawnText>());
}

void TFakePrinter::NewPage()
{
    // A routine that never runs out of pages fails the test instead of hanging it.
    if (Pages.size() >= MaxPages)
        throw std::runtime_error("TFakePrinter: more pages than any test prints");
    Events << QStringLiteral("NewPage");
    Pages.append(QList<TDrawnText>());
}

void TFakePrinter::EndDoc()
{
    Events << QStringLiteral("EndDoc");
}

void TFakePrinter::Abort()
{
    Events << QStringLiteral("Abort");
}

void TFakePrinter::TextOut(int X, int Y, const QString& Text)
{
    if (!Pages.isEmpty())
        Pages.last().append({X, Y, Text, FFont});
}

int TFakePrinter::LinesDrawn() const
{
    int count = 0;
    for (const QList<TDrawnText>& page : Pages)
        count += int(page.size());
    return count;
}
