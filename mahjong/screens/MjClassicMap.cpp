// MjClassic: the quest's progress map, its scenes between boards and its replay run.

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/core/TickSource.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/media/Music.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/GameTime.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <algorithm>
#include <cstdio>

namespace {

// The map rests off the right edge of the screen until it unrolls.
constexpr int kMapHomeX = 800;
constexpr int kStripWidth = 50;
constexpr int kRollOffset = 9;
constexpr int kRollPriority = 0;
constexpr int kStripPriority = 2;
constexpr int kMarkerPriority = 1;
constexpr int kMapTextPriority = 1;
constexpr int kBoardsPerRegion = 5;
// The step of the closing map at which its texts leave.
constexpr int kTextsLeaveStep = 3;
// Board set-up reasons: after the map, and a replay run's board.
constexpr int kAfterMapReason = 21;
constexpr int kReplayRunReason = 5;
// Scene fades of the intro, of a cleared board, and of a cleared board in the fast test.
constexpr int kIntroFadeMs = 1000;
constexpr int kSceneFadeMs = 500;
constexpr int kFastSceneFadeMs = 2;
constexpr int kLoaderPollMs = 30;

std::string Numbered(const char* format, int n)
{
    char text[64];
    std::snprintf(text, sizeof text, format, n);
    return text;
}

Point MapPoint(ConfigFile* file, const char* section, int n)
{
    if (file == nullptr) {
        return Point(0, 0);
    }
    return file->ValueAsPoint(section, Numbered("pos%d", n), Point(0, 0));
}

} // namespace

void MjClassic::BuildSpiritMap(int board)
{
    if (_spiritMapImage == nullptr) {
        _spiritMapImage = std::make_unique<Image>("images/spiritmap.jpg", nullptr);
        for (auto& image : _mapLevelImages) {
            image.reset();
        }
        for (auto& image : _mapStepImages) {
            image.reset();
        }
        // One frame: the roll's picture is drawn from the sheet itself, which the screen keeps
        // until after the roll has left the stage.
        _mapRollSheet = std::make_unique<ImageResource>("images/map_roll.png", 1, 1, nullptr);
        {
            Image roll(_mapRollSheet.get(), 0, 0, 0);
            _mapRollSprite =
                new MjTile(this, _cast, &roll, kMapHomeX, 0, kRollPriority, 1, 0, 0, 0, 0, 0);
            _mapRollSprite->UseTransparency(true);
        }
        // Each strip keeps a copy of its frame; ResetFrame copies it again after a blit.
        _spiritMapSheet =
            std::make_unique<ImageResource>("images/spiritmap.jpg", kMapSprites, 1, nullptr);
        for (int k = 0; k < kMapSprites; ++k) {
            Image strip(_spiritMapSheet.get(), k, 0, 0);
            _mapSprites[k] =
                new MjTile(this, _cast, &strip, kMapHomeX, 0, kStripPriority, 0, 0, 0, 0, 0, 0);
        }
    }
    if (board < 0) {
        return;
    }
    // The map has room for kMapLevelImages regions and kMapStepImages footsteps; a later board
    // shows the map as the last one that fits.
    const int groups = std::min(board / kBoardsPerRegion, kMapLevelImages);
    const int steps = std::min(board + 1, kMapStepImages);
    if (board + 1 > kMapStepImages) {
        DebugVar(-1, "Board %d lies past the map's last footstep; footstep %d shown", board,
                 kMapStepImages);
    }
    for (int n = 1; n <= groups; ++n) {
        if (_mapLevelImages[n - 1] == nullptr) {
            _mapLevelImages[n - 1] =
                std::make_unique<Image>(Numbered("images/map_level%d_color.jpg", n), nullptr);
        }
    }
    for (int n = 1; n <= groups; ++n) {
        const Point pos = MapPoint(_spiritMapFile.get(), "map", n);
        _spiritMapSheet->BlitInto(_mapLevelImages[n - 1].get(), pos.GetX(), pos.GetY());
    }
    for (int n = 1; n <= steps; ++n) {
        if (_mapStepImages[n - 1] == nullptr) {
            _mapStepImages[n - 1] =
                std::make_unique<Image>(Numbered("images/map_step0%d.gif", n), nullptr);
            _mapStepImages[n - 1]->UseTransparency(true, false);
        }
    }
    Point marker(0, 0);
    for (int n = 1; n <= steps; ++n) {
        const Point pos = MapPoint(_spiritMapFile.get(), "map_steps", n);
        if (n <= board) {
            _spiritMapSheet->BlitInto(_mapStepImages[n - 1].get(), pos.GetX(), pos.GetY());
        }
        marker = pos;
    }
    HandBack(_mapExtraSprite);
    auto* extra = new CastMemberImage(_cast, _mapStepImages[steps - 1].get(), marker.GetX(),
                                      marker.GetY(), kMarkerPriority, 0);
    extra->UseTransparency(true);
    extra->Hide();
    _mapExtraSprite = extra;
    for (CastMember* strip : _mapSprites) {
        if (auto* image = dynamic_cast<CastMemberImage*>(strip)) {
            image->ResetFrame();
        }
    }
}

void MjClassic::ShowMapTexts()
{
    // The map opens before the coming board: its best and holder are the record to beat there.
    const std::string section = MjPuzzleRules::SeedKey(_config->_type, _puzzle);
    const int high = ConfigInt(_highScoresFile.get(), "prevHighScore", section, 0);
    const std::string holder = ConfigText(_highScoresFile.get(), "achieved", section, "");
    for (MjTextLabel*& line : _infoLines) {
        HandBack(line);
    }
    const std::string name = _framework != nullptr ? _framework->GetPlayerName() : std::string();
    const std::string boardScore = FormatNumber(_boardScore);
    const std::string total = FormatNumber(_score);
    const std::string best = FormatNumber(high);
    const std::pair<const char*, std::string> lines[] = {{"MapName", name},
                                                         {"MapScore1", boardScore},
                                                         {"MapScore2", total},
                                                         {"MapScore3", best},
                                                         {"MapAchieved", holder}};
    int n = 0;
    for (const auto& line : lines) {
        MjTextLabel* label = MakeLabel(line.first, line.second, kMapTextPriority, -1, -1);
        label->SetNoShadow(true);
        label->Show();
        _infoLines[n++] = label;
    }
    if (_bonusLifeEarned != 0) {
        _infoLines[2]->ChangeState(MjTextLabel::kBonusBlink);
    }
}

void MjClassic::MapCloseStep()
{
    --_spiritStep;
    if (_mapExtraSprite != nullptr) {
        if (_mapRollSprite != nullptr) {
            _mapRollSprite->Show();
        }
        _mapExtraSprite->StopBlinking();
        HandBack(_mapExtraSprite);
    }
    const int index = _spiritStep;
    if (index < 0) {
        _spiritStep = 0;
        SetupBoard(kAfterMapReason, 0, kStartOpening, "");
        return;
    }
    if (index < kMapSprites && _mapSprites[index] != nullptr) {
        _mapSprites[index]->Move(kMapHomeX, 0, true);
    }
    if (index == 0) {
        if (_mapRollSprite != nullptr) {
            _mapRollSprite->Move(kMapHomeX, 0, true);
        }
        if (_livesText != nullptr) {
            _livesText->ChangeState(kMapCloseStep);
        }
        return;
    }
    if (index == kTextsLeaveStep) {
        for (MjTextLabel*& line : _infoLines) {
            HandBack(line);
        }
    }
    if (_mapRollSprite != nullptr) {
        _mapRollSprite->Move(kStripWidth * index - kRollOffset, 0, true);
    }
    if (_livesText != nullptr) {
        _livesText->ChangeState(kMapCloseStep, _spiritSpeed);
    }
}

bool MjClassic::WaitForSceneLoader(const char* where)
{
    MjGameScript* script = GameScript();
    if (script == nullptr) {
        return true;
    }
    const unsigned int start = TickSource::Now();
    while (script->GetAnimState() == MjGameScript::kAnimLoading) {
        if (TickSource::Now() - start >= static_cast<unsigned int>(kSceneLoaderWaitMs)) {
            // The loader keeps its animation; the scene goes on without it for now.
            DebugVar(-1, "%s: scene still loading after %d ms, going on without it", where,
                     kSceneLoaderWaitMs);
            return false;
        }
        SDL_Delay(kLoaderPollMs);
    }
    // An ended loader is freed before the caller uses its animation: freed by a later frame, it
    // would mark loaded again an animation the caller has cleaned up by then.
    script->ReapSceneLoader(true);
    return true;
}

void MjClassic::EndOfBoard(int /*code*/)
{
    if (Shared().sanity != 0) {
        return;
    }
    Music::Stop();
    HideBoardSprites();
    for (int slot = 1; slot <= 3; ++slot) {
        MjTile*& held = Shared().traySlots[slot];
        if (held != nullptr) {
            held->Hide();
            held = nullptr;
        }
    }
    if (_framework != nullptr) {
        _framework->HideCursor();
    }
    if (_fastTest != 0) {
        GameTime::SetTestSlow(1);
    }
    if (_scene == nullptr) {
        return;
    }
    if (_sceneLoading) {
        _scene->LoadFadeImages(0, kIntroFadeMs);
        return;
    }
    WaitForSceneLoader("EndOfBoard");
    _scene->LoadFadeImages(_puzzleNumber, _fastTest != 0 ? kFastSceneFadeMs : kSceneFadeMs);
}

bool MjClassic::QuestSceneStep()
{
    if (_puzzle != 0 || !_quest || _scene == nullptr) {
        return false;
    }
    MjGameScript* script = GameScript();
    if (WaitForSceneLoader("SceneStep") && script != nullptr &&
        script->GetAnimState() == MjGameScript::kAnimLoaded) {
        script->CleanUpAnimation(1);
        script->SetAnimState(MjGameScript::kAnimNone);
    }
    _scene->StartLoading(0);
    _sceneLoading = true;
    EndOfBoard(1);
    --_puzzle;
    return true;
}

void MjClassic::ReplayRunStep()
{
    SetupBoard(kReplayRunReason, 0, kStartOpening, "");
    if (_replayRun < _replayRunEnd && _puzzle <= _highestGameReached) {
        if (_layout != nullptr) {
            _layout->Clear();
        }
        EndOfBoard(2);
        ++_replayRun;
        return;
    }
    FadeInBoardButtons();
    _puzzle = _replayRunStart;
    ShowSelectionScreen(0);
    _replayRun = -2;
}

void MjClassic::SceneBackgroundReady(Image* picture)
{
    MjGameScript* script = GameScript();
    if (script == nullptr) {
        delete picture;
        return;
    }
    script->ReplaceBackground(picture);
}
