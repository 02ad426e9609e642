#include "TRowWriter.h"

#include "SqlLiterals.h"
#include "TUniConnection.h"
#include "TUniQuery.h"
#include "TUniSQL.h"

namespace {

const int RowsPerTransaction = 20000;
const int RowsPerStatement = 200;
const int CharsPerStatement = 512 * 1024; // far below MySQL's smallest max_allowed_packet
const int CharsPerBlock = 60 * 1024;      // Firebird before version 3 took 64 KB of statement text

} // namespace

TRowWriter::TRowWriter(TUniConnection& Connection, TDBProviderType Type)
    : FConn(Connection), FType(Type), FMode(Type == dbpSQLite || Type == dbpMySQL ? mMultiRowInsert
                                            : Type == dbpFirebird                 ? mExecuteBlock
                                                                                  : mParameters)
{
    if (FType == dbpMySQL) {
        TUniQuery mode(&FConn);
        mode.SetSQL(QStringLiteral("select @@SESSION.sql_mode as M"));
        mode.Open();
        FBackslashEscapes =
            !mode.FieldByName(QStringLiteral("M")).AsString().contains(QLatin1String("NO_BACKSLASH_ESCAPES"));
    }
}

TRowWriter::~TRowWriter()
{
    if (FConn.InTransaction())
        FConn.Rollback();
}

QString TRowWriter::Literal(const QVariant& Value) const
{
    switch (FType) {
        case dbpMySQL: return SqlLiterals::MySQL(Value, FBackslashEscapes);
        case dbpFirebird: return SqlLiterals::Firebird(Value);
        default: return SqlLiterals::SQLite(Value);
    }
}

void TRowWriter::BeginTable(const QString& Table, const QStringList& Columns)
{
    FTable = Table;
    FColumns = Columns;
    FCounts.append({Table, 0});
    FInsertHead = QStringLiteral("insert into %1 (%2) values ").arg(Table, Columns.join(QLatin1String(", ")));
    if (FMode == mParameters) {
        QStringList params;
        for (int i = 0; i < Columns.size(); ++i)
            params << QStringLiteral(":p%1").arg(i);
        FCommand = std::make_unique<TUniSQL>(&FConn);
        FCommand->SetSQL(FInsertHead + u'(' + params.join(QLatin1String(", ")) + u')');
    }
    if (!FConn.InTransaction())
        FConn.StartTransaction();
}

void TRowWriter::AddRow(const QVector<QVariant>& Values)
{
    Q_ASSERT(Values.size() == FColumns.size());
    try {
        if (FMode != mParameters) {
            QString row = QStringLiteral("(");
            for (int i = 0; i < Values.size(); ++i) {
                if (i > 0)
                    row += u',';
                row += Literal(Values[i]);
            }
            row += u')';
            if (FMode == mExecuteBlock) {
                if (FPendingRows > 0 && FPending.size() + FInsertHead.size() + row.size() + 16 > CharsPerBlock)
                    Flush();
                FPending += FInsertHead + row + QStringLiteral(";\n");
            } else {
                FPending += FPendingRows == 0 ? row : QStringLiteral(",\n") + row;
            }
            if (++FPendingRows >= RowsPerStatement || FPending.size() >= CharsPerStatement)
                Flush();
        } else {
            for (int i = 0; i < Values.size(); ++i)
                FCommand->Params().Items(i).SetValue(Values[i]);
            FCommand->Execute();
            ++FRowsInTransaction;
        }
        ++FCounts.last().second;
        CommitIfDue();
    } catch (...) {
        if (FConn.InTransaction())
            FConn.Rollback();
        throw;
    }
}

void TRowWriter::Flush()
{
    if (FPendingRows == 0)
        return;
    FConn.ExecSQL(FMode == mExecuteBlock ? QStringLiteral("execute block as begin\n") + FPending + QStringLiteral("end")
                                         : FInsertHead + FPending);
    FRowsInTransaction += FPendingRows;
    FPending.clear();
    FPendingRows = 0;
}

void TRowWriter::CommitIfDue()
{
    if (FRowsInTransaction < RowsPerTransaction)
        return;
    FConn.Commit();
    FConn.StartTransaction();
    FRowsInTransaction = 0;
}

void TRowWriter::EndTable()
{
    try {
        Flush();
    } catch (...) {
        if (FConn.InTransaction())
            FConn.Rollback();
        throw;
    }
    FCommand.reset();
    FConn.Commit();
    FRowsInTransaction = 0;
}
