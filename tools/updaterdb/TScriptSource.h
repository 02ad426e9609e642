#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

// One update script as it becomes a row of the table SQLData of the updater database.
struct TUpdateScript
{
    QString DBType;               // "All" or the provider name of one database system
    std::array<int, 4> Version{}; // the version a database has after the script, most significant first
    QString SQLText;              // exactly one statement, without a closing ";"
    bool Ignore = false;          // never run by the update run
    QString Where;                // "file:line" of the marker, for messages

    QString VersionText() const;
};

// The script files of data/updater: one file per database system, named after its DBType
// ("All.sql", "SQLite.sql", ...). A line "--@ 1.0.0.3" (optionally followed by "ignore") starts
// the script of that version; the lines up to the next marker are its statement. Other lines
// starting with "--" are comments; text before the first marker may only be comments.
class TScriptSource
{
public:
    // The DBType names the update run knows.
    static const QStringList& KnownDBTypes();

    // Appends the scripts of FileName to Scripts in file order. False with Error ("file:line:
    // reason") when the file cannot be read, its name is no DBType, or a script is malformed:
    // empty, more than one statement, a version that is not four numbers or is 0.0.0.0, or not
    // above the script before it in the same file.
    static bool ReadFile(const QString& FileName, QList<TUpdateScript>& Scripts, QString& Error);

    // Checks that the update run will run every script once for every database system: a version
    // may occur only once among the scripts of "All" and of any one system together, since the
    // update run skips a script whose version the database has already reached. Empty when
    // that holds, else the first clash.
    static QString CheckVersions(const QList<TUpdateScript>& Scripts);

    // The highest version of all scripts.
    static std::array<int, 4> LatestVersion(const QList<TUpdateScript>& Scripts);
};
