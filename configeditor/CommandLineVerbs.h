#pragma once

#include <QStringList>
#include <QTextStream>

#include <optional>

// Runs a command-line verb of the configuration editor without any window:
//   --encrypt   reads one line of clear text from In, writes its enciphered form and a newline;
//   --decrypt   reads one enciphered line from In, writes its clear text (or "???") and a newline;
//   --show FILE writes what the connector reads from the configuration file FILE, without
//               connecting: the lines DBFormat, DBProviderType (member name), Server, Port, Database,
//               Username, Password, Direct (0 or 1) and Schema, each "Name=Value". Password is empty
//               without a password, "???" when it does not decipher, else "(set)", never the clear
//               text. Without FILE nothing is written and the exit code is 2.
// Args are the program's arguments without the program name. Both streams are read and written
// as UTF-8. Returns the process exit code when Args[0] is a verb, std::nullopt otherwise (no
// arguments, or a configuration file to open in the editor).
std::optional<int> RunCommandLineVerb(const QStringList& Args, QTextStream& In, QTextStream& Out);
