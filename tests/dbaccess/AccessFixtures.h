#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

// The Access files of the shared fixtures, and changed copies of them for what they lack.

extern const QString FixtureDir;

// A change to a copy of a fixture: every occurrence of From (Count of them) becomes To, or, with
// Offset set, the bytes From at Offset become To.
struct TPatch {
    QByteArray From;
    QByteArray To;
    int Count = 1;
    qint64 Offset = -1;
};

// A writable copy of the fixture Name in Dir, changed by Patches (a test failure when a patch
// does not find its bytes).
QString AccessFixtureCopy(const QTemporaryDir& Dir, const QString& Name, const QList<TPatch>& Patches = {});

// DateTestDatabase.mdb changed in a few bytes, each where the table definition or a row stores it:
// "Hällo" and "Y€1999" texts, a column named "ShörtTextCol", IDCol an AutoNumber, TimeCol a
// Yes/No column, and the row with IDCol 1 dated 2021-12-02 10:15:30 and 1899-12-29 06:00:00.
QString PatchedDateTestCopy(const QTemporaryDir& Dir);
