// MjClassic: tile presses, selection, matching into the tray and the score of a match.

#include "framework/core/ConfigFile.h"
#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "mahjong/screen/MjPointsPopup.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;
// Power classes: which targets the selected power accepts.
constexpr int kAnyFreeTarget = -1;
constexpr int kAnyTarget = 0;
constexpr int kFreeTarget = 1;
constexpr int kCoveredTarget = 2;
constexpr int kFirstPowerType = MjTileTypes::kDownType;
constexpr int kTrayMs = 500;
constexpr int kTrayPriority = 20;
constexpr int kSameTypeBonus = 25;
constexpr int kBonusPopupDX = -40;
constexpr int kBonusPopupDY = -60;
constexpr int kElapsedMs = 1000;
constexpr int kBlinkRateMs = 100;
constexpr int kQuestBlinkMs = 500;
constexpr int kExtraLifeMatches = 5;
constexpr int kYinYangOkMatches = 25;
constexpr int kHonourPoints = 1000;
constexpr int kOrdinaryPoints = 50;
constexpr int kSpecialPoints = 250;
constexpr int kTrayTopOffset = 4;
constexpr int kTrayLeftOffset = 2;

// Shown once per program run.
bool s_bonusMessageShown = false;

const char* PowerCue(int type)
{
    switch (type) {
    case MjClassic::kDownType:
        return "CFG_DOWN";
    case MjClassic::kUpType:
        return "CFG_UP";
    case MjClassic::kFuseType:
        return "CFG_FUSE";
    case MjClassic::kCloneType:
        return "CFG_CLONE";
    case MjClassic::kTyphoonType:
        return "CFG_TYPHOON";
    case MjClassic::kSwapperType:
        return "CFG_SWAPPER";
    case MjClassic::kWandType:
        return "CFG_MAGICWAND";
    case MjClassic::kMagnetType:
        return "CFG_MAGNET";
    default:
        return nullptr;
    }
}

int PowerClass(int selectedType)
{
    switch (selectedType) {
    case MjClassic::kDeepMagnetType:
        return kCoveredTarget;
    case MjClassic::kSwapperType:
    case MjClassic::kMagnetType:
        return kAnyTarget;
    case MjClassic::kDownType:
    case MjClassic::kUpType:
    case MjClassic::kCloneType:
    case MjClassic::kTyphoonType:
    case MjClassic::kWandType:
        return kFreeTarget;
    default:
        return kAnyFreeTarget;
    }
}

} // namespace

int MjClassic::MatchSize() const
{
    // The set-up turns any other value into pairs; a grid-less screen makes pairs too.
    return _rules.matchSize == 3 ? 3 : 2;
}

void MjClassic::RefuseTile()
{
    PlayCue("CFG_TILESNOTMATCHED", 0);
}

void MjClassic::StartBoardClock()
{
    if (_timerResource != nullptr) {
        if (_matchesLeftText != nullptr) {
            _matchesLeftText->ChangeState(kClockStep, _rules.time);
        }
        _timerValues[0] = kTimerSteps;
        if (_quest) {
            for (int n = 1; n <= 2; ++n) {
                if (_timerSprites[n] != nullptr) {
                    _timerSprites[n]->Show();
                }
            }
        }
    }
    if (_config->_type == kTimedType && _titleText2 != nullptr) {
        _titleText2->ChangeState(kElapsedSecond, kElapsedMs);
    }
}

void MjClassic::TileMouseDown(MjTile* tile, int button, int x, int y)
{
    if (tile == nullptr) {
        return;
    }
    if (tile->GetKind() == kModeTileKind) {
        if (_pageReady != 0 && !_quest) {
            const int current = _playMode + 1;
            if (current >= 0 && current < kModeTiles && _modeTiles[current] != nullptr) {
                _modeTiles[current]->SetFrame(current, 0);
            }
            _playMode = tile->GridI() - 1;
            tile->SetFrame(tile->GridI(), 2);
            PlayCue("CFG_SELECT", 0);
        }
        return;
    }
    for (CastMember* strip : _mapSprites) {
        if (strip != nullptr && strip == static_cast<CastMember*>(tile)) {
            PlayCue("CFG_OPENINGSCROLL", 0);
            if (_livesText != nullptr) {
                _livesText->ChangeState(kMapCloseStep);
            }
            return;
        }
    }
    if ((_inPlay == 0 && _matchState == 0) || _layout == nullptr) {
        return;
    }
    if (button == kRightButton) {
        if (_cheatMode == 0) {
            ShowSpecialTileName(tile, x, y);
            return;
        }
        if (_rightPressSelect == 0) {
            return;
        }
    }
    if (_firstPressDone == 0) {
        StartBoardClock();
        _firstPressDone = 1;
    }
    MjTile* power = _selected[0];
    if (power != nullptr && tile == power && power->GetType() > kGoldYinYangType) {
        PlayCue("stop", kCueStop);
        PlayCue("CFG_SELECT", 0);
        ClearSelection(true);
        _selectedCount = 0;
        return;
    }
    const int selectedType = power != nullptr ? power->GetType() : -1;
    const int powerClass = power != nullptr ? PowerClass(selectedType) : kAnyFreeTarget;
    const int targetType = tile->GetType();
    const int i = tile->GridI(), j = tile->GridJ(), k = tile->GridK();
    const int freeState = _layout->FreeState(i, j, k);
    const bool covered = _layout->IsFullyCovered(i, j, k);

    if (targetType == kBrickType) {
        if (selectedType == kFuseType && freeState != MjLayout::kCoveredAbove) {
            Fuse(power, tile);
        } else {
            RefuseTile();
        }
        return;
    }
    if (freeState != MjLayout::kFree &&
        (powerClass == kFreeTarget || powerClass == kAnyFreeTarget)) {
        RefuseTile();
        return;
    }
    if ((powerClass == kCoveredTarget && !covered) || (covered && powerClass != kCoveredTarget)) {
        RefuseTile();
        return;
    }
    if (power != nullptr && DispatchPower(power, tile, button)) {
        return;
    }
    if (selectedType > MjTile::kYinYang && targetType == selectedType &&
        targetType != kPlainSpecialType) {
        Reselect(tile);
        return;
    }
    if (tile->GetKind() == kCursorTileKind) {
        DebugVar(-1, "SHOULD NEVER HAPPEN QUIL");
        ClearSelection(true);
        return;
    }
    const int size = MatchSize();
    bool alreadySelected = false;
    for (int n = 0; n < size; ++n) {
        alreadySelected = alreadySelected || _selected[n] == tile;
    }
    if (alreadySelected &&
        (targetType == kFuseType || targetType == kTyphoonType || targetType == kMagnetType)) {
        PlayCue("stop", kCueStop);
        PlayCue("CFG_SELECT", 0);
        EndSelection();
        return;
    }
    if (_selected[0] == nullptr) {
        Reselect(tile);
        return;
    }
    if (alreadySelected) {
        if (button == kLeftButton) {
            if (_selected[size - 1] != nullptr) {
                MakeMatch(tile);
            } else {
                PlayCue("stop", kCueStop);
                PlayCue("CFG_SELECT", 0);
                EndSelection();
            }
            return;
        }
        if (button == kRightButton) {
            if (size == 2) {
                if (_selected[1] != nullptr) {
                    _selected[1]->ResetFrame();
                    RestoreTileLook(_selected[1]);
                }
                MjGridTile* next = nullptr;
                _layout->NextMatchFor(_selected[0], &next);
                _selected[1] = static_cast<MjTile*>(next);
                if (_selected[1] != nullptr && _highlightImage != nullptr) {
                    _selected[1]->BlitInto(_highlightImage, _settings->tileBorder + 1, 1);
                }
            }
            return;
        }
    }
    if (_selected[0]->GetType() == targetType && _selectedCount == size - 1) {
        if (_playMode == 3) {
            tile->ShowFace();
        }
        _selected[_selectedCount] = tile;
        MakeMatch(tile);
    } else if (_selected[0]->GetType() == targetType) {
        SelectTile(tile);
    } else {
        Reselect(tile);
    }
}

bool MjClassic::DispatchPower(MjTile* power, MjTile* target, int /*button*/)
{
    const int type = power->GetType();
    const int targetType = target->GetType();
    const bool ordinary = targetType < MjTile::kYinYang;
    switch (type) {
    case kTyphoonType:
        if (ordinary) {
            Typhoon(power, target);
            return true;
        }
        return false;
    case kMagnetType:
    case kDeepMagnetType:
        if (ordinary) {
            Magnet(power, target);
            return true;
        }
        return false;
    case kDownType:
    case kUpType:
    case kWandType:
        if (!MjTileTypes::IsSuited(targetType) || !RankPower(power, target)) {
            Reselect(target);
        }
        return true;
    case kCloneType:
    case kSwapperType:
        if (!ordinary) {
            return false;
        }
        if (_selected[1] != nullptr) {
            if (_selected[1]->GetType() == targetType) {
                Reselect(target);
            } else if (type == kCloneType) {
                Clone(power, _selected[1], target);
            } else {
                Swap(power, _selected[1], target);
            }
        } else if (_selectedCount == 1) {
            SelectTile(target);
        } else {
            DebugVar(-1, "Should Never Happen in On Mouse Up %d", _selectedCount);
        }
        return true;
    default:
        return false;
    }
}

void MjClassic::MakeMatch(MjTile* target)
{
    const int size = MatchSize();
    const bool yinYang = target->GetType() == MjTile::kYinYang;
    if (yinYang && _quest) {
        CheckNoMoves(true);
        return;
    }
    _lastTile = _selected[size - 1];
    SortSelection(0, 1);
    if (size == 3) {
        SortSelection(1, 2);
        SortSelection(0, 1);
    }
    ++_matchCounter;
    if (size == 3) {
        MatchTriple(_selected[0], _selected[1], _selected[2]);
    } else {
        MatchPair(_selected[0], _selected[1]);
    }
    if (yinYang) {
        _yinYangMatched = 1;
    }
    EndSelection();
    AfterMatch();
}

void MjClassic::AfterMatch()
{
    if (_matchCounter == kExtraLifeMatches && Shared().savedBoard == -1) {
        _extraLives = 0;
    }
    if (!_quest) {
        return;
    }
    if (_matchCounter == kYinYangOkMatches && _puzzle == 0) {
        ShowQuestPopup("YinYangOk", 20, 192);
        BlinkTilesOfType(MjTile::kYinYang, 2, kQuestBlinkMs);
    }
    if (_puzzle == 1 && !s_bonusMessageShown && AllYinYangFree()) {
        s_bonusMessageShown = true;
        ShowQuestPopup("BonusMessage", 52, 197);
        BlinkTilesOfType(MjTile::kYinYang, 2, kQuestBlinkMs);
    }
}

void MjClassic::TileMouseOver(MjTile* tile, int x, int y, bool entering)
{
    if (tile == nullptr) {
        return;
    }
    if (tile->GetKind() == kModeTileKind) {
        if (_pageReady != 0) {
            ShowModeText(tile, entering, x, y);
        }
        return;
    }
    if (_playMode == 0 || _playMode == 1 || _playMode == 2 || !tile->IsActive()) {
        return;
    }
    for (MjTile* selected : _selected) {
        if (selected == tile) {
            return;
        }
    }
    if (_playMode == 3 && _selected[0] != nullptr) {
        return;
    }
    if (entering) {
        const int face = tile->GetFace();
        tile->SetFrame(MjTileTypes::FaceColumn(face), MjTileTypes::FaceRow(face));
        tile->ChangeState(MjTile::kOpaque);
    } else {
        RestoreTileLook(tile);
    }
}

void MjClassic::SelectTile(MjTile* tile)
{
    if (tile == nullptr || _selectedCount < 0 || _selectedCount >= kSelectionSlots) {
        return;
    }
    if (_playMode == 3) {
        tile->ShowFace();
    }
    _selected[_selectedCount++] = tile;
    const int type = tile->GetType();
    if (type >= kFirstPowerType && SpecialSheet(type) != nullptr) {
        if (const char* cue = PowerCue(type)) {
            PlayCue(cue, kCueRepeat);
        }
        tile->ChangeState(MjTile::kOverlayLoop);
        return;
    }
    if (_selected[0]->GetType() < kFirstPowerType) {
        PlayCue("stop", kCueStop);
        PlayCue("CFG_SELECT", 0);
    }
    if (type == MjTile::kYinYang && _quest) {
        tile->ChangeState(MjTile::kOverlayLoop);
        return;
    }
    const MjTileSet& set = _tileSets[_tileSetIndex];
    if (_puzzleTileSet == 0) {
        if (_darkTilesImage != nullptr) {
            const int face = tile->GetFace();
            _darkTilesImage->SetFrame(MjTileTypes::FaceColumn(face), MjTileTypes::FaceRow(face));
            tile->BlitInto(_darkTilesImage, set.posX, set.posY);
        }
    } else if (_highlightImage != nullptr) {
        tile->BlitInto(_highlightImage, _settings->tileBorder + 1, 1);
    }
}

void MjClassic::Reselect(MjTile* tile)
{
    const bool free = _layout != nullptr && _layout->FreeState(tile->GridI(), tile->GridJ(),
                                                               tile->GridK()) == MjLayout::kFree;
    ClearSelection(true);
    _selectedCount = 0;
    if (!free) {
        RefuseTile();
        return;
    }
    SelectTile(tile);
}

void MjClassic::EndSelection()
{
    ClearSelection(true);
    RefreshFreeCount();
}

void MjClassic::SortSelection(int a, int b)
{
    if (_selected[a] != nullptr && _selected[b] != nullptr &&
        _selected[a]->GridI() > _selected[b]->GridI()) {
        std::swap(_selected[a], _selected[b]);
    }
}

void MjClassic::MatchPair(MjTile* a, MjTile* b)
{
    _groupCounter += 2;
    _moves->BeginGroup();
    ScoreMatch(_lastTile);
    MoveToTray(a, 1, 0, kTrayMs);
    MoveToTray(b, 2, 0, kTrayMs);
    _moves->EndGroup();
    LockBoardInput(true);
    _matchState = 1;
}

void MjClassic::MatchTriple(MjTile* a, MjTile* b, MjTile* c)
{
    _groupCounter += 3;
    _moves->BeginGroup();
    ScoreMatch(_lastTile);
    MoveToTray(a, 1, 0, kTrayMs);
    MoveToTray(b, 2, 0, kTrayMs);
    MoveToTray(c, 3, 0, kTrayMs);
    _moves->EndGroup();
    LockBoardInput(true);
    _matchState = 1;
}

void MjClassic::MoveToTray(MjTile* tile, int slot, int /*order*/, int ms)
{
    if (tile == nullptr || slot < 1 || slot > 3) {
        return;
    }
    const Point pos = _config->ValueAsPoint("UndoTiles", "pos", Point(0, 0));
    const int space = ConfigInt(_config, "UndoTiles", "space", 0);
    const int x = pos.GetX() + kTrayLeftOffset + (slot - 1) * space;
    const int y = pos.GetY() - kTrayTopOffset;
    ClearTraySlot(slot, ms);
    Shared().traySlots[slot] = tile;
    if (_layout != nullptr) {
        _layout->EmptyQuad(tile->GridI(), tile->GridJ(), tile->GridK());
    }
    tile->AllowInput(false);
    tile->SetActive(false);
    tile->ListenForMove(this);
    tile->FlyTo(x, y, ms);
    _moves->AddToTray(tile);
    tile->SetPriority(kTrayPriority);
    _offGridTiles.push_back(tile);
}

void MjClassic::ClearTraySlot(int slot, int ms)
{
    if (slot < 1 || slot > 3) {
        return;
    }
    MjTile*& held = Shared().traySlots[slot];
    if (held != nullptr) {
        _moves->AddPair(held, slot);
        held->HideLater(ms);
        held = nullptr;
    } else {
        _moves->AddValue8(slot);
    }
}

void MjClassic::ShowPoints(const std::string& text, int x, int y)
{
    if (_cast != nullptr && _pointsLook != nullptr) {
        // The popup deletes itself when its drift ends.
        new MjPointsPopup(_pointsLook, _cast, text, x, y);
    }
}

void MjClassic::ScoreMatch(MjTile* last)
{
    if (last == nullptr) {
        return;
    }
    if (_config->_type == 0 && _timerValues[1] == 0) {
        PlayCue("CFG_SELECT", 0);
        return;
    }
    int points = MatchValue(last->GetType());
    MjTile* previous = Shared().traySlots[1];
    const bool bonus = previous != nullptr && previous->GetType() == last->GetType();
    const bool withPoints = _config->_type != kTimedType;
    char text[32];
    if (withPoints) {
        std::snprintf(text, sizeof text, "%d", points);
        ShowPoints(text, last->GetX(), last->GetY());
    }
    if (bonus) {
        if (withPoints) {
            std::snprintf(text, sizeof text, "+++%d+++", kSameTypeBonus);
            ShowPoints(text, last->GetX() + kBonusPopupDX, last->GetY() + kBonusPopupDY);
        }
        points += kSameTypeBonus;
        PlayCue("CFG_QUAD", 0);
    } else {
        PlayCue("CFG_TILESMATCHED", 0);
    }
    _moves->AddScore(withPoints ? points : 0);
    if (withPoints) {
        AddToScore(points);
    }
}

int MjClassic::TilePoints(int type)
{
    if (type >= kFirstHonourType && type <= MjTileTypes::kLastBonusType) {
        return kHonourPoints;
    }
    return type < MjTile::kYinYang ? kOrdinaryPoints : kSpecialPoints;
}

bool MjClassic::CanTrayTileMatch(MjTile* tile)
{
    if (tile == nullptr || Shared().faceHiding == 0 || tile->GetType() >= MjTile::kYinYang ||
        !tile->IsActive()) {
        return false;
    }
    const int size = MatchSize();
    for (int n = 0; n < size; ++n) {
        if (_selected[n] == tile ||
            (_selected[n] != nullptr && _selected[n]->GetType() == tile->GetType())) {
            return false;
        }
    }
    return true;
}

void MjClassic::BlinkTilesOfType(int type, int maxCount, int times)
{
    if (_layout == nullptr) {
        return;
    }
    int count = 0;
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state != MjCell::kOrigin || cell.tile == nullptr) {
            continue;
        }
        CastMember* sprite = cell.tile->Member();
        if (type == -1) {
            sprite->StopBlinking();
            continue;
        }
        if (cell.tile->GetType() != type) {
            continue;
        }
        sprite->Blink(times, kBlinkRateMs);
        if (++count == maxCount) {
            return;
        }
    }
}

bool MjClassic::AllYinYangFree()
{
    if (_layout == nullptr) {
        return true;
    }
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state == MjCell::kOrigin && cell.tile != nullptr &&
            cell.tile->GetType() == MjTile::kYinYang &&
            _layout->FreeState(i, j, k) != MjLayout::kFree) {
            return false;
        }
    }
    return true;
}

void MjClassic::LockBoardInput(bool resetPowers)
{
    _inPlay = 0;
    _matchState = 0;
    ClearSelection(resetPowers);
    if (_buttonLock != 0) {
        HideButtons();
    }
}

void MjClassic::ForgetOffGridTile(MjTile* tile)
{
    auto at = std::find(_offGridTiles.begin(), _offGridTiles.end(), tile);
    if (at != _offGridTiles.end()) {
        _offGridTiles.erase(at);
    }
}

void MjClassic::LeaveOffGridTiles()
{
    // A tile still flying would report its landing to this screen: it hears nothing more and
    // leaves with the board.
    MjTile** tray = Shared().traySlots;
    _offGridTiles.insert(_offGridTiles.end(), tray, tray + MjClassicShared::kTraySlots);
    for (MjTile* tile : _offGridTiles) {
        if (tile != nullptr && _cast != nullptr && _cast->Contains(tile)) {
            tile->SetCueListener(nullptr);
            tile->Leave();
        }
    }
    _offGridTiles.clear();
    for (int n = 0; n < MjClassicShared::kTraySlots; ++n) {
        tray[n] = nullptr;
    }
    for (MjTile*& selected : _selected) {
        selected = nullptr;
    }
    _selectedCount = 0;
    _lastTile = nullptr;
    _groupCounter = 0;
}
