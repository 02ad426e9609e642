// The digits-only field with optional bounds.

#include "TNumericEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Types Text into a cleared field and leaves it with Enter.
void Enter(TNumericEdit& Edit, const QString& Text)
{
    Edit.clear();
    QTest::keyClicks(&Edit, Text);
    QTest::keyClick(&Edit, Qt::Key_Return);
}

} // namespace

TEST(NumericEdit, TakesDigitsOnly)
{
    TNumericEdit edit;
    QTest::keyClicks(&edit, QStringLiteral("3a3-0 6.x"));
    EXPECT_EQ(edit.text(), QStringLiteral("3306"));
    EXPECT_EQ(edit.Value(), 3306);

    QApplication::clipboard()->setText(QStringLiteral("12ab"));
    edit.clear();
    edit.paste();
    EXPECT_EQ(edit.text(), QString());
}

TEST(NumericEdit, BoundsApplyWhenTheFieldIsLeft)
{
    TNumericEdit edit;
    edit.SetMinValue(1);
    edit.SetMaxValue(100000);
    struct Case {
        const char* Typed;
        const char* Expected;
    };
    const Case cases[] = {
        {"0", "1"}, {"100001", "100000"}, {"99999999999999999999999", "100000"}, {"250", "250"}, {"", ""},
    };
    for (const Case& c : cases) {
        Enter(edit, QLatin1String(c.Typed));
        EXPECT_EQ(edit.text(), QLatin1String(c.Expected)) << c.Typed;
    }
}

TEST(NumericEdit, UnboundedAndProgramTexts)
{
    TNumericEdit edit;
    Enter(edit, QStringLiteral("0"));
    EXPECT_EQ(edit.text(), QStringLiteral("0"));
    // A text set by the program is kept as it is; as a number it is 0.
    edit.setText(QStringLiteral("abc"));
    EXPECT_EQ(edit.text(), QStringLiteral("abc"));
    EXPECT_EQ(edit.Value(), 0);
    edit.SetValue(100);
    EXPECT_EQ(edit.text(), QStringLiteral("100"));
}
