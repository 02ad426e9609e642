#pragma once

#include "TUserNotifier.h"

#include <QList>
#include <QStringList>

// Collects the messages shown to the user while it lives.
class TNoticeRecorder : public TUserNotifier
{
public:
    TNoticeRecorder() : FPrevious(SetUserNotifier(this)) {}
    ~TNoticeRecorder() override { SetUserNotifier(FPrevious); }
    void Notify(const QString& Text, TNoticeKind Kind) override
    {
        Texts << Text;
        Kinds << Kind;
    }

    QStringList Texts;
    QList<TNoticeKind> Kinds;

private:
    TUserNotifier* FPrevious;
};
