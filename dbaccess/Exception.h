#pragma once

#include <QString>
#include <exception>

// Root of the exceptions the programs raise and catch. Callers that turn failures into results
// ("safe" operations) catch Exception and its descendants only; anything else passes through.
class Exception : public std::exception
{
public:
    explicit Exception(QString Message) : FMessage(std::move(Message)), FUtf8(FMessage.toUtf8()) {}

    const QString& Message() const { return FMessage; }
    // The name of the exception's class, as recorded in error texts ("EUniError ...").
    virtual QString ClassName() const { return QStringLiteral("Exception"); }
    const char* what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};
