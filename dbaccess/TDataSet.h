#pragma once

#include "TField.h"
#include "TFieldType.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>
#include <vector>

class TProviderCursor;
class TUniConnection;

// The rows of one result, read as a forward stream: only the current row is held. A dataset
// is inactive until Open; then it is in browse state on its first row (Eof when there is none).
// Append starts a new row in insert state and Edit puts the current row in edit state; Post
// writes it to the database (raising EUniError with the database's message, the state staying
// as it was until Cancel), Cancel drops the changes. GUI thread only.
class TDataSet
{
public:
    TDataSet();
    virtual ~TDataSet();
    TDataSet(const TDataSet&) = delete;
    TDataSet& operator=(const TDataSet&) = delete;

    void Open();
    void Close();
    bool Active() const { return FState != dsInactive; }
    void SetActive(bool Value) { Value ? Open() : Close(); }
    TDataSetState State() const { return FState; }

    bool Eof() const { return FEof; }
    void Next();
    // Back to the first row; a forward stream runs its statement again for this.
    void First();

    int FieldCount() const { return int(FFields.size()); }
    TField* Fields(int Index) const { return FFields[Index].get(); }
    TField* FindField(const QString& Name) const;
    // Raises EUniError when there is no field of that name.
    TField& FieldByName(const QString& Name) const;

    void Append();
    void Insert() { Append(); }
    void Edit();
    void Post();
    void Cancel();
    void Delete();

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value) { FReadOnly = Value; }

    std::function<void(TDataSet&)> BeforePost;
    std::function<void(TDataSet&)> AfterPost;
    std::function<void(TDataSet&)> BeforeDelete;
    std::function<void(TDataSet&)> AfterDelete;
    std::function<void(TDataSet&)> AfterCancel;

    // For TField: raises unless the dataset accepts changes to Field now.
    void CheckEditing(const TField& Field) const;
    // For the connection: it is being destroyed.
    virtual void ConnectionGone() {}

protected:
    virtual TUniConnection* DataConnection() const = 0;
    // Runs the statement whose rows the dataset shows.
    virtual std::unique_ptr<TProviderCursor> OpenCursor() = 0;
    // The table that Post and Delete write to.
    virtual QString UpdateTable() const = 0;

private:
    bool FetchRow();
    void BuildFields();
    QVector<QVariant> CurrentValues() const;
    void RestoreValues(const QVector<QVariant>& Values);
    void PostInsert();
    void PostEdit();
    QString KeyCondition(QVector<QVariant>& Params) const;

    TDataSetState FState = dsInactive;
    bool FEof = true;
    bool FReadOnly = false;
    int FRowNumber = 0;
    std::unique_ptr<TProviderCursor> FCursor;
    std::vector<std::unique_ptr<TField>> FFields;
    QVector<QVariant> FRow;
    QVector<QVariant> FSavedValues; // the row before Append or Edit
    bool FSavedEof = true;
};
