#include "TRandom.h"

quint64 TRandom::Next()
{
    quint64 z = (FState += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int TRandom::Below(int Bound)
{
    return int(Next() % quint64(Bound));
}

int TRandom::Between(int Low, int High)
{
    return Low + Below(High - Low + 1);
}
