#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// The local date and time as the program writes it into its error texts, and the clock it reads.

// The current local date and time, or the value set by SetNowOverride.
QDateTime Now();
// Lets tests fix the clock; nullopt reads the system clock again.
void SetNowOverride(std::optional<QDateTime> Value);

// Value in the regional short date form followed by a blank and the long time form of Locale;
// the date alone when the time is exactly midnight. The year is always written with four digits
// and the time without time zone, as the regional settings of Windows write them.
QString DateTimeToStr(const QDateTime& Value, const QLocale& Locale = QLocale::system());
