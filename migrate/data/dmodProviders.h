#pragma once

#include "TUniConnection.h"
#include "TUniQuery.h"
#include "uKladdeConnector.h"

#include <QString>
#include <memory>

// How the transaction operations end a transaction: by a plain commit or rollback, or by one
// that keeps the transaction context open afterwards.
enum TCommitType { CT_COMMIT, CT_COMMITRETAINING };

// The migration program's data module: the connections of the Kladde databases, a connector for
// three of them, and "safe" database operations. A safe operation (SafeSQL_Open, SafeSQL_Execute,
// StartTransaction, CommitTransaction, RollbackTransaction) never raises an Exception to its
// caller: it returns false and appends the failure to LastSQLError. Exceptions not derived from
// Exception pass through. GUI thread only.
//
// After construction conKladde, conStatkue and conSchulver have no provider and no connection
// settings: they open only after their connector has been configured. The module owns its
// connections and connectors; queries it hands out belong to the caller.
class TdmProvider
{
public:
    // Sets the components up with their fixed settings, then DataModuleCreate.
    TdmProvider();
    // DataModuleDestroy; the components go afterwards.
    ~TdmProvider();
    TdmProvider(const TdmProvider&) = delete;
    TdmProvider& operator=(const TdmProvider&) = delete;

    // The components. The provider components of the platform have no counterpart here: every
    // provider of the access layer is available to every connection.
    TUniConnection conKladde;
    TUniConnection conKladdeIntern;
    TUniConnection conStatkue;
    TUniConnection conSchulver;
    TUniConnection conSDB;
    // Month and day of birth of the pupils (fields "Geburtsmonat", "Geburtstag"); nothing opens it.
    TUniQuery UniQuery1;
    // A read-only SQLite connection that nothing uses.
    TUniConnection UniConnection1;

    // The connectors of conKladde, conStatkue and conSchulver. A caller may repoint them
    // (SetConnection, SetDBProviderType); that changes neither conKladde nor CurrentConnection.
    TKladdeConnector* KladdeConnector() const { return FKladdeConnector.get(); }
    TKladdeConnector* StatkueConnector() const { return FStatkueConnector.get(); }
    TKladdeConnector* SchulVerConnector() const { return FSchulVerConnector.get(); }

    // The connection GetDataset uses when it is given none; not owned.
    TUniConnection* CurrentConnection() const { return FCurrentConnection; }
    void SetCurrentConnection(TUniConnection* Value) { FCurrentConnection = Value; }
    // The recorded failures, each "<date> <time> <text>", separated by CR LF.
    const QString& LastSQLError() const { return FLastSQLError; }

    // A new, unopened query on AConnection, or on CurrentConnection when AConnection is null.
    std::unique_ptr<TUniQuery> GetDataset(TUniConnection* AConnection = nullptr);
    // GetDataset(AConnection) opened with SafeSQL_Open(SQL); returned whether or not it opened.
    std::unique_ptr<TUniQuery> GetDataset(const QString& SQL, TUniConnection* AConnection = nullptr);
    // A new, unopened query on conKladde itself, whatever the connector or CurrentConnection hold.
    std::unique_ptr<TUniQuery> GetQuery();

    // Closes ADataSet when it is active and opens it, so that its statement runs anew.
    bool SafeSQL_Open(TUniQuery& ADataSet);
    // Replaces the text of ADataSet by SQL, then SafeSQL_Open(ADataSet).
    bool SafeSQL_Open(TUniQuery& ADataSet, const QString& SQL);
    // Executes the statement of ADataSet on its own connection. With StartNewTransaction a
    // transaction is first started on conKladde (committing one still open there) and rolled back
    // when the statement fails; with CommitTransaction conKladde is committed afterwards.
    bool SafeSQL_Execute(TUniQuery& ADataSet, bool StartNewTransaction, bool CommitTransaction);
    // The same for the text sql, on a query of CurrentConnection.
    bool SafeSQL_Execute(const QString& sql, bool StartNewTransaction, bool CommitTransaction);

    // On AConnection, or conKladde when it is null: ends a transaction in progress (committing it
    // when Commit, else rolling it back), then starts one unless the commit type is retaining.
    bool StartTransaction(bool Commit, TUniConnection* AConnection = nullptr);
    // Commits (retaining, with CT_COMMITRETAINING) on AConnection, or conKladde when it is null.
    bool CommitTransaction(TUniConnection* AConnection = nullptr);
    // Rolls back (retaining, with CT_COMMITRETAINING) on AConnection, or conKladde when it is null.
    bool RollbackTransaction(TUniConnection* AConnection = nullptr);
    void ClearSQLErrors();

    // CurrentConnection becomes the connection the respective connector holds now.
    void SetCurrentConnection_Kladde();
    void SetCurrentConnection_Statkue();
    void SetCurrentConnection_SchulVer();

    // asql with the month and day of "Schueler.Geburtsdatum" written for the Kladde connector's
    // database system (SQLite: strftime without the table qualifier; Firebird, NexusDB: extract).
    QString AbfrageAnProviderAnpassen(const QString& asql);
    // The join clause in parentheses for an Access Kladde connector, else unchanged.
    QString FormatJoinClause(const QString& AJoinClause);
    // Creates an index with IndexStatement for the Kladde connector's database system, executed by
    // SafeSQL_Execute(statement, true, true), so on CurrentConnection; acon is not used.
    bool AddIndexToTable(TUniConnection* acon, const QString& sTable, const QString& sIndexName,
                         const QString& sIndexFields, bool unique);
    // The statement AddIndexToTable executes for database system AType. The form of the systems
    // other than Access and MySQL ignores unique.
    static QString IndexStatement(TDBProviderType AType, const QString& sTable, const QString& sIndexName,
                                  const QString& sIndexFields, bool unique);
    // "GetKeyFieldNames = (" + each key field of table ATableName (upper-cased, opened on
    // conKladde) followed by CR LF + ")". AKeyField is not used. Raises on every error.
    QString GetIndexList(const QString& ATableName, const QString& AKeyField);
    // Max(fn) of table tn on CurrentConnection plus 1; 1 for an empty table. When the query does
    // not open, the failure is recorded and the lookup of its field raises EUniError.
    int GetNewID_ForAccessDB(const QString& tn, const QString& fn);

protected:
    // Fixed for the program (CT_COMMIT, false); a derived module may choose otherwise.
    TCommitType FCommitType = CT_COMMIT;
    // When true, every recorded failure also shows the whole LastSQLError to the user.
    bool FShowErrorMessages = false;

private:
    void SetUpComponents();
    void DataModuleCreate();
    void DataModuleDestroy();
    void conKladdeLogin(TUniConnection& Sender);
    void conKladdeAfterConnect(TUniConnection& Sender);
    void conKladdeBeforeDisconnect(TUniConnection& Sender);
    // Appends "<date> <time> " + Text to LastSQLError as a new entry.
    void AddSQLError(const QString& Text);

    std::unique_ptr<TKladdeConnector> FKladdeConnector;
    std::unique_ptr<TKladdeConnector> FStatkueConnector;
    std::unique_ptr<TKladdeConnector> FSchulVerConnector;
    TUniConnection* FCurrentConnection = nullptr;
    QString FLastSQLError;
};
