#pragma once

#include "TDBVersion.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "uKladdeConnector.h"

#include <QDateTime>
#include <QString>
#include <memory>

class TdmProvider;

// The schema updater: reads update scripts from the updater database "DBUpdater.db3" (a SQLite
// file, opened read-only) and runs those newer than the version stored in a Kladde database.
//
// Errors of the SQL it executes never raise (except in GetField, GetFieldInt and for a "SQLData"
// table lacking a column that ExecuteUpdate reads): they give false, -1 or the default value and
// are kept in the error record shared by every updater of the program (LastError, ErrorCount).
// The updater owns its connection to the updater database and a data module made by
// CreateDBProvider; a data module given through SetDMProvider is not owned and must outlive it.
// Queries handed out belong to the caller. GUI thread only.
class TDBUpdater
{
public:
    // Takes dbfn as DatabaseFilename unless it is empty (the default name is derived then) and
    // opens that file read-only; raises EUniError when it cannot (a missing file included). Then
    // shows "Database not found" when the file no longer exists, else "Cannot connect to
    // database" when TryConnectToUnencryptedDB fails.
    explicit TDBUpdater(const QString& dbfn = QString());
    ~TDBUpdater();
    TDBUpdater(const TDBUpdater&) = delete;
    TDBUpdater& operator=(const TDBUpdater&) = delete;

    // The full path of the updater database. While none is set, the default is derived and kept:
    // the registered program folder with "Keytabs" appended, else the program folder's
    // "Keytabs", followed by "DBUpdater.db3".
    QString DatabaseFilename();
    // Stores Value as it is; the connection follows at the next connect operation.
    void SetDatabaseFilename(const QString& Value) { FDatabaseFilename = Value; }
    TUniConnection* ConSQLite() const { return FConSQLite.get(); }

    // The program-wide error record: the last recorded failure text, and how many failures the
    // SafeSQL forms recorded. Failures of the update run replace the text without counting.
    static QString LastError();
    static int ErrorCount();

    // Reconnects to DatabaseFilename as an unencrypted file and probes "App_Config_". True when
    // connecting succeeded; a failed probe is only recorded.
    bool TryConnectToUnencryptedDB();
    // The same for the Blowfish-encrypted form, probing "AppData". The access layer has no SQLite
    // encryption, so connecting fails and the result is false; later queries fail (recorded).
    bool TryConnectToEncryptedDB();
    // The key handed to the provider for the encrypted form: the characters of the fixed pass
    // phrase from last to first, each as its decimal code followed by ";".
    static QString EncryptionKey();

    // A new, unopened query on ConSQLite.
    std::unique_ptr<TUniQuery> GetQuery();
    // GetQuery opened with SafeSQL(query, SQL); returned also when it did not open.
    std::unique_ptr<TUniQuery> GetQuery(const QString& SQL);

    // Opens (closing first) or executes AQuery. False with the failure recorded and counted.
    bool SafeSQL(TUniQuery& AQuery, bool AOpen);
    // Closes AQuery, replaces its text by SQL and opens it.
    bool SafeSQL(TUniQuery& AQuery, const QString& SQL);
    // Executes SQL (no result rows) on a query of its own.
    bool SafeSQL(const QString& SQL);

    // The text of FieldName in the first row of SQL. Raises EUniError when SQL does not open
    // (after recording it) or its result lacks the field.
    QString GetField(const QString& SQL, const QString& FieldName);
    // GetField converted strictly to an integer; DefaultValue when the text is no integer.
    int GetFieldInt(const QString& SQL, const QString& FieldName, int DefaultValue);
    // SQLite's last_insert_rowid() of ConSQLite (0 when nothing was inserted); -1 when it fails.
    int GetLastInsertID();

    // The integer setting APropertyName of "App_Config_"; ADefaultValue when it is missing, which
    // ASaveDefaultValue then also tries to insert (failing, recorded, on the read-only file).
    int GetIntProperty(const QString& APropertyName, int ADefaultValue, bool ASaveDefaultValue);
    // Inserts (AInsert) or updates the setting through SafeSQL; the outcome is only recorded.
    void SetIntProperty(const QString& APropertyName, int AValue, bool AInsert);

    // The settings "Version1".."Version4" (0 when missing). Writing inserts a missing key (or one
    // holding -9999) and updates an existing one.
    int Version1() { return GetVersion(1); }
    int Version2() { return GetVersion(2); }
    int Version3() { return GetVersion(3); }
    int Version4() { return GetVersion(4); }
    void SetVersion1(int Value) { SetVersion(1, Value); }
    void SetVersion2(int Value) { SetVersion(2, Value); }
    void SetVersion3(int Value) { SetVersion(3, Value); }
    void SetVersion4(int Value) { SetVersion(4, Value); }

    // Literals for statements: "null" for an ID of 0 or below, else the number; AValue in single
    // quotes (inner quotes not doubled); AValue formatted with the Qt date-time format AFormat in
    // the program's locale, in single quotes.
    static QString strIDorNull(int AID);
    static QString strQuote(const QString& AValue);
    static QString dateQuote(const QDateTime& AValue, const QString& AFormat);

    // The data module whose Kladde connector names the database to update (its DBProviderType
    // and Connection). Setting another module reads that database's version at once.
    TdmProvider* DMProvider() const { return FDMProvider; }
    void SetDMProvider(TdmProvider* Value);
    // The version of that database as last read or written; 0.0.0.0 at creation.
    const TDBVersion& DBVersion() const { return FDBVersion; }

    // Reads "Version3" of "Kladde_Verwaltung" of the database into DBVersion. A missing table
    // or column gives 0.0.0.0; a NULL, empty or malformed text changes only the components that
    // parse. The failed query is recorded in the data module.
    void ReadKladdeDBVersion();
    // Runs, in version order, every script of "SQLData" for "All" or the connector's database
    // system that is not ignored and is newer than DBVersion, writing each script's version after
    // it. Without AIgnoreErrors it stops at the first failed script. The result of the last
    // script run; false when none ran or it stopped at a failure.
    bool ExecuteUpdate(bool AIgnoreErrors);
    // Runs the script with "ID" AScriptID when exactly one row has it and it suits the
    // connector's database system ("Wrong Database type" recorded otherwise); with
    // AAutoUpdateVersion its version is then written, also when the script failed.
    bool ExecuteUpdateScript(int AScriptID, bool AAutoUpdateVersion);
    // Executes SQL as one command on the connector's connection; a failure is recorded.
    bool ExecuteUpdateScript(const QString& SQL);
    // Sets "Version3" in every row of "Kladde_Verwaltung" and DBVersion to ANewVersion. False
    // when the table or column is missing, or when writing failed ("Cannot update
    // Kladde_Verwaltung.Version3 to version ..." recorded).
    bool UpdateDBVersion(const QString& ANewVersion);

    // Gives the updater a data module of its own (owned by the updater) with its Kladde
    // connector cleared, for the caller to configure; the version is not read.
    void CreateDBProvider();
    // Connects the data module's Kladde connector, then ReadKladdeDBVersion; the connector's
    // result. REQUIRES: DMProvider.
    bool ConnectToKladdeDB();

    // The name the scripts' "DBType" uses for a database system ("SQLite", "MSSQL", "Firebird").
    static QString ProviderName(TDBProviderType AType);

private:
    int GetVersion(int N);
    void SetVersion(int N, int Value);
    bool TryConnect(const QString& AAlgorithm, const QString& AKey, const QString& AProbeSQL);
    // The connection of the data module's Kladde connector; null without one.
    TUniConnection* TargetConnection() const;
    // "SELECT * FROM Kladde_Verwaltung" opened on the target connection; null without one.
    std::unique_ptr<TUniQuery> OpenVersionTable();

    std::unique_ptr<TUniConnection> FConSQLite;
    QString FDatabaseFilename;
    TdmProvider* FDMProvider = nullptr;
    std::unique_ptr<TdmProvider> FOwnDMProvider;
    TDBVersion FDBVersion;
};
