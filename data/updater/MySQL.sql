-- Kladde database, MySQL and MariaDB (DBType "MySQL"). InnoDB tables in utf8mb4. Keys are plain
-- INT columns, the two catalogues' IDs too: a copy keeps the source's numbers, to which the pupils'
-- rows refer.
-- One statement per block; "--@ <version>" starts the block of that version.

--@ 1.0.0.1
CREATE TABLE Kladde_Verwaltung (
  ID INT NOT NULL PRIMARY KEY,
  Version3 VARCHAR(20)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.3
CREATE TABLE EigeneSchule (
  ID INT NOT NULL PRIMARY KEY,
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
  Schuljahr INT,
  SchuljahrAbschnitt SMALLINT,
  AnzahlAbschnitte SMALLINT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.4
CREATE TABLE Schuljahresabschnitte (
  ID INT NOT NULL PRIMARY KEY,
  Jahr INT,
  Abschnitt SMALLINT,
  Beginn DATE,
  Ende DATE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.5
CREATE TABLE K_Ort (
  ID INT NOT NULL PRIMARY KEY,
  PLZ VARCHAR(10),
  Bezeichnung VARCHAR(50),
  Kreis VARCHAR(50),
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.6
CREATE TABLE K_Religion (
  ID INT NOT NULL PRIMARY KEY,
  Bezeichnung VARCHAR(50),
  StatistikKrz VARCHAR(10),
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.7
CREATE TABLE K_Lehrer (
  ID INT NOT NULL PRIMARY KEY,
  Kuerzel VARCHAR(10) NOT NULL,
  Nachname VARCHAR(80),
  Vorname VARCHAR(80),
  Geschlecht VARCHAR(1),
  Amtsbezeichnung VARCHAR(30),
  Geburtsdatum DATE,
  Email VARCHAR(100),
  Telefon VARCHAR(30),
  Pflichtstunden DOUBLE,
  Sichtbar TINYINT(1),
  Bemerkung LONGTEXT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.8
CREATE TABLE K_Fach (
  ID INT NOT NULL PRIMARY KEY,
  Kuerzel VARCHAR(20) NOT NULL,
  Bezeichnung VARCHAR(80),
  StatistikKrz VARCHAR(2),
  Zeugnisbezeichnung VARCHAR(130),
  IstFremdsprache TINYINT(1),
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.9
CREATE TABLE EigeneSchule_Jahrgaenge (
  ID INT NOT NULL PRIMARY KEY,
  InternKrz VARCHAR(20),
  ASDJahrgang VARCHAR(2),
  ASDBezeichnung VARCHAR(100),
  Folgejahrgang_ID INT,
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.10
CREATE TABLE EigeneSchule_Fachklassen (
  ID INT NOT NULL PRIMARY KEY,
  Kennung VARCHAR(10),
  Bezeichnung VARCHAR(100),
  Fachrichtung VARCHAR(100),
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.11
CREATE TABLE Versetzung (
  ID INT NOT NULL PRIMARY KEY,
  Klasse VARCHAR(15) NOT NULL,
  Bezeichnung VARCHAR(100),
  Jahrgang_ID INT,
  ASDKlasse VARCHAR(6),
  KlassenlehrerKrz VARCHAR(10),
  StvKlassenlehrerKrz VARCHAR(10),
  Folgeklasse VARCHAR(15),
  Fachklasse_ID INT,
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.12
CREATE TABLE K_Datenschutz (
  ID INT NOT NULL PRIMARY KEY,
  Bezeichnung VARCHAR(250),
  Beschreibung LONGTEXT,
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.13
CREATE TABLE K_Ankreuzfloskeln (
  ID INT NOT NULL PRIMARY KEY,
  Fach_ID INT,
  Kategorie VARCHAR(30),
  FloskelText VARCHAR(255),
  Jahrgang VARCHAR(2),
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.14
CREATE TABLE Kurse (
  ID INT NOT NULL PRIMARY KEY,
  Jahr INT,
  Abschnitt SMALLINT,
  KurzBez VARCHAR(20),
  Fach_ID INT,
  Jahrgang_ID INT,
  KursartKrz VARCHAR(5),
  Wochenstunden SMALLINT,
  LehrerKrz VARCHAR(10),
  Sortierung INT,
  Sichtbar TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.15
CREATE TABLE KursLehrer (
  ID INT NOT NULL PRIMARY KEY,
  Kurs_ID INT NOT NULL,
  LehrerKrz VARCHAR(10),
  Anteil DOUBLE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.16
CREATE TABLE Schueler (
  ID INT NOT NULL PRIMARY KEY,
  Name VARCHAR(120) NOT NULL,
  Vorname VARCHAR(80),
  Rufname VARCHAR(80),
  Geschlecht VARCHAR(1),
  Status SMALLINT,
  Klasse VARCHAR(15),
  Jahrgang_ID INT,
  AktSchuljahr INT,
  AktAbschnitt SMALLINT,
  Geburtsdatum DATE,
  Geburtsort VARCHAR(100),
  Religion_ID INT,
  Staatsangehoerigkeit VARCHAR(3),
  Strasse VARCHAR(60),
  Ort_ID INT,
  Telefon VARCHAR(30),
  Email VARCHAR(100),
  Aufnahmedatum DATE,
  Entlassdatum DATE,
  Volljaehrig TINYINT(1),
  Bemerkungen LONGTEXT,
  GeaendertAm DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.17
CREATE TABLE SchuelerErzieher (
  ID INT NOT NULL PRIMARY KEY,
  Schueler_ID INT NOT NULL,
  ErzieherArt VARCHAR(30),
  Anrede VARCHAR(20),
  Name VARCHAR(120),
  Vorname VARCHAR(80),
  Strasse VARCHAR(60),
  Ort_ID INT,
  Telefon VARCHAR(30),
  Email VARCHAR(100),
  Anschreiben TINYINT(1),
  Sortierung SMALLINT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.18
CREATE TABLE SchuelerFoto (
  Schueler_ID INT NOT NULL PRIMARY KEY,
  Foto LONGBLOB,
  Aufnahmedatum DATE
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.19
CREATE TABLE SchuelerDatenschutz (
  Schueler_ID INT NOT NULL,
  Datenschutz_ID INT NOT NULL,
  Zustimmung TINYINT(1),
  Datum DATE,
  CONSTRAINT PK_SchuelerDatenschutz PRIMARY KEY (Schueler_ID, Datenschutz_ID)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.20
CREATE TABLE SchuelerLernabschnittsdaten (
  ID INT NOT NULL PRIMARY KEY,
  Schueler_ID INT NOT NULL,
  Jahr INT,
  Abschnitt SMALLINT,
  Klasse VARCHAR(15),
  Klassenlehrer VARCHAR(10),
  Jahrgang_ID INT,
  ASDJahrgang VARCHAR(2),
  Fachklasse_ID INT,
  Schulbesuchsjahre SMALLINT,
  Konferenzdatum DATE,
  Zeugnisdatum DATE,
  VersetzungKrz VARCHAR(2),
  Wiederholung TINYINT(1),
  SummeFehlstd INT,
  SummeFehlstdUnentsch INT,
  Notendurchschnitt DOUBLE,
  ZeugnisBemerkung LONGTEXT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.21
CREATE TABLE SchuelerLeistungsdaten (
  ID BIGINT NOT NULL PRIMARY KEY,
  Abschnitt_ID INT NOT NULL,
  Fach_ID INT,
  Kurs_ID INT,
  Kursart VARCHAR(5),
  NotenKrz VARCHAR(4),
  Fachlehrer VARCHAR(10),
  Wochenstunden SMALLINT,
  Fehlstunden SMALLINT,
  FehlstundenUnentsch SMALLINT,
  Warnung TINYINT(1),
  Sortierung INT,
  Lernentwicklung LONGTEXT,
  GeaendertAm DATETIME
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.22
CREATE TABLE SchuelerAnkreuzfloskeln (
  ID INT NOT NULL PRIMARY KEY,
  Abschnitt_ID INT NOT NULL,
  Floskel_ID INT NOT NULL,
  Fach_ID INT,
  Stufe SMALLINT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.0.0.23
CREATE TABLE SchuelerBemerkungen (
  ID INT NOT NULL PRIMARY KEY,
  Schueler_ID INT NOT NULL,
  Datum DATETIME,
  Kategorie VARCHAR(30),
  Bemerkung LONGTEXT,
  LehrerKrz VARCHAR(10),
  Vertraulich TINYINT(1)
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4

--@ 1.1.0.1
ALTER TABLE Schueler ADD COLUMN Mobilnummer VARCHAR(30)

--@ 1.2.0.1
ALTER TABLE SchuelerLernabschnittsdaten ADD COLUMN Foerderschwerpunkt VARCHAR(50)
