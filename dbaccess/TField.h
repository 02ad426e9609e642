#pragma once

#include "TColumnInfo.h"
#include "TFieldType.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>

class TDataSet;

// One column of a dataset's current row. Values are held in the canonical form of the field's
// type: text as QString, whole numbers as qlonglong, ftFloat as double, ftCurrency and ftBCD as
// their exact decimal text, dates as QDate/QTime/QDateTime, ftBoolean as bool, binary as QByteArray.
// Reading a value in another form converts it; a conversion that is not possible raises EUniError.
// Writing is allowed only while the dataset is in insert or edit state.
class TField
{
public:
    TField(TDataSet* DataSet, const TColumnInfo& Column, TFieldType DataType, bool IgnoreConversionErrors);

    const QString& FieldName() const { return FColumn.Name; }
    const QString& Name() const { return FColumn.Name; }
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FColumn.Size; }
    bool Required() const { return FRequired; }
    void SetRequired(bool Value) { FRequired = Value; }
    TFieldKind FieldKind() const { return fkData; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }
    const QString& NativeType() const { return FColumn.NativeType; }
    const TColumnInfo& Column() const { return FColumn; }
    TDataSet* DataSet() const { return FDataSet; }

    bool IsNull() const { return FValue.isNull(); }
    QVariant Value() const { return FValue; }
    QString AsString() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    QDateTime AsDateTime() const;
    bool AsBoolean() const;
    QByteArray AsBytes() const;

    void SetValue(const QVariant& Value);
    void SetAsString(const QString& Value) { SetValue(Value); }
    void SetAsInteger(int Value) { SetValue(qlonglong(Value)); }
    void SetAsLargeInt(qint64 Value) { SetValue(qlonglong(Value)); }
    void SetAsFloat(double Value) { SetValue(Value); }
    void SetAsDateTime(const QDateTime& Value) { SetValue(Value); }
    void SetAsBoolean(bool Value) { SetValue(Value); }
    void Clear() { SetValue(QVariant()); }

    // Whether the value was assigned since the row was appended or put into edit state.
    bool Assigned() const { return FAssigned; }

    // For the dataset: a fetched value, converted to the field's canonical form without the
    // state check and without marking the field assigned.
    void LoadValue(const QVariant& Raw);
    void ResetAssigned() { FAssigned = false; }

private:
    QVariant Canonical(const QVariant& Raw) const;
    [[noreturn]] void ConversionError(const QString& Target) const;

    TDataSet* FDataSet;
    TColumnInfo FColumn;
    TFieldType FDataType;
    bool FIgnoreConversionErrors;
    bool FRequired;
    bool FReadOnly = false;
    bool FAssigned = false;
    QVariant FValue;
};
