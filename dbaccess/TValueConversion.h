#pragma once

#include "TFieldType.h"

#include <QDateTime>
#include <QVariant>

// Conversions between the values that drivers deliver and the canonical form of each field type
// (see TField). A date-time without time zone is held as a QDateTime in Qt::UTC, used as a plain
// calendar value, so that no time-zone or daylight-saving rule ever shifts it.
namespace ValueConversion {

// Raw to canonical. Returns false when the value does not convert (for example "abc" as integer).
bool ToCanonical(const QVariant& Raw, TFieldType Type, QVariant& Out);

// A plain (zone-less) date-time.
QDateTime PlainDateTime(const QDate& Date, const QTime& Time = QTime(0, 0));

// Parses "yyyy-MM-dd", "yyyy-MM-dd HH:mm[:ss[.zzz]]" and the same with "T".
bool ParseDateTime(const QString& Text, QDateTime& Out);

// The exact decimal text of a number given as text, integer or double, with "." as separator.
bool ToDecimalText(const QVariant& Raw, QString& Out);

} // namespace ValueConversion
