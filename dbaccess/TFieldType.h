#pragma once

#include <QString>

// The kinds of values a field delivers, independent of the database system.
enum TFieldType {
    ftUnknown,
    ftString,
    ftFixedChar,
    ftWideString,
    ftFixedWideChar,
    ftMemo,
    ftWideMemo,
    ftSmallint,
    ftInteger,
    ftWord,
    ftByte,
    ftLargeint,
    ftAutoInc,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftBoolean,
    ftBytes,
    ftVarBytes,
    ftBlob,
};

enum TFieldKind { fkData, fkCalculated, fkLookup };

enum TDataSetState { dsInactive, dsBrowse, dsInsert, dsEdit };

// "ftWideString" and so on: for messages and test output.
QString FieldTypeName(TFieldType Type);
