#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Exception;
class TDataSet;
class TUniConnection;
class TUniQuery;
class TUniSQL;

// What a post-error or delete-error handler tells the dataset to do.
enum TDataAction { daFail, daAbort, daRetry };

// Shows the lines of an error log in a window with the given caption, modally. The window layer
// installs it; without one, ShowErrorLog hands the lines to NotifyUser.
using TErrorLogViewer = std::function<void(const QStringList& Lines, const QString& Caption)>;
// Installs Viewer (empty removes it) and returns the one it replaces.
TErrorLogViewer SetErrorLogViewer(TErrorLogViewer Viewer);

// Executes single SQL statements on one connection and reports the outcome as a Boolean plus
// MessageText. While Active, each statement (and each hooked post or delete) runs in a
// transaction: one is started unless the connection is in one already, and afterwards whatever
// transaction is open is committed, or after a failure rolled back. While inactive, statements
// join the connection's open transaction or its automatic commit.
// Under a debugger (RunsUnderDebugger) every DoExecute(cmd) adds a timing line to Commands,
// which the destructor writes to LogFileName. The connection is not owned. GUI thread only.
class TTransactionHandler
{
public:
    TTransactionHandler();
    // Writes Commands to LogFileName when it holds lines (replacing the file; errors ignored).
    ~TTransactionHandler();
    TTransactionHandler(const TTransactionHandler&) = delete;
    TTransactionHandler& operator=(const TTransactionHandler&) = delete;

    TUniConnection* Connection() const { return FConn; }
    // Binds the statement object, created on the first call, to Value.
    void SetConnection(TUniConnection* Value);
    bool Active() const { return FActive; }
    void SetActive(bool Value) { FActive = Value; }
    // The message of the last failed DoExecute; successful calls keep it.
    QString MessageText() const { return FMessage; }
    // Whether a failing DoExecute(cmd) also shows its message (NotifyUser, as an error).
    bool ShowError() const { return FShowError; }
    void SetShowError(bool Value) { FShowError = Value; }
    bool HasErrors() const { return !FErrors.isEmpty(); }
    bool LogErrors() const { return FLogErrors; }
    // Stores the flag and clears the error list.
    void SetLogErrors(bool Value);
    bool InTransaction() const;

    // The timing log, "<ms> ms: <statement>" per executed statement under a debugger.
    QStringList& Commands() { return FCommands; }
    // The file the timing log is written to: the program file's path with ".log" appended.
    QString LogFileName() const { return FLogFileName; }
    void SetLogFileName(const QString& Value) { FLogFileName = Value; }

    // Start, Commit and Rollback act only while Active and never raise; a failed commit is
    // rolled back. The ...Ex forms act whatever Active says.
    void Start();
    void Commit();
    void Rollback();
    void StartEx();
    void CommitEx();
    void RollbackEx();

    // Executes cmd in the handler's transaction rules. True on success; on a database failure
    // (of the statement or of its commit, which is then rolled back) false with the message in
    // MessageText, shown when ShowError is set. Also false before any SetConnection. Exceptions
    // that do not derive from Exception pass through.
    bool DoExecute(const QString& cmd);
    // The same without timing and message box; on success nrec holds the rows the statement
    // changed, on failure nrec is left as it was.
    bool DoExecute(const QString& cmd, qint64& nrec);

    // The dataset hooks: Start before post and delete, Commit after them, Rollback after cancel.
    void DoBeforePost(TDataSet& DataSet);
    void DoAfterPost(TDataSet& DataSet);
    void DoBeforeDelete(TDataSet& DataSet);
    void DoAfterDelete(TDataSet& DataSet);
    void DoAfterCancel(TDataSet& DataSet);
    // Action := daAbort (the error is not shown, the operation abandoned), then Rollback.
    void DoOnPostError(TDataSet& DataSet, const Exception& E, TDataAction& Action);
    void DoOnDeleteError(TDataSet& DataSet, const Exception& E, TDataAction& Action);

    // Hooks every query of Queries (the queries of one form or data module) whose connection is
    // acon. REQUIRES: the handler outlives the hooked datasets.
    void SetEvents(const QList<TUniQuery*>& Queries, TUniConnection* acon);
    // Hooks aDataset whatever its connection: each of BeforePost, AfterPost, BeforeDelete,
    // AfterDelete and AfterCancel that has no handler yet gets the handler's; the others keep theirs.
    void SetEvents(TDataSet* aDataset);

    // Shows the error list through the installed viewer with the caption "Transaktionsprotokoll",
    // then clears it.
    void ShowErrorLog();

private:
    // Steps of one statement: start, execute, commit. False with FMessage set on a failure.
    bool Run(const QString& cmd, qint64* nrec);
    // Commits when Force or Active and a transaction is open; a failure is rolled back and its
    // message returned in Message.
    bool CommitOrRollback(bool Force, QString& Message);
    void StartTransaction(bool Force);
    void RollbackTransaction(bool Force);

    TUniConnection* FConn = nullptr;
    std::unique_ptr<TUniSQL> FSQLObj;
    bool FActive = false;
    QString FMessage;
    bool FShowError = false;
    QStringList FCommands;
    QStringList FErrors;
    bool FLogErrors = false;
    QString FLogFileName;
};

// The program's handler, created and installed by the program at start (not owned here); null
// before that.
TTransactionHandler* TransactionHandler();
// Installs Value as the program's handler and returns the one it replaces.
TTransactionHandler* SetTransactionHandler(TTransactionHandler* Value);
