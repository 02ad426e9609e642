#pragma once

#include "TFieldType.h"

#include <QList>
#include <QString>

// One rule of a connection's data type map: values of columns of native type DBType, read
// through provider Provider, are delivered as FieldType. With IgnoreErrors a value that does not
// convert reads as NULL instead of raising.
struct TDataTypeRule {
    QString Provider;
    QString DBType;
    TFieldType FieldType = ftUnknown;
    bool IgnoreErrors = false;
};

class TDataTypeMap
{
public:
    void AddDBTypeRule(const QString& Provider, const QString& DBType, TFieldType FieldType, bool IgnoreErrors = false);
    // The first rule for this provider and native type (both compared without regard to case), or null.
    const TDataTypeRule* Find(const QString& Provider, const QString& NativeType) const;
    int Count() const { return int(FRules.size()); }
    void Clear() { FRules.clear(); }

private:
    QList<TDataTypeRule> FRules;
};
