#pragma once

#include <QString>
#include <QVariant>

// SQL literals of the sample generator's values (see TRowSink) for the systems it writes as
// literal text. Dates and times take the forms the database access layer binds them in.
namespace SqlLiterals {

// SQLite: 'text' with quotes doubled, X'hex' for binary values, 1/0 for Booleans.
QString SQLite(const QVariant& Value);
// MySQL and MariaDB: as SQLite; with BackslashEscapes (the server's default, unless its sql_mode
// holds NO_BACKSLASH_ESCAPES) a backslash in a text is doubled as well.
QString MySQL(const QVariant& Value, bool BackslashEscapes);
// Firebird: typed DATE and TIMESTAMP literals, x'hex' for binary values, TRUE/FALSE.
QString Firebird(const QVariant& Value);

} // namespace SqlLiterals
