#include "TFieldType.h"

QString FieldTypeName(TFieldType Type)
{
    switch (Type) {
    case ftUnknown: return QStringLiteral("ftUnknown");
    case ftString: return QStringLiteral("ftString");
    case ftFixedChar: return QStringLiteral("ftFixedChar");
    case ftWideString: return QStringLiteral("ftWideString");
    case ftFixedWideChar: return QStringLiteral("ftFixedWideChar");
    case ftMemo: return QStringLiteral("ftMemo");
    case ftWideMemo: return QStringLiteral("ftWideMemo");
    case ftSmallint: return QStringLiteral("ftSmallint");
    case ftInteger: return QStringLiteral("ftInteger");
    case ftWord: return QStringLiteral("ftWord");
    case ftByte: return QStringLiteral("ftByte");
    case ftLargeint: return QStringLiteral("ftLargeint");
    case ftAutoInc: return QStringLiteral("ftAutoInc");
    case ftFloat: return QStringLiteral("ftFloat");
    case ftCurrency: return QStringLiteral("ftCurrency");
    case ftBCD: return QStringLiteral("ftBCD");
    case ftDate: return QStringLiteral("ftDate");
    case ftTime: return QStringLiteral("ftTime");
    case ftDateTime: return QStringLiteral("ftDateTime");
    case ftBoolean: return QStringLiteral("ftBoolean");
    case ftBytes: return QStringLiteral("ftBytes");
    case ftVarBytes: return QStringLiteral("ftVarBytes");
    case ftBlob: return QStringLiteral("ftBlob");
    }
    return QStringLiteral("ftUnknown");
}
