// The dialog seam: filter and file-name rules, the German message boxes, the scripted answers.

#include "EIniFileException.h"
#include "TApplication.h"
#include "TDialogs.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMap>
#include <QMessageBox>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class DialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TDialogs::SetTestMode(true);
        TDialogs::ResetTest();
    }
    void TearDown() override { TDialogs::ResetTest(); }
};

// The texts of the box's buttons, sorted: the layout order is the platform's.
QStringList ButtonTexts(const QMessageBox& Box)
{
    QStringList texts;
    for (QAbstractButton* button : Box.buttons())
        texts << button->text();
    texts.sort();
    return texts;
}

} // namespace

TEST_F(DialogsTest, FiltersBecomeQtNameFilters)
{
    struct Case {
        QString Filter;
        QStringList Expected;
    };
    const Case cases[] = {
        {QStringLiteral("Kladde-Datenbank-Konfigurationsdateien (*.kdbcfg)|*.kdbcfg"),
         {QStringLiteral("Kladde-Datenbank-Konfigurationsdateien (*.kdbcfg) (*.kdbcfg)")}},
        {QStringLiteral("Access-Datenbanken (*.mdb, *.accdb)|*.mdb;*.accdb|Access 2007-Dateien (*.mdb)|*.mdb"),
         {QStringLiteral("Access-Datenbanken (*.mdb, *.accdb) (*.mdb *.accdb)"),
          QStringLiteral("Access 2007-Dateien (*.mdb) (*.mdb)")}},
        {QStringLiteral("Text-Dateien|*.txt|Alle Dateien|*.*"),
         {QStringLiteral("Text-Dateien (*.txt)"), QStringLiteral("Alle Dateien (*.*)")}},
        {QStringLiteral("*.log|*.log"), {QStringLiteral("*.log (*.log)")}},
        {QStringLiteral("Nur Text"), {QStringLiteral("Nur Text (*)")}},
        {QString(), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDialogs::NameFilters(c.Filter), c.Expected) << c.Filter.toStdString();
}

TEST_F(DialogsTest, DefaultExtensionOnlyForNamesWithoutOne)
{
    struct Case {
        const char* Name;
        const char* Ext;
        const char* Expected;
    };
    const Case cases[] = {
        {"C:\\Kladde\\schule", "kdbcfg", "C:\\Kladde\\schule.kdbcfg"},
        {"/home/k/schule", ".txt", "/home/k/schule.txt"},
        {"/home/k/schule.cfg", "kdbcfg", "/home/k/schule.cfg"},
        {"C:\\Daten.alt\\schule", "kdbcfg", "C:\\Daten.alt\\schule.kdbcfg"},
        {"/home/k/schule", "", "/home/k/schule"},
        {"", "kdbcfg", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TDialogs::ApplyDefaultExt(QString::fromUtf8(c.Name), QString::fromUtf8(c.Ext)),
                  QString::fromUtf8(c.Expected))
            << c.Name;
}

TEST_F(DialogsTest, MessageBoxesHaveGermanButtonsIconAndCaption)
{
    struct Case {
        TMsgDlgType Type;
        TMsgDlgButtons Buttons;
        QMessageBox::Icon Icon;
        QString Caption;
        QStringList Texts;
        QString Default;
        QString Escape;
    };
    const Case cases[] = {
        {mtError, mbOK, QMessageBox::Critical, QStringLiteral("Fehler"), {QStringLiteral("OK")}, QStringLiteral("OK"),
         QStringLiteral("OK")},
        {mtConfirmation, mbYes | mbNo, QMessageBox::Question, QStringLiteral("Bestätigen"),
         {QStringLiteral("Ja"), QStringLiteral("Nein")}, QStringLiteral("Ja"), QStringLiteral("Nein")},
        {mtWarning, mbOK | mbCancel, QMessageBox::Warning, QStringLiteral("Warnung"),
         {QStringLiteral("Abbrechen"), QStringLiteral("OK")}, QStringLiteral("OK"), QStringLiteral("Abbrechen")},
        {mtInformation, mbCancel | mbNo | mbYes, QMessageBox::Information, QStringLiteral("Information"),
         {QStringLiteral("Abbrechen"), QStringLiteral("Ja"), QStringLiteral("Nein")}, QStringLiteral("Ja"),
         QStringLiteral("Abbrechen")},
    };
    for (const Case& c : cases) {
        const auto box = TDialogs::CreateMessageBox(QStringLiteral("Text"), c.Type, c.Buttons);
        EXPECT_EQ(box->icon(), c.Icon);
        EXPECT_EQ(box->windowTitle(), c.Caption);
        EXPECT_EQ(box->text(), QStringLiteral("Text"));
        EXPECT_EQ(ButtonTexts(*box), c.Texts) << c.Caption.toStdString();
        ASSERT_TRUE(box->defaultButton() && box->escapeButton());
        EXPECT_EQ(box->defaultButton()->text(), c.Default);
        EXPECT_EQ(box->escapeButton()->text(), c.Escape);
    }
    const auto box = TDialogs::CreateMessageBox(QString(), mtConfirmation, mbYes | mbNo | mbOK | mbCancel);
    QMap<QString, int> results;
    for (QAbstractButton* button : box->buttons())
        results[button->text()] = button->property("modalResult").toInt();
    EXPECT_EQ(results, (QMap<QString, int>{{QStringLiteral("Ja"), mrYes},
                                           {QStringLiteral("Nein"), mrNo},
                                           {QStringLiteral("OK"), mrOk},
                                           {QStringLiteral("Abbrechen"), mrCancel}}));
}

TEST_F(DialogsTest, FileDialogIsConfiguredFromTheOptions)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char* name : {"a.mdb", "b.accdb", "c.txt"}) {
        QFile file(dir.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TFileDialogOptions options;
    options.Title = QStringLiteral("Datei wählen");
    options.Filter = QStringLiteral("Access-Datenbanken (*.mdb, *.accdb)|*.mdb;*.accdb|Alle Dateien|*.*");
    options.InitialDir = dir.path();
    options.FileName = QStringLiteral("b.accdb");
    options.DefaultExt = QStringLiteral("accdb");

    const auto open = TDialogs::CreateFileDialog(options, false);
    EXPECT_EQ(open->windowTitle(), options.Title);
    EXPECT_EQ(open->acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(open->fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(open->nameFilters(), TDialogs::NameFilters(options.Filter));
    // The description is shown as written, without Qt's copy of the patterns.
    EXPECT_EQ(open->selectedNameFilter(), QStringLiteral("Access-Datenbanken (*.mdb, *.accdb)"));
    EXPECT_EQ(open->defaultSuffix(), QStringLiteral("accdb"));
    EXPECT_EQ(QDir(open->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_TRUE(open->testOption(QFileDialog::HideNameFilterDetails));
    // Qt takes the patterns from the last bracket pair, not from the description's own.
    const auto* model = open->findChild<QFileSystemModel*>(QStringLiteral("qt_filesystem_model"));
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->nameFilters(), (QStringList{QStringLiteral("*.mdb"), QStringLiteral("*.accdb")}));

    options.OverwritePrompt = true;
    const auto save = TDialogs::CreateFileDialog(options, true);
    EXPECT_EQ(save->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_FALSE(save->testOption(QFileDialog::DontConfirmOverwrite));
    options.OverwritePrompt = false;
    EXPECT_TRUE(TDialogs::CreateFileDialog(options, true)->testOption(QFileDialog::DontConfirmOverwrite));

    options.FilterIndex = 2;
    EXPECT_EQ(TDialogs::CreateFileDialog(options, false)->selectedNameFilter(), QStringLiteral("Alle Dateien"));
}

TEST_F(DialogsTest, MessagesTakeTheScriptedAnswersAndAreLogged)
{
    TDialogs::SetNextAnswers({mrNo, mrOk});
    EXPECT_EQ(TDialogs::MessageDlg(QStringLiteral("Wirklich abbrechen?"), mtConfirmation, mbYes | mbNo), mrNo);
    EXPECT_EQ(TDialogs::MessageDlg(QStringLiteral("Fertig"), mtInformation, mbOK), mrOk);
    EXPECT_EQ(TDialogs::PendingAnswers(), 0);

    ASSERT_EQ(TDialogs::Log().size(), 2);
    const TShownDialog& first = TDialogs::Log()[0];
    EXPECT_EQ(first.Kind, dkMessage);
    EXPECT_EQ(first.Type, mtConfirmation);
    EXPECT_EQ(first.Text, QStringLiteral("Wirklich abbrechen?"));
    EXPECT_EQ(first.Buttons, mbYes | mbNo);
    EXPECT_EQ(first.Result, mrNo);
    EXPECT_TRUE(first.Scripted);
}

TEST_F(DialogsTest, UnscriptedOrUnfittingAnswersCancelAndAreMarked)
{
    EXPECT_EQ(TDialogs::MessageDlg(QStringLiteral("ohne Antwort"), mtError, mbOK), mrCancel);
    // An answer that is no button of the box is used up, not passed on to the next box.
    TDialogs::SetNextAnswers({mrYes});
    EXPECT_EQ(TDialogs::MessageDlg(QStringLiteral("nur OK"), mtError, mbOK), mrCancel);
    EXPECT_EQ(TDialogs::PendingAnswers(), 0);
    EXPECT_TRUE(TDialogs::OpenFileName(TFileDialogOptions()).isEmpty());
    QPrinter printer;
    EXPECT_FALSE(TDialogs::PrintDialog(printer));

    ASSERT_EQ(TDialogs::Log().size(), 4);
    for (const TShownDialog& shown : TDialogs::Log())
        EXPECT_FALSE(shown.Scripted) << shown.Kind;
    EXPECT_EQ(TDialogs::Log()[0].Result, mrCancel);
}

TEST_F(DialogsTest, FileDialogsTakeScriptedNamesWithDefaultExtension)
{
    TFileDialogOptions options;
    options.Filter = QStringLiteral("Kladde-Datenbank-Konfigurationsdateien (*.kdbcfg)|*.kdbcfg");
    options.DefaultExt = QStringLiteral("kdbcfg");
    options.InitialDir = QStringLiteral("/srv/kdbcfg/");
    options.FileName = QStringLiteral("alt.kdbcfg");
    options.OverwritePrompt = true;
    TDialogs::SetNextFileNames({QStringLiteral("/srv/kdbcfg/neu"), QString()});

    EXPECT_EQ(TDialogs::SaveFileName(options), QStringLiteral("/srv/kdbcfg/neu.kdbcfg"));
    EXPECT_EQ(TDialogs::OpenFileName(options), QString());

    ASSERT_EQ(TDialogs::Log().size(), 2);
    const TShownDialog& save = TDialogs::Log()[0];
    EXPECT_EQ(save.Kind, dkSaveFile);
    EXPECT_EQ(save.Options.Filter, options.Filter);
    EXPECT_EQ(save.Options.InitialDir, options.InitialDir);
    EXPECT_EQ(save.Options.FileName, options.FileName);
    EXPECT_TRUE(save.Options.OverwritePrompt);
    EXPECT_EQ(save.ChosenFileName, QStringLiteral("/srv/kdbcfg/neu.kdbcfg"));
    EXPECT_EQ(TDialogs::Log()[1].Kind, dkOpenFile);
    EXPECT_TRUE(TDialogs::Log()[1].Scripted);
}

TEST_F(DialogsTest, PrintDialogTakesScriptedAnswers)
{
    QPrinter printer;
    TDialogs::SetNextPrintAnswers({true, false});
    EXPECT_TRUE(TDialogs::PrintDialog(printer));
    EXPECT_FALSE(TDialogs::PrintDialog(printer));
    ASSERT_EQ(TDialogs::Log().size(), 2);
    EXPECT_EQ(TDialogs::Log()[0].Kind, dkPrint);
    EXPECT_TRUE(TDialogs::Log()[0].Confirmed);
    EXPECT_TRUE(TDialogs::Log()[1].Scripted);
}

TEST_F(DialogsTest, ResetEmptiesQueuesAndLog)
{
    TDialogs::SetNextAnswers({mrOk});
    TDialogs::SetNextFileNames({QStringLiteral("x")});
    TDialogs::SetNextPrintAnswers({true});
    TDialogs::MessageDlg(QStringLiteral("x"), mtError, mbOK);
    EXPECT_EQ(TDialogs::PendingAnswers(), 2);
    TDialogs::ResetTest();
    EXPECT_EQ(TDialogs::PendingAnswers(), 0);
    EXPECT_TRUE(TDialogs::Log().isEmpty());
}

TEST_F(DialogsTest, UnhandledErrorsShowTheirMessageInAnErrorBox)
{
    TDialogs::SetNextAnswers({mrOk, mrOk});
    TApplication::ShowException(EIniFileException(QStringLiteral("In /x/y.kdbcfg kann nicht geschrieben werden")));
    TApplication::ShowException(std::runtime_error("kaputt"));
    ASSERT_EQ(TDialogs::Log().size(), 2);
    EXPECT_EQ(TDialogs::Log()[0].Text, QStringLiteral("In /x/y.kdbcfg kann nicht geschrieben werden"));
    EXPECT_EQ(TDialogs::Log()[0].Type, mtError);
    EXPECT_EQ(TDialogs::Log()[0].Buttons, TMsgDlgButtons(mbOK));
    EXPECT_EQ(TDialogs::Log()[1].Text, QStringLiteral("kaputt"));
}
