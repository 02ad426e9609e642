#include "TSchemaScripts.h"

#include "EUniError.h"
#include "TUniConnection.h"
#include "TUniQuery.h"

QString TSchemaScripts::Apply(const QString& UpdaterDatabase, TUniConnection& Target, const QString& DBType)
{
    TUniConnection updater;
    updater.SetProviderName(QStringLiteral("SQLite"));
    updater.SetDatabase(UpdaterDatabase);
    updater.SpecificOptions().SetValue(QStringLiteral("SQLite.ConnectMode"), QStringLiteral("cmReadOnly"));
    updater.SetLoginPrompt(false);
    updater.Connect();

    TUniQuery scripts(&updater);
    scripts.SetSQL(QStringLiteral("SELECT * FROM SQLData WHERE DBType in ('All', '%1') "
                                  "ORDER BY Version1, Version2, Version3, Version4")
                       .arg(DBType));
    scripts.Open();
    QString version;
    for (; !scripts.Eof(); scripts.Next()) {
        if (scripts.FieldByName(QStringLiteral("Ignore")).AsInteger() > 0)
            continue;
        version = QStringLiteral("%1.%2.%3.%4")
                      .arg(scripts.FieldByName(QStringLiteral("Version1")).AsInteger())
                      .arg(scripts.FieldByName(QStringLiteral("Version2")).AsInteger())
                      .arg(scripts.FieldByName(QStringLiteral("Version3")).AsInteger())
                      .arg(scripts.FieldByName(QStringLiteral("Version4")).AsInteger());
        try {
            Target.ExecSQL(scripts.FieldByName(QStringLiteral("SQLText")).AsString());
            Target.ExecSQL(QStringLiteral("UPDATE Kladde_Verwaltung SET Version3='%1'").arg(version));
        } catch (const EUniError& e) {
            throw EUniError(QStringLiteral("update script %1 (%2): %3").arg(version, DBType, e.Message()),
                            e.ErrorCode());
        }
    }
    if (version.isEmpty())
        throw EUniError(QStringLiteral("%1 holds no update scripts for %2").arg(UpdaterDatabase, DBType));
    return version;
}
