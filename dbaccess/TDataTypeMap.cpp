#include "TDataTypeMap.h"

void TDataTypeMap::AddDBTypeRule(const QString& Provider, const QString& DBType, TFieldType FieldType, bool IgnoreErrors)
{
    FRules.append({Provider, DBType, FieldType, IgnoreErrors});
}

const TDataTypeRule* TDataTypeMap::Find(const QString& Provider, const QString& NativeType) const
{
    for (const auto& rule : FRules)
        if (rule.Provider.compare(Provider, Qt::CaseInsensitive) == 0
            && rule.DBType.compare(NativeType, Qt::CaseInsensitive) == 0)
            return &rule;
    return nullptr;
}
