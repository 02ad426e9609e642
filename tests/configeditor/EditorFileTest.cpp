// Saving and loading configuration files through the editor window, as a user does it.

#include "EIniFileException.h"
#include "EditorWindow.h"
#include "Platform.h"
#include "ScratchDir.h"
#include "TFilenameEdit.h"
#include "TUniConnection.h"
#include "uKladdeConnector.h"
#include "uCrypt.h"
#include "utils.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

namespace {

using EditorFileTest = EditorTest;

const QString Section = QStringLiteral("Kladdeconnection");

// What the user enters for one format, and the section the editor must write for it.
struct TConfigCase {
    QString Format;
    QString DBFile;
    bool DirectSQLite = false;
    QString Server;
    QString Port; // null: left at its initial "0"
    QString User;
    QString Password;
    QString Database;
    QString Schema;
    // The section's lines; "Password=" followed by the clear text stands for its enciphered form.
    QStringList Expected;
};

std::vector<TConfigCase> ConfigCases()
{
    return {
        {QStringLiteral("MSACCESS"), QStringLiteral("C:\\Schüler\\Kladde.accdb"), false, {}, {}, {}, {}, {}, {},
         {QStringLiteral("ProviderName=MSACCESS"), QStringLiteral("ProviderType=MSACCESS"),
          QStringLiteral("Database=C:\\Schüler\\Kladde.accdb")}},
        {QStringLiteral("SQLITE"), QStringLiteral("/srv/kladde/Kladde.sqlite"), true, {}, {}, {}, {}, {}, {},
         {QStringLiteral("ProviderName=SQLITE"), QStringLiteral("ProviderType=SQLITE"),
          QStringLiteral("Database=/srv/kladde/Kladde.sqlite"), QStringLiteral("Direct=1")}},
        {QStringLiteral("SQLITE"), QStringLiteral("D:\\Kladde.sdb"), false, {}, {}, {}, {}, {}, {},
         {QStringLiteral("ProviderName=SQLITE"), QStringLiteral("ProviderType=SQLITE"), QStringLiteral("Database=D:\\Kladde.sdb"),
          QStringLiteral("Direct=0")}},
        {QStringLiteral("MSSQL"), {}, false, QStringLiteral("schulserver\\SQLEXPRESS"), QStringLiteral("1433"),
         QStringLiteral("sa"), QStringLiteral("Geheim#1ä"), QStringLiteral("Kladde"), QStringLiteral("dbo"),
         {QStringLiteral("ProviderName=MSSQL"), QStringLiteral("ProviderType=MSSQL"),
          QStringLiteral("Server=schulserver\\SQLEXPRESS"), QStringLiteral("Port=1433"), QStringLiteral("Database=Kladde"),
          QStringLiteral("Username=sa"), QStringLiteral("Password=Geheim#1ä"), QStringLiteral("Direct=0"),
          QStringLiteral("Schema=dbo")}},
        {QStringLiteral("MARIADB"), {}, false, QStringLiteral("db.schule.local"), QStringLiteral("3307"),
         QStringLiteral("kladde"), QStringLiteral("pw"), QStringLiteral("kladde"), {},
         {QStringLiteral("ProviderName=MYSQL"), QStringLiteral("ProviderType=MARIADB"),
          QStringLiteral("Server=db.schule.local"), QStringLiteral("Port=3307"), QStringLiteral("Database=kladde"),
          QStringLiteral("Username=kladde"), QStringLiteral("Password=pw"), QStringLiteral("Direct=0")}},
        {QStringLiteral("MYSQL"), {}, false, QStringLiteral("localhost"), {}, QStringLiteral("root"), {},
         QStringLiteral("kladde"), {},
         {QStringLiteral("ProviderName=MYSQL"), QStringLiteral("ProviderType=MYSQL"), QStringLiteral("Server=localhost"),
          QStringLiteral("Port=0"), QStringLiteral("Database=kladde"), QStringLiteral("Username=root"),
          QStringLiteral("Password="), QStringLiteral("Direct=0")}},
        {QStringLiteral("FIREBIRD"), {}, false, {}, QStringLiteral(""), QStringLiteral("SYSDBA"), QStringLiteral("masterkey"),
         QStringLiteral("/var/lib/firebird/kladde.fdb"), {},
         {QStringLiteral("ProviderName=FIREBIRD"), QStringLiteral("ProviderType=FIREBIRD"), QStringLiteral("Server="),
          QStringLiteral("Port="), QStringLiteral("Database=/var/lib/firebird/kladde.fdb"), QStringLiteral("Username=SYSDBA"),
          QStringLiteral("Password=masterkey"), QStringLiteral("Direct=0")}},
    };
}

bool IsFileFormat(const QString& Format)
{
    return Format == QLatin1String("MSACCESS") || Format == QLatin1String("SQLITE");
}

void Enter(TEditorWindow& W, const TConfigCase& C)
{
    W.Choose(C.Format);
    if (IsFileFormat(C.Format)) {
        W.Type(QStringLiteral("edDBFile"), C.DBFile);
        if (C.Format == QLatin1String("SQLITE"))
            W.SetChecked(QStringLiteral("chbxDirectSQLite"), C.DirectSQLite);
        return;
    }
    W.Type(QStringLiteral("edServer"), C.Server);
    if (!C.Port.isNull())
        W.Type(QStringLiteral("edPort"), C.Port);
    W.Type(QStringLiteral("edUser"), C.User);
    W.Type(QStringLiteral("edPW"), C.Password);
    W.Type(QStringLiteral("edDatabase"), C.Database);
    if (C.Format == QLatin1String("MSSQL"))
        W.Type(QStringLiteral("edSchema"), C.Schema);
}

// Compares the section with the expected lines, deciphering the password.
void ExpectSection(const QString& FileName, const QStringList& Expected, const std::string& What)
{
    const QStringList lines = SectionLines(FileName, Section);
    ASSERT_EQ(lines.size(), Expected.size()) << What << ": " << lines.join(QLatin1Char('\n')).toStdString();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString prefix = QStringLiteral("Password=");
        if (Expected[i].startsWith(prefix) && Expected[i].size() > prefix.size()) {
            ASSERT_TRUE(lines[i].startsWith(prefix)) << What;
            EXPECT_EQ(Decrypt(lines[i].mid(prefix.size())), Expected[i].mid(prefix.size())) << What;
        } else {
            EXPECT_EQ(lines[i], Expected[i]) << What;
        }
    }
}

// Saves the window's settings through "Datei speichern" under Name (the dialog adds ".kdbcfg").
QString SaveAs(TEditorWindow& W, const QString& Name)
{
    const qsizetype before = TDialogs::Log().size();
    TDialogs::SetNextFileNames({Name});
    W.Click(QStringLiteral("Button1"));
    EXPECT_EQ(TDialogs::Log().size(), before + 1);
    return TDialogs::Log().isEmpty() ? QString() : TDialogs::Log().last().ChosenFileName;
}

} // namespace

TEST_F(EditorFileTest, EveryFormatSurvivesSaveAndStartWithTheFile)
{
    int n = 0;
    for (const TConfigCase& c : ConfigCases()) {
        const std::string what = c.Format.toStdString() + " #" + std::to_string(++n);
        const QString path = ScratchDir() + QStringLiteral("/case%1.kdbcfg").arg(n);
        {
            TEditorWindow w;
            Enter(w, c);
            EXPECT_EQ(SaveAs(w, ScratchDir() + QStringLiteral("/case%1").arg(n)), path) << what;
            EXPECT_EQ(w.Form().ConfigFile(), path) << what;
        }
        ASSERT_TRUE(Messages().isEmpty()) << what << ": " << Messages().first().Text.toStdString();
        ExpectSection(path, c.Expected, what);

        TEditorWindow w({path});
        EXPECT_EQ(w.Formats()->currentText(), c.Format) << what;
        EXPECT_TRUE(w.Shown(QStringLiteral("lblCfgFile"))) << what;
        EXPECT_EQ(w.Find<QLabel>(QStringLiteral("lblCfgFile"))->text(), path) << what;
        EXPECT_EQ(w.Shown(QStringLiteral("pnlAcc")), IsFileFormat(c.Format)) << what;
        EXPECT_EQ(w.Shown(QStringLiteral("pnlSQL")), !IsFileFormat(c.Format)) << what;
        if (IsFileFormat(c.Format)) {
            EXPECT_EQ(w.Text(QStringLiteral("edDBFile")), c.DBFile) << what;
            EXPECT_EQ(w.Check(QStringLiteral("chbxDirectSQLite"))->isChecked(), c.DirectSQLite) << what;
        } else {
            EXPECT_EQ(w.Text(QStringLiteral("edServer")), c.Server) << what;
            EXPECT_EQ(w.Text(QStringLiteral("edPort")), c.Port.isNull() ? QStringLiteral("0") : c.Port) << what;
            EXPECT_EQ(w.Text(QStringLiteral("edUser")), c.User) << what;
            EXPECT_EQ(w.Text(QStringLiteral("edPW")), c.Password) << what;
            EXPECT_EQ(w.Text(QStringLiteral("edDatabase")), c.Database) << what;
            EXPECT_EQ(w.Text(QStringLiteral("edSchema")), c.Schema) << what;
        }
    }
}

// What the editor writes, the migration program's connector reads: MARIADB as a MySQL file.
TEST_F(EditorFileTest, FilesSavedByTheEditorAreReadByTheConnector)
{
    int n = 0;
    for (const TConfigCase& c : ConfigCases()) {
        const std::string what = c.Format.toStdString() + " #" + std::to_string(++n);
        QString path;
        {
            TEditorWindow w;
            Enter(w, c);
            path = SaveAs(w, ScratchDir() + QStringLiteral("/read%1").arg(n));
        }
        TUniConnection conn;
        TKladdeConnector connector(&conn);
        connector.SetConnectionFile(path);
        const QString format = c.Format == QLatin1String("MARIADB") ? QStringLiteral("MYSQL") : c.Format;
        EXPECT_EQ(connector.DBFormat(), format) << what;
        EXPECT_FALSE(conn.LoginPrompt()) << what;
        if (IsFileFormat(c.Format)) {
            EXPECT_EQ(conn.Database(), c.DBFile) << what;
            continue;
        }
        const char* provider = format == QLatin1String("MSSQL") ? "SQL Server"
                               : format == QLatin1String("MYSQL") ? "MySQL"
                                                                  : "InterBase";
        EXPECT_EQ(conn.ProviderName(), QLatin1String(provider)) << what;
        EXPECT_EQ(conn.Server(), c.Server) << what;
        EXPECT_EQ(conn.Port(), c.Port.toInt()) << what;
        EXPECT_EQ(conn.Database(), c.Database) << what;
        EXPECT_EQ(conn.Username(), c.User) << what;
        EXPECT_EQ(conn.Password(), c.Password) << what;
        EXPECT_EQ(connector.Schema(), c.Format == QLatin1String("MSSQL") ? c.Schema : QString()) << what;
    }
}

// The editor does not catch a failed write: it reaches the program's general error handling.
TEST_F(EditorFileTest, AFailedSaveRaisesTheWriteError)
{
    const QString parent = ScratchDir() + QStringLiteral("/plain.txt");
    QFile plain(parent);
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString path = parent + QStringLiteral("/kladde.kdbcfg");
    TEditorWindow w;
    w.Choose(QStringLiteral("SQLITE"));
    w.Type(QStringLiteral("edDBFile"), QStringLiteral("/srv/kladde.sqlite"));
    TDialogs::SetNextFileNames({path});
    try {
        w.Form().Button1Click();
        ADD_FAILURE() << "the write must fail";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("In %1 kann nicht geschrieben werden").arg(path));
    }
}

TEST_F(EditorFileTest, HandWrittenFilesLoad)
{
    struct Case {
        const char* What;
        QStringList Lines;
        QString Format; // empty: nothing loaded
        QMap<QString, QString> Fields;
    };
    const Case cases[] = {
        {"no ProviderType, lower case",
         {QStringLiteral("[kladdeconnection]"), QStringLiteral("providername=mssql"), QStringLiteral("Server=srv"),
          QStringLiteral("Database=Kladde"), QStringLiteral("Schema=schule")},
         QStringLiteral("MSSQL"),
         {{QStringLiteral("edServer"), QStringLiteral("srv")},
          {QStringLiteral("edDatabase"), QStringLiteral("Kladde")},
          {QStringLiteral("edSchema"), QStringLiteral("schule")},
          {QStringLiteral("edPort"), QStringLiteral("0")},
          {QStringLiteral("edPW"), QString()}}},
        {"MariaDB stored as MySQL",
         {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MYSQL"), QStringLiteral("ProviderType=mariadb"),
          QStringLiteral("Server=m"), QStringLiteral("Port="), QStringLiteral("Database=k")},
         QStringLiteral("MARIADB"),
         {{QStringLiteral("edServer"), QStringLiteral("m")}, {QStringLiteral("edPort"), QString()}}},
        {"schema only for MSSQL",
         {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=FIREBIRD"), QStringLiteral("Database=\"/d b/k.fdb\""),
          QStringLiteral("Schema=nie")},
         QStringLiteral("FIREBIRD"),
         {{QStringLiteral("edDatabase"), QStringLiteral("/d b/k.fdb")}, {QStringLiteral("edSchema"), QString()}}},
        {"file format reads no server keys",
         {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MSACCESS"), QStringLiteral("Database=C:\\k.mdb"),
          QStringLiteral("Server=nie")},
         QStringLiteral("MSACCESS"),
         {{QStringLiteral("edDBFile"), QStringLiteral("C:\\k.mdb")}, {QStringLiteral("edServer"), QString()}}},
        {"format the editor does not offer",
         {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=ORACLE"), QStringLiteral("Server=ora")},
         QString(),
         {{QStringLiteral("edServer"), QString()}}},
        {"unknown ProviderType wins over a known ProviderName",
         {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MYSQL"), QStringLiteral("ProviderType=XYZ"),
          QStringLiteral("Server=x")},
         QString(),
         {{QStringLiteral("edServer"), QString()}}},
        {"other section only", {QStringLiteral("[Andere]"), QStringLiteral("ProviderName=MSSQL")}, QString(), {}},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString path = ScratchDir() + QStringLiteral("/load%1.kdbcfg").arg(++n);
        WriteLines(path, c.Lines);
        TEditorWindow w({path});
        EXPECT_EQ(w.Formats()->currentText(), c.Format) << c.What;
        EXPECT_EQ(w.Find<QLabel>(QStringLiteral("lblCfgFile"))->text(), path) << c.What;
        if (c.Format.isEmpty()) {
            EXPECT_FALSE(w.Shown(QStringLiteral("pnlAcc"))) << c.What;
            EXPECT_FALSE(w.Shown(QStringLiteral("pnlSQL"))) << c.What;
        }
        for (auto it = c.Fields.begin(); it != c.Fields.end(); ++it)
            EXPECT_EQ(w.Text(it.key()), it.value()) << c.What << " " << it.key().toStdString();
    }
    EXPECT_TRUE(TDialogs::Log().isEmpty());
}

TEST_F(EditorFileTest, MissingArgumentFileLoadsNothing)
{
    const QString path = ScratchDir() + QStringLiteral("/fehlt.kdbcfg");
    TEditorWindow w({path});
    EXPECT_EQ(w.Formats()->currentIndex(), -1);
    EXPECT_TRUE(w.Shown(QStringLiteral("lblCfgFile")));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(TDialogs::Log().isEmpty());
}

TEST_F(EditorFileTest, ServerDirectOneShowsUncheckedAndSavesZero)
{
    const QString path = ScratchDir() + QStringLiteral("/direct.kdbcfg");
    WriteLines(path, {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MSSQL"),
                      QStringLiteral("ProviderType=MSSQL"), QStringLiteral("Server=srv"), QStringLiteral("Database=k"),
                      QStringLiteral("Direct=1")});
    TEditorWindow w({path});
    EXPECT_FALSE(w.Check(QStringLiteral("chbxDirect"))->isChecked());
    EXPECT_FALSE(w.Shown(QStringLiteral("chbxDirect")));
    SaveAs(w, path);
    EXPECT_TRUE(SectionLines(path, Section).contains(QStringLiteral("Direct=0")));
}

TEST_F(EditorFileTest, UndecipherablePasswordShowsAndSavesAsQuestionMarks)
{
    const QString path = ScratchDir() + QStringLiteral("/pw.kdbcfg");
    WriteLines(path, {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MYSQL"), QStringLiteral("Server=s"),
                      QStringLiteral("Database=k"), QStringLiteral("Password=bm9jaCBuaWNodCBnZWhlaW0=")});
    TEditorWindow w({path});
    EXPECT_EQ(w.Text(QStringLiteral("edPW")), QStringLiteral("???"));
    EXPECT_EQ(w.Edit(QStringLiteral("edPW"))->echoMode(), QLineEdit::Password);
    SaveAs(w, path);
    QString stored;
    for (const QString& line : SectionLines(path, Section))
        if (line.startsWith(QLatin1String("Password=")))
            stored = line.mid(9);
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(Decrypt(stored), QStringLiteral("???"));
}

TEST_F(EditorFileTest, SchemaIsKeptButNotSavedForMySQL)
{
    TEditorWindow w;
    w.Choose(QStringLiteral("MSSQL"));
    EXPECT_TRUE(w.Shown(QStringLiteral("edSchema")));
    EXPECT_TRUE(w.Shown(QStringLiteral("lblSchema")));
    w.Type(QStringLiteral("edSchema"), QStringLiteral("dbo"));
    w.Type(QStringLiteral("edServer"), QStringLiteral("srv"));
    w.Type(QStringLiteral("edDatabase"), QStringLiteral("kladde"));

    w.Choose(QStringLiteral("MYSQL"));
    EXPECT_FALSE(w.Shown(QStringLiteral("edSchema")));
    EXPECT_FALSE(w.Shown(QStringLiteral("lblSchema")));
    EXPECT_EQ(w.Text(QStringLiteral("edSchema")), QStringLiteral("dbo"));
    const QString path = SaveAs(w, ScratchDir() + QStringLiteral("/my"));
    for (const QString& line : SectionLines(path, Section))
        EXPECT_FALSE(line.startsWith(QLatin1String("Schema"))) << line.toStdString();

    w.Choose(QStringLiteral("MSSQL"));
    EXPECT_TRUE(w.Shown(QStringLiteral("edSchema")));
    EXPECT_EQ(w.Text(QStringLiteral("edSchema")), QStringLiteral("dbo"));
}

TEST_F(EditorFileTest, SavingKeepsOtherSectionsAndRewritesOnlyItsOwn)
{
    const QString path = ScratchDir() + QStringLiteral("/mehr.kdbcfg");
    WriteLines(path, {QStringLiteral("; Kommentar"), QStringLiteral("[Vorher]"), QStringLiteral("A=1"),
                      QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MSSQL"), QStringLiteral("Server=srv"),
                      QStringLiteral("Database=k"), QStringLiteral("Schema=dbo"), QStringLiteral("Extra=bleibt nicht"),
                      QStringLiteral("[Nachher]"), QStringLiteral("B=2")});
    TEditorWindow w({path});
    w.Choose(QStringLiteral("MSACCESS"));
    w.Type(QStringLiteral("edDBFile"), QStringLiteral("C:\\Kladde\\k.mdb"));
    SaveAs(w, path);
    EXPECT_EQ(FileLines(path),
              (QStringList{QStringLiteral("; Kommentar"), QStringLiteral("[Vorher]"), QStringLiteral("A=1"),
                           QStringLiteral("[Nachher]"), QStringLiteral("B=2"), QStringLiteral("[Kladdeconnection]"),
                           QStringLiteral("ProviderName=MSACCESS"), QStringLiteral("ProviderType=MSACCESS"),
                           QStringLiteral("Database=C:\\Kladde\\k.mdb")}));
}

TEST_F(EditorFileTest, SaveDialogProposesTheCommandLineFileNotTheOpenedOne)
{
    const QString dir = ScratchDir();
    const QString argFile = dir + QStringLiteral("/start.kdbcfg");
    QDir().mkpath(dir + QStringLiteral("/anders"));
    const QString opened = dir + QStringLiteral("/anders/geoeffnet.kdbcfg");
    WriteLines(argFile, {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=SQLITE"),
                         QStringLiteral("Database=/a.sqlite")});
    WriteLines(opened, {QStringLiteral("[Kladdeconnection]"), QStringLiteral("ProviderName=MYSQL"),
                        QStringLiteral("ProviderType=MARIADB"), QStringLiteral("Server=m"), QStringLiteral("Database=k")});

    TEditorWindow w({argFile});
    TDialogs::SetNextFileNames({opened});
    w.Click(QStringLiteral("btnOpen"));
    EXPECT_EQ(w.Formats()->currentText(), QStringLiteral("MARIADB"));
    EXPECT_EQ(w.Text(QStringLiteral("edServer")), QStringLiteral("m"));
    EXPECT_EQ(w.Find<QLabel>(QStringLiteral("lblCfgFile"))->text(), argFile);
    EXPECT_EQ(w.Form().ConfigFile(), argFile);

    TDialogs::SetNextFileNames({QString()});
    w.Click(QStringLiteral("Button1"));
    const QList<TShownDialog> dialogs = FileDialogs();
    ASSERT_EQ(dialogs.size(), 2);
    const TShownDialog& save = dialogs[1];
    EXPECT_EQ(save.Kind, dkSaveFile);
    EXPECT_EQ(QDir::fromNativeSeparators(save.Options.InitialDir), dir);
    EXPECT_EQ(save.Options.FileName, QStringLiteral("start.kdbcfg"));
    EXPECT_EQ(save.Options.Filter, ConfigFilter);
    EXPECT_EQ(save.Options.DefaultExt, QStringLiteral("kdbcfg"));
    EXPECT_TRUE(save.Options.OverwritePrompt);
    // Cancelled: nothing written, the file name stays.
    EXPECT_EQ(SectionLines(argFile, Section).first(), QStringLiteral("ProviderName=SQLITE"));
    EXPECT_EQ(w.Form().ConfigFile(), argFile);
}

TEST_F(EditorFileTest, WithoutArgumentSavingProposesNothingFirstThenTheSavedFile)
{
    TEditorWindow w;
    w.Choose(QStringLiteral("SQLITE"));
    w.Type(QStringLiteral("edDBFile"), QStringLiteral("/k.sqlite"));
    const QString path = SaveAs(w, ScratchDir() + QStringLiteral("/erst"));
    EXPECT_FALSE(w.Shown(QStringLiteral("lblCfgFile")));
    EXPECT_EQ(w.Find<QLabel>(QStringLiteral("lblCfgFile"))->text(), path);
    SaveAs(w, path);
    const QList<TShownDialog> dialogs = FileDialogs();
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_EQ(dialogs[0].Options.FileName, QString());
    EXPECT_EQ(dialogs[0].Options.InitialDir, QString());
    EXPECT_EQ(dialogs[1].Options.FileName, QStringLiteral("erst.kdbcfg"));
    EXPECT_EQ(QDir::fromNativeSeparators(dialogs[1].Options.InitialDir), ScratchDir());
}

TEST_F(EditorFileTest, OpenDialogStartsInTheGroupFolderWhenItExists)
{
    const QString folder = AppGroupDir() + PathDelim + QStringLiteral("kdbcfg") + PathDelim;
    const bool existed = QDir(folder).exists();
    if (!existed) {
        ASSERT_TRUE(QDir().mkpath(folder)) << folder.toStdString();
    }
    {
        TEditorWindow w;
        TDialogs::SetNextFileNames({QString()});
        w.Click(QStringLiteral("btnOpen"));
    }
    if (!existed)
        QDir(folder).removeRecursively();
    {
        TEditorWindow w;
        TDialogs::SetNextFileNames({QString()});
        w.Click(QStringLiteral("btnOpen"));
    }
    const QList<TShownDialog> dialogs = FileDialogs();
    ASSERT_EQ(dialogs.size(), 2);
    EXPECT_EQ(dialogs[0].Kind, dkOpenFile);
    EXPECT_EQ(dialogs[0].Options.InitialDir, folder);
    EXPECT_EQ(dialogs[0].Options.Filter, ConfigFilter);
    EXPECT_EQ(dialogs[0].Options.DefaultExt, QStringLiteral("kdbcfg"));
    if (!existed) {
        EXPECT_EQ(dialogs[1].Options.InitialDir, QString());
    }
    EXPECT_EQ(TDialogs::Log().size(), 2);
}

TEST_F(EditorFileTest, BrowseButtonOfTheFileFieldUsesTheFormatsFilter)
{
    TEditorWindow w;
    w.Choose(QStringLiteral("MSACCESS"));
    TDialogs::SetNextFileNames({ScratchDir() + QStringLiteral("/k.accdb")});
    QTest::mouseClick(w.DBFile()->Button(), Qt::LeftButton);
    ASSERT_EQ(FileDialogs().size(), 1);
    EXPECT_TRUE(FileDialogs()[0].Options.Filter.startsWith(QLatin1String("Access-Datenbanken (*.mdb, *.accdb)|")));
    EXPECT_EQ(w.Text(QStringLiteral("edDBFile")), ScratchDir() + QStringLiteral("/k.accdb"));
}
