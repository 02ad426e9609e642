#include "SampleNames.h"

#include "TRandom.h"

namespace SampleNames {

QString TList::Pick(TRandom& Random) const
{
    return At(Random.Below(Count));
}

namespace {

const char* const SurnameItems[] = {
    "Müller",     "Schmidt",  "Schneider",   "Fischer",   "Weber",          "Meyer",         "Wagner",
    "Becker",     "Schulz",   "Hoffmann",    "Schäfer",   "Koch",           "Bauer",         "Richter",
    "Klein",      "Wolf",     "Schröder",    "Neumann",   "Schwarz",        "Zimmermann",    "Braun",
    "Krüger",     "Hofmann",  "Hartmann",    "Lange",     "Schmitt",        "Werner",        "Schmitz",
    "Krause",     "Meier",    "Lehmann",     "Schulze",   "Köhler",         "Herrmann",      "König",
    "Walter",     "Huber",    "Kaiser",      "Fuchs",     "Peters",         "Scholz",        "Möller",
    "Weiß",       "Jung",     "Hahn",        "Vogel",     "Friedrich",      "Keller",        "Günther",
    "Berger",     "Winkler",  "Roth",        "Lorenz",    "Baumann",        "Albrecht",      "Schuster",
    "Böhm",       "Winter",   "Krämer",      "Vogt",      "Jäger",          "Sommer",        "Groß",
    "Brandt",     "Haas",     "Schulte",     "Dietrich",  "Kühn",           "Engel",         "Horn",
    "Bergmann",   "Voigt",    "Pfeiffer",    "Dreßler",   "Große-Wöstmann", "von der Heide", "Yılmaz",
    "Kaya",       "Demir",    "Şahin",       "Çelik",     "Yıldız",         "Öztürk",        "Aydın",
    "Özdemir",    "Arslan",   "Doğan",       "Kılıç",     "Nowak",          "Kowalski",      "Wiśniewski",
    "Wójcik",     "Kamiński", "Lewandowski", "Zieliński", "Woźniak",        "Dąbrowski",     "Łukasiewicz",
    "Dvořák",     "Novák",    "Černý",       "Kovačević", "Petrović",       "Đorđević",      "Ćosić",
    "Popescu",    "Țurcanu",  "Nguyễn",      "Trần",      "O'Brien",        "O'Connor",      "D'Amico",
    "Dell'Orto",  "N'Diaye",  "D'Souza",     "Rossi",     "Russo",          "Esposito",      "Papadopoulos",
    "García",     "Martínez", "Fernández",   "Al-Hassan", "Haddad",         "Ahmadi",        "Шевченко",
    "Hämäläinen", "Øster",    "Ångström",    "Nagy",
};

const char* const GirlsItems[] = {
    "Mia",       "Emma",      "Hannah", "Sophia",  "Emilia", "Lina",   "Marie",  "Lea",       "Anna",
    "Mila",      "Lena",      "Leonie", "Clara",   "Ella",   "Lara",   "Laura",  "Sarah",     "Lilly",
    "Johanna",   "Charlotte", "Maja",   "Jana",    "Zoë",    "Chloé",  "Amélie", "Renée",     "Noémie",
    "Ayşe",      "Elif",      "Zeynep", "Çağla",   "Gül",    "Şule",   "Łucja",  "Zofia",     "Małgorzata",
    "Agnieszka", "Jiřina",    "Ivana",  "Mirjana", "Linh",   "Thảo",   "Maria",  "Fatma",     "Aleyna",
    "Siobhán",   "Aoife",     "Ines",   "Ronja",   "Frieda", "Jördis", "Kübra",  "Anna-Lena", "Marie-Thérèse",
};

const char* const BoysItems[] = {
    "Ben",        "Paul",   "Leon",   "Finn",    "Elias",       "Jonas",    "Luis",   "Noah",     "Felix",    "Lukas",
    "Maximilian", "Henry",  "Emil",   "Anton",   "Theo",        "Jakob",    "Moritz", "Niklas",   "Tim",      "Jan",
    "Julian",     "Tobias", "Björn",  "Sören",   "Mehmet",      "Mustafa",  "Emre",   "Yusuf",    "Ömer",     "Çağan",
    "İbrahim",    "Oğuz",   "Łukasz", "Mikołaj", "Paweł",       "Wojciech", "Jiří",   "Bořek",    "Luka",     "Dragan",
    "Minh",       "Đức",    "Seán",   "Pádraig", "Noël",        "José",     "Andrés", "Giuseppe", "Nikolaos", "Mateusz",
    "Karim",      "Ali",    "Omar",   "Jan-Ole", "Hans-Jürgen",
};

const char* const AdultFemaleItems[] = {
    "Sabine", "Petra",        "Claudia",   "Birgit",    "Susanne", "Martina", "Andrea",     "Stefanie",
    "Nicole", "Katrin",       "Dörte",     "Jutta",     "Gülay",   "Hülya",   "Małgorzata", "Bożena",
    "Ewa",    "Anne-Kathrin", "Renée",     "Françoise", "Ursula",  "Monika",  "Svenja",     "Kerstin",
    "Iwona",  "Dragana",      "Thị Hương", "Fatma",     "Zsófia",  "Sigrún",
};

const char* const AdultMaleItems[] = {
    "Andreas",  "Thomas",  "Michael",      "Stefan",      "Frank", "Jürgen",   "Uwe",       "Jörg",
    "Matthias", "Markus",  "Klaus-Dieter", "Björn",       "Ralf",  "Holger",   "Krzysztof", "Grzegorz",
    "Mehmet",   "Hüseyin", "Ahmet",        "Dušan",       "Tomáš", "Radosław", "François",  "Sean",
    "Văn Hải",  "Bernd",   "Günter",       "Heinz-Peter", "Olaf",  "Søren",
};

const char* const StreetItems[] = {
    "Hauptstraße",
    "Schulstraße",
    "Gartenstraße",
    "Bahnhofstraße",
    "Dorfstraße",
    "Bergstraße",
    "Birkenweg",
    "Lindenstraße",
    "Kirchstraße",
    "Waldstraße",
    "Ringstraße",
    "Schillerstraße",
    "Goethestraße",
    "Am Mühlenbach",
    "Jahnstraße",
    "Königsallee",
    "Friedrich-Ebert-Straße",
    "Rosenweg",
    "Brückenstraße",
    "Auf'm Kamp",
    "Zur schönen Aussicht",
    "Marktplatz",
    "Große Straße",
    "Hellweg",
    "Unterm Dörnenbusch",
    "An der Wüste",
};

const char* const BirthplaceItems[] = {
    "Unna",          "Dortmund",    "Bochum",   "Essen",    "Hamm",         "Kamen",   "Köln",
    "Düsseldorf",    "München",     "Lünen",    "Schwerte", "Iserlohn",     "Münster", "Mülheim an der Ruhr",
    "Gelsenkirchen", "Lüdenscheid", "İstanbul", "Ankara",   "Łódź",         "Kraków",  "Gdańsk",
    "Wrocław",       "Brno",        "Plzeň",    "Zagreb",   "Beograd",      "Niš",     "București",
    "Hà Nội",        "Damaskus",    "Aleppo",   "Київ",     "Thessaloníki", "Αθήνα",   "Dún Laoghaire",
    "Reykjavík",
};

const char* const PupilRemarkItems[] = {
    "Nimmt am Förderunterricht Deutsch teil.",
    "Attest für Sport liegt vor (bis Ende des Schuljahres).",
    "Eltern getrennt lebend – Post an beide Elternteile.",
    "Allergie: Nüsse, Notfallset im Sekretariat.",
    "Schülerausweis verloren, Ersatz am 12.03. ausgestellt.",
    "Wechsel von der Grundschule „Am Rosengarten“.",
    "Teilnahme an der Mathematik-Olympiade – 2. Platz im Kreis!",
    "Fahrschüler (Linie 17), Busfahrkarte beantragt.",
    "Nachteilsausgleich wegen LRS: 10 % mehr Bearbeitungszeit.",
    "Spricht zu Hause Polnisch; Herkunftssprachlicher Unterricht (HSU) in Łódź begonnen.",
    "Gespräch mit Frau O'Neill (Schulsozialarbeit) am 5. Mai.",
    "Befreiung vom Schwimmunterricht – s. Attest vom 03.09.",
};

const char* const ReportRemarkItems[] = {
    "Sie/Er hat regelmäßig und mit Erfolg an der AG „Schulsanitätsdienst“ teilgenommen.",
    "Die Versetzung ist gefährdet.",
    "Hat im Schuljahr das Amt der Klassensprecherin übernommen.",
    "Teilnahme am Austausch mit dem Lycée Saint-Exupéry (Frankreich).",
    "Er hat sich in der Schülervertretung besonders engagiert.",
    "Nachprüfung in Mathematik am 10.08. bestanden.",
    "Hat am Wettbewerb „Jugend forscht“ teilgenommen.",
};

const char* const ProgressRemarkItems[] = {
    "Arbeitet im Unterricht aufmerksam mit und bringt eigene Ideen ein.",
    "Die Hausaufgaben werden nicht immer vollständig angefertigt.",
    "Zeigt große Fortschritte im Lesen und Schreiben.",
    "Sollte die Grundrechenarten weiter üben.",
    "Trägt Gedichte ausdrucksstark vor – sehr schön!",
    "Braucht bei Textaufgaben noch Unterstützung.",
};

} // namespace

const TList Surnames = {SurnameItems, int(std::size(SurnameItems))};
const TList GirlsNames = {GirlsItems, int(std::size(GirlsItems))};
const TList BoysNames = {BoysItems, int(std::size(BoysItems))};
const TList AdultFemaleNames = {AdultFemaleItems, int(std::size(AdultFemaleItems))};
const TList AdultMaleNames = {AdultMaleItems, int(std::size(AdultMaleItems))};
const TList Streets = {StreetItems, int(std::size(StreetItems))};
const TList Birthplaces = {BirthplaceItems, int(std::size(BirthplaceItems))};
const TList PupilRemarks = {PupilRemarkItems, int(std::size(PupilRemarkItems))};
const TList ReportRemarks = {ReportRemarkItems, int(std::size(ReportRemarkItems))};
const TList ProgressRemarks = {ProgressRemarkItems, int(std::size(ProgressRemarkItems))};

const TPlace Places[] = {
    {"59423", "Unna", "Kreis Unna"},
    {"59425", "Unna-Königsborn", "Kreis Unna"},
    {"59174", "Kamen", "Kreis Unna"},
    {"59192", "Bergkamen", "Kreis Unna"},
    {"59439", "Holzwickede", "Kreis Unna"},
    {"44532", "Lünen", "Kreis Unna"},
    {"58239", "Schwerte", "Kreis Unna"},
    {"58730", "Fröndenberg/Ruhr", "Kreis Unna"},
    {"59368", "Werne", "Kreis Unna"},
    {"59379", "Selm", "Kreis Unna"},
    {"44135", "Dortmund", "Dortmund"},
    {"44287", "Dortmund-Aplerbeck", "Dortmund"},
    {"44339", "Dortmund-Eving", "Dortmund"},
    {"44787", "Bochum", "Bochum"},
    {"45127", "Essen", "Essen"},
    {"58095", "Hagen", "Hagen"},
    {"59065", "Hamm", "Hamm"},
    {"59457", "Werl", "Kreis Soest"},
    {"59494", "Soest", "Kreis Soest"},
    {"58636", "Iserlohn", "Märkischer Kreis"},
    {"58706", "Menden (Sauerland)", "Märkischer Kreis"},
    {"58511", "Lüdenscheid", "Märkischer Kreis"},
    {"59755", "Arnsberg", "Hochsauerlandkreis"},
    {"58452", "Witten", "Ennepe-Ruhr-Kreis"},
    {"58300", "Wetter (Ruhr)", "Ennepe-Ruhr-Kreis"},
    {"44575", "Castrop-Rauxel", "Kreis Recklinghausen"},
    {"45657", "Recklinghausen", "Kreis Recklinghausen"},
    {"48143", "Münster", "Münster"},
    {"50667", "Köln", "Köln"},
    {"40213", "Düsseldorf", "Düsseldorf"},
    {"80331", "München", "München"},
    {"45468", "Mülheim an der Ruhr", "Mülheim an der Ruhr"},
};
const int PlaceCount = int(std::size(Places));

} // namespace SampleNames
