#include "CommandLineVerbs.h"
#include "uCrypt.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

// Runs the verbs on a text given as input; returns the exit code and what was written.
struct TVerbRun
{
    std::optional<int> Result;
    QString Output;
    QString InputLeft;
};

TVerbRun RunVerb(const QStringList& Args, QString Input)
{
    TVerbRun run;
    QTextStream in(&Input);
    QTextStream out(&run.Output);
    run.Result = RunCommandLineVerb(Args, in, out);
    out.flush();
    run.InputLeft = in.readAll();
    return run;
}

} // namespace

TEST(CommandLineVerbs, OtherArgumentsAreNoVerb)
{
    const QStringList cases[] = {
        {},
        {QStringLiteral("C:/Daten/Schule.kdbcfg")},
        {QStringLiteral("-encrypt")},
        {QStringLiteral("--ENCRYPT")},
        {QStringLiteral("Schule.kdbcfg"), QStringLiteral("--encrypt")},
    };
    for (const QStringList& args : cases) {
        const TVerbRun run = RunVerb(args, QStringLiteral("geheim\n"));
        EXPECT_FALSE(run.Result.has_value()) << args.join(u' ').toStdString();
        EXPECT_TRUE(run.Output.isEmpty()) << args.join(u' ').toStdString();
        EXPECT_EQ(run.InputLeft, QStringLiteral("geheim\n")) << args.join(u' ').toStdString();
    }
}

TEST(CommandLineVerbs, EncryptReadsOneLineWithoutItsLineEnd)
{
    const struct
    {
        const char* Name;
        QString Input;
        QString Clear;
    } cases[] = {
        {"LF", QStringLiteral("geheim\nzweite Zeile\n"), QStringLiteral("geheim")},
        {"CR LF", QStringLiteral("geheim\r\nzweite Zeile\n"), QStringLiteral("geheim")},
        {"no line end", QStringLiteral("geheim"), QStringLiteral("geheim")},
        {"blanks kept", QStringLiteral(" ge heim \n"), QStringLiteral(" ge heim ")},
        {"empty input", QString(), QString()},
    };
    for (const auto& c : cases) {
        const TVerbRun run = RunVerb({QStringLiteral("--encrypt")}, c.Input);
        EXPECT_EQ(run.Result, std::optional<int>(0)) << c.Name;
        ASSERT_TRUE(run.Output.endsWith(u'\n')) << c.Name;
        const QString stored = run.Output.chopped(1);
        EXPECT_FALSE(stored.contains(u'\n')) << c.Name;
        EXPECT_EQ(Decrypt(stored), c.Clear) << c.Name;
    }
    EXPECT_EQ(RunVerb({QStringLiteral("--encrypt")}, QStringLiteral("geheim\nzweite Zeile\n")).InputLeft,
              QStringLiteral("zweite Zeile\n"));
}

TEST(CommandLineVerbs, DecryptPrintsClearTextOrFailureMarker)
{
    const QString stored = Encrypt(QStringLiteral("Grüße"));
    const struct
    {
        const char* Name;
        QString Input;
        QString Output;
    } cases[] = {
        {"LF", stored + QStringLiteral("\n"), QStringLiteral("Grüße\n")},
        {"CR LF", stored + QStringLiteral("\r\n"), QStringLiteral("Grüße\n")},
        {"not enciphered", QStringLiteral("geheim\n"), QStringLiteral("???\n")},
        {"empty input", QString(), QStringLiteral("???\n")},
    };
    for (const auto& c : cases) {
        const TVerbRun run = RunVerb({QStringLiteral("--decrypt")}, c.Input);
        EXPECT_EQ(run.Result, std::optional<int>(0)) << c.Name;
        EXPECT_EQ(run.Output, c.Output) << c.Name;
    }
}

TEST(CommandLineVerbs, StreamsOnDevicesAreUtf8)
{
    // The program's streams sit on stdin and stdout, which carry UTF-8 bytes.
    QByteArray clearBytes = QByteArray("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC\n");
    QBuffer clearIn(&clearBytes);
    clearIn.open(QIODevice::ReadOnly);
    QByteArray storedBytes;
    QBuffer storedOut(&storedBytes);
    storedOut.open(QIODevice::WriteOnly);
    {
        QTextStream in(&clearIn);
        QTextStream out(&storedOut);
        ASSERT_EQ(RunCommandLineVerb({QStringLiteral("--encrypt")}, in, out), std::optional<int>(0));
    }
    storedOut.close();

    QBuffer storedIn(&storedBytes);
    storedIn.open(QIODevice::ReadOnly);
    QByteArray clearOutBytes;
    QBuffer clearOut(&clearOutBytes);
    clearOut.open(QIODevice::WriteOnly);
    {
        QTextStream in(&storedIn);
        QTextStream out(&clearOut);
        ASSERT_EQ(RunCommandLineVerb({QStringLiteral("--decrypt")}, in, out), std::optional<int>(0));
    }
    EXPECT_EQ(clearOutBytes, clearBytes);
}
