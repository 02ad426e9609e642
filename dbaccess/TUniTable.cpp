#include "TUniTable.h"

#include "EUniError.h"
#include "TProviderSession.h"
#include "TUniConnection.h"

QStringList TUniTable::KeyFieldNames()
{
    if (!Connection())
        throw EUniError(QStringLiteral("The table has no connection"));
    return Connection()->Session().PrimaryKey(FTableName);
}
