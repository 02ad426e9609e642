// The sample school generator build/bin/kladde-sample: its command line, its determinism and the
// contents the migration's rules and repairs are to meet.

#include "SchemaTestSupport.h"
#include "ScratchDir.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "Win1252.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

std::string S(const QString& Text)
{
    return Text.toStdString();
}

QStringList Pupils(int N, int Seed, const QString& File)
{
    return {QStringLiteral("--pupils"), QString::number(N),      QStringLiteral("--seed"),
            QString::number(Seed),      QStringLiteral("--out"), File};
}

// A sample database of N pupils made once per test program and seed.
class SampleFile
{
public:
    SampleFile(int N, int Seed) : FPath(FDir.filePath(QStringLiteral("sample-%1-%2.sqlite").arg(N).arg(Seed)))
    {
        FRun = RunSampleGenerator(Pupils(N, Seed, FPath));
    }

    const QString& Path() const { return FPath; }
    const TProgramRun& Run() const { return FRun; }

private:
    QTemporaryDir FDir;
    QString FPath;
    TProgramRun FRun;
};

class SampleGenerator : public ::testing::Test
{
protected:
    static const SampleFile& Small()
    {
        static const SampleFile file(30, 3);
        return file;
    }

    void SetUp() override
    {
        ASSERT_EQ(Small().Run().ExitCode, 0) << S(Small().Run().Out) << S(Small().Run().Err);
        FConn.SetProviderName(QStringLiteral("SQLite"));
        FConn.SetDatabase(Small().Path());
        FConn.SetLoginPrompt(false);
        FConn.Connect();
    }

    qint64 Count(const QString& Sql)
    {
        TUniQuery q(&FConn);
        q.SetSQL(QStringLiteral("select count(*) as N from ") + Sql);
        q.Open();
        return q.FieldByName(QStringLiteral("N")).AsLargeInt();
    }

    QStringList Texts(const QString& Sql)
    {
        TUniQuery q(&FConn);
        q.SetSQL(Sql);
        q.Open();
        QStringList texts;
        for (; !q.Eof(); q.Next())
            texts << (q.Fields(0)->IsNull() ? QString() : q.Fields(0)->AsString());
        return texts;
    }

    TUniConnection FConn;
};

TEST_F(SampleGenerator, PrintsTheRowsOfEveryTableAndWritesThem)
{
    const auto counts = PrintedCounts(Small().Run().Out);
    ASSERT_EQ(counts.size(), SchemaDoc().Tables.size() - 1) << S(Small().Run().Out);
    qint64 total = 0;
    for (const auto& [table, rows] : counts) {
        EXPECT_EQ(CountRows(FConn, table), rows) << S(table);
        EXPECT_GT(rows, 0) << S(table);
        total += rows;
    }
    EXPECT_TRUE(Small().Run().Out.contains(QStringLiteral("total"))) << S(Small().Run().Out);
    EXPECT_TRUE(Small().Run().Out.contains(QString::number(total))) << S(Small().Run().Out);
    EXPECT_EQ(CountRows(FConn, QStringLiteral("Schueler")), 30);
    EXPECT_EQ(S(Texts(QStringLiteral("select Version3 from Kladde_Verwaltung")).join(u' ')), S(LatestSchemaVersion()))
        << "a new file has the schema of the update scripts";
}

TEST_F(SampleGenerator, HoldsTheInconsistenciesTheSourceRepairsMeet)
{
    EXPECT_GT(Count(QStringLiteral("SchuelerLernabschnittsdaten where Fachklasse_ID=0")), 0);
    EXPECT_GT(Count(QStringLiteral("SchuelerLeistungsdaten where Kurs_ID=0")), 0);
    EXPECT_GT(Count(QStringLiteral("SchuelerLeistungsdaten where Kurs_ID>0")), 0);
    const QString unused =
        QStringLiteral("(select ID from Kurse where ID not in (select Kurs_ID from SchuelerLeistungsdaten "
                       "where Kurs_ID is not null))");
    EXPECT_GT(Count(QStringLiteral("KursLehrer where Kurs_ID in ") + unused), 0)
        << "unused courses with their teachers";
    EXPECT_GT(Count(QStringLiteral("SchuelerLernabschnittsdaten A, EigeneSchule_Jahrgaenge J where J.ID=A.Jahrgang_ID "
                                   "and A.ASDJahrgang<>J.ASDJahrgang")),
              0);
    EXPECT_GT(Count(QStringLiteral("SchuelerLernabschnittsdaten A, EigeneSchule_Jahrgaenge J where J.ID=A.Jahrgang_ID "
                                   "and A.ASDJahrgang=J.ASDJahrgang")),
              Count(QStringLiteral("SchuelerLernabschnittsdaten")) / 2);
    EXPECT_GT(Count(QStringLiteral(
                  "SchuelerLernabschnittsdaten where Jahrgang_ID not in (select ID from EigeneSchule_Jahrgaenge)")),
              0);

    // References to teachers and classes that match their key only without regard to letter case.
    const QStringList teachers = Texts(QStringLiteral("select Kuerzel from K_Lehrer"));
    const QStringList classes = Texts(QStringLiteral("select Klasse from Versetzung"));
    const struct
    {
        const char* Sql;
        const QStringList& Keys;
    } references[] = {
        {"select Klassenlehrer from SchuelerLernabschnittsdaten", teachers},
        {"select Fachlehrer from SchuelerLeistungsdaten", teachers},
        {"select KlassenlehrerKrz from Versetzung", teachers},
        {"select Klasse from Schueler where Klasse is not null", classes},
        {"select Klasse from SchuelerLernabschnittsdaten", classes},
    };
    QSet<QString> upperKeys;
    for (const QString& k : teachers + classes)
        upperKeys.insert(k.toUpper());
    for (const auto& r : references) {
        SCOPED_TRACE(r.Sql);
        int exact = 0, otherCase = 0, none = 0;
        for (const QString& value : Texts(QString::fromLatin1(r.Sql)))
            r.Keys.contains(value) ? ++exact : upperKeys.contains(value.toUpper()) ? ++otherCase : ++none;
        EXPECT_GT(exact, otherCase);
        EXPECT_GT(otherCase, 0);
        EXPECT_EQ(none, 0);
    }
}

TEST_F(SampleGenerator, HoldsTheValuesTheCopyRulesMeet)
{
    // Dates outside the bounds of the dataset copy: before 1920 and far ahead.
    EXPECT_GT(Count(QStringLiteral("Schueler where Geburtsdatum like '1899%' or Geburtsdatum like '1900%'")), 0);
    EXPECT_GT(Count(QStringLiteral("K_Lehrer where Geburtsdatum like '1899-12-30%'")), 0);
    EXPECT_GT(Count(QStringLiteral("Schueler where Entlassdatum like '2999%'")), 0);
    EXPECT_GT(Count(QStringLiteral("SchuelerBemerkungen where Datum like '2999%' or Datum like '1899%'")), 0);
    // NULLs and texts of blanks only.
    EXPECT_GT(Count(QStringLiteral("Schueler where Email is null")), 0);
    EXPECT_GT(Count(QStringLiteral("Schueler where Telefon <> '' and trim(Telefon) = ''")), 0);
    EXPECT_GT(Count(QStringLiteral("SchuelerLeistungsdaten where NotenKrz is null")), 0);
    // RTF remarks.
    EXPECT_GT(Count(QStringLiteral("Schueler where Bemerkungen like '{\\rtf1%'")), 0);
    EXPECT_GT(Count(QStringLiteral("SchuelerBemerkungen where Bemerkung like '{\\rtf1%'")), 0);

    const QStringList names = Texts(QStringLiteral("select Name || ' ' || Vorname from Schueler"));
    bool apostrophe = false, umlaut = false, beyond1252 = false;
    for (const QString& n : names) {
        apostrophe |= n.contains(u'\'');
        umlaut |= n.contains(QRegularExpression(QStringLiteral("[äöüÄÖÜß]")));
        beyond1252 |= EncodeWin1252(n).contains('?');
    }
    EXPECT_TRUE(apostrophe);
    EXPECT_TRUE(umlaut);
    EXPECT_TRUE(beyond1252) << "letters that Windows-1252 lacks";

    TUniQuery photo(&FConn);
    photo.SetSQL(QStringLiteral("select Foto from SchuelerFoto"));
    photo.Open();
    ASSERT_FALSE(photo.Eof());
    const QByteArray bytes = photo.FieldByName(QStringLiteral("Foto")).AsBytes();
    EXPECT_TRUE(bytes.startsWith("\xFF\xD8")) << "a JPEG";
    EXPECT_TRUE(bytes.contains('\0')) << "binary, zero bytes included";
}

TEST_F(SampleGenerator, CatalogueIDsHaveGapsAndEveryReferenceToThemHolds)
{
    // A destination that numbered a catalogue 1..n itself would make every reference to it point
    // at another entry, so that a comparison of the copy with its source shows it.
    const struct
    {
        const char* Catalogue;
        const char* Referring;
        const char* Column;
    } catalogues[] = {
        {"K_Datenschutz", "SchuelerDatenschutz", "Datenschutz_ID"},
        {"K_Ankreuzfloskeln", "SchuelerAnkreuzfloskeln", "Floskel_ID"},
    };
    for (const auto& c : catalogues) {
        SCOPED_TRACE(c.Catalogue);
        const QString catalogue = QString::fromLatin1(c.Catalogue), referring = QString::fromLatin1(c.Referring),
                      column = QString::fromLatin1(c.Column);
        EXPECT_GE(Count(catalogue), 5);
        EXPECT_EQ(Count(catalogue + QStringLiteral(" where ID < 2")), 0) << "the first ID is above 1";
        const QString beyondGapless = QStringLiteral(" where ID > (select min(ID) + count(*) - 1 from %1)");
        EXPECT_GT(Count(catalogue + beyondGapless.arg(catalogue)), 0) << "gaps between the IDs";
        EXPECT_GT(Count(referring), 0);
        EXPECT_GT(Count(QStringLiteral("(select distinct %1 from %2)").arg(column, referring)), 2);
        EXPECT_EQ(Count(referring + QStringLiteral(" where %1 not in (select ID from %2)").arg(column, catalogue)), 0)
            << "every reference names an entry";
        EXPECT_EQ(Count(referring + QStringLiteral(" where %1 = (select count(*) from %2 k where k.ID <= %1)")
                                        .arg(column, catalogue)),
                  0)
            << "no reference would survive a renumbering by chance";
    }
    for (const char* table : {"SchuelerErzieher", "SchuelerFoto", "SchuelerDatenschutz", "SchuelerLernabschnittsdaten",
                              "SchuelerBemerkungen"})
        EXPECT_EQ(
            Count(QString::fromLatin1(table) + QStringLiteral(" where Schueler_ID not in (select ID from Schueler)")),
            0)
            << table;
    for (const char* table : {"SchuelerLeistungsdaten", "SchuelerAnkreuzfloskeln"})
        EXPECT_EQ(Count(QString::fromLatin1(table) +
                        QStringLiteral(" where Abschnitt_ID not in (select ID from SchuelerLernabschnittsdaten)")),
                  0)
            << table;
    // Pupils of several kinds and school years.
    const QStringList states = Texts(QStringLiteral("select distinct Status from Schueler order by Status"));
    for (const char* state : {"0", "1", "2"})
        EXPECT_TRUE(states.contains(QLatin1String(state))) << state << " in " << S(states.join(u','));
    EXPECT_TRUE(states.contains(QStringLiteral("8")) || states.contains(QStringLiteral("9"))) << "pupils who left";
    EXPECT_GE(Count(QStringLiteral("(select distinct Jahr from SchuelerLernabschnittsdaten)")), 6);
}

TEST(SampleGeneratorRuns, TheSameSeedGivesTheSameDatabaseAndAnotherSeedAnotherOne)
{
    const QString dir = ScratchDir();
    const QString a = dir + QStringLiteral("/a.sqlite"), b = dir + QStringLiteral("/b.sqlite"),
                  c = dir + QStringLiteral("/c.sqlite");
    for (const auto& [file, seed] : {std::pair{a, 11}, std::pair{b, 11}, std::pair{c, 12}}) {
        const TProgramRun run = RunSampleGenerator(Pupils(15, seed, file));
        ASSERT_EQ(run.ExitCode, 0) << S(run.Err);
    }
    TUniConnection ca, cb, cc;
    for (auto [conn, file] : {std::pair{&ca, a}, std::pair{&cb, b}, std::pair{&cc, c}}) {
        conn->SetProviderName(QStringLiteral("SQLite"));
        conn->SetDatabase(file);
        conn->SetLoginPrompt(false);
        conn->Connect();
    }
    int differing = 0;
    for (const TDocTable& table : SchemaDoc().Tables) {
        EXPECT_EQ(DumpTable(ca, table), DumpTable(cb, table)) << S(table.Name);
        differing += DumpTable(ca, table) != DumpTable(cc, table);
    }
    EXPECT_GT(differing, 5) << "another seed, another school";
}

TEST(SampleGeneratorRuns, AboutOneHundredAndFiftyRowsPerPupilMostOfThemMarks)
{
    const QString file = ScratchDir() + QStringLiteral("/size.sqlite");
    const TProgramRun run = RunSampleGenerator(Pupils(300, 1, file));
    ASSERT_EQ(run.ExitCode, 0) << S(run.Err);
    qint64 total = 0, marks = 0;
    for (const auto& [table, rows] : PrintedCounts(run.Out)) {
        total += rows;
        if (table == QLatin1String("SchuelerLeistungsdaten"))
            marks = rows;
    }
    EXPECT_GE(total, 300 * 110) << S(run.Out);
    EXPECT_LE(total, 300 * 190) << S(run.Out);
    EXPECT_GT(marks * 2, total) << S(run.Out);
}

TEST(SampleGeneratorRuns, RefusesWhatItCannotDoAndLeavesNothingBehind)
{
    const QString dir = ScratchDir();
    const QString existing = dir + QStringLiteral("/existing.sqlite");
    {
        QFile f(existing);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep me");
    }
    const QString fresh = dir + QStringLiteral("/fresh.sqlite");
    const QString filled = dir + QStringLiteral("/filled.sqlite");
    ASSERT_EQ(RunSampleGenerator(Pupils(3, 1, filled)).ExitCode, 0);
    TUniConnection filledConn;
    filledConn.SetProviderName(QStringLiteral("SQLite"));
    filledConn.SetDatabase(filled);
    const QString filledConfig = dir + QStringLiteral("/filled.kdbcfg");
    WriteConfigFile(filledConfig, filledConn);

    const struct
    {
        const char* Name;
        QStringList Args;
        int ExitCode;
        const char* Message; // part of stderr
    } cases[] = {
        {"no arguments", {}, 2, "usage"},
        {"no number of pupils", {"--out", fresh}, 2, "usage"},
        {"a number of pupils that is none", {"--pupils", "many", "--out", fresh}, 2, "usage"},
        {"neither file", {"--pupils", "3"}, 2, "usage"},
        {"both files", {"--pupils", "3", "--out", fresh, "--config", filledConfig}, 2, "usage"},
        {"an existing file", Pupils(3, 1, existing), 1, "exists"},
        {"a database that holds rows", {"--pupils", "3", "--config", filledConfig}, 1, "not empty"},
        {"a missing configuration", {"--pupils", "3", "--config", dir + QStringLiteral("/missing.kdbcfg")}, 1, ""},
        {"a missing updater database",
         Pupils(3, 1, fresh) + QStringList{"--updater", dir + QStringLiteral("/none.db3")}, 1, "none.db3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const TProgramRun run = RunSampleGenerator(c.Args);
        EXPECT_EQ(run.ExitCode, c.ExitCode) << S(run.Out) << S(run.Err);
        EXPECT_TRUE(run.Err.contains(QString::fromUtf8(c.Message))) << S(run.Err);
        EXPECT_FALSE(QFile::exists(fresh)) << "no half-made file is left";
    }
    QFile kept(existing);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));
}

} // namespace
