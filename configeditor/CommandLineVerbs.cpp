#include "CommandLineVerbs.h"

#include "TIniFile.h"
#include "TUniConnection.h"
#include "uCrypt.h"
#include "uKladdeConnector.h"

namespace {

// One line without its line end; the empty text at the end of input.
QString ReadLine(QTextStream& In)
{
    In.setEncoding(QStringConverter::Utf8);
    return In.readLine();
}

int WriteLine(QTextStream& Out, const QString& Text)
{
    Out.setEncoding(QStringConverter::Utf8);
    Out << Text << '\n';
    Out.flush();
    return 0;
}

// The password as the verb may show it: never the clear text. What counts is whether the file
// stores one; the fixed passwords the connector supplies for Access files are none of its.
QString PasswordDisplay(const QString& FileName, const QString& Password)
{
    if (TIniFile(FileName).ReadString(QStringLiteral("Kladdeconnection"), QStringLiteral("Password"), QString()).isEmpty())
        return QString();
    if (Password == QLatin1String("???"))
        return Password;
    return QStringLiteral("(set)");
}

// What the connector reads from FileName, one "Name=Value" line each; nothing is connected.
int ShowConfiguration(QTextStream& Out, const QString& FileName)
{
    TUniConnection conn;
    TKladdeConnector connector(&conn);
    connector.SetConnectionFile(FileName);
    const QStringList lines = {
        QStringLiteral("DBFormat=") + connector.DBFormat(),
        QStringLiteral("DBProviderType=") + DBProviderTypeName(connector.DBProviderType()),
        QStringLiteral("Server=") + connector.Server(),
        QStringLiteral("Port=") + QString::number(connector.Port()),
        QStringLiteral("Database=") + connector.Database(),
        QStringLiteral("Username=") + connector.Username(),
        QStringLiteral("Password=") + PasswordDisplay(FileName, connector.Password()),
        QStringLiteral("Direct=") + (connector.Direct() ? QStringLiteral("1") : QStringLiteral("0")),
        QStringLiteral("Schema=") + connector.Schema(),
    };
    return WriteLine(Out, lines.join(u'\n'));
}

} // namespace

std::optional<int> RunCommandLineVerb(const QStringList& Args, QTextStream& In, QTextStream& Out)
{
    if (Args.isEmpty())
        return std::nullopt;
    const QString& verb = Args.first();
    if (verb == QLatin1String("--encrypt"))
        return WriteLine(Out, Encrypt(ReadLine(In)));
    if (verb == QLatin1String("--decrypt"))
        return WriteLine(Out, Decrypt(ReadLine(In)));
    if (verb == QLatin1String("--show")) {
        if (Args.size() < 2)
            return 2;
        return ShowConfiguration(Out, Args.at(1));
    }
    return std::nullopt;
}
