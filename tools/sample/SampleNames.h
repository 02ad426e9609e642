#pragma once

#include <QString>

class TRandom;

// The word lists the sample school is made of: German names and names from the countries pupils'
// families come from, with umlauts, apostrophes and letters outside Windows-1252 (Ł, ş, ř, ễ, ...).
namespace SampleNames {

struct TList
{
    const char* const* Items; // UTF-8
    int Count;

    QString At(int Index) const { return QString::fromUtf8(Items[Index % Count]); }
    QString Pick(TRandom& Random) const;
};

struct TPlace
{
    const char* PLZ;
    const char* Name;
    const char* Kreis;
};

extern const TList Surnames;
extern const TList GirlsNames;
extern const TList BoysNames;
extern const TList AdultFemaleNames;
extern const TList AdultMaleNames;
extern const TList Streets;
extern const TList Birthplaces;
extern const TList PupilRemarks;    // remarks on a pupil
extern const TList ReportRemarks;   // remarks on a report
extern const TList ProgressRemarks; // remarks on a pupil's progress in a subject
extern const TPlace Places[];
extern const int PlaceCount;

} // namespace SampleNames
