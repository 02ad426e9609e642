#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A Name=Value list of provider options ("SQLite.ConnectMode=cmReadOnly"). Names are compared
// without regard to case; setting a name that exists replaces its value in place.
class TProviderOptions
{
public:
    QString Values(const QString& Name) const;
    void SetValue(const QString& Name, const QString& Value);
    bool Contains(const QString& Name) const;
    void Clear() { FItems.clear(); }
    int Count() const { return int(FItems.size()); }
    // The lines "Name=Value" in the order they were first set.
    QStringList Lines() const;

    // The value of option Option for provider Provider: the prefixed form "Provider.Option" when it
    // is set, else the short form "Option" (the short forms apply to whatever provider is in use).
    QString ProviderValue(const QString& Provider, const QString& Option) const;

private:
    QList<QPair<QString, QString>> FItems;
};
