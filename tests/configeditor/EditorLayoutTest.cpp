// The editor window's controls: names, places, texts, tab order and what each format shows.

#include "EditorWindow.h"
#include "TFilenameEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using EditorLayoutTest = EditorTest;

} // namespace

TEST_F(EditorLayoutTest, WindowAndControlsAsDesigned)
{
    TEditorWindow w;
    TForm1& form = w.Form();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Datenbankzugriff konfigurieren"));
    EXPECT_EQ(form.size(), QSize(427, 288));
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
    EXPECT_EQ(form.font().family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(form.font().pointSize(), 9);

    struct Place {
        const char* Name;
        const char* Parent;
        int X, Y, Width; // -1: not fixed
    };
    const Place places[] = {
        {"Label4", "pnlAcc", 0, 2, -1},          {"edDBFile", "pnlAcc", 0, 19, 411},
        {"chbxDirectSQLite", "pnlAcc", 0, 44, -1}, {"Label3", "pnlSQL", 5, 0, -1},
        {"edServer", "pnlSQL", 5, 15, 311},      {"Label6", "pnlSQL", 320, 0, -1},
        {"edPort", "pnlSQL", 320, 15, 91},       {"Label1", "pnlSQL", 5, 40, -1},
        {"edUser", "pnlSQL", 5, 55, 121},        {"Label2", "pnlSQL", 135, 40, -1},
        {"edPW", "pnlSQL", 135, 55, 121},        {"Label7", "pnlSQL", 5, 80, -1},
        {"edDatabase", "pnlSQL", 5, 95, 311},    {"lblSchema", "pnlSQL", 320, 80, -1},
        {"edSchema", "pnlSQL", 320, 95, 91},     {"chbxDirect", "pnlSQL", 5, 120, -1},
        {"btnConnect", "Panel1", 0, -1, 101},    {"btnOpen", "Panel1", 100, -1, 81},
        {"Button1", "Panel1", 180, -1, 96},      {"btnClose", "Panel1", 345, -1, 75},
        {"Label5", "pnlDBFmt", -1, -1, -1},      {"cbxDBFormat", "pnlDBFmt", -1, -1, -1},
        {"pnlDBFmt", "GroupBox1", -1, -1, -1},   {"pnlAcc", "GroupBox1", -1, -1, -1},
        {"pnlSQL", "GroupBox1", -1, -1, -1},     {"GroupBox1", "TForm1", -1, -1, -1},
        {"Panel1", "TForm1", -1, -1, -1},        {"lblCfgFile", "TForm1", -1, -1, -1},
    };
    for (const Place& p : places) {
        const QWidget* widget = w.Find<QWidget>(QLatin1String(p.Name));
        ASSERT_NE(widget, nullptr) << p.Name;
        const QWidget* parent = widget->parentWidget();
        EXPECT_TRUE(parent == &form ? QLatin1String(p.Parent) == QLatin1String("TForm1")
                                    : parent->objectName() == QLatin1String(p.Parent))
            << p.Name;
        if (p.X >= 0) {
            EXPECT_EQ(widget->x(), p.X) << p.Name;
        }
        if (p.Y >= 0) {
            EXPECT_EQ(widget->y(), p.Y) << p.Name;
        }
        if (p.Width >= 0) {
            EXPECT_EQ(widget->width(), p.Width) << p.Name;
        }
    }

    const QWidget* panel1 = w.Find<QWidget>(QStringLiteral("Panel1"));
    EXPECT_EQ(panel1->height(), 27);
    EXPECT_EQ(panel1->geometry().bottom(), form.height() - 1);
    EXPECT_EQ(w.Find<QWidget>(QStringLiteral("pnlDBFmt"))->height(), 45);
    // Both database panels fill the group box below the format panel, one on top of the other.
    const QRect acc = w.Find<QWidget>(QStringLiteral("pnlAcc"))->geometry();
    EXPECT_EQ(acc, w.Find<QWidget>(QStringLiteral("pnlSQL"))->geometry());
    EXPECT_EQ(acc.top(), w.Find<QWidget>(QStringLiteral("pnlDBFmt"))->geometry().bottom() + 1);
    // Every control lies inside its parent.
    for (const Place& p : places) {
        const QWidget* widget = w.Find<QWidget>(QLatin1String(p.Name));
        EXPECT_TRUE(widget->parentWidget()->rect().contains(widget->geometry())) << p.Name;
    }
}

TEST_F(EditorLayoutTest, Texts)
{
    TEditorWindow w;
    struct Case {
        const char* Name;
        const char* Text;
    };
    const Case labels[] = {
        {"Label5", "Datenbankformat"}, {"Label4", "Name der zugehörigen Datenbank-Datei"},
        {"Label3", "Server"},          {"Label6", "Port"},
        {"Label1", "Benutzername"},    {"Label2", "Kennwort"},
        {"Label7", "Datenbank"},       {"lblSchema", "Schema"},
    };
    for (const Case& c : labels)
        EXPECT_EQ(w.Find<QLabel>(QLatin1String(c.Name))->text(), QString::fromUtf8(c.Text)) << c.Name;
    const Case buttons[] = {
        {"btnConnect", "Verbindungstest"},
        {"btnOpen", "Datei öffnen"},
        {"Button1", "Datei speichern"},
        {"btnClose", "Schließen"},
        {"chbxDirectSQLite", "Direkten Zugriff verwenden (ohne Client-Installation)"},
        {"chbxDirect", "Direkten Zugriff verwenden (ohne Client-Installation)"},
    };
    for (const Case& c : buttons)
        EXPECT_EQ(w.Find<QAbstractButton>(QLatin1String(c.Name))->text(), QString::fromUtf8(c.Text)) << c.Name;
    EXPECT_EQ(w.Find<QGroupBox>(QStringLiteral("GroupBox1"))->title(), QStringLiteral("Zugriffsparameter"));

    QComboBox* formats = w.Formats();
    QStringList items;
    for (int i = 0; i < formats->count(); ++i)
        items << formats->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("MSACCESS"), QStringLiteral("MSSQL"), QStringLiteral("MARIADB"),
                                  QStringLiteral("MYSQL"), QStringLiteral("FIREBIRD"), QStringLiteral("SQLITE")}));
    EXPECT_FALSE(formats->isEditable());
    EXPECT_EQ(formats->currentIndex(), -1);
}

TEST_F(EditorLayoutTest, StartWithoutArgumentShowsNoPanel)
{
    TEditorWindow w;
    for (const char* name : {"lblCfgFile", "pnlAcc", "pnlSQL"})
        EXPECT_FALSE(w.Shown(QLatin1String(name))) << name;
    EXPECT_TRUE(w.Shown(QStringLiteral("cbxDBFormat")));
    EXPECT_TRUE(w.Shown(QStringLiteral("Panel1")));
    EXPECT_EQ(w.Text(QStringLiteral("edPort")), QStringLiteral("0"));
    EXPECT_EQ(w.Edit(QStringLiteral("edPW"))->echoMode(), QLineEdit::Password);
}

TEST_F(EditorLayoutTest, EachFormatShowsItsPanelAndControls)
{
    struct Case {
        const char* Format;
        bool FilePanel;
        bool DirectSQLite;
        bool Schema;
        const char* Filter;
    };
    const Case cases[] = {
        {"MSACCESS", true, false, false,
         "Access-Datenbanken (*.mdb, *.accdb)|*.mdb;*.accdb|Access 2007-Dateien (*.mdb)|*.mdb|Access 2010-Dateien "
         "(*.accdb)|*.accdb"},
        {"MSSQL", false, false, true, nullptr},
        {"MARIADB", false, false, false, nullptr},
        {"MYSQL", false, false, false, nullptr},
        {"FIREBIRD", false, false, false, nullptr},
        {"SQLITE", true, true, false, "SQLite-Dateien (*.sqlite,*.sdb)|*.sqlite;*.sdb"},
    };
    TEditorWindow w;
    // The hidden server check box is cleared whenever it is hidden, whatever set it before.
    w.Check(QStringLiteral("chbxDirect"))->setChecked(true);
    for (const Case& c : cases) {
        w.Choose(QLatin1String(c.Format));
        EXPECT_EQ(w.Shown(QStringLiteral("pnlAcc")), c.FilePanel) << c.Format;
        EXPECT_EQ(w.Shown(QStringLiteral("pnlSQL")), !c.FilePanel) << c.Format;
        EXPECT_EQ(w.Shown(QStringLiteral("chbxDirectSQLite")), c.DirectSQLite) << c.Format;
        EXPECT_EQ(w.Shown(QStringLiteral("lblSchema")), c.Schema) << c.Format;
        EXPECT_EQ(w.Shown(QStringLiteral("edSchema")), c.Schema) << c.Format;
        EXPECT_FALSE(w.Find<QWidget>(QStringLiteral("chbxDirect"))->isVisibleTo(&w.Form())) << c.Format;
        EXPECT_FALSE(w.Check(QStringLiteral("chbxDirect"))->isChecked()) << c.Format;
        if (c.Filter) {
            EXPECT_EQ(w.DBFile()->Filter(), QString::fromUtf8(c.Filter)) << c.Format;
        }
    }
}

TEST_F(EditorLayoutTest, KeyboardChoiceOfTheFormatSwitchesThePanel)
{
    TEditorWindow w;
    QTest::keyClick(w.Formats(), Qt::Key_Down);
    ASSERT_EQ(w.Formats()->currentText(), QStringLiteral("MSACCESS"));
    EXPECT_TRUE(w.Shown(QStringLiteral("pnlAcc")));
    QTest::keyClick(w.Formats(), Qt::Key_Down);
    ASSERT_EQ(w.Formats()->currentText(), QStringLiteral("MSSQL"));
    EXPECT_TRUE(w.Shown(QStringLiteral("pnlSQL")));
    EXPECT_TRUE(w.Shown(QStringLiteral("edSchema")));
}

TEST_F(EditorLayoutTest, TabOrder)
{
    TEditorWindow w;
    const QStringList expected = {QStringLiteral("edDBFile"),   QStringLiteral("chbxDirectSQLite"),
                                  QStringLiteral("edUser"),     QStringLiteral("edPW"),
                                  QStringLiteral("edServer"),   QStringLiteral("edPort"),
                                  QStringLiteral("edDatabase"), QStringLiteral("chbxDirect"),
                                  QStringLiteral("edSchema"),   QStringLiteral("cbxDBFormat"),
                                  QStringLiteral("Button1"),    QStringLiteral("btnConnect"),
                                  QStringLiteral("btnOpen"),    QStringLiteral("btnClose")};
    // The focus chain from the file name field on, each control named once (the file-name edit by
    // its inner line edit), until the chain comes back.
    QStringList chain;
    QWidget* start = w.DBFile()->Edit();
    QWidget* widget = start;
    do {
        if (widget->focusPolicy() & Qt::TabFocus) {
            const QString name = widget == start ? QStringLiteral("edDBFile") : widget->objectName();
            if (expected.contains(name) && !chain.contains(name))
                chain << name;
        }
        widget = widget->nextInFocusChain();
    } while (widget != start);
    EXPECT_EQ(chain, expected);
}

TEST_F(EditorLayoutTest, PortTakesDigitsOnly)
{
    TEditorWindow w;
    w.Choose(QStringLiteral("MYSQL"));
    w.Type(QStringLiteral("edPort"), QStringLiteral("33a06:"));
    EXPECT_EQ(w.Text(QStringLiteral("edPort")), QStringLiteral("3306"));
}

TEST_F(EditorLayoutTest, CloseButtonClosesTheWindow)
{
    TEditorWindow w;
    ASSERT_TRUE(w.Form().isVisible());
    w.Click(QStringLiteral("btnClose"));
    EXPECT_FALSE(w.Form().isVisible());
}
