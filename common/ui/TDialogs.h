#pragma once

#include <QFlags>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class QFileDialog;
class QMessageBox;
class QPrinter;
class QWidget;

// The kinds of message box; each has its own icon and caption.
enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation };

// The buttons of a message box, shown in this order.
enum TMsgDlgBtn {
    mbYes = 0x01,
    mbNo = 0x02,
    mbOK = 0x04,
    mbCancel = 0x08,
    mbAbort = 0x10,
    mbRetry = 0x20,
    mbIgnore = 0x40,
    mbClose = 0x80,
};
using TMsgDlgButtons = QFlags<TMsgDlgBtn>;
Q_DECLARE_OPERATORS_FOR_FLAGS(TMsgDlgButtons)

// The button that closed a message box; mrNone for no box shown.
enum TModalResult { mrNone, mrOk, mrCancel, mrAbort, mrRetry, mrIgnore, mrYes, mrNo, mrClose };

// The settings of an open or save dialog.
struct TFileDialogOptions {
    // Window caption; empty gives the system's ("Öffnen", "Speichern unter").
    QString Title;
    // Pairs of description and patterns, all separated by "|"; patterns of one entry by ";":
    // "Text-Dateien|*.txt;*.log|Alle Dateien|*.*". Empty shows every file.
    QString Filter;
    // The entry selected at first, counted from 1.
    int FilterIndex = 1;
    // Folder shown at first; empty leaves it to the system (the folder of FileName, if any).
    QString InitialDir;
    // The proposed file name (a name or a full path).
    QString FileName;
    // Extension without dot, appended to a chosen name that has none; empty appends nothing.
    QString DefaultExt;
    // Save dialog only: asks before an existing file is chosen.
    bool OverwritePrompt = false;
};

enum TDialogKind { dkMessage, dkOpenFile, dkSaveFile, dkPrint };

// One dialog as the test seam recorded it.
struct TShownDialog {
    TDialogKind Kind = dkMessage;
    // Message boxes.
    TMsgDlgType Type = mtInformation;
    QString Text;
    TMsgDlgButtons Buttons;
    TModalResult Result = mrNone;
    // File dialogs: the options as given; FileName is then the chosen name (empty: cancelled).
    TFileDialogOptions Options;
    QString ChosenFileName;
    // Print dialogs: whether the user confirmed.
    bool Confirmed = false;
    // False when no fitting answer was queued: the dialog was cancelled instead of shown.
    bool Scripted = true;
};

// The one way both programs show message boxes and file and print dialogs. GUI thread only.
//
// Normally every call shows a modal dialog and waits for the user. In test mode (SetTestMode, and
// always on the "offscreen" and "minimal" platforms, where nobody could answer) no dialog is
// shown: each call takes the next queued answer of its kind and appends what it would have shown
// to Log(). A call with no queued answer, or whose answer is no button of its box (that answer is
// used up), is recorded with Scripted false, prints a warning and is treated as cancelled
// (mrCancel, no file name, not confirmed), so that a missing answer fails the test instead of
// blocking it.
class TDialogs
{
public:
    // Shows Msg in a box of the given type with the given buttons; returns the button pressed,
    // mrCancel when the box is closed without a button.
    static TModalResult MessageDlg(const QString& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                   QWidget* Parent = nullptr);

    // Return the chosen file (full path, DefaultExt applied), or the empty text when cancelled.
    static QString OpenFileName(const TFileDialogOptions& Options, QWidget* Parent = nullptr);
    static QString SaveFileName(const TFileDialogOptions& Options, QWidget* Parent = nullptr);

    // Shows the print dialog for Printer, which it configures; true when the user confirmed.
    static bool PrintDialog(QPrinter& Printer, QWidget* Parent = nullptr);

    // Building blocks, public for the tests.
    // "Text|*.a;*.b|Other|*.c" as Qt name filters: "Text (*.a *.b)", "Other (*.c)".
    static QStringList NameFilters(const QString& Filter);
    // FileName with "." + DefaultExt appended when its last component has no extension.
    static QString ApplyDefaultExt(const QString& FileName, const QString& DefaultExt);
    // German standard texts: "OK", "Abbrechen", "Ja", "Nein", ...
    static QString ButtonText(TMsgDlgBtn Button);
    // "Warnung", "Fehler", "Information", "Bestätigen".
    static QString Caption(TMsgDlgType Type);
    // The box MessageDlg shows, not yet shown; each button's result is in its "modalResult" property.
    static std::unique_ptr<QMessageBox> CreateMessageBox(const QString& Msg, TMsgDlgType Type,
                                                         TMsgDlgButtons Buttons, QWidget* Parent = nullptr);
    // The dialog OpenFileName or SaveFileName shows, not yet shown.
    static std::unique_ptr<QFileDialog> CreateFileDialog(const TFileDialogOptions& Options, bool Save,
                                                         QWidget* Parent = nullptr);

    // Test seam.
    static void SetTestMode(bool On);
    static bool TestMode();
    // Replace the queues of answers; each call of its kind takes the first.
    static void SetNextAnswers(const QList<TModalResult>& Answers);
    // An empty name answers as a cancelled dialog.
    static void SetNextFileNames(const QStringList& FileNames);
    static void SetNextPrintAnswers(const QList<bool>& Answers);
    // Answers queued but not yet taken, of all kinds.
    static int PendingAnswers();
    static const QList<TShownDialog>& Log();
    // Empties the queues and the log.
    static void ResetTest();
};
