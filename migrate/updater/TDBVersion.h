#pragma once

#include <QString>
#include <QtGlobal>

class TDataSet;

// A database version V1.V2.V3.V4, most significant first, as the updater compares them.
struct TDBVersion
{
    qint32 V1 = 0;
    qint32 V2 = 0;
    qint32 V3 = 0;
    qint32 V4 = 0;

    // Parses "V1.V2.V3.V4": each component is the text up to the next "." (V4 the whole rest),
    // converted strictly (sign and decimal digits only). Stops at the first component that does
    // not convert: the components before it keep their new values, the others their old ones.
    // True when all four were set. "1.2.3" sets V1 and V2 only; "1.2.3.4.5" leaves V4.
    bool FromString(const QString& AStrVersion);
    // Takes the integer values of the fields "Version1".."Version4" of the current row (NULL is
    // 0). A missing field or a value that is no integer stops it, keeping the components already
    // set, and gives false.
    bool FromQuery(const TDataSet& AQuery);
    // "2.6.13.0".
    QString ToString() const;
    bool IsSame(const TDBVersion& ADBVersion) const;
    // True when this version is strictly greater than ADBVersion (signed, V1 first).
    bool IsOlderAs(const TDBVersion& ADBVersion) const;
    // Negative components become 0; a version 0.0.0.x is raised to at least 0.0.0.1.
    void CheckMaxValues();
};
