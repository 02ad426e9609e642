#pragma once

#include "TFieldType.h"

#include <QString>

// What a provider reports about one column of a result.
struct TColumnInfo {
    QString Name;
    // The database's own type name, upper case, without size ("VARCHAR", "BIGINT", "LONG INTEGER").
    QString NativeType;
    TFieldType DataType = ftUnknown;
    int Size = 0;          // characters for text types, bytes for fixed binary types, else 0
    int Precision = 0;     // digits of decimal types
    int Scale = 0;         // decimals of decimal types
    bool Required = false; // NOT NULL
    bool AutoIncrement = false;
    QString TableName;     // base table, where the database reports it
};
