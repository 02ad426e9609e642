#include "uIDMapper.h"

TIDMapper::TIDMapper() = default;

TIDMapper::~TIDMapper() = default;

void TIDMapper::Add(const QString& tbl, int src_id, int dst_id)
{
    int index = IndexOfTable(tbl);
    if (index < 0) {
        FTableNames.append(tbl);
        index = int(FTableNames.size()) - 1;
    }
    FIDMapData.push_back(std::make_unique<TIDMapInfo>(index, src_id, dst_id));
}

int TIDMapper::DstIDfromSrcID(const QString& tbl, int src_id) const
{
    // A table never added has position -1, which no entry holds.
    const int index = IndexOfTable(tbl);
    for (const auto& info : FIDMapData)
        if (info->TableIndex() == index && info->SrcID() == src_id)
            return info->DstID();
    return -1;
}

int TIDMapper::SrcIDfromDstID(const QString& tbl, int dst_id) const
{
    const int index = IndexOfTable(tbl);
    for (const auto& info : FIDMapData)
        if (info->TableIndex() == index && info->DstID() == dst_id)
            return info->SrcID();
    return -1;
}

int TIDMapper::IndexOfTable(const QString& tbl) const
{
    for (int index = 0; index < FTableNames.size(); ++index)
        if (FTableNames[index].compare(tbl, Qt::CaseInsensitive) == 0)
            return index;
    return -1;
}

void TIDMapper::Clear()
{
    FTableNames.clear();
    FIDMapData.clear();
}

namespace {
TIDMapper* ProgramMapper = nullptr;
} // namespace

TIDMapper* IDMapper()
{
    return ProgramMapper;
}

TIDMapper* SetIDMapper(TIDMapper* Value)
{
    TIDMapper* previous = ProgramMapper;
    ProgramMapper = Value;
    return previous;
}
