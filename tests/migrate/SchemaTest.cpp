// The Kladde database as it ships: the update scripts of Keytabs/DBUpdater.db3 against the schema
// documentation, the update run on every database system that runs here, the sample generator on
// the updated databases, and the table list Migration_Tabellen.txt.

#include "DataTestDatabases.h"
#include "EUniError.h"
#include "SchemaTestSupport.h"
#include "ScratchDir.h"
#include "TestServers.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "Win1252.h"
#include "dmodProviders.h"
#include "uDBUpdater.h"
#include "uTableList.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

std::string S(const QString& Text)
{
    return Text.toStdString();
}

const QStringList DialectDBTypes = {QStringLiteral("SQLite"), QStringLiteral("MySQL"), QStringLiteral("Firebird"),
                                    QStringLiteral("MSSQL"), QStringLiteral("Access")};

// The words with which a declaration makes the database number a column itself.
const QRegularExpression& SelfNumbering()
{
    static const QRegularExpression words(
        QStringLiteral(R"(\b(AUTO_INCREMENT|AUTOINCREMENT|IDENTITY|GENERATED|SERIAL|SEQUENCE|COUNTER)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    return words;
}

// Whether a system other than Access numbers a column of the documented Type itself.
bool NumberedOutsideAccess(const TSchemaDoc& Doc, const QString& Type)
{
    for (const QString& dbType : DialectDBTypes)
        if (dbType != QLatin1String("Access") && SelfNumbering().match(Doc.Declaration(Type, dbType)).hasMatch())
            return true;
    return false;
}

QString Simplified(const QString& Sql)
{
    return Sql.simplified();
}

// The items of a CREATE TABLE's column list, split at the commas outside parentheses.
QStringList ColumnItems(const QString& CreateTable)
{
    const qsizetype open = CreateTable.indexOf(u'(');
    const qsizetype close = CreateTable.lastIndexOf(u')');
    QStringList items;
    QString item;
    int depth = 0;
    for (const QChar c : CreateTable.mid(open + 1, close - open - 1)) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        if (c == u',' && depth == 0) {
            items << item.simplified();
            item.clear();
        } else {
            item += c;
        }
    }
    items << item.simplified();
    return items;
}

// Scripts of one database system: its own and those of "All".
QList<TScriptRow> ScriptsFor(const QString& DBType)
{
    QList<TScriptRow> rows;
    for (const TScriptRow& r : UpdaterScripts())
        if (r.DBType == DBType || r.DBType == QLatin1String("All"))
            rows << r;
    return rows;
}

QList<int> VersionParts(const QString& Version)
{
    QList<int> parts;
    for (const QString& p : Version.split(u'.'))
        parts << p.toInt();
    return parts;
}

TEST(ShippedUpdateScripts, OneStatementPerScriptAndAVersionOfItsOwnForEverySystem)
{
    const QList<TScriptRow> rows = UpdaterScripts();
    ASSERT_FALSE(rows.isEmpty());
    QList<int> latest;
    for (const TScriptRow& r : rows) {
        SCOPED_TRACE(S(r.DBType + u' ' + r.Version));
        EXPECT_TRUE(r.DBType == QLatin1String("All") || DialectDBTypes.contains(r.DBType));
        EXPECT_FALSE(r.SQLText.contains(u';')) << "one statement per script";
        EXPECT_FALSE(r.SQLText.trimmed().isEmpty());
        EXPECT_EQ(r.Ignore, 0);
        latest = qMax(latest, VersionParts(r.Version));
    }
    QStringList latestText;
    for (const int p : latest)
        latestText << QString::number(p);
    EXPECT_EQ(S(LatestSchemaVersion()), S(latestText.join(u'.')))
        << "App_Config_ holds the version the scripts lead to";

    // The update run skips a script whose version the database has reached already.
    for (const QString& dbType : DialectDBTypes) {
        SCOPED_TRACE(S(dbType));
        QSet<QString> seen;
        int own = 0;
        for (const TScriptRow& r : ScriptsFor(dbType)) {
            EXPECT_FALSE(seen.contains(r.Version)) << "version " << S(r.Version) << " twice";
            seen.insert(r.Version);
            own += r.DBType == dbType;
        }
        EXPECT_GT(own, 20);
        EXPECT_TRUE(seen.contains(QStringLiteral("1.0.0.1")));
    }
}

TEST(ShippedUpdateScripts, EverySystemDeclaresTheDocumentedTablesColumnsTypesAndKeys)
{
    const TSchemaDoc& doc = SchemaDoc();
    static const QRegularExpression create(QStringLiteral(R"(^CREATE TABLE (\w+) \()"));
    static const QRegularExpression alter(QStringLiteral(R"(^ALTER TABLE (\w+) ADD (?:COLUMN )?(.+)$)"));
    for (const QString& dbType : DialectDBTypes) {
        SCOPED_TRACE(S(dbType));
        QMap<QString, QStringList> declared; // table -> column items, in order
        QMap<QString, QString> createText;
        for (const TScriptRow& r : ScriptsFor(dbType)) {
            const QString sql = Simplified(r.SQLText);
            if (const auto m = create.match(sql); m.hasMatch()) {
                EXPECT_FALSE(declared.contains(m.captured(1))) << S(m.captured(1)) << " created twice";
                createText[m.captured(1)] = sql;
                for (const QString& item : ColumnItems(sql))
                    if (!item.startsWith(QLatin1String("CONSTRAINT ")))
                        declared[m.captured(1)] << item;
            } else if (const auto a = alter.match(sql); a.hasMatch()) {
                declared[a.captured(1)] << a.captured(2);
            }
        }
        EXPECT_EQ(S(QStringList(declared.keys()).join(u' ')), S([&] {
                      QStringList names = doc.TableNames();
                      names.sort();
                      return names.join(u' ');
                  }()));
        for (const TDocTable& table : doc.Tables) {
            SCOPED_TRACE(S(table.Name));
            const QStringList items = declared.value(table.Name);
            QStringList names;
            for (const QString& item : items)
                names << item.section(u' ', 0, 0);
            ASSERT_EQ(S(names.join(u' ')), S(table.ColumnNames().join(u' ')));
            for (int i = 0; i < items.size(); ++i) {
                const TDocColumn& column = table.Columns[i];
                const QString type = items[i].section(u' ', 1);
                const QString expected = doc.Declaration(column.Type, dbType);
                ASSERT_FALSE(expected.isEmpty()) << "type " << S(column.Type) << " is not documented";
                EXPECT_TRUE(type == expected || type.startsWith(expected + u' '))
                    << S(items[i]) << ", documented " << S(expected);
                // An Access COUNTER is never NULL by itself.
                const bool counter = dbType == QLatin1String("Access") && column.Type == QLatin1String("Counter");
                if (!counter) {
                    EXPECT_EQ(type.contains(QLatin1String("NOT NULL")), column.NotNull) << S(items[i]);
                }
            }
            const QStringList keys = table.KeyColumns();
            if (keys.size() == 1) {
                EXPECT_TRUE(items[names.indexOf(keys[0])].contains(QLatin1String("PRIMARY KEY"))) << S(keys[0]);
            } else {
                EXPECT_TRUE(createText.value(table.Name)
                                .contains(QStringLiteral("PRIMARY KEY (") + keys.join(QStringLiteral(", ")) + u')'));
            }
        }
    }
}

// Only an Access database numbers rows itself, and only in the documented Counter columns: every
// other destination stores the keys the copy gives, so that the references to them hold.
TEST(ShippedUpdateScripts, OnlyAccessNumbersRowsItselfAndOnlyInItsCounters)
{
    int documentedCounters = 0;
    for (const TDocTable& table : SchemaDoc().Tables)
        for (const TDocColumn& c : table.Columns) {
            documentedCounters += c.Type == QLatin1String("Counter");
            EXPECT_FALSE(NumberedOutsideAccess(SchemaDoc(), c.Type)) << S(table.Name) << "." << S(c.Name);
        }
    EXPECT_EQ(documentedCounters, 2) << "K_Datenschutz.ID and K_Ankreuzfloskeln.ID";
    for (const QString& dbType : DialectDBTypes) {
        SCOPED_TRACE(S(dbType));
        QStringList found;
        for (const TScriptRow& r : ScriptsFor(dbType))
            for (auto it = SelfNumbering().globalMatch(r.SQLText); it.hasNext();)
                found << it.next().captured(1).toUpper();
        const QStringList expected = dbType == QLatin1String("Access")
                                         ? QStringList(documentedCounters, QStringLiteral("COUNTER"))
                                         : QStringList();
        EXPECT_EQ(S(found.join(u' ')), S(expected.join(u' ')));
    }
}

TEST(ShippedUpdateScripts, IndexesAreTheDocumentedOnes)
{
    static const QRegularExpression index(QStringLiteral(R"(^CREATE (UNIQUE )?INDEX (\w+) ON (\w+) \((.+)\)$)"));
    QMap<QString, QStringList> made;
    for (const TScriptRow& r : UpdaterScripts()) {
        const auto m = index.match(Simplified(r.SQLText));
        if (!m.hasMatch())
            continue;
        EXPECT_EQ(S(r.DBType), "All") << "an index reads the same in every system: " << S(r.SQLText);
        made[m.captured(3)] << m.captured(2) + (m.hasCaptured(1) ? QStringLiteral(" unique") : QString()) +
                                   QStringLiteral(" (") + m.captured(4) + u')';
    }
    for (const TDocTable& table : SchemaDoc().Tables) {
        SCOPED_TRACE(S(table.Name));
        EXPECT_EQ(S(made.take(table.Name).join(QStringLiteral("; "))), S(table.Indexes.join(QStringLiteral("; "))));
    }
    EXPECT_TRUE(made.isEmpty()) << "indexes of undocumented tables";
}

// Expected field types of the layer for a documented type. None of the destinations tested here
// is Access, so a Counter arrives as a plain integer, never as an identity the copy would skip.
bool TypeFits(const QString& Type, const TField& Field)
{
    const TFieldType t = Field.DataType();
    if (Type.startsWith(QLatin1String("Text(")))
        return (t == ftWideString || t == ftString) && Field.Size() == Type.mid(5).chopped(1).toInt();
    static const QHash<QString, QList<TFieldType>> kinds = {
        {QStringLiteral("Int"), {ftInteger}},           {QStringLiteral("SmallInt"), {ftSmallint}},
        {QStringLiteral("BigInt"), {ftLargeint}},       {QStringLiteral("Float"), {ftFloat}},
        {QStringLiteral("Memo"), {ftWideMemo, ftMemo}}, {QStringLiteral("Date"), {ftDate}},
        {QStringLiteral("DateTime"), {ftDateTime}},     {QStringLiteral("Bool"), {ftBoolean}},
        {QStringLiteral("Binary"), {ftBlob}},           {QStringLiteral("Counter"), {ftInteger}},
    };
    return kinds.value(Type).contains(t);
}

class ShippedSchemaOnDatabase : public ::testing::TestWithParam<TDataTestDB>
{
protected:
    static TDBProviderType ProviderType()
    {
        switch (GetParam()) {
            case tdbSQLite: return dbpSQLite;
            case tdbMariaDB: return dbpMySQL;
            case tdbFirebird: return dbpFirebird;
        }
        return dbpUndefined;
    }

    // Runs the update of UpdaterFile on FDst; the result of ExecuteUpdate without ignoring errors.
    bool Update(const QString& UpdaterFile, QString* Version = nullptr)
    {
        TdmProvider dm;
        dm.KladdeConnector()->SetDBProviderType(ProviderType());
        dm.KladdeConnector()->SetConnection(&FDst);
        TDBUpdater updater(UpdaterFile);
        updater.SetDMProvider(&dm);
        const bool ok = updater.ExecuteUpdate(false);
        if (Version)
            *Version = updater.DBVersion().ToString();
        return ok;
    }

    QStringList StoredVersions()
    {
        TUniQuery q(&FDst);
        q.SetSQL(QStringLiteral("select Version3 from Kladde_Verwaltung"));
        q.Open();
        QStringList versions;
        for (; !q.Eof(); q.Next())
            versions << q.FieldByName(QStringLiteral("Version3")).AsString();
        return versions;
    }

    QStringList ColumnsOf(const QString& Table)
    {
        TUniQuery q(&FDst);
        q.SetSQL(QStringLiteral("select * from %1 where 1=0").arg(Table));
        q.Open();
        QStringList names;
        for (int i = 0; i < q.FieldCount(); ++i)
            names << q.Fields(i)->FieldName().toUpper();
        return names;
    }

    TUniConnection FDst;
};

TEST_P(ShippedSchemaOnDatabase, UpdateRunBringsAnEmptyDatabaseToTheCurrentSchema)
{
    KLADDE_REQUIRE_DATABASE(GetParam(), FDst);
    FDst.Connect();
    QString version;
    ASSERT_TRUE(Update(UpdaterDatabase(), &version)) << S(TDBUpdater::LastError());
    const QString latest = LatestSchemaVersion();
    EXPECT_EQ(S(version), S(latest));
    EXPECT_EQ(S(StoredVersions().join(u' ')), S(latest)) << "one row in Kladde_Verwaltung, at the latest version";

    const TSchemaDoc& doc = SchemaDoc();
    QStringList tables;
    for (const QString& t : FDst.GetTableNames())
        tables << t.toUpper();
    tables.sort();
    QStringList documented = doc.TableNames();
    for (QString& t : documented)
        t = t.toUpper();
    documented.sort();
    EXPECT_EQ(S(tables.join(u' ')), S(documented.join(u' ')));

    for (const TDocTable& table : doc.Tables) {
        SCOPED_TRACE(S(table.Name));
        TUniQuery q(&FDst);
        q.SetSQL(QStringLiteral("select * from %1 where 1=0").arg(table.Name));
        q.Open();
        ASSERT_EQ(q.FieldCount(), table.Columns.size());
        for (int i = 0; i < q.FieldCount(); ++i) {
            const TField& f = *q.Fields(i);
            const TDocColumn& c = table.Columns[i];
            EXPECT_EQ(S(f.FieldName().toUpper()), S(c.Name.toUpper()));
            EXPECT_TRUE(TypeFits(c.Type, f)) << S(c.Name) << ": " << S(FieldTypeName(f.DataType())) << "(" << f.Size()
                                             << ") [" << S(f.NativeType()) << "] for " << S(c.Type);
            EXPECT_EQ(f.Required(), c.NotNull) << S(c.Name);
        }
    }

    QString again;
    EXPECT_FALSE(Update(UpdaterDatabase(), &again)) << "nothing is due any more";
    EXPECT_EQ(S(again), S(latest));
}

// The migration program's destination connection does not commit by itself.
TEST_P(ShippedSchemaOnDatabase, TheUpdateLastsOnAConnectionThatDoesNotCommitByItself)
{
    KLADDE_REQUIRE_DATABASE(GetParam(), FDst);
    FDst.SetAutoCommit(false);
    FDst.Connect();
    QString version;
    ASSERT_TRUE(Update(UpdaterDatabase(), &version)) << S(TDBUpdater::LastError());
    EXPECT_EQ(S(version), S(LatestSchemaVersion()));
    FDst.Disconnect(); // an open transaction would be rolled back here
    EXPECT_EQ(S(StoredVersions().join(u' ')), S(LatestSchemaVersion()));
    EXPECT_EQ(FDst.GetTableNames().size(), SchemaDoc().TableNames().size());
}

TEST_P(ShippedSchemaOnDatabase, AnOlderDatabaseGetsTheLaterColumnsAndIndexes)
{
    KLADDE_REQUIRE_DATABASE(GetParam(), FDst);
    FDst.Connect();
    // The updater database as the first release shipped it: the scripts of 1.0.x.x only.
    const QString older = ScratchDir() + QStringLiteral("/DBUpdater-1.0.db3");
    ASSERT_TRUE(QFile::copy(UpdaterDatabase(), older));
    QFile::setPermissions(older, QFile::ReadOwner | QFile::WriteOwner);
    {
        TUniConnection edit;
        edit.SetProviderName(QStringLiteral("SQLite"));
        edit.SetDatabase(older);
        edit.SetLoginPrompt(false);
        EXPECT_GT(edit.ExecSQL(QStringLiteral("delete from SQLData where Version1 > 1 or Version2 > 0")), 0);
    }
    QString version;
    ASSERT_TRUE(Update(older, &version)) << S(TDBUpdater::LastError());
    EXPECT_TRUE(version.startsWith(QLatin1String("1.0.0."))) << S(version);
    EXPECT_FALSE(ColumnsOf(QStringLiteral("Schueler")).contains(QStringLiteral("MOBILNUMMER")));

    ASSERT_TRUE(Update(UpdaterDatabase(), &version))
        << "only the later scripts run, and all succeed: " << S(TDBUpdater::LastError());
    EXPECT_EQ(S(version), S(LatestSchemaVersion()));
    EXPECT_EQ(S(StoredVersions().join(u' ')), S(LatestSchemaVersion()));
    EXPECT_TRUE(ColumnsOf(QStringLiteral("Schueler")).contains(QStringLiteral("MOBILNUMMER")));
    EXPECT_TRUE(
        ColumnsOf(QStringLiteral("SchuelerLernabschnittsdaten")).contains(QStringLiteral("FOERDERSCHWERPUNKT")));
}

TEST_P(ShippedSchemaOnDatabase, SampleGeneratorFillsTheUpdatedDatabaseAsItFillsANewFile)
{
    KLADDE_REQUIRE_DATABASE(GetParam(), FDst);
    FDst.Connect();
    ASSERT_TRUE(Update(UpdaterDatabase())) << S(TDBUpdater::LastError());
    const QString config = ScratchDir() + QStringLiteral("/destination.kdbcfg");
    WriteConfigFile(config, FDst);

    const QStringList size = {QStringLiteral("--pupils"), QStringLiteral("12"), QStringLiteral("--seed"),
                              QStringLiteral("7")};
    const TProgramRun filled = RunSampleGenerator(size + QStringList{QStringLiteral("--config"), config});
    ASSERT_EQ(filled.ExitCode, 0) << S(filled.Out) << S(filled.Err);
    const QString file = ScratchDir() + QStringLiteral("/reference.sqlite");
    const TProgramRun made = RunSampleGenerator(size + QStringList{QStringLiteral("--out"), file});
    ASSERT_EQ(made.ExitCode, 0) << S(made.Out) << S(made.Err);
    EXPECT_EQ(PrintedCounts(filled.Out), PrintedCounts(made.Out));

    TUniConnection reference;
    reference.SetProviderName(QStringLiteral("SQLite"));
    reference.SetDatabase(file);
    reference.SetLoginPrompt(false);
    reference.Connect();
    const auto counts = PrintedCounts(filled.Out);
    ASSERT_EQ(counts.size(), SchemaDoc().Tables.size() - 1) << "every table but Kladde_Verwaltung";
    for (const auto& [table, rows] : counts) {
        SCOPED_TRACE(S(table));
        const TDocTable* doc = SchemaDoc().Table(table);
        ASSERT_TRUE(doc);
        EXPECT_GT(rows, 0);
        EXPECT_EQ(CountRows(FDst, table), rows);
        // Every value arrives as written: umlauts and other letters, RTF with its backslashes,
        // blanks, NULLs, binary photos, dates before 1920 and far ahead.
        const QStringList got = DumpTable(FDst, *doc), want = DumpTable(reference, *doc);
        ASSERT_EQ(got.size(), want.size());
        for (int i = 0; i < got.size(); ++i)
            ASSERT_EQ(S(got[i]), S(want[i])) << "row " << i;
    }
    EXPECT_EQ(CountRows(FDst, QStringLiteral("Schueler")), 12);
}

INSTANTIATE_TEST_SUITE_P(Destinations, ShippedSchemaOnDatabase, ::testing::ValuesIn(AllDataTestDBs),
                         [](const ::testing::TestParamInfo<TDataTestDB>& Info) { return DataTestDBName(Info.param); });

TEST(ShippedTableList, IsWindows1252TextWithCrLfLineEndsAndCopiedBesideThePrograms)
{
    QFile source(SourcePath(QStringLiteral("data/Migration_Tabellen.txt")));
    QFile built(BuildPath(QStringLiteral("bin/Migration_Tabellen.txt")));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    ASSERT_TRUE(built.open(QIODevice::ReadOnly)) << "the build copies the list beside the programs";
    const QByteArray bytes = source.readAll();
    EXPECT_EQ(bytes, built.readAll());
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "every line ends with CR LF";
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << "no byte-order mark";
    EXPECT_TRUE(bytes.contains("Sch\xFC"
                               "ler"))
        << "umlauts in Windows-1252";
    EXPECT_FALSE(bytes.contains("\xC3")) << "no UTF-8";
    EXPECT_EQ(EncodeWin1252(DecodeWin1252(bytes)), bytes);
}

TEST(ShippedTableList, NamesEveryTableOfTheSchemaOnceInReferenceOrderWithFittingFlags)
{
    const QStringList lines = LoadTextLines(SourcePath(QStringLiteral("data/Migration_Tabellen.txt")));
    EXPECT_EQ(DetectMigType(lines), mtKladde);
    const TSchemaDoc& doc = SchemaDoc();
    QStringList order;
    for (const QString& line : lines) {
        if (!IsTableLine(line))
            continue;
        const TTableLine t = TTableLine::Parse(line);
        SCOPED_TRACE(S(line));
        const TDocTable* table = doc.Table(t.TableName);
        ASSERT_TRUE(table) << "a table of the schema";
        EXPECT_EQ(S(t.TableName), S(table->Name)) << "written as the schema writes it";
        EXPECT_FALSE(order.contains(table->Name)) << "listed once";
        order << table->Name;

        EXPECT_TRUE(QStringList({"#", "I", "S", "A"}).contains(t.FilterKind));
        EXPECT_EQ(t.FilterKind == QLatin1String("I"), table->Name == QLatin1String("Schueler"));
        if (t.FilterKind == QLatin1String("S")) {
            EXPECT_TRUE(table->Column(QStringLiteral("Schueler_ID")));
        }
        if (t.FilterKind == QLatin1String("A")) {
            EXPECT_TRUE(table->Column(QStringLiteral("Abschnitt_ID")));
        }
        // A table that belongs to a pupil follows the pupil selection.
        if (table->Column(QStringLiteral("Schueler_ID")) || table->Column(QStringLiteral("Abschnitt_ID"))) {
            EXPECT_NE(S(t.FilterKind), "#");
        }
        if (t.KeyColumnOrHash() != QLatin1String("#")) {
            EXPECT_TRUE(table->Column(t.KeyColumnOrHash())) << "key column " << S(t.KeyColumnOrHash());
        }

        EXPECT_TRUE(t.ShowErrors()) << "failed rows show in the error list";

        // A "$" makes a SQLite destination, or an MSSQL one without a schema, leave those columns
        // out and number the rows itself, so that the references to them point elsewhere: it belongs
        // only to a column that a system other than Access numbers itself. An Access destination
        // leaves its counters out of the copy by itself, and the run maps the references to them.
        QStringList selfNumbered, counters, binaries;
        for (const TDocColumn& c : table->Columns) {
            if (NumberedOutsideAccess(doc, c.Type))
                selfNumbered << c.Name;
            if (c.Type == QLatin1String("Counter"))
                counters << c.Name;
            if (c.Type == QLatin1String("Binary"))
                binaries << c.Name;
        }
        EXPECT_EQ(t.IdentityFlag(), !selfNumbered.isEmpty()) << "\"$\" only where a destination numbers the rows";
        const QString excluded = WithoutPlaceholder(WithoutIdentityFlag(t.ExclusionList()));
        const QStringList columns = excluded.isEmpty() ? QStringList() : excluded.split(u';');
        if (t.IdentityFlag()) {
            EXPECT_EQ(S(columns.join(u',')), S(selfNumbered.join(u',')));
        } else {
            EXPECT_TRUE(columns.isEmpty()) << "no column is left out of the copy";
        }
        if (!counters.isEmpty()) {
            EXPECT_EQ(S(t.ExclusionRaw), "#") << "every destination but Access takes the source's IDs";
        }
        EXPECT_EQ(t.BlobMode(), !binaries.isEmpty()) << "binary columns are copied through the dataset";
    }

    // Kladde_Verwaltung holds the destination's own schema version: it is neither emptied nor copied.
    QStringList missing;
    for (const QString& name : doc.TableNames())
        if (!order.contains(name))
            missing << name;
    EXPECT_EQ(S(missing.join(u' ')), "Kladde_Verwaltung");

    // References point upwards: a catalogue comes before the tables that refer to it.
    static const QRegularExpression reference(QStringLiteral(R"(\((\w+)\.(\w+)\))"));
    for (int i = 0; i < order.size(); ++i) {
        const TDocTable* table = doc.Table(order[i]);
        for (const TDocColumn& c : table->Columns)
            for (auto it = reference.globalMatch(c.Meaning); it.hasNext();) {
                const QString target = it.next().captured(1);
                if (target != table->Name && order.contains(target)) {
                    EXPECT_LT(order.indexOf(target), i)
                        << S(table->Name) << "." << S(c.Name) << " refers to " << S(target);
                }
            }
    }
    EXPECT_LT(order.indexOf(QStringLiteral("K_Datenschutz")), order.indexOf(QStringLiteral("SchuelerDatenschutz")));
    EXPECT_LT(order.indexOf(QStringLiteral("K_Ankreuzfloskeln")),
              order.indexOf(QStringLiteral("SchuelerAnkreuzfloskeln")));
}

} // namespace

namespace {

// Writes the script files Files (name -> text) into a scratch folder and builds an updater
// database from them with the build's kladde-updaterdb.
TProgramRun BuildUpdater(const QList<QPair<QString, QByteArray>>& Files, const QString& Out)
{
    QStringList args = {Out};
    for (const auto& [name, text] : Files) {
        QFile f(ScratchDir() + u'/' + name);
        if (!f.open(QIODevice::WriteOnly))
            return {};
        f.write(text);
        args << f.fileName();
    }
    return RunProgram(QStringLiteral("kladde-updaterdb"), args);
}

TEST(UpdaterDatabaseBuild, RefusesMalformedScriptFilesWithTheLineAtFault)
{
    const struct
    {
        const char* Name;
        QList<QPair<QString, QByteArray>> Files;
        const char* Message;
    } cases[] = {
        {"two statements",
         {{"All.sql", "--@ 1.0.0.1\nCREATE INDEX A ON T (X);\nCREATE INDEX B ON T (Y)\n"}},
         "All.sql:1: a script holds one statement only"},
        {"an empty script",
         {{"SQLite.sql", "--@ 1.0.0.1\n-- only a comment\n--@ 1.0.0.2\nSELECT 1\n"}},
         "SQLite.sql:1: the script is empty"},
        {"a version not above the one before",
         {{"MySQL.sql", "--@ 1.0.0.2\nSELECT 1\n--@ 1.0.0.2\nSELECT 2\n"}},
         "MySQL.sql:3: version 1.0.0.2 is not above"},
        {"three numbers", {{"MySQL.sql", "--@ 1.0.2\nSELECT 1\n"}}, "MySQL.sql:1: \"1.0.2\" is no version"},
        {"version zero, which never runs", {{"MySQL.sql", "--@ 0.0.0.0\nSELECT 1\n"}}, "is no version"},
        {"an unknown flag", {{"MySQL.sql", "--@ 1.0.0.1 skip\nSELECT 1\n"}}, "unknown flag"},
        {"text before the first script",
         {{"Firebird.sql", "SELECT 0\n--@ 1.0.0.1\nSELECT 1\n"}},
         "Firebird.sql:1: statement text before"},
        {"a file named after no database system", {{"Sybase.sql", "--@ 1.0.0.1\nSELECT 1\n"}}, "names no DBType"},
        {"a version of All again for one system",
         {{"All.sql", "--@ 1.0.0.1\nSELECT 1\n"}, {"Access.sql", "--@ 1.0.0.1\nSELECT 2\n"}},
         "Access.sql:1: version 1.0.0.1 also at"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString out = ScratchDir() + QStringLiteral("/bad.db3");
        const TProgramRun run = BuildUpdater(c.Files, out);
        EXPECT_EQ(run.ExitCode, 1) << S(run.Err);
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Message))) << S(run.Err);
        EXPECT_FALSE(QFile::exists(out)) << "nothing half-made is left";
        for (const auto& f : c.Files)
            QFile::remove(ScratchDir() + u'/' + f.first);
    }
}

TEST(UpdaterDatabaseBuild, StoresEachScriptAsOneRowWithoutCommentsAndItsIgnoreFlag)
{
    const QString out = ScratchDir() + QStringLiteral("/ok.db3");
    const TProgramRun run = BuildUpdater(
        {{"SQLite.sql", "-- head\r\n--@ 1.0.0.1\r\nCREATE TABLE T (\r\n  -- the key\r\n  ID INTEGER\r\n);\r\n"
                        "--@ 1.0.1.0 ignore\r\nSELECT ';' AS X\r\n"},
         {"All.sql", "--@ 1.0.0.2\nINSERT INTO T (ID) VALUES (1)\n"}},
        out);
    ASSERT_EQ(run.ExitCode, 0) << S(run.Err);
    TUniConnection conn;
    conn.SetProviderName(QStringLiteral("SQLite"));
    conn.SetDatabase(out);
    conn.SetLoginPrompt(false);
    TUniQuery q(&conn);
    q.SetSQL(
        QStringLiteral("select ID, DBType, Version1||'.'||Version2||'.'||Version3||'.'||Version4 as V, SQLText, Ignore "
                       "from SQLData order by ID"));
    q.Open();
    QStringList rows;
    for (; !q.Eof(); q.Next())
        rows << QStringLiteral("%1|%2|%3|%4|%5")
                    .arg(q.FieldByName(QStringLiteral("ID")).AsString(),
                         q.FieldByName(QStringLiteral("DBType")).AsString(),
                         q.FieldByName(QStringLiteral("V")).AsString(),
                         q.FieldByName(QStringLiteral("SQLText")).AsString(),
                         q.FieldByName(QStringLiteral("Ignore")).AsString());
    EXPECT_EQ(S(rows.join(u'#')),
              "1|All|1.0.0.2|INSERT INTO T (ID) VALUES (1)|0#2|SQLite|1.0.0.1|CREATE TABLE T (\n  ID INTEGER\n)|0"
              "#3|SQLite|1.0.1.0|SELECT ';' AS X|1");
    TUniQuery settings(&conn);
    settings.SetSQL(QStringLiteral("select Key_, Value_I from App_Config_ order by Key_"));
    settings.Open();
    QStringList values;
    for (; !settings.Eof(); settings.Next())
        values << settings.FieldByName(QStringLiteral("Key_")).AsString() + u'=' +
                      settings.FieldByName(QStringLiteral("Value_I")).AsString();
    EXPECT_EQ(S(values.join(u' ')), "Version1=1 Version2=0 Version3=1 Version4=0");
}

} // namespace
