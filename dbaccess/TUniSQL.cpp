#include "TUniSQL.h"

#include "EUniError.h"
#include "TProviderSession.h"
#include "TUniConnection.h"

void TUniSQL::SetSQL(const QString& Value)
{
    FSQL = Value;
    FParams.Rebuild(ParseParameters(Value).Names);
}

void TUniSQL::Execute()
{
    if (!FConnection)
        throw EUniError(QStringLiteral("The command has no connection"));
    const TParsedSql parsed = ParseParameters(FSQL);
    QVector<QVariant> values;
    for (const QString& name : parsed.Occurrences) {
        const TParam* p = FParams.FindParam(name);
        values << (p ? p->Value() : QVariant());
    }
    TProviderSession& session = FConnection->Session();
    FConnection->PrepareChange();
    FRowsAffected = session.Execute(parsed.Sql, values);
}
