#pragma once

#include "TDataSet.h"
#include "TParams.h"
#include "TProviderOptions.h"

class TUniConnection;

// A query: an SQL text with named parameters (":ID"), opened as a dataset or executed. Append
// and Post insert into the table of the query's single-table SELECT.
class TUniQuery : public TDataSet
{
public:
    explicit TUniQuery(TUniConnection* Connection = nullptr);
    ~TUniQuery() override;

    TUniConnection* Connection() const { return FConnection; }
    void SetConnection(TUniConnection* Value);

    const QString& SQL() const { return FSQL; }
    // Replaces the text (closing the query) and rebuilds the parameter list; parameters that keep
    // their name keep their value.
    void SetSQL(const QString& Value);
    TParams& Params() { return FParams; }
    TParam& ParamByName(const QString& Name) { return FParams.ParamByName(Name); }

    // Rows fetched per round trip where a provider offers the choice; rows are read one at a time here.
    int FetchRows() const { return FFetchRows; }
    void SetFetchRows(int Value) { FFetchRows = Value; }
    TProviderOptions& SpecificOptions() { return FOptions; }

    // Executes the text as a command (no rows); RowsAffected tells how many rows it changed.
    void ExecSQL();
    qint64 RowsAffected() const { return FRowsAffected; }
    // Checks that the query can run: its connection opens.
    void Prepare();

    void ConnectionGone() override;

protected:
    TUniConnection* DataConnection() const override { return FConnection; }
    std::unique_ptr<TProviderCursor> OpenCursor() override;
    QString UpdateTable() const override;
    virtual QString EffectiveSQL() const { return FSQL; }

private:
    QVector<QVariant> BoundValues(const TParsedSql& Parsed) const;

    TUniConnection* FConnection = nullptr;
    QString FSQL;
    TParams FParams;
    int FFetchRows = 25;
    TProviderOptions FOptions;
    qint64 FRowsAffected = -1;
};
