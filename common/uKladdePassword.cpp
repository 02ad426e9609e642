#include "uKladdePassword.h"

QString GetAccdbPassword()
{
    return QStringLiteral("Tqb4Gvvnrpp&");
}

QString GetMdbPassword()
{
    return QStringLiteral("wombel");
}
