#pragma once

#include <QtGlobal>

// A small pseudo-random generator (SplitMix64) whose numbers depend on the seed alone, on every
// platform and compiler: the sample databases of one seed are the same everywhere.
class TRandom
{
public:
    explicit TRandom(quint64 Seed) : FState(Seed) {}

    quint64 Next();
    // 0 <= result < Bound. REQUIRES: Bound > 0.
    int Below(int Bound);
    // Low <= result <= High. REQUIRES: Low <= High.
    int Between(int Low, int High);
    // True with the probability PerMille / 1000.
    bool Chance(int PerMille) { return Below(1000) < PerMille; }
    // An item of a C array.
    template <typename T, int N>
    const T& Pick(const T (&Items)[N])
    {
        return Items[Below(N)];
    }

private:
    quint64 FState;
};
