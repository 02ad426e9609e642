#pragma once

#include <QString>

// The plain text of an RTF document, as a rich-edit control shows it: paragraphs separated by
// CR LF (the end of the last paragraph adds none), "\line" as CR LF, "\tab" as a tab, "\'hh" in
// Windows-1252, "\uN" with its fallback characters skipped, and the text of font, colour and style
// tables, document information, pictures, objects, headers, footers and every "\*" group left out.
// Control words the reader does not know are ignored; a missing final "}" is tolerated.
// Throws Exception when Rtf does not start with "{\rtf" (in any case).
QString RtfPlainText(const QString& Rtf);
