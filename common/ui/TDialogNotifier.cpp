#include "TDialogNotifier.h"

#include "TDialogs.h"

void TDialogNotifier::Notify(const QString& Text, TNoticeKind Kind)
{
    TMsgDlgType type = mtInformation;
    switch (Kind) {
    case nkError: type = mtError; break;
    case nkWarning: type = mtWarning; break;
    case nkInformation:
    case nkPlain: type = mtInformation; break;
    }
    TDialogs::MessageDlg(Text, type, mbOK);
}
