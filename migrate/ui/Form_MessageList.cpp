#include "Form_MessageList.h"

#include "Exception.h"
#include "TPrintDialog.h"
#include "uTableList.h"
#include "unit_PrintStrings.h"

#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace {

constexpr int ClientWidth = 991;
constexpr int ClientHeight = 446;
constexpr int PanelHeight = 36;
constexpr int StatusBarHeight = 19;
constexpr float PrintMargin = 0.5f;
constexpr float PrintLinesPerInch = 5.0f;

TFrm_MessageList::TPrinterFactory& PrinterFactory()
{
    static TFrm_MessageList::TPrinterFactory factory;
    return factory;
}

template <typename T>
T* Named(T* Widget, const char* Name)
{
    Widget->setObjectName(QLatin1String(Name));
    return Widget;
}

QPushButton* Button(QWidget* Parent, const char* Name, const QString& Text, int X)
{
    auto* button = Named(new QPushButton(Text, Parent), Name);
    button->setGeometry(X, 5, 75, 25);
    button->setAutoDefault(false);
    return button;
}

// The extension of a file name with its dot, as the last component has it; empty without one.
// Both separators count, so that Windows names behave alike everywhere.
QString FileExtension(const QString& FileName)
{
    const qsizetype slash = std::max(FileName.lastIndexOf(QLatin1Char('/')), FileName.lastIndexOf(QLatin1Char('\\')));
    const qsizetype dot = FileName.lastIndexOf(QLatin1Char('.'));
    return dot > slash ? FileName.mid(dot) : QString();
}

} // namespace

TFrm_MessageList::TFrm_MessageList(QWidget* Parent) : QDialog(Parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Fehlerliste"));
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    resize(ClientWidth, ClientHeight);

    FSaveDialog.DefaultExt = QStringLiteral("txt");
    FSaveDialog.Filter = QStringLiteral("Text-Dateien|*.txt|Alle Dateien|*.*");

    CreateComponents();
    AlignControls();

    // The window works without printing; a printer that cannot be set up only hides the button.
    try {
        const TPrinterFactory& factory = PrinterFactory();
        FPrintDialog = std::make_unique<TPrintDialog>(factory ? factory() : nullptr);
    } catch (...) {
        FPrintDialog.reset();
        btnPrint->hide();
    }
}

TFrm_MessageList::~TFrm_MessageList() = default;

void TFrm_MessageList::CreateComponents()
{
    Panel1 = Named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::NoFrame);
    btnClose = Button(Panel1, "btnClose", QStringLiteral("Schließen"), 5);
    btnPrint = Button(Panel1, "btnPrint", QStringLiteral("Drucken"), 85);
    btnSave = Button(Panel1, "btnSave", QStringLiteral("Speichern"), 165);
    chbxZeilenumbruch = Named(new QCheckBox(QStringLiteral("Zeilenumbruch"), Panel1), "chbxZeilenumbruch");
    chbxZeilenumbruch->setGeometry(250, 10, 97, 17);

    StatusBar1 = Named(new QStatusBar(this), "StatusBar1");

    Memo = Named(new QPlainTextEdit(this), "Memo");
    Memo->setReadOnly(true);
    Memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Long words are broken at the edge when nothing else fits, as the system's text boxes do.
    Memo->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    setTabOrder(btnClose, btnPrint);
    setTabOrder(btnPrint, btnSave);
    setTabOrder(btnSave, chbxZeilenumbruch);
    setTabOrder(chbxZeilenumbruch, Memo);

    connect(btnClose, &QPushButton::clicked, this, &TFrm_MessageList::btnCloseClick);
    connect(btnPrint, &QPushButton::clicked, this, &TFrm_MessageList::btnPrintClick);
    connect(btnSave, &QPushButton::clicked, this, &TFrm_MessageList::btnSaveClick);
    connect(chbxZeilenumbruch, &QCheckBox::toggled, this, &TFrm_MessageList::chbxZeilenumbruchClick);
}

void TFrm_MessageList::AlignControls()
{
    Panel1->setGeometry(0, 0, width(), PanelHeight);
    StatusBar1->setGeometry(0, height() - StatusBarHeight, width(), StatusBarHeight);
    Memo->setGeometry(0, PanelHeight, width(), std::max(0, height() - PanelHeight - StatusBarHeight));
}

void TFrm_MessageList::resizeEvent(QResizeEvent* Event)
{
    QDialog::resizeEvent(Event);
    AlignControls();
}

void TFrm_MessageList::ShowLines(const QStringList& Lines, const QString& Caption)
{
    auto* window = new TFrm_MessageList();
    window->SetLines(Lines);
    window->setWindowTitle(Caption);
    window->exec();
}

QStringList TFrm_MessageList::Lines() const
{
    // Block by block: the plain-text form would turn no-break spaces into blanks.
    QStringList lines;
    const QTextDocument* document = Memo->document();
    if (document->isEmpty())
        return lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        lines << block.text();
    return lines;
}

void TFrm_MessageList::SetLines(const QStringList& Lines)
{
    Memo->setPlainText(Lines.join(QLatin1Char('\n')));
    FEncoding = teAnsi;
}

QStringList TFrm_MessageList::DisplayedLines() const
{
    if (Memo->lineWrapMode() == QPlainTextEdit::NoWrap)
        return Lines();
    const QTextDocument* document = Memo->document();
    QStringList result;
    if (document->isEmpty())
        return result;
    // Blocks outside the visible part are laid out only on demand.
    const auto* layout = qobject_cast<const QPlainTextDocumentLayout*>(document->documentLayout());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (layout)
            layout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* lines = block.layout();
        if (!lines || lines->lineCount() == 0) {
            result << text;
            continue;
        }
        for (int i = 0; i < lines->lineCount(); ++i) {
            const QTextLine line = lines->lineAt(i);
            result << text.mid(line.textStart(), line.textLength());
        }
    }
    return result;
}

void TFrm_MessageList::SetFilename(const QString& Value)
{
    FFilename = Value;
    QFile file(Value);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(Value, file.errorString()));
    const QByteArray bytes = file.readAll();
    Memo->setPlainText(SplitTextLines(DecodeTextFile(bytes)).join(QLatin1Char('\n')));
    FEncoding = DetectTextEncoding(bytes);
}

void TFrm_MessageList::SetAllowEdit(bool Value)
{
    if (!Value)
        return;
    btnPrint->hide();
    btnSave->hide();
    Memo->setReadOnly(false);
    chbxZeilenumbruch->move(btnPrint->x(), chbxZeilenumbruch->y());
}

TFrm_MessageList::TPrinterFactory TFrm_MessageList::SetPrinterFactory(TPrinterFactory Factory)
{
    return std::exchange(PrinterFactory(), std::move(Factory));
}

void TFrm_MessageList::btnCloseClick()
{
    accept();
}

void TFrm_MessageList::btnPrintClick()
{
    if (!FPrintDialog || !FPrintDialog->Execute(this))
        return;
    const QFont font = Memo->font();
    PrintString(FPrintDialog->Printer(), DisplayedLines(), &font, false, PrintMargin, PrintMargin, PrintMargin,
                PrintMargin, PrintLinesPerInch);
}

void TFrm_MessageList::btnSaveClick()
{
    if (!FFilename.isEmpty()) {
        FSaveDialog.FileName = FFilename;
        const QString ext = FileExtension(FFilename);
        FSaveDialog.Filter = QStringLiteral("*%1|*%1").arg(ext);
    }
    const QString chosen = TDialogs::SaveFileName(FSaveDialog, this);
    if (chosen.isEmpty())
        return;
    FSaveDialog.FileName = chosen;
    WriteFile(chosen);
    FFilename = chosen;
}

void TFrm_MessageList::WriteFile(const QString& FileName) const
{
    QFile file(FileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, file.errorString()));
    const QByteArray bytes = EncodeTextLines(Lines(), FEncoding);
    if (file.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Cannot write file \"%1\". %2").arg(FileName, file.errorString()));
}

void TFrm_MessageList::chbxZeilenumbruchClick()
{
    const bool wrap = chbxZeilenumbruch->isChecked();
    Memo->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    Memo->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}
