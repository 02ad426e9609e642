#pragma once

#include "TFieldType.h"
#include "uKladdeConnector.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <memory>

class TDataSet;
class TUniConnection;
class TUniQuery;

// SQL literals in the dialect of each database system, identifier look-ups, query factories and
// the record copy between open datasets. Date-time values are plain calendar values (QDateTime in
// Qt::UTC, see TField); an invalid QDateTime stands for the value 0, 30 December 1899 0:00.

// AValue as a date literal: '2021-02-19' without time of day, '2021-02-19 11:33:43' with one
// (SQLite, MySQL, Oracle, PostgreSQL); '20210219 11:33:43' for SQL Server; the date alone for
// Firebird; timestamp '2021-02-19 00:00:00' for NexusDB; DateToAccessLiteral for Access.
// ":" is written as the time separator of the regional settings.
QString DateToSQLLiteral(TDBProviderType AProviderType, const QDateTime& AValue);
// {date '2021-02-19 11:33:43'}, or {date '2021-02-19'} without time of day.
QString DateToAccessLiteral(const QDateTime& AValue);

// AValue in single quotes with every single quote doubled; for MySQL every backslash is doubled too.
QString TextToSQLLiteral(TDBProviderType AProviderType, const QString& AValue);
// AValue as the database system stores truth values: TRUE/FALSE where it has a Boolean type
// (Firebird, PostgreSQL, NexusDB), -1/0 for Access, 1/0 elsewhere.
QString BooleanToSQLLiteral(TDBProviderType AProviderType, bool AValue);
// AValue as a hexadecimal binary literal: X'..' (SQLite, MySQL), x'..' (Firebird, NexusDB),
// 0x.. (SQL Server, Access), hextoraw('..') (Oracle), decode('..','hex') (PostgreSQL).
QString BinaryToSQLLiteral(TDBProviderType AProviderType, const QByteArray& AValue);

// "select Max(AFieldName) as MaxID from ATableName" plus 1; 1 for an empty table.
// Raises EUniError for SQL errors and when the result has no column MaxID.
qint64 GetNewID(TUniConnection* AConnection, const QString& ATableName, const QString& AFieldName);
// "SELECT MAX(AFieldName) AS MaxID FROM ATableName"; 0 for an empty table. Raises as GetNewID.
qint64 GetMaxID(TUniConnection* AConnection, const QString& ATableName, const QString& AFieldName);

// A new query on AConnection; the caller owns it.
std::unique_ptr<TUniQuery> CreateQuery(TUniConnection* AConnection);
// CreateQuery with the query set to read-only.
std::unique_ptr<TUniQuery> CreateReadOnlyQuery(TUniConnection* AConnection);

// Sets the bounds within which CopyFieldValue copies dates: MinCopyDate 1 January 1920 0:00,
// MaxCopyDate Today 0:00 plus 3650 days. The program calls it once at start.
void InitCopyDates(const QDate& Today = QDate::currentDate());
// The bounds; invalid (no bound) until InitCopyDates.
QDateTime MinCopyDate();
QDateTime MaxCopyDate();

// Copies the data fields of ASource's current row into the same-named fields (letter case
// ignored) of ADest's current row with CopyFieldValue, in ASource's field order. AExcept is a
// ";"-separated list of field names (letter case ignored) that are skipped always when AAlways
// is set, else only while ADest is in edit state. REQUIRES: ADest in insert or edit state (a
// field that cannot be assigned is left as it is); posting is the caller's.
void CopyRecordFields(TDataSet& ASource, TDataSet& ADest, const QString& AExcept, bool AAlways);
// Copies the field AFieldName of ASource into the field of that name of ADest by the rule of
// ADataType, the destination field's type:
// - text types: the text trimmed of blanks and control characters, cut to the field's size;
//   empty gives NULL. ftWideMemo: trimmed and passed through Windows-1252 (characters it lacks
//   become "?"); empty gives NULL.
// - ftSmallint, ftInteger, ftWord as 32-bit, ftLargeint as 64-bit, ftFloat as double: only a
//   non-NULL source is copied.
// - dates: only a non-NULL source within MinCopyDate..MaxCopyDate is copied.
// - ftAutoInc: nothing; any other type: a non-NULL source value unchanged.
// Never raises: a failing field keeps what it held and the copy ends for that field.
void CopyFieldValue(TDataSet& ASource, TDataSet& ADest, const QString& AFieldName, TFieldType ADataType);
