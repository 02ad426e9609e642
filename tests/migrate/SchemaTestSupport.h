#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class TUniConnection;

// What the tests of the shipped Kladde database read: the schema documentation
// data/schema/Kladde-Datenbank.md, the built updater database and table list, and the sample
// generator build/bin/kladde-sample.

struct TDocColumn
{
    QString Name;
    QString Type; // "Int", "Text(20)", "Counter", ...
    bool NotNull = false;
    bool Key = false;
    QString Meaning;
};

struct TDocTable
{
    QString Name;
    QList<TDocColumn> Columns;
    QStringList Indexes; // as documented: "IX_K_Lehrer_Kuerzel unique (Kuerzel)"

    const TDocColumn* Column(const QString& Name) const;
    QStringList ColumnNames() const;
    QStringList KeyColumns() const;
};

struct TSchemaDoc
{
    QList<TDocTable> Tables;
    // Logical type ("Text(n)", "Int", ...) -> its declaration per DBType ("SQLite", "MySQL", ...).
    QHash<QString, QHash<QString, QString>> Types;

    const TDocTable* Table(const QString& Name) const; // letter case ignored
    QStringList TableNames() const;
    // The declaration of a documented type for DBType, "(n)" filled in: "VARCHAR(20)".
    QString Declaration(const QString& Type, const QString& DBType) const;
};

// Parsed once; a malformed document fails the calling test.
const TSchemaDoc& SchemaDoc();

QString SourcePath(const QString& Relative); // below the source tree
QString BuildPath(const QString& Relative);  // below the build tree
QString UpdaterDatabase();                   // bin/Keytabs/DBUpdater.db3 of the build
// The version the scripts lead to, from the updater database's App_Config_ ("1.2.0.2").
QString LatestSchemaVersion();

struct TScriptRow
{
    int ID;
    QString DBType;
    QString Version;
    QString SQLText;
    int Ignore;
};
// The rows of SQLData in ID order.
QList<TScriptRow> UpdaterScripts();

struct TProgramRun
{
    int ExitCode = -1;
    QString Out;
    QString Err;
};
// Runs the program bin/Name of the build with Args and waits for it (at most five minutes).
TProgramRun RunProgram(const QString& Name, const QStringList& Args);
// RunProgram of kladde-sample.
TProgramRun RunSampleGenerator(const QStringList& Args);
// The "table rows" lines of its output, in order (the "total" line left out).
QList<QPair<QString, qint64>> PrintedCounts(const QString& Out);

// Writes a configuration file for the database Conn is configured for (SQLite, MySQL or
// InterBase provider), with the password enciphered as the editor stores it.
void WriteConfigFile(const QString& FileName, const TUniConnection& Conn);

// Every row of Table, ordered by its key, each as one line of its values in a form that does not
// depend on the database system ("NULL", numbers, dates as yyyy-MM-dd, binary as hex, ...).
QStringList DumpTable(TUniConnection& Conn, const TDocTable& Table);
qint64 CountRows(TUniConnection& Conn, const QString& Table);
