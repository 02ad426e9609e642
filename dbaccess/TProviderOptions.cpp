#include "TProviderOptions.h"

QString TProviderOptions::Values(const QString& Name) const
{
    for (const auto& item : FItems)
        if (item.first.compare(Name, Qt::CaseInsensitive) == 0)
            return item.second;
    return {};
}

void TProviderOptions::SetValue(const QString& Name, const QString& Value)
{
    for (auto& item : FItems) {
        if (item.first.compare(Name, Qt::CaseInsensitive) == 0) {
            item.second = Value;
            return;
        }
    }
    FItems.append({Name, Value});
}

bool TProviderOptions::Contains(const QString& Name) const
{
    for (const auto& item : FItems)
        if (item.first.compare(Name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList TProviderOptions::Lines() const
{
    QStringList lines;
    for (const auto& item : FItems)
        lines << item.first + QLatin1Char('=') + item.second;
    return lines;
}

QString TProviderOptions::ProviderValue(const QString& Provider, const QString& Option) const
{
    const QString prefixed = Provider + QLatin1Char('.') + Option;
    if (Contains(prefixed))
        return Values(prefixed);
    return Values(Option);
}
