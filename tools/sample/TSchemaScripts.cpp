#include "TSchemaScripts.h"

#include "EUniError.h"
#include "dmodProviders.h"
#include "uDBUpdater.h"

QString TSchemaScripts::Apply(const QString& UpdaterDatabase, TUniConnection& Target, TDBProviderType Type)
{
    TdmProvider dm;
    dm.KladdeConnector()->SetDBProviderType(Type);
    dm.KladdeConnector()->SetConnection(&Target);
    TDBUpdater updater(UpdaterDatabase);
    updater.SetDMProvider(&dm);
    if (!updater.ExecuteUpdate(false))
        throw EUniError(QStringLiteral("The update scripts of %1 did not run through for %2: %3")
                            .arg(UpdaterDatabase, TDBUpdater::ProviderName(Type), TDBUpdater::LastError()));
    return updater.DBVersion().ToString();
}
