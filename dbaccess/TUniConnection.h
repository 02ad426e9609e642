#pragma once

#include "TDataTypeMap.h"
#include "TProviderSession.h"
#include "TProviderOptions.h"

#include <QSet>
#include <QString>
#include <functional>
#include <memory>

class TDataSet;

// A connection to one database through the provider named by ProviderName ("SQLite", "MySQL",
// "InterBase", "SQL Server", "ODBC", "Access"). Settings may be changed while disconnected; they
// take effect at the next Connect. Operations that need the database connect on demand. Every
// database failure raises EUniError with the database's message. GUI thread only.
//
// Transactions: with AutoCommit on (the default), statements outside StartTransaction..Commit
// commit by themselves. With AutoCommit off, the first change outside an explicit transaction
// opens one, which stays open until Commit or Rollback (or until AutoCommit is switched on, which
// commits it). Disconnect rolls back an open transaction.
class TUniConnection
{
public:
    TUniConnection();
    ~TUniConnection();
    TUniConnection(const TUniConnection&) = delete;
    TUniConnection& operator=(const TUniConnection&) = delete;

    const QString& ProviderName() const { return FProviderName; }
    void SetProviderName(const QString& Value) { FProviderName = Value; }
    const QString& Server() const { return FServer; }
    void SetServer(const QString& Value) { FServer = Value; }
    int Port() const { return FPort; }
    void SetPort(int Value) { FPort = Value; }
    const QString& Database() const { return FDatabase; }
    void SetDatabase(const QString& Value) { FDatabase = Value; }
    const QString& Username() const { return FUsername; }
    void SetUsername(const QString& Value) { FUsername = Value; }
    const QString& Password() const { return FPassword; }
    void SetPassword(const QString& Value) { FPassword = Value; }
    TProviderOptions& SpecificOptions() { return FOptions; }
    const TProviderOptions& SpecificOptions() const { return FOptions; }
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }
    TDataTypeMap& DataTypeMap() { return FDataTypeMap; }
    const TDataTypeMap& DataTypeMap() const { return FDataTypeMap; }

    // The settings as "Name=Value;..." ("Provider Name=MySQL;Data Source=host;Database=db;Port=3306;
    // User ID=u;Password=p;Login Prompt=False", followed by further items such as "Use Unicode=True").
    QString ConnectString() const;
    // Replaces provider name, server, database, port, login and login prompt by the items of
    // Value (also the forms "Initial Catalog" and "Data Source" of ADO texts); items it does not
    // know are kept and given back by ConnectString. An empty Value clears these settings.
    void SetConnectString(const QString& Value);

    bool AutoCommit() const { return FAutoCommit; }
    void SetAutoCommit(bool Value);

    // Opens the connection: BeforeConnect, OnLogin (when LoginPrompt is set), the provider, AfterConnect.
    void Connect();
    // Closes every dataset of the connection, rolls back an open transaction, closes it. Never raises.
    void Disconnect();
    bool Connected() const { return FSession != nullptr; }
    void SetConnected(bool Value) { Value ? Connect() : Disconnect(); }

    void StartTransaction();
    void Commit();
    void Rollback();
    // Commit and Rollback that leave a transaction open afterwards.
    void CommitRetaining();
    void RollbackRetaining();
    bool InTransaction() const { return FInTransaction; }

    // Executes one command text; returns the rows it changed (-1 when the database does not say).
    qint64 ExecSQL(const QString& Text);
    QStringList GetTableNames();

    std::function<void(TUniConnection&)> BeforeConnect;
    std::function<void(TUniConnection&)> AfterConnect;
    std::function<void(TUniConnection&)> BeforeDisconnect;
    std::function<void(TUniConnection&)> OnLogin;

    // For datasets and commands of this connection.
    TProviderSession& Session();
    void PrepareChange();
    void Attach(TDataSet* DataSet) { FDataSets.insert(DataSet); }
    void Detach(TDataSet* DataSet) { FDataSets.remove(DataSet); }

private:
    QString FProviderName;
    QString FServer;
    int FPort = 0;
    QString FDatabase;
    QString FUsername;
    QString FPassword;
    bool FLoginPrompt = true;
    QStringList FExtraItems;
    TProviderOptions FOptions;
    TDataTypeMap FDataTypeMap;
    bool FAutoCommit = true;
    bool FInTransaction = false;
    bool FImplicitTransaction = false;
    std::unique_ptr<TProviderSession> FSession;
    QSet<TDataSet*> FDataSets;
};
