// Developer tool: shows the configuration editor's window, as started with the given arguments,
// and saves a picture of it as it appears on the screen.
//   kladde-cfgshot OUT.png [CONFIGFILE]
// Needs a display (xvfb-run on a machine without one).

#include "Form_PWCrypt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: kladde-cfgshot OUT.png [CONFIGFILE]\n", stderr);
        return 2;
    }
    TForm1 form(args.mid(1));
    form.show();
    // Let the window be mapped and painted before it is grabbed.
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 1000) {
        app.processEvents();
        QThread::msleep(20);
    }
    QPixmap picture = form.screen()->grabWindow(form.winId());
    if (picture.isNull())
        picture = form.grab();
    if (!picture.save(args.first(), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(args.first()));
        return 1;
    }
    return 0;
}
