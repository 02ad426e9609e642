#include "Form_MessageList.h"
#include "TApplication.h"
#include "TDialogNotifier.h"
#include "uDBUtils_Unidac.h"
#include "uGetDBFormat_Unidac.h"
#include "uIDMapper.h"
#include "uSQLUpdIns_Unidac.h"
#include "uTransactionHandler_UniDAC.h"
#include "utils.h"

#include <QWidget>

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    TDialogNotifier notifier;
    SetUserNotifier(&notifier);
    SetErrorLogViewer(&TFrm_MessageList::ShowLines);

    // The process-wide objects, in this order; freed in reverse order when the program ends.
    TDBInfo dbInfo;
    SetDBInfo(&dbInfo);
    InitCopyDates();
    TTransactionHandler transactionHandler;
    SetTransactionHandler(&transactionHandler);
    TSQLUpdIns statementBuilder;
    SetSQLUpdIns(&statementBuilder);
    TIDMapper idMapper;
    SetIDMapper(&idMapper);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Migrationsprogramm für Kladde (Vers. %1)").arg(GetAppVersionText()));
    window.setFixedSize(509, 439);
    window.show();
    const int result = app.exec();

    SetIDMapper(nullptr);
    SetSQLUpdIns(nullptr);
    SetTransactionHandler(nullptr);
    SetDBInfo(nullptr);
    SetUserNotifier(nullptr);
    return result;
}
