#pragma once

#include "Exception.h"

// A print job could not be set up or run: the printer refused it or its page leaves no room.
class EPrinter : public Exception
{
public:
    using Exception::Exception;

    QString ClassName() const override { return QStringLiteral("EPrinter"); }
};
