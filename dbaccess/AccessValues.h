#pragma once

#include <QByteArray>
#include <QString>

// Conversions of raw Access (Jet / ACE) field bytes into the values the Access importer stores.
// None of them needs the Access file; all of them are exact.

// A Date/Time value (days since 30 Dec 1899, the fraction is the time of day; for days before
// that the fraction still counts forward from midnight) as "yyyy-MM-dd HH:mm:ss", rounded to
// whole seconds. A null string when the value is not a date of the years 1 to 9999.
QString AccessDateTimeText(double Days);

// A Currency value, stored as a 64-bit integer of ten-thousandths, as "-12.3400".
QString AccessCurrencyText(qint64 TenThousandths);

// A Decimal value: Data holds the 17 stored bytes (sign byte, then the 128-bit magnitude as four
// little-endian 32-bit words, most significant word first). Scale decimals, e.g. "-1.50".
QString AccessDecimalText(const unsigned char* Data, int Scale);

// A replication ID (GUID) from its 16 stored bytes as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
QString AccessGuidText(const unsigned char* Data);

// A Text or Memo value of an Access 2000 or later file: UTF-16LE, or with the marker FF FE the
// compressed form, in which each byte is a character of U+0000..U+00FF and a zero byte switches
// between that and UTF-16LE.
QString JetUnicodeText(const char* Data, qsizetype Size);
