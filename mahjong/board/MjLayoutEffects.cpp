// MjLayout: board-wide effects (fly-in, gathering, snap-back, clearing one group at a time).
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjGridTile.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjRandom.h"
#include "mahjong/board/MjTileTypes.h"

int MjLayout::AnimateAll(void*, int mode, int x)
{
    int& pattern = SharedState().flyPattern;
    if (mode != kFlyIn) {
        pattern = mode;
    }
    const int w = _settings->tileWidth;
    const int h = _settings->tileHeight;
    const int sx0 = _settings->origin.GetX();
    const int sy0 = _settings->origin.GetY();
    int gathered = 0;
    int n = 0;
    for (int i = _maxI - 1; i >= 0; --i) {
        for (int j = 0; j < _maxJ; ++j) {
            int d = 600;
            int spotY = gathered + 200;
            for (int k = 0; k < _maxK; ++k) {
                MjCell& cell = Cell(i, j, k);
                const bool gatheredCell = cell.dealMark == MjCell::kGathered;
                if (gatheredCell) {
                    ++gathered;
                    ++spotY;
                }
                if (cell.state == MjCell::kOrigin && cell.tile != nullptr &&
                    (!gatheredCell || mode == kSnapBack)) {
                    MjGridTile* tile = cell.tile;
                    const int tx = CellX(i, j, k);
                    const int ty = CellY(i, j, k);
                    int sx = sx0, sy = sy0;
                    switch (pattern) {
                    case 0:
                        sx = w * i - 200;
                        sy = h * j + d;
                        break;
                    case 2:
                        sx = 300;
                        sy = 300;
                        break;
                    case 3:
                        sx = 700;
                        sy = 500;
                        break;
                    case 4: {
                        const int q = (j / 2 + i / 2) % 4;
                        sx = q >= 2 ? 700 : sx0;
                        sy = q % 2 == 1 ? 500 : sy0;
                        break;
                    }
                    case 6:
                        sx = x + 23 * (n % 3) + (i < 3 ? 6 : 0);
                        break;
                    default:
                        break;
                    }
                    if (mode == kGather) {
                        cell.dealMark = MjCell::kGathered;
                        tile->Move(sx, 580 - MjRandom::Next() % 20);
                        const int t = 500 + 50 * (n % 3);
                        tile->MoveTo(x + 30, spotY, t);
                        tile->MoveLater(tx, ty, t, 400);
                    } else if (mode == kSnapBack) {
                        tile->ChangeState(0);
                        tile->Move(tx, ty);
                        tile->MoveLater(tx, ty, 10, 10);
                    } else {
                        tile->Move(sx, sy);
                        tile->MoveTo(tx, ty, pattern == 5 ? 10 * cell.order + 100 : 1000);
                    }
                    ++n;
                }
                if (mode == kGather && n >= 3 && k == _maxK - 1) {
                    return 1;
                }
                d += 100;
            }
        }
    }
    ++pattern;
    if (pattern > 5) {
        pattern = 0;
    }
    return 0;
}

namespace {
// The clearing takes one type per step, the bonus types last, as the steps after the last type.
constexpr int kBonusTypes = MjTileTypes::kLastBonusType - MjTileTypes::kFirstHonourType + 1;
constexpr int kBonusStepOffset = MjTileTypes::kPlayTypes - MjTileTypes::kFirstHonourType;
constexpr int kClearingEnd = MjTileTypes::kPlayTypes + kBonusTypes;
} // namespace

int MjLayout::EffectStep(CastMember* target1, CastMember* target2, CastMember* target3)
{
    int& step = SharedState().clearingStep;
    if (step == -1) {
        bool faded = false;
        for (int index : _origins) {
            MjCell& cell = _cells[index];
            if (cell.state == MjCell::kOrigin && cell.tile != nullptr &&
                cell.tile->GetType() == MjTileTypes::kBrickType) {
                cell.tile->FadeHide(500);
                faded = true;
            }
        }
        step = 0;
        if (faded) {
            return 1;
        }
    }
    if (step >= kClearingEnd) {
        step = -1;
        return 0;
    }
    CastMember* targets[3] = {target1, target2, target3};
    int taken = 0;
    for (;;) {
        for (int index : _origins) {
            MjCell& cell = _cells[index];
            if (cell.state != MjCell::kOrigin || cell.tile == nullptr) {
                continue;
            }
            const int t = cell.tile->GetType();
            const bool wanted = (t == step && step != MjTileTypes::kFirstHonourType) ||
                                (t == step - kBonusStepOffset && step >= MjTileTypes::kPlayTypes);
            if (!wanted || t == MjTileTypes::kBrickType || t == MjTileTypes::kYinYangType) {
                continue;
            }
            cell.state = MjCell::kEmpty;
            ++taken;
            if (taken <= 3 && targets[taken - 1] != nullptr) {
                cell.tile->MoveBeside(targets[taken - 1], 300);
            }
            // A special tile goes on its own.
            if (taken == _matchSize ||
                (step > MjTileTypes::kYinYangType && step < MjTileTypes::kPlayTypes)) {
                return taken;
            }
        }
        ++step;
        if (step == MjTileTypes::kFirstHonourType) {
            step = MjTileTypes::kLastBonusType + 1;
        }
        if (step >= kClearingEnd) {
            step = -1;
            return 0;
        }
    }
}
