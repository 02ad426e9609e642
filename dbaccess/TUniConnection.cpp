#include "TUniConnection.h"

#include "EUniError.h"
#include "TDataSet.h"

namespace {

bool SameName(const QString& A, const char* B)
{
    return A.compare(QLatin1String(B), Qt::CaseInsensitive) == 0;
}

QString FormatValue(const QString& Value)
{
    if (Value.contains(QLatin1Char(';')) || Value.startsWith(QLatin1Char('"'))) {
        QString v = Value;
        return QLatin1Char('"') + v.replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
    }
    return Value;
}

// Splits "a=1;b="x;y";c" into its items; a value in double quotes may hold ";".
QList<QPair<QString, QString>> SplitItems(const QString& Text)
{
    QList<QPair<QString, QString>> items;
    int i = 0;
    const int n = int(Text.size());
    while (i < n) {
        int eq = Text.indexOf(QLatin1Char('='), i);
        int semi = Text.indexOf(QLatin1Char(';'), i);
        if (semi < 0)
            semi = n;
        if (eq < 0 || eq > semi) {
            const QString name = Text.mid(i, semi - i).trimmed();
            if (!name.isEmpty())
                items.append({name, QString()});
            i = semi + 1;
            continue;
        }
        const QString name = Text.mid(i, eq - i).trimmed();
        int v = eq + 1;
        QString value;
        if (v < n && Text[v] == QLatin1Char('"')) {
            ++v;
            while (v < n) {
                if (Text[v] == QLatin1Char('"')) {
                    if (v + 1 < n && Text[v + 1] == QLatin1Char('"')) {
                        value += QLatin1Char('"');
                        v += 2;
                        continue;
                    }
                    ++v;
                    break;
                }
                value += Text[v++];
            }
            semi = Text.indexOf(QLatin1Char(';'), v);
            if (semi < 0)
                semi = n;
        } else {
            value = Text.mid(v, semi - v);
        }
        items.append({name, value});
        i = semi + 1;
    }
    return items;
}

} // namespace

TUniConnection::TUniConnection() = default;

TUniConnection::~TUniConnection()
{
    BeforeDisconnect = nullptr;
    Disconnect();
    for (TDataSet* ds : FDataSets)
        ds->ConnectionGone();
}

QString TUniConnection::ConnectString() const
{
    QStringList items;
    auto add = [&](const char* Name, const QString& Value) {
        if (!Value.isEmpty())
            items << QLatin1String(Name) + QLatin1Char('=') + FormatValue(Value);
    };
    add("Provider Name", FProviderName);
    add("Data Source", FServer);
    add("Database", FDatabase);
    if (FPort != 0)
        add("Port", QString::number(FPort));
    add("User ID", FUsername);
    add("Password", FPassword);
    add("Login Prompt", FLoginPrompt ? QStringLiteral("True") : QStringLiteral("False"));
    items << FExtraItems;
    return items.join(QLatin1Char(';'));
}

void TUniConnection::SetConnectString(const QString& Value)
{
    FProviderName.clear();
    FServer.clear();
    FDatabase.clear();
    FPort = 0;
    FUsername.clear();
    FPassword.clear();
    FExtraItems.clear();
    for (const auto& [name, value] : SplitItems(Value)) {
        if (SameName(name, "Provider Name") || SameName(name, "ProviderName"))
            FProviderName = value;
        else if (SameName(name, "Data Source") || SameName(name, "Server") || SameName(name, "Host"))
            FServer = value;
        else if (SameName(name, "Database") || SameName(name, "Initial Catalog"))
            FDatabase = value;
        else if (SameName(name, "Port"))
            FPort = value.trimmed().toInt();
        else if (SameName(name, "User ID") || SameName(name, "Username") || SameName(name, "User Name") || SameName(name, "UID"))
            FUsername = value;
        else if (SameName(name, "Password") || SameName(name, "PWD"))
            FPassword = value;
        else if (SameName(name, "Login Prompt"))
            FLoginPrompt = SameName(value.trimmed(), "True");
        else
            FExtraItems << name + QLatin1Char('=') + FormatValue(value);
    }
}

void TUniConnection::SetAutoCommit(bool Value)
{
    if (Value && FImplicitTransaction && FInTransaction)
        Commit();
    FAutoCommit = Value;
}

void TUniConnection::Connect()
{
    if (FSession)
        return;
    if (BeforeConnect)
        BeforeConnect(*this);
    if (FLoginPrompt && OnLogin)
        OnLogin(*this);
    TConnectionSettings settings;
    settings.ProviderName = FProviderName;
    settings.Server = FServer;
    settings.Port = FPort;
    settings.Database = FDatabase;
    settings.Username = FUsername;
    settings.Password = FPassword;
    settings.Options = FOptions;
    FSession = CreateProviderSession(settings);
    FInTransaction = false;
    FImplicitTransaction = false;
    if (AfterConnect)
        AfterConnect(*this);
}

void TUniConnection::Disconnect()
{
    if (!FSession)
        return;
    if (BeforeDisconnect)
        BeforeDisconnect(*this);
    for (TDataSet* ds : QSet<TDataSet*>(FDataSets))
        ds->Close();
    if (FInTransaction) {
        try {
            FSession->Rollback();
        } catch (const Exception&) {
            // The connection goes away; the database rolls back what it still holds.
        }
    }
    FInTransaction = false;
    FImplicitTransaction = false;
    FSession.reset();
}

TProviderSession& TUniConnection::Session()
{
    Connect();
    return *FSession;
}

void TUniConnection::PrepareChange()
{
    if (!FAutoCommit && !FInTransaction) {
        Session().StartTransaction();
        FInTransaction = true;
        FImplicitTransaction = true;
    }
}

void TUniConnection::StartTransaction()
{
    if (FInTransaction) {
        if (FImplicitTransaction) {
            FImplicitTransaction = false; // the open transaction becomes the caller's
            return;
        }
        throw EUniError(QStringLiteral("A transaction is already active on this connection"));
    }
    Session().StartTransaction();
    FInTransaction = true;
    FImplicitTransaction = false;
}

void TUniConnection::Commit()
{
    if (!FInTransaction)
        return;
    FSession->Commit();
    FInTransaction = false;
    FImplicitTransaction = false;
}

void TUniConnection::Rollback()
{
    if (!FInTransaction)
        return;
    FInTransaction = false;
    FImplicitTransaction = false;
    FSession->Rollback();
}

void TUniConnection::CommitRetaining()
{
    Commit();
    StartTransaction();
}

void TUniConnection::RollbackRetaining()
{
    Rollback();
    StartTransaction();
}

qint64 TUniConnection::ExecSQL(const QString& Text)
{
    TProviderSession& session = Session();
    PrepareChange();
    return session.Execute(Text, {});
}

QStringList TUniConnection::GetTableNames()
{
    return Session().TableNames();
}
