#pragma once

#include "Exception.h"

// A configuration file could not be written. The message names the file.
class EIniFileException : public Exception
{
public:
    using Exception::Exception;

    QString ClassName() const override { return QStringLiteral("EIniFileException"); }
};
