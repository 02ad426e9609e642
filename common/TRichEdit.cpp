#include "TRichEdit.h"

#include "RtfReader.h"

void TRichEdit::LoadRtf(const QString& Rtf)
{
    FText = RtfPlainText(Rtf);
    FRtf = Rtf;
}

void TRichEdit::Clear()
{
    FRtf.clear();
    FText.clear();
}
