#include "uIDMapper.h"

#include <gtest/gtest.h>

namespace {

TEST(IDMapper, UnknownTableOrIdentifierGivesMinusOne)
{
    TIDMapper mapper;
    EXPECT_EQ(mapper.IndexOfTable(QStringLiteral("K_Datenschutz")), -1);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 1), -1);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_Datenschutz"), 1), -1);

    mapper.Add(QStringLiteral("K_Datenschutz"), 1, 10);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 2), -1);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_Datenschutz"), 1), -1);
    // An identifier known in one table is not found through another.
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Ankreuzfloskeln"), 1), -1);
    EXPECT_EQ(mapper.IndexOfTable(QStringLiteral("K_Ankreuzfloskeln")), -1);
}

TEST(IDMapper, TablesAreKeptApartAndNamedIgnoringCase)
{
    TIDMapper mapper;
    mapper.Add(QStringLiteral("K_Datenschutz"), 1, 10);
    mapper.Add(QStringLiteral("K_Ankreuzfloskeln"), 1, 20);
    mapper.Add(QStringLiteral("k_datenschutz"), 2, 11);
    mapper.Add(QStringLiteral("K_DATENSCHUTZ"), 3, 12);

    EXPECT_EQ(mapper.IndexOfTable(QStringLiteral("K_Datenschutz")), 0);
    EXPECT_EQ(mapper.IndexOfTable(QStringLiteral("k_ankreuzfloskeln")), 1);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 1), 10);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Ankreuzfloskeln"), 1), 20);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 2), 11);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("k_DatenSchutz"), 3), 12);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_ANKREUZFLOSKELN"), 20), 1);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_Datenschutz"), 12), 3);
}

TEST(IDMapper, FirstOfSeveralEntriesWins)
{
    TIDMapper mapper;
    mapper.Add(QStringLiteral("K_Datenschutz"), 5, 50);
    mapper.Add(QStringLiteral("K_Datenschutz"), 5, 51);
    mapper.Add(QStringLiteral("K_Datenschutz"), 6, 50);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 5), 50);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_Datenschutz"), 50), 5);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_Datenschutz"), 51), 5);
}

// The run treats results not greater than 0 as no mapping; the mapper itself hands back what it got.
TEST(IDMapper, ZeroAndNegativeIdentifiersAreMappingsLikeAnyOther)
{
    TIDMapper mapper;
    mapper.Add(QStringLiteral("K_Datenschutz"), 7, 0);
    mapper.Add(QStringLiteral("K_Datenschutz"), 0, 70);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 7), 0);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 0), 70);
    EXPECT_EQ(mapper.SrcIDfromDstID(QStringLiteral("K_Datenschutz"), 0), 7);
}

TEST(IDMapper, ClearForgetsTablesAndEntries)
{
    TIDMapper mapper;
    mapper.Add(QStringLiteral("K_Datenschutz"), 1, 10);
    mapper.Add(QStringLiteral("K_Ankreuzfloskeln"), 2, 20);
    mapper.Clear();
    EXPECT_EQ(mapper.IndexOfTable(QStringLiteral("K_Datenschutz")), -1);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Datenschutz"), 1), -1);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Ankreuzfloskeln"), 2), -1);

    // Positions start again at 0, so old entries would be found under the new first table.
    mapper.Add(QStringLiteral("K_Ankreuzfloskeln"), 3, 30);
    EXPECT_EQ(mapper.IndexOfTable(QStringLiteral("K_Ankreuzfloskeln")), 0);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Ankreuzfloskeln"), 2), -1);
    EXPECT_EQ(mapper.DstIDfromSrcID(QStringLiteral("K_Ankreuzfloskeln"), 3), 30);
}

} // namespace
