// The database access layer's behaviour, run once per database system that can run here.

#include "EUniError.h"
#include "LayerTargets.h"
#include "TestServers.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "TUniSQL.h"
#include "TUniTable.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

class LayerBehaviour : public ::testing::TestWithParam<int>
{
protected:
    void SetUp() override
    {
        const TLayerTarget& target = LayerTargets()[GetParam()];
        QString why;
        if (!target.Setup(Conn, why)) {
            if (ServersRequired())
                FAIL() << target.Name.toStdString() << ": " << why.toStdString();
            GTEST_SKIP() << target.Name.toStdString() << " not available: " << why.toStdString();
        }
        Conn.Connect();
        Conn.ExecSQL(target.CreateTable);
    }

    // Inserts a row through named parameters.
    void InsertRow(int Id, const QVariant& Name, const QVariant& Big = QVariant())
    {
        TUniSQL cmd(&Conn);
        cmd.SetSQL(QStringLiteral("insert into T (ID, Name, Big) values (:ID, :Name, :Big)"));
        cmd.ParamByName(QStringLiteral("ID")).SetAsInteger(Id);
        cmd.ParamByName(QStringLiteral("Name")).SetValue(Name);
        cmd.ParamByName(QStringLiteral("Big")).SetValue(Big);
        cmd.Execute();
    }

    qint64 Count(const QString& Where = QString())
    {
        TUniQuery q(&Conn);
        q.SetSQL(QStringLiteral("select count(*) as N from T") + (Where.isEmpty() ? QString() : QStringLiteral(" where ") + Where));
        q.Open();
        return q.FieldByName(QStringLiteral("N")).AsLargeInt();
    }

    TUniConnection Conn;
};

std::string TargetName(const ::testing::TestParamInfo<int>& Info)
{
    return LayerTargets()[Info.param].Name.toStdString();
}

const QString kUmlauts = QStringLiteral("Jürgen Größe-Ärmel ßÖ € O'Brien \\ x");
const QString kNonBmp = QStringLiteral("Emoji \U0001F600 Zeichen");

TEST_P(LayerBehaviour, FieldTypesOfEveryColumnKind)
{
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from T"));
    q.Open();
    ASSERT_TRUE(q.Eof());
    struct Expected {
        const char* Name;
        TFieldType Type;
        int Size;
    };
    const Expected expected[] = {
        {"ID", ftInteger, 0},    {"Name", ftWideString, 50}, {"Note", ftWideMemo, 0}, {"Big", ftLargeint, 0},
        {"F", ftFloat, 0},       {"Amount", ftBCD, 0},       {"D", ftDate, 0},        {"DT", ftDateTime, 0},
        {"Flag", ftBoolean, 0},  {"Pic", ftBlob, 0},         {"Small", ftSmallint, 0},
    };
    ASSERT_EQ(q.FieldCount(), int(std::size(expected)));
    for (const auto& e : expected) {
        const TField& f = q.FieldByName(QString::fromLatin1(e.Name));
        EXPECT_EQ(FieldTypeName(f.DataType()), FieldTypeName(e.Type)) << e.Name << " native " << f.NativeType().toStdString();
        if (e.Size)
            EXPECT_EQ(f.Size(), e.Size) << e.Name;
    }
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Name")).Required());
    EXPECT_FALSE(q.FieldByName(QStringLiteral("Note")).Required());
}

TEST_P(LayerBehaviour, ValuesSurviveAppendPostAndReadBack)
{
    TUniQuery dst(&Conn);
    dst.SetSQL(QStringLiteral("select * from T where ID=-1"));
    dst.Open();
    const QByteArray picture = QByteArray::fromHex("00ff10275c27220a") + QByteArray(70000, '\x5a');
    const QString rtf = QStringLiteral("{\\rtf1\\ansi {\\fonttbl\\f0 Arial;} Gr\\'fc\\'df\\par}");
    dst.Append();
    dst.FieldByName(QStringLiteral("ID")).SetAsInteger(7);
    dst.FieldByName(QStringLiteral("Name")).SetAsString(kUmlauts);
    dst.FieldByName(QStringLiteral("Note")).SetAsString(rtf + QString(5000, QLatin1Char('x')) + kNonBmp);
    dst.FieldByName(QStringLiteral("Big")).SetAsLargeInt(Q_INT64_C(9007199254740993));
    dst.FieldByName(QStringLiteral("F")).SetAsFloat(0.1 + 0.2);
    dst.FieldByName(QStringLiteral("Amount")).SetValue(QStringLiteral("123456.7891"));
    dst.FieldByName(QStringLiteral("D")).SetValue(QDate(1899, 12, 31));
    dst.FieldByName(QStringLiteral("DT")).SetAsDateTime(QDateTime(QDate(2021, 2, 19), QTime(11, 33, 43), Qt::UTC));
    dst.FieldByName(QStringLiteral("Flag")).SetAsBoolean(true);
    dst.FieldByName(QStringLiteral("Pic")).SetValue(picture);
    dst.FieldByName(QStringLiteral("Small")).SetAsInteger(-32768);
    dst.Post();
    EXPECT_EQ(dst.State(), dsBrowse);

    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from T where ID=:ID"));
    q.ParamByName(QStringLiteral("ID")).SetAsInteger(7);
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Name")).AsString(), kUmlauts);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Note")).AsString(), rtf + QString(5000, QLatin1Char('x')) + kNonBmp);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Big")).AsLargeInt(), Q_INT64_C(9007199254740993));
    EXPECT_EQ(q.FieldByName(QStringLiteral("F")).AsFloat(), 0.1 + 0.2);
    EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("Amount")).AsFloat(), 123456.7891);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Amount")).Value().toString(), QStringLiteral("123456.7891"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("D")).AsDateTime().date(), QDate(1899, 12, 31));
    EXPECT_EQ(q.FieldByName(QStringLiteral("DT")).AsDateTime(), QDateTime(QDate(2021, 2, 19), QTime(11, 33, 43), Qt::UTC));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Flag")).AsBoolean());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Pic")).AsBytes(), picture);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Small")).AsInteger(), -32768);
    q.Next();
    EXPECT_TRUE(q.Eof());
}

TEST_P(LayerBehaviour, NullsReadAsNull)
{
    InsertRow(1, QStringLiteral("nur Name"));
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from T"));
    q.Open();
    for (const char* name : {"Note", "Big", "F", "Amount", "D", "DT", "Flag", "Pic", "Small"}) {
        const TField& f = q.FieldByName(QString::fromLatin1(name));
        EXPECT_TRUE(f.IsNull()) << name;
        EXPECT_EQ(f.AsString(), QString()) << name;
    }
}

TEST_P(LayerBehaviour, RowsStreamInOrderAndFirstRestarts)
{
    for (int i = 1; i <= 250; ++i)
        InsertRow(i, QStringLiteral("Name %1").arg(i), qlonglong(i) * 1000000000);
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select ID, Big from T order by ID"));
    q.Open();
    int expected = 1;
    for (; !q.Eof(); q.Next())
        ASSERT_EQ(q.FieldByName(QStringLiteral("ID")).AsInteger(), expected++);
    EXPECT_EQ(expected, 251);
    q.First();
    EXPECT_FALSE(q.Eof());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Big")).AsLargeInt(), Q_INT64_C(1000000000));
}

TEST_P(LayerBehaviour, QueriesAndCommandsWhileAnotherResultIsBeingRead)
{
    for (int i = 1; i <= 300; ++i)
        InsertRow(i, QStringLiteral("N%1").arg(i));
    TUniQuery outer(&Conn);
    outer.SetSQL(QStringLiteral("select ID from T where ID <= 300 order by ID"));
    outer.Open();
    int seen = 0;
    for (; !outer.Eof(); outer.Next()) {
        ++seen;
        if (seen % 100 == 50) {
            TUniQuery inner(&Conn);
            inner.SetSQL(QStringLiteral("select Name from T where ID=:ID"));
            inner.ParamByName(QStringLiteral("ID")).SetAsInteger(outer.FieldByName(QStringLiteral("ID")).AsInteger());
            inner.Open();
            EXPECT_EQ(inner.FieldByName(QStringLiteral("Name")).AsString(), QStringLiteral("N%1").arg(seen));
            InsertRow(1000 + seen, QStringLiteral("written while reading"));
        }
    }
    EXPECT_EQ(seen, 300);
    EXPECT_EQ(Count(QStringLiteral("ID > 1000")), 3);
}

TEST_P(LayerBehaviour, FailedPostRaisesAndKeepsInsertStateUntilCancel)
{
    InsertRow(1, QStringLiteral("first"));
    TUniQuery dst(&Conn);
    dst.SetSQL(QStringLiteral("select * from T where ID=-1"));
    dst.Open();
    dst.Append();
    dst.FieldByName(QStringLiteral("ID")).SetAsInteger(1);
    dst.FieldByName(QStringLiteral("Name")).SetAsString(QStringLiteral("duplicate"));
    try {
        dst.Post();
        FAIL() << "a duplicate key must not post";
    } catch (const EUniError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_EQ(dst.State(), dsInsert);
    dst.Cancel();
    EXPECT_EQ(dst.State(), dsBrowse);
    EXPECT_EQ(Count(), 1);
}

TEST_P(LayerBehaviour, RequiredFieldWithoutValueIsRefusedBeforeTheDatabaseIsAsked)
{
    TUniQuery dst(&Conn);
    dst.SetSQL(QStringLiteral("select * from T where ID=-1"));
    dst.Open();
    dst.Append();
    dst.FieldByName(QStringLiteral("ID")).SetAsInteger(3);
    EXPECT_THROW(dst.Post(), EUniError);
    dst.FieldByName(QStringLiteral("Name")).SetRequired(false);
    EXPECT_THROW(dst.Post(), EUniError) << "the database itself refuses the NULL";
    dst.Cancel();
    EXPECT_EQ(Count(), 0);
}

TEST_P(LayerBehaviour, EditAndPostUpdateTheRowByItsKey)
{
    InsertRow(1, QStringLiteral("alt"));
    InsertRow(2, QStringLiteral("bleibt"));
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from T where ID=1"));
    q.Open();
    q.Edit();
    EXPECT_EQ(q.State(), dsEdit);
    q.FieldByName(QStringLiteral("Name")).SetAsString(QStringLiteral("neu"));
    q.Post();
    EXPECT_EQ(Count(QStringLiteral("Name='neu'")), 1);
    EXPECT_EQ(Count(QStringLiteral("Name='bleibt'")), 1);
}

TEST_P(LayerBehaviour, ExplicitTransactionsCommitAndRollBack)
{
    Conn.StartTransaction();
    EXPECT_TRUE(Conn.InTransaction());
    InsertRow(1, QStringLiteral("verworfen"));
    Conn.Rollback();
    EXPECT_FALSE(Conn.InTransaction());
    EXPECT_EQ(Count(), 0);
    Conn.StartTransaction();
    InsertRow(2, QStringLiteral("behalten"));
    Conn.Commit();
    EXPECT_EQ(Count(), 1);
}

TEST_P(LayerBehaviour, AutoCommitOffKeepsChangesInAnOpenTransaction)
{
    Conn.SetAutoCommit(false);
    InsertRow(1, QStringLiteral("offen"));
    EXPECT_TRUE(Conn.InTransaction());
    Conn.Rollback();
    EXPECT_EQ(Count(), 0);
    InsertRow(2, QStringLiteral("offen"));
    Conn.SetAutoCommit(true);
    EXPECT_FALSE(Conn.InTransaction());
    Conn.Disconnect();
    EXPECT_EQ(Count(), 1) << "switching AutoCommit on commits the open transaction";
}

TEST_P(LayerBehaviour, CommandErrorsCarryTheDatabaseMessage)
{
    InsertRow(1, QStringLiteral("eins"));
    try {
        Conn.ExecSQL(QStringLiteral("selec * fron T"));
        FAIL() << "syntax error expected";
    } catch (const EUniError& e) {
        EXPECT_FALSE(e.Message().isEmpty());
    }
    EXPECT_THROW(InsertRow(1, QStringLiteral("doppelt")), EUniError);
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from NoSuchTable"));
    EXPECT_THROW(q.Open(), EUniError);
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(Count(), 1) << "the connection stays usable";
}

TEST_P(LayerBehaviour, RowsAffectedAndKeyFields)
{
    for (int i = 1; i <= 5; ++i)
        InsertRow(i, QStringLiteral("x"));
    TUniSQL cmd(&Conn);
    cmd.SetSQL(QStringLiteral("update T set Name='y' where ID > 2"));
    cmd.Execute();
    EXPECT_EQ(cmd.RowsAffected(), 3);
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("delete from T where ID = 99"));
    q.ExecSQL();
    EXPECT_EQ(q.RowsAffected(), 0);

    TUniTable table(&Conn);
    table.SetTableName(QStringLiteral("T"));
    table.Prepare();
    table.Open();
    const QStringList keys = table.KeyFieldNames();
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0].toUpper(), QStringLiteral("ID"));
}

TEST_P(LayerBehaviour, DataTypeMapRuleOverridesTheFieldType)
{
    InsertRow(1, QStringLiteral("x"), qlonglong(5));
    Conn.DataTypeMap().AddDBTypeRule(Conn.ProviderName(), QStringLiteral("Bigint"), ftInteger, false);
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select Big from T"));
    q.Open();
    EXPECT_EQ(q.FieldByName(QStringLiteral("Big")).DataType(), ftInteger);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Big")).AsInteger(), 5);
}

TEST_P(LayerBehaviour, DisconnectClosesTheDatasets)
{
    InsertRow(1, QStringLiteral("x"));
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from T"));
    q.Open();
    Conn.Disconnect();
    EXPECT_FALSE(q.Active());
    q.Open(); // connects again on demand
    EXPECT_FALSE(q.Eof());
}

INSTANTIATE_TEST_SUITE_P(Databases, LayerBehaviour, ::testing::Range(0, 3), TargetName);

} // namespace
