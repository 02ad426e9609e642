// The transaction handler on real connections: both states, failing statements and commits,
// the timing log and the dataset hooks.

#include "DataTestDatabases.h"
#include "Exception.h"
#include "Platform.h"
#include "ScratchDir.h"
#include "TUniQuery.h"
#include "TUserNotifier.h"
#include "TestServers.h"
#include "uTransactionHandler_UniDAC.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// Records the messages that would be shown.
class TRecordingNotifier : public TUserNotifier
{
public:
    TRecordingNotifier() : FPrevious(SetUserNotifier(this)) {}
    ~TRecordingNotifier() override { SetUserNotifier(FPrevious); }
    void Notify(const QString& Text, TNoticeKind Kind) override { Messages << Text; }

    QStringList Messages;

private:
    TUserNotifier* FPrevious;
};

// Debug mode on for the life of the object.
struct TDebugMode
{
    TDebugMode() { SetDebugModeOverride(true); }
    ~TDebugMode() { SetDebugModeOverride(std::nullopt); }
};

qint64 CountRows(TUniConnection& Conn, const QString& Where = QString())
{
    TUniQuery q(&Conn);
    q.SetSQL(QStringLiteral("select count(*) as N from T") + (Where.isEmpty() ? QString() : QStringLiteral(" where ") + Where));
    q.Open();
    return q.FieldByName(QStringLiteral("N")).AsLargeInt();
}

TEST(TransactionHandler, WithoutConnectionNothingIsExecuted)
{
    TRecordingNotifier notifier;
    TTransactionHandler handler;
    EXPECT_FALSE(handler.Active());
    EXPECT_FALSE(handler.InTransaction());
    handler.SetShowError(true);
    EXPECT_FALSE(handler.DoExecute(QStringLiteral("update T set Name='x'")));
    EXPECT_FALSE(handler.MessageText().isEmpty());
    ASSERT_EQ(notifier.Messages.size(), 1);
    EXPECT_EQ(notifier.Messages[0], handler.MessageText());

    qint64 nrec = 17;
    EXPECT_FALSE(handler.DoExecute(QStringLiteral("update T set Name='x'"), nrec));
    EXPECT_EQ(nrec, 17);
    EXPECT_EQ(notifier.Messages.size(), 1) << "the form with nrec shows nothing";
}

TEST(TransactionHandler, ProgramInstanceIsInstalledByTheProgram)
{
    TTransactionHandler handler;
    TTransactionHandler* before = SetTransactionHandler(&handler);
    EXPECT_EQ(TransactionHandler(), &handler);
    EXPECT_EQ(SetTransactionHandler(before), &handler);
}

// The handler's two states on each database system.
class TransactionStates : public ::testing::TestWithParam<TDataTestDB>
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(GetParam(), Conn);
        Conn.Connect();
        Conn.ExecSQL(QStringLiteral("create table T (ID integer not null primary key, Name varchar(20))"));
        Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (1, 'eins')"));
        Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (2, 'zwei')"));
        CopyConnectionSettings(Conn, Other);
        Handler.SetConnection(&Conn);
    }

    // What a second connection sees: only committed rows.
    qint64 CommittedRows(const QString& Where)
    {
        Other.Disconnect();
        const qint64 n = CountRows(Other, Where);
        Other.Disconnect();
        return n;
    }

    TUniConnection Conn;
    TUniConnection Other;
    TTransactionHandler Handler;
};

TEST_P(TransactionStates, InactiveOnAutoCommitCommitsEachStatement)
{
    qint64 nrec = -5;
    EXPECT_TRUE(Handler.DoExecute(QStringLiteral("update T set Name='neu' where ID=1"), nrec)) << Handler.MessageText().toStdString();
    EXPECT_EQ(nrec, 1);
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(CommittedRows(QStringLiteral("Name='neu'")), 1);
}

TEST_P(TransactionStates, InactiveStatementJoinsTheCallersTransaction)
{
    Conn.StartTransaction();
    EXPECT_TRUE(Handler.DoExecute(QStringLiteral("update T set Name='neu' where ID=1")));
    EXPECT_TRUE(Handler.InTransaction()) << "the inactive handler commits nothing";
    Conn.Rollback();
    EXPECT_EQ(CountRows(Conn, QStringLiteral("Name='neu'")), 0);
}

TEST_P(TransactionStates, ActiveCommitsTheTransactionThatIsOpen)
{
    Handler.SetActive(true);
    Conn.StartTransaction();
    Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (3, 'drei')"));
    EXPECT_TRUE(Handler.DoExecute(QStringLiteral("update T set Name='neu' where ID=1")));
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(CommittedRows(QStringLiteral("ID=3 or Name='neu'")), 2) << "the caller's insert is committed too";
}

TEST_P(TransactionStates, ActiveWrapsEachStatementWhenAutoCommitIsOff)
{
    Handler.SetActive(true);
    Conn.SetAutoCommit(false);
    qint64 nrec = -5;
    EXPECT_TRUE(Handler.DoExecute(QStringLiteral("update T set Name='neu'"), nrec));
    EXPECT_EQ(nrec, 2);
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(CommittedRows(QStringLiteral("Name='neu'")), 2);
}

TEST_P(TransactionStates, UpdateMatchingNoRowSucceedsWithZeroRows)
{
    for (bool active : {false, true}) {
        Handler.SetActive(active);
        qint64 nrec = -5;
        EXPECT_TRUE(Handler.DoExecute(QStringLiteral("update T set Name='x' where ID=99"), nrec));
        EXPECT_EQ(nrec, 0);
    }
}

TEST_P(TransactionStates, FailingStatementRollsBackAndKeepsItsMessage)
{
    Handler.SetActive(true);
    Conn.StartTransaction();
    Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (3, 'drei')"));
    qint64 nrec = -5;
    EXPECT_FALSE(Handler.DoExecute(QStringLiteral("insert into T (ID, Name) values (1, 'doppelt')"), nrec));
    EXPECT_EQ(nrec, -5);
    const QString message = Handler.MessageText();
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(CountRows(Conn, QStringLiteral("ID=3")), 0) << "the open transaction was rolled back";

    EXPECT_TRUE(Handler.DoExecute(QStringLiteral("update T set Name='neu' where ID=2")));
    EXPECT_EQ(Handler.MessageText(), message) << "success does not clear the last failure";
    EXPECT_FALSE(Handler.DoExecute(QStringLiteral("select from nowhere")));
    EXPECT_NE(Handler.MessageText(), message);
}

TEST_P(TransactionStates, InactiveFailureLeavesTheCallersTransactionOpen)
{
    Conn.StartTransaction();
    Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (3, 'drei')"));
    EXPECT_FALSE(Handler.DoExecute(QStringLiteral("update NoSuchTable set Name='x'")));
    EXPECT_TRUE(Conn.InTransaction());
    Conn.Commit();
    EXPECT_EQ(CommittedRows(QStringLiteral("ID=3")), 1);
}

TEST_P(TransactionStates, ExFormsActWhileInactive)
{
    Handler.Start();
    EXPECT_FALSE(Handler.InTransaction());
    Handler.StartEx();
    EXPECT_TRUE(Handler.InTransaction());
    Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (3, 'drei')"));
    Handler.Commit();
    Handler.Rollback();
    EXPECT_TRUE(Handler.InTransaction()) << "Commit and Rollback act only while active";
    Handler.RollbackEx();
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(CountRows(Conn, QStringLiteral("ID=3")), 0);

    Handler.StartEx();
    Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (4, 'vier')"));
    Handler.CommitEx();
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(CommittedRows(QStringLiteral("ID=4")), 1);
}

TEST_P(TransactionStates, HookedDatasetPostsAndCancelsInTransactions)
{
    Handler.SetActive(true);
    Conn.SetAutoCommit(false);
    TUniQuery query(&Conn);
    query.SetSQL(QStringLiteral("select * from T order by ID"));
    Handler.SetEvents(&query);
    query.Open();

    bool sawTransaction = false;
    auto hookedBeforePost = query.BeforePost;
    query.BeforePost = [&](TDataSet& D) {
        hookedBeforePost(D);
        sawTransaction = Conn.InTransaction();
    };
    query.Edit();
    query.FieldByName(QStringLiteral("Name")).SetAsString(QStringLiteral("neu"));
    query.Post();
    EXPECT_TRUE(sawTransaction) << "BeforePost starts a transaction";
    EXPECT_FALSE(Conn.InTransaction()) << "AfterPost commits it";
    EXPECT_EQ(CommittedRows(QStringLiteral("Name='neu'")), 1);

    Conn.StartTransaction();
    Conn.ExecSQL(QStringLiteral("insert into T (ID, Name) values (3, 'drei')"));
    query.Edit();
    query.Cancel();
    EXPECT_FALSE(Conn.InTransaction()) << "AfterCancel rolls back";
    EXPECT_EQ(CountRows(Conn, QStringLiteral("ID=3")), 0);
}

INSTANTIATE_TEST_SUITE_P(All, TransactionStates, ::testing::ValuesIn(AllDataTestDBs),
                         [](const auto& Info) { return DataTestDBName(Info.param); });

// SQLite checks a deferred foreign key only at COMMIT, so the commit itself fails.
class FailingCommit : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(tdbSQLite, Conn);
        Conn.Connect();
        Conn.ExecSQL(QStringLiteral("PRAGMA foreign_keys=ON"));
        Conn.ExecSQL(QStringLiteral("create table P (ID integer primary key)"));
        Conn.ExecSQL(QStringLiteral("create table C (ID integer primary key, P_ID integer "
                                    "references P(ID) deferrable initially deferred)"));
        Conn.ExecSQL(QStringLiteral("insert into P values (1)"));
        Handler.SetConnection(&Conn);
        Handler.SetActive(true);
    }

    qint64 ChildRows()
    {
        TUniQuery q(&Conn);
        q.SetSQL(QStringLiteral("select count(*) as N from C"));
        q.Open();
        return q.FieldByName(QStringLiteral("N")).AsLargeInt();
    }

    TUniConnection Conn;
    TTransactionHandler Handler;
};

TEST_F(FailingCommit, StatementIsReportedAsFailedAndRolledBack)
{
    TRecordingNotifier notifier;
    Handler.SetShowError(true);
    EXPECT_FALSE(Handler.DoExecute(QStringLiteral("insert into C values (1, 99)")));
    EXPECT_TRUE(Handler.MessageText().contains(QStringLiteral("FOREIGN KEY"), Qt::CaseInsensitive))
        << Handler.MessageText().toStdString();
    EXPECT_EQ(notifier.Messages, QStringList{Handler.MessageText()});
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(ChildRows(), 0);

    qint64 nrec = -5;
    EXPECT_FALSE(Handler.DoExecute(QStringLiteral("insert into C values (2, 98)"), nrec));
    EXPECT_EQ(nrec, -5);
    EXPECT_FALSE(Handler.InTransaction());

    EXPECT_TRUE(Handler.DoExecute(QStringLiteral("insert into C values (3, 1)"), nrec));
    EXPECT_EQ(nrec, 1);
    EXPECT_EQ(ChildRows(), 1);
}

TEST_F(FailingCommit, CommitExFallsBackToRollback)
{
    Handler.StartEx();
    Conn.ExecSQL(QStringLiteral("insert into C values (1, 99)"));
    Handler.CommitEx();
    EXPECT_FALSE(Handler.InTransaction());
    EXPECT_EQ(ChildRows(), 0);
}

class TimingLog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KLADDE_REQUIRE_DATABASE(tdbSQLite, Conn);
        Conn.Connect();
        Conn.ExecSQL(QStringLiteral("create table T (ID integer primary key, Name varchar(20))"));
        LogFile = ScratchDir() + QStringLiteral("/Kladdemig.exe.log");
    }

    TUniConnection Conn;
    QString LogFile;
};

TEST_F(TimingLog, DefaultFileIsTheProgramFileWithLogAppended)
{
    TTransactionHandler handler;
    EXPECT_EQ(handler.LogFileName(), ProgramFilePath() + QStringLiteral(".log"));
}

TEST_F(TimingLog, DebugModeLogsEachSucceededStatementIntoTheFile)
{
    const QString insert = QStringLiteral("insert into T (ID, Name) values (1, 'Grüße')");
    const QString update = QStringLiteral("update T set Name=NULL");
    {
        const TDebugMode debug;
        TTransactionHandler handler;
        handler.SetLogFileName(LogFile);
        handler.SetConnection(&Conn);
        handler.SetActive(true);
        EXPECT_TRUE(handler.DoExecute(insert));
        EXPECT_FALSE(handler.DoExecute(QStringLiteral("update NoSuchTable set X=1")));
        qint64 nrec = 0;
        EXPECT_TRUE(handler.DoExecute(update, nrec)) << "the form with nrec is not timed";
        EXPECT_TRUE(handler.DoExecute(update));

        const QRegularExpression line(QStringLiteral(R"(^(\d+) ms: (.*)$)"));
        ASSERT_EQ(handler.Commands().size(), 2) << handler.Commands().join(u'|').toStdString();
        EXPECT_EQ(line.match(handler.Commands()[0]).captured(2), insert);
        EXPECT_EQ(line.match(handler.Commands()[1]).captured(2), update);
        EXPECT_FALSE(QFile::exists(LogFile)) << "written when the handler goes";
    }
    QFile file(LogFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QRegularExpression content(QStringLiteral("^\\d+ ms: insert into T \\(ID, Name\\) values \\(1, 'Gr\u00FC\u00DFe'\\)\r\n"
                                                    "\\d+ ms: update T set Name=NULL\r\n$"));
    EXPECT_TRUE(content.match(QString::fromLatin1(bytes)).hasMatch()) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("Gr\xFC\xDF" "e")) << "Windows-1252";
}

TEST_F(TimingLog, NoLinesOutsideDebugModeAndNoFileWithoutLines)
{
    SetDebugModeOverride(false);
    {
        TTransactionHandler handler;
        handler.SetLogFileName(LogFile);
        handler.SetConnection(&Conn);
        EXPECT_TRUE(handler.DoExecute(QStringLiteral("insert into T (ID, Name) values (1, 'a')")));
        EXPECT_TRUE(handler.Commands().isEmpty());
    }
    SetDebugModeOverride(std::nullopt);
    EXPECT_FALSE(QFile::exists(LogFile));
}

TEST(TransactionHooks, ExistingHandlersStayAndTheOthersAreHooked)
{
    TTransactionHandler handler;
    TUniQuery query;
    int ownAfterPost = 0;
    query.AfterPost = [&](TDataSet&) { ++ownAfterPost; };
    handler.SetEvents(&query);
    ASSERT_TRUE(query.AfterPost);
    query.AfterPost(query);
    EXPECT_EQ(ownAfterPost, 1);
    EXPECT_TRUE(query.BeforePost);
    EXPECT_TRUE(query.BeforeDelete);
    EXPECT_TRUE(query.AfterDelete);
    EXPECT_TRUE(query.AfterCancel);
}

TEST(TransactionHooks, QueriesOfOtherConnectionsAreLeftAlone)
{
    TTransactionHandler handler;
    TUniConnection mine;
    TUniConnection other;
    TUniQuery a(&mine);
    TUniQuery b(&other);
    TUniQuery c(&mine);
    handler.SetEvents(QList<TUniQuery*>{&a, &b, nullptr, &c}, &mine);
    EXPECT_TRUE(a.AfterPost && a.BeforeDelete && a.AfterCancel);
    EXPECT_TRUE(c.AfterPost && c.BeforeDelete && c.AfterCancel);
    EXPECT_FALSE(b.BeforePost || b.AfterPost || b.BeforeDelete || b.AfterDelete || b.AfterCancel);
}

TEST(TransactionHooks, ErrorHandlersAbortTheOperation)
{
    TTransactionHandler handler;
    TUniQuery query;
    TDataAction action = daFail;
    handler.DoOnPostError(query, Exception(QStringLiteral("x")), action);
    EXPECT_EQ(action, daAbort);
    action = daRetry;
    handler.DoOnDeleteError(query, Exception(QStringLiteral("x")), action);
    EXPECT_EQ(action, daAbort);
}

TEST(TransactionErrorLog, ShownThroughTheViewerAndClearedAfterwards)
{
    QStringList shownLines{QStringLiteral("vorher")};
    QString shownCaption;
    int shown = 0;
    const TErrorLogViewer previous = SetErrorLogViewer([&](const QStringList& Lines, const QString& Caption) {
        shownLines = Lines;
        shownCaption = Caption;
        ++shown;
    });
    TTransactionHandler handler;
    EXPECT_FALSE(handler.HasErrors());
    handler.SetLogErrors(true);
    EXPECT_TRUE(handler.LogErrors());
    handler.ShowErrorLog();
    SetErrorLogViewer(previous);
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(shownCaption, QStringLiteral("Transaktionsprotokoll"));
    EXPECT_TRUE(shownLines.isEmpty());
    EXPECT_FALSE(handler.HasErrors());
}

} // namespace
