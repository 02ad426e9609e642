#pragma once

#include <QByteArray>
#include <QStringView>

// Decodes standard Base64 (alphabet A-Z a-z 0-9 + /) as stored texts may come: every other
// character (blanks, line breaks, anything foreign) is skipped, the first "=" ends the data,
// and a last group of two or three characters gives one or two bytes (a single one gives none).
// Never fails; garbage simply yields fewer bytes.
QByteArray DecodeBase64Lenient(QStringView Text);
