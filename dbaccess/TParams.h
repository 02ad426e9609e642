#pragma once

#include "TFieldType.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

// A named parameter of a statement (":ID" in the text).
class TParam
{
public:
    explicit TParam(QString Name = QString()) : FName(std::move(Name)) {}

    const QString& Name() const { return FName; }
    const QVariant& Value() const { return FValue; }
    bool IsNull() const { return FValue.isNull(); }
    void SetValue(const QVariant& Value) { FValue = Value; }
    void SetAsInteger(int Value) { FValue = qlonglong(Value); }
    void SetAsLargeInt(qint64 Value) { FValue = qlonglong(Value); }
    void SetAsString(const QString& Value) { FValue = Value; }
    void SetAsFloat(double Value) { FValue = Value; }
    void SetAsDateTime(const QDateTime& Value) { FValue = Value; }
    void Clear() { FValue = QVariant(); }

private:
    QString FName;
    QVariant FValue;
};

// The parameters of a statement, one per distinct name, in order of first appearance.
class TParams
{
public:
    int Count() const { return int(FItems.size()); }
    TParam& Items(int Index) { return FItems[Index]; }
    const TParam& Items(int Index) const { return FItems[Index]; }
    TParam* FindParam(const QString& Name);
    const TParam* FindParam(const QString& Name) const;
    // Raises EUniError when there is no parameter of that name.
    TParam& ParamByName(const QString& Name);
    // Makes the list hold exactly Names; parameters that keep their name keep their value.
    void Rebuild(const QStringList& Names);

private:
    QList<TParam> FItems;
};

// A statement text with its ":Name" parameters replaced by positional "?" markers. Names are
// found outside string literals, quoted identifiers and comments; "::" is no parameter.
struct TParsedSql {
    QString Sql;
    QStringList Occurrences; // the parameter name of each "?", in order
    QStringList Names;       // distinct names in order of first appearance
};
TParsedSql ParseParameters(const QString& Sql);

// Sql with each "?" marker outside string literals, quoted identifiers and comments replaced by
// the next text of Values, in order. BackslashEscapes: a backslash escapes the next character
// inside string literals (MySQL's reading).
QString ReplacePlaceholders(const QString& Sql, const QStringList& Values, bool BackslashEscapes);
