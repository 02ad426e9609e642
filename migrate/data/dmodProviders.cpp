#include "dmodProviders.h"

#include "DateTimeText.h"
#include "Exception.h"
#include "Platform.h"
#include "TUniTable.h"
#include "TUserNotifier.h"

#include <initializer_list>

namespace {

const QString ClassName = QStringLiteral("TdmProvider");

// Pattern with each "%s" replaced by the next of Args; inserted text is not scanned again.
QString FormatText(const QString& Pattern, std::initializer_list<QString> Args)
{
    QString out;
    auto arg = Args.begin();
    for (qsizetype i = 0; i < Pattern.size(); ++i) {
        if (Pattern[i] == u'%' && i + 1 < Pattern.size() && Pattern[i + 1] == u's' && arg != Args.end()) {
            out += *arg++;
            ++i;
        } else {
            out += Pattern[i];
        }
    }
    return out;
}

// S as an SQL string literal.
QString QuotedStr(const QString& S)
{
    QString inner = S;
    return u'\'' + inner.replace(u'\'', QStringLiteral("''")) + u'\'';
}

QString ErrorText(const QString& Operation, const Exception& E)
{
    return QStringLiteral("Error in ") + ClassName + u'.' + Operation + u' ' + E.ClassName() + u' ' + E.Message();
}

// Access "Long", "Integer" and "Byte" columns read as 64-bit integers.
void AddAccessLargeintMap(TUniConnection& Conn)
{
    for (const char* type : {"Long", "Integer", "Byte"})
        Conn.DataTypeMap().AddDBTypeRule(QStringLiteral("Access"), QLatin1String(type), ftLargeint);
}

struct TTypeRule {
    const char* Provider;
    std::initializer_list<const char*> DBTypes;
    TFieldType FieldType;
    bool IgnoreErrors;
};

void AddKladdeMap(TUniConnection& Conn)
{
    static const TTypeRule rules[] = {
        {"SQL Server", {"Varchar"}, ftWideString, true},
        {"SQL Server", {"Text"}, ftWideMemo, true},
        {"SQL Server", {"Smallint", "Int"}, ftInteger, true},
        {"SQL Server", {"Bigint"}, ftLargeint, true},
        {"SQLite", {"VarChar", "Char"}, ftWideString, true},
        {"SQLite", {"Integer", "TinyInt", "SmallInt", "MediumInt", "Int"}, ftInteger, true},
        {"SQLite", {"BigInt"}, ftLargeint, true},
        {"MySQL", {"Varchar", "Char"}, ftWideString, false},
        {"MySQL", {"Text"}, ftWideMemo, false},
        {"MySQL", {"Tinyint", "Tinyint Unsigned", "Smallint", "Integer"}, ftInteger, false},
        {"MySQL", {"Bigint"}, ftLargeint, false},
        {"InterBase", {"Varchar", "Char"}, ftWideString, false},
        {"InterBase", {"Text"}, ftWideMemo, false},
        {"InterBase", {"Date"}, ftDateTime, false},
        {"InterBase", {"Smallint", "Integer"}, ftInteger, false},
        {"InterBase", {"Bigint"}, ftLargeint, false},
    };
    for (const TTypeRule& rule : rules)
        for (const char* type : rule.DBTypes)
            Conn.DataTypeMap().AddDBTypeRule(QLatin1String(rule.Provider), QLatin1String(type), rule.FieldType,
                                             rule.IgnoreErrors);
}

} // namespace

TdmProvider::TdmProvider()
{
    SetUpComponents();
    DataModuleCreate();
}

TdmProvider::~TdmProvider()
{
    DataModuleDestroy();
}

void TdmProvider::SetUpComponents()
{
    // The stored passwords of conKladde and conKladdeIntern are not kept: nothing reads them, and
    // the connector sets the password a connection needs.
    conKladde.SetProviderName(QStringLiteral("Access"));
    conKladde.SetServer(QStringLiteral("localhost"));
    conKladde.SpecificOptions().SetValue(QStringLiteral("SQLite.Direct"), QStringLiteral("True"));
    conKladde.SetLoginPrompt(false);
    conKladde.AfterConnect = [this](TUniConnection& Sender) { conKladdeAfterConnect(Sender); };
    conKladde.BeforeDisconnect = [this](TUniConnection& Sender) { conKladdeBeforeDisconnect(Sender); };
    conKladde.OnLogin = [this](TUniConnection& Sender) { conKladdeLogin(Sender); };
    AddKladdeMap(conKladde);

    conKladdeIntern.SetProviderName(QStringLiteral("Access"));
    conKladdeIntern.SetDatabase(QStringLiteral("Keytabs\\kladdeintern.mdb"));
    conKladdeIntern.SetUsername(QStringLiteral("Administrator"));
    conKladdeIntern.SetLoginPrompt(false);

    for (auto [conn, database] : {std::pair{&conStatkue, "Keytabs\\statkue.mdb"},
                                  std::pair{&conSchulver, "Keytabs\\schulver.mdb"}}) {
        conn->SetProviderName(QStringLiteral("Access"));
        conn->SetDatabase(QLatin1String(database));
        conn->SpecificOptions().SetValue(QStringLiteral("Access.DriverVersion"), QStringLiteral("dvMdb"));
        conn->SetUsername(QStringLiteral("Administrator"));
        conn->SetLoginPrompt(false);
    }
    AddAccessLargeintMap(conSchulver);

    conSDB.SetProviderName(QStringLiteral("Access"));
    conSDB.SetDatabase(QStringLiteral("Keytabs\\asdtabs.mdb"));
    conSDB.SetUsername(QStringLiteral("Administrator"));
    conSDB.SetLoginPrompt(false);
    AddAccessLargeintMap(conSDB);

    // Its read-only integer fields Geburtsmonat and Geburtstag need no declaration: a dataset
    // builds its fields when it opens.
    UniQuery1.SetConnection(&conKladde);
    UniQuery1.SetSQL(QStringLiteral(
        "select Month(Geburtsdatum) as Geburtsmonat, Day(Geburtsdatum) as Geburtstag from Schueler"));
    UniQuery1.SetFetchRows(65000);

    UniConnection1.SetProviderName(QStringLiteral("SQLite"));
    UniConnection1.SpecificOptions().SetValue(QStringLiteral("SQLite.ConnectMode"), QStringLiteral("cmReadOnly"));
    UniConnection1.SpecificOptions().SetValue(QStringLiteral("SQLite.Direct"), QStringLiteral("True"));
    UniConnection1.SetLoginPrompt(false);
    UniConnection1.SetDatabase(QStringLiteral("Keytabs\\DBUpdater.db3"));
    AddAccessLargeintMap(UniConnection1);
}

void TdmProvider::DataModuleCreate()
{
    FCommitType = CT_COMMIT;
    FShowErrorMessages = false;

    for (TUniConnection* conn : {&conKladde, &conKladdeIntern, &conStatkue, &conSchulver, &conSDB})
        conn->Disconnect();

    for (auto [conn, connector] : {std::pair{&conKladde, &FKladdeConnector}, std::pair{&conStatkue, &FStatkueConnector},
                                   std::pair{&conSchulver, &FSchulVerConnector}}) {
        *connector = std::make_unique<TKladdeConnector>(conn);
        conn->SetProviderName(QString());
        conn->SetConnectString(QString());
    }

    SetCurrentConnection_Kladde();
}

void TdmProvider::DataModuleDestroy()
{
    // reset() clears the field before it frees the connector.
    FKladdeConnector.reset();
    FStatkueConnector.reset();
    FSchulVerConnector.reset();
}

void TdmProvider::conKladdeLogin(TUniConnection& Sender)
{
    Sender.SetLoginPrompt(false);
}

void TdmProvider::conKladdeAfterConnect(TUniConnection&)
{
}

void TdmProvider::conKladdeBeforeDisconnect(TUniConnection&)
{
    if (RunsUnderDebugger())
        NotifyUser(QStringLiteral("Disconnect"));
}

std::unique_ptr<TUniQuery> TdmProvider::GetDataset(TUniConnection* AConnection)
{
    return std::make_unique<TUniQuery>(AConnection ? AConnection : FCurrentConnection);
}

std::unique_ptr<TUniQuery> TdmProvider::GetDataset(const QString& SQL, TUniConnection* AConnection)
{
    std::unique_ptr<TUniQuery> query = GetDataset(AConnection);
    SafeSQL_Open(*query, SQL);
    return query;
}

std::unique_ptr<TUniQuery> TdmProvider::GetQuery()
{
    return GetDataset(&conKladde);
}

bool TdmProvider::SafeSQL_Open(TUniQuery& ADataSet)
{
    try {
        if (ADataSet.State() != dsInactive)
            ADataSet.Close();
        ADataSet.Open();
        return true;
    } catch (const Exception& E) {
        AddSQLError(QStringLiteral("Error in SafeSQL_Open ") + E.ClassName() + u' ' + E.Message());
        return false;
    }
}

bool TdmProvider::SafeSQL_Open(TUniQuery& ADataSet, const QString& SQL)
{
    ADataSet.SetSQL(SQL);
    return SafeSQL_Open(ADataSet);
}

bool TdmProvider::SafeSQL_Execute(TUniQuery& ADataSet, bool StartNewTransaction, bool CommitTransaction)
{
    try {
        if (StartNewTransaction)
            StartTransaction(true, nullptr);
        ADataSet.ExecSQL();
        if (CommitTransaction)
            this->CommitTransaction(nullptr);
        return true;
    } catch (const Exception& E) {
        if (StartNewTransaction)
            RollbackTransaction(nullptr);
        AddSQLError(ErrorText(QStringLiteral("SafeSQL_Execute"), E));
        return false;
    }
}

bool TdmProvider::SafeSQL_Execute(const QString& sql, bool StartNewTransaction, bool CommitTransaction)
{
    std::unique_ptr<TUniQuery> query = GetDataset(nullptr);
    query->SetSQL(sql);
    return SafeSQL_Execute(*query, StartNewTransaction, CommitTransaction);
}

bool TdmProvider::StartTransaction(bool Commit, TUniConnection* AConnection)
{
    TUniConnection& conn = AConnection ? *AConnection : conKladde;
    try {
        if (conn.InTransaction()) {
            if (Commit)
                CommitTransaction(&conn);
            else
                RollbackTransaction(&conn);
        }
        if (FCommitType == CT_COMMIT)
            conn.StartTransaction();
        return true;
    } catch (const Exception& E) {
        AddSQLError(ErrorText(QStringLiteral("StartTransaction"), E));
        return false;
    }
}

bool TdmProvider::CommitTransaction(TUniConnection* AConnection)
{
    TUniConnection& conn = AConnection ? *AConnection : conKladde;
    try {
        switch (FCommitType) {
        case CT_COMMIT:
            conn.Commit();
            break;
        case CT_COMMITRETAINING:
            conn.CommitRetaining();
            break;
        }
        return true;
    } catch (const Exception& E) {
        AddSQLError(ErrorText(QStringLiteral("CommitTransaction"), E));
        return false;
    }
}

bool TdmProvider::RollbackTransaction(TUniConnection* AConnection)
{
    TUniConnection& conn = AConnection ? *AConnection : conKladde;
    try {
        switch (FCommitType) {
        case CT_COMMIT:
            conn.Rollback();
            break;
        case CT_COMMITRETAINING:
            conn.RollbackRetaining();
            break;
        }
        return true;
    } catch (const Exception& E) {
        AddSQLError(ErrorText(QStringLiteral("RollbackTransaction"), E));
        return false;
    }
}

void TdmProvider::ClearSQLErrors()
{
    FLastSQLError.clear();
}

void TdmProvider::SetCurrentConnection_Kladde()
{
    FCurrentConnection = FKladdeConnector->Connection();
}

void TdmProvider::SetCurrentConnection_Statkue()
{
    FCurrentConnection = FStatkueConnector->Connection();
}

void TdmProvider::SetCurrentConnection_SchulVer()
{
    FCurrentConnection = FSchulVerConnector->Connection();
}

QString TdmProvider::AbfrageAnProviderAnpassen(const QString& asql)
{
    static const QString month = QStringLiteral("MONTH(Schueler.Geburtsdatum)");
    static const QString day = QStringLiteral("DAY(Schueler.Geburtsdatum)");
    QString sql = asql;
    switch (FKladdeConnector->DBProviderType()) {
    case dbpSQLite: {
        const QString pattern = QStringLiteral("cast( strftime( %s, Geburtsdatum) as integer)");
        sql.replace(month, FormatText(pattern, {QuotedStr(QStringLiteral("%m"))}), Qt::CaseInsensitive);
        sql.replace(day, FormatText(pattern, {QuotedStr(QStringLiteral("%d"))}), Qt::CaseInsensitive);
        break;
    }
    case dbpFirebird:
    case dbpNexusDB:
        sql.replace(month, QStringLiteral("extract(month from Schueler.Geburtsdatum)"), Qt::CaseInsensitive);
        sql.replace(day, QStringLiteral("extract(day from Schueler.Geburtsdatum)"), Qt::CaseInsensitive);
        break;
    case dbpAccess:
    case dbpMSSQL:
    case dbpOracle:
    case dbpMySQL:
    case dbpPostgreSQL:
    case dbpUndefined:
        break;
    }
    return sql;
}

QString TdmProvider::FormatJoinClause(const QString& AJoinClause)
{
    if (FKladdeConnector->DBProviderType() == dbpAccess)
        return u'(' + AJoinClause + u')';
    return AJoinClause;
}

QString TdmProvider::IndexStatement(TDBProviderType AType, const QString& sTable, const QString& sIndexName,
                                    const QString& sIndexFields, bool unique)
{
    const QString u = unique ? QStringLiteral("UNIQUE ") : QString();
    switch (AType) {
    case dbpAccess:
        return FormatText(QStringLiteral("CREATE %s INDEX %s on %s (%s)"), {u, sIndexName, sTable, sIndexFields});
    case dbpMySQL:
        return FormatText(QStringLiteral("ALTER TABLE %s ADD %sINDEX %s (%s)"), {sTable, u, sIndexName, sIndexFields});
    case dbpSQLite:
    case dbpMSSQL:
    case dbpFirebird:
    case dbpOracle:
    case dbpNexusDB:
    case dbpPostgreSQL:
    case dbpUndefined:
        break;
    }
    return FormatText(QStringLiteral("CREATE INDEX [%s] on [%s] ([%s]) ASC"), {sIndexName, sTable, sIndexFields});
}

bool TdmProvider::AddIndexToTable(TUniConnection*, const QString& sTable, const QString& sIndexName,
                                  const QString& sIndexFields, bool unique)
{
    return SafeSQL_Execute(IndexStatement(FKladdeConnector->DBProviderType(), sTable, sIndexName, sIndexFields, unique),
                           true, true);
}

QString TdmProvider::GetIndexList(const QString& ATableName, const QString&)
{
    TUniTable table(&conKladde);
    table.SetTableName(ATableName.toUpper());
    table.Prepare();
    table.Open();
    QString result = QStringLiteral("GetKeyFieldNames = (");
    for (const QString& name : table.KeyFieldNames())
        result += name + QStringLiteral("\r\n");
    return result + u')';
}

int TdmProvider::GetNewID_ForAccessDB(const QString& tn, const QString& fn)
{
    std::unique_ptr<TUniQuery> query = GetDataset(nullptr);
    SafeSQL_Open(*query, QStringLiteral("select Max(") + fn + QStringLiteral(") as MaxID from ") + tn);
    return query->FieldByName(QStringLiteral("MaxID")).AsInteger() + 1;
}

void TdmProvider::AddSQLError(const QString& Text)
{
    if (!FLastSQLError.isEmpty())
        FLastSQLError += QStringLiteral("\r\n");
    FLastSQLError += DateTimeToStr(Now()) + u' ' + Text;
    if (FShowErrorMessages)
        NotifyUser(FLastSQLError);
}
