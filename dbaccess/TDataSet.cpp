#include "TDataSet.h"

#include "EUniError.h"
#include "TProviderSession.h"
#include "TUniConnection.h"

TDataSet::TDataSet() = default;

TDataSet::~TDataSet() = default;

void TDataSet::BuildFields()
{
    FFields.clear();
    TUniConnection* conn = DataConnection();
    for (const TColumnInfo& column : FCursor->Columns()) {
        TFieldType type = column.DataType;
        bool ignoreErrors = false;
        if (const TDataTypeRule* rule = conn->DataTypeMap().Find(conn->ProviderName(), column.NativeType)) {
            type = rule->FieldType;
            ignoreErrors = rule->IgnoreErrors;
        }
        FFields.push_back(std::make_unique<TField>(this, column, type, ignoreErrors));
    }
}

bool TDataSet::FetchRow()
{
    if (!FCursor->Fetch(FRow))
        return false;
    for (int i = 0; i < int(FFields.size()); ++i)
        FFields[i]->LoadValue(FRow[i]);
    ++FRowNumber;
    return true;
}

void TDataSet::Open()
{
    if (Active())
        return;
    TUniConnection* conn = DataConnection();
    if (!conn)
        throw EUniError(QStringLiteral("The dataset has no connection"));
    FCursor = OpenCursor();
    BuildFields();
    FRowNumber = 0;
    FState = dsBrowse;
    try {
        FEof = !FetchRow();
    } catch (...) {
        Close();
        throw;
    }
}

void TDataSet::Close()
{
    FCursor.reset();
    FFields.clear();
    FRow.clear();
    FSavedValues.clear();
    FState = dsInactive;
    FEof = true;
}

void TDataSet::Next()
{
    if (FState == dsInsert || FState == dsEdit)
        Post();
    if (!Active() || FEof)
        return;
    if (!FetchRow())
        FEof = true;
}

void TDataSet::First()
{
    if (!Active() || (FRowNumber <= 1 && FState == dsBrowse))
        return;
    Close();
    Open();
}

TField* TDataSet::FindField(const QString& Name) const
{
    for (const auto& field : FFields)
        if (field->FieldName().compare(Name, Qt::CaseInsensitive) == 0)
            return field.get();
    return nullptr;
}

TField& TDataSet::FieldByName(const QString& Name) const
{
    if (TField* field = FindField(Name))
        return *field;
    throw EUniError(QStringLiteral("Field '%1' not found").arg(Name));
}

void TDataSet::CheckEditing(const TField& Field) const
{
    if (FState != dsInsert && FState != dsEdit)
        throw EUniError(QStringLiteral("Dataset not in edit or insert mode"));
    if (Field.ReadOnly())
        throw EUniError(QStringLiteral("Field '%1' cannot be modified").arg(Field.FieldName()));
}

QVector<QVariant> TDataSet::CurrentValues() const
{
    QVector<QVariant> values;
    for (const auto& field : FFields)
        values << field->Value();
    return values;
}

void TDataSet::RestoreValues(const QVector<QVariant>& Values)
{
    for (int i = 0; i < int(FFields.size()) && i < Values.size(); ++i) {
        FFields[i]->LoadValue(Values[i]);
        FFields[i]->ResetAssigned();
    }
}

void TDataSet::Append()
{
    if (!Active())
        throw EUniError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (FReadOnly)
        throw EUniError(QStringLiteral("Cannot modify a read-only dataset"));
    if (FState == dsInsert || FState == dsEdit)
        Post();
    FSavedValues = CurrentValues();
    FSavedEof = FEof;
    for (const auto& field : FFields) {
        field->LoadValue(QVariant());
        field->ResetAssigned();
    }
    FState = dsInsert;
}

void TDataSet::Edit()
{
    if (!Active())
        throw EUniError(QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (FReadOnly)
        throw EUniError(QStringLiteral("Cannot modify a read-only dataset"));
    if (FState == dsEdit || FState == dsInsert)
        return;
    if (FEof && FRowNumber == 0)
        throw EUniError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    FSavedValues = CurrentValues();
    FSavedEof = FEof;
    for (const auto& field : FFields)
        field->ResetAssigned();
    FState = dsEdit;
}

void TDataSet::Cancel()
{
    if (FState != dsInsert && FState != dsEdit)
        return;
    RestoreValues(FSavedValues);
    FEof = FSavedEof;
    FState = dsBrowse;
    if (AfterCancel)
        AfterCancel(*this);
}

void TDataSet::Post()
{
    if (FState != dsInsert && FState != dsEdit)
        throw EUniError(QStringLiteral("Dataset not in edit or insert mode"));
    if (BeforePost)
        BeforePost(*this);
    for (const auto& field : FFields)
        if (field->Required() && field->IsNull())
            throw EUniError(QStringLiteral("Field '%1' must have a value").arg(field->FieldName()));
    if (FState == dsInsert)
        PostInsert();
    else
        PostEdit();
    for (const auto& field : FFields)
        field->ResetAssigned();
    FState = dsBrowse;
    if (AfterPost)
        AfterPost(*this);
}

void TDataSet::PostInsert()
{
    TUniConnection* conn = DataConnection();
    TProviderSession& session = conn->Session();
    QStringList names;
    QStringList marks;
    QVector<QVariant> params;
    for (const auto& field : FFields) {
        if (!field->Assigned())
            continue;
        names << session.QuoteIdentifier(field->FieldName());
        marks << QStringLiteral("?");
        params << field->Value();
    }
    const QString sql = names.isEmpty()
                            ? QStringLiteral("insert into %1 default values").arg(UpdateTable())
                            : QStringLiteral("insert into %1 (%2) values (%3)")
                                  .arg(UpdateTable(), names.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
    conn->PrepareChange();
    session.Execute(sql, params);
}

QString TDataSet::KeyCondition(QVector<QVariant>& Params) const
{
    TUniConnection* conn = DataConnection();
    TProviderSession& session = conn->Session();
    const QStringList keys = session.PrimaryKey(UpdateTable());
    if (keys.isEmpty())
        throw EUniError(QStringLiteral("The table %1 has no primary key; the row cannot be identified").arg(UpdateTable()));
    QStringList parts;
    for (const QString& key : keys) {
        int index = -1;
        for (int i = 0; i < int(FFields.size()); ++i)
            if (FFields[i]->FieldName().compare(key, Qt::CaseInsensitive) == 0)
                index = i;
        if (index < 0)
            throw EUniError(QStringLiteral("The key field '%1' is not part of the dataset").arg(key));
        parts << session.QuoteIdentifier(FFields[index]->FieldName()) + QStringLiteral("=?");
        Params << FSavedValues.value(index);
    }
    return parts.join(QLatin1String(" and "));
}

void TDataSet::PostEdit()
{
    TUniConnection* conn = DataConnection();
    TProviderSession& session = conn->Session();
    QStringList sets;
    QVector<QVariant> params;
    for (const auto& field : FFields) {
        if (!field->Assigned())
            continue;
        sets << session.QuoteIdentifier(field->FieldName()) + QStringLiteral("=?");
        params << field->Value();
    }
    if (sets.isEmpty())
        return;
    QVector<QVariant> keyParams;
    const QString condition = KeyCondition(keyParams);
    params << keyParams;
    conn->PrepareChange();
    session.Execute(QStringLiteral("update %1 set %2 where %3").arg(UpdateTable(), sets.join(QLatin1Char(',')), condition),
                    params);
}

void TDataSet::Delete()
{
    if (FState != dsBrowse || FEof)
        throw EUniError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    if (FReadOnly)
        throw EUniError(QStringLiteral("Cannot modify a read-only dataset"));
    if (BeforeDelete)
        BeforeDelete(*this);
    FSavedValues = CurrentValues();
    QVector<QVariant> params;
    const QString condition = KeyCondition(params);
    TUniConnection* conn = DataConnection();
    conn->PrepareChange();
    conn->Session().Execute(QStringLiteral("delete from %1 where %2").arg(UpdateTable(), condition), params);
    if (!FetchRow())
        FEof = true;
    if (AfterDelete)
        AfterDelete(*this);
}
