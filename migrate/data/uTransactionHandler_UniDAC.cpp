#include "uTransactionHandler_UniDAC.h"

#include "EUniError.h"
#include "Platform.h"
#include "TDataSet.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "TUniSQL.h"
#include "TUserNotifier.h"
#include "Win1252.h"

#include <QElapsedTimer>
#include <QFile>
#include <cmath>

namespace {

TErrorLogViewer ErrorLogViewer;
TTransactionHandler* ProgramHandler = nullptr;

const char* const NoConnectionMessage = "Für die Ausführung von SQL-Befehlen ist keine Datenbankverbindung gesetzt";

void WriteLines(const QString& FileName, const QStringList& Lines)
{
    QByteArray bytes;
    for (const QString& line : Lines)
        bytes += EncodeWin1252(line) + "\r\n";
    QFile file(FileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

} // namespace

TErrorLogViewer SetErrorLogViewer(TErrorLogViewer Viewer)
{
    TErrorLogViewer previous = std::move(ErrorLogViewer);
    ErrorLogViewer = std::move(Viewer);
    return previous;
}

TTransactionHandler* TransactionHandler()
{
    return ProgramHandler;
}

TTransactionHandler* SetTransactionHandler(TTransactionHandler* Value)
{
    TTransactionHandler* previous = ProgramHandler;
    ProgramHandler = Value;
    return previous;
}

TTransactionHandler::TTransactionHandler() : FLogFileName(ProgramFilePath() + QStringLiteral(".log")) {}

TTransactionHandler::~TTransactionHandler()
{
    if (!FCommands.isEmpty())
        WriteLines(FLogFileName, FCommands);
}

void TTransactionHandler::SetConnection(TUniConnection* Value)
{
    FConn = Value;
    if (!FSQLObj)
        FSQLObj = std::make_unique<TUniSQL>();
    FSQLObj->SetConnection(Value);
}

void TTransactionHandler::SetLogErrors(bool Value)
{
    FLogErrors = Value;
    FErrors.clear();
}

bool TTransactionHandler::InTransaction() const
{
    return FConn && FConn->InTransaction();
}

void TTransactionHandler::StartTransaction(bool Force)
{
    if (!(Force || FActive) || !FConn || FConn->InTransaction())
        return;
    try {
        FConn->StartTransaction();
    } catch (const Exception&) {
        // The statement then runs in the connection's own commit mode.
    }
}

void TTransactionHandler::RollbackTransaction(bool Force)
{
    if (!(Force || FActive) || !FConn || !FConn->InTransaction())
        return;
    try {
        FConn->Rollback();
    } catch (const Exception&) {
        // Nothing is left to undo on a connection whose rollback fails.
    }
}

bool TTransactionHandler::CommitOrRollback(bool Force, QString& Message)
{
    if (!(Force || FActive) || !FConn || !FConn->InTransaction())
        return true;
    try {
        FConn->Commit();
        return true;
    } catch (const Exception& E) {
        Message = E.Message();
    }
    RollbackTransaction(Force);
    return false;
}

void TTransactionHandler::Start()
{
    StartTransaction(false);
}

void TTransactionHandler::Commit()
{
    QString ignored;
    CommitOrRollback(false, ignored);
}

void TTransactionHandler::Rollback()
{
    RollbackTransaction(false);
}

void TTransactionHandler::StartEx()
{
    StartTransaction(true);
}

void TTransactionHandler::CommitEx()
{
    QString ignored;
    CommitOrRollback(true, ignored);
}

void TTransactionHandler::RollbackEx()
{
    RollbackTransaction(true);
}

bool TTransactionHandler::Run(const QString& cmd, qint64* nrec)
{
    if (!FSQLObj) {
        FMessage = QString::fromUtf8(NoConnectionMessage);
        return false;
    }
    qint64 rows = 0;
    try {
        Start();
        FSQLObj->SetSQL(cmd);
        FSQLObj->Execute();
        rows = FSQLObj->RowsAffected();
    } catch (const Exception& E) {
        FMessage = E.Message();
        Rollback();
        return false;
    }
    // A commit can fail on its own (deferred constraints); the statement's work is then undone.
    QString commitMessage;
    if (!CommitOrRollback(false, commitMessage)) {
        FMessage = commitMessage;
        return false;
    }
    if (nrec)
        *nrec = rows;
    return true;
}

bool TTransactionHandler::DoExecute(const QString& cmd)
{
    const bool timed = RunsUnderDebugger();
    QElapsedTimer timer;
    if (timed)
        timer.start();
    if (!Run(cmd, nullptr)) {
        if (FShowError)
            NotifyUser(FMessage, nkError);
        return false;
    }
    if (timed) {
        // The default rounding mode rounds halves to even.
        const auto ms = qint64(std::nearbyint(double(timer.nsecsElapsed()) / 1e6));
        FCommands << QStringLiteral("%1 ms: %2").arg(ms).arg(cmd);
    }
    return true;
}

bool TTransactionHandler::DoExecute(const QString& cmd, qint64& nrec)
{
    return Run(cmd, &nrec);
}

void TTransactionHandler::DoBeforePost(TDataSet&)
{
    Start();
}

void TTransactionHandler::DoAfterPost(TDataSet&)
{
    Commit();
}

void TTransactionHandler::DoBeforeDelete(TDataSet&)
{
    Start();
}

void TTransactionHandler::DoAfterDelete(TDataSet&)
{
    Commit();
}

void TTransactionHandler::DoAfterCancel(TDataSet&)
{
    Rollback();
}

void TTransactionHandler::DoOnPostError(TDataSet&, const Exception&, TDataAction& Action)
{
    Action = daAbort;
    Rollback();
}

void TTransactionHandler::DoOnDeleteError(TDataSet&, const Exception&, TDataAction& Action)
{
    Action = daAbort;
    Rollback();
}

void TTransactionHandler::SetEvents(const QList<TUniQuery*>& Queries, TUniConnection* acon)
{
    for (TUniQuery* query : Queries)
        if (query && query->Connection() == acon)
            SetEvents(query);
}

void TTransactionHandler::SetEvents(TDataSet* aDataset)
{
    if (!aDataset)
        return;
    if (!aDataset->BeforePost)
        aDataset->BeforePost = [this](TDataSet& D) { DoBeforePost(D); };
    if (!aDataset->AfterPost)
        aDataset->AfterPost = [this](TDataSet& D) { DoAfterPost(D); };
    if (!aDataset->BeforeDelete)
        aDataset->BeforeDelete = [this](TDataSet& D) { DoBeforeDelete(D); };
    if (!aDataset->AfterDelete)
        aDataset->AfterDelete = [this](TDataSet& D) { DoAfterDelete(D); };
    if (!aDataset->AfterCancel)
        aDataset->AfterCancel = [this](TDataSet& D) { DoAfterCancel(D); };
}

void TTransactionHandler::ShowErrorLog()
{
    const QString caption = QStringLiteral("Transaktionsprotokoll");
    if (ErrorLogViewer)
        ErrorLogViewer(FErrors, caption);
    else
        NotifyUser(caption + QLatin1Char('\n') + FErrors.join(QLatin1Char('\n')), nkPlain);
    FErrors.clear();
}
