#pragma once

#include "TDialogs.h"
#include "TUniConnection.h"

#include <QStringList>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TFilenameEdit;
class TNumericEdit;

// The window of the configuration editor: creates, loads, edits, tests and saves one connection
// configuration file (section "Kladdeconnection"). Every control carries its name as object name.
// Message boxes and file dialogs go through TDialogs. GUI thread only.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // Args are the program's arguments without the program name; the first one, when given, is the
    // configuration file to load.
    explicit TForm1(const QStringList& Args, QWidget* Parent = nullptr);
    ~TForm1() override;

    // The current configuration file: the argument, then the last file saved.
    QString ConfigFile() const { return FConfigFile; }
    // The connection as the last connection test set it up.
    const TUniConnection& TestedConnection() const { return Connection; }

public Q_SLOTS:
    void FormCreate();
    void cbxDBFormatChange();
    void btnConnectClick();
    void btnOpenClick();
    // "Datei speichern". A failed write throws EIniFileException to the application's handler.
    void Button1Click();
    void btnCloseClick();

protected:
    void showEvent(QShowEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;

private:
    void CreateComponents();
    void SetTabOrder();
    void AlignControls();
    QString ShownFormat() const;

    bool CheckInput();
    void TestConnection();
    void TestSQLitePlain();
    void TestSQLiteEncrypted();
    // Opens Connection, reports success or the error, and closes it again.
    void OpenAndReport();
    void LoadConfigFile(const QString& FileName);
    void SaveConfigFile(const QString& FileName);

    QStringList FArgs;
    QString FConfigFile;
    bool FCentred = false;

    QLabel* lblCfgFile;
    QGroupBox* GroupBox1;
    QFrame* pnlDBFmt;
    QLabel* Label5;
    QComboBox* cbxDBFormat;
    QFrame* pnlAcc;
    QLabel* Label4;
    TFilenameEdit* edDBFile;
    QCheckBox* chbxDirectSQLite;
    QFrame* pnlSQL;
    QLabel* Label3;
    QLineEdit* edServer;
    QLabel* Label6;
    TNumericEdit* edPort;
    QLabel* Label1;
    QLineEdit* edUser;
    QLabel* Label2;
    QLineEdit* edPW;
    QLabel* Label7;
    QLineEdit* edDatabase;
    QLabel* lblSchema;
    QLineEdit* edSchema;
    QCheckBox* chbxDirect;
    QFrame* Panel1;
    QPushButton* btnConnect;
    QPushButton* btnOpen;
    QPushButton* Button1;
    QPushButton* btnClose;

    TUniConnection Connection;
    TFileDialogOptions OpenDialog;
    TFileDialogOptions SaveDialog;
};
