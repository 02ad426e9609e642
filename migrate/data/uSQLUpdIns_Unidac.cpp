#include "uSQLUpdIns_Unidac.h"

#include "Exception.h"
#include "TField.h"
#include "TUniQuery.h"
#include "TValueConversion.h"
#include "uDBUtils_Unidac.h"
#include "uGetDBFormat_Unidac.h"
#include "uTransactionHandler_UniDAC.h"
#include "utils.h"

using ValueConversion::PlainDateTime;

namespace {

TSQLUpdIns* ProgramBuilder = nullptr;

// The formatted value of a field that cannot be read; the row is then not written.
const QString ErrorValue = QStringLiteral("ERROR");

QString NullIfEmpty(const QString& Value)
{
    return Value.isEmpty() || Value == QLatin1String("''") ? QStringLiteral("NULL") : Value;
}

QString RowText(const TUniQuery& Query)
{
    QString text;
    for (int i = 0; i < Query.FieldCount(); ++i) {
        if (!text.isEmpty())
            text += QLatin1Char(';');
        text += Query.Fields(i)->AsString();
    }
    return text;
}

} // namespace

TSQLUpdIns* SQLUpdIns()
{
    return ProgramBuilder;
}

TSQLUpdIns* SetSQLUpdIns(TSQLUpdIns* Value)
{
    TSQLUpdIns* previous = ProgramBuilder;
    ProgramBuilder = Value;
    return previous;
}

TSQLUpdIns::TSQLUpdIns(const QDate& Today)
    : FMinDate(PlainDateTime(QDate(1900, 1, 1))), FMaxDate(PlainDateTime(Today.addDays(3650)))
{
}

TSQLUpdIns::~TSQLUpdIns() = default;

void TSQLUpdIns::SetConnection(TUniConnection* Value)
{
    FCon = Value;
    FDBProvider = GetDBProviderType(Value);
}

void TSQLUpdIns::AddIns(const QString& fld, const QString& val)
{
    const QString value = NullIfEmpty(val);
    if (!FFldIns.isEmpty())
        FFldIns += QLatin1Char(',');
    if (!FValIns.isEmpty())
        FValIns += QLatin1Char(',');
    FFldIns += FDBProvider == dbpAccess ? QLatin1Char('[') + fld + QLatin1Char(']') : fld;
    FValIns += value;
}

void TSQLUpdIns::Add(const QString& fld, const QString& val)
{
    const QString value = NullIfEmpty(val);
    AddIns(fld, value);
    if (!FUpd.isEmpty())
        FUpd += QLatin1Char(',');
    FUpd += fld + QLatin1Char('=') + value;
}

void TSQLUpdIns::AddField(const TField& afield)
{
    const QString literal = FieldLiteral(afield);
    if (literal == ErrorValue) {
        FAbortCommand = true;
        return;
    }
    Add(afield.FieldName(), literal);
}

void TSQLUpdIns::AddInsField(const TField& afield)
{
    const QString literal = FieldLiteral(afield);
    if (literal == ErrorValue) {
        FAbortCommand = true;
        return;
    }
    AddIns(afield.FieldName(), literal);
}

QString TSQLUpdIns::TextLiteral(const TField& afield) const
{
    QString text = afield.AsString();
    if (FRichEdit && IsRtfText(text))
        text = RtfToPlainText(text, FRichEdit);
    return TextToSQLLiteral(FDBProvider, text);
}

QString TSQLUpdIns::DateLiteral(const TField& afield) const
{
    if (afield.IsNull())
        return QString();
    QDateTime value = afield.AsDateTime();
    if (value < FMinDate)
        value = FMinDate;
    else if (value > FMaxDate)
        value = FMaxDate;
    return DateToSQLLiteral(FDBProvider, value);
}

// The empty text stands for NULL (Add and AddIns write it so).
QString TSQLUpdIns::FieldLiteral(const TField& afield) const
{
    try {
        switch (afield.DataType()) {
        case ftString:
        case ftMemo:
        case ftFixedChar:
        case ftWideString:
        case ftFixedWideChar:
        case ftWideMemo:
            return TextLiteral(afield);
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
        case ftLargeint:
        case ftByte:
            return afield.AsString();
        case ftFloat:
            return SetLastDecimalSeparator(afield.AsString(), QLatin1Char('.'));
        case ftDate:
        case ftTime:
        case ftDateTime:
            return DateLiteral(afield);
        case ftBoolean:
            return afield.IsNull() ? QString() : BooleanToSQLLiteral(FDBProvider, afield.AsBoolean());
        case ftCurrency:
        case ftBCD:
            // The canonical value is the exact decimal text with ".", whatever the locale.
            return afield.IsNull() ? QString() : afield.Value().toString();
        case ftBytes:
        case ftVarBytes:
        case ftBlob:
            return afield.IsNull() ? QString() : BinaryToSQLLiteral(FDBProvider, afield.AsBytes());
        case ftUnknown:
            return QString();
        }
    } catch (const Exception&) {
        return ErrorValue;
    }
    return QString();
}

bool TSQLUpdIns::RunStatement(const QString& Statement, qint64& Rows)
{
    FSQLText = Statement;
    TTransactionHandler* handler = TransactionHandler();
    if (!handler) {
        FErrMsg = QStringLiteral("Es ist keine Transaktionsverwaltung für SQL-Befehle eingerichtet");
        return false;
    }
    if (handler->DoExecute(Statement, Rows))
        return true;
    FErrMsg = handler->MessageText();
    return false;
}

bool TSQLUpdIns::RunInsert()
{
    if (FNewID > 0)
        Add(FIDField, QString::number(FNewID));
    qint64 rows = 0;
    return RunStatement(QStringLiteral("insert into %1 (%2) values (%3)").arg(FTableName, FFldIns, FValIns), rows);
}

bool TSQLUpdIns::RunUpdate(qint64& Rows)
{
    Rows = 0;
    return RunStatement(QStringLiteral("update %1 set %2 where %3").arg(FTableName, FUpd, FUpdateCond), Rows);
}

bool TSQLUpdIns::Execute()
{
    if (FAbortCommand) {
        FAbortCommand = false;
        return false;
    }
    FErrMsg.clear();
    struct TClearLists
    {
        TSQLUpdIns* Owner;
        ~TClearLists()
        {
            Owner->FUpd.clear();
            Owner->FFldIns.clear();
            Owner->FValIns.clear();
        }
    } clearLists{this};

    TSQLUpdateMode mode = FDefMode;
    if (!FExistCond.isEmpty())
        mode = ExistingRecord(FExistCond).isEmpty() ? uiInsert : uiUpdate;
    FNewID = 0;
    qint64 rows = 0;
    switch (mode) {
    case uiInsert:
        if (FFldIns.isEmpty())
            return false;
        if (!FIDField.isEmpty())
            FNewID = GetNewID(FCon, FTableName, FIDField);
        return RunInsert();
    case uiUpdate:
        return !FUpd.isEmpty() && RunUpdate(rows);
    case uiUnknown:
        if (!FUpd.isEmpty() && RunUpdate(rows) && rows > 0) {
            FDefMode = uiUpdate;
            return true;
        }
        if (FFldIns.isEmpty())
            return false;
        if (!FIDField.isEmpty())
            FNewID = GetNewID(FCon, FTableName, FIDField);
        if (!RunInsert())
            return false;
        FDefMode = uiInsert;
        return true;
    }
    return false;
}

void TSQLUpdIns::Reset()
{
    FUpd.clear();
    FFldIns.clear();
    FValIns.clear();
    FExistCond.clear();
    FUpdateCond.clear();
    FIDField.clear();
}

TUniQuery& TSQLUpdIns::OpenExistenceQuery(const QString& ex_cond)
{
    if (!FQry)
        FQry = CreateReadOnlyQuery(FCon);
    FQry->Close();
    FQry->SetSQL(ex_cond);
    FQry->SetConnection(FCon);
    FQry->Open();
    return *FQry;
}

QString TSQLUpdIns::ExistingRecord(const QString& ex_cond)
{
    TUniQuery& query = OpenExistenceQuery(ex_cond);
    const QString text = query.Eof() ? QString() : RowText(query);
    query.Close();
    return text;
}

void TSQLUpdIns::ExistingRecords(const QString& ex_cond, QStringList& slRes)
{
    slRes.clear();
    TUniQuery& query = OpenExistenceQuery(ex_cond);
    while (!query.Eof()) {
        slRes << RowText(query);
        query.Next();
    }
    query.Close();
}
