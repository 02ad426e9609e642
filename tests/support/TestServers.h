#pragma once

#include <QString>
#include <gtest/gtest.h>

// The throwaway MariaDB and Firebird servers that scripts/test-servers starts for a ctest run.
// Their connection data comes from the KEY=VALUE file named by the environment variable
// KLADDE_TEST_SERVERS. A Firebird client needs no environment of its own.

// One server and database. For Firebird, Database is the absolute path of the .fdb file on the
// server's machine (this one); a client connects to "Host/Port:Database".
struct TTestServer
{
    QString Host;
    int Port = 0;
    QString User;
    QString Password;
    QString Database;
};

// The running server and its standing database ("kladde" / kladde.fdb).
// Returns false with the reason in Why when the file is missing or incomplete.
bool TestMariaDB(TTestServer& Out, QString& Why);
bool TestFirebird(TTestServer& Out, QString& Why);

// A new, empty database on that server, unique per call and per test process: MariaDB database
// kt_<pid>_<n> (utf8mb4), Firebird file kt_<pid>_<n>.fdb (default character set UTF8) created
// by the server in the folder of its standing database. Nobody drops them: they go with the
// server folder at the next start. Returns false with the reason when the server is unknown or
// the database cannot be created.
bool FreshMariaDBDatabase(TTestServer& Out, QString& Why);
bool FreshFirebirdDatabase(TTestServer& Out, QString& Why);

// True when KLADDE_REQUIRE_SERVERS=1 (CI): a missing server is then a failure, not a skip.
bool ServersRequired();

// Points Conn at Server through the layer's provider Provider ("MySQL", "InterBase"), without login prompt.
class TUniConnection;
void UseServer(TUniConnection& Conn, const QString& Provider, const TTestServer& Server);

// A Qt database of Driver ("QMYSQL", "QIBASE") under ConnectionName with Server's connection data,
// not yet opened; for tests that talk to a server without the project's layer.
class QSqlDatabase;
QSqlDatabase AddQtDatabase(const QString& Driver, const TTestServer& Server, const QString& ConnectionName);

// Runs Call, a bool expression that may write the reason into `why` (a QString this macro
// declares); when it returns false the test is skipped with that reason, or fails when servers
// are required. Use it in a test body or SetUp():
//   TTestServer srv;
//   KLADDE_REQUIRE_SERVER(FreshMariaDBDatabase(srv, why));
#define KLADDE_REQUIRE_SERVER(Call)                                                                \
    do {                                                                                           \
        QString why;                                                                               \
        if (!(Call)) {                                                                             \
            if (ServersRequired())                                                                 \
                FAIL() << "test server required: " << why.toStdString();                           \
            GTEST_SKIP() << "test server not available: " << why.toStdString();                    \
        }                                                                                          \
    } while (false)
