#include "TSampleSchool.h"

#include "SampleNames.h"
#include "TRandom.h"
#include "TRowSink.h"
#include "Win1252.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <cmath>

using SampleNames::TList;
using TPupil = TSchoolPlan::TPupil;
using TSection = TSchoolPlan::TSection;

namespace {

// The day the sample database stands at.
const QDate Today(2025, 3, 14);
// The date an empty date field of old programs held.
const QDate ZeroDate(1899, 12, 30);
const QString MailDomain = QStringLiteral("@gymnasium-lindenhoehe.example");

QVariant Null()
{
    return QVariant();
}

QVariant Text(const QString& Value)
{
    return QVariant(Value);
}

QVariant Text(const char* Utf8)
{
    return QVariant(QString::fromUtf8(Utf8));
}

QString Blanks(TRandom& Random)
{
    return QString(Random.Between(1, 4), u' ');
}

// The text in the other letter case: what a hand-typed reference to a key often is.
QString OtherCase(const QString& Text)
{
    return Text == Text.toUpper() ? Text.toLower() : Text.toUpper();
}

// An RTF document as a rich-text control writes it: Windows-1252 escapes, \u for the rest.
QString Rtf(const QString& Plain)
{
    static const QHash<QChar, int> codePage = [] {
        QHash<QChar, int> map;
        for (int b = 0x80; b <= 0xFF; ++b)
            map.insert(Win1252Char(uchar(b)), b);
        return map;
    }();
    QString body;
    for (const QChar c : Plain) {
        if (c == u'\\' || c == u'{' || c == u'}')
            body += u'\\' + QString(c);
        else if (c.unicode() < 0x80)
            body += c;
        else if (codePage.contains(c))
            body += QStringLiteral("\\'%1").arg(codePage.value(c), 2, 16, QLatin1Char('0'));
        else
            body += QStringLiteral("\\u%1?").arg(qint16(c.unicode()));
    }
    return QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
                          "\\viewkind4\\uc1\\pard\\lang1031\\f0\\fs20 ") +
           body + QStringLiteral("\\par\r\n}\r\n");
}

// A remark: mostly none, else plain text or RTF, now and then blanks only.
QVariant Remark(TRandom& Random, const TList& Texts, int PlainPerMille, int RtfPerMille, int BlankPerMille)
{
    const int r = Random.Below(1000);
    if (r < PlainPerMille)
        return Text(Texts.Pick(Random));
    if (r < PlainPerMille + RtfPerMille)
        return Text(Rtf(Texts.Pick(Random)));
    if (r < PlainPerMille + RtfPerMille + BlankPerMille)
        return Text(Blanks(Random));
    return Null();
}

// The name in plain ASCII letters, for e-mail addresses.
QString Ascii(const QString& Name)
{
    QString out;
    for (const QChar c : Name.toLower().normalized(QString::NormalizationForm_D)) {
        if (c.isLetterOrNumber() && c.unicode() < 0x80)
            out += c;
        else if (c == u'ß')
            out += QStringLiteral("ss");
        else if (c == u'ł')
            out += u'l';
        else if (c == u'ı')
            out += u'i';
        else if (c == u'đ')
            out += u'd';
        else if (c == u'ø')
            out += u'o';
        else if (c == u' ' || c == u'-')
            out += u'-';
    }
    return out;
}

QString Mail(const QString& First, const QString& Last, int ID)
{
    const QString first = Ascii(First.section(u' ', 0, 0)), last = Ascii(Last);
    if (first.isEmpty() || last.isEmpty())
        return QStringLiteral("kontakt%1%2").arg(ID).arg(MailDomain);
    return first + u'.' + last + MailDomain;
}

QString Phone(TRandom& Random, bool Mobile)
{
    static const char* const codes[] = {"02303", "0231", "02307", "02304", "0234", "02389"};
    if (Mobile)
        return QStringLiteral("01%1 %2").arg(Random.Between(51, 79)).arg(Random.Between(1000000, 9999999));
    return QStringLiteral("%1 %2").arg(QString::fromLatin1(Random.Pick(codes))).arg(Random.Between(10000, 999999));
}

// A day from the first of FromYear to the last of ToYear (at least of FromYear).
QDate RandomDate(TRandom& Random, int FromYear, int ToYear)
{
    const QDate from(FromYear, 1, 1);
    ToYear = qMax(FromYear, ToYear);
    return from.addDays(Random.Below(int(from.daysTo(QDate(ToYear, 12, 31))) + 1));
}

// A time during the school day, which also avoids the hour that daylight saving time skips.
QDateTime DuringSchool(TRandom& Random, const QDate& Day)
{
    return QDateTime(Day, QTime(Random.Between(7, 18), Random.Below(60), Random.Below(60)));
}

// A picture as a camera stores it: a JPEG header and end marker around bytes of every value.
QByteArray Photo(TRandom& Random)
{
    QByteArray bytes = QByteArray::fromHex("FFD8FFE000104A46494600010101004800480000");
    const int size = Random.Between(1200, 3600);
    bytes.reserve(size + 2);
    while (bytes.size() < size)
        bytes.append(char(Random.Below(256)));
    bytes.append(QByteArray::fromHex("FFD9"));
    return bytes;
}

struct TSubjectInfo
{
    const char* Bezeichnung;
    bool Fremdsprache;
};

const TSubjectInfo SubjectInfos[] = {
    {"", false},
    {"Deutsch", false},
    {"Mathematik", false},
    {"Englisch", true},
    {"Französisch", true},
    {"Latein", true},
    {"Spanisch", true},
    {"Biologie", false},
    {"Chemie", false},
    {"Physik", false},
    {"Erdkunde", false},
    {"Geschichte", false},
    {"Politik", false},
    {"Sozialwissenschaften", false},
    {"Katholische Religionslehre", false},
    {"Evangelische Religionslehre", false},
    {"Praktische Philosophie", false},
    {"Sport", false},
    {"Musik", false},
    {"Kunst", false},
    {"Informatik", false},
    {"Pädagogik", false},
    {"Literatur", false},
    {"Philosophie", false},
    {"Naturwissenschaften", false},
};

struct TPhrase
{
    int Fach; // 0: a phrase for every subject
    const char* Kategorie;
    const char* Text;
    const char* Jahrgang; // "" for every year group
};

const TPhrase Phrases[] = {
    {0, "Arbeitsverhalten", "arbeitet konzentriert und ausdauernd", ""},
    {0, "Arbeitsverhalten", "erledigt die Hausaufgaben zuverlässig", ""},
    {0, "Arbeitsverhalten", "beteiligt sich aktiv am Unterricht", ""},
    {0, "Arbeitsverhalten", "arbeitet selbstständig", ""},
    {0, "Arbeitsverhalten", "hält die Arbeitsmaterialien in Ordnung", "05"},
    {0, "Arbeitsverhalten", "braucht häufig Erinnerungen", ""},
    {0, "Arbeitsverhalten", "lässt sich leicht ablenken", ""},
    {0, "Arbeitsverhalten", "arbeitet sorgfältig und genau", ""},
    {0, "Sozialverhalten", "hält vereinbarte Regeln ein", ""},
    {0, "Sozialverhalten", "hilft anderen", ""},
    {0, "Sozialverhalten", "geht respektvoll mit anderen um", ""},
    {0, "Sozialverhalten", "arbeitet gut im Team", ""},
    {0, "Sozialverhalten", "löst Konflikte angemessen", "06"},
    {0, "Sozialverhalten", "übernimmt Verantwortung für die Klasse", ""},
    {0, "Sozialverhalten", "stört den Unterricht häufig", ""},
    {TSchoolPlan::D, "Deutsch", "liest flüssig und sinnbetont", "05"},
    {TSchoolPlan::D, "Deutsch", "schreibt weitgehend fehlerfrei", ""},
    {TSchoolPlan::D, "Deutsch", "formuliert Texte verständlich", ""},
    {TSchoolPlan::D, "Deutsch", "trägt Gedichte ausdrucksvoll vor", "05"},
    {TSchoolPlan::M, "Mathematik", "rechnet sicher mit Brüchen", "06"},
    {TSchoolPlan::M, "Mathematik", "löst Sachaufgaben selbstständig", ""},
    {TSchoolPlan::M, "Mathematik", "zeichnet sauber und genau", ""},
    {TSchoolPlan::M, "Mathematik", "erkennt Muster und Strukturen", ""},
    {TSchoolPlan::E, "Englisch", "spricht verständlich Englisch", ""},
    {TSchoolPlan::E, "Englisch", "versteht einfache Hörtexte", "05"},
    {TSchoolPlan::E, "Englisch", "beherrscht den Grundwortschatz", ""},
    {TSchoolPlan::E, "Englisch", "schreibt kurze Texte („My family“, „My hobbies“)", "05"},
    {0, "Lernentwicklung", "hat sich im Halbjahr deutlich verbessert", ""},
    {0, "Lernentwicklung", "sollte regelmäßiger üben", ""},
    {0, "Lernentwicklung", "nimmt erfolgreich an der Förderung teil", "06"},
};
const int PhraseCount = int(std::size(Phrases));

// The ID of entry Index (from 0) of K_Datenschutz and K_Ankreuzfloskeln: 3, 4, 6, 7, 9, ..., the
// numbers of a catalogue whose first entries and some later ones were deleted. A destination that
// numbered the rows itself would give other IDs, and the pupils' rows would point elsewhere.
int CatalogueID(int Index)
{
    return 3 + Index + Index / 2;
}

} // namespace

TSampleSchool::TSampleSchool(int Pupils, quint64 Seed) : FPlan(Pupils, Seed) {}

QStringList TSampleSchool::TableNames()
{
    return {QStringLiteral("EigeneSchule"),
            QStringLiteral("Schuljahresabschnitte"),
            QStringLiteral("K_Ort"),
            QStringLiteral("K_Religion"),
            QStringLiteral("K_Lehrer"),
            QStringLiteral("K_Fach"),
            QStringLiteral("EigeneSchule_Jahrgaenge"),
            QStringLiteral("EigeneSchule_Fachklassen"),
            QStringLiteral("Versetzung"),
            QStringLiteral("K_Datenschutz"),
            QStringLiteral("K_Ankreuzfloskeln"),
            QStringLiteral("Kurse"),
            QStringLiteral("KursLehrer"),
            QStringLiteral("Schueler"),
            QStringLiteral("SchuelerErzieher"),
            QStringLiteral("SchuelerFoto"),
            QStringLiteral("SchuelerDatenschutz"),
            QStringLiteral("SchuelerLernabschnittsdaten"),
            QStringLiteral("SchuelerLeistungsdaten"),
            QStringLiteral("SchuelerAnkreuzfloskeln"),
            QStringLiteral("SchuelerBemerkungen")};
}

void TSampleSchool::Write(TRowSink& Sink)
{
    WriteSchool(Sink);
    WriteSchoolYears(Sink);
    WritePlaces(Sink);
    WriteReligions(Sink);
    WriteTeachers(Sink);
    WriteSubjects(Sink);
    WriteYearGroups(Sink);
    WriteSpecialistClasses(Sink);
    WriteClasses(Sink);
    WriteConsentCatalogue(Sink);
    WritePhraseCatalogue(Sink);
    WriteCourses(Sink);
    WriteCourseTeachers(Sink);
    WritePupils(Sink);
    WriteGuardians(Sink);
    WritePhotos(Sink);
    WriteConsents(Sink);
    WriteSections(Sink);
    WriteMarks(Sink);
    WritePhrases(Sink);
    WriteRemarks(Sink);
}

TRandom TSampleSchool::Stream(int Kind, int ID) const
{
    return TRandom(FPlan.Hash(100 + quint64(Kind), quint64(ID)));
}

bool TSampleSchool::Rare(TRandom& Random, int PerMille, int ID, int Forced) const
{
    const bool hit = Random.Chance(PerMille);
    return hit || ID == Forced;
}

QString TSampleSchool::Kuerzel(int Teacher) const
{
    return FPlan.Teachers()[Teacher].Kuerzel;
}

void TSampleSchool::WriteSchool(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("EigeneSchule"),
                    {"ID", "Schulnummer", "Bezeichnung1", "Bezeichnung2", "Bezeichnung3", "Schulform", "Strasse", "PLZ",
                     "Ort", "Telefon", "Email", "Schulleitung", "Schuljahr", "SchuljahrAbschnitt", "AnzahlAbschnitte"});
    Sink.AddRow({1, Text("187654"), Text("Städtisches Gymnasium an der Lindenhöhe"), Text("Sekundarstufen I und II"),
                 Null(), Text("GY"), Text("Lindenhöhe 12–14"), Text("59423"), Text("Unna"), Text("02303 98765-0"),
                 Text(QStringLiteral("sekretariat") + MailDomain), Text("Dr. Ursula Kämpfer-O'Neill"),
                 TSchoolPlan::CurrentYear, TSchoolPlan::CurrentSection, 2});
    Sink.EndTable();
}

void TSampleSchool::WriteSchoolYears(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("Schuljahresabschnitte"), {"ID", "Jahr", "Abschnitt", "Beginn", "Ende"});
    int id = 1;
    for (int y = TSchoolPlan::FirstYear; y <= TSchoolPlan::CurrentYear + 1; ++y) {
        Sink.AddRow({id++, y, 1, QDate(y, 8, 1), QDate(y + 1, 1, 31)});
        Sink.AddRow({id++, y, 2, QDate(y + 1, 2, 1), QDate(y + 1, 7, 31)});
    }
    Sink.EndTable();
}

void TSampleSchool::WritePlaces(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("K_Ort"), {"ID", "PLZ", "Bezeichnung", "Kreis", "Sortierung", "Sichtbar"});
    for (int i = 0; i < SampleNames::PlaceCount; ++i) {
        const SampleNames::TPlace& p = SampleNames::Places[i];
        const QVariant kreis = i == 11 ? Text("   ") : Text(p.Kreis);
        Sink.AddRow({i + 1, Text(p.PLZ), Text(p.Name), kreis, (i + 1) * 10, i + 1 < SampleNames::PlaceCount});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteReligions(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("K_Religion"), {"ID", "Bezeichnung", "StatistikKrz", "Sortierung", "Sichtbar"});
    const char* const names[] = {"katholisch", "evangelisch",     "islamisch", "orthodox",
                                 "jüdisch",    "ohne Bekenntnis", "sonstige"};
    const char* const codes[] = {"KR", "ER", "IS", "OR", "JD", "OB", nullptr};
    for (int i = 0; i < 7; ++i)
        Sink.AddRow({i + 1, Text(names[i]), codes[i] ? Text(codes[i]) : Null(), (i + 1) * 10, i < 6});
    Sink.EndTable();
}

void TSampleSchool::WriteTeachers(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("K_Lehrer"),
                    {"ID", "Kuerzel", "Nachname", "Vorname", "Geschlecht", "Amtsbezeichnung", "Geburtsdatum", "Email",
                     "Telefon", "Pflichtstunden", "Sichtbar", "Bemerkung"});
    static const char* const titles[] = {"StR", "StR'in", "OStR", "OStR'in", "StD", "StD'in", "L. i. A.", "Ref."};
    static const double hours[] = {25.5, 25.5, 25.5, 25.5, 19.5, 14.0, 12.5, 25.5};
    for (const TSchoolPlan::TTeacher& t : FPlan.Teachers()) {
        TRandom r = Stream(10, t.ID);
        const QString title = QString::fromUtf8(r.Pick(titles));
        QVariant born = QDate(r.Between(1958, 1996), r.Between(1, 12), r.Between(1, 28));
        if (Rare(r, 15, t.ID, 1))
            born = ZeroDate;
        else if (r.Chance(30))
            born = Null();
        QVariant phone = r.Chance(300) ? Null() : Text(Phone(r, r.Chance(500)));
        if (Rare(r, 50, t.ID, 2))
            phone = Text(Blanks(r));
        Sink.AddRow({t.ID, Text(t.Kuerzel), Text(t.Nachname), Text(t.Vorname),
                     Text(r.Chance(10) ? QStringLiteral("d")
                          : t.Female   ? QStringLiteral("w")
                                       : QStringLiteral("m")),
                     Text(title), born, r.Chance(100) ? Null() : Text(Mail(t.Vorname, t.Nachname, t.ID)), phone,
                     r.Pick(hours), !r.Chance(50),
                     t.ID == 1 ? Text(Rtf(QStringLiteral("Fachleitung Mathematik – Sprechstunde dienstags, 3. Stunde")))
                               : Remark(r, SampleNames::PupilRemarks, 30, 30, 10)});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteSubjects(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("K_Fach"), {"ID", "Kuerzel", "Bezeichnung", "StatistikKrz", "Zeugnisbezeichnung",
                                               "IstFremdsprache", "Sortierung", "Sichtbar"});
    for (int f = 1; f <= TSchoolPlan::SubjectCount; ++f) {
        const TSubjectInfo& s = SubjectInfos[f];
        const QString code = TSchoolPlan::SubjectCode(f);
        const QVariant report = f == TSchoolPlan::PP ? Text("Praktische Philosophie (Ersatzfach)")
                                : f % 7 == 3         ? Null()
                                                     : Text(s.Bezeichnung);
        Sink.AddRow(
            {f, Text(code), Text(s.Bezeichnung), Text(code), report, s.Fremdsprache, f * 10, f != TSchoolPlan::NW});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteYearGroups(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("EigeneSchule_Jahrgaenge"),
                    {"ID", "InternKrz", "ASDJahrgang", "ASDBezeichnung", "Folgejahrgang_ID", "Sortierung", "Sichtbar"});
    const char* const names[] = {"Jahrgang 5",           "Jahrgang 6",  "Jahrgang 7",       "Jahrgang 8",
                                 "Jahrgang 9",           "Jahrgang 10", "Einführungsphase", "Qualifikationsphase 1",
                                 "Qualifikationsphase 2"};
    for (int j = 0; j < TSchoolPlan::YearGroups; ++j) {
        const QString code = TSchoolPlan::YearGroupCode(j);
        Sink.AddRow({j + 1, Text(code), Text(code), Text(names[j]),
                     j + 1 < TSchoolPlan::YearGroups ? QVariant(j + 2) : Null(), (j + 1) * 10, true});
    }
    // A year group of the former nine-year course that nobody belongs to any more.
    Sink.AddRow(
        {TSchoolPlan::YearGroups + 1, Text("13"), Text("13"), Text("Jahrgang 13 (auslaufend)"), Null(), 100, false});
    Sink.EndTable();
}

void TSampleSchool::WriteSpecialistClasses(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("EigeneSchule_Fachklassen"),
                    {"ID", "Kennung", "Bezeichnung", "Fachrichtung", "Sortierung", "Sichtbar"});
    Sink.AddRow({1, Text("10100"), Text("Allgemeine Hochschulreife"), Text("Allgemeinbildung"), 10, true});
    Sink.AddRow(
        {2, Text("20410"), Text("Kooperation Berufskolleg: Wirtschaft und Verwaltung"), Text("Wirtschaft"), 20, true});
    Sink.AddRow({3, Text("30720"), Text("Kooperation Berufskolleg: Technik/Naturwissenschaften"), Null(), 30, true});
    Sink.EndTable();
}

void TSampleSchool::WriteClasses(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("Versetzung"),
                    {"ID", "Klasse", "Bezeichnung", "Jahrgang_ID", "ASDKlasse", "KlassenlehrerKrz",
                     "StvKlassenlehrerKrz", "Folgeklasse", "Fachklasse_ID", "Sortierung", "Sichtbar"});
    const auto& classes = FPlan.CurrentClasses();
    for (int i = 0; i < classes.size(); ++i) {
        const QString& name = classes[i].first;
        const int j = classes[i].second;
        TRandom r = Stream(11, i + 1);
        QString teacher = Kuerzel(FPlan.ClassTeacher(name, TSchoolPlan::CurrentYear));
        if (Rare(r, 60, i + 1, 2))
            teacher = OtherCase(teacher);
        const QVariant deputy =
            r.Chance(700) ? Text(Kuerzel(FPlan.DeputyTeacher(name, TSchoolPlan::CurrentYear))) : Null();
        QVariant next = Null();
        if (j < 5)
            next = Text(QString::number(j + 6) + name.right(1));
        else if (j < 8)
            next = Text(TSchoolPlan::YearGroupCode(j + 1));
        const QString label = j < 6 ? QStringLiteral("Klasse ") + name : QStringLiteral("Jahrgangsstufe ") + name;
        const QString asd = j < 6 ? TSchoolPlan::YearGroupCode(j) + name.right(1).toUpper() : name;
        Sink.AddRow({i + 1, Text(name), Text(label), j + 1, Text(asd), Text(teacher), deputy, next,
                     j >= 6 ? QVariant(1) : Null(), (i + 1) * 10, true});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteConsentCatalogue(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("K_Datenschutz"), {"ID", "Bezeichnung", "Beschreibung", "Sortierung", "Sichtbar"});
    Sink.AddRow({CatalogueID(0), Text("Veröffentlichung von Fotos auf der Homepage der Schule"),
                 Text("Fotos von Schulveranstaltungen, auf denen die Schülerin/der Schüler zu erkennen ist."), 10,
                 true});
    Sink.AddRow({CatalogueID(1), Text("Nennung des Namens im Jahresbericht"), Null(), 20, true});
    Sink.AddRow({CatalogueID(2), Text("Weitergabe der Kontaktdaten an den Förderverein"),
                 Text(Rtf(QStringLiteral(
                     "Der Förderverein „Freunde der Lindenhöhe e. V.“ erhält Name, Anschrift und E-Mail."))),
                 30, true});
    Sink.AddRow({CatalogueID(3), Text("Nutzung der Lernplattform und der schulischen E-Mail-Adresse"), Text("  "),
                 40, true});
    Sink.AddRow({CatalogueID(4), Text("Klassenfoto (Fotograf „Bild & Ton“ – bis 2021)"), Null(), 50, false});
    Sink.EndTable();
}

void TSampleSchool::WritePhraseCatalogue(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("K_Ankreuzfloskeln"),
                    {"ID", "Fach_ID", "Kategorie", "FloskelText", "Jahrgang", "Sortierung", "Sichtbar"});
    for (int i = 0; i < PhraseCount; ++i) {
        const TPhrase& p = Phrases[i];
        Sink.AddRow({CatalogueID(i), p.Fach ? QVariant(p.Fach) : Null(), Text(p.Kategorie), Text(p.Text),
                     *p.Jahrgang ? Text(p.Jahrgang) : Null(), (i + 1) * 10, i != 14});
    }
    FPhraseCount = PhraseCount;
    Sink.EndTable();
}

void TSampleSchool::WriteCourses(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("Kurse"), {"ID", "Jahr", "Abschnitt", "KurzBez", "Fach_ID", "Jahrgang_ID",
                                              "KursartKrz", "Wochenstunden", "LehrerKrz", "Sortierung", "Sichtbar"});
    for (const TSchoolPlan::TCourse& c : FPlan.Courses()) {
        TRandom r = Stream(12, c.ID);
        QString teacher = Kuerzel(c.Teacher);
        if (Rare(r, 20, c.ID, 3))
            teacher = OtherCase(teacher);
        const bool group = c.Fach == 0;
        Sink.AddRow({c.ID, c.Year, c.Abschnitt, Text(c.KurzBez), group ? Null() : QVariant(c.Fach),
                     group ? Null() : QVariant(c.YearGroup + 1), Text(c.Kursart), c.Wochenstunden, Text(teacher),
                     c.Group * 10, true});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteCourseTeachers(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("KursLehrer"), {"ID", "Kurs_ID", "LehrerKrz", "Anteil"});
    int id = 1;
    const int teachers = int(FPlan.Teachers().size());
    for (const TSchoolPlan::TCourse& c : FPlan.Courses()) {
        TRandom r = Stream(13, c.ID);
        // Working groups are led by two; some courses share their hours.
        if (c.Fach == 0 || r.Chance(200))
            Sink.AddRow({id++, c.ID, Text(Kuerzel((c.Teacher + 1 + r.Below(teachers - 1)) % teachers)),
                         c.Fach == 0 ? 1.0 : 0.5});
    }
    Sink.EndTable();
}

void TSampleSchool::WritePupils(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("Schueler"), {"ID",
                                                 "Name",
                                                 "Vorname",
                                                 "Rufname",
                                                 "Geschlecht",
                                                 "Status",
                                                 "Klasse",
                                                 "Jahrgang_ID",
                                                 "AktSchuljahr",
                                                 "AktAbschnitt",
                                                 "Geburtsdatum",
                                                 "Geburtsort",
                                                 "Religion_ID",
                                                 "Staatsangehoerigkeit",
                                                 "Strasse",
                                                 "Ort_ID",
                                                 "Telefon",
                                                 "Email",
                                                 "Aufnahmedatum",
                                                 "Entlassdatum",
                                                 "Volljaehrig",
                                                 "Bemerkungen",
                                                 "GeaendertAm",
                                                 "Mobilnummer"});
    static const char* const nations[] = {"TUR", "POL", "SYR", "ITA", "GRC", "HRV", "ROU", "VNM", "UKR", "IRL"};
    for (const TPupil& p : FPlan.Pupils()) {
        TRandom r = Stream(20, p.ID);
        QString name = SampleNames::Surnames.Pick(r);
        QString first = (p.Female ? SampleNames::GirlsNames : SampleNames::BoysNames).Pick(r);
        // The first three pupils carry an umlaut, an apostrophe and letters Windows-1252 lacks.
        if (p.ID == 1)
            name = QStringLiteral("Müller"), first = p.Female ? QStringLiteral("Jördis") : QStringLiteral("Sören");
        else if (p.ID == 2)
            name = QStringLiteral("O'Brien"), first = p.Female ? QStringLiteral("Siobhán") : QStringLiteral("Seán");
        else if (p.ID == 3)
            name = QStringLiteral("Łukasiewicz"),
            first = p.Female ? QStringLiteral("Łucja") : QStringLiteral("Mikołaj");
        const QString given = r.Chance(150)
                                  ? first + u' ' + (p.Female ? SampleNames::GirlsNames : SampleNames::BoysNames).Pick(r)
                                  : first;
        QVariant called = Null();
        if (r.Chance(200))
            called = Text(first);
        else if (r.Chance(60))
            called = Text(Blanks(r));

        const TSection* last = p.Sections.isEmpty() ? nullptr : &p.Sections.last();
        QVariant klasse = Null(), yearGroup = Null(), year = Null(), section = Null();
        if (last) {
            klasse = Text(Rare(r, 30, p.ID, 1) ? OtherCase(last->Klasse) : last->Klasse);
            yearGroup = last->YearGroup + 1;
            year = last->Year;
            section = last->Abschnitt;
        } else if (p.Status == 0) {
            yearGroup = 1;
            year = p.EntryYear;
            section = 1;
        }

        QDate birthday(p.EntryYear - p.EntryYearGroup - 10 - (r.Chance(150) ? 1 : 0), r.Between(1, 12),
                       r.Between(1, 28));
        QVariant born = birthday;
        if (Rare(r, 3, p.ID, 4))
            born = QDate(1900, 1, 1);
        else if (Rare(r, 2, p.ID, 5))
            born = ZeroDate;
        else if (r.Chance(5))
            born = Null(), birthday = QDate();
        QVariant birthplace = Text(SampleNames::Birthplaces.Pick(r));
        if (r.Chance(100))
            birthplace = Null();
        else if (r.Chance(50))
            birthplace = Text(Blanks(r));

        QVariant religion = p.Religion == TSchoolPlan::KR   ? 1
                            : p.Religion == TSchoolPlan::ER ? 2
                            : r.Chance(200)                 ? Null()
                                                            : QVariant(r.Between(3, 6));
        const QVariant nation = r.Chance(20) ? Null() : r.Chance(850) ? Text("DEU") : Text(r.Pick(nations));
        const QVariant street = r.Chance(20) ? Null()
                                             : Text(QStringLiteral("%1 %2%3")
                                                        .arg(SampleNames::Streets.Pick(r))
                                                        .arg(r.Between(1, 120))
                                                        .arg(r.Chance(50) ? QStringLiteral("a") : QString()));
        const int place = r.Chance(700) ? r.Between(1, 10) : r.Between(1, SampleNames::PlaceCount);
        QVariant phone = r.Chance(400) ? Null() : Text(Phone(r, false));
        if (Rare(r, 30, p.ID, 1))
            phone = Text(Blanks(r));
        const QVariant mail = r.Chance(400) ? Text(Mail(first, name, p.ID)) : Null();

        const int startYear = p.EntryYear == TSchoolPlan::FirstYear ? p.EntryYear - p.EntryYearGroup : p.EntryYear;
        QVariant admitted = QDate(startYear, 8, r.Between(1, 20));
        if (Rare(r, 5, p.ID, 6))
            admitted = ZeroDate;
        QVariant left = Null();
        if (Rare(r, 3, p.ID, 2))
            left = QDate(2999, 12, 31);
        else if (p.Status == 8 || p.Status == 9)
            left = last->Abschnitt == 1 ? QDate(last->Year + 1, 1, 31) : QDate(last->Year + 1, 7, 31);
        else if (r.Chance(5))
            left = QDate(2099, 7, 31);
        const bool adult = birthday.isValid() && birthday.addYears(18) <= Today;
        const QVariant remark =
            p.ID == 1 ? Text(Rtf(SampleNames::PupilRemarks.At(9))) : Remark(r, SampleNames::PupilRemarks, 80, 80, 20);
        const QVariant changed = DuringSchool(r, RandomDate(r, TSchoolPlan::FirstYear, TSchoolPlan::CurrentYear));
        const QVariant mobile = r.Chance(350) ? Text(Phone(r, true)) : Null();

        Sink.AddRow({p.ID,
                     Text(name),
                     Text(given),
                     called,
                     Text(r.Chance(5) ? QStringLiteral("d")
                          : p.Female  ? QStringLiteral("w")
                                      : QStringLiteral("m")),
                     p.Status,
                     klasse,
                     yearGroup,
                     year,
                     section,
                     born,
                     birthplace,
                     religion,
                     nation,
                     street,
                     place,
                     phone,
                     mail,
                     admitted,
                     left,
                     adult,
                     remark,
                     changed,
                     mobile});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteGuardians(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerErzieher"),
                    {"ID", "Schueler_ID", "ErzieherArt", "Anrede", "Name", "Vorname", "Strasse", "Ort_ID", "Telefon",
                     "Email", "Anschreiben", "Sortierung"});
    int id = 1;
    for (const TPupil& p : FPlan.Pupils()) {
        TRandom r = Stream(21, p.ID);
        const int count = r.Chance(50) ? 0 : r.Chance(320) ? 1 : 2;
        const QString family = SampleNames::Surnames.Pick(r);
        const QString street = QStringLiteral("%1 %2").arg(SampleNames::Streets.Pick(r)).arg(r.Between(1, 120));
        const int place = r.Chance(700) ? r.Between(1, 10) : r.Between(1, SampleNames::PlaceCount);
        for (int g = 0; g < count; ++g) {
            const bool mother = g == 0 ? !r.Chance(150) : r.Chance(100);
            QString kind = mother ? QStringLiteral("Mutter") : QStringLiteral("Vater");
            if (r.Chance(20))
                kind = mother ? QStringLiteral("Pflegemutter") : QStringLiteral("Vormund");
            const QString first = (mother ? SampleNames::AdultFemaleNames : SampleNames::AdultMaleNames).Pick(r);
            const QString last = r.Chance(800) ? family : SampleNames::Surnames.Pick(r);
            QVariant phone = r.Chance(250) ? Null() : Text(Phone(r, r.Chance(600)));
            if (r.Chance(20))
                phone = Text(Blanks(r));
            Sink.AddRow({id++, p.ID, Text(kind), Text(mother ? "Frau" : "Herr"), Text(last), Text(first),
                         r.Chance(850) ? Text(street) : Null(), r.Chance(850) ? QVariant(place) : Null(), phone,
                         r.Chance(550) ? Text(Mail(first, last, p.ID)) : Null(), g == 0 || r.Chance(700), g + 1});
        }
    }
    Sink.EndTable();
}

void TSampleSchool::WritePhotos(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerFoto"), {"Schueler_ID", "Foto", "Aufnahmedatum"});
    for (const TPupil& p : FPlan.Pupils()) {
        TRandom r = Stream(22, p.ID);
        if (!(p.ID == 1 || r.Chance(350)))
            continue;
        const int year = p.Sections.isEmpty() ? TSchoolPlan::CurrentYear : p.Sections.last().Year;
        QVariant taken = QDate(year, 9, r.Between(1, 30));
        if (Rare(r, 5, p.ID, 2))
            taken = QDate(2099, 1, 1);
        else if (r.Chance(50))
            taken = Null();
        Sink.AddRow({p.ID, Photo(r), taken});
    }
    Sink.EndTable();
}

void TSampleSchool::WriteConsents(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerDatenschutz"), {"Schueler_ID", "Datenschutz_ID", "Zustimmung", "Datum"});
    for (const TPupil& p : FPlan.Pupils()) {
        TRandom r = Stream(23, p.ID);
        const QDate asked(p.EntryYear, 8, r.Between(1, 28));
        // The four visible consents; the last entry of the catalogue is no longer asked for.
        for (int d = 0; d < 4; ++d)
            if (r.Chance(920))
                Sink.AddRow({p.ID, CatalogueID(d), r.Chance(780),
                             r.Chance(50) ? Null() : QVariant(asked.addDays(r.Below(30)))});
    }
    Sink.EndTable();
}

QList<TSampleSchool::TMark> TSampleSchool::Marks(const TPupil& Pupil, const TSection& Section) const
{
    TRandom r = Stream(30, Section.ID);
    const bool current = Section.Year == TSchoolPlan::CurrentYear && Section.Abschnitt == TSchoolPlan::CurrentSection;
    QList<TMark> marks;
    for (const TSchoolPlan::TSubjectSlot& slot : FPlan.Subjects(Pupil, Section.YearGroup)) {
        TMark m{slot, QString(), 0.0};
        // The subject suits some pupils better than others.
        const double bias = double(int(FPlan.Hash(31, quint64(Pupil.ID), quint64(slot.Fach)) % 13) - 6) / 6.0;
        const double value = qBound(0.67, Pupil.Ability / 10.0 + bias * 0.6 + (r.Below(13) - 6) / 8.0, 6.0);
        if (current && !r.Chance(200)) {
            // Marks of the running section are not given yet.
        } else if (slot.Fach == TSchoolPlan::SP && r.Chance(15)) {
            m.NotenKrz = r.Chance(700) ? QStringLiteral("AT") : QStringLiteral("NB");
        } else if (Section.YearGroup < 6) {
            const int thirds = qRound(value * 3);
            const int grade = (thirds + 1) / 3;
            const int tendency = thirds - grade * 3;
            m.NotenKrz = QString::number(grade) + (tendency < 0   ? QStringLiteral("+")
                                                   : tendency > 0 ? QStringLiteral("-")
                                                                  : QString());
            m.Value = thirds / 3.0;
        } else {
            const int points = qBound(0, qRound((6.0 - value) * 3.0), 15);
            m.NotenKrz = QStringLiteral("%1").arg(points, 2, 10, QLatin1Char('0'));
            m.Value = (17 - points) / 3.0;
        }
        marks.append(m);
    }
    return marks;
}

void TSampleSchool::WriteSections(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerLernabschnittsdaten"),
                    {"ID", "Schueler_ID", "Jahr", "Abschnitt", "Klasse", "Klassenlehrer", "Jahrgang_ID", "ASDJahrgang",
                     "Fachklasse_ID", "Schulbesuchsjahre", "Konferenzdatum", "Zeugnisdatum", "VersetzungKrz",
                     "Wiederholung", "SummeFehlstd", "SummeFehlstdUnentsch", "Notendurchschnitt", "ZeugnisBemerkung",
                     "Foerderschwerpunkt"});
    static const char* const needs[] = {"LE", "ES", "SQ", "KM"};
    for (const TPupil& p : FPlan.Pupils()) {
        for (int k = 0; k < p.Sections.size(); ++k) {
            const TSection& s = p.Sections[k];
            TRandom r = Stream(24, s.ID);
            const bool current = s.Year == TSchoolPlan::CurrentYear && s.Abschnitt == TSchoolPlan::CurrentSection;
            const QString klasse = Rare(r, 30, s.ID, 3) ? OtherCase(s.Klasse) : s.Klasse;
            QString teacher = Kuerzel(FPlan.ClassTeacher(s.Klasse, s.Year));
            if (Rare(r, 50, s.ID, 1))
                teacher = OtherCase(teacher);
            QVariant yearGroup = s.YearGroup + 1;
            if (Rare(r, 10, s.ID, 4))
                yearGroup = 99; // a year group that was deleted
            QString asd = TSchoolPlan::YearGroupCode(s.YearGroup);
            if (Rare(r, 30, s.ID, 2))
                asd = s.YearGroup < 6 && r.Chance(500) ? QString::number(s.YearGroup + 5)
                                                       : TSchoolPlan::YearGroupCode(qMax(0, s.YearGroup - 1));
            QVariant specialist = s.YearGroup >= 6 && r.Chance(250) ? QVariant(r.Between(1, 3)) : Null();
            if (Rare(r, 40, s.ID, 1))
                specialist = 0;
            const QDate conference =
                s.Abschnitt == 1 ? QDate(s.Year + 1, 1, r.Between(18, 27)) : QDate(s.Year + 1, 6, r.Between(12, 24));
            const QVariant report =
                current ? Null()
                        : QVariant(s.Abschnitt == 1 ? QDate(s.Year + 1, 1, 31) : QDate(s.Year + 1, 7, r.Between(1, 8)));
            QVariant outcome = Null();
            if (s.Abschnitt == 2 && !current) {
                const bool repeats = k + 1 < p.Sections.size() && p.Sections[k + 1].Repeat;
                outcome = Text(repeats ? "N" : s.Leaving ? (p.Status == 8 ? "A" : "") : "V");
                if (outcome.toString().isEmpty())
                    outcome = Null();
            }
            QVariant missed = Null(), unexcused = Null();
            if (!current) {
                const int m = r.Chance(150) ? 0 : r.Between(0, 64);
                missed = m;
                unexcused = r.Chance(800) ? 0 : r.Between(0, qMin(m, 12));
            }
            double sum = 0;
            int given = 0;
            for (const TMark& mark : Marks(p, s))
                if (mark.Value > 0)
                    sum += mark.Value, ++given;
            const QVariant average = given ? QVariant(std::round(sum / given * 100.0) / 100.0) : Null();
            Sink.AddRow({s.ID, p.ID, s.Year, s.Abschnitt, Text(klasse), Text(teacher), yearGroup, Text(asd), specialist,
                         s.YearGroup + 5 + (s.Repeat ? 1 : 0), conference, report, outcome, s.Repeat, missed, unexcused,
                         average, Remark(r, SampleNames::ReportRemarks, 80, 60, 20),
                         r.Chance(20) ? Text(r.Pick(needs)) : Null()});
        }
    }
    Sink.EndTable();
}

void TSampleSchool::WriteMarks(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerLeistungsdaten"),
                    {"ID", "Abschnitt_ID", "Fach_ID", "Kurs_ID", "Kursart", "NotenKrz", "Fachlehrer", "Wochenstunden",
                     "Fehlstunden", "FehlstundenUnentsch", "Warnung", "Sortierung", "Lernentwicklung", "GeaendertAm"});
    qlonglong id = 1;
    const auto& courses = FPlan.Courses();
    for (const TPupil& p : FPlan.Pupils()) {
        for (const TSection& s : p.Sections) {
            TRandom r = Stream(25, s.ID);
            const QList<TMark> marks = Marks(p, s);
            for (int k = 0; k < marks.size(); ++k, ++id) {
                const TMark& m = marks[k];
                const int course = FPlan.CourseOf(p, s, m.Slot);
                QVariant courseId = course ? QVariant(course) : Null();
                if (Rare(r, 20, int(id), 1))
                    courseId = 0;
                QString teacher = course ? Kuerzel(courses[course - 1].Teacher)
                                         : Kuerzel(FPlan.SubjectTeacher(s.Klasse, m.Slot.Fach, s.Year));
                if (Rare(r, 40, int(id), 2))
                    teacher = OtherCase(teacher);
                const bool given = !m.NotenKrz.isEmpty();
                QVariant missed = Null(), unexcused = Null();
                if (given) {
                    const int h = r.Chance(300) ? 0 : r.Between(1, 14);
                    missed = h;
                    unexcused = r.Chance(850) || h == 0 ? 0 : r.Between(1, qMin(h, 4));
                }
                QVariant progress = Null();
                if (s.YearGroup <= 1)
                    progress = Remark(r, SampleNames::ProgressRemarks, 40, 30, 10);
                const QDate day =
                    s.Abschnitt == 1 ? QDate(s.Year + 1, 1, r.Between(8, 28)) : QDate(s.Year + 1, 6, r.Between(8, 28));
                Sink.AddRow({id, s.ID, m.Slot.Fach, courseId, Text(m.Slot.Kursart), given ? Text(m.NotenKrz) : Null(),
                             Text(teacher), m.Slot.Wochenstunden, missed, unexcused, s.Abschnitt == 1 && m.Value >= 4.6,
                             (k + 1) * 10, progress, DuringSchool(r, day)});
            }
        }
    }
    Sink.EndTable();
}

void TSampleSchool::WritePhrases(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerAnkreuzfloskeln"),
                    {"ID", "Abschnitt_ID", "Floskel_ID", "Fach_ID", "Stufe"});
    int id = 1;
    for (const TPupil& p : FPlan.Pupils()) {
        for (const TSection& s : p.Sections) {
            if (s.YearGroup > 2)
                continue;
            TRandom r = Stream(26, s.ID);
            // A handful of distinct phrases per report of the year groups 5 to 7.
            const int count = r.Between(5, 10);
            const int start = r.Below(FPhraseCount);
            const int step = 1 + r.Below(3);
            for (int k = 0; k < count; ++k) {
                const int phrase = (start + k * step) % FPhraseCount;
                const int fach = Phrases[phrase].Fach;
                Sink.AddRow({id++, s.ID, CatalogueID(phrase), fach ? QVariant(fach) : Null(), r.Between(1, 5)});
            }
        }
    }
    Sink.EndTable();
}

void TSampleSchool::WriteRemarks(TRowSink& Sink)
{
    Sink.BeginTable(QStringLiteral("SchuelerBemerkungen"),
                    {"ID", "Schueler_ID", "Datum", "Kategorie", "Bemerkung", "LehrerKrz", "Vertraulich"});
    static const char* const kinds[] = {"Elterngespräch", "Pädagogische Maßnahme", "Attest", "Lob",
                                        "Verspätung",     "Ordnungsmaßnahme"};
    int id = 1;
    const int teachers = int(FPlan.Teachers().size());
    for (const TPupil& p : FPlan.Pupils()) {
        TRandom r = Stream(27, p.ID);
        const int n = r.Chance(350) ? 0 : r.Chance(540) ? 1 : r.Chance(670) ? 2 : 3;
        for (int k = 0; k < n; ++k, ++id) {
            QVariant day =
                DuringSchool(r, RandomDate(r, qMax(TSchoolPlan::FirstYear, p.EntryYear), TSchoolPlan::CurrentYear));
            if (Rare(r, 10, id, 1))
                day = QDateTime(ZeroDate, QTime(0, 0));
            else if (Rare(r, 5, id, 2))
                day = QDateTime(QDate(2999, 12, 31), QTime(0, 0));
            QVariant text = Text(SampleNames::PupilRemarks.Pick(r));
            if (r.Chance(450))
                text = Text(Rtf(text.toString()));
            else if (r.Chance(50))
                text = Text(Blanks(r));
            QString teacher = Kuerzel(r.Below(teachers));
            if (Rare(r, 30, id, 3))
                teacher = OtherCase(teacher);
            Sink.AddRow({id, p.ID, day, Text(r.Pick(kinds)), text, Text(teacher), r.Chance(100)});
        }
    }
    Sink.EndTable();
}
