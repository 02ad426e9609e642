#include "TDBVersion.h"

#include "IntegerText.h"
#include "TDataSet.h"

#include <algorithm>
#include <exception>

bool TDBVersion::FromString(const QString& AStrVersion)
{
    QString rest = AStrVersion;
    for (qint32* component : {&V1, &V2, &V3}) {
        const qsizetype dot = rest.indexOf(u'.');
        // Without a "." the component is empty and so does not convert.
        const QString part = dot < 0 ? QString() : rest.left(dot);
        if (!TryStrToInt(part, *component))
            return false;
        rest.remove(0, dot + 1);
    }
    return TryStrToInt(rest, V4);
}

bool TDBVersion::FromQuery(const TDataSet& AQuery)
{
    try {
        V1 = AQuery.FieldByName(QStringLiteral("Version1")).AsInteger();
        V2 = AQuery.FieldByName(QStringLiteral("Version2")).AsInteger();
        V3 = AQuery.FieldByName(QStringLiteral("Version3")).AsInteger();
        V4 = AQuery.FieldByName(QStringLiteral("Version4")).AsInteger();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

QString TDBVersion::ToString() const
{
    return QStringLiteral("%1.%2.%3.%4").arg(V1).arg(V2).arg(V3).arg(V4);
}

bool TDBVersion::IsSame(const TDBVersion& ADBVersion) const
{
    return V1 == ADBVersion.V1 && V2 == ADBVersion.V2 && V3 == ADBVersion.V3 && V4 == ADBVersion.V4;
}

bool TDBVersion::IsOlderAs(const TDBVersion& ADBVersion) const
{
    if (V1 != ADBVersion.V1)
        return V1 > ADBVersion.V1;
    if (V2 != ADBVersion.V2)
        return V2 > ADBVersion.V2;
    if (V3 != ADBVersion.V3)
        return V3 > ADBVersion.V3;
    return V4 > ADBVersion.V4;
}

void TDBVersion::CheckMaxValues()
{
    V1 = std::max(V1, 0);
    V2 = std::max(V2, 0);
    V3 = std::max(V3, 0);
    V4 = std::max(V4, 0);
    if (V1 == 0 && V2 == 0 && V3 == 0)
        V4 = std::max(V4, 1);
}
