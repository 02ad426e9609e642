#pragma once

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

// One mapping: the row SrcID of the source received DstID in the destination, in the table at
// position TableIndex of the mapper's name list.
class TIDMapInfo
{
public:
    TIDMapInfo(int TableIndex, int SrcID, int DstID) : FTableIndex(TableIndex), FSrcID(SrcID), FDstID(DstID) {}

    int TableIndex() const { return FTableIndex; }
    void SetTableIndex(int Value) { FTableIndex = Value; }
    int SrcID() const { return FSrcID; }
    void SetSrcID(int Value) { FSrcID = Value; }
    int DstID() const { return FDstID; }
    void SetDstID(int Value) { FDstID = Value; }

private:
    int FTableIndex;
    int FSrcID;
    int FDstID;
};

// Per table, which identifier a source row received in the destination; in memory only. Table
// names are compared ignoring letter case. Nothing prevents several entries for the same table
// and identifier: look-ups return the first added. The mapper owns its entries. GUI thread only.
class TIDMapper
{
public:
    TIDMapper();
    ~TIDMapper();
    TIDMapper(const TIDMapper&) = delete;
    TIDMapper& operator=(const TIDMapper&) = delete;

    // Records that src_id of tbl became dst_id; tbl joins the name list on its first appearance.
    void Add(const QString& tbl, int src_id, int dst_id);
    // DstID of the first entry of tbl with SrcID src_id; -1 when there is none.
    int DstIDfromSrcID(const QString& tbl, int src_id) const;
    // SrcID of the first entry of tbl with DstID dst_id; -1 when there is none.
    int SrcIDfromDstID(const QString& tbl, int dst_id) const;
    // Position of tbl in the name list, -1 when it was never added.
    int IndexOfTable(const QString& tbl) const;
    // Forgets all table names and entries.
    void Clear();

private:
    std::vector<std::unique_ptr<TIDMapInfo>> FIDMapData;
    QStringList FTableNames;
};

// The program's identifier map, created and installed by the program at start (not owned here);
// null before that.
TIDMapper* IDMapper();
// Installs Value as the program's identifier map and returns the one it replaces.
TIDMapper* SetIDMapper(TIDMapper* Value);
