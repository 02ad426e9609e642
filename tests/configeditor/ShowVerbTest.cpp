#include "CommandLineVerbs.h"
#include "TIniFile.h"
#include "uCrypt.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using TKeys = QList<QPair<QString, QString>>;

// Writes the section key by key, as the editor does.
QString WriteConfig(const QTemporaryDir& Dir, const TKeys& Keys)
{
    const QString file = Dir.filePath(QStringLiteral("show.kdbcfg"));
    TIniFile ini(file);
    ini.EraseSection(QStringLiteral("Kladdeconnection"));
    for (const auto& [key, value] : Keys)
        ini.WriteString(QStringLiteral("Kladdeconnection"), key, value);
    return file;
}

std::optional<int> Show(const QStringList& Args, QString& Output)
{
    QString input;
    QTextStream in(&input);
    QTextStream out(&Output);
    const std::optional<int> result = RunCommandLineVerb(Args, in, out);
    out.flush();
    return result;
}

} // namespace

TEST(ShowVerb, PrintsWhatTheConnectorReads)
{
    QTemporaryDir dir;
    const QString password = Encrypt(QStringLiteral("geheim"));
    const struct
    {
        const char* Name;
        TKeys Keys;
        QStringList Lines;
    } cases[] = {
        {"MSSQL",
         {{"ProviderName", "mssql"}, {"ProviderType", "MSSQL"}, {"Server", "srv\\SQLEXPRESS"}, {"Port", "1433"},
          {"Database", "Kladde"}, {"Username", "sa"}, {"Password", password}, {"Direct", "1"}, {"Schema", "verw"}},
         {"DBFormat=MSSQL", "DBProviderType=dbpMSSQL", "Server=srv\\SQLEXPRESS", "Port=1433", "Database=Kladde",
          "Username=sa", "Password=(set)", "Direct=1", "Schema=verw"}},
        {"MariaDB, empty port, no password",
         {{"ProviderName", "MYSQL"}, {"ProviderType", "MARIADB"}, {"Server", "db"}, {"Port", ""}, {"Database", "kladde"},
          {"Username", "root"}, {"Password", ""}, {"Direct", "0"}},
         {"DBFormat=MYSQL", "DBProviderType=dbpMySQL", "Server=db", "Port=0", "Database=kladde", "Username=root",
          "Password=", "Direct=0", "Schema="}},
        {"Firebird, undecipherable password, Direct True",
         {{"ProviderName", "FIREBIRD"}, {"Server", "fb"}, {"Port", "3050"}, {"Database", "/db/k.fdb"},
          {"Username", "SYSDBA"}, {"Password", "masterkey"}, {"Direct", "True"}},
         {"DBFormat=FIREBIRD", "DBProviderType=dbpFirebird", "Server=fb", "Port=3050", "Database=/db/k.fdb",
          "Username=SYSDBA", "Password=???", "Direct=0", "Schema="}},
        {"Access accdb: the fixed credentials are no stored password",
         {{"ProviderName", "MSACCESS"}, {"ProviderType", "MSACCESS"}, {"Database", "C:\\Schüler\\kladde.ACCDB"}},
         {"DBFormat=MSACCESS", "DBProviderType=dbpAccess", "Server=", "Port=0", "Database=C:\\Schüler\\kladde.ACCDB",
          "Username=Administrator", "Password=", "Direct=0", "Schema="}},
        {"SQLite Direct 1",
         {{"ProviderName", "SQLITE"}, {"ProviderType", "SQLITE"}, {"Database", "/daten/kladde.db3"}, {"Direct", "1"}},
         {"DBFormat=SQLITE", "DBProviderType=dbpSQLite", "Server=", "Port=0", "Database=/daten/kladde.db3", "Username=",
          "Password=", "Direct=1", "Schema="}},
        {"Oracle, not offered by the editor",
         {{"ProviderName", "oracle"}, {"Server", "ora"}, {"Database", "ORCL"}, {"Username", "scott"},
          {"Password", password}},
         {"DBFormat=ORACLE", "DBProviderType=dbpOracle", "Server=ora", "Port=0", "Database=ORCL", "Username=scott",
          "Password=(set)", "Direct=0", "Schema="}},
        {"unknown provider: Schema not read",
         {{"ProviderName", "db2"}, {"Server", "h"}, {"Port", "$10"}, {"Schema", "s"}},
         {"DBFormat=DB2", "DBProviderType=dbpUndefined", "Server=h", "Port=16", "Database=", "Username=", "Password=",
          "Direct=0", "Schema="}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        QString output;
        EXPECT_EQ(Show({QStringLiteral("--show"), WriteConfig(dir, c.Keys)}, output), std::optional<int>(0));
        EXPECT_EQ(output.toStdString(), (c.Lines.join(u'\n') + u'\n').toStdString());
        EXPECT_FALSE(output.contains(QLatin1String("geheim")));
    }
}

TEST(ShowVerb, MissingFileShowsAnUndefinedConfiguration)
{
    QTemporaryDir dir;
    QString output;
    EXPECT_EQ(Show({QStringLiteral("--show"), dir.filePath(QStringLiteral("missing.kdbcfg"))}, output),
              std::optional<int>(0));
    EXPECT_EQ(output.toStdString(), "DBFormat=\nDBProviderType=dbpUndefined\nServer=\nPort=0\nDatabase=\nUsername=\n"
                                    "Password=\nDirect=0\nSchema=\n");
}

TEST(ShowVerb, WithoutFileWritesNothing)
{
    QString output;
    EXPECT_EQ(Show({QStringLiteral("--show")}, output), std::optional<int>(2));
    EXPECT_TRUE(output.isEmpty());
}

TEST(ShowVerb, WritesUtf8)
{
    QTemporaryDir dir;
    const QString file = WriteConfig(dir, {{"ProviderName", "MSACCESS"}, {"Database", "C:\\Schüler\\kladde.mdb"}});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QString input;
        QTextStream in(&input);
        QTextStream out(&buffer);
        ASSERT_EQ(RunCommandLineVerb({QStringLiteral("--show"), file}, in, out), std::optional<int>(0));
    }
    EXPECT_TRUE(bytes.contains("Database=C:\\Sch\xC3\xBCler\\kladde.mdb\n")) << bytes.toStdString();
}
