#pragma once

#include "TUserNotifier.h"

// Shows the messages of the code below the windows as message boxes with one OK button.
class TDialogNotifier : public TUserNotifier
{
public:
    void Notify(const QString& Text, TNoticeKind Kind) override;
};
