#include "TApplication.h"

#include "Exception.h"
#include "TDialogs.h"

TApplication::TApplication(int& Argc, char** Argv) : QApplication(Argc, Argv)
{
}

bool TApplication::notify(QObject* Receiver, QEvent* Event)
{
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& e) {
        ShowException(e);
    }
    return false;
}

void TApplication::ShowException(const std::exception& E)
{
    const auto* own = dynamic_cast<const Exception*>(&E);
    TDialogs::MessageDlg(own ? own->Message() : QString::fromLocal8Bit(E.what()), mtError, mbOK, activeWindow());
}
