#pragma once

#include "uKladdeConnector.h"

#include <QString>

class TUniConnection;

// Makes the schema of a new, empty database from the updater database through the update run,
// so that scripts and sample databases cannot drift apart.
class TSchemaScripts
{
public:
    // Returns the version reached. Raises EUniError when the updater database holds no script for
    // Type or a script fails, with the updater's last error in the message.
    static QString Apply(const QString& UpdaterDatabase, TUniConnection& Target, TDBProviderType Type);
};
