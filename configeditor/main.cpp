#include "CommandLineVerbs.h"
#include "Form_PWCrypt.h"
#include "TApplication.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    // The verbs run without a window and need no display: only a core application object, for
    // the arguments as the system hands them over, and gone before the window's one is created.
    {
        QCoreApplication verbApp(argc, argv);
        QTextStream in(stdin);
        QTextStream out(stdout);
        if (const std::optional<int> exitCode = RunCommandLineVerb(verbApp.arguments().mid(1), in, out))
            return *exitCode;
    }

    TApplication app(argc, argv);
    TForm1 form(app.arguments().mid(1));
    form.show();
    return app.exec();
}
