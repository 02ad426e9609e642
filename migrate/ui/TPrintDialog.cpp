#include "TPrintDialog.h"

#include "TDialogs.h"

#include <QPrinter>

TPrintDialog::TPrintDialog(std::unique_ptr<QPrinter> Printer) : FPrinter(std::move(Printer))
{
    if (!FPrinter)
        FPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
}

TPrintDialog::~TPrintDialog() = default;

bool TPrintDialog::Execute(QWidget* Parent)
{
    return TDialogs::PrintDialog(*FPrinter, Parent);
}
