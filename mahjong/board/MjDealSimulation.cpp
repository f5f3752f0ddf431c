// MjDeal: the simulated play that takes groups and special tiles off the grid.
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTileTypes.h"

#include <algorithm>

namespace {
constexpr int kBrickKind = 2;

bool Ordinary(const MjCell& cell)
{
    return cell.state == MjCell::kOrigin && cell.specialKind == 0;
}
} // namespace

int MjDeal::RemoveNextGroup(int groupNumber)
{
    const int matchSize = _layout->MatchSize();
    const std::vector<int>& origins = _layout->OriginIndices();
    for (;;) {
        int candidates = 0, freeCandidates = 0;
        int weight = 0;
        int kinds[kDeepMagnet + 1] = {};
        const bool late = groupNumber > 6 * _rules.difficulty;
        bool cellsToDealLeft = false;
        for (int index : origins) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            const MjCell& cell = _layout->Cell(i, j, k);
            if (cell.state == MjCell::kOrigin && cell.faceRow == MjCell::kRowToDeal) {
                cellsToDealLeft = true;
                break;
            }
        }
        const bool onlySpecialCellsLeft = _layout->HasSpecialCells() && !cellsToDealLeft;
        for (int index : origins) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            MjCell& cell = _layout->Cell(i, j, k);
            cell.pickWeight = 0;
            if (cell.state != MjCell::kOrigin) {
                continue;
            }
            const bool free = _layout->FreeState(i, j, k) == MjLayout::kFree;
            const int kind = cell.specialKind;
            if (free && ((kind >= kFuse && kind <= kSwapper) || kind == kDeepMagnet)) {
                ++kinds[kind];
            }
            if (cell.faceCol == MjCell::kNoFace && kind == 0 &&
                (onlySpecialCellsLeft || cell.faceRow == MjCell::kRowToDeal)) {
                ++candidates;
                if (free) {
                    cell.pickWeight = late ? k + 1 : 1;
                    weight += cell.pickWeight;
                    ++freeCandidates;
                }
            }
        }
        if (candidates == 0) {
            return 1;
        }
        if (freeCandidates < matchSize) {
            // A special tile opens the board; one that changes nothing gives way to the next.
            bool changed = false;
            for (int kind : {kDeepMagnet, kMagnet, kTyphoon, kFuse, kSwapper, kClone}) {
                if (kinds[kind] > 0 && UseSpecial(kind)) {
                    changed = true;
                    break;
                }
            }
            if (!changed) {
                _stuckOnDeepMagnet = kinds[kDeepMagnet] > 0;
                return 0;
            }
            continue;
        }
        const int t = PickDealType();
        if (t < 0 || _counts[t] < matchSize) {
            _stuckOnDeepMagnet = false;
            return 0; // the counts do not fit this board: a false group would follow
        }
        if (_plan != nullptr) {
            _plan->push_back({0, {}});
        }
        for (int m = 0; m < matchSize && weight > 0; ++m) {
            const int face = PopDealFace(t);
            const int r = static_cast<int>(Draw(static_cast<uint32_t>(weight)));
            weight -= TakeWeightedCell(face, r);
        }
        if (weight != 0) {
            for (int kind : {kDeepMagnet, kMagnet, kTyphoon, kFuse}) {
                if (kinds[kind] > 0 && Draw(7) == 3) {
                    UseSpecial(kind);
                }
            }
            if (kinds[kClone] > 0) {
                UseSpecial(kClone);
            }
            if (kinds[kSwapper] > 0) {
                UseSpecial(kSwapper);
            }
        }
        return 1;
    }
}

bool MjDeal::UseSpecial(int kind)
{
    if (_plan != nullptr) {
        _plan->push_back({kind, {}});
    }
    bool used = false;
    switch (kind) {
    case kDeepMagnet:
        used = RemoveKind11Cell();
        break;
    case kMagnet:
        used = RemoveMagnetTile();
        break;
    case kTyphoon:
        used = RemoveWildCardGroup();
        break;
    case kFuse:
        used = RemoveFuseGroup();
        break;
    case kSwapper:
        used = RemoveSwapperCell();
        break;
    case kClone:
        used = RemoveCloneCell();
        break;
    default:
        break;
    }
    if (_plan != nullptr && _plan->back().cells.empty()) {
        _plan->pop_back();
    }
    return used;
}

int MjDeal::TakeWeightedCell(int face, int r)
{
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (cell.pickWeight == 0) {
            continue;
        }
        if (r < cell.pickWeight) {
            const int weight = cell.pickWeight;
            Note(0, index);
            cell.dealMark = face + 1;
            cell.pickWeight = 0;
            _layout->EmptyQuad(i, j, k);
            return weight;
        }
        r -= cell.pickWeight;
    }
    return 0;
}

bool MjDeal::ConsumeSpecialCell(int kind, int)
{
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state == MjCell::kOrigin && cell.specialKind == kind &&
            _layout->FreeState(i, j, k) == MjLayout::kFree) {
            Note(kind, index);
            cell.dealMark = -1;
            _layout->EmptyQuad(i, j, k);
            cell.specialKind = kind + kUsed;
            return true;
        }
    }
    return false;
}

bool MjDeal::RemoveKind11Cell()
{
    // Play lets a deep magnet pull only a fully covered tile: with none on the board the magnet
    // stays where it is.
    const std::vector<int>& origins = _layout->OriginIndices();
    const bool pullable = std::any_of(origins.begin(), origins.end(), [this](int index) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        return Ordinary(_layout->Cell(i, j, k)) && _layout->IsFullyCovered(i, j, k);
    });
    if (!pullable) {
        return false;
    }
    return ConsumeSpecialCell(kDeepMagnet);
}

bool MjDeal::RemoveCloneCell()
{
    return ConsumeSpecialCell(kClone);
}

bool MjDeal::RemoveSwapperCell()
{
    return ConsumeSpecialCell(kSwapper);
}

bool MjDeal::RemoveFuseGroup()
{
    if (_layout->FreeCount(MjTileTypes::kFuseType) == 0) {
        return false;
    }
    const std::vector<int>& origins = _layout->OriginIndices();
    const auto burnable = [this](int index) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = _layout->Cell(i, j, k);
        return cell.state == MjCell::kOrigin && cell.specialKind == kBrickKind &&
               _layout->FreeState(i, j, k) != MjLayout::kCoveredAbove;
    };
    int bricks = 0;
    for (int index : origins) {
        bricks += burnable(index) ? 1 : 0;
    }
    if (bricks == 0) {
        return ConsumeSpecialCell(kFuse);
    }
    int r = static_cast<int>(Draw(static_cast<uint32_t>(bricks)));
    int row = 0, layer = 0;
    for (int index : origins) {
        if (!burnable(index)) {
            continue;
        }
        if (r-- == 0) {
            int i;
            MjLayout::IndexToCell(index, i, row, layer);
            Note(kFuse, index);
            _layout->Cell(i, row, layer).dealMark = -1;
            _layout->EmptyQuad(i, row, layer);
            break;
        }
    }
    if (_rules.skipBrick == 0) {
        for (int index : origins) {
            int i, j, k;
            MjLayout::IndexToCell(index, i, j, k);
            MjCell& cell = _layout->Cell(i, j, k);
            if (j == row && k == layer && cell.state == MjCell::kOrigin &&
                cell.specialKind == kBrickKind) {
                cell.specialKind = kBrickKind + kUsed;
            }
        }
    }
    ConsumeSpecialCell(kFuse);
    return true;
}

bool MjDeal::RemoveMagnetTile()
{
    // Play takes a magnet off only by pulling a tile onto it, and without the vortex the deal
    // deals no pulled pair: the magnet stays where it is (power tiles may stay).
    if (_rules.useVortex == 0) {
        return false;
    }
    const std::vector<int>& origins = _layout->OriginIndices();
    int freeTiles = 0, reachable = 0;
    for (int index : origins) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        if (!Ordinary(_layout->Cell(i, j, k))) {
            continue;
        }
        if (_layout->FreeState(i, j, k) == MjLayout::kFree) {
            ++freeTiles;
        } else if (!_layout->IsFullyCovered(i, j, k)) {
            ++reachable;
        }
    }
    if (freeTiles == 0 || reachable == 0) {
        DebugVar(-1, "Might happen - In RemoveMagnetTile");
        return false;
    }
    const int t = PickDealType();
    if (t < 0) {
        return ConsumeSpecialCell(kMagnet);
    }
    if (_counts[t] < 2) {
        return false; // an exhausted type would deal a false pair
    }
    int a = static_cast<int>(Draw(static_cast<uint32_t>(freeTiles)));
    int b = static_cast<int>(Draw(static_cast<uint32_t>(reachable)));
    bool freeTaken = false, coveredTaken = false;
    for (int index : origins) {
        if (freeTaken && coveredTaken) {
            break;
        }
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (!Ordinary(cell)) {
            continue;
        }
        bool take = false;
        if (!freeTaken && _layout->FreeState(i, j, k) == MjLayout::kFree) {
            if (a-- == 0) {
                take = true;
                freeTaken = true;
            }
        } else if (!coveredTaken && !_layout->IsFullyCovered(i, j, k)) {
            if (b-- == 0) {
                take = true;
                coveredTaken = true;
            }
        }
        if (take) {
            Note(kMagnet, index);
            cell.dealMark = PopDealFace(t) + 1;
            cell.pickWeight = 0;
            _layout->EmptyQuad(i, j, k);
        }
    }
    ConsumeSpecialCell(kMagnet);
    return true;
}

bool MjDeal::RemoveWildCardGroup()
{
    if (_layout->FreeCount(MjTileTypes::kTyphoonType) == 0) {
        return false;
    }
    if (_rules.useVortex == 0) {
        return ConsumeSpecialCell(kTyphoon);
    }
    int left = 0;
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        left += Ordinary(_layout->Cell(i, j, k)) ? 1 : 0;
    }
    const int t = PickDealType();
    if (t < 0 || _counts[t] <= 0) {
        return ConsumeSpecialCell(kTyphoon);
    }
    const int times = _counts[t];
    for (int n = 0; n < times; ++n) {
        if (left == 0) {
            DebugVar(-1, "SHould never happen - In RemoveWildCardGroup");
            return n > 0;
        }
        const int r = static_cast<int>(Draw(static_cast<uint32_t>(left)));
        TakeNthOpenCell(PopDealFace(t), r);
        --left;
    }
    ConsumeSpecialCell(kTyphoon);
    return true;
}

void MjDeal::TakeNthOpenCell(int face, int n)
{
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (!Ordinary(cell)) {
            continue;
        }
        if (n-- == 0) {
            Note(kTyphoon, index);
            cell.dealMark = face + 1;
            cell.pickWeight = 0;
            _layout->EmptyQuad(i, j, k);
            return;
        }
    }
}
