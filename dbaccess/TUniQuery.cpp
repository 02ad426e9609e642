#include "TUniQuery.h"

#include "EUniError.h"
#include "TProviderSession.h"
#include "TUniConnection.h"

#include <QRegularExpression>

TUniQuery::TUniQuery(TUniConnection* Connection)
{
    SetConnection(Connection);
}

TUniQuery::~TUniQuery()
{
    Close();
    if (FConnection)
        FConnection->Detach(this);
}

void TUniQuery::SetConnection(TUniConnection* Value)
{
    if (Value == FConnection)
        return;
    Close();
    if (FConnection)
        FConnection->Detach(this);
    FConnection = Value;
    if (FConnection)
        FConnection->Attach(this);
}

void TUniQuery::ConnectionGone()
{
    Close();
    FConnection = nullptr;
}

void TUniQuery::SetSQL(const QString& Value)
{
    Close();
    FSQL = Value;
    FParams.Rebuild(ParseParameters(Value).Names);
}

QVector<QVariant> TUniQuery::BoundValues(const TParsedSql& Parsed) const
{
    QVector<QVariant> values;
    for (const QString& name : Parsed.Occurrences) {
        const TParam* p = FParams.FindParam(name);
        values << (p ? p->Value() : QVariant());
    }
    return values;
}

std::unique_ptr<TProviderCursor> TUniQuery::OpenCursor()
{
    const TParsedSql parsed = ParseParameters(EffectiveSQL());
    return FConnection->Session().Open(parsed.Sql, BoundValues(parsed));
}

void TUniQuery::ExecSQL()
{
    if (!FConnection)
        throw EUniError(QStringLiteral("The query has no connection"));
    Close();
    const TParsedSql parsed = ParseParameters(EffectiveSQL());
    TProviderSession& session = FConnection->Session();
    FConnection->PrepareChange();
    FRowsAffected = session.Execute(parsed.Sql, BoundValues(parsed));
}

void TUniQuery::Prepare()
{
    if (!FConnection)
        throw EUniError(QStringLiteral("The query has no connection"));
    FConnection->Connect();
}

QString TUniQuery::UpdateTable() const
{
    static const QRegularExpression from(QStringLiteral(R"(\bfrom\s+((?:\[[^\]]+\]|"[^"]+"|`[^`]+`|[^\s,;()]+)))"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = from.match(EffectiveSQL());
    if (!m.hasMatch())
        throw EUniError(QStringLiteral("The query names no table to write to: %1").arg(EffectiveSQL()));
    return m.captured(1);
}
