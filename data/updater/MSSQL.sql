-- Kladde database, Microsoft SQL Server (DBType "MSSQL"). Unicode text types; dates as DATETIME, which
-- every SQL Server version and driver knows. No IDENTITY columns, not even for the two catalogues:
-- a copy keeps the source's numbers, to which the pupils' rows refer.
-- One statement per block; "--@ <version>" starts the block of that version.

--@ 1.0.0.1
CREATE TABLE Kladde_Verwaltung (
  ID INT NOT NULL PRIMARY KEY,
  Version3 NVARCHAR(20)
)

--@ 1.0.0.3
CREATE TABLE EigeneSchule (
  ID INT NOT NULL PRIMARY KEY,
  Schulnummer NVARCHAR(6),
  Bezeichnung1 NVARCHAR(100),
  Bezeichnung2 NVARCHAR(100),
  Bezeichnung3 NVARCHAR(100),
  Schulform NVARCHAR(2),
  Strasse NVARCHAR(60),
  PLZ NVARCHAR(10),
  Ort NVARCHAR(50),
  Telefon NVARCHAR(30),
  Email NVARCHAR(100),
  Schulleitung NVARCHAR(80),
  Schuljahr INT,
  SchuljahrAbschnitt SMALLINT,
  AnzahlAbschnitte SMALLINT
)

--@ 1.0.0.4
CREATE TABLE Schuljahresabschnitte (
  ID INT NOT NULL PRIMARY KEY,
  Jahr INT,
  Abschnitt SMALLINT,
  Beginn DATETIME,
  Ende DATETIME
)

--@ 1.0.0.5
CREATE TABLE K_Ort (
  ID INT NOT NULL PRIMARY KEY,
  PLZ NVARCHAR(10),
  Bezeichnung NVARCHAR(50),
  Kreis NVARCHAR(50),
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.6
CREATE TABLE K_Religion (
  ID INT NOT NULL PRIMARY KEY,
  Bezeichnung NVARCHAR(50),
  StatistikKrz NVARCHAR(10),
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.7
CREATE TABLE K_Lehrer (
  ID INT NOT NULL PRIMARY KEY,
  Kuerzel NVARCHAR(10) NOT NULL,
  Nachname NVARCHAR(80),
  Vorname NVARCHAR(80),
  Geschlecht NVARCHAR(1),
  Amtsbezeichnung NVARCHAR(30),
  Geburtsdatum DATETIME,
  Email NVARCHAR(100),
  Telefon NVARCHAR(30),
  Pflichtstunden FLOAT,
  Sichtbar BIT,
  Bemerkung NVARCHAR(MAX)
)

--@ 1.0.0.8
CREATE TABLE K_Fach (
  ID INT NOT NULL PRIMARY KEY,
  Kuerzel NVARCHAR(20) NOT NULL,
  Bezeichnung NVARCHAR(80),
  StatistikKrz NVARCHAR(2),
  Zeugnisbezeichnung NVARCHAR(130),
  IstFremdsprache BIT,
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.9
CREATE TABLE EigeneSchule_Jahrgaenge (
  ID INT NOT NULL PRIMARY KEY,
  InternKrz NVARCHAR(20),
  ASDJahrgang NVARCHAR(2),
  ASDBezeichnung NVARCHAR(100),
  Folgejahrgang_ID INT,
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.10
CREATE TABLE EigeneSchule_Fachklassen (
  ID INT NOT NULL PRIMARY KEY,
  Kennung NVARCHAR(10),
  Bezeichnung NVARCHAR(100),
  Fachrichtung NVARCHAR(100),
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.11
CREATE TABLE Versetzung (
  ID INT NOT NULL PRIMARY KEY,
  Klasse NVARCHAR(15) NOT NULL,
  Bezeichnung NVARCHAR(100),
  Jahrgang_ID INT,
  ASDKlasse NVARCHAR(6),
  KlassenlehrerKrz NVARCHAR(10),
  StvKlassenlehrerKrz NVARCHAR(10),
  Folgeklasse NVARCHAR(15),
  Fachklasse_ID INT,
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.12
CREATE TABLE K_Datenschutz (
  ID INT NOT NULL PRIMARY KEY,
  Bezeichnung NVARCHAR(250),
  Beschreibung NVARCHAR(MAX),
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.13
CREATE TABLE K_Ankreuzfloskeln (
  ID INT NOT NULL PRIMARY KEY,
  Fach_ID INT,
  Kategorie NVARCHAR(30),
  FloskelText NVARCHAR(255),
  Jahrgang NVARCHAR(2),
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.14
CREATE TABLE Kurse (
  ID INT NOT NULL PRIMARY KEY,
  Jahr INT,
  Abschnitt SMALLINT,
  KurzBez NVARCHAR(20),
  Fach_ID INT,
  Jahrgang_ID INT,
  KursartKrz NVARCHAR(5),
  Wochenstunden SMALLINT,
  LehrerKrz NVARCHAR(10),
  Sortierung INT,
  Sichtbar BIT
)

--@ 1.0.0.15
CREATE TABLE KursLehrer (
  ID INT NOT NULL PRIMARY KEY,
  Kurs_ID INT NOT NULL,
  LehrerKrz NVARCHAR(10),
  Anteil FLOAT
)

--@ 1.0.0.16
CREATE TABLE Schueler (
  ID INT NOT NULL PRIMARY KEY,
  Name NVARCHAR(120) NOT NULL,
  Vorname NVARCHAR(80),
  Rufname NVARCHAR(80),
  Geschlecht NVARCHAR(1),
  Status SMALLINT,
  Klasse NVARCHAR(15),
  Jahrgang_ID INT,
  AktSchuljahr INT,
  AktAbschnitt SMALLINT,
  Geburtsdatum DATETIME,
  Geburtsort NVARCHAR(100),
  Religion_ID INT,
  Staatsangehoerigkeit NVARCHAR(3),
  Strasse NVARCHAR(60),
  Ort_ID INT,
  Telefon NVARCHAR(30),
  Email NVARCHAR(100),
  Aufnahmedatum DATETIME,
  Entlassdatum DATETIME,
  Volljaehrig BIT,
  Bemerkungen NVARCHAR(MAX),
  GeaendertAm DATETIME
)

--@ 1.0.0.17
CREATE TABLE SchuelerErzieher (
  ID INT NOT NULL PRIMARY KEY,
  Schueler_ID INT NOT NULL,
  ErzieherArt NVARCHAR(30),
  Anrede NVARCHAR(20),
  Name NVARCHAR(120),
  Vorname NVARCHAR(80),
  Strasse NVARCHAR(60),
  Ort_ID INT,
  Telefon NVARCHAR(30),
  Email NVARCHAR(100),
  Anschreiben BIT,
  Sortierung SMALLINT
)

--@ 1.0.0.18
CREATE TABLE SchuelerFoto (
  Schueler_ID INT NOT NULL PRIMARY KEY,
  Foto VARBINARY(MAX),
  Aufnahmedatum DATETIME
)

--@ 1.0.0.19
CREATE TABLE SchuelerDatenschutz (
  Schueler_ID INT NOT NULL,
  Datenschutz_ID INT NOT NULL,
  Zustimmung BIT,
  Datum DATETIME,
  CONSTRAINT PK_SchuelerDatenschutz PRIMARY KEY (Schueler_ID, Datenschutz_ID)
)

--@ 1.0.0.20
CREATE TABLE SchuelerLernabschnittsdaten (
  ID INT NOT NULL PRIMARY KEY,
  Schueler_ID INT NOT NULL,
  Jahr INT,
  Abschnitt SMALLINT,
  Klasse NVARCHAR(15),
  Klassenlehrer NVARCHAR(10),
  Jahrgang_ID INT,
  ASDJahrgang NVARCHAR(2),
  Fachklasse_ID INT,
  Schulbesuchsjahre SMALLINT,
  Konferenzdatum DATETIME,
  Zeugnisdatum DATETIME,
  VersetzungKrz NVARCHAR(2),
  Wiederholung BIT,
  SummeFehlstd INT,
  SummeFehlstdUnentsch INT,
  Notendurchschnitt FLOAT,
  ZeugnisBemerkung NVARCHAR(MAX)
)

--@ 1.0.0.21
CREATE TABLE SchuelerLeistungsdaten (
  ID BIGINT NOT NULL PRIMARY KEY,
  Abschnitt_ID INT NOT NULL,
  Fach_ID INT,
  Kurs_ID INT,
  Kursart NVARCHAR(5),
  NotenKrz NVARCHAR(4),
  Fachlehrer NVARCHAR(10),
  Wochenstunden SMALLINT,
  Fehlstunden SMALLINT,
  FehlstundenUnentsch SMALLINT,
  Warnung BIT,
  Sortierung INT,
  Lernentwicklung NVARCHAR(MAX),
  GeaendertAm DATETIME
)

--@ 1.0.0.22
CREATE TABLE SchuelerAnkreuzfloskeln (
  ID INT NOT NULL PRIMARY KEY,
  Abschnitt_ID INT NOT NULL,
  Floskel_ID INT NOT NULL,
  Fach_ID INT,
  Stufe SMALLINT
)

--@ 1.0.0.23
CREATE TABLE SchuelerBemerkungen (
  ID INT NOT NULL PRIMARY KEY,
  Schueler_ID INT NOT NULL,
  Datum DATETIME,
  Kategorie NVARCHAR(30),
  Bemerkung NVARCHAR(MAX),
  LehrerKrz NVARCHAR(10),
  Vertraulich BIT
)

--@ 1.1.0.1
ALTER TABLE Schueler ADD Mobilnummer NVARCHAR(30)

--@ 1.2.0.1
ALTER TABLE SchuelerLernabschnittsdaten ADD Foerderschwerpunkt NVARCHAR(50)
