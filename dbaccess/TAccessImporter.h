#pragma once

#include <QString>

struct sqlite3;

// Reads every user table of the Access file AccessPath (.mdb or .accdb; system tables skipped)
// into the open, empty SQLite database Dest: one table per Access table with the same table and
// column names, columns in Access order. The declared type of each column names its Access type:
// "TEXT(n)", "MEMO", "BYTE", "INTEGER", "LONG", "AUTOINCREMENT", "SINGLE", "DOUBLE", "CURRENCY",
// "DATETIME", "BOOLEAN", "BINARY(n)", "OLEOBJECT", "GUID", "NUMERIC(p,s)", "COMPLEX".
// Values: texts as UTF-8 text; whole numbers and Yes/No (0/1) as integers; Single and Double as
// reals; Currency and Decimal as exact decimal text ("12.3400"); Date/Time as text
// "yyyy-MM-dd HH:mm:ss"; GUIDs as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}"; binary and OLE as blobs.
// The primary key becomes a PRIMARY KEY constraint; required and key columns are NOT NULL.
// Everything is written in one transaction, table by table, row by row.
// On failure throws EUniError "Access-Datei kann nicht gelesen werden: <path>: <reason>" and
// rolls the transaction back. The Access file is only read. Dest stays owned by the caller.
void ImportAccessFile(const QString& AccessPath, sqlite3* Dest);
