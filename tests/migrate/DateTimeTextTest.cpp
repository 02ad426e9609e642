#include "DateTimeText.h"

#include <gtest/gtest.h>

namespace {

struct TDateTimeCase {
    const char* Locale;
    QDateTime Value;
    const char* Expected;
};

TEST(DateTimeText, RegionalShortDateAndLongTime)
{
    const QDate day(2024, 3, 5);
    const TDateTimeCase cases[] = {
        // Qt's German short date has a two-digit year; the program writes four, as Windows does.
        {"de_DE", QDateTime(day, QTime(13, 5, 9)), "05.03.2024 13:05:09"},
        {"de_DE", QDateTime(day, QTime(0, 0)), "05.03.2024"},
        {"de_DE", QDateTime(day, QTime(0, 0, 0, 500)), "05.03.2024 00:00:00"},
        {"de_DE", QDateTime(day, QTime(0, 0, 1)), "05.03.2024 00:00:01"},
        {"de_DE", QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)), "31.12.1999 23:59:59"},
        {"en_US", QDateTime(day, QTime(13, 5, 9)), "3/5/2024 1:05:09 PM"},
        {"en_GB", QDateTime(day, QTime(13, 5, 9)), "05/03/2024 13:05:09"},
    };
    for (const TDateTimeCase& c : cases)
        EXPECT_EQ(DateTimeToStr(c.Value, QLocale(QLatin1String(c.Locale))).toStdString(), c.Expected)
            << c.Locale << " " << c.Value.toString(Qt::ISODateWithMs).toStdString();
}

TEST(DateTimeText, NowCanBeFixed)
{
    const QDateTime fixed(QDate(2001, 2, 3), QTime(4, 5, 6));
    SetNowOverride(fixed);
    EXPECT_EQ(Now(), fixed);
    SetNowOverride(std::nullopt);
    EXPECT_GT(Now().date().year(), 2001);
}

} // namespace
