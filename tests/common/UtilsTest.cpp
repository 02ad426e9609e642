#include "Platform.h"
#include "TRichEdit.h"
#include "utils.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <optional>

namespace {

const QString Delim(PathDelim);

QString Native(const QString& Path)
{
    return QDir::toNativeSeparators(Path);
}

// Sets an environment variable for the life of the object, then restores it.
class TScopedEnv
{
public:
    TScopedEnv(const char* Name, std::optional<QString> Value) : FName(Name)
    {
        if (qEnvironmentVariableIsSet(Name))
            FOld = qEnvironmentVariable(Name);
        Set(Value);
    }
    ~TScopedEnv() { Set(FOld); }

private:
    void Set(const std::optional<QString>& Value)
    {
        if (Value)
            qputenv(FName, Value->toLocal8Bit());
        else
            qunsetenv(FName);
    }

    const char* FName;
    std::optional<QString> FOld;
};

struct TTokenCase
{
    QString Text;
    QString Separator;
    int Index;
    QString Token;
    int Count;
};

TEST(Utils, GetTokenAndTokenCount)
{
    const QString line = QStringLiteral("Schueler;Schueler;ID;;SELECT * FROM Schueler;1");
    const TTokenCase cases[] = {
        {line, ";", 4, "", 6},
        {line, ";", 6, "1", 6},
        {line, ";", 7, "", 6},
        {line, ";", 1, "Schueler", 6},
        {line, ";", 0, "", 6},
        {line, ";", -1, "", 6},
        {"abc", ";", 1, "abc", 1},
        {"a;", ";", 1, "a", 2},
        {"a;", ";", 2, "", 2},
        {";", ";", 1, "", 2},
        {"", ";", 1, "", 0},
        {"a,,b", ",", 2, "", 3},
        {"a,,b", ",", 3, "b", 3},
        {"a---b", "--", 2, "-b", 2},
    };
    for (const TTokenCase& c : cases) {
        SCOPED_TRACE(("\"" + c.Text + "\" at \"" + c.Separator + "\", index " + QString::number(c.Index)).toStdString());
        EXPECT_EQ(GetToken(c.Text, c.Separator, c.Index), c.Token);
        EXPECT_EQ(TokenCount(c.Text, c.Separator), c.Count);
    }
}

TEST(Utils, StripTrailingChar)
{
    const struct
    {
        QString In;
        QString Out;
    } cases[] = {{"C:\\Daten\\\\", "C:\\Daten"}, {"a\\b", "a\\b"}, {"\\\\", ""}, {"", ""}};
    for (const auto& c : cases) {
        QString text = c.In;
        StripTrailingChar(text, u'\\');
        EXPECT_EQ(text, c.Out) << c.In.toStdString();
    }
}

class DecimalSeparator : public testing::Test
{
protected:
    void TearDown() override { QLocale::setDefault(FSaved); }

    QLocale FSaved;
};

TEST_F(DecimalSeparator, GermanLocaleGetsDecimalPoint)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(SetLastDecimalSeparator(QStringLiteral("1.234,56"), u'.'), QStringLiteral("1.234.56"));
    EXPECT_EQ(SetLastDecimalSeparator(QStringLiteral("1,2,3"), u'.'), QStringLiteral("1,2.3"));
    EXPECT_EQ(SetLastDecimalSeparator(QStringLiteral("1234"), u'.'), QStringLiteral("1234"));
    EXPECT_EQ(SetLastDecimalSeparator(QStringLiteral("1,5"), u','), QStringLiteral("1,5"));
}

TEST_F(DecimalSeparator, SeparatorEqualToLocalesLeavesText)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(SetLastDecimalSeparator(QStringLiteral("1,234.5"), u'.'), QStringLiteral("1,234.5"));
    EXPECT_EQ(SetLastDecimalSeparator(QStringLiteral("1,234.5"), u','), QStringLiteral("1,234,5"));
}

TEST(Utils, IsRtfText)
{
    EXPECT_TRUE(IsRtfText(QStringLiteral("{\\rtf1\\ansi x}")));
    EXPECT_TRUE(IsRtfText(QStringLiteral("{\\RTF1 x}")));
    EXPECT_FALSE(IsRtfText(QStringLiteral(" {\\rtf1 x}")));
    EXPECT_FALSE(IsRtfText(QStringLiteral("{\\rt")));
    EXPECT_FALSE(IsRtfText(QString()));
}

// As WordPad saves a short letter: tables, generator, view settings, a colour, an umlaut, a euro
// sign with its fallback, bold text and two paragraphs.
const QString WordPadDocument = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1031{\\fonttbl{\\f0\\fnil\\fcharset0 Calibri;}"
    "{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
    "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
    "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
    "\\pard\\sa200\\sl276\\slmult1\\cf1\\f0\\fs22\\lang7 Der Sch\\'fcler hat 5 \\u8364?\\cf0  bezahlt.\\par\r\n"
    "Zweiter Absatz mit \\b fett\\b0 .\\par\r\n"
    "}\r\n");

TEST(Utils, RtfToPlainTextOfWordPadDocument)
{
    EXPECT_EQ(RtfToPlainText(WordPadDocument), QStringLiteral("Der Schüler hat 5 € bezahlt.\r\nZweiter Absatz mit fett."));
}

TEST(Utils, RtfToPlainTextKeepsDocumentInGivenControl)
{
    TRichEdit control;
    const QString text = RtfToPlainText(WordPadDocument, &control);
    EXPECT_EQ(control.Text(), text);
    EXPECT_EQ(control.Rtf(), WordPadDocument);

    EXPECT_EQ(RtfToPlainText(QStringLiteral("kein RTF"), &control), QString()) << "the error is swallowed";
    EXPECT_EQ(control.Text(), text) << "a failed load keeps the document";
    EXPECT_EQ(RtfToPlainText(QStringLiteral("kein RTF")), QString());
}

TEST(Utils, ProgramFolders)
{
    EXPECT_EQ(AppDir(), Native(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(AppDir().endsWith(PathDelim));
    EXPECT_EQ(ProgramFilePath(), Native(QCoreApplication::applicationFilePath()));
    EXPECT_EQ(ProgramFolder(), AppDir());
}

TEST(Utils, AppAdminAndGroupDirWithoutAdminIni)
{
    ASSERT_FALSE(QFileInfo::exists(AppDir() + Delim + "ADMIN.INI")) << "the test expects no ADMIN.INI next to it";
    EXPECT_EQ(AppAdminDir(), AppDir());
    EXPECT_EQ(AppGroupDir(), AppDir());
}

TEST(Utils, GetEnvVar)
{
    const TScopedEnv set("KLADDE_TEST_VAR", QStringLiteral("Wert"));
    const TScopedEnv unset("KLADDE_TEST_UNSET", std::nullopt);
    EXPECT_EQ(GetEnvVar(QStringLiteral("KLADDE_TEST_VAR")), QStringLiteral("Wert"));
    EXPECT_EQ(GetEnvVar(QStringLiteral("KLADDE_TEST_UNSET")), QString());
}

TEST(Utils, GetSpecialFolderPathKnowsOnlyDocuments)
{
    EXPECT_EQ(GetSpecialFolderPath(CsidlPersonal), DocumentsFolder());
    EXPECT_FALSE(GetSpecialFolderPath(CsidlPersonal).isEmpty());
    EXPECT_EQ(GetSpecialFolderPath(0x1A), QString());
}

TEST(Utils, VersionOfProgramFile)
{
    const QString full = QStringLiteral("%1.%2.%3.%4")
                             .arg(KLADDE_VERSION_MAJOR)
                             .arg(KLADDE_VERSION_MINOR)
                             .arg(KLADDE_VERSION_RELEASE)
                             .arg(KLADDE_VERSION_BUILD);
    const QString short_ = QStringLiteral("%1.%2.%3").arg(KLADDE_VERSION_MAJOR).arg(KLADDE_VERSION_MINOR).arg(KLADDE_VERSION_RELEASE);
    EXPECT_EQ(GetFileVersionText(QString(), true), full);
    EXPECT_EQ(GetFileVersionText(QString(), false), short_);
    EXPECT_EQ(GetFileVersionText(ProgramFilePath(), true), full);
    EXPECT_EQ(GetAppVersionText(), full);

    quint16 major = 9, minor = 9, release = 9, build = 9;
    ASSERT_TRUE(GetFileVersionNumbers(QString(), major, minor, release, build));
    EXPECT_EQ(major, KLADDE_VERSION_MAJOR);
    EXPECT_EQ(build, KLADDE_VERSION_BUILD);
}

TEST(Utils, OtherFilesHaveNoVersion)
{
    QTemporaryDir dir;
    const QString other = dir.filePath(QStringLiteral("other.exe"));
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    quint16 major = 9, minor = 9, release = 9, build = 9;
    EXPECT_FALSE(GetFileVersionNumbers(other, major, minor, release, build));
    EXPECT_EQ(major + minor + release + build, 0);
    EXPECT_EQ(GetFileVersionText(other, true), QString());
    EXPECT_EQ(GetFileVersionText(dir.filePath(QStringLiteral("missing.exe")), false), QString());
}

TEST(Utils, DebugModeOverride)
{
    SetDebugModeOverride(true);
    EXPECT_TRUE(RunsUnderDebugger());
    SetDebugModeOverride(false);
    EXPECT_FALSE(RunsUnderDebugger());
    SetDebugModeOverride(std::nullopt);
}

// ADMIN.INI in a scratch folder; the documents folder is moved into it as well.
class AdminIni : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(FDir.isValid()); }

    QString Folder() const { return Native(FDir.path()); }

    void WriteAdminIni(const QString& Lines)
    {
        QFile file(Folder() + Delim + "ADMIN.INI");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("[Administration]\r\n" + Lines + "\r\n").toLatin1());
    }

    QTemporaryDir FDir;
};

TEST_F(AdminIni, AdminDir)
{
    EXPECT_EQ(GetAdminDir(Folder()), Folder()) << "no ADMIN.INI";
    EXPECT_EQ(GetAdminDir(Folder() + Delim + Delim), Folder()) << "no ADMIN.INI, folder with delimiters";
    WriteAdminIni("AdminDir=");
    EXPECT_EQ(GetAdminDir(Folder()), Folder()) << "empty AdminDir";
    const QString admin = Native("/srv/kladde/admin");
    WriteAdminIni("AdminDir=" + admin + Delim + Delim);
    EXPECT_EQ(GetAdminDir(Folder()), admin);
    EXPECT_EQ(GetAdminDir(Folder() + Delim), admin);
    EXPECT_EQ(ReadAdminIni(Folder() + Delim, QStringLiteral("adminDIR"), QString()), admin + Delim + Delim);
}

TEST_F(AdminIni, GroupDirFallsBackToAppAdminDir)
{
    EXPECT_EQ(GetGroupDir(Folder()), AppAdminDir()) << "no ADMIN.INI";
    WriteAdminIni("AdminDir=" + Native("/srv/admin") + "\r\nGroupDir=");
    EXPECT_EQ(GetGroupDir(Folder()), AppAdminDir()) << "empty GroupDir: the program folder's admin dir, not this one's";
}

TEST_F(AdminIni, GroupDirPathLosesTrailingDelimiters)
{
    const QString group = Native("/srv/kladde/gruppe");
    WriteAdminIni("GroupDir=" + group + Delim + Delim);
    EXPECT_EQ(GetGroupDir(Folder()), group);
}

TEST_F(AdminIni, GroupDirFromEnvironmentVariable)
{
    const TScopedEnv set("KLADDE_TEST_GROUP", Native("/srv/gruppe") + Delim);
    WriteAdminIni("GroupDir=%KLADDE_TEST_GROUP%");
    EXPECT_EQ(GetGroupDir(Folder()), Native("/srv/gruppe"));

    const TScopedEnv unset("KLADDE_TEST_UNSET", std::nullopt);
    WriteAdminIni("GroupDir=%KLADDE_TEST_UNSET%");
    EXPECT_EQ(GetGroupDir(Folder()), AppAdminDir());
}

TEST_F(AdminIni, PrivateGroupDirInDocumentsIsCreated)
{
    const QString home = Folder() + Delim + "home";
    const TScopedEnv homeEnv("HOME", home);
    const TScopedEnv configEnv("XDG_CONFIG_HOME", std::nullopt);
    const QString documents = DocumentsFolder();
    ASSERT_TRUE(documents.startsWith(home)) << documents.toStdString();

    WriteAdminIni("GroupDir=<private>" + Delim + "Kladde" + Delim + "Gruppe" + Delim);
    const QString expected = documents + Delim + "Kladde" + Delim + "Gruppe";
    ASSERT_FALSE(QFileInfo::exists(expected));
    EXPECT_EQ(GetGroupDir(Folder()), expected);
    EXPECT_TRUE(QFileInfo(expected).isDir());
}

} // namespace
