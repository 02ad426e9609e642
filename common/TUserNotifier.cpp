#include "TUserNotifier.h"

#include <QTextStream>

namespace {
TUserNotifier* CurrentNotifier = nullptr;
} // namespace

TUserNotifier* SetUserNotifier(TUserNotifier* Notifier)
{
    TUserNotifier* previous = CurrentNotifier;
    CurrentNotifier = Notifier;
    return previous;
}

void NotifyUser(const QString& Text, TNoticeKind Kind)
{
    if (CurrentNotifier) {
        CurrentNotifier->Notify(Text, Kind);
        return;
    }
    QTextStream(stderr) << Text << "\n";
}
