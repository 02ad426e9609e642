#include "EditorWindow.h"

#include "TFilenameEdit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

TEditorWindow::TEditorWindow(const QStringList& Args) : FForm(std::make_unique<TForm1>(Args))
{
    FForm->show();
}

TEditorWindow::~TEditorWindow() = default;

QLineEdit* TEditorWindow::Edit(const QString& Name) const
{
    return Find<QLineEdit>(Name);
}

QCheckBox* TEditorWindow::Check(const QString& Name) const
{
    return Find<QCheckBox>(Name);
}

QComboBox* TEditorWindow::Formats() const
{
    return Find<QComboBox>(QStringLiteral("cbxDBFormat"));
}

TFilenameEdit* TEditorWindow::DBFile() const
{
    return Find<TFilenameEdit>(QStringLiteral("edDBFile"));
}

void TEditorWindow::Choose(const QString& Format)
{
    QComboBox* combo = Formats();
    const int index = combo->findText(Format);
    ASSERT_GE(index, 0) << Format.toStdString();
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QRect item = view->visualRect(view->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, item.center());
    // The popup closes with an animation on some styles; the choice is made on the click.
    if (combo->currentIndex() != index || view->isVisible())
        combo->hidePopup();
    ASSERT_EQ(combo->currentText(), Format);
}

void TEditorWindow::Type(const QString& Name, const QString& Text)
{
    QLineEdit* edit = nullptr;
    if (auto* fileEdit = FForm->findChild<TFilenameEdit*>(Name))
        edit = fileEdit->Edit();
    else
        edit = Edit(Name);
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : Text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(edit, char(c.unicode()));
            continue;
        }
        // QTest maps ASCII only; a key of a German keyboard reaches the field as text.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
}

void TEditorWindow::SetChecked(const QString& Name, bool Checked)
{
    QCheckBox* box = Check(Name);
    ASSERT_NE(box, nullptr);
    if (box->isChecked() != Checked)
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
    ASSERT_EQ(box->isChecked(), Checked);
}

void TEditorWindow::Click(const QString& ButtonName)
{
    auto* button = Find<QPushButton>(ButtonName);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(button->isVisible() && button->isEnabled()) << ButtonName.toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

bool TEditorWindow::Shown(const QString& Name) const
{
    const QWidget* widget = Find<QWidget>(Name);
    return widget != nullptr && widget->isVisible();
}

QString TEditorWindow::Text(const QString& Name) const
{
    if (auto* fileEdit = FForm->findChild<TFilenameEdit*>(Name))
        return fileEdit->Filename();
    const QLineEdit* edit = Edit(Name);
    return edit ? edit->text() : QString();
}

void EditorTest::SetUp()
{
    TDialogs::SetTestMode(true);
    TDialogs::ResetTest();
}

void EditorTest::TearDown()
{
    for (const TShownDialog& shown : TDialogs::Log())
        EXPECT_TRUE(shown.Scripted) << "dialog without scripted answer: kind " << shown.Kind << " "
                                    << shown.Text.toStdString();
    EXPECT_EQ(TDialogs::PendingAnswers(), 0) << "scripted answers left unused";
    TDialogs::ResetTest();
}

QList<TShownDialog> EditorTest::Messages()
{
    QList<TShownDialog> result;
    for (const TShownDialog& shown : TDialogs::Log())
        if (shown.Kind == dkMessage)
            result << shown;
    return result;
}

QList<TShownDialog> EditorTest::FileDialogs()
{
    QList<TShownDialog> result;
    for (const TShownDialog& shown : TDialogs::Log())
        if (shown.Kind == dkOpenFile || shown.Kind == dkSaveFile)
            result << shown;
    return result;
}

QStringList FileLines(const QString& FileName)
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << FileName.toStdString();
        return {};
    }
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QStringList SectionLines(const QString& FileName, const QString& Section)
{
    QStringList result;
    bool inSection = false;
    for (const QString& line : FileLines(FileName)) {
        if (line.startsWith(QLatin1Char('['))) {
            inSection = line.compare(QLatin1Char('[') + Section + QLatin1Char(']'), Qt::CaseInsensitive) == 0;
            continue;
        }
        if (inSection)
            result << line;
    }
    return result;
}

void WriteLines(const QString& FileName, const QStringList& Lines)
{
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ADD_FAILURE() << "cannot write " << FileName.toStdString();
        return;
    }
    for (const QString& line : Lines)
        file.write(line.toLatin1() + "\r\n");
}
