#pragma once

#include <QString>

class TUniConnection;

// The database systems a configuration file can name.
enum TDBProviderType {
    dbpAccess,
    dbpSQLite,
    dbpMSSQL,
    dbpFirebird,
    dbpOracle,
    dbpMySQL,
    dbpNexusDB,
    dbpPostgreSQL,
    dbpUndefined
};

// The member's name as written in the source ("dbpMSSQL").
QString DBProviderTypeName(TDBProviderType Value);

// Configures one TUniConnection from a configuration file (.kdbcfg), a connect string or an ADO
// connect string, and opens it with the rules of its database format: fixed Access credentials,
// the SQLite key attempt with plain fallback, provider options. A failed Connect leaves the
// layer's or the server's message in ErrorMessage; no operation raises for database errors.
//
// The connector never owns or frees its connection; the connection must outlive it. Writing
// Connection or DBProviderType changes only the field (the handler stays on the connection given
// at construction). GUI thread only.
class TKladdeConnector
{
public:
    // Binds to aconn and installs the connector's BeforeConnect handler there, replacing any other.
    explicit TKladdeConnector(TUniConnection* aconn);
    // Removes the handler from the connection when it is still this connector's, so that a
    // connection opened later does not call into a freed connector; the connection stays as it is.
    ~TKladdeConnector();
    TKladdeConnector(const TKladdeConnector&) = delete;
    TKladdeConnector& operator=(const TKladdeConnector&) = delete;

    QString ConnectionFile() const { return FConnectionFile; }
    // Reads the section "Kladdeconnection" of Value and configures the connection; does not connect.
    // A missing file or unknown format configures dbpUndefined without a provider name.
    // Fields and options that the format does not use keep their earlier values. REQUIRES: Connection.
    void SetConnectionFile(const QString& Value);

    // Connects when the connection is closed; the connection's connect string when it is open
    // afterwards, else the empty text (ErrorMessage tells why). REQUIRES: Connection.
    QString ConnectionString();
    // Closes the connection and configures it from a connect string; DBProviderType and DBFormat
    // follow its provider name. ConnectionFile, Direct and Schema are kept. REQUIRES: Connection.
    void SetConnectionString(const QString& Value);
    // As SetConnectionString with ADOToUNIDACConnectionString of Value.
    void SetADOConnectionString(const QString& Value);

    QString DBFormat() const { return FDBFormat; }
    TDBProviderType DBProviderType() const { return FDBProviderType; }
    void SetDBProviderType(TDBProviderType Value) { FDBProviderType = Value; }
    QString ErrorMessage() const { return FErrMsg; }
    QString Schema() const { return FSchema; }
    void SetSchema(const QString& Value) { FSchema = Value; }
    TUniConnection* Connection() const { return FConn; }
    void SetConnection(TUniConnection* Value) { FConn = Value; }

    // The values last configured, for display (the password in clear, "???" when it did not decipher).
    QString Server() const { return FServer; }
    int Port() const { return FPort; }
    QString Database() const { return FDatabase; }
    QString Username() const { return FUser; }
    QString Password() const { return FPassword; }
    bool Direct() const { return FDirect; }

    // Closes and opens the connection. True when it is open; false with ErrorMessage set otherwise.
    // REQUIRES: Connection.
    bool Connect();

    // The connect string for an ADO text of the Jet 4.0 or the SQLOLEDB.1 provider; empty for any
    // other provider. Fields are split at every ";", so a value holding ";" is cut there.
    static QString ADOToUNIDACConnectionString(const QString& adostr);
    // The upper-cased ProviderName of the file; empty when the file or key is missing.
    static QString GetDBProviderFromKDBCFG(const QString& AKDBCFGFile);
    // The database file of an Access or SQLite file; else "Server <Database>", or the server alone
    // when the file names no database.
    static QString GetDBFileNameFromKDBCFG(const QString& AKDBCFGFile);

private:
    // The handler the connector installs; a type of its own so that the destructor can tell it apart.
    struct TBeforeConnectHandler
    {
        TKladdeConnector* Owner;
        void operator()(TUniConnection& Sender) const { Owner->ConnectionBeforeConnect(Sender); }
    };

    void SetSpecificOption(const QString& Name, const QString& Value);
    // Each returns the message of the failed open, empty on success.
    QString ConnectSQLitePlain();
    QString ConnectSQLiteEncrypted();
    static TDBProviderType FormatToProviderType(const QString& Format);
    static QString ProviderTypeToFormat(TDBProviderType Value);
    static TDBProviderType ProviderNameToProviderType(const QString& Name);
    void ConnectionBeforeConnect(TUniConnection& Sender);

    TUniConnection* FConn = nullptr;
    QString FConnectionFile;
    QString FDBFormat;
    TDBProviderType FDBProviderType = dbpAccess;
    QString FDatabase;
    QString FServer;
    qint32 FPort = 0;
    QString FUser;
    QString FPassword;
    bool FDirect = false;
    QString FErrMsg;
    QString FSchema;
};
