// The text of field values, as the statement builder and the error list read them.

#include "TUniConnection.h"
#include "TUniQuery.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ScopedDefaultLocale
{
public:
    explicit ScopedDefaultLocale(const QLocale& Locale) { QLocale::setDefault(Locale); }
    ~ScopedDefaultLocale() { QLocale::setDefault(FPrevious); }

private:
    QLocale FPrevious;
};

TEST(FieldText, FloatsUseTheRegionalDecimalSeparatorAndAsciiSignsAndExponents)
{
    QTemporaryDir dir;
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(dir.filePath(QStringLiteral("f.sqlite")));
    conn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
    conn.ExecSQL(QStringLiteral("create table F (N integer primary key, V double)"));
    conn.ExecSQL(QStringLiteral("insert into F values (1, -3.5), (2, 1234567.25), (3, 1e20), (4, 0.1)"));
    struct Case {
        QLocale::Language Language;
        QLocale::Territory Territory;
        const char* Expected[4];
    };
    const Case cases[] = {
        {QLocale::German, QLocale::Germany, {"-3,5", "1234567,25", "1e+20", "0,1"}},
        {QLocale::Swedish, QLocale::Sweden, {"-3,5", "1234567,25", "1e+20", "0,1"}},
        {QLocale::English, QLocale::UnitedStates, {"-3.5", "1234567.25", "1e+20", "0.1"}},
    };
    for (const Case& c : cases) {
        ScopedDefaultLocale locale(QLocale(c.Language, c.Territory));
        TUniQuery q(&conn);
        q.SetSQL(QStringLiteral("select V from F order by N"));
        q.Open();
        for (const char* expected : c.Expected) {
            EXPECT_EQ(q.FieldByName(QStringLiteral("V")).AsString(), QLatin1String(expected))
                << QLocale().name().toStdString();
            q.Next();
        }
    }
}

} // namespace
