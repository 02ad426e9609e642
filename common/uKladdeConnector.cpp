#include "uKladdeConnector.h"

#include "Exception.h"
#include "Platform.h"
#include "TIniFile.h"
#include "TUniConnection.h"
#include "uCrypt.h"
#include "uKladdePassword.h"
#include "utils.h"

#include <QStringList>

namespace {

const QString Section = QStringLiteral("Kladdeconnection");

// The extension of a file name with its dot, "" when it has none. Both path delimiters count:
// configuration files written on Windows hold backslash paths on every system.
QString ExtractFileExt(const QString& FileName)
{
    const qsizetype dot = FileName.lastIndexOf(u'.');
    const qsizetype delim = qMax(FileName.lastIndexOf(u'\\'), FileName.lastIndexOf(u'/'));
    return dot > delim ? FileName.mid(dot) : QString();
}

// The value of Name in "Name=Value" lines: the text after the first "=" of the first line whose
// name matches without regard to case; empty when no line has that name.
QString ValueOf(const QStringList& Lines, const QString& Name)
{
    for (const QString& line : Lines) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq >= 0 && QStringView(line).first(eq).compare(Name, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1);
    }
    return QString();
}

// Sets the connection's LoginPrompt to false when it goes out of scope, also on an error.
class TLoginPromptOff
{
public:
    explicit TLoginPromptOff(TUniConnection* Conn) : FConn(Conn) {}
    ~TLoginPromptOff() { FConn->SetLoginPrompt(false); }
    TLoginPromptOff(const TLoginPromptOff&) = delete;
    TLoginPromptOff& operator=(const TLoginPromptOff&) = delete;

private:
    TUniConnection* FConn;
};

} // namespace

QString DBProviderTypeName(TDBProviderType Value)
{
    switch (Value) {
    case dbpAccess:
        return QStringLiteral("dbpAccess");
    case dbpSQLite:
        return QStringLiteral("dbpSQLite");
    case dbpMSSQL:
        return QStringLiteral("dbpMSSQL");
    case dbpFirebird:
        return QStringLiteral("dbpFirebird");
    case dbpOracle:
        return QStringLiteral("dbpOracle");
    case dbpMySQL:
        return QStringLiteral("dbpMySQL");
    case dbpNexusDB:
        return QStringLiteral("dbpNexusDB");
    case dbpPostgreSQL:
        return QStringLiteral("dbpPostgreSQL");
    case dbpUndefined:
        return QStringLiteral("dbpUndefined");
    }
    return QString();
}

TKladdeConnector::TKladdeConnector(TUniConnection* aconn) : FConn(aconn)
{
    if (FConn)
        FConn->BeforeConnect = TBeforeConnectHandler{this};
}

TKladdeConnector::~TKladdeConnector()
{
    if (FConn) {
        const auto* handler = FConn->BeforeConnect.target<TBeforeConnectHandler>();
        if (handler && handler->Owner == this)
            FConn->BeforeConnect = nullptr;
    }
    FConn = nullptr;
}

void TKladdeConnector::SetConnectionFile(const QString& Value)
{
    FConnectionFile = Value;
    const TLoginPromptOff loginPromptOff(FConn);
    const TIniFile ini(Value);
    FDBFormat = ini.ReadString(Section, QStringLiteral("ProviderName"), QString()).toUpper();
    FDBProviderType = FormatToProviderType(FDBFormat);

    if (FDBProviderType == dbpAccess) {
        FDatabase = ini.ReadString(Section, QStringLiteral("Database"), QString());
        FUser = QStringLiteral("Administrator");
        FPassword = ExtractFileExt(FDatabase).compare(QLatin1String(".accdb"), Qt::CaseInsensitive) == 0
                        ? GetAccdbPassword()
                        : GetMdbPassword();
        FConn->SetProviderName(QStringLiteral("Access"));
        FConn->SetDatabase(FDatabase);
        FConn->SetPort(0);
        FConn->SetUsername(FUser);
        FConn->SetPassword(FPassword);
        return;
    }

    if (FDBProviderType == dbpSQLite) {
        FDatabase = ini.ReadString(Section, QStringLiteral("Database"), QString());
        FDirect = ini.ReadBool(Section, QStringLiteral("Direct"), false);
        FConn->SetProviderName(QStringLiteral("SQLite"));
        FConn->SetDatabase(FDatabase);
        SetSpecificOption(QStringLiteral("SQLite.Direct"), FDirect ? QStringLiteral("True") : QStringLiteral("False"));
        return;
    }

    FServer = ini.ReadString(Section, QStringLiteral("Server"), QString());
    FPort = ini.ReadInteger(Section, QStringLiteral("Port"), 0);
    FDatabase = ini.ReadString(Section, QStringLiteral("Database"), QString());
    FUser = ini.ReadString(Section, QStringLiteral("Username"), QString());
    FPassword = ini.ReadString(Section, QStringLiteral("Password"), QString());
    if (!FPassword.isEmpty())
        FPassword = Decrypt(FPassword);
    FDirect = ini.ReadBool(Section, QStringLiteral("Direct"), false);
    FConn->SetServer(FServer);
    FConn->SetDatabase(FDatabase);
    FConn->SetPort(FPort);
    FConn->SetUsername(FUser);
    FConn->SetPassword(FPassword);

    switch (FDBProviderType) {
    case dbpMSSQL:
        FConn->SetProviderName(QStringLiteral("SQL Server"));
        SetSpecificOption(QStringLiteral("SQL Server.Provider"),
                          FDirect ? QStringLiteral("prDirect") : QStringLiteral("prAuto"));
        FSchema = ini.ReadString(Section, QStringLiteral("Schema"), QString());
        break;
    case dbpFirebird:
        FConn->SetProviderName(QStringLiteral("InterBase"));
        // The client library is expected next to the program; the provider loads it from there.
        SetSpecificOption(QStringLiteral("Interbase.ClientLibrary"),
                          ProgramFolder() + PathDelim + QStringLiteral("fbclient.dll"));
        SetSpecificOption(QStringLiteral("Interbase.Charset"), QStringLiteral("WIN1252"));
        SetSpecificOption(QStringLiteral("Interbase.UseUnicode"), QStringLiteral("True"));
        break;
    case dbpOracle:
        FConn->SetProviderName(QStringLiteral("Oracle"));
        SetSpecificOption(QStringLiteral("Oracle.Direct"), FDirect ? QStringLiteral("True") : QStringLiteral("False"));
        break;
    case dbpMySQL:
        FConn->SetProviderName(QStringLiteral("MySQL"));
        break;
    case dbpNexusDB:
        FConn->SetProviderName(QStringLiteral("NexusDB"));
        break;
    case dbpPostgreSQL:
        FConn->SetProviderName(QStringLiteral("PostgreSQL"));
        break;
    case dbpUndefined:
        // The provider name of an earlier configuration stays; Connect then reports what the layer finds.
        break;
    case dbpAccess:
    case dbpSQLite:
        break; // handled above
    }
}

QString TKladdeConnector::ConnectionString()
{
    FConn->SetLoginPrompt(false);
    if (!FConn->Connected())
        Connect();
    return FConn->Connected() ? FConn->ConnectString() : QString();
}

void TKladdeConnector::SetConnectionString(const QString& Value)
{
    if (FConn->Connected())
        FConn->Disconnect();
    FConn->SetConnectString(Value);
    FConn->SetLoginPrompt(false);
    FServer = FConn->Server();
    FDatabase = FConn->Database();
    FPort = FConn->Port();
    FUser = FConn->Username();
    FPassword = FConn->Password();
    FDBProviderType = ProviderNameToProviderType(FConn->ProviderName());
    FDBFormat = ProviderTypeToFormat(FDBProviderType);
}

void TKladdeConnector::SetADOConnectionString(const QString& Value)
{
    const QString converted = ADOToUNIDACConnectionString(Value);
    if (FConn->Connected())
        FConn->Disconnect();
    SetConnectionString(converted);
}

bool TKladdeConnector::Connect()
{
    FConn->SetLoginPrompt(false);
    FConn->Disconnect();
    if (FDBProviderType == dbpSQLite) {
        FErrMsg = FDirect ? ConnectSQLitePlain() : ConnectSQLiteEncrypted();
        return FErrMsg.isEmpty();
    }
    try {
        FConn->Connect();
        FErrMsg.clear();
        return FConn->Connected();
    } catch (const Exception& E) {
        FErrMsg = E.Message();
        return false;
    }
}

QString TKladdeConnector::ADOToUNIDACConnectionString(const QString& adostr)
{
    const QString separator = QStringLiteral(";");
    QStringList lines;
    const int count = TokenCount(adostr, separator);
    for (int i = 1; i <= count; ++i)
        lines << GetToken(adostr, separator, i);

    const QString provider = ValueOf(lines, QStringLiteral("Provider"));
    if (provider.startsWith(QLatin1String("Microsoft.Jet.OLEDB.4.0"), Qt::CaseInsensitive)) {
        const QString dataSource = ValueOf(lines, QStringLiteral("Data Source"));
        const QString password = ValueOf(lines, QStringLiteral("Jet OLEDB:Database Password"));
        if (!password.isEmpty())
            return QStringLiteral("Provider Name=Access;User ID=Administrator;Password=%1;Database=%2;Login Prompt=False")
                .arg(password, dataSource);
        return QStringLiteral("Provider Name=Access;User ID=Administrator;Database=%1;Login Prompt=False").arg(dataSource);
    }
    if (provider.startsWith(QLatin1String("SQLOLEDB.1"), Qt::CaseInsensitive))
        return QStringLiteral("Provider Name=SQL Server;Data Source=%1;Initial Catalog=%2;Port=0;User ID=%3;Password=%4;"
                              "Login Prompt=False")
            .arg(ValueOf(lines, QStringLiteral("Data Source")), ValueOf(lines, QStringLiteral("Initial Catalog")),
                 ValueOf(lines, QStringLiteral("User ID")), ValueOf(lines, QStringLiteral("Password")));
    return QString();
}

QString TKladdeConnector::GetDBProviderFromKDBCFG(const QString& AKDBCFGFile)
{
    return TIniFile(AKDBCFGFile).ReadString(Section, QStringLiteral("ProviderName"), QString()).toUpper();
}

QString TKladdeConnector::GetDBFileNameFromKDBCFG(const QString& AKDBCFGFile)
{
    const TIniFile ini(AKDBCFGFile);
    const TDBProviderType type =
        FormatToProviderType(ini.ReadString(Section, QStringLiteral("ProviderName"), QString()).toUpper());
    const QString database = ini.ReadString(Section, QStringLiteral("Database"), QString());
    if (type == dbpAccess || type == dbpSQLite)
        return database;
    QString result = ini.ReadString(Section, QStringLiteral("Server"), QString());
    if (!database.isEmpty())
        result += QStringLiteral(" <") + database + u'>';
    return result;
}

void TKladdeConnector::SetSpecificOption(const QString& Name, const QString& Value)
{
    FConn->SpecificOptions().SetValue(Name, Value);
}

QString TKladdeConnector::ConnectSQLitePlain()
{
    SetSpecificOption(QStringLiteral("SQLite.EncryptionKey"), QString());
    try {
        FConn->Connect();
    } catch (const Exception& E) {
        return E.Message();
    }
    return QString();
}

QString TKladdeConnector::ConnectSQLiteEncrypted()
{
    SetSpecificOption(QStringLiteral("SQLite.EncryptionAlgorithm"), QStringLiteral("leBlowfish"));
    SetSpecificOption(QStringLiteral("SQLite.EncryptionKey"), GetAccdbPassword());
    try {
        FConn->Connect();
    } catch (const Exception&) {
        // A database written without key cannot be opened with one; the plain attempt decides.
        return ConnectSQLitePlain();
    }
    return QString();
}

TDBProviderType TKladdeConnector::FormatToProviderType(const QString& Format)
{
    static const struct
    {
        const char* Format;
        TDBProviderType Type;
    } formats[] = {
        {"MSACCESS", dbpAccess},     {"SQLITE", dbpSQLite}, {"MSSQL", dbpMSSQL},     {"FIREBIRD", dbpFirebird},
        {"ORACLE", dbpOracle},       {"MYSQL", dbpMySQL},   {"NEXUSDB", dbpNexusDB}, {"POSTGRESQL", dbpPostgreSQL},
    };
    for (const auto& f : formats)
        if (Format == QLatin1String(f.Format))
            return f.Type;
    return dbpUndefined;
}

QString TKladdeConnector::ProviderTypeToFormat(TDBProviderType Value)
{
    switch (Value) {
    case dbpAccess:
        return QStringLiteral("MSACCESS");
    case dbpSQLite:
        return QStringLiteral("SQLITE");
    case dbpMSSQL:
        return QStringLiteral("MSSQL");
    case dbpFirebird:
        return QStringLiteral("FIREBIRD");
    case dbpOracle:
        return QStringLiteral("ORACLE");
    case dbpMySQL:
        return QStringLiteral("MYSQL");
    case dbpNexusDB:
        return QStringLiteral("NEXUSDB");
    case dbpPostgreSQL:
        return QStringLiteral("POSTGRESQL");
    case dbpUndefined:
        return QString();
    }
    return QString();
}

TDBProviderType TKladdeConnector::ProviderNameToProviderType(const QString& Name)
{
    static const struct
    {
        const char* Name;
        TDBProviderType Type;
    } names[] = {
        {"Access", dbpAccess}, {"SQLite", dbpSQLite}, {"SQL Server", dbpMSSQL},   {"Interbase", dbpFirebird},
        {"Oracle", dbpOracle}, {"MySQL", dbpMySQL},   {"NexusDB", dbpNexusDB}, {"PostgreSQL", dbpPostgreSQL},
    };
    for (const auto& n : names)
        if (Name.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0)
            return n.Type;
    return dbpUndefined;
}

void TKladdeConnector::ConnectionBeforeConnect(TUniConnection& Sender)
{
    switch (FDBProviderType) {
    case dbpAccess:
    case dbpSQLite:
    case dbpFirebird:
    case dbpMySQL:
        break;
    case dbpMSSQL:
    case dbpOracle:
    case dbpNexusDB:
    case dbpPostgreSQL:
    case dbpUndefined:
        return;
    }
    const QString original = Sender.ConnectString();
    QString text = original;
    if (!text.contains(QLatin1String("Use Unicode=True"), Qt::CaseInsensitive))
        text += QStringLiteral(";Use Unicode=True");
    if (!text.contains(QLatin1String("Login Prompt=False")))
        text += QStringLiteral(";Login Prompt=False");
    if (text != original)
        Sender.SetConnectString(text);
}
