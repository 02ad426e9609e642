#include "TDBVersion.h"

#include "ScratchDir.h"
#include "TUniConnection.h"
#include "TUniQuery.h"

#include <gtest/gtest.h>

namespace {

TDBVersion V(qint32 V1, qint32 V2, qint32 V3, qint32 V4)
{
    return TDBVersion{V1, V2, V3, V4};
}

std::string S(const TDBVersion& Value)
{
    return Value.ToString().toStdString();
}

struct TParseCase
{
    const char* Text;
    bool Result;
    TDBVersion Expected; // starting from 9.9.9.9
};

const TParseCase ParseCases[] = {
    {"2.6.13.0", true, {2, 6, 13, 0}},
    {"0.0.0.0", true, {0, 0, 0, 0}},
    {"-1.+2.-3.+4", true, {-1, 2, -3, 4}},
    {"2147483647.-2147483648.0.1", true, {2147483647, -2147483647 - 1, 0, 1}},
    // Stops at the first component that does not convert; the rest keep their old values.
    {"1.2.3", false, {1, 2, 9, 9}},
    {"1.2.3.", false, {1, 2, 3, 9}},
    {"1.2.3.4.5", false, {1, 2, 3, 9}},
    {"", false, {9, 9, 9, 9}},
    {"abc", false, {9, 9, 9, 9}},
    {"7", false, {9, 9, 9, 9}},
    {"1..3.4", false, {1, 9, 9, 9}},
    {"1.x.3.4", false, {1, 9, 9, 9}},
    // The conversion takes a sign and decimal digits only.
    {" 1.2.3.4", false, {9, 9, 9, 9}},
    {"1.2 .3.4", false, {1, 9, 9, 9}},
    {"1.2.3.4 ", false, {1, 2, 3, 9}},
    {"$A.2.3.4", false, {9, 9, 9, 9}},
    {"0x1.2.3.4", false, {9, 9, 9, 9}},
    {"1.-.3.4", false, {1, 9, 9, 9}},
    {"1.2.3.2147483648", false, {1, 2, 3, 9}},
    {"-2147483649.2.3.4", false, {9, 9, 9, 9}},
    {"1,5.2.3.4", false, {9, 9, 9, 9}},
};

TEST(DBVersionTest, FromStringParsesComponentsUntilTheFirstFailure)
{
    for (const TParseCase& c : ParseCases) {
        TDBVersion version = V(9, 9, 9, 9);
        EXPECT_EQ(version.FromString(QString::fromLatin1(c.Text)), c.Result) << "text \"" << c.Text << '"';
        EXPECT_TRUE(version.IsSame(c.Expected))
            << "text \"" << c.Text << "\" gave " << S(version) << ", expected " << S(c.Expected);
    }
}

TEST(DBVersionTest, ToStringWritesFourDecimalComponents)
{
    EXPECT_EQ(V(2, 6, 13, 0).ToString(), QStringLiteral("2.6.13.0"));
    EXPECT_EQ(V(-1, 0, 10, 2147483647).ToString(), QStringLiteral("-1.0.10.2147483647"));
    EXPECT_EQ(TDBVersion().ToString(), QStringLiteral("0.0.0.0"));
    TDBVersion back;
    EXPECT_TRUE(back.FromString(V(-5, 40, 0, 7).ToString()));
    EXPECT_TRUE(back.IsSame(V(-5, 40, 0, 7)));
}

struct TCompareCase
{
    TDBVersion Left;
    TDBVersion Right;
    bool LeftIsNewer; // Left.IsOlderAs(Right)
};

const TCompareCase CompareCases[] = {
    {{1, 0, 0, 0}, {1, 0, 0, 0}, false},
    {{1, 0, 0, 1}, {1, 0, 0, 0}, true},
    {{1, 0, 0, 0}, {1, 0, 0, 1}, false},
    {{2, 0, 0, 0}, {1, 9, 9, 9}, true},
    {{1, 9, 9, 9}, {2, 0, 0, 0}, false},
    {{1, 10, 0, 0}, {1, 9, 0, 0}, true}, // numbers, not texts
    {{1, 2, 3, 0}, {1, 2, 2, 99}, true},
    {{1, 2, 2, 99}, {1, 2, 3, 0}, false},
    {{0, 0, 0, 0}, {-1, 5, 5, 5}, true}, // signed
    {{0, 0, 0, -1}, {0, 0, 0, 0}, false},
    {{0, 0, 0, 1}, {0, 0, 0, 0}, true},
};

TEST(DBVersionTest, IsOlderAsIsTrueOnlyForAStrictlyGreaterVersion)
{
    for (const TCompareCase& c : CompareCases) {
        EXPECT_EQ(c.Left.IsOlderAs(c.Right), c.LeftIsNewer) << S(c.Left) << " against " << S(c.Right);
        EXPECT_EQ(c.Left.IsSame(c.Right), !c.LeftIsNewer && !c.Right.IsOlderAs(c.Left))
            << S(c.Left) << " against " << S(c.Right);
    }
}

TEST(DBVersionTest, IsSameComparesEveryComponent)
{
    const TDBVersion base = V(1, 2, 3, 4);
    EXPECT_TRUE(base.IsSame(V(1, 2, 3, 4)));
    for (const TDBVersion& other : {V(0, 2, 3, 4), V(1, 0, 3, 4), V(1, 2, 0, 4), V(1, 2, 3, 0)})
        EXPECT_FALSE(base.IsSame(other)) << S(other);
}

TEST(DBVersionTest, CheckMaxValuesClampsNegativesAndAvoidsTheZeroVersion)
{
    const struct
    {
        TDBVersion Before;
        TDBVersion After;
    } cases[] = {
        {{0, 0, 0, 0}, {0, 0, 0, 1}},
        {{-1, -2, -3, -4}, {0, 0, 0, 1}},
        {{0, 0, 0, 5}, {0, 0, 0, 5}},
        {{0, 0, 1, 0}, {0, 0, 1, 0}},
        {{2, -1, 0, -7}, {2, 0, 0, 0}},
        {{-3, 0, 0, 9}, {0, 0, 0, 9}},
    };
    for (const auto& c : cases) {
        TDBVersion version = c.Before;
        version.CheckMaxValues();
        EXPECT_TRUE(version.IsSame(c.After)) << S(c.Before) << " gave " << S(version);
    }
}

// FromQuery reads the current row of a real result.
class DBVersionQueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FConn.SetProviderName(QStringLiteral("SQLite"));
        FConn.SetDatabase(ScratchDir() + QStringLiteral("/versions.sqlite"));
        FConn.SpecificOptions().SetValue(QStringLiteral("ForceCreateDatabase"), QStringLiteral("True"));
        FConn.SetLoginPrompt(false);
        FConn.ExecSQL(QStringLiteral("create table T (Version1 integer, Version2 integer, Version3 integer, "
                                     "Version4 text, Other integer)"));
    }

    TUniConnection FConn;
};

TEST_F(DBVersionQueryTest, FromQueryReadsTheFourFieldsWithNullAsZero)
{
    FConn.ExecSQL(QStringLiteral("insert into T values (3, NULL, 12, '7', 1)"));
    TUniQuery query(&FConn);
    query.SetSQL(QStringLiteral("select * from T"));
    query.Open();
    TDBVersion version = V(9, 9, 9, 9);
    EXPECT_TRUE(version.FromQuery(query));
    EXPECT_TRUE(version.IsSame(V(3, 0, 12, 7))) << S(version);
}

TEST_F(DBVersionQueryTest, FromQueryStopsAtAMissingFieldOrABadValue)
{
    FConn.ExecSQL(QStringLiteral("insert into T values (3, 4, 5, 'x', 1)"));
    TUniQuery query(&FConn);
    query.SetSQL(QStringLiteral("select Version1, Version2, Version3, Version4 from T"));
    query.Open();
    TDBVersion version = V(9, 9, 9, 9);
    EXPECT_FALSE(version.FromQuery(query));
    EXPECT_TRUE(version.IsSame(V(3, 4, 5, 9))) << S(version);

    query.SetSQL(QStringLiteral("select Version1, Version3, Version4 from T"));
    query.Open();
    version = V(9, 9, 9, 9);
    EXPECT_FALSE(version.FromQuery(query));
    EXPECT_TRUE(version.IsSame(V(3, 9, 9, 9))) << S(version);
}

} // namespace
