// The file-name field with its browse button.

#include "TDialogs.h"
#include "TFilenameEdit.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class FilenameEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        TDialogs::SetTestMode(true);
        TDialogs::ResetTest();
        Edit.SetFilter(QStringLiteral("SQLite-Dateien (*.sqlite,*.sdb)|*.sqlite;*.sdb"));
        Edit.SetInitialDir(QStringLiteral("/srv/daten"));
        Edit.SetDefaultExt(QStringLiteral("sqlite"));
        Edit.resize(411, 22);
        Edit.show();
    }
    void TearDown() override { TDialogs::ResetTest(); }

    void ClickBrowse() { QTest::mouseClick(Edit.Button(), Qt::LeftButton); }

    TFilenameEdit Edit;
};

} // namespace

TEST_F(FilenameEditTest, BrowseOpensTheDialogWithTheSettingsAndTakesTheChoice)
{
    QSignalSpy changed(&Edit, &TFilenameEdit::FilenameChanged);
    TDialogs::SetNextFileNames({QStringLiteral("/srv/daten/kladde")});
    ClickBrowse();

    ASSERT_EQ(TDialogs::Log().size(), 1);
    const TShownDialog& shown = TDialogs::Log()[0];
    EXPECT_EQ(shown.Kind, dkOpenFile);
    EXPECT_TRUE(shown.Scripted);
    EXPECT_EQ(shown.Options.Filter, Edit.Filter());
    EXPECT_EQ(shown.Options.InitialDir, QStringLiteral("/srv/daten"));
    EXPECT_EQ(shown.Options.FileName, QString());
    EXPECT_EQ(Edit.Filename(), QStringLiteral("/srv/daten/kladde.sqlite"));
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(FilenameEditTest, BrowseProposesTheTypedNameAndCancelKeepsIt)
{
    QTest::keyClicks(Edit.Edit(), QStringLiteral("/home/k/alt.sdb"));
    EXPECT_EQ(Edit.Filename(), QStringLiteral("/home/k/alt.sdb"));
    TDialogs::SetNextFileNames({QString()});
    ClickBrowse();
    ASSERT_EQ(TDialogs::Log().size(), 1);
    EXPECT_EQ(TDialogs::Log()[0].Options.FileName, QStringLiteral("/home/k/alt.sdb"));
    EXPECT_EQ(Edit.Filename(), QStringLiteral("/home/k/alt.sdb"));
}

TEST_F(FilenameEditTest, DisabledAsOne)
{
    Edit.setEnabled(false);
    EXPECT_FALSE(Edit.Edit()->isEnabled());
    EXPECT_FALSE(Edit.Button()->isEnabled());
    ClickBrowse();
    EXPECT_TRUE(TDialogs::Log().isEmpty());
    Edit.setEnabled(true);
    EXPECT_TRUE(Edit.Edit()->isEnabled());
    EXPECT_TRUE(Edit.Button()->isEnabled());
}

TEST_F(FilenameEditTest, TabSkipsTheBrowseButton)
{
    EXPECT_EQ(Edit.Button()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(Edit.focusProxy(), Edit.Edit());
}
