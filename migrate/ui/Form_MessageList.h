#pragma once

#include "TDialogs.h"
#include "uTextFileEncoding.h"

#include <QDialog>
#include <QStringList>

#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QStatusBar;
class TPrintDialog;

// The error-list window: shows lines read-only and lets the user close it, print them, save them
// to a text file and switch line wrapping. Created without owner; closing it deletes it (also at
// the end of exec()). Every control carries its name as object name. File and print dialogs go
// through TDialogs. GUI thread only.
class TFrm_MessageList : public QDialog
{
    Q_OBJECT

public:
    explicit TFrm_MessageList(QWidget* Parent = nullptr);
    ~TFrm_MessageList() override;

    // Shows Lines modally in a new window captioned Caption; returns when the user has closed it
    // (the window is then gone). The viewer of the migration run and of the transaction handler.
    static void ShowLines(const QStringList& Lines, const QString& Caption);

    // The text box's lines, its own line breaks only. Assigned lines are saved in Windows-1252.
    QStringList Lines() const;
    void SetLines(const QStringList& Lines);
    // The lines as the text box shows them: with wrapping on, each wrapped piece of a line is a
    // line of its own. REQUIRES: the window has been laid out (shown) for the pieces to be right.
    QStringList DisplayedLines() const;

    // The file last loaded or saved; empty at first.
    QString Filename() const { return FFilename; }
    // Stores the name, then loads the file's lines keeping its encoding (a UTF-8 or UTF-16
    // byte-order mark, else Windows-1252), which a later save writes again.
    // Raises Exception when the file cannot be read; the name stays stored.
    void SetFilename(const QString& Value);
    // True hides the print and save buttons, makes the text editable and moves the check box
    // into the print button's place; false changes nothing.
    void SetAllowEdit(bool Value);

    // Creates the printer of each new window's print dialog. A factory that throws leaves the
    // window without print dialog and print button. Empty restores the default (the system's
    // default printer); returns the factory it replaces.
    using TPrinterFactory = std::function<std::unique_ptr<QPrinter>()>;
    static TPrinterFactory SetPrinterFactory(TPrinterFactory Factory);

    // The print dialog, null when it could not be created.
    TPrintDialog* PrintDialog() const { return FPrintDialog.get(); }
    // The save dialog's settings as they stand, kept from one save to the next.
    const TFileDialogOptions& SaveDialog() const { return FSaveDialog; }

public Q_SLOTS:
    void btnCloseClick();
    // Prints the displayed lines in the text box's font, margins 0.5 inch, 5 lines per inch, when
    // the user confirms the print dialog. Print errors pass to the application's handler.
    void btnPrintClick();
    // Saves the lines (CR LF) to the file the user chooses, which becomes Filename. After a first
    // save the dialog proposes that file and offers only its extension. A failed write raises
    // Exception to the application's handler.
    void btnSaveClick();
    void chbxZeilenumbruchClick();

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    void CreateComponents();
    void AlignControls();
    void WriteFile(const QString& FileName) const;

    QString FFilename;
    TTextEncoding FEncoding = teAnsi;
    std::unique_ptr<TPrintDialog> FPrintDialog;
    TFileDialogOptions FSaveDialog;

    QFrame* Panel1;
    QPushButton* btnClose;
    QPushButton* btnPrint;
    QPushButton* btnSave;
    QCheckBox* chbxZeilenumbruch;
    QStatusBar* StatusBar1;
    QPlainTextEdit* Memo;
};
