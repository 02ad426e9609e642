#pragma once

#include <QString>

// A hidden rich-text control without window: it holds one loaded RTF document and gives its
// plain text (see RtfPlainText for the rules). Owned by its creator; GUI thread only.
class TRichEdit
{
public:
    // Replaces the document by Rtf. Throws Exception when Rtf is no RTF text; the previous
    // document then stays.
    void LoadRtf(const QString& Rtf);
    // The plain text of the loaded document; empty before the first load.
    QString Text() const { return FText; }
    // The RTF text last loaded.
    QString Rtf() const { return FRtf; }
    void Clear();

private:
    QString FRtf;
    QString FText;
};
