-- A tiny Kladde school database for the demo: three pupils, their sections and marks.
create table Schueler (ID integer primary key, Name varchar(60) not null, Vorname varchar(60), Klasse varchar(10),
  Status smallint, Geburtsdatum date, AktSchuljahr integer);
create table SchuelerLernabschnittsdaten (ID integer primary key, Schueler_ID integer not null, Jahr integer,
  Abschnitt smallint, Klasse varchar(10), Klassenlehrer varchar(10));
create table SchuelerLeistungsdaten (ID bigint primary key, Abschnitt_ID integer not null, Fach varchar(20),
  Note varchar(4), Fachlehrer varchar(10), Bemerkung text);
insert into Schueler values (1, 'Müller', 'Jürgen', '5a', 2, '2014-03-04', 2025);
insert into Schueler values (2, 'O''Brien', 'Siobhán', '5a', 2, '2013-11-30', 2025);
insert into Schueler values (3, 'Çelik', 'Ayşe', '6b', 9, '2012-07-15', 2024);
insert into SchuelerLernabschnittsdaten values (1, 1, 2025, 1, '5a', 'MEI');
insert into SchuelerLernabschnittsdaten values (2, 2, 2025, 1, '5a', 'MEI');
insert into SchuelerLernabschnittsdaten values (3, 3, 2024, 2, '6b', 'SCH');
insert into SchuelerLeistungsdaten values (1, 1, 'D', '2+', 'MEI', null);
insert into SchuelerLeistungsdaten values (2, 1, 'M', '1', 'KRA', '{\rtf1\ansi Sehr gut mitgearbeitet\par}');
insert into SchuelerLeistungsdaten values (3, 3, 'E', '3-', 'SCH', 'Größere Lücken');
