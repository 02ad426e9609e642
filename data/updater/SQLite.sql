-- Kladde database, SQLite. Plain INTEGER PRIMARY KEY columns: they take the values a copy gives
-- them and number new rows by themselves (AUTOINCREMENT would make the layer treat them as
-- identity columns that a copy skips).
-- One statement per block; "--@ <version>" starts the block of that version.

--@ 1.0.0.1
CREATE TABLE Kladde_Verwaltung (
  ID INTEGER NOT NULL PRIMARY KEY,
  Version3 VARCHAR(20)
)

--@ 1.0.0.3
CREATE TABLE EigeneSchule (
  ID INTEGER NOT NULL PRIMARY KEY,
  Schulnummer VARCHAR(6),
  Bezeichnung1 VARCHAR(100),
  Bezeichnung2 VARCHAR(100),
  Bezeichnung3 VARCHAR(100),
  Schulform VARCHAR(2),
  Strasse VARCHAR(60),
  PLZ VARCHAR(10),
  Ort VARCHAR(50),
  Telefon VARCHAR(30),
  Email VARCHAR(100),
  Schulleitung VARCHAR(80),
  Schuljahr INTEGER,
  SchuljahrAbschnitt SMALLINT,
  AnzahlAbschnitte SMALLINT
)

--@ 1.0.0.4
CREATE TABLE Schuljahresabschnitte (
  ID INTEGER NOT NULL PRIMARY KEY,
  Jahr INTEGER,
  Abschnitt SMALLINT,
  Beginn DATE,
  Ende DATE
)

--@ 1.0.0.5
CREATE TABLE K_Ort (
  ID INTEGER NOT NULL PRIMARY KEY,
  PLZ VARCHAR(10),
  Bezeichnung VARCHAR(50),
  Kreis VARCHAR(50),
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.6
CREATE TABLE K_Religion (
  ID INTEGER NOT NULL PRIMARY KEY,
  Bezeichnung VARCHAR(50),
  StatistikKrz VARCHAR(10),
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.7
CREATE TABLE K_Lehrer (
  ID INTEGER NOT NULL PRIMARY KEY,
  Kuerzel VARCHAR(10) NOT NULL,
  Nachname VARCHAR(80),
  Vorname VARCHAR(80),
  Geschlecht VARCHAR(1),
  Amtsbezeichnung VARCHAR(30),
  Geburtsdatum DATE,
  Email VARCHAR(100),
  Telefon VARCHAR(30),
  Pflichtstunden DOUBLE,
  Sichtbar BOOLEAN,
  Bemerkung TEXT
)

--@ 1.0.0.8
CREATE TABLE K_Fach (
  ID INTEGER NOT NULL PRIMARY KEY,
  Kuerzel VARCHAR(20) NOT NULL,
  Bezeichnung VARCHAR(80),
  StatistikKrz VARCHAR(2),
  Zeugnisbezeichnung VARCHAR(130),
  IstFremdsprache BOOLEAN,
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.9
CREATE TABLE EigeneSchule_Jahrgaenge (
  ID INTEGER NOT NULL PRIMARY KEY,
  InternKrz VARCHAR(20),
  ASDJahrgang VARCHAR(2),
  ASDBezeichnung VARCHAR(100),
  Folgejahrgang_ID INTEGER,
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.10
CREATE TABLE EigeneSchule_Fachklassen (
  ID INTEGER NOT NULL PRIMARY KEY,
  Kennung VARCHAR(10),
  Bezeichnung VARCHAR(100),
  Fachrichtung VARCHAR(100),
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.11
CREATE TABLE Versetzung (
  ID INTEGER NOT NULL PRIMARY KEY,
  Klasse VARCHAR(15) NOT NULL,
  Bezeichnung VARCHAR(100),
  Jahrgang_ID INTEGER,
  ASDKlasse VARCHAR(6),
  KlassenlehrerKrz VARCHAR(10),
  StvKlassenlehrerKrz VARCHAR(10),
  Folgeklasse VARCHAR(15),
  Fachklasse_ID INTEGER,
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.12
CREATE TABLE K_Datenschutz (
  ID INTEGER NOT NULL PRIMARY KEY,
  Bezeichnung VARCHAR(250),
  Beschreibung TEXT,
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.13
CREATE TABLE K_Ankreuzfloskeln (
  ID INTEGER NOT NULL PRIMARY KEY,
  Fach_ID INTEGER,
  Kategorie VARCHAR(30),
  FloskelText VARCHAR(255),
  Jahrgang VARCHAR(2),
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.14
CREATE TABLE Kurse (
  ID INTEGER NOT NULL PRIMARY KEY,
  Jahr INTEGER,
  Abschnitt SMALLINT,
  KurzBez VARCHAR(20),
  Fach_ID INTEGER,
  Jahrgang_ID INTEGER,
  KursartKrz VARCHAR(5),
  Wochenstunden SMALLINT,
  LehrerKrz VARCHAR(10),
  Sortierung INTEGER,
  Sichtbar BOOLEAN
)

--@ 1.0.0.15
CREATE TABLE KursLehrer (
  ID INTEGER NOT NULL PRIMARY KEY,
  Kurs_ID INTEGER NOT NULL,
  LehrerKrz VARCHAR(10),
  Anteil DOUBLE
)

--@ 1.0.0.16
CREATE TABLE Schueler (
  ID INTEGER NOT NULL PRIMARY KEY,
  Name VARCHAR(120) NOT NULL,
  Vorname VARCHAR(80),
  Rufname VARCHAR(80),
  Geschlecht VARCHAR(1),
  Status SMALLINT,
  Klasse VARCHAR(15),
  Jahrgang_ID INTEGER,
  AktSchuljahr INTEGER,
  AktAbschnitt SMALLINT,
  Geburtsdatum DATE,
  Geburtsort VARCHAR(100),
  Religion_ID INTEGER,
  Staatsangehoerigkeit VARCHAR(3),
  Strasse VARCHAR(60),
  Ort_ID INTEGER,
  Telefon VARCHAR(30),
  Email VARCHAR(100),
  Aufnahmedatum DATE,
  Entlassdatum DATE,
  Volljaehrig BOOLEAN,
  Bemerkungen TEXT,
  GeaendertAm DATETIME
)

--@ 1.0.0.17
CREATE TABLE SchuelerErzieher (
  ID INTEGER NOT NULL PRIMARY KEY,
  Schueler_ID INTEGER NOT NULL,
  ErzieherArt VARCHAR(30),
  Anrede VARCHAR(20),
  Name VARCHAR(120),
  Vorname VARCHAR(80),
  Strasse VARCHAR(60),
  Ort_ID INTEGER,
  Telefon VARCHAR(30),
  Email VARCHAR(100),
  Anschreiben BOOLEAN,
  Sortierung SMALLINT
)

--@ 1.0.0.18
CREATE TABLE SchuelerFoto (
  Schueler_ID INTEGER NOT NULL PRIMARY KEY,
  Foto BLOB,
  Aufnahmedatum DATE
)

--@ 1.0.0.19
CREATE TABLE SchuelerDatenschutz (
  Schueler_ID INTEGER NOT NULL,
  Datenschutz_ID INTEGER NOT NULL,
  Zustimmung BOOLEAN,
  Datum DATE,
  CONSTRAINT PK_SchuelerDatenschutz PRIMARY KEY (Schueler_ID, Datenschutz_ID)
)

--@ 1.0.0.20
CREATE TABLE SchuelerLernabschnittsdaten (
  ID INTEGER NOT NULL PRIMARY KEY,
  Schueler_ID INTEGER NOT NULL,
  Jahr INTEGER,
  Abschnitt SMALLINT,
  Klasse VARCHAR(15),
  Klassenlehrer VARCHAR(10),
  Jahrgang_ID INTEGER,
  ASDJahrgang VARCHAR(2),
  Fachklasse_ID INTEGER,
  Schulbesuchsjahre SMALLINT,
  Konferenzdatum DATE,
  Zeugnisdatum DATE,
  VersetzungKrz VARCHAR(2),
  Wiederholung BOOLEAN,
  SummeFehlstd INTEGER,
  SummeFehlstdUnentsch INTEGER,
  Notendurchschnitt DOUBLE,
  ZeugnisBemerkung TEXT
)

--@ 1.0.0.21
CREATE TABLE SchuelerLeistungsdaten (
  ID BIGINT NOT NULL PRIMARY KEY,
  Abschnitt_ID INTEGER NOT NULL,
  Fach_ID INTEGER,
  Kurs_ID INTEGER,
  Kursart VARCHAR(5),
  NotenKrz VARCHAR(4),
  Fachlehrer VARCHAR(10),
  Wochenstunden SMALLINT,
  Fehlstunden SMALLINT,
  FehlstundenUnentsch SMALLINT,
  Warnung BOOLEAN,
  Sortierung INTEGER,
  Lernentwicklung TEXT,
  GeaendertAm DATETIME
)

--@ 1.0.0.22
CREATE TABLE SchuelerAnkreuzfloskeln (
  ID INTEGER NOT NULL PRIMARY KEY,
  Abschnitt_ID INTEGER NOT NULL,
  Floskel_ID INTEGER NOT NULL,
  Fach_ID INTEGER,
  Stufe SMALLINT
)

--@ 1.0.0.23
CREATE TABLE SchuelerBemerkungen (
  ID INTEGER NOT NULL PRIMARY KEY,
  Schueler_ID INTEGER NOT NULL,
  Datum DATETIME,
  Kategorie VARCHAR(30),
  Bemerkung TEXT,
  LehrerKrz VARCHAR(10),
  Vertraulich BOOLEAN
)

--@ 1.1.0.1
ALTER TABLE Schueler ADD COLUMN Mobilnummer VARCHAR(30)

--@ 1.2.0.1
ALTER TABLE SchuelerLernabschnittsdaten ADD COLUMN Foerderschwerpunkt VARCHAR(50)
