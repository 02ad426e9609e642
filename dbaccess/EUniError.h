#pragma once

#include "Exception.h"

// A failure reported by a database or by the database access layer. The message is the
// database's own text, unchanged; ErrorCode is the native error number where there is one (else 0).
class EUniError : public Exception
{
public:
    explicit EUniError(QString Message, int ErrorCode = 0) : Exception(std::move(Message)), FErrorCode(ErrorCode) {}

    int ErrorCode() const { return FErrorCode; }
    QString ClassName() const override { return QStringLiteral("EUniError"); }

private:
    int FErrorCode;
};
