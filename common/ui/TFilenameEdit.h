#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QToolButton;

// A file-name field: a line edit with a browse button that opens the open-file dialog through
// TDialogs. Disabling the widget disables edit and button together. GUI thread only.
//
// The dialog proposes the name in the field (and so starts in its folder) when the field is not
// empty, and starts in InitialDir otherwise; a chosen name replaces the field's text, a cancelled
// dialog changes nothing.
class TFilenameEdit : public QWidget
{
    Q_OBJECT

public:
    explicit TFilenameEdit(QWidget* Parent = nullptr);

    QString Filename() const;
    void SetFilename(const QString& Value);

    // In the "Description|*.a;*.b|..." form of TFileDialogOptions::Filter.
    QString Filter() const { return FFilter; }
    void SetFilter(const QString& Value) { FFilter = Value; }
    QString InitialDir() const { return FInitialDir; }
    void SetInitialDir(const QString& Value) { FInitialDir = Value; }
    // Without dot; appended by the dialog to a chosen name without extension.
    QString DefaultExt() const { return FDefaultExt; }
    void SetDefaultExt(const QString& Value) { FDefaultExt = Value; }
    QString DialogTitle() const { return FDialogTitle; }
    void SetDialogTitle(const QString& Value) { FDialogTitle = Value; }

    QLineEdit* Edit() const { return FEdit; }
    QToolButton* Button() const { return FButton; }

    // Runs the dialog as the browse button does.
    void Browse();

Q_SIGNALS:
    // The text changed, by typing, by SetFilename or by the dialog.
    void FilenameChanged(const QString& Filename);

protected:
    void resizeEvent(QResizeEvent* Event) override;

private:
    QLineEdit* FEdit;
    QToolButton* FButton;
    QString FFilter;
    QString FInitialDir;
    QString FDefaultExt;
    QString FDialogTitle;
};
