#include "TApplication.h"
#include "utils.h"

#include <QWidget>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Migrationsprogramm für Kladde (Vers. %1)").arg(GetAppVersionText()));
    window.setFixedSize(509, 439);
    window.show();
    return app.exec();
}
