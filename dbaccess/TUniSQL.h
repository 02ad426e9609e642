#pragma once

#include "TParams.h"

#include <QString>

class TUniConnection;

// A command: one SQL text without result rows, with named parameters.
class TUniSQL
{
public:
    explicit TUniSQL(TUniConnection* Connection = nullptr) : FConnection(Connection) {}

    TUniConnection* Connection() const { return FConnection; }
    void SetConnection(TUniConnection* Value) { FConnection = Value; }
    const QString& SQL() const { return FSQL; }
    void SetSQL(const QString& Value);
    TParams& Params() { return FParams; }
    TParam& ParamByName(const QString& Name) { return FParams.ParamByName(Name); }

    // Executes the text; raises EUniError with the database's message.
    void Execute();
    qint64 RowsAffected() const { return FRowsAffected; }

private:
    TUniConnection* FConnection;
    QString FSQL;
    TParams FParams;
    qint64 FRowsAffected = -1;
};
