// Access files read through the connection's "Access" provider.

#include "AccessFixtures.h"
#include "EUniError.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "TUniTable.h"

#include <gtest/gtest.h>

namespace {

class AccessProvider : public ::testing::Test
{
protected:
    void Open(const QString& Path)
    {
        Conn.SetProviderName(QStringLiteral("Access"));
        Conn.SetDatabase(Path);
        Conn.SetUsername(QStringLiteral("Administrator"));
        Conn.SetPassword(QStringLiteral("wombel"));
        Conn.SetLoginPrompt(false);
        Conn.Connect();
    }
    QTemporaryDir Dir;
    TUniConnection Conn;
};

TEST_F(AccessProvider, TablesRowCountsAndFieldTypesOfBothFileFormats)
{
    struct Case {
        const char* File;
        const char* Table;
        qint64 Rows;
    };
    for (const Case& c : {Case{"DateTestDatabase.mdb", "DateTest", 6}, Case{"ASampleDatabase.accdb", "Asset Items", 65}}) {
        TUniConnection conn;
        conn.SetProviderName(QStringLiteral("Access"));
        conn.SetDatabase(AccessFixtureCopy(Dir, QString::fromLatin1(c.File)));
        EXPECT_EQ(conn.GetTableNames(), QStringList{QString::fromLatin1(c.Table)}) << c.File;
        TUniQuery q(&conn);
        q.SetSQL(QStringLiteral("select count(*) as N from [%1]").arg(QLatin1String(c.Table)));
        q.Open();
        EXPECT_EQ(q.FieldByName(QStringLiteral("N")).AsLargeInt(), c.Rows) << c.File;
    }

    Open(AccessFixtureCopy(Dir, QStringLiteral("ASampleDatabase.accdb")));
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from [Asset Items] where [Asset No] = :No"));
    q.ParamByName(QStringLiteral("No")).SetAsString(QStringLiteral("30050"));
    q.Open();
    ASSERT_FALSE(q.Eof());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Asset No")).DataType(), ftWideString);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Asset No")).Size(), 5);
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Asset No")).Required());
    EXPECT_EQ(q.FieldByName(QStringLiteral("Cost")).DataType(), ftCurrency);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Cost")).Value().toString(), QStringLiteral("1995.5000"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Warranty")).DataType(), ftInteger);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Warranty")).AsInteger(), 12);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Acquired")).DataType(), ftDateTime);
    EXPECT_EQ(q.FieldByName(QStringLiteral("Acquired")).AsDateTime().date(), QDate(1997, 9, 2));
    EXPECT_EQ(q.FieldByName(QStringLiteral("Comments")).DataType(), ftWideMemo);
    EXPECT_TRUE(q.FieldByName(QStringLiteral("Comments")).IsNull());

    TUniTable table(&Conn);
    table.SetTableName(QStringLiteral("[Asset Items]"));
    EXPECT_EQ(table.KeyFieldNames(), QStringList{QStringLiteral("Asset No")});
}

TEST_F(AccessProvider, UmlautsTimesMemosAndAutoNumber)
{
    Open(PatchedDateTestCopy(Dir));
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from DateTest where IDCol in (1, 2) order by IDCol"));
    q.Open();
    EXPECT_EQ(q.FieldByName(QStringLiteral("IDCol")).DataType(), ftAutoInc);
    EXPECT_EQ(q.FieldByName(QStringLiteral("LongTextCol")).DataType(), ftWideMemo);
    EXPECT_EQ(q.FieldByName(QStringLiteral("TimeCol")).DataType(), ftBoolean);
    EXPECT_EQ(q.FieldByName(QStringLiteral("IDCol")).AsInteger(), 1);
    EXPECT_EQ(q.FieldByName(QStringLiteral("DateTimeCol")).AsDateTime(),
              QDateTime(QDate(2021, 12, 2), QTime(10, 15, 30), Qt::UTC));
    EXPECT_EQ(q.FieldByName(QStringLiteral("DateCol")).AsDateTime(), QDateTime(QDate(1899, 12, 29), QTime(6, 0), Qt::UTC));
    EXPECT_EQ(q.FieldByName(QStringLiteral("LongTextCol")).AsString(), QStringLiteral("Hällo"));
    EXPECT_TRUE(q.FieldByName(QStringLiteral("TimeCol")).AsBoolean());
    q.Next();
    EXPECT_EQ(q.FieldByName(QStringLiteral("ShörtTextCol")).AsString(), QStringLiteral("Y€1999"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("DateTimeCol")).AsDateTime().date(), QDate(9999, 1, 1));
}

TEST_F(AccessProvider, ChangesAreRefusedAndTheFileStaysAsItWas)
{
    const QString path = AccessFixtureCopy(Dir, QStringLiteral("DateTestDatabase.mdb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    Open(path);
    try {
        Conn.ExecSQL(QStringLiteral("delete from DateTest"));
        FAIL() << "an Access file must not be written here";
    } catch (const EUniError& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Access files can only be read on this system; the change was not made to %1").arg(path));
    }
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select * from DateTest"));
    q.Open();
    q.Append();
    q.FieldByName(QStringLiteral("IDCol")).SetAsInteger(99);
    EXPECT_THROW(q.Post(), EUniError);
    q.Cancel();
    Conn.Disconnect();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(AccessProvider, MissingAndBrokenFilesFailAtConnect)
{
    Conn.SetProviderName(QStringLiteral("Access"));
    Conn.SetDatabase(Dir.filePath(QStringLiteral("fehlt.mdb")));
    try {
        Conn.Connect();
        FAIL();
    } catch (const EUniError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("The database file \"%1\" does not exist").arg(Conn.Database()));
    }
    QFile text(Dir.filePath(QStringLiteral("text.mdb")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("no Access file");
    text.close();
    Conn.SetDatabase(text.fileName());
    EXPECT_THROW(Conn.Connect(), EUniError);
    EXPECT_FALSE(Conn.Connected());
}

} // namespace
