#pragma once

#include "Exception.h"

// A routine was called against its contract (a required argument missing). The message names the
// routine and the broken requirement.
class EAssertionFailed : public Exception
{
public:
    using Exception::Exception;

    QString ClassName() const override { return QStringLiteral("EAssertionFailed"); }
};
