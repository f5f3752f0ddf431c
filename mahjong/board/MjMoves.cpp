#include "mahjong/board/MjMoves.h"

#include <algorithm>

MjMoves::MjMoves() : Debug("MjMoves")
{
    Reset();
}

MjMoves::~MjMoves() = default;

int MjMoves::Reset()
{
    _records[0] = MjMove();
    _count = 1;
    _groupStart = -1;
    _openGroups = 0;
    _groupBroken = false;
    return 1;
}

bool MjMoves::ClearNext()
{
    if (_count < 0 || _count >= kRecords) {
        return false;
    }
    _records[_count] = MjMove();
    return true;
}

bool MjMoves::DiscardOldestGroup()
{
    const int limit = _groupStart >= 0 ? _groupStart : _count;
    int end = -1;
    for (int n = 1; n < limit; ++n) {
        if (_records[n].type == MjMove::kGroupEnd) {
            end = n;
            break;
        }
    }
    if (end < 0) {
        return false;
    }
    const int removed = end; // records 1 .. end
    std::copy(_records + end + 1, _records + _count, _records + 1);
    _count -= removed;
    if (_groupStart >= 0) {
        _groupStart -= removed;
    }
    return true;
}

MjMove* MjMoves::Next()
{
    if (_groupBroken) {
        return nullptr;
    }
    while (!ClearNext()) {
        if (!DiscardOldestGroup()) {
            if (_groupStart >= 0) {
                _groupBroken = true;
            }
            return nullptr;
        }
    }
    return &_records[_count];
}

void MjMoves::BeginGroup()
{
    MjMove* record = Next();
    if (record == nullptr) {
        return;
    }
    record->type = MjMove::kGroupStart;
    if (_openGroups++ == 0) {
        _groupStart = _count;
    }
    ++_count;
}

int MjMoves::EndGroup()
{
    MjMove* record = Next();
    if (record != nullptr) {
        record->type = MjMove::kGroupEnd;
        ++_count;
    }
    if (_openGroups > 0 && --_openGroups > 0) {
        return record != nullptr ? _count : 0;
    }
    const bool broken = _groupBroken || record == nullptr;
    if (broken && _groupStart >= 1) {
        // Part of this group could not be kept: forget it whole rather than undo half of it.
        _count = _groupStart;
    }
    _groupStart = -1;
    _groupBroken = false;
    return broken ? 0 : _count;
}

void MjMoves::AddScore(int value)
{
    if (MjMove* record = Next()) {
        record->type = MjMove::kScore;
        record->c = value;
        ++_count;
    }
}

void MjMoves::AddPair(MjGridTile* tile, int slot)
{
    if (MjMove* record = Next()) {
        record->type = MjMove::kTrayHeld;
        record->a = tile;
        record->c = slot;
        ++_count;
    }
}

void MjMoves::AddToTray(MjGridTile* tile)
{
    if (MjMove* record = Next()) {
        record->type = MjMove::kToTray;
        record->a = tile;
        ++_count;
    }
}

void MjMoves::AddSwap(MjGridTile* a, MjGridTile* b)
{
    if (MjMove* record = Next()) {
        record->type = MjMove::kSwap;
        record->a = a;
        record->b = b;
        ++_count;
    }
}

void MjMoves::AddChange(MjGridTile* tile, MjGridTile* by, int oldType, int oldFace, int flag)
{
    if (MjMove* record = Next()) {
        record->type = MjMove::kChange;
        record->a = tile;
        record->b = by;
        record->c = oldType;
        record->d = oldFace;
        record->e = flag;
        ++_count;
    }
}

int MjMoves::AddValue8(int slot)
{
    MjMove* record = Next();
    if (record == nullptr) {
        return 0;
    }
    record->type = MjMove::kTrayEmpty;
    record->a = nullptr;
    record->c = slot;
    return ++_count;
}

MjMove* MjMoves::Pop()
{
    if (_count <= 1) {
        DebugVar(-1, "Bad Undo Counter in MjMoves - %d", _count - 1);
        _count = 1;
        return &_records[0];
    }
    --_count;
    if (_groupStart >= _count) {
        _groupStart = -1;
        _openGroups = 0;
        _groupBroken = false;
    }
    return &_records[_count];
}

int MjMoves::LastIndex() const
{
    return _count >= 1 && _count <= kRecords ? _count - 1 : 0;
}
