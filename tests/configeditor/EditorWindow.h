#pragma once

#include "Form_PWCrypt.h"
#include "TDialogs.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class TFilenameEdit;

// The editor's window, shown (off screen) and used as a user would: choosing in the format list,
// typing into fields, clicking buttons. Controls are found by their object names; a missing one
// fails the test.
class TEditorWindow
{
public:
    explicit TEditorWindow(const QStringList& Args = {});
    ~TEditorWindow();

    TForm1& Form() { return *FForm; }

    template <typename T>
    T* Find(const QString& Name) const
    {
        T* widget = FForm->findChild<T*>(Name);
        if (widget == nullptr)
            ADD_FAILURE() << "no control " << Name.toStdString();
        return widget;
    }
    QLineEdit* Edit(const QString& Name) const;
    QCheckBox* Check(const QString& Name) const;
    QComboBox* Formats() const;
    TFilenameEdit* DBFile() const;

    // Picks Format in the open list of cbxDBFormat with the mouse.
    void Choose(const QString& Format);
    // Empties the field (a QLineEdit or the file-name edit) and types Text into it.
    void Type(const QString& Name, const QString& Text);
    void SetChecked(const QString& Name, bool Checked);
    void Click(const QString& ButtonName);
    // Visible on the screen (with all its parents).
    bool Shown(const QString& Name) const;
    QString Text(const QString& Name) const;

private:
    std::unique_ptr<TForm1> FForm;
};

// Runs every test with the dialog seam in test mode, and fails a test that left a dialog
// without scripted answer or an answer unused.
class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // The message boxes, and the file dialogs, shown so far.
    static QList<TShownDialog> Messages();
    static QList<TShownDialog> FileDialogs();
};

// The lines of section Section of an INI file, in file order, without the header; the file read
// as single-byte text (Windows-1252 is Latin-1 in every character the tests use).
QStringList SectionLines(const QString& FileName, const QString& Section);
// All lines of the file.
QStringList FileLines(const QString& FileName);
// Writes Lines with CR LF as a single-byte file.
void WriteLines(const QString& FileName, const QStringList& Lines);

inline const QString ConfigFilter = QStringLiteral("Kladde-Datenbank-Konfigurationsdateien (*.kdbcfg)|*.kdbcfg");
