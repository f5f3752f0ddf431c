#pragma once

#include "framework/core/Debug.h"

#include <cstdint>

class MjGridTile;

// One record of the move history.
struct MjMove
{
    static constexpr int kCleared = 0;
    static constexpr int kGroupStart = 1;
    static constexpr int kGroupEnd = 2;
    static constexpr int kScore = 3;
    static constexpr int kTrayHeld = 4;  // tray slot c held tile a, which was hidden
    static constexpr int kToTray = 5;    // tile a left its cell for the tray
    static constexpr int kSwap = 6;      // tiles a and b exchanged their cells
    static constexpr int kChange = 7;    // a power changed tile a to the type of tile b
    static constexpr int kTrayEmpty = 8; // tray slot c was empty

    int32_t type = kCleared;
    MjGridTile* a = nullptr;
    MjGridTile* b = nullptr;
    int32_t c = -1;
    int32_t d = -1;
    int32_t e = 0;
};

// The history of undoable moves: groups of records between a start and an end record above a
// bottom record that is never undone. A full history forgets its oldest whole groups, so every
// group it holds can be undone completely.
class MjMoves : public Debug
{
public:
    static constexpr int kRecords = 5000;

    MjMoves();
    ~MjMoves() override;

    int Reset();
    bool ClearNext();
    void BeginGroup();
    int EndGroup();
    void AddScore(int value);
    void AddPair(MjGridTile* tile, int slot);
    void AddToTray(MjGridTile* tile);
    void AddSwap(MjGridTile* a, MjGridTile* b);
    void AddChange(MjGridTile* tile, MjGridTile* by, int oldType, int oldFace, int flag);
    int AddValue8(int slot);
    // The last record, taken off; the bottom record (type 0) when nothing is left.
    MjMove* Pop();
    int LastIndex() const;
    int Count() const { return _count; }
    const MjMove& Record(int index) const { return _records[index]; }

private:
    // The record to fill next, making room by forgetting the oldest whole group; null when the
    // record cannot be kept (the open group then is dropped at its end).
    MjMove* Next();
    bool DiscardOldestGroup();

    MjMove _records[kRecords];
    int _count = 1;
    int _groupStart = -1; // start record of the outermost open group, -1 when none is open
    int _openGroups = 0;
    bool _groupBroken = false; // a record of the open group could not be kept
};
