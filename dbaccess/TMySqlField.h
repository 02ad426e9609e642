#pragma once

#include "TColumnInfo.h"

#include <QMetaType>
#include <QVariant>

typedef struct st_mysql_field MYSQL_FIELD;

// How one column of a MySQL/MariaDB result in the text protocol is described and read: the
// column description with the default field type, and the conversion of the server's text for a
// value into a QVariant.
class TMySqlField
{
public:
    // DefaultCharBytes: the maximum bytes per character of the connection's character set, used
    // when the column's character set number is unknown to the client library.
    TMySqlField(const MYSQL_FIELD& Field, int DefaultCharBytes);

    const TColumnInfo& Info() const { return FInfo; }
    // The value of the server's text (Data == nullptr for NULL). Zero dates and NULL give a null
    // QVariant of the column's value type.
    QVariant Value(const char* Data, unsigned long Length) const;

private:
    enum TKind { kText, kInteger, kUnsignedBig, kFloat, kDecimal, kDate, kTime, kDateTime, kBit1, kBytes };

    TColumnInfo FInfo;
    TKind FKind = kText;
    QMetaType FType;
};
