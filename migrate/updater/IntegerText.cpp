#include "IntegerText.h"

#include <limits>

bool TryStrToInt(const QString& S, int& Value)
{
    qsizetype pos = 0;
    bool negative = false;
    if (pos < S.size() && (S[pos] == u'+' || S[pos] == u'-')) {
        negative = S[pos] == u'-';
        ++pos;
    }
    if (pos == S.size())
        return false;
    // Accumulated as a negative number, so that the minimum of the range fits.
    qint64 result = 0;
    for (; pos < S.size(); ++pos) {
        const char16_t c = S[pos].unicode();
        if (c < u'0' || c > u'9')
            return false;
        result = result * 10 - (c - u'0');
        if (result < qint64(std::numeric_limits<int>::min()))
            return false;
    }
    if (!negative) {
        result = -result;
        if (result > std::numeric_limits<int>::max())
            return false;
    }
    Value = int(result);
    return true;
}
