-- Statements that every database system of the Kladde database understands (DBType "All").
-- One statement per block; "--@ <version>" starts the block of that version.

--@ 1.0.0.2
INSERT INTO Kladde_Verwaltung (ID, Version3) VALUES (1, '1.0.0.2')

--@ 1.0.0.24
CREATE UNIQUE INDEX IX_K_Lehrer_Kuerzel ON K_Lehrer (Kuerzel)

--@ 1.0.0.25
CREATE UNIQUE INDEX IX_K_Fach_Kuerzel ON K_Fach (Kuerzel)

--@ 1.0.0.26
CREATE UNIQUE INDEX IX_Versetzung_Klasse ON Versetzung (Klasse)

--@ 1.0.0.27
CREATE INDEX IX_K_Ankreuzfloskeln_Fach ON K_Ankreuzfloskeln (Fach_ID)

--@ 1.0.0.28
CREATE INDEX IX_Kurse_Jahr ON Kurse (Jahr, Abschnitt)

--@ 1.0.0.29
CREATE INDEX IX_KursLehrer_Kurs ON KursLehrer (Kurs_ID)

--@ 1.0.0.30
CREATE INDEX IX_Schueler_Klasse ON Schueler (Klasse)

--@ 1.0.0.31
CREATE INDEX IX_Schueler_Status ON Schueler (Status)

--@ 1.0.0.32
CREATE INDEX IX_SchuelerErzieher_Schueler ON SchuelerErzieher (Schueler_ID)

--@ 1.0.0.33
CREATE INDEX IX_SLA_Schueler ON SchuelerLernabschnittsdaten (Schueler_ID, Jahr, Abschnitt)

--@ 1.0.0.34
CREATE INDEX IX_SLD_Abschnitt ON SchuelerLeistungsdaten (Abschnitt_ID)

--@ 1.0.0.35
CREATE INDEX IX_SLD_Kurs ON SchuelerLeistungsdaten (Kurs_ID)

--@ 1.0.0.36
CREATE INDEX IX_SAF_Abschnitt ON SchuelerAnkreuzfloskeln (Abschnitt_ID)

--@ 1.0.0.37
CREATE INDEX IX_SBem_Schueler ON SchuelerBemerkungen (Schueler_ID)

--@ 1.1.0.2
CREATE INDEX IX_Schueler_Name ON Schueler (Name, Vorname)

--@ 1.2.0.2
CREATE INDEX IX_SLA_Klasse ON SchuelerLernabschnittsdaten (Jahr, Abschnitt, Klasse)
