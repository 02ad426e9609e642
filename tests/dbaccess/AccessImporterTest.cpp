#include "EUniError.h"
#include "AccessFixtures.h"
#include "TAccessImporter.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <bit>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// A value as SQLite stores it: "text:Hello", "integer:12", "real:1.5", "blob:<hex>" or "null".
QString Rendered(sqlite3_stmt* Stmt, int Column)
{
    switch (sqlite3_column_type(Stmt, Column)) {
    case SQLITE_INTEGER:
        return QStringLiteral("integer:%1").arg(sqlite3_column_int64(Stmt, Column));
    case SQLITE_FLOAT:
        return QStringLiteral("real:%1").arg(sqlite3_column_double(Stmt, Column), 0, 'g', 17);
    case SQLITE_TEXT:
        return QStringLiteral("text:") + QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(Stmt, Column)),
                                                           sqlite3_column_bytes(Stmt, Column));
    case SQLITE_BLOB:
        return QStringLiteral("blob:") +
               QString::fromLatin1(QByteArray(static_cast<const char*>(sqlite3_column_blob(Stmt, Column)),
                                              sqlite3_column_bytes(Stmt, Column))
                                       .toHex());
    default:
        return QStringLiteral("null");
    }
}

class AccessImporter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(FDir.isValid());
        ASSERT_EQ(sqlite3_open(":memory:", &FDb), SQLITE_OK);
    }
    void TearDown() override { sqlite3_close(FDb); }

    QString CopyOf(const QString& Name, const QList<TPatch>& Patches = {})
    {
        return AccessFixtureCopy(FDir, Name, Patches);
    }

    void Import(const QString& Path)
    {
        try {
            ImportAccessFile(Path, FDb);
        } catch (const EUniError& E) {
            FAIL() << qPrintable(E.Message());
        }
    }

    // Each row of the query's result, its values rendered and joined by " | ".
    QStringList Rows(const QString& Sql)
    {
        sqlite3_stmt* Stmt = nullptr;
        const QByteArray Utf8 = Sql.toUtf8();
        EXPECT_EQ(sqlite3_prepare_v2(FDb, Utf8.constData(), -1, &Stmt, nullptr), SQLITE_OK) << sqlite3_errmsg(FDb);
        QStringList Result;
        while (Stmt && sqlite3_step(Stmt) == SQLITE_ROW) {
            QStringList Values;
            for (int I = 0; I < sqlite3_column_count(Stmt); ++I)
                Values << Rendered(Stmt, I);
            Result << Values.join(QStringLiteral(" | "));
        }
        sqlite3_finalize(Stmt);
        return Result;
    }

    // name, declared type, NOT NULL, position in the primary key - per column.
    QStringList Columns(const QString& Table)
    {
        QStringList Result;
        for (const QString& Row : Rows(QStringLiteral("SELECT name, type, \"notnull\", pk FROM pragma_table_info('%1')").arg(Table)))
            Result << QString(Row).remove(QStringLiteral("text:")).remove(QStringLiteral("integer:"));
        return Result;
    }

    QTemporaryDir FDir;
    sqlite3* FDb = nullptr;
};

TEST_F(AccessImporter, ReadsTheUserTablesWithAllTheirRows)
{
    struct TCase {
        const char* File;
        QString Table;
        int RowCount;
    };
    const TCase Cases[] = {
        {"DateTestDatabase.mdb", QStringLiteral("DateTest"), 6},
        {"ASampleDatabase.accdb", QStringLiteral("Asset Items"), 65},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.File);
        ASSERT_EQ(sqlite3_exec(FDb, "DROP TABLE IF EXISTS \"DateTest\"; DROP TABLE IF EXISTS \"Asset Items\"", nullptr, nullptr, nullptr), SQLITE_OK);
        Import(CopyOf(QString::fromLatin1(Case.File)));
        // Neither the MSys tables nor hidden system tables such as f_..._Data.
        EXPECT_EQ(Rows(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'")),
                  QStringList{QStringLiteral("text:") + Case.Table});
        EXPECT_EQ(Rows(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(Case.Table)),
                  QStringList{QStringLiteral("integer:%1").arg(Case.RowCount)});
    }
}

TEST_F(AccessImporter, DeclaresTheAccessTypesAndThePrimaryKey)
{
    Import(CopyOf(QStringLiteral("ASampleDatabase.accdb")));
    EXPECT_EQ(Columns(QStringLiteral("Asset Items")),
              (QStringList{
                  "Asset No | TEXT(5) | 1 | 1", "Asset Category | TEXT(20) | 0 | 0", "Make | TEXT(25) | 0 | 0",
                  "Model | TEXT(25) | 0 | 0", "Description | TEXT(40) | 0 | 0", "Owner | TEXT(20) | 0 | 0",
                  "Serial No | TEXT(15) | 0 | 0", "Acquired | DATETIME | 0 | 0", "Cost | CURRENCY_TEXT | 0 | 0",
                  "Warranty | LONG | 0 | 0", "Tax Scale | TEXT(1) | 0 | 0", "Supplier No | TEXT(5) | 0 | 0",
                  "Comments | MEMO_TEXT | 0 | 0"}));
    EXPECT_EQ(Rows(QStringLiteral("SELECT sql LIKE '%, PRIMARY KEY (\"Asset No\"))' FROM sqlite_master "
                                  "WHERE name = 'Asset Items'")),
              QStringList{"integer:1"});

    Import(CopyOf(QStringLiteral("DateTestDatabase.mdb")));
    EXPECT_EQ(Columns(QStringLiteral("DateTest")),
              (QStringList{"IDCol | LONG | 0 | 0", "DateTimeCol | DATETIME | 0 | 0", "DateCol | DATETIME | 0 | 0",
                           "TimeCol | DATETIME | 0 | 0", "LongTextCol | MEMO_TEXT | 0 | 0",
                           "ShortTextCol | TEXT(255) | 0 | 0"}));
}

TEST_F(AccessImporter, ReadsDatesTextsAndMemosExactly)
{
    Import(CopyOf(QStringLiteral("DateTestDatabase.mdb")));
    // Access's own date range reaches far beyond what libmdb's date formatting handles.
    EXPECT_EQ(Rows(QStringLiteral("SELECT * FROM DateTest ORDER BY IDCol")),
              (QStringList{
                  "integer:1 | text:2021-12-02 00:00:00 | text:2021-12-02 00:00:00 | text:2021-12-02 00:00:00 | "
                  "text:Hello | text:Hello",
                  "integer:2 | text:9999-01-01 00:00:00 | text:9999-01-01 00:00:00 | text:9999-01-01 00:00:00 | "
                  "text:Year 9999 | text:Year 1999",
                  "integer:3 | text:1898-01-01 00:00:00 | text:1899-01-01 00:00:00 | text:1900-01-01 00:00:00 | "
                  "text:Pre-1900 years | text:Pre-1900 years",
                  "integer:4 | text:0632-01-01 00:00:00 | text:0633-01-01 00:00:00 | text:0634-01-01 00:00:00 | "
                  "text:Pre-1000 years | text:Pre-1000 years",
                  "integer:5 | text:2021-12-02 00:00:00 | text:2021-12-02 00:00:00 | text:2021-12-02 00:00:00 | "
                  "text:Escaped new line \\r\\n in field | text:Escaped new line \\r\\n in field",
                  "integer:6 | text:2021-12-02 00:00:00 | text:2021-12-02 00:00:00 | text:2021-12-02 00:00:00 | "
                  "text:New line\r\nin field | text:No new line"}));
}

TEST_F(AccessImporter, ReadsCurrencyNumbersAndNullMemos)
{
    Import(CopyOf(QStringLiteral("ASampleDatabase.accdb")));
    EXPECT_EQ(Rows(QStringLiteral("SELECT \"Asset No\", \"Serial No\", Acquired, Warranty, \"Tax Scale\", Comments "
                                  "FROM \"Asset Items\" WHERE \"Asset No\" IN ('30050', '30055') ORDER BY 1")),
              (QStringList{"text:30050 | text:344-667 | text:1997-09-02 00:00:00 | integer:12 | text:A | null",
                           "text:30055 | text:665-344-55 | text:1998-12-12 00:00:00 | integer:24 | text:A | null"}));
    // Amounts stay exact decimal text.
    EXPECT_EQ(Rows(QStringLiteral("SELECT Cost FROM \"Asset Items\" WHERE \"Asset No\" = '30050'")),
              QStringList{"text:1995.5000"});
    EXPECT_EQ(Rows(QStringLiteral("SELECT sum(Cost), count(Comments), min(Acquired), max(Acquired) FROM \"Asset Items\"")),
              QStringList{"real:98164.5 | integer:0 | text:1997-09-02 00:00:00 | text:1999-10-27 00:00:00"});
}

TEST_F(AccessImporter, ReadsUnicodeTimesAutoNumbersAndYesNo)
{
    const QString Path = PatchedDateTestCopy(FDir);
    Import(Path);
    EXPECT_EQ(Columns(QStringLiteral("DateTest")),
              (QStringList{"IDCol | AUTOINCREMENT | 0 | 0", "DateTimeCol | DATETIME | 0 | 0",
                           "DateCol | DATETIME | 0 | 0", "TimeCol | BOOLEAN | 0 | 0", "LongTextCol | MEMO_TEXT | 0 | 0",
                           QStringLiteral("ShörtTextCol | TEXT(255) | 0 | 0")}));
    EXPECT_EQ(Rows(QStringLiteral("SELECT IDCol, DateTimeCol, DateCol, TimeCol, LongTextCol, \"ShörtTextCol\" FROM DateTest "
                                  "WHERE IDCol IN (1, 2) ORDER BY IDCol")),
              (QStringList{QStringLiteral("integer:1 | text:2021-12-02 10:15:30 | text:1899-12-29 06:00:00 | integer:1 | "
                                          "text:Hällo | text:Hällo"),
                           QStringLiteral("integer:2 | text:9999-01-01 00:00:00 | text:9999-01-01 00:00:00 | "
                                          "integer:1 | text:Year 9999 | text:Y€1999")}));
}

TEST_F(AccessImporter, RefusesWhatIsNoReadableAccessFile)
{
    const QString TextFile = FDir.filePath(QStringLiteral("notes.mdb"));
    QFile Text(TextFile);
    ASSERT_TRUE(Text.open(QIODevice::WriteOnly));
    Text.write("Standard Jet DB? no, just a text file\n");
    Text.close();
    const QString EmptyFile = FDir.filePath(QStringLiteral("empty.accdb"));
    QFile(EmptyFile).open(QIODevice::WriteOnly);
    // Cut off in the middle of a page, as by an interrupted copy.
    const QString CutFile = FDir.filePath(QStringLiteral("cut.mdb"));
    QFile Cut(CutFile);
    ASSERT_TRUE(Cut.open(QIODevice::WriteOnly));
    QFile Whole(FixtureDir + QStringLiteral("DateTestDatabase.mdb"));
    ASSERT_TRUE(Whole.open(QIODevice::ReadOnly));
    Cut.write(Whole.read(50000));
    Cut.close();

    const struct {
        QString Path;
        QString Reason;
    } Cases[] = {
        {FDir.filePath(QStringLiteral("missing.mdb")), QStringLiteral("Datei nicht gefunden")},
        {FDir.path(), QStringLiteral("keine Datei")},
        {TextFile, QStringLiteral("keine Access-Datenbank")},
        {EmptyFile, QStringLiteral("keine Access-Datenbank")},
        {CutFile, QStringLiteral("Datei ist unvollständig")},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(qPrintable(Case.Path));
        try {
            ImportAccessFile(Case.Path, FDb);
            ADD_FAILURE() << "no error";
        } catch (const EUniError& E) {
            EXPECT_EQ(E.Message(), QStringLiteral("Access-Datei kann nicht gelesen werden: %1: %2").arg(Case.Path, Case.Reason));
        }
        EXPECT_EQ(Rows(QStringLiteral("SELECT count(*) FROM sqlite_master")), QStringList{"integer:0"});
        EXPECT_TRUE(sqlite3_get_autocommit(FDb));
    }
}

TEST_F(AccessImporter, RollsBackWhenSQLiteRefuses)
{
    ASSERT_EQ(sqlite3_exec(FDb, "CREATE TABLE \"Asset Items\" (x)", nullptr, nullptr, nullptr), SQLITE_OK);
    try {
        ImportAccessFile(CopyOf(QStringLiteral("ASampleDatabase.accdb")), FDb);
        ADD_FAILURE() << "no error";
    } catch (const EUniError& E) {
        EXPECT_TRUE(E.Message().endsWith(QStringLiteral("ASampleDatabase.accdb: table \"Asset Items\" already exists")))
            << qPrintable(E.Message());
        EXPECT_EQ(E.ErrorCode(), SQLITE_ERROR);
    }
    EXPECT_TRUE(sqlite3_get_autocommit(FDb));
    EXPECT_EQ(Columns(QStringLiteral("Asset Items")), QStringList{"x |  | 0 | 0"});
}

} // namespace
