#pragma once

#include <QString>

#include <optional>

class TRichEdit;

// Small shared routines: folders, ADMIN.INI, versions, fields of a text, number texts, RTF text.
// Folder texts are returned without trailing path delimiter (PathDelim of Platform.h).
// None of them throws. GUI thread only: the caches are filled without locking.

// The shell folder identifier of the user's documents folder, the only one GetSpecialFolderPath knows.
inline constexpr int CsidlPersonal = 5;

// Folder of the running program file; cached.
QString AppDir();
// Removes every occurrence of C at the end of S.
void StripTrailingChar(QString& S, QChar C);
// Value of the environment variable Name; empty when it is not set.
QString GetEnvVar(const QString& Name);
// Path of the shell folder CSIDL: the documents folder for CsidlPersonal, empty for any other.
QString GetSpecialFolderPath(int CSIDL);

// Key Key of section "Administration" in Folder's ADMIN.INI; Default when file or key is missing.
QString ReadAdminIni(const QString& Folder, const QString& Key, const QString& Default);
// The administration directory of Folder: its ADMIN.INI "AdminDir", else Folder.
QString GetAdminDir(const QString& Folder);
// GetAdminDir of AppDir; cached.
QString AppAdminDir();
// The group directory of Folder: its ADMIN.INI "GroupDir", where "<PRIVATE>" stands for the
// documents folder (the folder is then created when missing) and "%NAME%" for the environment
// variable NAME; AppAdminDir when the key is missing or empty or names an unset variable.
QString GetGroupDir(const QString& Folder);
// GetGroupDir of AppDir; cached.
QString AppGroupDir();

// The four version numbers of the program; FileName empty or the program file. Any other file has
// no version here: the numbers are set to 0 and the result is false.
bool GetFileVersionNumbers(const QString& FileName, quint16& Major, quint16& Minor, quint16& Release,
                           quint16& Build);
// "major.minor.release.build" with WithBuild, else "major.minor.release"; empty without version.
QString GetFileVersionText(const QString& FileName, bool WithBuild);
// GetFileVersionText of the program file, with build.
QString GetAppVersionText();

// Number of fields of S split at Separator: 0 for an empty S, else the separators plus 1.
int TokenCount(const QString& S, const QString& Separator);
// Field Index (from 1) of S split at Separator; empty below 1, beyond the last field and for an
// empty S. A text ending with the separator has an empty last field.
QString GetToken(const QString& S, const QString& Separator, int Index);

// S with the last occurrence of the locale's decimal separator replaced by C; S unchanged when C is
// that separator or S holds none.
QString SetLastDecimalSeparator(const QString& S, QChar C);

// A whole number as the platform reads one (StrToIntDef, the profile functions): an optional sign,
// then decimal digits, or hexadecimal digits after "$" or "0x"/"0X"; nothing else. Hexadecimal
// takes all 32 bits ("$FFFFFFFF" is -1). No value when Text is no such number.
std::optional<int> ParseInteger(QStringView Text);

// True when S starts with "{\rtf", in any case.
bool IsRtfText(const QString& S);
// The text of the RTF document Rtf without formatting. It is loaded into Control, which keeps the
// document, or into a temporary one when Control is null. Any error gives the empty text.
QString RtfToPlainText(const QString& Rtf, TRichEdit* Control = nullptr);
