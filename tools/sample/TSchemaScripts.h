#pragma once

#include <QString>

class TUniConnection;

// Makes the schema of a new, empty database from the updater database: runs the scripts of
// "All" and DBType in version order, each as one command, and records each script's version in
// Kladde_Verwaltung.Version3 as the update run does. The sample generator takes its schema from
// there, so that scripts and sample databases cannot drift apart.
class TSchemaScripts
{
public:
    // Returns the version reached. Raises EUniError when the updater database cannot be read or a
    // script fails, with the script's version in the message.
    static QString Apply(const QString& UpdaterDatabase, TUniConnection& Target, const QString& DBType);
};
