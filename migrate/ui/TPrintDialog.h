#pragma once

#include <memory>

class QPrinter;
class QWidget;

// The print dialog of a window with the printer it configures; the printer keeps the user's
// choice from one Execute to the next. Shown through TDialogs. GUI thread only.
class TPrintDialog
{
public:
    // Printer null: the system's default printer at its full resolution.
    explicit TPrintDialog(std::unique_ptr<QPrinter> Printer = nullptr);
    ~TPrintDialog();
    TPrintDialog(const TPrintDialog&) = delete;
    TPrintDialog& operator=(const TPrintDialog&) = delete;

    // Shows the dialog; true when the user confirmed it.
    bool Execute(QWidget* Parent = nullptr);
    QPrinter& Printer() { return *FPrinter; }

private:
    std::unique_ptr<QPrinter> FPrinter;
};
