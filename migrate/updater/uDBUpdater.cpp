#include "uDBUpdater.h"

#include "EUniError.h"
#include "IntegerText.h"
#include "Platform.h"
#include "TUserNotifier.h"
#include "dmodProviders.h"
#include "utils.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace {

// Runs the statements of its lifetime with AutoCommit on, so that each one is in force before the
// next runs (a script uses the table an earlier one created, and Firebird sees a new table only
// once its transaction has committed) and the update lasts even when the migration stops before
// anything else commits. A transaction the caller opened still takes the statements in.
class TCommitEachStatement
{
public:
    explicit TCommitEachStatement(TUniConnection* Connection)
        : FConnection(Connection), FAutoCommit(Connection && Connection->AutoCommit())
    {
        if (FConnection)
            FConnection->SetAutoCommit(true);
    }
    ~TCommitEachStatement()
    {
        if (FConnection)
            FConnection->SetAutoCommit(FAutoCommit);
    }
    TCommitEachStatement(const TCommitEachStatement&) = delete;
    TCommitEachStatement& operator=(const TCommitEachStatement&) = delete;

private:
    TUniConnection* FConnection;
    bool FAutoCommit;
};

// The pass phrase behind the key of the encrypted updater database; every program that writes
// or reads that form uses the same one.
constexpr char PassPhrase[] = "Schema steps: small, safe; sure then onward";
static_assert(sizeof(PassPhrase) - 1 == 43);

// The error record shared by every updater of the program.
QString GLastError;
int GErrorCount = 0;

void RecordError(const QString& Text)
{
    GLastError = Text;
}

void RecordCountedError(const Exception& E)
{
    ++GErrorCount;
    RecordError(E.ClassName() + u' ' + E.Message());
}

// The program folder as an installation registered it for the user: the value
// "Programmverzeichnis" directly under HKEY_CURRENT_USER\Software. Systems without a registry
// register nothing.
QString RegisteredProgramFolder()
{
#ifdef Q_OS_WIN
    return QSettings(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat)
        .value(QStringLiteral("Programmverzeichnis"))
        .toString();
#else
    return {};
#endif
}

QString IncludeTrailingPathDelimiter(const QString& Folder)
{
    return Folder.endsWith(PathDelim) ? Folder : Folder + PathDelim;
}

bool FileExists(const QString& FileName)
{
    return QFileInfo(FileName).isFile();
}

// Value as an SQL string literal: in single quotes, inner quotes doubled.
QString QuotedStr(const QString& Value)
{
    QString text = Value;
    text.replace(u'\'', QStringLiteral("''"));
    return u'\'' + text + u'\'';
}

const QString KladdeVersionSQL = QStringLiteral("SELECT * FROM Kladde_Verwaltung");
const QString VersionField = QStringLiteral("Version3");

} // namespace

TDBUpdater::TDBUpdater(const QString& dbfn)
{
    if (!dbfn.isEmpty())
        FDatabaseFilename = dbfn;
    FConSQLite = std::make_unique<TUniConnection>();
    FConSQLite->SetProviderName(QStringLiteral("SQLite"));
    FConSQLite->SpecificOptions().SetValue(QStringLiteral("ConnectMode"), QStringLiteral("cmReadOnly"));
    FConSQLite->SpecificOptions().SetValue(QStringLiteral("Direct"), QStringLiteral("True"));
    FConSQLite->SetDatabase(DatabaseFilename());
    FConSQLite->SetLoginPrompt(false);
    // The layer sorts nothing in memory, so there is no sort type to choose, and its SQLite
    // provider needs no component of its own.
    FConSQLite->Connect();

    if (!FileExists(DatabaseFilename()))
        NotifyUser(QStringLiteral("Database not found"), nkPlain);
    else if (!TryConnectToUnencryptedDB())
        NotifyUser(QStringLiteral("Cannot connect to database"), nkPlain);
}

TDBUpdater::~TDBUpdater() = default;

QString TDBUpdater::DatabaseFilename()
{
    if (FDatabaseFilename.isEmpty()) {
        const QString registered = RegisteredProgramFolder();
        const QString folder = !registered.isEmpty() && QFileInfo(registered).isDir()
                                   ? registered + QStringLiteral("Keytabs")
                                   : IncludeTrailingPathDelimiter(AppDir()) + QStringLiteral("Keytabs");
        FDatabaseFilename = IncludeTrailingPathDelimiter(folder) + QStringLiteral("DBUpdater.db3");
    }
    return FDatabaseFilename;
}

QString TDBUpdater::LastError()
{
    return GLastError;
}

int TDBUpdater::ErrorCount()
{
    return GErrorCount;
}

bool TDBUpdater::TryConnect(const QString& AAlgorithm, const QString& AKey, const QString& AProbeSQL)
{
    std::unique_ptr<TUniQuery> query = GetQuery();
    try {
        FConSQLite->Disconnect();
        FConSQLite->SetDatabase(DatabaseFilename());
        TProviderOptions& options = FConSQLite->SpecificOptions();
        options.SetValue(QStringLiteral("EncryptionAlgorithm"), AAlgorithm);
        options.SetValue(QStringLiteral("EncryptionKey"), AKey);
        options.SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("False"));
        options.SetValue(QStringLiteral("Direct"), QStringLiteral("True"));
        FConSQLite->Connect();
        SafeSQL(*query, AProbeSQL);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

bool TDBUpdater::TryConnectToUnencryptedDB()
{
    return TryConnect(QStringLiteral("leDefault"), QString(), QStringLiteral("select * from App_Config_"));
}

bool TDBUpdater::TryConnectToEncryptedDB()
{
    return TryConnect(QStringLiteral("leBlowfish"), EncryptionKey(), QStringLiteral("select * from AppData"));
}

QString TDBUpdater::EncryptionKey()
{
    QString key;
    for (int i = int(sizeof(PassPhrase)) - 2; i >= 0; --i)
        key += QString::number(int(static_cast<unsigned char>(PassPhrase[i]))) + u';';
    return key;
}

std::unique_ptr<TUniQuery> TDBUpdater::GetQuery()
{
    return std::make_unique<TUniQuery>(FConSQLite.get());
}

std::unique_ptr<TUniQuery> TDBUpdater::GetQuery(const QString& SQL)
{
    std::unique_ptr<TUniQuery> query = GetQuery();
    SafeSQL(*query, SQL);
    return query;
}

bool TDBUpdater::SafeSQL(TUniQuery& AQuery, bool AOpen)
{
    try {
        if (AOpen) {
            AQuery.Close();
            AQuery.Open();
        } else {
            AQuery.ExecSQL();
        }
        return true;
    } catch (const Exception& E) {
        RecordCountedError(E);
        return false;
    }
}

bool TDBUpdater::SafeSQL(TUniQuery& AQuery, const QString& SQL)
{
    try {
        AQuery.Close();
        AQuery.SetSQL(SQL);
    } catch (const Exception& E) {
        RecordCountedError(E);
        return false;
    }
    return SafeSQL(AQuery, true);
}

bool TDBUpdater::SafeSQL(const QString& SQL)
{
    std::unique_ptr<TUniQuery> query = GetQuery();
    query->SetSQL(SQL);
    return SafeSQL(*query, false);
}

QString TDBUpdater::GetField(const QString& SQL, const QString& FieldName)
{
    std::unique_ptr<TUniQuery> query = GetQuery(SQL);
    return query->FieldByName(FieldName).AsString();
}

int TDBUpdater::GetFieldInt(const QString& SQL, const QString& FieldName, int DefaultValue)
{
    int value = DefaultValue;
    return TryStrToInt(GetField(SQL, FieldName), value) ? value : DefaultValue;
}

int TDBUpdater::GetLastInsertID()
{
    std::unique_ptr<TUniQuery> query = GetQuery(QStringLiteral("select last_insert_rowid()"));
    try {
        if (query->FieldCount() == 0)
            return -1;
        return query->Fields(0)->AsInteger();
    } catch (const Exception&) {
        return -1;
    }
}

int TDBUpdater::GetIntProperty(const QString& APropertyName, int ADefaultValue, bool ASaveDefaultValue)
{
    std::unique_ptr<TUniQuery> query =
        GetQuery(QStringLiteral("SELECT Value_I FROM App_Config_ WHERE Key_=") + QuotedStr(APropertyName));
    if (query->Active() && !query->Eof())
        return query->FieldByName(QStringLiteral("Value_I")).AsInteger();
    if (ASaveDefaultValue)
        SetIntProperty(APropertyName, ADefaultValue, true);
    return ADefaultValue;
}

void TDBUpdater::SetIntProperty(const QString& APropertyName, int AValue, bool AInsert)
{
    if (AInsert)
        SafeSQL(QStringLiteral("INSERT INTO App_Config_ (Key_, Value_I) VALUES (") + QuotedStr(APropertyName) +
                QStringLiteral(", ") + QString::number(AValue) + u')');
    else
        SafeSQL(QStringLiteral("UPDATE App_Config_ SET Value_I=") + QString::number(AValue) +
                QStringLiteral(" WHERE Key_=") + QuotedStr(APropertyName));
}

int TDBUpdater::GetVersion(int N)
{
    return GetIntProperty(QStringLiteral("Version") + QString::number(N), 0, false);
}

void TDBUpdater::SetVersion(int N, int Value)
{
    const QString key = QStringLiteral("Version") + QString::number(N);
    // -9999 stands for "absent", also when it is the stored value.
    SetIntProperty(key, Value, GetIntProperty(key, -9999, false) == -9999);
}

QString TDBUpdater::strIDorNull(int AID)
{
    return AID <= 0 ? QStringLiteral("null") : QString::number(AID);
}

QString TDBUpdater::strQuote(const QString& AValue)
{
    return u'\'' + AValue + u'\'';
}

QString TDBUpdater::dateQuote(const QDateTime& AValue, const QString& AFormat)
{
    return u'\'' + QLocale().toString(AValue, AFormat) + u'\'';
}

// --- The update run ------------------------------------------------------------------------

QString TDBUpdater::ProviderName(TDBProviderType AType)
{
    switch (AType) {
    case dbpAccess:
        return QStringLiteral("Access");
    case dbpSQLite:
        return QStringLiteral("SQLite");
    case dbpMSSQL:
        return QStringLiteral("MSSQL");
    case dbpFirebird:
        return QStringLiteral("Firebird");
    case dbpOracle:
        return QStringLiteral("Oracle");
    case dbpMySQL:
        return QStringLiteral("MySQL");
    case dbpNexusDB:
        return QStringLiteral("NexusDB");
    case dbpPostgreSQL:
        return QStringLiteral("PostgreSQL");
    case dbpUndefined:
        return QStringLiteral("Undefined");
    }
    return QStringLiteral("Undefined");
}

void TDBUpdater::SetDMProvider(TdmProvider* Value)
{
    if (Value == FDMProvider)
        return;
    FDMProvider = Value;
    ReadKladdeDBVersion();
}

TUniConnection* TDBUpdater::TargetConnection() const
{
    if (!FDMProvider || !FDMProvider->KladdeConnector())
        return nullptr;
    return FDMProvider->KladdeConnector()->Connection();
}

// The version is kept in the database that the scripts change, so it is read and written on the
// connector's connection, not on the module's own conKladde: during a migration only the
// connector points at the destination. The module's GetDataset and SafeSQL_Open keep the failed
// query recorded in the module, as for its own queries.
std::unique_ptr<TUniQuery> TDBUpdater::OpenVersionTable()
{
    TUniConnection* connection = TargetConnection();
    if (!connection)
        return nullptr;
    std::unique_ptr<TUniQuery> query = FDMProvider->GetDataset(connection);
    FDMProvider->SafeSQL_Open(*query, KladdeVersionSQL);
    return query;
}

void TDBUpdater::ReadKladdeDBVersion()
{
    std::unique_ptr<TUniQuery> query = OpenVersionTable();
    TField* field = query ? query->FindField(VersionField) : nullptr;
    // A version that cannot be read, NULL or empty one included, counts as 0.0.0.0, also when an
    // earlier reading left another version here.
    FDBVersion = TDBVersion();
    FDBVersion.FromString(field ? field->AsString() : QStringLiteral("0.0.0.0"));
}

bool TDBUpdater::ExecuteUpdate(bool AIgnoreErrors)
{
    const QString provider = FDMProvider && FDMProvider->KladdeConnector()
                                 ? ProviderName(FDMProvider->KladdeConnector()->DBProviderType())
                                 : ProviderName(dbpUndefined);
    std::unique_ptr<TUniQuery> query =
        GetQuery(QStringLiteral("SELECT * FROM SQLData WHERE DBType in ('All', '") + provider +
                 QStringLiteral("') ORDER BY Version1, Version2, Version3, Version4"));
    bool result = false;
    TDBVersion rowVersion;
    for (; !query->Eof(); query->Next()) {
        if (query->FieldByName(QStringLiteral("Ignore")).AsInteger() > 0)
            continue;
        rowVersion.FromQuery(*query);
        if (!rowVersion.IsOlderAs(FDBVersion))
            continue;
        result = ExecuteUpdateScript(query->FieldByName(QStringLiteral("ID")).AsInteger(), true);
        if (!AIgnoreErrors && !result)
            return false;
    }
    return result;
}

bool TDBUpdater::ExecuteUpdateScript(int AScriptID, bool AAutoUpdateVersion)
{
    std::unique_ptr<TUniQuery> query =
        GetQuery(QStringLiteral("SELECT * FROM SQLData WHERE ID=") + QString::number(AScriptID));
    if (query->Eof())
        return false;
    query->Next();
    if (!query->Eof())
        return false;
    query->First();

    const QString dbType = query->FieldByName(QStringLiteral("DBType")).AsString().toUpper();
    TDBVersion scriptVersion;
    scriptVersion.FromQuery(*query);
    const TKladdeConnector* connector = FDMProvider ? FDMProvider->KladdeConnector() : nullptr;
    const QString provider = ProviderName(connector ? connector->DBProviderType() : dbpUndefined).toUpper();
    if (dbType != QLatin1String("ALL") && dbType != provider) {
        RecordError(QStringLiteral("Wrong Database type"));
        return false;
    }
    const bool result = ExecuteUpdateScript(query->FieldByName(QStringLiteral("SQLText")).AsString());
    if (AAutoUpdateVersion)
        UpdateDBVersion(scriptVersion.ToString());
    return result;
}

bool TDBUpdater::ExecuteUpdateScript(const QString& SQL)
{
    try {
        TUniConnection* connection = TargetConnection();
        if (!connection)
            throw EUniError(QStringLiteral("No database to update"));
        const TCommitEachStatement commitEach(connection);
        connection->ExecSQL(SQL);
        return true;
    } catch (const Exception& E) {
        RecordError(E.ClassName() + u' ' + E.Message());
        return false;
    }
}

bool TDBUpdater::UpdateDBVersion(const QString& ANewVersion)
{
    try {
        std::unique_ptr<TUniQuery> query = OpenVersionTable();
        if (!query || !query->FindField(VersionField))
            return false;
        // Some servers cannot run a statement while a result of the same connection is open.
        query->Close();
        const TCommitEachStatement commitEach(TargetConnection());
        TargetConnection()->ExecSQL(QStringLiteral("UPDATE Kladde_Verwaltung SET Version3='") + ANewVersion +
                                    u'\'');
        FDBVersion.FromString(ANewVersion);
        return true;
    } catch (const Exception&) {
        RecordError(QStringLiteral("Cannot update Kladde_Verwaltung.Version3 to version ") + ANewVersion);
        return false;
    }
}

void TDBUpdater::CreateDBProvider()
{
    FOwnDMProvider = std::make_unique<TdmProvider>();
    FDMProvider = FOwnDMProvider.get();
    TKladdeConnector* connector = FDMProvider->KladdeConnector();
    connector->SetConnectionFile(QString());
    connector->SetConnectionString(QString());
    connector->Connection()->SetConnectString(QString());
}

bool TDBUpdater::ConnectToKladdeDB()
{
    const bool connected = FDMProvider->KladdeConnector()->Connect();
    ReadKladdeDBVersion();
    return connected;
}
