#pragma once

#include <QString>

// The strict integer conversion of the updater: an optional sign followed by decimal digits and
// nothing else (no blanks, no hexadecimal), within the range of a signed 32-bit integer.
// True with Value set on success; false with Value unchanged otherwise.
bool TryStrToInt(const QString& S, int& Value);
