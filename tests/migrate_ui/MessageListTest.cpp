// The error-list window: layout, saving, wrapping, printing and the modal viewer.

#include "Exception.h"
#include "Form_MessageList.h"
#include "PdfPrinter.h"
#include "ScratchDir.h"
#include "TDialogs.h"
#include "TPrintDialog.h"
#include "Win1252.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

QByteArray ReadFile(const QString& FileName)
{
    QFile file(FileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteBytes(const QString& FileName, const QByteArray& Bytes)
{
    QFile file(FileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(Bytes);
}

class MessageListTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TDialogs::SetTestMode(true);
        TDialogs::ResetTest();
    }

    void TearDown() override
    {
        TFrm_MessageList::SetPrinterFactory({});
        TDialogs::ResetTest();
    }

    // A window that is not deleted behind the test's back: the test closes it.
    TFrm_MessageList* NewWindow()
    {
        FWindow = new TFrm_MessageList();
        FWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        FOwned.reset(FWindow);
        return FWindow;
    }

    template <typename T>
    T* Find(const char* Name)
    {
        return FWindow->findChild<T*>(QLatin1String(Name));
    }

    TFrm_MessageList* FWindow = nullptr;
    std::unique_ptr<TFrm_MessageList> FOwned;
};

// Long lines of words, each far wider than the window.
QStringList LongLines(int Count)
{
    QStringList lines;
    for (int i = 1; i <= Count; ++i)
        lines << QStringLiteral("Zeile %1:").arg(i) + QStringLiteral(" Fehler beim Einfügen in Schueler").repeated(12);
    return lines;
}

} // namespace

TEST_F(MessageListTest, WindowAndControlsAsDesigned)
{
    TFrm_MessageList* w = NewWindow();
    w->show();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Fehlerliste"));
    EXPECT_EQ(w->size(), QSize(991, 446));
    EXPECT_EQ(w->font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(w->font().pointSize(), 8);
    EXPECT_EQ(w->parent(), nullptr);
    EXPECT_TRUE(TFrm_MessageList().testAttribute(Qt::WA_DeleteOnClose));

    struct Control {
        const char* Name;
        const char* Text;
        QRect Geometry;
    };
    const Control controls[] = {
        {"btnClose", "Schließen", {5, 5, 75, 25}},
        {"btnPrint", "Drucken", {85, 5, 75, 25}},
        {"btnSave", "Speichern", {165, 5, 75, 25}},
        {"chbxZeilenumbruch", "Zeilenumbruch", {250, 10, 97, 17}},
    };
    const QWidget* panel = Find<QWidget>("Panel1");
    ASSERT_NE(panel, nullptr);
    for (const Control& c : controls) {
        const auto* button = Find<QAbstractButton>(c.Name);
        ASSERT_NE(button, nullptr) << c.Name;
        EXPECT_EQ(button->parentWidget(), panel) << c.Name;
        EXPECT_EQ(button->text(), QString::fromUtf8(c.Text)) << c.Name;
        EXPECT_EQ(button->geometry(), c.Geometry) << c.Name;
        EXPECT_TRUE(button->isVisible()) << c.Name;
    }
    EXPECT_FALSE(Find<QCheckBox>("chbxZeilenumbruch")->isChecked());

    // Panel on top, status bar at the bottom, the text box in between.
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 991, 36));
    const auto* status = Find<QStatusBar>("StatusBar1");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->geometry(), QRect(0, 446 - 19, 991, 19));
    EXPECT_TRUE(status->currentMessage().isEmpty());
    const auto* memo = Find<QPlainTextEdit>("Memo");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->geometry(), QRect(0, 36, 991, 446 - 36 - 19));
    EXPECT_TRUE(memo->isReadOnly());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    QWidget* order[] = {Find<QWidget>("btnClose"), Find<QWidget>("btnPrint"), Find<QWidget>("btnSave"),
                        Find<QWidget>("chbxZeilenumbruch"), Find<QWidget>("Memo")};
    for (size_t i = 1; i < std::size(order); ++i) {
        QWidget* next = order[i - 1]->nextInFocusChain();
        while (next->focusPolicy() == Qt::NoFocus)
            next = next->nextInFocusChain();
        EXPECT_EQ(next, order[i]) << order[i]->objectName().toStdString();
    }

    EXPECT_EQ(w->SaveDialog().Filter, QStringLiteral("Text-Dateien|*.txt|Alle Dateien|*.*"));
    EXPECT_EQ(w->SaveDialog().DefaultExt, QStringLiteral("txt"));
    EXPECT_TRUE(w->Filename().isEmpty());
    EXPECT_NE(w->PrintDialog(), nullptr);
}

TEST_F(MessageListTest, AllowEditHidesPrintAndSaveAndUnlocksTheText)
{
    TFrm_MessageList* w = NewWindow();
    w->show();
    w->SetAllowEdit(false);
    EXPECT_TRUE(Find<QWidget>("btnPrint")->isVisible());
    EXPECT_TRUE(Find<QPlainTextEdit>("Memo")->isReadOnly());

    w->SetAllowEdit(true);
    EXPECT_FALSE(Find<QWidget>("btnPrint")->isVisible());
    EXPECT_FALSE(Find<QWidget>("btnSave")->isVisible());
    EXPECT_TRUE(Find<QWidget>("btnClose")->isVisible());
    EXPECT_FALSE(Find<QPlainTextEdit>("Memo")->isReadOnly());
    EXPECT_EQ(Find<QWidget>("chbxZeilenumbruch")->pos(), QPoint(85, 10));
}

TEST_F(MessageListTest, SavesAssignedLinesInWindows1252WithCrLf)
{
    const QString dir = ScratchDir();
    TFrm_MessageList* w = NewWindow();
    const QStringList lines = {QStringLiteral("Schüler Müller (ID 17): Fehler – Wert „ß“ zu lang €"), QString(),
                               QStringLiteral("Nr.\u00A012 (geschütztes Leerzeichen)"), QStringLiteral("Ende")};
    w->SetLines(lines);
    // Wrapping on screen adds no line breaks to the file.
    w->show();
    Find<QCheckBox>("chbxZeilenumbruch")->setChecked(true);
    TDialogs::SetNextFileNames({dir + QStringLiteral("/fehler")});

    QTest::mouseClick(Find<QPushButton>("btnSave"), Qt::LeftButton);

    const QString saved = dir + QStringLiteral("/fehler.txt");
    EXPECT_EQ(ReadFile(saved), EncodeWin1252(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
    EXPECT_FALSE(ReadFile(saved).startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(w->Filename(), saved);
    ASSERT_EQ(TDialogs::Log().size(), 1);
    const TFileDialogOptions& shown = TDialogs::Log()[0].Options;
    EXPECT_EQ(TDialogs::Log()[0].Kind, dkSaveFile);
    EXPECT_EQ(shown.Filter, QStringLiteral("Text-Dateien|*.txt|Alle Dateien|*.*"));
    EXPECT_TRUE(shown.FileName.isEmpty());
    EXPECT_EQ(shown.DefaultExt, QStringLiteral("txt"));
}

TEST_F(MessageListTest, SecondSaveProposesTheFileAndOffersOnlyItsExtension)
{
    const QString dir = ScratchDir();
    TFrm_MessageList* w = NewWindow();
    w->SetLines({QStringLiteral("eins"), QStringLiteral("zwei")});
    TDialogs::SetNextFileNames({dir + QStringLiteral("/erste.txt"), dir + QStringLiteral("/zweite.txt")});

    w->btnSaveClick();
    w->SetLines({QStringLiteral("drei")});
    w->btnSaveClick();

    ASSERT_EQ(TDialogs::Log().size(), 2);
    EXPECT_EQ(TDialogs::Log()[1].Options.FileName, dir + QStringLiteral("/erste.txt"));
    EXPECT_EQ(TDialogs::Log()[1].Options.Filter, QStringLiteral("*.txt|*.txt"));
    EXPECT_EQ(ReadFile(dir + QStringLiteral("/erste.txt")), QByteArray("eins\r\nzwei\r\n"));
    EXPECT_EQ(ReadFile(dir + QStringLiteral("/zweite.txt")), QByteArray("drei\r\n"));
    EXPECT_EQ(w->Filename(), dir + QStringLiteral("/zweite.txt"));
}

TEST_F(MessageListTest, CancelledSaveWritesNothing)
{
    TFrm_MessageList* w = NewWindow();
    w->SetLines({QStringLiteral("eins")});
    TDialogs::SetNextFileNames({QString()});

    w->btnSaveClick();

    EXPECT_TRUE(w->Filename().isEmpty());
    EXPECT_TRUE(QDir(ScratchDir()).isEmpty());
    ASSERT_EQ(TDialogs::Log().size(), 1);
    EXPECT_EQ(TDialogs::PendingAnswers(), 0);
}

TEST_F(MessageListTest, FailedWriteRaisesAndKeepsTheWindow)
{
    TFrm_MessageList* w = NewWindow();
    w->SetLines({QStringLiteral("eins")});
    const QString target = ScratchDir() + QStringLiteral("/fehlt/liste.txt");
    TDialogs::SetNextFileNames({target});

    try {
        w->btnSaveClick();
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(target)) << e.Message().toStdString();
    }
    EXPECT_TRUE(w->Filename().isEmpty());
}

TEST_F(MessageListTest, LoadedFilesAreSavedInTheirOwnEncoding)
{
    const QString text = QStringLiteral("Schüler „Müller“ €\r\nzweite Zeile\r\n");
    QByteArray utf16le(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    QByteArray utf16be;
    for (QChar ch : text)
        utf16be.append(char(ch.unicode() >> 8)).append(char(ch.unicode() & 0xFF));
    struct {
        const char* Name;
        QByteArray Bytes;
    } const cases[] = {
        {"ansi.log", EncodeWin1252(text)},
        {"utf8.log", QByteArray("\xEF\xBB\xBF") + text.toUtf8()},
        {"utf16le.log", QByteArray("\xFF\xFE") + utf16le},
        {"utf16be.log", QByteArray("\xFE\xFF") + utf16be},
    };
    const QString dir = ScratchDir();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString source = dir + QLatin1Char('/') + QLatin1String(c.Name);
        WriteBytes(source, c.Bytes);
        TFrm_MessageList* w = NewWindow();
        w->SetFilename(source);
        EXPECT_EQ(w->Filename(), source);
        EXPECT_EQ(w->Lines(), QStringList({QStringLiteral("Schüler „Müller“ €"), QStringLiteral("zweite Zeile")}));

        const QString copy = source + QStringLiteral(".kopie.log");
        TDialogs::ResetTest();
        TDialogs::SetNextFileNames({copy});
        w->btnSaveClick();
        EXPECT_EQ(ReadFile(copy), c.Bytes);
        // The loaded file's extension is the only filter offered.
        ASSERT_EQ(TDialogs::Log().size(), 1);
        EXPECT_EQ(TDialogs::Log()[0].Options.Filter, QStringLiteral("*.log|*.log"));
        EXPECT_EQ(TDialogs::Log()[0].Options.FileName, source);
    }
}

TEST_F(MessageListTest, LoadingEndsEveryLineWithCrLfOnSave)
{
    const QString dir = ScratchDir();
    WriteBytes(dir + QStringLiteral("/gemischt.txt"), QByteArray("eins\nzwei\rdrei\r\nvier"));
    TFrm_MessageList* w = NewWindow();
    w->SetFilename(dir + QStringLiteral("/gemischt.txt"));
    TDialogs::SetNextFileNames({dir + QStringLiteral("/neu.txt")});

    w->btnSaveClick();

    EXPECT_EQ(ReadFile(dir + QStringLiteral("/neu.txt")), QByteArray("eins\r\nzwei\r\ndrei\r\nvier\r\n"));
}

TEST_F(MessageListTest, LoadingAMissingFileRaisesAndKeepsTheName)
{
    TFrm_MessageList* w = NewWindow();
    w->SetLines({QStringLiteral("bleibt")});
    const QString missing = ScratchDir() + QStringLiteral("/fehlt.txt");
    EXPECT_THROW(w->SetFilename(missing), Exception);
    EXPECT_EQ(w->Filename(), missing);
    EXPECT_EQ(w->Lines(), QStringList({QStringLiteral("bleibt")}));
}

TEST_F(MessageListTest, WrappingSwitchesBetweenBothAndTheVerticalScrollBar)
{
    TFrm_MessageList* w = NewWindow();
    const QStringList lines = LongLines(3);
    w->SetLines(lines);
    w->show();
    auto* memo = Find<QPlainTextEdit>("Memo");
    auto* check = Find<QCheckBox>("chbxZeilenumbruch");
    EXPECT_TRUE(memo->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(memo->verticalScrollBar()->isVisible());
    EXPECT_GT(memo->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(w->DisplayedLines(), lines);

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    ASSERT_TRUE(check->isChecked());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_FALSE(memo->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(memo->verticalScrollBar()->isVisible());
    // Every long line is shown in pieces that fit the text box and together give the line.
    const QStringList shown = w->DisplayedLines();
    EXPECT_GT(shown.size(), 2 * lines.size());
    EXPECT_EQ(shown.join(QString()), lines.join(QString()));
    const QFontMetrics metrics(memo->font());
    for (const QString& piece : shown)
        EXPECT_LE(metrics.horizontalAdvance(piece.trimmed()), memo->viewport()->width()) << piece.toStdString();
    EXPECT_EQ(w->Lines(), lines);

    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(5, check->height() / 2));
    ASSERT_FALSE(check->isChecked());
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(memo->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(memo->verticalScrollBar()->isVisible());
    EXPECT_EQ(w->DisplayedLines(), lines);
}

TEST_F(MessageListTest, PrintsTheDisplayedLinesThroughThePrintDialog)
{
    const QString dir = ScratchDir();
    int printerNo = 0;
    TFrm_MessageList::SetPrinterFactory(
        [&] { return CreatePdfPrinter(dir + QStringLiteral("/druck%1.pdf").arg(++printerNo)); });
    TFrm_MessageList* w = NewWindow();
    const QStringList lines = LongLines(40);
    w->SetLines(lines);
    w->show();
    // A4 at 1200 dpi, margins 0.5 in, 5 lines per inch: 53 lines of the window's font a page.
    const QString file = dir + QStringLiteral("/druck1.pdf");
    QPrinter& printer = w->PrintDialog()->Printer();
    const int textHeight =
        QFontMetrics(Find<QPlainTextEdit>("Memo")->font(), &printer).size(Qt::TextSingleLine, QStringLiteral("Äy")).height();
    const int perPage = (14033 - 1200 - textHeight) / 240 + 1;
    ASSERT_EQ(perPage, 53);

    // Unwrapped, the 40 lines are cut at the page edge and fit one page.
    TDialogs::SetNextPrintAnswers({true});
    QTest::mouseClick(Find<QPushButton>("btnPrint"), Qt::LeftButton);
    ASSERT_EQ(TDialogs::Log().size(), 1);
    EXPECT_EQ(TDialogs::Log()[0].Kind, dkPrint);
    EXPECT_EQ(PdfPageCount(file), 1);

    // Wrapped, every piece is a printed line of its own.
    QFile::remove(file);
    Find<QCheckBox>("chbxZeilenumbruch")->setChecked(true);
    const int pieces = int(w->DisplayedLines().size());
    // Also the lines scrolled out of view are broken: each is some three window widths long.
    ASSERT_GE(pieces, 2 * lines.size());
    ASSERT_GT(pieces, perPage);
    TDialogs::SetNextPrintAnswers({true});
    w->btnPrintClick();
    EXPECT_EQ(PdfPageCount(file), int(std::ceil(double(pieces) / perPage)));
}

TEST_F(MessageListTest, CancelledPrintDialogPrintsNothing)
{
    const QString file = ScratchDir() + QStringLiteral("/nie.pdf");
    TFrm_MessageList::SetPrinterFactory([&] { return CreatePdfPrinter(file); });
    TFrm_MessageList* w = NewWindow();
    w->SetLines({QStringLiteral("eins")});
    TDialogs::SetNextPrintAnswers({false});

    w->btnPrintClick();

    EXPECT_EQ(TDialogs::Log().size(), 1);
    EXPECT_FALSE(QFile::exists(file));
}

TEST_F(MessageListTest, NoPrintDialogHidesThePrintButton)
{
    TFrm_MessageList::SetPrinterFactory([]() -> std::unique_ptr<QPrinter> { throw std::runtime_error("kein Drucker"); });
    TFrm_MessageList* w = NewWindow();
    w->show();
    EXPECT_EQ(w->PrintDialog(), nullptr);
    EXPECT_FALSE(Find<QWidget>("btnPrint")->isVisible());
    EXPECT_TRUE(Find<QWidget>("btnSave")->isVisible());
    // Nothing to answer: no dialog is shown.
    w->btnPrintClick();
    EXPECT_TRUE(TDialogs::Log().isEmpty());
}

TEST_F(MessageListTest, ShowLinesShowsAModalWindowThatDeletesItselfOnClose)
{
    const struct {
        const char* Caption;
    } callers[] = {{"Migrations-Fehler"}, {"Transaktionsprotokoll"}};
    for (const auto& c : callers) {
        QPointer<TFrm_MessageList> seen;
        QString title;
        QStringList lines;
        bool wasModal = false;
        QTimer::singleShot(0, [&] {
            seen = qobject_cast<TFrm_MessageList*>(QApplication::activeModalWidget());
            wasModal = seen != nullptr;
            // Not modal: close it all the same, so that a failure cannot hang the test.
            for (QWidget* top : QApplication::topLevelWidgets())
                if (!seen && top->isVisible())
                    seen = qobject_cast<TFrm_MessageList*>(top);
            if (!seen)
                return;
            title = seen->windowTitle();
            lines = seen->Lines();
            seen->findChild<QPushButton*>(QStringLiteral("btnClose"))->click();
        });
        TFrm_MessageList::ShowLines({QStringLiteral("Fehler 1"), QStringLiteral("Fehler 2")}, QLatin1String(c.Caption));

        ASSERT_TRUE(wasModal) << c.Caption;
        EXPECT_EQ(title, QString::fromUtf8(c.Caption));
        EXPECT_EQ(lines, QStringList({QStringLiteral("Fehler 1"), QStringLiteral("Fehler 2")}));
        EXPECT_TRUE(seen.isNull()) << "window still alive after closing";
    }
}
