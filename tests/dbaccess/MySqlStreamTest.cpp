#include "EUniError.h"
#include "TMySqlStream.h"
#include "TestServers.h"

#include <QDateTime>
#include <QFile>
#include <QHash>
#include <QMap>
#include <QSqlError>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <limits>
#include <optional>

namespace {

std::string Show(const QVariant& Value)
{
    const QString Text = Value.typeId() == QMetaType::QByteArray ? QString::fromLatin1(Value.toByteArray().toHex())
                                                                 : Value.toString();
    return QStringLiteral("%1(%2)%3")
        .arg(QString::fromLatin1(Value.typeName() ? Value.typeName() : "invalid"), Text,
             Value.isNull() ? QStringLiteral(" null") : QString())
        .toStdString();
}

QVariant Null(QMetaType::Type Type)
{
    return QVariant(QMetaType(Type));
}

QDateTime Naive(QDate Date, QTime Time)
{
    return QDateTime(Date, Time, Qt::UTC);
}

// The peak resident memory of this process in kB, and a reset of that peak to the current use.
std::optional<qint64> PeakResidentKb()
{
    QFile Status(QStringLiteral("/proc/self/status"));
    if (!Status.open(QIODevice::ReadOnly))
        return std::nullopt;
    for (const QByteArray& Line : Status.readAll().split('\n'))
        if (Line.startsWith("VmHWM:"))
            return Line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return std::nullopt;
}

bool ResetPeakResident()
{
    QFile ClearRefs(QStringLiteral("/proc/self/clear_refs"));
    return ClearRefs.open(QIODevice::WriteOnly) && ClearRefs.write("5") == 1;
}

// One QMYSQL connection to a fresh database per test, its handle used by the streams.
class MySqlStreamTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_SERVER(FreshMariaDBDatabase(FServer, why));
        FDb = Connect(QStringLiteral("MySqlStreamTest"));
        ASSERT_TRUE(FDb.isOpen()) << FDb.lastError().text().toStdString();
        FHandle = TMySqlStream::HandleOf(FDb);
        ASSERT_NE(FHandle, nullptr);
    }

    void TearDown() override
    {
        for (const QString& Name : {QStringLiteral("MySqlStreamTest"), QStringLiteral("MySqlStreamTestOther")}) {
            if (!QSqlDatabase::contains(Name))
                continue;
            QSqlDatabase::database(Name, false).close();
            if (Name == FDb.connectionName())
                FDb = QSqlDatabase();
            QSqlDatabase::removeDatabase(Name);
        }
    }

    QSqlDatabase Connect(const QString& Name)
    {
        QSqlDatabase Db = AddQtDatabase(QStringLiteral("QMYSQL"), FServer, Name);
        if (Db.open())
            QSqlQuery(QStringLiteral("SET NAMES utf8mb4"), Db);
        return Db;
    }

    // Runs Sql through Qt's own driver; the result tells whether it succeeded.
    QSqlError QtExec(const QString& Sql)
    {
        QSqlQuery Query(FDb);
        Query.exec(Sql);
        return Query.lastError();
    }

    void Exec(const QString& Sql)
    {
        const QSqlError Error = QtExec(Sql);
        ASSERT_FALSE(Error.isValid()) << Sql.toStdString() << ": " << Error.text().toStdString();
    }

    // The handle takes the next statement. Checked with a stream, as Qt's driver reads off
    // leftover results itself before it runs a statement.
    void ExpectReady()
    {
        try {
            TMySqlStream Next(FHandle, "SELECT 1");
            QVector<QVariant> Row;
            ASSERT_TRUE(Next.Fetch(Row));
            EXPECT_EQ(Row, QVector<QVariant>{qlonglong(1)});
            EXPECT_FALSE(Next.Fetch(Row));
        } catch (const EUniError& Error) {
            ADD_FAILURE() << "connection not ready: " << Error.Message().toStdString();
        }
    }

    // A table of N rows (n = 1..N, s = 100 characters) filled by the server itself. Tables are
    // temporary, so that tests running side by side on one database do not meet.
    void CreateNumbers(const QString& Table, int N)
    {
        Exec(QStringLiteral("CREATE TEMPORARY TABLE %1 (n INT NOT NULL PRIMARY KEY, s VARCHAR(100) NOT NULL)")
                 .arg(Table));
        Exec(QStringLiteral("SET SESSION max_recursive_iterations = %1").arg(N));
        Exec(QStringLiteral("INSERT INTO %1 (n, s) WITH RECURSIVE seq(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM "
                            "seq WHERE n < %2) SELECT n, REPEAT('x', 100) FROM seq")
                 .arg(Table)
                 .arg(N));
    }

    TTestServer FServer;
    QSqlDatabase FDb;
    MYSQL* FHandle = nullptr;
};

const char* TypesTable = R"(CREATE TEMPORARY TABLE mss_types (
    id INT NOT NULL AUTO_INCREMENT PRIMARY KEY,
    c_varchar VARCHAR(20) NOT NULL,
    c_latin1 VARCHAR(10) CHARACTER SET latin1,
    c_char CHAR(5),
    c_bool TINYINT(1),
    c_tinyint TINYINT,
    c_utinyint TINYINT UNSIGNED,
    c_smallint SMALLINT,
    c_mediumint MEDIUMINT,
    c_int INT,
    c_uint INT UNSIGNED,
    c_bigint BIGINT,
    c_ubigint BIGINT UNSIGNED,
    c_float FLOAT,
    c_double DOUBLE,
    c_decimal DECIMAL(19,4),
    c_udecimal DECIMAL(10,0) UNSIGNED,
    c_date DATE,
    c_time TIME,
    c_datetime DATETIME(3),
    c_timestamp TIMESTAMP NULL,
    c_year YEAR,
    c_bit1 BIT(1),
    c_bit9 BIT(9),
    c_tinytext TINYTEXT,
    c_text TEXT,
    c_mediumtext MEDIUMTEXT,
    c_longtext LONGTEXT,
    c_tinyblob TINYBLOB,
    c_blob BLOB,
    c_mediumblob MEDIUMBLOB,
    c_longblob LONGBLOB,
    c_binary BINARY(4),
    c_varbinary VARBINARY(8),
    c_enum ENUM('rot','grün'),
    c_set SET('a','b','c'),
    c_json JSON
) CHARACTER SET utf8mb4)";

// Row 1 holds ordinary and extreme values, row 2 NULLs, rows 3 and 4 the values that do not fit
// the column's usual value type (zero dates, durations beyond a day, the signed BIGINT range).
const char* TypesRows = R"(INSERT INTO mss_types (id, c_varchar, c_latin1, c_char, c_bool, c_tinyint,
    c_utinyint, c_smallint, c_mediumint, c_int, c_uint, c_bigint, c_ubigint, c_float, c_double, c_decimal,
    c_udecimal, c_date, c_time, c_datetime, c_timestamp, c_year, c_bit1, c_bit9, c_tinytext, c_text,
    c_mediumtext, c_longtext, c_tinyblob, c_blob, c_mediumblob, c_longblob, c_binary, c_varbinary, c_enum,
    c_set, c_json) VALUES
(1, 'Grüße 😀', 'Äpfel', 'ab', 1, -128, 255, -32768, 8388607, -2147483648, 4294967295,
    -9223372036854775808, 18446744073709551615, 1.5, -1234.5678901234, 123456789012345.6789, 9999999999,
    '2024-02-29', '13:45:07', '2024-12-31 23:59:58.123', '2023-06-15 08:30:00', 2024, b'1', b'100000001',
    'Öl', 'Straße', 'ß𝄞', 'lang ü', X'00FF', X'0102', X'', X'FF00FF', X'0102', X'00FF', 'grün', 'c,a',
    '{"k": "ü"}'),
(2, '', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL),
(3, 'x', NULL, NULL, 0, 127, 0, 32767, -8388608, 2147483647, 0, 9223372036854775807, 9223372036854775807,
    NULL, NULL, -0.0001, 0, '0000-00-00', '100:00:00', '0000-00-00 00:00:00', NULL, NULL, b'0', b'0',
    NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, '', NULL),
(4, 'y', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 9223372036854775808, NULL, NULL, NULL,
    NULL, NULL, '-01:30:00', '2000-01-01 00:00:00.999', NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL,
    NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL))";

class MySqlStreamTypesTest : public MySqlStreamTest
{
protected:
    void SetUp() override
    {
        MySqlStreamTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Exec(QStringLiteral("SET SESSION sql_mode = 'STRICT_ALL_TABLES'"));
        Exec(QString::fromUtf8(TypesTable));
        // The rows go through the stream's own path for statements without result set.
        TMySqlStream Insert(FHandle, QByteArray(TypesRows));
        EXPECT_FALSE(Insert.HasResult());
        EXPECT_EQ(Insert.AffectedRows(), 4);
        QVector<QVariant> Row;
        EXPECT_FALSE(Insert.Fetch(Row));
    }
};

struct TColumnCase {
    const char* Name;
    const char* NativeType;
    TFieldType DataType;
    int Size;
    bool Required = false;
    bool AutoIncrement = false;
};

TEST_F(MySqlStreamTypesTest, DescribesEveryColumnType)
{
    const TColumnCase Cases[] = {
        {"id", "INT", ftAutoInc, 0, true, true},
        {"c_varchar", "VARCHAR", ftWideString, 20, true},
        {"c_latin1", "VARCHAR", ftWideString, 10},
        {"c_char", "CHAR", ftWideString, 5},
        {"c_bool", "TINYINT", ftBoolean, 0},
        {"c_tinyint", "TINYINT", ftSmallint, 0},
        {"c_utinyint", "TINYINT UNSIGNED", ftSmallint, 0},
        {"c_smallint", "SMALLINT", ftSmallint, 0},
        {"c_mediumint", "MEDIUMINT", ftInteger, 0},
        {"c_int", "INT", ftInteger, 0},
        {"c_uint", "INT UNSIGNED", ftLargeint, 0},
        {"c_bigint", "BIGINT", ftLargeint, 0},
        {"c_ubigint", "BIGINT UNSIGNED", ftLargeint, 0},
        {"c_float", "FLOAT", ftFloat, 0},
        {"c_double", "DOUBLE", ftFloat, 0},
        {"c_decimal", "DECIMAL", ftBCD, 0},
        {"c_udecimal", "DECIMAL", ftBCD, 0},
        {"c_date", "DATE", ftDate, 0},
        {"c_time", "TIME", ftTime, 0},
        {"c_datetime", "DATETIME", ftDateTime, 0},
        {"c_timestamp", "TIMESTAMP", ftDateTime, 0},
        {"c_year", "YEAR", ftSmallint, 0},
        {"c_bit1", "BIT", ftBoolean, 0},
        {"c_bit9", "BIT", ftBlob, 0},
        {"c_tinytext", "TINYTEXT", ftWideMemo, 255},
        {"c_text", "TEXT", ftWideMemo, 65535},
        {"c_mediumtext", "MEDIUMTEXT", ftWideMemo, 16777215},
        {"c_longtext", "LONGTEXT", ftWideMemo, 1073741823},
        {"c_tinyblob", "TINYBLOB", ftBlob, 0},
        {"c_blob", "BLOB", ftBlob, 0},
        {"c_mediumblob", "MEDIUMBLOB", ftBlob, 0},
        {"c_longblob", "LONGBLOB", ftBlob, 0},
        {"c_binary", "BINARY", ftBytes, 4},
        {"c_varbinary", "VARBINARY", ftVarBytes, 8},
        {"c_enum", "ENUM", ftWideString, 4},
        {"c_set", "SET", ftWideString, 5},
        {"c_json", "JSON", ftWideMemo, 1073741823},
    };
    TMySqlStream Stream(FHandle, "SELECT * FROM mss_types");
    ASSERT_TRUE(Stream.HasResult());
    const QVector<TColumnInfo>& Columns = Stream.Columns();
    ASSERT_EQ(Columns.size(), qsizetype(std::size(Cases)));
    for (qsizetype I = 0; I < Columns.size(); ++I) {
        const TColumnCase& Case = Cases[I];
        const TColumnInfo& Column = Columns[I];
        SCOPED_TRACE(Case.Name);
        EXPECT_EQ(Column.Name, QString::fromLatin1(Case.Name));
        EXPECT_EQ(Column.NativeType, QString::fromLatin1(Case.NativeType));
        EXPECT_EQ(int(Column.DataType), int(Case.DataType));
        EXPECT_EQ(Column.Size, Case.Size);
        EXPECT_EQ(Column.Required, Case.Required);
        EXPECT_EQ(Column.AutoIncrement, Case.AutoIncrement);
        EXPECT_EQ(Column.TableName, QStringLiteral("mss_types"));
    }
    EXPECT_EQ(Columns[15].Precision, 19);
    EXPECT_EQ(Columns[15].Scale, 4);
    EXPECT_EQ(Columns[16].Precision, 10);
    EXPECT_EQ(Columns[16].Scale, 0);
}

TEST_F(MySqlStreamTypesTest, DerivedColumnsHaveTheirOwnTypes)
{
    // Expressions have no base table; an AUTO_INCREMENT TINYINT(1) stays an identity.
    Exec(QStringLiteral("CREATE TEMPORARY TABLE mss_tiny (t TINYINT(1) NOT NULL AUTO_INCREMENT PRIMARY KEY)"));
    TMySqlStream Stream(FHandle, "SELECT t, t + 1 AS plus, CAST(t AS BINARY(3)) AS bin FROM mss_tiny");
    const QVector<TColumnInfo>& Columns = Stream.Columns();
    ASSERT_EQ(Columns.size(), 3);
    EXPECT_EQ(int(Columns[0].DataType), int(ftAutoInc));
    EXPECT_TRUE(Columns[1].TableName.isEmpty());
    EXPECT_FALSE(Columns[1].AutoIncrement);
    EXPECT_EQ(Columns[2].NativeType, QStringLiteral("VARBINARY"));
    EXPECT_EQ(Columns[2].Size, 3);
}

struct TValueCase {
    int Id;
    const char* Column;
    QVariant Expected;
};

TEST_F(MySqlStreamTypesTest, ReadsValuesOfEveryType)
{
    const TValueCase Cases[] = {
        {1, "c_varchar", QStringLiteral("Grüße 😀")},
        {1, "c_latin1", QStringLiteral("Äpfel")},
        {1, "c_char", QStringLiteral("ab")},
        {1, "c_bool", qlonglong(1)},
        {1, "c_tinyint", qlonglong(-128)},
        {1, "c_utinyint", qlonglong(255)},
        {1, "c_smallint", qlonglong(-32768)},
        {1, "c_mediumint", qlonglong(8388607)},
        {1, "c_int", qlonglong(-2147483648LL)},
        {1, "c_uint", qlonglong(4294967295LL)},
        {1, "c_bigint", std::numeric_limits<qlonglong>::min()},
        {1, "c_ubigint", std::numeric_limits<qulonglong>::max()},
        {1, "c_float", 1.5},
        {1, "c_double", -1234.5678901234},
        {1, "c_decimal", QStringLiteral("123456789012345.6789")},
        {1, "c_udecimal", QStringLiteral("9999999999")},
        {1, "c_date", QDate(2024, 2, 29)},
        {1, "c_time", QTime(13, 45, 7)},
        {1, "c_datetime", Naive(QDate(2024, 12, 31), QTime(23, 59, 58, 123))},
        {1, "c_timestamp", Naive(QDate(2023, 6, 15), QTime(8, 30))},
        {1, "c_year", qlonglong(2024)},
        {1, "c_bit1", true},
        {1, "c_bit9", QByteArray("\x01\x01", 2)},
        {1, "c_tinytext", QStringLiteral("Öl")},
        {1, "c_text", QStringLiteral("Straße")},
        {1, "c_mediumtext", QStringLiteral("ß𝄞")},
        {1, "c_longtext", QStringLiteral("lang ü")},
        {1, "c_tinyblob", QByteArray("\x00\xFF", 2)},
        {1, "c_blob", QByteArray("\x01\x02", 2)},
        {1, "c_mediumblob", QByteArray("")},
        {1, "c_longblob", QByteArray("\xFF\x00\xFF", 3)},
        {1, "c_binary", QByteArray("\x01\x02\x00\x00", 4)},
        {1, "c_varbinary", QByteArray("\x00\xFF", 2)},
        {1, "c_enum", QStringLiteral("grün")},
        {1, "c_set", QStringLiteral("a,c")},
        {1, "c_json", QStringLiteral("{\"k\": \"ü\"}")},

        {2, "c_varchar", QStringLiteral("")},
        {2, "c_latin1", Null(QMetaType::QString)},
        {2, "c_bool", Null(QMetaType::LongLong)},
        {2, "c_ubigint", Null(QMetaType::LongLong)},
        {2, "c_float", Null(QMetaType::Double)},
        {2, "c_decimal", Null(QMetaType::QString)},
        {2, "c_date", Null(QMetaType::QDate)},
        {2, "c_time", Null(QMetaType::QTime)},
        {2, "c_datetime", Null(QMetaType::QDateTime)},
        {2, "c_timestamp", Null(QMetaType::QDateTime)},
        {2, "c_year", Null(QMetaType::LongLong)},
        {2, "c_bit1", Null(QMetaType::Bool)},
        {2, "c_bit9", Null(QMetaType::QByteArray)},
        {2, "c_text", Null(QMetaType::QString)},
        {2, "c_blob", Null(QMetaType::QByteArray)},
        {2, "c_binary", Null(QMetaType::QByteArray)},
        {2, "c_json", Null(QMetaType::QString)},

        {3, "c_bool", qlonglong(0)},
        {3, "c_bigint", std::numeric_limits<qlonglong>::max()},
        {3, "c_ubigint", std::numeric_limits<qlonglong>::max()},
        {3, "c_decimal", QStringLiteral("-0.0001")},
        {3, "c_udecimal", QStringLiteral("0")},
        {3, "c_date", Null(QMetaType::QDate)},
        {3, "c_time", QStringLiteral("100:00:00")},
        {3, "c_datetime", Null(QMetaType::QDateTime)},
        {3, "c_bit1", false},
        {3, "c_bit9", QByteArray("\x00\x00", 2)},
        {3, "c_set", QStringLiteral("")},

        {4, "c_ubigint", qulonglong(9223372036854775808ULL)},
        {4, "c_time", QStringLiteral("-01:30:00")},
        {4, "c_datetime", Naive(QDate(2000, 1, 1), QTime(0, 0, 0, 999))},
    };
    TMySqlStream Stream(FHandle, "SELECT * FROM mss_types ORDER BY id");
    QHash<QString, qsizetype> Index;
    for (qsizetype I = 0; I < Stream.Columns().size(); ++I)
        Index.insert(Stream.Columns()[I].Name, I);
    QMap<int, QVector<QVariant>> Rows;
    QVector<QVariant> Row;
    while (Stream.Fetch(Row)) {
        ASSERT_EQ(Row.size(), Stream.Columns().size());
        Rows.insert(Row[0].toInt(), Row);
    }
    ASSERT_EQ(Rows.keys(), QList<int>({1, 2, 3, 4}));
    EXPECT_FALSE(Stream.Pending());

    for (const TValueCase& Case : Cases) {
        SCOPED_TRACE(std::string(Case.Column) + " in row " + std::to_string(Case.Id));
        ASSERT_TRUE(Index.contains(QString::fromLatin1(Case.Column)));
        const QVariant& Actual = Rows[Case.Id][Index[QString::fromLatin1(Case.Column)]];
        EXPECT_EQ(Actual.typeId(), Case.Expected.typeId()) << Show(Actual);
        EXPECT_EQ(Actual.isNull(), Case.Expected.isNull()) << Show(Actual);
        EXPECT_TRUE(Actual == Case.Expected) << Show(Actual) << " expected " << Show(Case.Expected);
        if (Actual.typeId() == QMetaType::QDateTime && !Actual.isNull()) {
            EXPECT_EQ(Actual.toDateTime().timeSpec(), Qt::UTC);
        }
    }
    // The character outside the BMP arrives as one surrogate pair.
    EXPECT_EQ(Rows[1][Index[QStringLiteral("c_varchar")]].toString().size(), 8);
}

class MySqlStreamErrorTest : public MySqlStreamTest
{
};

TEST_F(MySqlStreamErrorTest, ReportsTheServerMessageAndNumber)
{
    struct TCase {
        QByteArray Sql;
        int Code;
        QString Message;
    };
    const TCase Cases[] = {
        {"SELEKT 'Grüße'", 1064,
         QStringLiteral("You have an error in your SQL syntax; check the manual that corresponds to your MariaDB "
                        "server version for the right syntax to use near 'SELEKT 'Grüße'' at line 1")},
        {"SELECT * FROM mss_fehlt", 1146, QStringLiteral("Table '%1.mss_fehlt' doesn't exist").arg(FServer.Database)},
        {"INSERT INTO mss_fehlt VALUES (1)", 1146,
         QStringLiteral("Table '%1.mss_fehlt' doesn't exist").arg(FServer.Database)},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Sql.toStdString());
        try {
            TMySqlStream Stream(FHandle, Case.Sql);
            ADD_FAILURE() << "no error";
        } catch (const EUniError& Error) {
            EXPECT_EQ(Error.Message(), Case.Message);
            EXPECT_EQ(Error.ErrorCode(), Case.Code);
        }
        ExpectReady();
    }
}

TEST_F(MySqlStreamErrorTest, FailureMidStreamThrowsAndFreesTheConnection)
{
    CreateNumbers(QStringLiteral("mss_killed"), 200000);
    QSqlQuery Id(QStringLiteral("SELECT CONNECTION_ID()"), FDb);
    ASSERT_TRUE(Id.next());
    const QString ConnectionId = Id.value(0).toString();
    QSqlDatabase Other = Connect(QStringLiteral("MySqlStreamTestOther"));
    ASSERT_TRUE(Other.isOpen()) << Other.lastError().text().toStdString();

    int Count = 0;
    int Code = 0;
    {
        TMySqlStream Stream(FHandle, "SELECT n, s FROM mss_killed ORDER BY n");
        QVector<QVariant> Row;
        try {
            ASSERT_TRUE(Stream.Fetch(Row));
            ++Count;
            QSqlQuery Kill(Other);
            ASSERT_TRUE(Kill.exec(QStringLiteral("KILL QUERY %1").arg(ConnectionId)))
                << Kill.lastError().text().toStdString();
            while (Stream.Fetch(Row))
                ++Count;
        } catch (const EUniError& Error) {
            Code = Error.ErrorCode();
            EXPECT_FALSE(Error.Message().isEmpty());
        }
        EXPECT_FALSE(Stream.Pending());
        EXPECT_FALSE(Stream.Fetch(Row));
    }
    EXPECT_EQ(Code, 1317) << "rows read: " << Count;
    EXPECT_LT(Count, 200000);
    ExpectReady();
}

class MySqlStreamBufferTest : public MySqlStreamTest
{
};

TEST_F(MySqlStreamBufferTest, BufferFreesTheConnectionAndKeepsTheRows)
{
    CreateNumbers(QStringLiteral("mss_buffer"), 1000);
    TMySqlStream Stream(FHandle, "SELECT n FROM mss_buffer ORDER BY n");
    QVector<QVariant> Row;
    qlonglong Expected = 0;
    for (int I = 0; I < 10; ++I) {
        ASSERT_TRUE(Stream.Fetch(Row));
        EXPECT_EQ(Row[0], ++Expected);
    }
    ASSERT_TRUE(Stream.Pending());
    // Qt's driver cannot use the connection while the stream holds it; its failed attempt must
    // not be taken for a failure of the stream.
    EXPECT_EQ(QtExec(QStringLiteral("SELECT 2")).nativeErrorCode(), QStringLiteral("2014"));
    ASSERT_TRUE(Stream.Fetch(Row));
    EXPECT_EQ(Row[0], ++Expected);

    Stream.Buffer();
    EXPECT_FALSE(Stream.Pending());
    QSqlQuery Query(FDb);
    ASSERT_TRUE(Query.exec(QStringLiteral("UPDATE mss_buffer SET n = -n WHERE n > 500")))
        << Query.lastError().text().toStdString();
    EXPECT_EQ(Query.numRowsAffected(), 500);
    {
        TMySqlStream Other(FHandle, "SELECT COUNT(*) FROM mss_buffer WHERE n < 0");
        QVector<QVariant> Count;
        ASSERT_TRUE(Other.Fetch(Count));
        EXPECT_EQ(Count[0], qlonglong(500));
    }
    while (Stream.Fetch(Row))
        EXPECT_EQ(Row[0], ++Expected);
    EXPECT_EQ(Expected, 1000);
}

TEST_F(MySqlStreamBufferTest, UnfinishedOrMultipleResultsLeaveTheConnectionReady)
{
    CreateNumbers(QStringLiteral("mss_rest"), 1000);
    Exec(QStringLiteral("DROP PROCEDURE IF EXISTS mss_two"));
    Exec(QStringLiteral("CREATE PROCEDURE mss_two() BEGIN SELECT 1 AS a; SELECT 2 AS b; END"));
    QVector<QVariant> Row;
    {
        TMySqlStream Unfinished(FHandle, "SELECT n FROM mss_rest");
        ASSERT_TRUE(Unfinished.Fetch(Row));
    }
    ExpectReady();
    {
        // Only the procedure's first result is delivered; the rest is read off at its end.
        TMySqlStream Call(FHandle, "CALL mss_two()");
        ASSERT_TRUE(Call.Fetch(Row));
        EXPECT_EQ(Row, QVector<QVariant>{qlonglong(1)});
        EXPECT_FALSE(Call.Fetch(Row));
        EXPECT_FALSE(Call.Pending());
        ExpectReady();
    }
    {
        TMySqlStream CallUnfinished(FHandle, "CALL mss_two()");
        ASSERT_TRUE(CallUnfinished.Fetch(Row));
    }
    ExpectReady();
    Exec(QStringLiteral("DROP PROCEDURE mss_two"));
}

TEST_F(MySqlStreamBufferTest, LargeReadKeepsMemoryFlat)
{
    constexpr int N = 200000;
    CreateNumbers(QStringLiteral("mss_large"), N);
    if (!ResetPeakResident() || !PeakResidentKb())
        GTEST_SKIP() << "the peak memory of the process cannot be measured here";

    const qint64 Start = *PeakResidentKb();
    qlonglong Count = 0;
    qlonglong Sum = 0;
    {
        TMySqlStream Stream(FHandle, "SELECT n, s FROM mss_large ORDER BY n");
        QVector<QVariant> Row;
        while (Stream.Fetch(Row)) {
            ++Count;
            Sum += Row[0].toLongLong();
            ASSERT_EQ(Row[1].toString().size(), 100);
        }
    }
    const qint64 Streamed = *PeakResidentKb() - Start;
    EXPECT_EQ(Count, N);
    EXPECT_EQ(Sum, qlonglong(N) * (N + 1) / 2);
    EXPECT_LT(Streamed, 8 * 1024) << "peak grew by " << Streamed << " kB";

    // The same rows held in memory do show in the peak: the measurement sees buffering.
    ASSERT_TRUE(ResetPeakResident());
    const qint64 BeforeBuffer = *PeakResidentKb();
    {
        TMySqlStream Stream(FHandle, "SELECT n, s FROM mss_large ORDER BY n");
        Stream.Buffer();
    }
    const qint64 Buffered = *PeakResidentKb() - BeforeBuffer;
    EXPECT_GT(Buffered, 30 * 1024) << "peak grew by " << Buffered << " kB";
}

} // namespace
