// MjLayout: the free rule, free counts, special kinds, match and hint choice.
#include "framework/media/Image.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjGridTile.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTileTypes.h"

#include <algorithm>

bool MjLayout::IsEmpty(int i, int j, int k) const
{
    return !InBounds(i, j, k) || Cell(i, j, k).state == MjCell::kEmpty;
}

bool MjLayout::IsFullyCovered(int i, int j, int k) const
{
    if (!InBounds(i, j, k) || Cell(i, j, k).state != MjCell::kOrigin) {
        return true;
    }
    return !IsEmpty(i, j, k + 1) && !IsEmpty(i + 1, j, k + 1) && !IsEmpty(i, j + 1, k + 1) &&
           !IsEmpty(i + 1, j + 1, k + 1);
}

int MjLayout::FreeState(int i, int j, int k) const
{
    if (!InBounds(i, j, k) || Cell(i, j, k).state != MjCell::kOrigin) {
        return kBlocked;
    }
    if (!IsEmpty(i, j, k + 1) || !IsEmpty(i + 1, j, k + 1) || !IsEmpty(i, j + 1, k + 1) ||
        !IsEmpty(i + 1, j + 1, k + 1)) {
        return kCoveredAbove;
    }
    if (Cell(i, j, k).specialKind == 2) {
        return kBlocked;
    }
    if (IsEmpty(i + 2, j, k) && IsEmpty(i + 2, j + 1, k)) {
        return kFree;
    }
    if (IsEmpty(i - 1, j, k) && IsEmpty(i - 1, j + 1, k)) {
        return kFree;
    }
    return kBlocked;
}

int MjLayout::FreeCount(int type) const
{
    return type >= 0 && type < kTypes ? _typeCount[type] : 0;
}

int MjLayout::PairsAvailable(int type) const
{
    const int count = FreeCount(type);
    switch (type) {
    case MjTileTypes::kDownType:
    case MjTileTypes::kUpType:
    case MjTileTypes::kFuseType:
    case MjTileTypes::kCloneType:
    case MjTileTypes::kTyphoonType:
    case MjTileTypes::kSwapperType:
    case MjTileTypes::kWandType:
    case MjTileTypes::kMagnetType:
    case MjTileTypes::kDeepMagnetType:
        if (count != 0) {
            return -1;
        }
        break;
    default:
        break;
    }
    if (count >= _matchSize && type != MjTileTypes::kBrickType) {
        return count / _matchSize;
    }
    return 0;
}

void MjLayout::SetSpecialKind(int type, int i, int j, int k)
{
    if (type >= MjTileTypes::kFirstSpecialType && type != MjTileTypes::kBrickType) {
        ++_specialCount;
    }
    if (type < MjTileTypes::kFirstSpecialType || type == MjTileTypes::kSpecialCellCode ||
        !InBounds(i, j, k)) {
        return;
    }
    int kind = 1;
    switch (type) {
    case MjTileTypes::kDeepMagnetType:
        kind = 11;
        break;
    case MjTileTypes::kUpType:
        kind = 8;
        break;
    case MjTileTypes::kDownType:
        kind = 9;
        break;
    case MjTileTypes::kWandType:
        kind = 10;
        break;
    case MjTileTypes::kSwapperType:
        kind = 7;
        break;
    case MjTileTypes::kCloneType:
        kind = 6;
        break;
    case MjTileTypes::kMagnetType:
        kind = 5;
        break;
    case MjTileTypes::kTyphoonType:
        kind = 4;
        break;
    case MjTileTypes::kFuseType:
        kind = 3;
        break;
    case MjTileTypes::kBrickType:
        kind = 2;
        break;
    default:
        break;
    }
    Cell(i, j, k).specialKind = kind;
}

bool MjLayout::OnlySpecialsLeft() const
{
    for (int index : _origins) {
        const MjCell& cell = _cells[index];
        if (cell.state == MjCell::kOrigin && cell.tile != nullptr &&
            cell.tile->GetType() < MjTileTypes::kFirstLeftoverType) {
            return false;
        }
    }
    return true;
}

void MjLayout::NextMatchFor(MjGridTile* tile, MjGridTile** out)
{
    *out = nullptr;
    if (tile == nullptr) {
        return;
    }
    MjGridTile* listed[kMatchListSize];
    int count = 0;
    const int type = tile->GetType();
    for (int index : _origins) {
        const MjCell& cell = _cells[index];
        if (count == kMatchListSize) {
            break;
        }
        if (cell.state != MjCell::kOrigin || cell.tile == nullptr || cell.tile == tile ||
            cell.tile->GetType() != type) {
            continue;
        }
        int i, j, k;
        IndexToCell(index, i, j, k);
        if (FreeState(i, j, k) == kFree) {
            listed[count++] = cell.tile;
        }
    }
    if (count == 0) {
        return;
    }
    int& at = SharedState().matchIndex;
    ++at;
    if (at >= count) {
        at = 0;
    }
    *out = listed[at];
}

bool MjLayout::ShowHint(bool shadeUnmatchable)
{
    MjGridTile* listed[MjTileTypes::kPlayTypes][kHintListSize];
    int listedCount[MjTileTypes::kPlayTypes] = {};
    std::fill(_typeCount, _typeCount + MjTileTypes::kPlayTypes, 0);
    for (int index : _origins) {
        const MjCell& cell = _cells[index];
        if (cell.state != MjCell::kOrigin || cell.tile == nullptr) {
            continue;
        }
        MjGridTile* tile = cell.tile;
        tile->SetFaceShown(true);
        int i, j, k;
        IndexToCell(index, i, j, k);
        const int type = tile->GetType();
        if (FreeState(i, j, k) == kFree) {
            if (type >= 0 && type < MjTileTypes::kPlayTypes) {
                ++_typeCount[type];
                if (listedCount[type] < kHintListSize) {
                    listed[type][listedCount[type]++] = tile;
                }
            }
        } else if (shadeUnmatchable) {
            tile->HideFace();
            tile->SetFaceShown(false);
        }
    }
    if (shadeUnmatchable) {
        for (int type = 0; type < MjTileTypes::kPlayTypes; ++type) {
            const bool matchable = PairsAvailable(type) != 0;
            for (int n = 0; n < listedCount[type]; ++n) {
                if (matchable) {
                    listed[type][n]->ShowFace();
                } else {
                    listed[type][n]->HideFace();
                    listed[type][n]->SetFaceShown(false);
                }
            }
        }
        return true;
    }
    int matches = 0, specials = 0;
    for (int type = 0; type < MjTileTypes::kPlayTypes; ++type) {
        const int pairs = PairsAvailable(type);
        matches += pairs > 0 ? 1 : 0;
        specials += pairs < 0 ? 1 : 0;
    }
    const bool ordinary = matches > 0;
    const int n = ordinary ? matches : specials;
    if (n == 0) {
        return false;
    }
    int& at = SharedState().hintIndex;
    ++at;
    if (at >= n) {
        at = 0;
    }
    int place = 0;
    for (int type = 0; type < MjTileTypes::kPlayTypes; ++type) {
        const int pairs = PairsAvailable(type);
        if (ordinary ? pairs < 1 : pairs != -1) {
            continue;
        }
        if (place++ == at) {
            for (int m = 0; m < listedCount[type]; ++m) {
                BlinkCell(listed[type][m]->GridI(), listed[type][m]->GridJ(),
                          listed[type][m]->GridK());
            }
            break;
        }
    }
    return true;
}

int MjLayout::UpdateFree()
{
    std::fill(_typeCount, _typeCount + MjTileTypes::kPlayTypes, 0);
    int free = 0;
    for (int index : _origins) {
        MjCell& cell = _cells[index];
        if (cell.state != MjCell::kOrigin || cell.tile == nullptr) {
            continue;
        }
        int i, j, k;
        IndexToCell(index, i, j, k);
        if (FreeState(i, j, k) == kFree) {
            ++free;
            const int type = cell.tile->GetType();
            if (type >= 0 && type < MjTileTypes::kPlayTypes) {
                ++_typeCount[type];
            }
            if (_shade && cell.shaded != 0) {
                cell.tile->ResetFrame();
                cell.shaded = 0;
            }
        } else if (_shade && cell.shaded == 0) {
            cell.tile->BlitInto(_shade.get(), _settings->tileBorder + 1, 1);
            cell.shaded = 1;
        }
    }
    int sum = 0, specials = 0;
    for (int type = 0; type < MjTileTypes::kPlayTypes; ++type) {
        const int pairs = PairsAvailable(type);
        sum += pairs > 0 ? pairs : 0;
        specials += pairs < 0 ? 1 : 0;
    }
    if (sum > 0) {
        return sum;
    }
    if (specials > 0) {
        return -1;
    }
    return free > _matchSize ? 0 : -2;
}
