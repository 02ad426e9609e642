#pragma once

#include "uKladdeConnector.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>

class TField;
class TRichEdit;
class TUniConnection;
class TUniQuery;

// How TSQLUpdIns writes a row: always UPDATE, always INSERT, or UPDATE first and INSERT when no
// row changed (the mode that worked is kept as DefaultMode).
enum TSQLUpdateMode { uiUpdate, uiInsert, uiUnknown };

// Collects the columns and values of one table row and writes it with one INSERT or UPDATE in
// the dialect of the connection's database system, executed through the program's transaction
// handler (TransactionHandler()). The connection and the rich-edit control are not owned.
// GUI thread only.
class TSQLUpdIns
{
public:
    // The date bounds of the values written: 1 January 1900 and Today plus 3650 days.
    explicit TSQLUpdIns(const QDate& Today = QDate::currentDate());
    ~TSQLUpdIns();
    TSQLUpdIns(const TSQLUpdIns&) = delete;
    TSQLUpdIns& operator=(const TSQLUpdIns&) = delete;

    // True while an UPDATE SET list is collected.
    bool DoAction() const { return !FUpd.isEmpty(); }
    // The column list of the INSERT, joined by ",".
    QString Fieldnames() const { return FFldIns; }
    QString TableName() const { return FTableName; }
    void SetTableName(const QString& Value) { FTableName = Value; }
    // The identifier column that gets GetNewID on INSERT; empty for none.
    QString IDField() const { return FIDField; }
    void SetIDField(const QString& Value) { FIDField = Value; }
    TUniConnection* Connection() const { return FCon; }
    // The connection of the look-ups; its database system decides the literal forms.
    void SetConnection(TUniConnection* Value);
    // Stored only; no operation uses it.
    QString Condition() const { return FCond; }
    void SetCondition(const QString& Value) { FCond = Value; }
    // A complete SELECT: a row means UPDATE, none INSERT; empty for none (DefaultMode applies).
    QString ExistCondition() const { return FExistCond; }
    void SetExistCondition(const QString& Value) { FExistCond = Value; }
    // The WHERE condition of the UPDATE, without "where".
    QString UpdateCondition() const { return FUpdateCond; }
    void SetUpdateCondition(const QString& Value) { FUpdateCond = Value; }
    TSQLUpdateMode DefaultMode() const { return FDefMode; }
    void SetDefaultMode(TSQLUpdateMode Value) { FDefMode = Value; }
    // The identifier the last Execute gave the inserted row through IDField, else 0.
    qint64 NewID() const { return FNewID; }
    QString ErrorMessage() const { return FErrMsg; }
    void SetErrorMessage(const QString& Value) { FErrMsg = Value; }
    // The last INSERT or UPDATE built.
    QString SQLText() const { return FSQLText; }
    // A control that turns RTF texts into plain text before they are written; null writes RTF
    // texts as they are.
    TRichEdit* RichEdit() const { return FRichEdit; }
    void SetRichEdit(TRichEdit* Value) { FRichEdit = Value; }

    // Adds column fld with the SQL value text val to the UPDATE and the INSERT; an empty val or
    // '' is written as NULL. For Access the INSERT column is written in brackets.
    void Add(const QString& fld, const QString& val);
    // The same for the INSERT only.
    void AddIns(const QString& fld, const QString& val);
    // Add / AddIns with the field's name and its current value as a literal of the connection's
    // dialect (NULL for a NULL value or an empty text).
    void AddField(const TField& afield);
    void AddInsField(const TField& afield);

    // Builds and executes the INSERT or UPDATE of the collected values (see TSQLUpdateMode and
    // ExistCondition). True when a statement ran without error; false with the database's
    // message in ErrorMessage when it failed, and false when there was nothing to execute.
    // The collected columns are emptied in any case. Errors of the existence and identifier
    // queries are not caught (EUniError).
    bool Execute();
    // Forgets the collected columns, ExistCondition, UpdateCondition and IDField.
    void Reset();

    // The text of the first row of ex_cond on Connection: its values as text in column order,
    // each after a ";" unless the text so far is empty (so "", "a", "", "b" gives "a;;b");
    // empty when there is no row. Raises EUniError for SQL errors.
    QString ExistingRecord(const QString& ex_cond);
    // Clears slRes and adds the text of each row of ex_cond. Raises EUniError for SQL errors.
    void ExistingRecords(const QString& ex_cond, QStringList& slRes);

private:
    QString FieldLiteral(const TField& afield) const;
    QString TextLiteral(const TField& afield) const;
    QString DateLiteral(const TField& afield) const;
    TUniQuery& OpenExistenceQuery(const QString& ex_cond);
    // Each false with FErrMsg set when the statement failed.
    bool RunInsert();
    bool RunUpdate(qint64& Rows);
    bool RunStatement(const QString& Statement, qint64& Rows);

    QString FUpd;
    QString FFldIns;
    QString FValIns;
    QString FTableName;
    QString FIDField;
    TUniConnection* FCon = nullptr;
    QString FCond;
    QString FExistCond;
    QString FUpdateCond;
    TSQLUpdateMode FDefMode = uiUpdate;
    qint64 FNewID = 0;
    std::unique_ptr<TUniQuery> FQry;
    QString FErrMsg;
    QString FSQLText;
    TDBProviderType FDBProvider = dbpAccess;
    TRichEdit* FRichEdit = nullptr;
    QDateTime FMinDate;
    QDateTime FMaxDate;
    bool FAbortCommand = false;
};

// The program's builder, created and installed by the program at start (not owned here); null
// before that.
TSQLUpdIns* SQLUpdIns();
// Installs Value as the program's builder and returns the one it replaces.
TSQLUpdIns* SetSQLUpdIns(TSQLUpdIns* Value);
