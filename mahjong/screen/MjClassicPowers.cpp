#include "framework/core/Color.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"

#include <vector>

namespace {

constexpr int kHighestRank = MjTileTypes::kRanks - 1;

constexpr int kPowerFlightMs = 500;
constexpr int kTyphoonStaggerMs = 50;
// A tile whose type changes: the copy flies from its source, offset from the cell, with a
// shadow of its own.
constexpr int kCopyOffsetX = 15;
constexpr int kCopyOffsetY = -8;
constexpr int kCopyPriority = 20;
constexpr int kCopyShadow = 3;
constexpr int kCopyShadowAlpha = 128;
// The fuse's explosion: loop speed, the offset of its target beside the brick and its speed.
constexpr int kExplosionLoopSpeed = 70;
constexpr int kExplosionOffsetX = 8;
constexpr float kExplosionSpeed = 10.0f;
constexpr int kFuseOverlayFrame = 4;
// The tray effect at the end of a board: the next step, and the end reported by slot 0's tile.
constexpr int kEffectStepMs = 250;
constexpr int kEffectEndMs = 300;
// The deal's mark of a tile its simulation has still to take off.
constexpr int kDealMarkPending = -2;
// The name popup of a special tile: beside the press, to the right on the left of the board.
constexpr int kNameRightOfPressBelowX = 451;
constexpr int kNameRightOffset = 55;
constexpr int kNameLeftOffset = -290;
constexpr int kNameAboveOffset = -90;
constexpr int kBrickTutorialBoard = 5;

// The tiles in the grid's cells in scan order (column, row, layer); collected first, so that
// a power may empty cells while it walks them.
std::vector<MjTile*> TilesOnGrid(MjLayout* layout)
{
    std::vector<MjTile*> tiles;
    if (layout == nullptr) {
        return tiles;
    }
    for (int index : layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = layout->Cell(i, j, k);
        if (cell.state != MjCell::kOrigin) {
            continue;
        }
        if (auto* tile = dynamic_cast<MjTile*>(cell.tile)) {
            tiles.push_back(tile);
        }
    }
    return tiles;
}

const char* SpecialTileName(int type, int puzzle)
{
    switch (type) {
    case MjTile::kYinYang:
        return "YinYangOk";
    case MjClassic::kBrickType:
        return puzzle == kBrickTutorialBoard ? "BricksBlock" : "FireCracker";
    case MjClassic::kDownType:
        return "Down";
    case MjClassic::kUpType:
        return "Up";
    case MjClassic::kFuseType:
        return "FireCracker";
    case MjClassic::kCloneType:
        return "Clone";
    case MjClassic::kTyphoonType:
        return "Typhoon";
    case MjClassic::kSwapperType:
        return "Swap";
    case MjClassic::kWandType:
        return "Magic";
    case MjClassic::kMagnetType:
        return "Magnet";
    default:
        return nullptr;
    }
}

} // namespace

bool MjClassic::RankPower(MjTile* power, MjTile* target)
{
    if (power == nullptr || target == nullptr || _layout == nullptr) {
        return false;
    }
    const int t = target->GetType();
    const int powerType = power->GetType();
    if (t < 0 || t >= MjTileTypes::kSuitedTypes) {
        return false;
    }
    const bool wand = powerType == kWandType;
    int newType = t;
    if (powerType == kUpType) {
        if (t % MjTileTypes::kRanks == kHighestRank) {
            return false;
        }
        newType = t + 1;
    } else if (powerType == kDownType) {
        if (t % MjTileTypes::kRanks == 0) {
            return false;
        }
        newType = t - 1;
    } else if (!wand) {
        return false;
    }

    ++_groupCounter;
    _moves->BeginGroup();
    MoveToTray(power, 1, 0, kPowerFlightMs);
    ClearTraySlot(2, kPowerFlightMs);
    ClearTraySlot(3, kPowerFlightMs);
    for (MjTile* tile : TilesOnGrid(_layout)) {
        const int type = tile->GetType();
        if (wand) {
            // Every tile of the target's rank in the other suits takes the target's suit.
            if (type < MjTileTypes::kSuitedTypes &&
                type % MjTileTypes::kRanks == t % MjTileTypes::kRanks && type != t) {
                _moves->AddChange(tile, target, type, tile->GetFace(), 0);
                FlyTypeChange(target, tile, t, t);
            }
        } else if (type == t) {
            _moves->AddChange(tile, target, t, t, 1);
            FlyTypeChange(target, tile, newType, newType);
        }
    }
    if (!wand) {
        target->SetType(newType);
        target->SetFace(newType);
        target->ShowFace();
    }
    _moves->EndGroup();
    LockBoardInput(false);
    return true;
}

void MjClassic::Clone(MjTile* power, MjTile* source, MjTile* target)
{
    if (power == nullptr || source == nullptr || target == nullptr || _layout == nullptr) {
        return;
    }
    ++_groupCounter;
    _moves->BeginGroup();
    MoveToTray(power, 1, 0, kPowerFlightMs);
    ClearTraySlot(2, kPowerFlightMs);
    ClearTraySlot(3, kPowerFlightMs);
    const int targetType = target->GetType();
    const int sourceType = source->GetType();
    const int sourceFace = source->GetFace();
    for (MjTile* tile : TilesOnGrid(_layout)) {
        if (tile->GetType() != targetType) {
            continue;
        }
        // Each tile's own face: tiles of one type may show different faces.
        _moves->AddChange(tile, source, targetType, tile->GetFace(), 0);
        FlyTypeChange(source, tile, sourceType, sourceFace);
    }
    _moves->EndGroup();
    LockBoardInput(false);
}

void MjClassic::Swap(MjTile* power, MjTile* a, MjTile* b)
{
    if (power == nullptr || a == nullptr || b == nullptr) {
        return;
    }
    ++_groupCounter;
    _moves->BeginGroup();
    MoveToTray(power, 1, 0, kPowerFlightMs);
    ClearTraySlot(2, kPowerFlightMs);
    ClearTraySlot(3, kPowerFlightMs);
    // The swap is recorded and the group closed when the two arrive (kSwapDone).
    a->MergeInto(b);
    LockBoardInput(false);
}

void MjClassic::Magnet(MjTile* power, MjTile* target)
{
    if (power == nullptr || target == nullptr) {
        return;
    }
    ++_groupCounter;
    _moves->BeginGroup();
    // The pull ends with kMagnetPulled, which sends the magnet to the tray and closes the group.
    target->MoveOnto(power);
    LockBoardInput(false);
    PlayCue("CFG_MAGNET", kCueRepeat);
}

void MjClassic::Fuse(MjTile* fuse, MjTile* brick)
{
    if (fuse == nullptr || brick == nullptr) {
        return;
    }
    _groupCounter += 2;
    _moves->BeginGroup();
    MoveToTray(fuse, 1, 0, kPowerFlightMs);
    if (_firecrackerSprite != nullptr) {
        _firecrackerSprite->Show();
        _firecrackerSprite->Move(fuse->GetX(), fuse->GetY(), true);
        _firecrackerSprite->Loop(kExplosionLoopSpeed);
        _firecrackerSprite->MoveTo(brick->GetX() + kExplosionOffsetX, brick->GetY(), kPowerFlightMs,
                                   false, kExplosionSpeed);
    }
    if (SpecialSheet(kBrickType) != nullptr) {
        // The brick burns through its overlay frames and reports kOverlayNearEnd and kOverlayEnded.
        brick->StartOverlayAnimation(fuse, _firecrackerSprite, kPowerFlightMs);
    } else {
        // A brick without burning frames would never report: it goes to the tray at once.
        brick->ChangeState(kOverlayEnded, kPowerFlightMs);
    }
    ClearTraySlot(3, kPowerFlightMs);
    LockBoardInput(false);
    PlayCue("CFG_SELECT", 0);
    PlayCue("CFG_FUSE", kCueRepeat);
    fuse->DrawOverlay(kFuseOverlayFrame);
}

void MjClassic::Typhoon(MjTile* power, MjTile* target)
{
    if (power == nullptr || target == nullptr || _layout == nullptr) {
        return;
    }
    _moves->BeginGroup();
    MoveToTray(power, 1, 0, kPowerFlightMs);
    const int type = target->GetType();
    int n = 0;
    for (MjTile* tile : TilesOnGrid(_layout)) {
        if (tile->GetType() == type) {
            MoveToTray(tile, 2, n, kPowerFlightMs + kTyphoonStaggerMs * n);
            ++n;
        }
    }
    _groupCounter += n + 1;
    _moves->EndGroup();
    LockBoardInput(false);
    PlayCue("CFG_SELECT", 0);
    PlayCue("CFG_TYPHOON", kCueRepeat);
}

void MjClassic::FlyTypeChange(MjTile* from, MjTile* tile, int type, int face)
{
    if (from == nullptr || tile == nullptr || _layout == nullptr) {
        return;
    }
    ImageResource* faces = _tileSets[_tileSetIndex].faceSheet;
    if (faces == nullptr || !faces->IsLoaded() || face < 0) {
        // No face to fly: the tile changes at once.
        tile->SetType(type);
        tile->SetFace(face);
        tile->ShowFace();
        return;
    }
    const int i = from->GridI();
    const int j = from->GridJ();
    const int k = from->GridK();
    MjTile* copy = nullptr;
    {
        // The sprite keeps a copy of the frame and draws from the face sheet.
        Image picture(faces, MjTileTypes::FaceColumn(face), MjTileTypes::FaceRow(face), 0);
        copy = new MjTile(this, _cast, &picture, _layout->CellX(i, j, k) + kCopyOffsetX,
                          _layout->CellY(i, j, k) + kCopyOffsetY, kCopyPriority, 0, 0, 0, i, j, k);
    }
    // A copy on its way is no board tile: presses and hovers go to the tiles below it.
    copy->AllowInput(false);
    copy->SetDropShadow(-kCopyShadow, kCopyShadow, Color(0, 0, 0, 255), kCopyShadowAlpha);
    copy->SetType(type);
    copy->SetFace(face);
    copy->MoveTo(_layout->CellX(tile->GridI(), tile->GridJ(), tile->GridK()) + kCopyOffsetX,
                 _layout->CellY(tile->GridI(), tile->GridJ(), tile->GridK()) + kCopyOffsetY,
                 kPowerFlightMs);
    copy->CopyToLater(tile, kPowerFlightMs);
}

void MjClassic::CheckNoMoves(bool force)
{
    const bool onlySpecials = _layout == nullptr || _layout->OnlySpecialsLeft();
    if (!onlySpecials && _freePairs != 0 && !force) {
        return;
    }
    _inPlay = 0;
    _matchState = 0;
    if (onlySpecials || force) {
        BoardCleared();
        return;
    }
    _inPlay = 0;
    MjGameScript* script = GameScript();
    if (script == nullptr) {
        return;
    }
    const char* section = !_quest ? "nzvnomoves" : _lives != 0 ? "zvnomoves" : "zvnomoveszero";
    script->ShowRadioDialog(section, MjGameScript::kNoMovesDialog, -1, -1);
}

void MjClassic::EffectTick()
{
    if (_layout == nullptr) {
        return;
    }
    if (_layout->EffectStep(_selected[0], _selected[1], _selected[2]) != 0) {
        if (_titleText != nullptr) {
            _titleText->ChangeState(kTrayEffectStep, kEffectStepMs);
        }
    } else if (_selected[0] != nullptr) {
        _selected[0]->ChangeState(kBesideArrived, kEffectEndMs);
    }
}

bool MjClassic::DealMarksCleared()
{
    if (_layout == nullptr || !_layout->HasSpecialCells()) {
        return false;
    }
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state == MjCell::kOrigin && cell.dealMark == kDealMarkPending) {
            return false;
        }
    }
    return true;
}

void MjClassic::ShowSpecialTileName(MjTile* tile, int x, int y)
{
    const char* name = tile != nullptr ? SpecialTileName(tile->GetType(), _puzzle) : nullptr;
    if (name == nullptr) {
        PlayCue("CFG_TILESNOTMATCHED", 0);
        return;
    }
    MjGameScript* script = GameScript();
    if (script != nullptr) {
        const int popupX = x < kNameRightOfPressBelowX ? x + kNameRightOffset : x + kNameLeftOffset;
        script->ShowPopup(name, MjGameScript::kTileNameDialog, 0, popupX, y + kNameAboveOffset);
    }
    PlayCue("CFG_SELECT", 0);
}

void MjClassic::ShowQuestPopup(const std::string& name, int x, int y)
{
    MjGameScript* script = GameScript();
    if (script != nullptr) {
        script->ShowPopup(name, kPausePopupId, 0, x, y);
    }
}
