#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// What the pupil selection reads from, and writes to, the controls of the options tab. The tab
// implements it; the tests use a plain one. GUI thread only.
class TSelectionControls
{
public:
    virtual ~TSelectionControls() = default;

    // Positions, in list order, of the ticked items of the status list, which shows the items of
    // SelectionStates() in their order. REQUIRES: each position is valid in SelectionStates().
    virtual QList<int> CheckedStatusItems() const = 0;

    // Names of the ticked class items, in list order.
    virtual QStringList CheckedClasses() const = 0;
    // Number of class items, ticked or not.
    virtual int ClassCount() const = 0;
    // Removes every class item.
    virtual void ClearClasses() = 0;
    // Appends an unticked class item.
    virtual void AddClass(const QString& Name) = 0;

    // The school-year key ("SchuljahrNum") of the first and the last school year box; nullopt when
    // the box shows no text.
    virtual std::optional<int> StartYearKey() const = 0;
    virtual std::optional<int> EndYearKey() const = 0;
};
