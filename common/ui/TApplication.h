#pragma once

#include <QApplication>

#include <exception>

// The application object of both programs: an error that escapes an event handler (a failed
// write of a file, say) is shown in an error box with its message, and the program goes on.
// Exceptions of the programs' own kind (Exception) show their Message(), others their what().
class TApplication : public QApplication
{
    Q_OBJECT

public:
    TApplication(int& Argc, char** Argv);

    bool notify(QObject* Receiver, QEvent* Event) override;

    // Shows the error box for E; the tests call it directly.
    static void ShowException(const std::exception& E);
};
