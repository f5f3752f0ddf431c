// The automated player's quest run, for the Xvfb test (auto_player_quest.sh). Run in a copy of
// the game's data folder with a new player (no progress file), it plays the shipped game: it
// skips the program's splash with a key and presses the menu's quest button; the intro plays
// (its fade series, then its animation with the subtitle); board 0 opens over its scene; it
// plays board 0 by presses until the Yin-Yang pair may be matched and matches it, which sends
// the bonus tiles into the case and records the board; the cut-scene plays; the map unrolls
// with its texts; a press on the map closes it and board 1 opens.
//
// With "skip" as second argument the run is the short one: once the intro's animation plays, a
// key ends it and board 0 opens long before the animation would have ended.
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "ok: ..." or "FAIL: ..." for each check, "record KEY VALUE" for the
// script, and "run passed" or "run failed". The exit code is 0 only for a passed run.
//
// Usage: auto_player_quest OUT_FOLDER [skip]
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/ImageResource.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/shell/SpriteRunnerConfigFile.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "framework/stage/CastMemberText.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjPointsPopup.h"
#include "tests/xvfb/AutoPlayerGame.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr const char* kPlayerName = "Quinn Auto";
// The game clock runs this many times faster than real time.
constexpr unsigned int kClockSpeed = 4;
// The whole run, in real milliseconds; the script's own limit is above it.
constexpr unsigned int kRunLimitMs = 150000;
constexpr int kQuestButton = 3; // the menu's third start button: the quest
// A dialog or a board is looked at once its fade-in is surely over (game milliseconds).
constexpr unsigned int kSettleMs = 900;
// The Yin-Yang pair may be matched from this many matches on (board 0 says so in a popup).
constexpr int kYinYangMatches = 25;
// Real milliseconds a pressed Yin-Yang tile is given to show as selected.
constexpr unsigned int kYinYangAnswerMs = 1200;
// Board 1's pair is free from the start: its popup says so after the first match.
constexpr int kBonusMessageMatches = 1;
// The sweep pays 1000 points for honours of these types.
constexpr int kFirstThousandType = 27;
constexpr int kLastThousandType = 29;
// The case animation: its steps, the one that records the board, the case's open frame.
constexpr int kCaseSteps = 20;
constexpr int kRecordStep = 12;
constexpr int kCaseOpenFrame = 2;
constexpr int kMapStrips = 16;
// The map's footsteps checked, and the size of a footstep's picture.
constexpr int kMapFootsteps = 11;
constexpr int kFootstepSize = 24;
constexpr int kNewPlayerLives = 5;

class QuestRun final : public AutoPlayerGame
{
public:
    QuestRun(const std::string& out, bool skipRun) : AutoPlayerGame(out, kRunLimitMs, kSettleMs)
    {
        if (skipRun) {
            AddSkipSteps();
        } else {
            AddSteps();
        }
    }

private:
    bool Menu()
    {
        if (!StartFromMenu(kQuestButton)) {
            return false;
        }
        return _player.Check(Screen()->_quest, "the third start button starts the quest");
    }

    // The intro's fade series: the scene's layers come in before its animation starts.
    bool IntroFades()
    {
        MjClassic& screen = *Screen();
        if (Animating()) {
            _player.Fail("the intro's animation began before its fade series was seen");
            return false;
        }
        if (screen._scene == nullptr || ScriptState() != MjGameScript::kPendingAnimationState) {
            return false;
        }
        // The series has ended: its last picture stands until the animation starts.
        _player.Check(screen._puzzle == -1, "the intro plays before board 0 (board " +
                                                std::to_string(screen._puzzle) + ")");
        _player.Shot("quest-intro-fades");
        return true;
    }

    bool IntroAnimation(const char* shot)
    {
        if (!Animating()) {
            return false;
        }
        const int frames = AnimationFrames();
        CastMemberText* subtitle = Script()->GetSubtitle();
        if (subtitle != nullptr && subtitle->IsVisible() && !subtitle->GetText().empty()) {
            _subtitle = subtitle->GetText();
        }
        // Mid-way through, once the story's first line is up.
        if (Script()->GetFrameCounter() < frames / 2 && _subtitle.empty()) {
            return false;
        }
        _player.Check(frames > 0, "the intro has an animation of " + std::to_string(frames) +
                                      " frames (\"" + Script()->GetDescription()->GetFileName() +
                                      "\")");
        _player.Check(!Script()->GetSprites().empty(),
                      "the animation shows " + std::to_string(Script()->GetSprites().size()) +
                          " sprites");
        _player.Shot(shot);
        return true;
    }

    bool Board0Open()
    {
        MjClassic& screen = *Screen();
        if (!BoardOpen(screen)) {
            return false;
        }
        _player.Check(!_subtitle.empty(), "the intro showed its subtitle \"" + _subtitle + "\"");
        _player.Check(screen._puzzle == 0, "board 0 opens after the intro");
        _tilesAtStart = AutoPlayer::GridCopy(screen, nullptr).size();
        _player.Check(_tilesAtStart > 0, std::to_string(_tilesAtStart) + " tiles on board 0");
        _player.Check(Script()->GetBackground() != nullptr, "board 0 lies over its scene");
        _player.Check(screen._lives == kNewPlayerLives - 1,
                      "the case opening took one of a new player's " +
                          std::to_string(kNewPlayerLives) + " lives (" +
                          std::to_string(screen._lives) + " left)");
        _player.Shot("board-quest-0");
        return true;
    }

    // A popup the quest shows during play is read and closed by its first button.
    bool AnswerPopup()
    {
        const int open = _player.OpenDialogId();
        CastMemberDialog* dialog = _player.OpenDialog(open);
        if (open == 0) {
            _popupSeenMs = 0;
            _popupPressed = false;
            return false;
        }
        if (_popupSeenMs == 0) {
            _popupSeenMs = AutoPlayer::GameMs();
            AutoPlayer::Say("popup " + std::to_string(open));
        }
        // Pressed once: it is given time to close.
        if (_popupPressed || _player.Busy() || AutoPlayer::GameMs() - _popupSeenMs < kSettleMs) {
            return true;
        }
        if (dialog == nullptr || dialog->GetButtons().empty()) {
            _player.Fail("dialog " + std::to_string(open) + " opened in play with no button");
            return true;
        }
        if (!_popupShot) {
            _popupShot = true;
            _player.Shot(_popupShotName);
        }
        _player.PressDialogItem(dialog, dialog->GetButtons().front()->GetID());
        _popupPressed = true;
        ++_popupsAnswered;
        return true;
    }

    // The Yin-Yang tiles still on the grid.
    static std::vector<MjTile*> YinYangTiles(MjClassic& screen)
    {
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        std::vector<MjTile*> found;
        for (MjTile* tile : sprites) {
            if (tile->GetType() == MjTile::kYinYang) {
                found.push_back(tile);
            }
        }
        return found;
    }

    // Plays the board until its Yin-Yang pair may be matched, then presses the pair: from
    // `matches` matches on, once the board's popup has said so and once both tiles are free.
    bool ClearToYinYang(int matches)
    {
        MjClassic& screen = *Screen();
        WatchPointPopups();
        if (screen._inPlay == 0 && _yinYangPressed == 2) {
            return true; // the board has ended: the finish runs
        }
        if (AnswerPopup() || _player.Busy()) {
            return false;
        }
        const std::vector<MjTile*> yinYang = YinYangTiles(screen);
        // The pair lies inside the board: both must have come free.
        const bool bothFree =
            screen._layout != nullptr &&
            std::all_of(yinYang.begin(), yinYang.end(), [&screen](MjTile* t) {
                return screen._layout->FreeState(t->GridI(), t->GridJ(), t->GridK()) == 0;
            });
        if (_tryYinYang && yinYang.size() == 2 && bothFree && screen._inPlay != 0 &&
            !AutoPlayer::TilesMoving(screen)) {
            const auto selected = [&screen](MjTile* t) {
                return std::find(std::begin(screen._selected), std::end(screen._selected), t) !=
                       std::end(screen._selected);
            };
            if (_yinYangPressed == 0) {
                _player.PressSprite(yinYang[0]);
                _yinYangPressed = 1;
                _yinYangPressMs = _player.StepMs();
                return false;
            }
            if (_yinYangPressed == 1) {
                if (selected(yinYang[0])) {
                    _player.Shot("board-quest-" + std::to_string(screen._puzzle) +
                                 "-yinyang-selected");
                    _matchesAtFinish = _moves;
                    _sweepExpected = SweepPoints(screen);
                    _sweepSeen.clear();
                    _player.PressSprite(yinYang[1]);
                    _yinYangPressed = 2;
                    return false;
                }
                if (_player.StepMs() - _yinYangPressMs < kYinYangAnswerMs) {
                    return false;
                }
                // Not free yet: one more ordinary move, then again.
                _tryYinYang = false;
                _yinYangPressed = 0;
            }
        }
        if (_yinYangPressed == 2) {
            return false;
        }
        _player.PlayBoard(screen, [this, matches](int moves) {
            _moves = moves;
            _tryYinYang = moves >= matches && _popupsAnswered > 0;
        });
        return false;
    }

    // The board's next Yin-Yang finish starts afresh: the planner's count, the popup, the pair.
    void StartBoard(const std::string& popupShot)
    {
        _player.ForgetBoard();
        _moves = 0;
        _tryYinYang = false;
        _yinYangPressed = 0;
        _popupShot = false;
        _popupShotName = popupShot;
        _popupsAnswered = 0;
    }

    // The bonus tiles fly into the case; the board is recorded on the way.
    bool BonusTiles()
    {
        MjClassic& screen = *Screen();
        if (screen._bonusTilesFlying > 0 && !_bonusShot) {
            if (_bonusSeenMs == 0) {
                _bonusSeenMs = AutoPlayer::GameMs();
                _bonusCount = screen._bonusTilesFlying;
            }
            // Mid-flight.
            if (AutoPlayer::GameMs() - _bonusSeenMs >= 400) {
                _player.Shot("quest-bonus-tiles");
                _bonusShot = true;
            }
            return false;
        }
        if (screen._bonusTilesFlying > 0) {
            return false;
        }
        _player.Check(_bonusShot,
                      "the bonus tiles flew (" + std::to_string(_bonusCount) + ") into the case");
        _player.Check(screen._highestGameReached == 0,
                      "board 0 is recorded as reached (" +
                          std::to_string(screen._highestGameReached) + ")");
        const std::vector<MjTile*> yinYang = YinYangTiles(screen);
        _player.Check(
            std::none_of(yinYang.begin(), yinYang.end(), [](MjTile* t) { return t->IsVisible(); }),
            "the Yin-Yang pair left the board");
        _livesAfterBoard0 = screen._lives;
        _player.Check(_livesAfterBoard0 == kNewPlayerLives - 1,
                      "clearing board 0 keeps the lives (" + std::to_string(_livesAfterBoard0) +
                          ")");
        return true;
    }

    // The points popups on the stage: each new one's text is kept in _sweepSeen. A popup
    // drifts up and to the right from where it appeared, so a popup met again lower or further
    // left is a new one in the memory of one that has gone.
    void WatchPointPopups()
    {
        std::map<CastMember*, SeenPopup> now;
        for (CastMember* member : _player.GetCast()->GetCastMembers()) {
            auto* popup = dynamic_cast<MjPointsPopup*>(member);
            if (popup == nullptr) {
                continue;
            }
            const SeenPopup seen{popup->GetText(), popup->GetX(), popup->GetY()};
            const auto was = _livePopups.find(member);
            if (was == _livePopups.end() || was->second.text != seen.text ||
                seen.y > was->second.y || seen.x < was->second.x) {
                _sweepSeen.push_back(seen.text);
            }
            now[member] = seen;
        }
        _livePopups.swap(now);
    }

    // The points the sweep gives for the tiles on the grid beside the Yin-Yang pair, by kind:
    // an honour of the first three kinds 1000, any other tile below the Yin-Yang type 50, a
    // special tile 250.
    static std::vector<std::string> SweepPoints(MjClassic& screen)
    {
        std::vector<std::string> points;
        for (const PlanTile& tile : AutoPlayer::GridCopy(screen, nullptr)) {
            if (tile.type == MjTile::kYinYang) {
                continue;
            }
            const bool honour = tile.type >= kFirstThousandType && tile.type <= kLastThousandType;
            points.push_back(honour ? "1000" : tile.type < MjTile::kYinYang ? "50" : "250");
        }
        std::sort(points.begin(), points.end());
        return points;
    }

    // The highest value among the popups the sweep is expected to show.
    std::string TopSweepValue() const
    {
        for (const char* value : {"1000", "250", "50"}) {
            if (std::count(_sweepExpected.begin(), _sweepExpected.end(), value) > 0) {
                return value;
            }
        }
        return "50";
    }

    static int Sum(const std::vector<std::string>& points)
    {
        int sum = 0;
        for (const std::string& p : points) {
            sum += std::atoi(p.c_str());
        }
        return sum;
    }

    // The tray sweep of a later board: the Yin-Yang pair rises, the rest of the board gathers
    // beside it with a points popup per tile, until the pair starts its way into the case.
    bool TraySweep()
    {
        MjClassic& screen = *Screen();
        if (!_sweepStarted) {
            _sweepStarted = true;
            _boardScoreBeforeSweep = screen._boardScore;
        }
        WatchPointPopups();
        // The shot shows a popup of the highest value the board left (1000 where an honour of
        // the first three kinds is left, as the route the planner takes decides).
        const std::string top = TopSweepValue();
        const bool topUp = std::any_of(_livePopups.begin(), _livePopups.end(),
                                       [&top](const auto& p) { return p.second.text == top; });
        if (!_sweepShot && topUp) {
            _sweepShot = true;
            _player.Shot("quest-sweep");
        }
        if (screen._endAnimationStep == 0) {
            return false;
        }
        std::vector<std::string> seen = _sweepSeen;
        std::sort(seen.begin(), seen.end());
        const auto shown = [&seen](const char* value) {
            return std::count(seen.begin(), seen.end(), value);
        };
        const auto expected = [this](const char* value) {
            return std::count(_sweepExpected.begin(), _sweepExpected.end(), value);
        };
        _player.Check(seen == _sweepExpected,
                      "the sweep shows a popup per tile left: " + std::to_string(seen.size()) +
                          " seen, " + std::to_string(_sweepExpected.size()) + " expected");
        for (const char* value : {"50", "250", "1000"}) {
            if (expected(value) == 0) {
                AutoPlayer::Say("note: no tile of " + std::string(value) +
                                " points was left on board " + std::to_string(screen._puzzle) +
                                " for the sweep");
                continue;
            }
            _player.Check(shown(value) == expected(value), "the sweep shows " + std::string(value) +
                                                               " " + std::to_string(shown(value)) +
                                                               " times, for as many tiles");
        }
        _player.Check(_sweepShot, "a " + top + " points popup was on the screen");
        const int gained = screen._boardScore - _boardScoreBeforeSweep;
        _player.Check(gained == Sum(_sweepSeen), "the board's score grew by " +
                                                     std::to_string(gained) +
                                                     ", the sum of the popups seen");
        const size_t left = AutoPlayer::GridCopy(screen, nullptr).size();
        _player.Check(left == YinYangTiles(screen).size(),
                      "the sweep took every tile but the Yin-Yang pair off the grid (" +
                          std::to_string(left) + " left)");
        return true;
    }

    // The pair drops into the case over 20 steps; the board is recorded at step 12.
    bool CaseAnimation()
    {
        MjClassic& screen = *Screen();
        const int step = screen._endAnimationStep;
        if (screen._highestGameReached < 1) {
            _lastStepUnrecorded = step;
        } else if (_firstStepRecorded < 0) {
            _firstStepRecorded = step;
        }
        const int frame = screen._caseSprite != nullptr ? screen._caseSprite->GetFrame() : -1;
        if (_caseFrames.empty() || _caseFrames.back() != frame) {
            _caseFrames.push_back(frame);
        }
        if (!_caseShot && step > kRecordStep && frame == kCaseOpenFrame) {
            _caseShot = true;
            _player.Shot("quest-case");
        }
        if (step < kCaseSteps) {
            return false;
        }
        // The step counter counts a step once it ran: "unrecorded at S" means steps before S ran.
        _player.Check(_lastStepUnrecorded <= kRecordStep && _firstStepRecorded > kRecordStep &&
                          _firstStepRecorded - _lastStepUnrecorded == 1,
                      "board 1 is recorded by step " + std::to_string(kRecordStep) +
                          " (not yet after " + std::to_string(_lastStepUnrecorded) +
                          " steps, reached " + std::to_string(screen._highestGameReached) +
                          " after " + std::to_string(_firstStepRecorded) + ")");
        std::string frames;
        for (int f : _caseFrames) {
            frames += (frames.empty() ? "" : ",") + std::to_string(f);
        }
        _player.Check(_caseFrames == std::vector<int>{0, 1, 2, 1, 0},
                      "the case opens and shuts around the pair (frames " + frames + ")");
        _player.Check(_caseShot, "the pair was seen above the open case");
        return true;
    }

    // A cut-scene's animation, its shot a third of the way in; it differs from the intro's and
    // from every cut-scene before it.
    bool CutScene(const std::string& shot)
    {
        if (!Animating()) {
            return false;
        }
        const std::string name = Script()->GetDescription() != nullptr
                                     ? Script()->GetDescription()->GetFileName()
                                     : std::string();
        if (Script()->GetFrameCounter() < AnimationFrames() / 3) {
            return false;
        }
        _player.Check(!name.empty() && name != _introName &&
                          std::find(_cutScenes.begin(), _cutScenes.end(), name) == _cutScenes.end(),
                      "the cut-scene plays its own animation (\"" + name + "\")");
        _cutScenes.push_back(name);
        _player.Shot(shot);
        return true;
    }

    // Footsteps drawn into the map: those whose spot on the strips' sheet differs from the
    // plain picture.
    std::vector<int> FootstepsDrawn(MjClassic& screen)
    {
        std::vector<int> drawn;
        if (screen._spiritMapSheet == nullptr || screen._spiritMapFile == nullptr) {
            return drawn;
        }
        Canvas plain("images/spiritmap.jpg", nullptr);
        for (int n = 1; n <= kMapFootsteps; ++n) {
            const Point at = FootstepAt(screen, n);
            bool differs = false;
            for (int y = at.GetY(); y < at.GetY() + kFootstepSize && !differs; y += 2) {
                for (int x = at.GetX(); x < at.GetX() + kFootstepSize && !differs; x += 2) {
                    const Color a = screen._spiritMapSheet->GetPixel(x, y);
                    const Color b = plain.GetPixel(x, y);
                    differs = a.GetR() != b.GetR() || a.GetG() != b.GetG() || a.GetB() != b.GetB();
                }
            }
            if (differs) {
                drawn.push_back(n);
            }
        }
        return drawn;
    }

    static Point FootstepAt(MjClassic& screen, int n)
    {
        return screen._spiritMapFile->ValueAsPoint("map_steps", "pos" + std::to_string(n),
                                                   Point(-1, -1));
    }

    // The map unrolled before board `board`: its texts, a footstep for each board played and
    // the marker on the board to come.
    bool MapOpen(int board, const std::string& shot)
    {
        MjClassic& screen = *Screen();
        // Unrolled: every strip out, the roll put away and the texts up.
        if (screen._spiritStep != kMapStrips || screen._mapRollSprite == nullptr ||
            screen._mapRollSprite->IsVisible()) {
            return false;
        }
        if (AutoPlayer::MsSinceSeen(_mapSeenMs) < kSettleMs) {
            return false;
        }
        _mapSeenMs = 0;
        int texts = 0;
        for (MjTextLabel* line : screen._infoLines) {
            texts += line != nullptr && line->IsVisible() ? 1 : 0;
        }
        _player.Check(texts == 5, "the map shows its five texts (" + std::to_string(texts) + ")");
        _player.Check(screen._puzzle == board, "the map leads to board " + std::to_string(board));
        // The best line is the coming board's record to beat: a new player meets none.
        if (texts == 5) {
            const std::string best = screen._infoLines[3]->GetText();
            _player.Check(best == "0" && screen._infoLines[4]->GetText().empty(),
                          "the map's best line is the coming board's, with no record (" + best +
                              ", \"" + screen._infoLines[4]->GetText() + "\")");
        }
        std::vector<int> expected;
        for (int n = 1; n <= board; ++n) {
            expected.push_back(n);
        }
        const std::vector<int> drawn = FootstepsDrawn(screen);
        std::string list;
        for (int n : drawn) {
            list += " " + std::to_string(n);
        }
        _player.Check(drawn == expected, "the map shows a footstep for each of the " +
                                             std::to_string(board) + " boards played (footsteps" +
                                             list + ")");
        CastMember* marker = screen._mapExtraSprite;
        const Point at = FootstepAt(screen, board + 1);
        _player.Check(marker != nullptr && marker->GetX() == at.GetX() &&
                          marker->GetY() == at.GetY() && marker->GetBlinkState() != 0,
                      "the marker blinks on footstep " + std::to_string(board + 1));
        _player.Shot(shot);
        return true;
    }

    // A press on the map closes it and board `board` opens.
    bool MapClose(int board, const std::string& shot)
    {
        MjClassic& screen = *Screen();
        if (!_mapPressed) {
            if (_player.Busy()) {
                return false;
            }
            _mapPressed = _player.PressSprite(screen._mapSprites[kMapStrips / 2]);
            return false;
        }
        // A board that brings a new kind of tile explains it first.
        if (AnswerPopup() || !BoardOpen(screen)) {
            return false;
        }
        _mapPressed = false;
        _player.Check(screen._puzzle == board,
                      "a press closes the map and board " + std::to_string(board) + " opens");
        _player.Check(screen._spiritStep == 0, "the map is rolled up");
        _player.Check(screen._lives == _livesAfterBoard0,
                      "board " + std::to_string(board) + " opens with the lives board 0 left (" +
                          std::to_string(screen._lives) + ")");
        _player.Shot(shot);
        return true;
    }

    // The run ends on board 2: what the quest is to save when the window closes.
    bool Board2Open()
    {
        if (!MapClose(2, "board-quest-2")) {
            return false;
        }
        MjClassic& screen = *Screen();
        _player.Check(screen._highestGameReached == 1,
                      "board 1 is the highest reached (" +
                          std::to_string(screen._highestGameReached) + ")");
        AutoPlayer::Say("record highestGameReached " + std::to_string(screen._highestGameReached));
        AutoPlayer::Say("record score " + std::to_string(screen._score));
        // Left before its fifth match: the board's life in play goes back with the lives saved,
        // for the next session's first opening to take again.
        AutoPlayer::Say("record lives-shown " + std::to_string(screen._lives));
        AutoPlayer::Say("record losses " + std::to_string(screen._losses));
        return true;
    }

    void AddSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("intro fade series", 20000, [this] { return IntroFades(); });
        _player.AddStep("intro animation", 20000, [this] {
            if (!IntroAnimation("quest-intro-animation")) {
                return false;
            }
            _introName = Script()->GetDescription()->GetFileName();
            return true;
        });
        _player.AddStep("board 0 open", 30000, [this] {
            if (!Board0Open()) {
                return false;
            }
            StartBoard("board-quest-0-popup-yinyang");
            return true;
        });
        _player.AddStep("clear board 0", 60000, [this] { return ClearToYinYang(kYinYangMatches); });
        _player.AddStep("bonus tiles into the case", 20000, [this] { return BonusTiles(); });
        _player.AddStep("cut-scene", 30000, [this] { return CutScene("cutscene-board0"); });
        _player.AddStep("map unrolled", 30000, [this] { return MapOpen(1, "map-board1"); });
        _player.AddStep("map closed, board 1", 30000, [this] {
            if (!MapClose(1, "board-quest-1")) {
                return false;
            }
            StartBoard("board-quest-1-popup-bonus");
            return true;
        });
        _player.AddStep("clear board 1", 60000,
                        [this] { return ClearToYinYang(kBonusMessageMatches); });
        _player.AddStep("tray sweep", 30000, [this] { return TraySweep(); });
        _player.AddStep("case animation", 20000, [this] { return CaseAnimation(); });
        _player.AddStep("cut-scene 2", 40000, [this] { return CutScene("cutscene-board1"); });
        _player.AddStep("map unrolled again", 40000, [this] {
            if (!MapOpen(2, "map-board2")) {
                return false;
            }
            StartBoard("board-quest-2-popup-power");
            return true;
        });
        _player.AddStep("map closed, board 2", 30000, [this] { return Board2Open(); });
    }

    void AddSkipSteps()
    {
        _player.AddStep("menu", 30000, [this] { return Menu(); });
        _player.AddStep("intro animation", 30000, [this] {
            if (!Animating() || _player.Busy()) {
                return false;
            }
            _skipFrame = Script()->GetFrameCounter();
            _skipFrames = AnimationFrames();
            _skipGameMs = AutoPlayer::GameMs();
            _player.Shot("quest-intro-before-key");
            _player.Key(SDLK_SPACE, KMOD_NONE, ' ');
            return true;
        });
        _player.AddStep("a key skips the intro", 15000, [this] {
            // Timed to the animation's end, not to the board's opening: a busy machine may take
            // longer to load the board than the animation had left to play.
            if (_skipEndMs == 0 && !Animating()) {
                _skipEndMs = AutoPlayer::GameMs();
            }
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen)) {
                return false;
            }
            const unsigned int took = _skipEndMs - _skipGameMs;
            const unsigned int left =
                static_cast<unsigned int>(_skipFrames - _skipFrame) *
                static_cast<unsigned int>(Script()->GetDescription() != nullptr
                                              ? Script()->GetDescription()->_frameMillis
                                              : 0);
            _player.Check(screen._puzzle == 0, "board 0 opens after the skipped intro");
            _player.Check(left > 0 && took < left, "the intro ended " + std::to_string(took) +
                                                       " game ms after the key, before the " +
                                                       std::to_string(left) +
                                                       " ms the animation had left");
            _player.Shot("board-quest-0-after-skip");
            return true;
        });
    }

    std::string _subtitle;
    std::string _introName;
    size_t _tilesAtStart = 0;
    unsigned int _popupSeenMs = 0;
    bool _popupShot = false;
    bool _popupPressed = false;
    std::string _popupShotName;
    int _popupsAnswered = 0;
    int _moves = 0;
    bool _tryYinYang = false;
    int _yinYangPressed = 0;
    unsigned int _yinYangPressMs = 0;
    int _matchesAtFinish = 0;
    unsigned int _bonusSeenMs = 0;
    int _bonusCount = 0;
    int _livesAfterBoard0 = 0;
    bool _bonusShot = false;
    std::vector<std::string> _cutScenes;
    struct SeenPopup
    {
        std::string text;
        int x;
        int y;
    };
    std::map<CastMember*, SeenPopup> _livePopups;
    std::vector<std::string> _sweepSeen;
    std::vector<std::string> _sweepExpected;
    bool _sweepStarted = false;
    bool _sweepShot = false;
    int _boardScoreBeforeSweep = 0;
    int _lastStepUnrecorded = -1;
    int _firstStepRecorded = -1;
    std::vector<int> _caseFrames;
    bool _caseShot = false;
    unsigned int _mapSeenMs = 0;
    bool _mapPressed = false;
    int _skipFrame = 0;
    int _skipFrames = 0;
    unsigned int _skipGameMs = 0;
    unsigned int _skipEndMs = 0;
};

} // namespace

int main(int argc, char** argv)
{
    const bool skipRun = argc == 3 && std::strcmp(argv[2], "skip") == 0;
    if (argc != 2 && !skipRun) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER [skip]\n", argv[0]);
        return 2;
    }
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) QuestRun(argv[1], skipRun); },
        // A new player: no progress file yet.
        [] { PrepareAutoPlayer(kPlayerName); });
}
