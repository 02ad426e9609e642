#include "Form_PWCrypt.h"

#include "Exception.h"
#include "Platform.h"
#include "TFilenameEdit.h"
#include "TIniFile.h"
#include "TNumericEdit.h"
#include "uCrypt.h"
#include "uKladdePassword.h"
#include "utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

namespace {

const QString Section = QStringLiteral("Kladdeconnection");
const QString ConfigFileFilter = QStringLiteral("Kladde-Datenbank-Konfigurationsdateien (*.kdbcfg)|*.kdbcfg");
const QString ConfigFileExt = QStringLiteral("kdbcfg");
const QString AccessFilter = QStringLiteral("Access-Datenbanken (*.mdb, *.accdb)|*.mdb;*.accdb|Access 2007-Dateien "
                                            "(*.mdb)|*.mdb|Access 2010-Dateien (*.accdb)|*.accdb");
const QString SQLiteFilter = QStringLiteral("SQLite-Dateien (*.sqlite,*.sdb)|*.sqlite;*.sdb");
const QString DirectText = QStringLiteral("Direkten Zugriff verwenden (ohne Client-Installation)");

constexpr int ClientWidth = 427;
constexpr int ClientHeight = 288;
constexpr int FormatPanelHeight = 45;
constexpr int ButtonPanelHeight = 27;
constexpr int EditHeight = 22;
constexpr int ButtonHeight = 25;
constexpr int CheckBoxHeight = 17;

template <typename T>
T* Named(T* Widget, const char* Name)
{
    Widget->setObjectName(QLatin1String(Name));
    return Widget;
}

// A panel without border: only a container for its controls.
QFrame* Panel(QWidget* Parent, const char* Name)
{
    auto* panel = Named(new QFrame(Parent), Name);
    panel->setFrameShape(QFrame::NoFrame);
    return panel;
}

QLabel* Label(QWidget* Parent, const char* Name, const QString& Text, int X, int Y)
{
    auto* label = Named(new QLabel(Text, Parent), Name);
    label->move(X, Y);
    label->resize(label->sizeHint().width(), label->fontMetrics().height() + 1);
    return label;
}

template <typename T>
T* Edit(QWidget* Parent, const char* Name, int X, int Y, int Width)
{
    auto* edit = Named(new T(Parent), Name);
    edit->setGeometry(X, Y, Width, EditHeight);
    return edit;
}

QPushButton* Button(QWidget* Parent, const char* Name, const QString& Text, int X, int Width)
{
    auto* button = Named(new QPushButton(Text, Parent), Name);
    button->setGeometry(X, 1, Width, ButtonHeight);
    // Enter in a field must not press a button, as in the system's own dialogs without default.
    button->setAutoDefault(false);
    return button;
}

// StrToIntDef(Text, 0): a hand-written "$" or "0x" port reads as the connector reads it.
int PortNumber(const QString& Text)
{
    return ParseInteger(Text).value_or(0);
}

} // namespace

TForm1::TForm1(const QStringList& Args, QWidget* Parent) : QWidget(Parent, Qt::Dialog), FArgs(Args)
{
    setWindowTitle(QStringLiteral("Datenbankzugriff konfigurieren"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    QFont font(QStringLiteral("Tahoma"), 9);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    setFixedSize(ClientWidth, ClientHeight);

    // Design-time settings; every test sets all that its provider uses.
    Connection.SetProviderName(QStringLiteral("InterBase"));
    Connection.SpecificOptions().SetValue(QStringLiteral("InterBase.ClientLibrary"), QStringLiteral("fbclient.dll"));
    Connection.SetUsername(QStringLiteral("sysdba"));
    Connection.SetLoginPrompt(false);

    CreateComponents();
    SetTabOrder();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::CreateComponents()
{
    lblCfgFile = Named(new QLabel(this), "lblCfgFile");
    lblCfgFile->setContentsMargins(2, 0, 2, 0);

    GroupBox1 = Named(new QGroupBox(QStringLiteral("Zugriffsparameter"), this), "GroupBox1");

    pnlDBFmt = Panel(GroupBox1, "pnlDBFmt");
    Label5 = Label(pnlDBFmt, "Label5", QStringLiteral("Datenbankformat"), 5, 3);
    cbxDBFormat = Named(new QComboBox(pnlDBFmt), "cbxDBFormat");
    cbxDBFormat->setEditable(false);
    cbxDBFormat->setGeometry(5, 19, 145, EditHeight);
    connect(cbxDBFormat, &QComboBox::currentIndexChanged, this, &TForm1::cbxDBFormatChange);

    pnlAcc = Panel(GroupBox1, "pnlAcc");
    pnlAcc->hide();
    Label4 = Label(pnlAcc, "Label4", QStringLiteral("Name der zugehörigen Datenbank-Datei"), 0, 2);
    edDBFile = Edit<TFilenameEdit>(pnlAcc, "edDBFile", 0, 19, 411);
    chbxDirectSQLite = Named(new QCheckBox(DirectText, pnlAcc), "chbxDirectSQLite");
    chbxDirectSQLite->setGeometry(0, 44, 411, CheckBoxHeight);

    pnlSQL = Panel(GroupBox1, "pnlSQL");
    pnlSQL->hide();
    Label3 = Label(pnlSQL, "Label3", QStringLiteral("Server"), 5, 0);
    edServer = Edit<QLineEdit>(pnlSQL, "edServer", 5, 15, 311);
    Label6 = Label(pnlSQL, "Label6", QStringLiteral("Port"), 320, 0);
    edPort = Edit<TNumericEdit>(pnlSQL, "edPort", 320, 15, 91);
    edPort->setText(QStringLiteral("0"));
    Label1 = Label(pnlSQL, "Label1", QStringLiteral("Benutzername"), 5, 40);
    edUser = Edit<QLineEdit>(pnlSQL, "edUser", 5, 55, 121);
    Label2 = Label(pnlSQL, "Label2", QStringLiteral("Kennwort"), 135, 40);
    edPW = Edit<QLineEdit>(pnlSQL, "edPW", 135, 55, 121);
    edPW->setEchoMode(QLineEdit::Password);
    Label7 = Label(pnlSQL, "Label7", QStringLiteral("Datenbank"), 5, 80);
    edDatabase = Edit<QLineEdit>(pnlSQL, "edDatabase", 5, 95, 311);
    lblSchema = Label(pnlSQL, "lblSchema", QStringLiteral("Schema"), 320, 80);
    lblSchema->hide();
    edSchema = Edit<QLineEdit>(pnlSQL, "edSchema", 320, 95, 91);
    edSchema->hide();
    chbxDirect = Named(new QCheckBox(DirectText, pnlSQL), "chbxDirect");
    chbxDirect->setGeometry(5, 120, 406, CheckBoxHeight);

    Panel1 = Panel(this, "Panel1");
    btnConnect = Button(Panel1, "btnConnect", QStringLiteral("Verbindungstest"), 0, 101);
    btnOpen = Button(Panel1, "btnOpen", QStringLiteral("Datei öffnen"), 100, 81);
    Button1 = Button(Panel1, "Button1", QStringLiteral("Datei speichern"), 180, 96);
    btnClose = Button(Panel1, "btnClose", QStringLiteral("Schließen"), 345, 75);
    connect(btnConnect, &QPushButton::clicked, this, &TForm1::btnConnectClick);
    connect(btnOpen, &QPushButton::clicked, this, &TForm1::btnOpenClick);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(btnClose, &QPushButton::clicked, this, &TForm1::btnCloseClick);
}

void TForm1::SetTabOrder()
{
    // The group box before the buttons; in it the file panel, the server panel, the format panel.
    const QList<QWidget*> order = {edDBFile->Edit(), chbxDirectSQLite, edUser,  edPW,    edServer,
                                   edPort,           edDatabase,       chbxDirect, edSchema, cbxDBFormat,
                                   Button1,          btnConnect,       btnOpen, btnClose};
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void TForm1::AlignControls()
{
    const int top = lblCfgFile->isVisibleTo(this) ? lblCfgFile->fontMetrics().height() + 2 : 0;
    if (top > 0)
        lblCfgFile->setGeometry(0, 0, width(), top);
    Panel1->setGeometry(0, height() - ButtonPanelHeight, width(), ButtonPanelHeight);
    GroupBox1->setGeometry(0, top, width(), height() - ButtonPanelHeight - top);

    // The group box's client area: inside its frame, with a little air, and below its caption.
    const int innerLeft = 4;
    const int innerTop = GroupBox1->fontMetrics().height() + 3;
    const int innerWidth = GroupBox1->width() - 2 * innerLeft;
    const int innerHeight = GroupBox1->height() - innerTop - 2;
    pnlDBFmt->setGeometry(innerLeft, innerTop, innerWidth, FormatPanelHeight);
    // Both panels fill the rest and lie on top of each other; at most one is visible.
    const QRect below(innerLeft, innerTop + FormatPanelHeight, innerWidth, innerHeight - FormatPanelHeight);
    pnlAcc->setGeometry(below);
    pnlSQL->setGeometry(below);
}

void TForm1::resizeEvent(QResizeEvent* Event)
{
    QWidget::resizeEvent(Event);
    AlignControls();
}

void TForm1::showEvent(QShowEvent* Event)
{
    QWidget::showEvent(Event);
    if (FCentred)
        return;
    FCentred = true;
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TForm1::FormCreate()
{
    {
        const QSignalBlocker blocker(cbxDBFormat);
        cbxDBFormat->clear();
        cbxDBFormat->addItems({QStringLiteral("MSACCESS"), QStringLiteral("MSSQL"), QStringLiteral("MARIADB"),
                               QStringLiteral("MYSQL"), QStringLiteral("FIREBIRD"), QStringLiteral("SQLITE")});
        cbxDBFormat->setCurrentIndex(-1);
    }

    OpenDialog.Filter = ConfigFileFilter;
    OpenDialog.DefaultExt = ConfigFileExt;
    SaveDialog.Filter = ConfigFileFilter;
    SaveDialog.DefaultExt = ConfigFileExt;
    SaveDialog.OverwritePrompt = true;

    FConfigFile = FArgs.value(0);
    if (!FConfigFile.isEmpty()) {
        LoadConfigFile(FConfigFile);
        lblCfgFile->setText(FConfigFile);
        lblCfgFile->setToolTip(FConfigFile);
        lblCfgFile->setVisible(true);
    } else {
        lblCfgFile->setVisible(false);
    }
    AlignControls();
}

QString TForm1::ShownFormat() const
{
    return cbxDBFormat->currentText();
}

void TForm1::cbxDBFormatChange()
{
    const QString format = ShownFormat();
    const bool fileFormat = format == QLatin1String("MSACCESS") || format == QLatin1String("SQLITE");
    pnlAcc->setVisible(fileFormat);
    pnlSQL->setVisible(!fileFormat);

    // Only ORACLE connects directly among the server formats, and the list does not offer it;
    // a hidden box must not save a "1" nobody can see.
    chbxDirect->setVisible(format == QLatin1String("ORACLE"));
    if (!chbxDirect->isVisibleTo(pnlSQL))
        chbxDirect->setChecked(false);

    chbxDirectSQLite->setVisible(format == QLatin1String("SQLITE"));
    const bool mssql = format == QLatin1String("MSSQL");
    lblSchema->setVisible(mssql);
    edSchema->setVisible(mssql);

    if (fileFormat)
        edDBFile->SetFilter(format == QLatin1String("MSACCESS") ? AccessFilter : SQLiteFilter);
}

bool TForm1::CheckInput()
{
    const QString format = ShownFormat();
    QString message;
    if (format == QLatin1String("MSACCESS") || format == QLatin1String("SQLITE")) {
        if (edDBFile->Filename().isEmpty())
            message = QStringLiteral("Keine Datenbankdatei angegeben");
    } else if (format != QLatin1String("FIREBIRD") && edServer->text().isEmpty()) {
        message = QStringLiteral("Kein Datenbankserver angegeben");
    } else if (format != QLatin1String("ORACLE") && edDatabase->text().isEmpty()) {
        message = QStringLiteral("Keine Datenbank angegeben");
    }
    if (message.isEmpty())
        return true;
    TDialogs::MessageDlg(message, mtError, mbOK, this);
    return false;
}

void TForm1::btnConnectClick()
{
    if (CheckInput())
        TestConnection();
}

void TForm1::TestConnection()
{
    Connection.Disconnect();
    QString format = ShownFormat();
    if (format == QLatin1String("MARIADB"))
        format = QStringLiteral("MYSQL");

    if (format == QLatin1String("MSACCESS")) {
        const QString file = edDBFile->Filename();
        Connection.SetProviderName(QStringLiteral("Access"));
        Connection.SetDatabase(file);
        Connection.SetPort(0);
        Connection.SetUsername(QStringLiteral("Administrator"));
        const bool accdb = QFileInfo(file).suffix().compare(QLatin1String("accdb"), Qt::CaseInsensitive) == 0;
        Connection.SetPassword(accdb ? GetAccdbPassword() : GetMdbPassword());
        OpenAndReport();
        return;
    }

    if (format == QLatin1String("SQLITE")) {
        Connection.SetProviderName(QStringLiteral("SQLite"));
        Connection.SetDatabase(edDBFile->Filename());
        if (chbxDirectSQLite->isChecked()) {
            Connection.SpecificOptions().SetValue(QStringLiteral("SQLite.Direct"), QStringLiteral("True"));
            TestSQLiteEncrypted();
        } else {
            Connection.SpecificOptions().SetValue(QStringLiteral("SQLite.Direct"), QStringLiteral("False"));
            TestSQLitePlain();
        }
        return;
    }

    if (format == QLatin1String("MSSQL")) {
        Connection.SetProviderName(QStringLiteral("SQL Server"));
        Connection.SpecificOptions().SetValue(QStringLiteral("SQL Server.Provider"), QStringLiteral("prAuto"));
    } else if (format == QLatin1String("MYSQL")) {
        Connection.SetProviderName(QStringLiteral("MySQL"));
    } else if (format == QLatin1String("FIREBIRD")) {
        Connection.SetProviderName(QStringLiteral("InterBase"));
        Connection.SpecificOptions().SetValue(QStringLiteral("InterBase.ClientLibrary"),
                                              AppDir() + PathDelim + QStringLiteral("fbclient.dll"));
    }
    Connection.SetServer(edServer->text());
    Connection.SetDatabase(edDatabase->text());
    Connection.SetPort(PortNumber(edPort->text()));
    Connection.SetUsername(edUser->text());
    Connection.SetPassword(edPW->text());
    OpenAndReport();
}

void TForm1::OpenAndReport()
{
    try {
        Connection.Connect();
        TDialogs::MessageDlg(QStringLiteral("Verbindung erfolgreich hergestellt"), mtInformation, mbOK, this);
        Connection.Disconnect();
    } catch (const Exception& e) {
        TDialogs::MessageDlg(QStringLiteral("Fehler beim Verbindungsaufbau: ") + e.Message(), mtError, mbOK, this);
        Connection.Disconnect();
    }
}

void TForm1::TestSQLitePlain()
{
    Connection.SpecificOptions().SetValue(QStringLiteral("SQLite.EncryptionKey"), QString());
    OpenAndReport();
}

void TForm1::TestSQLiteEncrypted()
{
    Connection.SpecificOptions().SetValue(QStringLiteral("SQLite.EncryptionAlgorithm"), QStringLiteral("leBlowfish"));
    Connection.SpecificOptions().SetValue(QStringLiteral("SQLite.EncryptionKey"), GetAccdbPassword());
    try {
        Connection.Connect();
    } catch (const Exception&) {
        // A database without key answers the plain attempt; only its outcome is reported.
        Connection.Disconnect();
        TestSQLitePlain();
        return;
    }
    // The connection stays open; the next test closes it first.
    TDialogs::MessageDlg(QStringLiteral("Verbindung erfolgreich hergestellt"), mtInformation, mbOK, this);
}

void TForm1::btnOpenClick()
{
    const QString folder = AppGroupDir() + PathDelim + QStringLiteral("kdbcfg") + PathDelim;
    if (QDir(folder).exists())
        OpenDialog.InitialDir = folder;
    const QString chosen = TDialogs::OpenFileName(OpenDialog, this);
    if (chosen.isEmpty())
        return;
    OpenDialog.FileName = chosen;
    LoadConfigFile(chosen);
}

void TForm1::Button1Click()
{
    if (!CheckInput())
        return;
    if (!FConfigFile.isEmpty()) {
        const QFileInfo current(FConfigFile);
        SaveDialog.InitialDir = QDir::toNativeSeparators(current.absolutePath());
        SaveDialog.FileName = current.fileName();
    }
    const QString chosen = TDialogs::SaveFileName(SaveDialog, this);
    if (chosen.isEmpty())
        return;
    SaveDialog.FileName = chosen;
    FConfigFile = chosen;
    SaveConfigFile(FConfigFile);
    lblCfgFile->setText(FConfigFile);
    lblCfgFile->setToolTip(FConfigFile);
}

void TForm1::btnCloseClick()
{
    close();
}

void TForm1::LoadConfigFile(const QString& FileName)
{
    const TIniFile ini(FileName);
    const QString providerName = ini.ReadString(Section, QStringLiteral("ProviderName"), QString()).toUpper();
    QString shown = ini.ReadString(Section, QStringLiteral("ProviderType"), QString()).toUpper();
    if (shown.isEmpty())
        shown = providerName;
    const int index = shown.isEmpty() ? -1 : cbxDBFormat->findText(shown, Qt::MatchFixedString);
    if (index < 0)
        return;
    {
        const QSignalBlocker blocker(cbxDBFormat);
        cbxDBFormat->setCurrentIndex(index);
    }

    if (providerName == QLatin1String("MSACCESS")) {
        edDBFile->SetFilename(ini.ReadString(Section, QStringLiteral("Database"), QString()));
    } else if (providerName == QLatin1String("SQLITE")) {
        edDBFile->SetFilename(ini.ReadString(Section, QStringLiteral("Database"), QString()));
        chbxDirectSQLite->setChecked(ini.ReadBool(Section, QStringLiteral("Direct"), false));
    } else {
        edServer->setText(ini.ReadString(Section, QStringLiteral("Server"), QString()));
        edPort->setText(ini.ReadString(Section, QStringLiteral("Port"), QStringLiteral("0")));
        edDatabase->setText(ini.ReadString(Section, QStringLiteral("Database"), QString()));
        edUser->setText(ini.ReadString(Section, QStringLiteral("Username"), QString()));
        const QString password = ini.ReadString(Section, QStringLiteral("Password"), QString());
        edPW->setText(password.isEmpty() ? QString() : Decrypt(password));
        chbxDirect->setChecked(ini.ReadBool(Section, QStringLiteral("Direct"), false));
        if (providerName == QLatin1String("MSSQL"))
            edSchema->setText(ini.ReadString(Section, QStringLiteral("Schema"), QString()));
    }
    cbxDBFormatChange();
}

void TForm1::SaveConfigFile(const QString& FileName)
{
    TIniFile ini(FileName);
    ini.EraseSection(Section);
    const QString shown = ShownFormat();
    const QString stored = shown == QLatin1String("MARIADB") ? QStringLiteral("MYSQL") : shown;
    ini.WriteString(Section, QStringLiteral("ProviderName"), stored);
    ini.WriteString(Section, QStringLiteral("ProviderType"), shown);
    if (stored == QLatin1String("MSACCESS")) {
        ini.WriteString(Section, QStringLiteral("Database"), edDBFile->Filename());
        return;
    }
    if (stored == QLatin1String("SQLITE")) {
        ini.WriteString(Section, QStringLiteral("Database"), edDBFile->Filename());
        ini.WriteBool(Section, QStringLiteral("Direct"), chbxDirectSQLite->isChecked());
        return;
    }
    ini.WriteString(Section, QStringLiteral("Server"), edServer->text());
    ini.WriteString(Section, QStringLiteral("Port"), edPort->text());
    ini.WriteString(Section, QStringLiteral("Database"), edDatabase->text());
    ini.WriteString(Section, QStringLiteral("Username"), edUser->text());
    ini.WriteString(Section, QStringLiteral("Password"), edPW->text().isEmpty() ? QString() : Encrypt(edPW->text()));
    ini.WriteBool(Section, QStringLiteral("Direct"), chbxDirect->isChecked());
    if (stored == QLatin1String("MSSQL"))
        ini.WriteString(Section, QStringLiteral("Schema"), edSchema->text());
}
