#include "TDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <iterator>

namespace {

struct TTestState {
    bool TestMode = false;
    QList<TModalResult> Answers;
    QStringList FileNames;
    QList<bool> PrintAnswers;
    QList<TShownDialog> Log;
};

TTestState& State()
{
    static TTestState state;
    return state;
}

struct TButtonInfo {
    TMsgDlgBtn Button;
    TModalResult Result;
    QMessageBox::ButtonRole Role;
};

const TButtonInfo ButtonInfos[] = {
    {mbYes, mrYes, QMessageBox::YesRole},         {mbNo, mrNo, QMessageBox::NoRole},
    {mbOK, mrOk, QMessageBox::AcceptRole},        {mbCancel, mrCancel, QMessageBox::RejectRole},
    {mbAbort, mrAbort, QMessageBox::RejectRole},  {mbRetry, mrRetry, QMessageBox::AcceptRole},
    {mbIgnore, mrIgnore, QMessageBox::AcceptRole}, {mbClose, mrClose, QMessageBox::RejectRole},
};

bool ResultFitsButtons(TModalResult Result, TMsgDlgButtons Buttons)
{
    for (const TButtonInfo& info : ButtonInfos)
        if (info.Result == Result && Buttons.testFlag(info.Button))
            return true;
    return false;
}

QMessageBox::Icon IconOf(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning:
        return QMessageBox::Warning;
    case mtError:
        return QMessageBox::Critical;
    case mtInformation:
        return QMessageBox::Information;
    case mtConfirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

void WarnUnscripted(const char* What, const QString& Detail)
{
    qWarning("TDialogs (test mode): %s, treated as cancelled: %s", What, qPrintable(Detail));
}

QString FileDialogInTestMode(TDialogKind Kind, const TFileDialogOptions& Options)
{
    TTestState& state = State();
    TShownDialog shown;
    shown.Kind = Kind;
    shown.Options = Options;
    if (state.FileNames.isEmpty()) {
        shown.Scripted = false;
        WarnUnscripted(Kind == dkOpenFile ? "open dialog without scripted file name"
                                          : "save dialog without scripted file name",
                       Options.Filter);
    } else {
        const QString name = state.FileNames.takeFirst();
        shown.ChosenFileName = name.isEmpty() ? QString() : TDialogs::ApplyDefaultExt(name, Options.DefaultExt);
    }
    state.Log.append(shown);
    return shown.ChosenFileName;
}

QString RunFileDialog(TDialogKind Kind, const TFileDialogOptions& Options, QWidget* Parent)
{
    if (TDialogs::TestMode())
        return FileDialogInTestMode(Kind, Options);
    std::unique_ptr<QFileDialog> dialog = TDialogs::CreateFileDialog(Options, Kind == dkSaveFile, Parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return QString();
    return QDir::toNativeSeparators(TDialogs::ApplyDefaultExt(dialog->selectedFiles().first(), Options.DefaultExt));
}

} // namespace

TModalResult TDialogs::MessageDlg(const QString& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons, QWidget* Parent)
{
    if (TestMode()) {
        TTestState& state = State();
        TShownDialog shown;
        shown.Kind = dkMessage;
        shown.Type = Type;
        shown.Text = Msg;
        shown.Buttons = Buttons;
        const TModalResult answer = state.Answers.isEmpty() ? mrNone : state.Answers.takeFirst();
        if (ResultFitsButtons(answer, Buttons)) {
            shown.Result = answer;
        } else {
            shown.Result = mrCancel;
            shown.Scripted = false;
            WarnUnscripted(answer == mrNone ? "message box without scripted answer"
                                           : "message box answered with a button it does not have",
                           Msg);
        }
        state.Log.append(shown);
        return shown.Result;
    }
    std::unique_ptr<QMessageBox> box = CreateMessageBox(Msg, Type, Buttons, Parent);
    box->exec();
    if (QAbstractButton* clicked = box->clickedButton())
        return TModalResult(clicked->property("modalResult").toInt());
    return mrCancel;
}

QString TDialogs::OpenFileName(const TFileDialogOptions& Options, QWidget* Parent)
{
    return RunFileDialog(dkOpenFile, Options, Parent);
}

QString TDialogs::SaveFileName(const TFileDialogOptions& Options, QWidget* Parent)
{
    return RunFileDialog(dkSaveFile, Options, Parent);
}

bool TDialogs::PrintDialog(QPrinter& Printer, QWidget* Parent)
{
    if (TestMode()) {
        TTestState& state = State();
        TShownDialog shown;
        shown.Kind = dkPrint;
        if (state.PrintAnswers.isEmpty()) {
            shown.Scripted = false;
            WarnUnscripted("print dialog without scripted answer", Printer.printerName());
        } else {
            shown.Confirmed = state.PrintAnswers.takeFirst();
        }
        state.Log.append(shown);
        return shown.Confirmed;
    }
    QPrintDialog dialog(&Printer, Parent);
    return dialog.exec() == QDialog::Accepted;
}

QStringList TDialogs::NameFilters(const QString& Filter)
{
    QStringList result;
    if (Filter.isEmpty())
        return result;
    const QStringList parts = Filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QStringList patterns;
        if (i + 1 < parts.size())
            for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts))
                patterns << pattern.trimmed();
        if (patterns.isEmpty())
            patterns << QStringLiteral("*");
        // Qt reads the patterns from the last bracket pair, which also lets a description that
        // names its patterns in its own way (commas, blanks) be shown as written.
        result << (description.isEmpty() ? QString() : description + QLatin1Char(' ')) + QLatin1Char('(') +
                      patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return result;
}

QString TDialogs::ApplyDefaultExt(const QString& FileName, const QString& DefaultExt)
{
    if (FileName.isEmpty() || DefaultExt.isEmpty())
        return FileName;
    const qsizetype slash = std::max(FileName.lastIndexOf(QLatin1Char('/')), FileName.lastIndexOf(QLatin1Char('\\')));
    const QString last = FileName.mid(slash + 1);
    if (last.isEmpty() || last.contains(QLatin1Char('.')))
        return FileName;
    QString ext = DefaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    return FileName + QLatin1Char('.') + ext;
}

QString TDialogs::ButtonText(TMsgDlgBtn Button)
{
    switch (Button) {
    case mbYes:
        return QStringLiteral("Ja");
    case mbNo:
        return QStringLiteral("Nein");
    case mbOK:
        return QStringLiteral("OK");
    case mbCancel:
        return QStringLiteral("Abbrechen");
    case mbAbort:
        return QStringLiteral("Abbrechen");
    case mbRetry:
        return QStringLiteral("Wiederholen");
    case mbIgnore:
        return QStringLiteral("Ignorieren");
    case mbClose:
        return QStringLiteral("Schließen");
    }
    return QString();
}

QString TDialogs::Caption(TMsgDlgType Type)
{
    switch (Type) {
    case mtWarning:
        return QStringLiteral("Warnung");
    case mtError:
        return QStringLiteral("Fehler");
    case mtInformation:
        return QStringLiteral("Information");
    case mtConfirmation:
        return QStringLiteral("Bestätigen");
    }
    return QString();
}

std::unique_ptr<QMessageBox> TDialogs::CreateMessageBox(const QString& Msg, TMsgDlgType Type, TMsgDlgButtons Buttons,
                                                        QWidget* Parent)
{
    auto box = std::make_unique<QMessageBox>(IconOf(Type), Caption(Type), Msg, QMessageBox::NoButton, Parent);
    QPushButton* first = nullptr;
    QPushButton* byButton[std::size(ButtonInfos)] = {};
    for (const TButtonInfo& info : ButtonInfos) {
        if (!Buttons.testFlag(info.Button))
            continue;
        QPushButton* button = box->addButton(ButtonText(info.Button), info.Role);
        button->setProperty("modalResult", int(info.Result));
        byButton[&info - ButtonInfos] = button;
        if (!first)
            first = button;
    }
    const auto buttonOf = [&](TMsgDlgBtn Button) {
        for (const TButtonInfo& info : ButtonInfos)
            if (info.Button == Button)
                return byButton[&info - ButtonInfos];
        return static_cast<QPushButton*>(nullptr);
    };
    if (QPushButton* def = buttonOf(mbOK) ? buttonOf(mbOK) : buttonOf(mbYes) ? buttonOf(mbYes) : first)
        box->setDefaultButton(def);
    // Escape answers Cancel, else No, else OK: the answer that changes nothing.
    if (QPushButton* escape = buttonOf(mbCancel) ? buttonOf(mbCancel) : buttonOf(mbNo) ? buttonOf(mbNo) : buttonOf(mbOK))
        box->setEscapeButton(escape);
    return box;
}

std::unique_ptr<QFileDialog> TDialogs::CreateFileDialog(const TFileDialogOptions& Options, bool Save, QWidget* Parent)
{
    auto dialog = std::make_unique<QFileDialog>(Parent);
    if (!Options.Title.isEmpty())
        dialog->setWindowTitle(Options.Title);
    dialog->setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(Save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // The descriptions already name their patterns; Qt would show them a second time.
    dialog->setOption(QFileDialog::HideNameFilterDetails, true);
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !(Save && Options.OverwritePrompt));
    const QStringList filters = NameFilters(Options.Filter);
    if (!filters.isEmpty()) {
        dialog->setNameFilters(filters);
        dialog->selectNameFilter(filters.value(std::clamp(Options.FilterIndex, 1, int(filters.size())) - 1));
    }
    QString ext = Options.DefaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog->setDefaultSuffix(ext);
    if (!Options.InitialDir.isEmpty())
        dialog->setDirectory(Options.InitialDir);
    // A proposed name with a folder opens that folder, as the system dialogs do.
    if (!Options.FileName.isEmpty())
        dialog->selectFile(Options.FileName);
    return dialog;
}

void TDialogs::SetTestMode(bool On)
{
    State().TestMode = On;
}

bool TDialogs::TestMode()
{
    if (State().TestMode)
        return true;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

void TDialogs::SetNextAnswers(const QList<TModalResult>& Answers)
{
    State().Answers = Answers;
}

void TDialogs::SetNextFileNames(const QStringList& FileNames)
{
    State().FileNames = FileNames;
}

void TDialogs::SetNextPrintAnswers(const QList<bool>& Answers)
{
    State().PrintAnswers = Answers;
}

int TDialogs::PendingAnswers()
{
    const TTestState& state = State();
    return int(state.Answers.size() + state.FileNames.size() + state.PrintAnswers.size());
}

const QList<TShownDialog>& TDialogs::Log()
{
    return State().Log;
}

void TDialogs::ResetTest()
{
    TTestState& state = State();
    state.Answers.clear();
    state.FileNames.clear();
    state.PrintAnswers.clear();
    state.Log.clear();
}
