#pragma once

#include <QString>

// How a message is shown: as an error, a warning, an information, or a plain box without icon.
enum TNoticeKind { nkPlain, nkError, nkWarning, nkInformation };

// The few messages that code below the windows shows to the user (a debug notice, the updater's
// "Database not found"). The programs install their message boxes here; tests install a recorder.
// Without one installed, messages go to standard error. GUI thread only.
class TUserNotifier
{
public:
    virtual ~TUserNotifier() = default;
    virtual void Notify(const QString& Text, TNoticeKind Kind) = 0;
};

// Installs Notifier (not owned; null restores the default) and returns the one it replaces.
TUserNotifier* SetUserNotifier(TUserNotifier* Notifier);
void NotifyUser(const QString& Text, TNoticeKind Kind = nkPlain);
