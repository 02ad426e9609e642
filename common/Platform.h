#pragma once

#include <QChar>
#include <QString>

#include <optional>

// The operating-system calls of the programs; nothing else calls the operating system directly.

// The delimiter of the platform's native paths, as the folder routines write and strip it.
#ifdef Q_OS_WIN
inline constexpr QChar PathDelim{u'\\'};
#else
inline constexpr QChar PathDelim{u'/'};
#endif

// Full path of the running program file, with native delimiters.
QString ProgramFilePath();
// Folder of the running program file, without trailing delimiter.
QString ProgramFolder();
// The user's documents folder (it need not exist yet), or empty when the system names none.
QString DocumentsFolder();

// True while the process runs under a debugger, or the value set by SetDebugModeOverride.
bool RunsUnderDebugger();
// Lets tests switch debug mode on or off; nullopt asks the system again.
void SetDebugModeOverride(std::optional<bool> DebugMode);
