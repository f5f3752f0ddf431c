// The automated player's classic run, for the Xvfb test (auto_player_classic.sh). Run in a copy
// of the game's data folder, it plays the shipped game (the same game library and application)
// with a prepared player: it skips the intro with a key, presses the menu's classic button,
// enters board 0 as the board chooser's play button does, clears all of its tiles by presses
// (planned on a copy of the grid, planned again after every move), follows the congratulation
// and its time bonus, answers "youwinnewboard" with its first item (the next board), ends that
// board with the cheat chord and a right press on replay, answers the second "youwinnewboard"
// with its other item (the board again, dealt anew), pauses by a lost input focus, goes on, deals
// a stored seed by a typed debug command, presses pairs chosen to leave no match until the
// no-moves dialog opens, answers it with the same deal again, opens the scenes page through the
// in-game menu, picks another scene, goes back to the board over that scene's picture, and closes
// the window.
//
// It says on stdout "step NAME" and "done NAME in N ms" for each step, "shot NAME" for each
// screenshot (OUT/NAME.bmp), "ok: ..." or "FAIL: ..." for each check, "record KEY VALUE" for what
// the script reads back from the player's files, and "run passed" or "run failed". The exit code
// is 0 only for a passed run.
//
// Usage: auto_player_classic OUT_FOLDER
#include "SDL.h"
#include "framework/core/Application.h"
#include "framework/core/Color.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/shell/ConfigFilePlayers.h"
#include "framework/stage/CastMemberButton.h"
#include "mahjong/app/Mahjong.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/xvfb/AutoPlayerGame.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <new>
#include <string>
#include <tuple>
#include <vector>

namespace {

constexpr int kBoardZeroSeed = 7;
constexpr const char* kPlayerName = "Kit Auto";
// The game clock runs this many times faster than real time.
constexpr unsigned int kClockSpeed = 6;
// The whole run, in real milliseconds; the script's own limit is above it.
constexpr unsigned int kRunLimitMs = 150000;
constexpr int kClassicButton = 2; // the menu's second start button: the classic boards
constexpr int kFirstBoard = 0;
constexpr int kYesItem = 1;
constexpr int kBonusStart = 5;
constexpr int kBonusStep = 5;
// A dialog is looked at once its fade-in is surely over (game milliseconds).
constexpr unsigned int kDialogSettleMs = 900;
// The seed the blocked board is dealt from, typed as the debug command "r-SEED".
constexpr int kBlockSeed = 7;
// The no-moves dialog's radio buttons (their values: undo, the same deal, a new deal) and the
// button that confirms the choice.
constexpr int kUndoChoice = 1;
constexpr int kSameDealChoice = 2;
constexpr int kNewDealChoice = 3;
constexpr int kConfirmItem = 107;
constexpr int kRadioGroup = 2;

// A board as dealt: every tile's cell and face.
using Deal = std::vector<std::tuple<int, int, int, int>>;

Deal DealOf(MjClassic& screen)
{
    std::vector<MjTile*> sprites;
    const std::vector<PlanTile> tiles = AutoPlayer::GridCopy(screen, &sprites);
    Deal deal;
    for (size_t n = 0; n < tiles.size(); ++n) {
        deal.emplace_back(tiles[n].i, tiles[n].j, tiles[n].k, sprites[n]->GetFace());
    }
    std::sort(deal.begin(), deal.end());
    return deal;
}

// The scenes page: five scenes on places that skip the grid's centre. The run picks one whose
// picture no board of the run has shown: they use the scene chosen by board (pictures 0 and 1).
constexpr int kScenes = 5;
constexpr int kPickedScene = 2;
constexpr int kCentrePlace = 4;
// A cell press is repeated after this long (real ms) while the cell is not chosen.
constexpr unsigned int kCellPressMs = 1000;
// Points left of the board that no tile covers, where the window shows the scene's picture,
// which starts under the top bar.
constexpr int kBesideBoard[][2] = {{25, 105}, {50, 130}, {75, 155}, {30, 150}};
constexpr int kPictureY = MjClassic::kBoardPictureY;

// The colours the window shows at kBesideBoard, as 0xRRGGBB.
std::vector<Uint32> ShownColours()
{
    std::vector<Uint32> colours;
    SDL_Surface* s = SDL_GetVideoSurface();
    if (s == nullptr || SDL_LockSurface(s) != 0) {
        return colours;
    }
    const int bpp = s->format->BytesPerPixel;
    for (const auto& at : kBesideBoard) {
        const Uint8* p = static_cast<const Uint8*>(s->pixels) + at[1] * s->pitch + at[0] * bpp;
        Uint32 raw = 0;
        for (int b = 0; b < bpp; ++b) {
            // Pixels are stored in the machine's byte order.
            raw |= static_cast<Uint32>(p[b])
                   << (SDL_BYTEORDER == SDL_LIL_ENDIAN ? 8 * b : 8 * (bpp - 1 - b));
        }
        Uint8 r = 0;
        Uint8 g = 0;
        Uint8 bl = 0;
        SDL_GetRGB(raw, s->format, &r, &g, &bl);
        colours.push_back(static_cast<Uint32>(r) << 16 | static_cast<Uint32>(g) << 8 | bl);
    }
    SDL_UnlockSurface(s);
    return colours;
}

// The button ids of a dialog, in its order.
std::vector<int> ButtonIds(CastMemberDialog& dialog)
{
    std::vector<int> ids;
    for (DialogItem* item : dialog.GetButtons()) {
        ids.push_back(item->GetID());
    }
    return ids;
}

class ClassicRun final : public AutoPlayerGame
{
public:
    explicit ClassicRun(const std::string& out) : AutoPlayerGame(out, kRunLimitMs, kDialogSettleMs)
    {
        AddSteps();
    }

private:
    // The game opens on the board chooser: once its page is built, board 0 is the chosen cell
    // and a press on the play button enters it.
    bool EnterBoard(MjClassic& screen)
    {
        if (_player.Busy() || screen._previewDeal == 0 || screen._pageReady == 0) {
            return false;
        }
        _player.Check(screen._puzzle == kFirstBoard, "the chooser offers board 0");
        _player.Shot("chooser-classic");
        return _player.PressSprite(_player.FindButton(MjClassic::kPlayChoiceId));
    }

    void AddSteps()
    {
        _player.AddStep("menu", 40000, [this] { return Menu(); });
        _player.AddStep("enter board 0", 20000, [this] {
            MjClassic* screen = Screen();
            if (screen == nullptr || _animationManager->FadingIn()) {
                return false;
            }
            return EnterBoard(*screen);
        });
        _player.AddStep("board 0 open", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen)) {
                return false;
            }
            _player.Check(screen._puzzle == kFirstBoard, "board 0 is the current board");
            _player.Check(AutoPlayer::GridCopy(screen, nullptr).size() == 144,
                          "a full board of 144 tiles (" +
                              std::to_string(AutoPlayer::GridCopy(screen, nullptr).size()) + ")");
            _player.Shot("board-classic-start");
            return true;
        });
        _player.AddStep("clear board 0", 120000, [this] { return ClearBoard(); });
        _player.AddStep("congratulations", 30000, [this] { return Congratulations(); });
        _player.AddStep("youwinnewboard", 20000, [this] { return WinDialog(kYesItem); });
        _player.AddStep("next board", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen) || _player.OpenDialogId() != 0) {
                return false;
            }
            _player.Check(screen._puzzle == kFirstBoard + 1, "the first item starts board 1");
            _nextDeal = DealOf(screen);
            _player.Shot("board-classic-next");
            return true;
        });
        _player.AddStep("end board 1", 20000, [this] { return EndBoardByCheat(); });
        _player.AddStep("congratulations of board 1", 30000, [this] { return Congratulations(); });
        _player.AddStep("youwinnewboard of board 1", 20000, [this] { return WinDialog(0); });
        _player.AddStep("board 1 again", 20000, [this] {
            MjClassic& screen = *Screen();
            if (!BoardOpen(screen) || _player.OpenDialogId() != 0) {
                return false;
            }
            _player.Check(screen._puzzle == kFirstBoard + 1, "the other item replays board 1");
            if (screen._rules.fixedSeed == 0) {
                _player.Check(DealOf(screen) != _nextDeal, "board 1 is dealt anew");
            } else {
                _player.Check(DealOf(screen) == _nextDeal, "board 1 keeps its fixed seed's deal");
            }
            _player.Shot("board-classic-replayed");
            return true;
        });
        _player.AddStep("pause", 20000, [this] { return Pause(); });
        _player.AddStep("resume", 20000, [this] { return Resume(); });
        _player.AddStep("deal a stored seed", 20000, [this] { return DealStoredSeed(); });
        _player.AddStep("block the board", 60000, [this] { return BlockBoard(); });
        _player.AddStep("no-moves dialog", 20000, [this] { return NoMovesDialog(); });
        _player.AddStep("the same deal again", 20000, [this] { return SameDealAgain(); });
        _player.AddStep("scenes page", 30000, [this] { return OpenScenesPage(); });
        _player.AddStep("scene chosen", 20000, [this] { return ChooseScene(); });
        _player.AddStep("board over the chosen scene", 20000, [this] { return BoardOverScene(); });
    }

    bool Menu() { return StartFromMenu(kClassicButton); }

    bool ClearBoard()
    {
        MjClassic& screen = *Screen();
        if (CongratsLayoutShown(screen) != 0) {
            return true;
        }
        if (const int open = _player.OpenDialogId()) {
            _player.Fail("dialog " + std::to_string(open) + " opened while the board was played");
            return false;
        }
        _stepsBeforeWin = screen._timerValues[0];
        const bool cleared = _player.PlayBoard(screen, [this](int moves) {
            if (moves == 36) {
                _player.Shot("board-classic-midplay");
                // Score, free pairs and best beside their captions in the top bar.
                _player.Shot("board-classic-hud");
            }
            _moves = moves;
        });
        if (cleared && CongratsLayoutShown(screen) == 0) {
            return false; // the last group is still on its way off
        }
        return cleared;
    }

    bool Congratulations()
    {
        MjClassic& screen = *Screen();
        const int layout = CongratsLayoutShown(screen);
        if (layout == 0) {
            return false;
        }
        if (!_inCongrats) {
            _inCongrats = true;
            _faceChanges = 0;
            _faces.clear();
            _bonusSeen = screen._timerValues[2] != 0;
            // Steps the count has taken already since the win.
            const int counted = std::max(0, (screen._timerValues[2] - kBonusStart) / kBonusStep);
            _stepsAtWin = screen._timerValues[0] + counted;
            _scoreAtWin = screen._boardScore;
            const int expected = screen._puzzle % kCongratsLayouts + 1;
            _player.Check(layout == expected, "board " + std::to_string(screen._puzzle) +
                                                  " ends on congratulation layout " +
                                                  std::to_string(expected) + " (" +
                                                  std::to_string(layout) + ")");
            if (_moves > 0) {
                _player.Check(_moves == 72, "72 pairs pressed (" + std::to_string(_moves) + ")");
                _moves = 0;
            }
        }
        std::map<MjTile*, int> faces;
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        for (MjTile* tile : sprites) {
            faces[tile] = tile->GetFace();
        }
        if (!_faces.empty() && faces != _faces) {
            ++_faceChanges;
            if (_faceChanges == 2) {
                _player.Shot(screen._puzzle == kFirstBoard ? "congratulations-classic"
                                                           : "congratulations-classic-board1");
            }
        }
        _faces = faces;
        _minSteps = std::min(_minSteps, screen._timerValues[0]);
        if (_player.OpenDialogId() != MjClassic::kWinDialog) {
            return false;
        }
        _inCongrats = false;
        _player.Check(_faceChanges >= 2, "the congratulation cycles its faces (" +
                                             std::to_string(_faceChanges) + " changes)");
        if (_bonusSeen) {
            _player.Check(screen._timerValues[0] == MjClassic::kClockLastStep,
                          "the time bonus counts to -10 steps (" +
                              std::to_string(screen._timerValues[0]) + ")");
            const int paid = screen._boardScore - _scoreAtWin;
            _player.Check(paid == 5 * (_stepsAtWin + 11),
                          "the bonus pays 5 x (S + 11) for S = " + std::to_string(_stepsAtWin) +
                              " (" + std::to_string(paid) + ")");
        } else {
            _player.Check(false, "the clock ran at the win, so a time bonus was counted");
        }
        _dialogSeenMs = AutoPlayer::GameMs();
        return true;
    }

    // Answers "youwinnewboard": item 1, or (item 0) its other item.
    bool WinDialog(int item)
    {
        MjClassic& screen = *Screen();
        CastMemberDialog* dialog = _player.OpenDialog(MjClassic::kWinDialog);
        if (dialog == nullptr) {
            _player.Fail("\"youwinnewboard\" closed unanswered");
            return false;
        }
        if (_player.Busy() || AutoPlayer::GameMs() - _dialogSeenMs < kDialogSettleMs) {
            return false;
        }
        const std::vector<int> ids = ButtonIds(*dialog);
        if (screen._puzzle == kFirstBoard) {
            _player.Shot("popup-youwinnewboard");
            AutoPlayer::Say("record score " + std::to_string(screen._boardScore));
            AutoPlayer::Say("record player " + std::string(kPlayerName));
        }
        int answer = item;
        for (int id : ids) {
            if (answer == 0 && id != kYesItem) {
                answer = id;
            }
        }
        if (!_player.Check(std::find(ids.begin(), ids.end(), answer) != ids.end() &&
                               _player.PressDialogItem(dialog, answer),
                           "\"youwinnewboard\" has item " + std::to_string(answer))) {
            _player.Fail("no item to answer \"youwinnewboard\" with");
        }
        return true;
    }

    bool EndBoardByCheat()
    {
        MjClassic& screen = *Screen();
        if (CongratsLayoutShown(screen) != 0) {
            return true;
        }
        if (_player.Busy() || _cheatSent) {
            return false;
        }
        CastMemberButton* replay = _player.FindButton(MjClassic::kReplayId);
        if (replay == nullptr) {
            return false;
        }
        _player.Key(SDLK_q, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LSHIFT | KMOD_LALT), 'q');
        _cheatSent = _player.PressSprite(replay, SDL_BUTTON_RIGHT);
        return false;
    }

    bool Pause()
    {
        MjClassic& screen = *Screen();
        if (!_focusLost) {
            _pauseSteps = screen._timerValues[0];
            _player.InputFocus(false);
            _focusLost = true;
            return false;
        }
        CastMemberDialog* paused = _player.OpenDialog(MjClassic::kPausePopupId);
        if (paused == nullptr) {
            return false;
        }
        if (AutoPlayer::MsSinceSeen(_pausedSeenMs) < kDialogSettleMs) {
            return false;
        }
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        _player.Check(
            std::none_of(sprites.begin(), sprites.end(), [](MjTile* t) { return t->IsVisible(); }),
            "\"paused\" hides the tiles");
        _player.Check(screen._timerValues[0] == _pauseSteps, "the fuse stands while paused");
        _player.Shot("paused-classic");
        const std::vector<int> ids = ButtonIds(*paused);
        _player.InputFocus(true);
        if (ids.empty() || !_player.PressDialogItem(paused, ids.front())) {
            _player.Fail("\"paused\" has no button");
        }
        return true;
    }

    bool Resume()
    {
        MjClassic& screen = *Screen();
        if (_player.OpenDialogId() != 0 || _player.Busy()) {
            return false;
        }
        std::vector<MjTile*> sprites;
        AutoPlayer::GridCopy(screen, &sprites);
        if (!std::all_of(sprites.begin(), sprites.end(),
                         [](MjTile* t) { return t->IsVisible(); })) {
            return false;
        }
        _player.Check(_player.FindButton(MjClassic::kPauseId) != nullptr,
                      "closing \"paused\" shows the board and gives its buttons back");
        _player.Shot("board-classic-resumed");
        return true;
    }

    // Types "r-SEED" and Enter in cheat mode (on since board 1 was ended by the chord): the
    // board is dealt anew from that seed.
    bool DealStoredSeed()
    {
        MjClassic& screen = *Screen();
        if (!_seedTyped) {
            if (_player.Busy() || !BoardOpen(screen)) {
                return false;
            }
            _player.Key(SDLK_r, KMOD_NONE, 'r');
            _player.Key(SDLK_MINUS, KMOD_NONE, '-');
            for (char digit : std::to_string(kBlockSeed)) {
                _player.Key(static_cast<SDLKey>(digit), KMOD_NONE, static_cast<Uint16>(digit));
            }
            _player.Key(SDLK_RETURN, KMOD_NONE, '\r');
            _seedTyped = true;
            return false;
        }
        if (screen._seed != kBlockSeed || !BoardOpen(screen)) {
            return false;
        }
        _blockDeal = DealOf(screen);
        _player.Check(true, "\"r-" + std::to_string(kBlockSeed) + "\" deals that seed (" +
                                std::to_string(_blockDeal.size()) + " tiles)");
        return true;
    }

    bool BlockBoard()
    {
        MjClassic& screen = *Screen();
        if (_player.OpenDialog(MjGameScript::kNoMovesDialog) != nullptr) {
            _player.Check(!AutoPlayer::GridCopy(screen, nullptr).empty(),
                          "no match left after " + std::to_string(_blockMoves) + " pairs, with " +
                              std::to_string(AutoPlayer::GridCopy(screen, nullptr).size()) +
                              " tiles on the board");
            _dialogSeenMs = AutoPlayer::GameMs();
            return true;
        }
        if (const int open = _player.OpenDialogId()) {
            _player.Fail("dialog " + std::to_string(open) + " opened while the board was blocked");
            return false;
        }
        if (_player.PlayBoard(
                screen, [this](int moves) { _blockMoves = moves; }, AutoPlayer::Goal::kBlock)) {
            _player.Fail("the board was cleared instead of left without a match");
        }
        return false;
    }

    // Looks at the no-moves choice, ticks "the same deal again" and confirms it.
    bool NoMovesDialog()
    {
        CastMemberDialog* dialog = _player.OpenDialog(MjGameScript::kNoMovesDialog);
        if (dialog == nullptr) {
            _player.Fail("the no-moves dialog closed unanswered");
            return false;
        }
        if (_player.Busy() || AutoPlayer::GameMs() - _dialogSeenMs < kDialogSettleMs) {
            return false;
        }
        if (!_sameDealTicked) {
            _player.Shot("popup-nomoves");
            std::map<int, DialogItem*> radios;
            for (const auto& item : dialog->GetItems()) {
                if (item->GetType() == DialogItem::kRadio) {
                    radios[item->GetValue()] = item.get();
                }
            }
            const bool all = radios.count(kUndoChoice) != 0 && radios.count(kSameDealChoice) != 0 &&
                             radios.count(kNewDealChoice) != 0;
            _player.Check(all, "the no-moves dialog offers undo, the same deal and a new deal (" +
                                   std::to_string(radios.size()) + " choices)");
            _player.Check(dialog->GetItemByID(kConfirmItem) != nullptr,
                          "the no-moves dialog has its confirming button");
            if (!all || dialog->GetItemByID(kConfirmItem) == nullptr) {
                _player.Fail("no way to answer the no-moves dialog");
                return false;
            }
            DialogItem* same = radios[kSameDealChoice];
            _player.Press(dialog->GetX() + same->GetX() + same->GetFrameWidth() / 2,
                          dialog->GetY() + same->GetY() + same->GetFrameHeight() / 2);
            _sameDealTicked = true;
            return false;
        }
        if (dialog->GetRadioSetting(kRadioGroup) != kSameDealChoice) {
            return false; // the press is on its way
        }
        _player.Check(true, "the press ticks \"Play the same deal again\"");
        return _player.PressDialogItem(dialog, kConfirmItem);
    }

    bool SameDealAgain()
    {
        MjClassic& screen = *Screen();
        if (!BoardOpen(screen) || _player.OpenDialogId() != 0) {
            return false;
        }
        _player.Check(DealOf(screen) == _blockDeal,
                      "\"Play the same deal again\" restarts the board with its deal (" +
                          std::to_string(DealOf(screen).size()) + " tiles)");
        _player.Shot("board-classic-same-deal");
        return true;
    }

    // Through the in-game menu's scene item: the scenes page, with the board under it.
    bool OpenScenesPage()
    {
        MjClassic& screen = *Screen();
        if (_player.Busy()) {
            return false;
        }
        if (screen._previewDeal != 0 && screen._selectionKind == 1 && screen._pageReady != 0 &&
            _player.FindButton(MjClassic::kPlayChoiceId) != nullptr) {
            if (AutoPlayer::MsSinceSeen(_pageSeenMs) < kDialogSettleMs) {
                return false;
            }
            _player.Check(screen._puzzle == _sceneBefore,
                          "the scenes page opens on the scene in use, " +
                              std::to_string(_sceneBefore) + " (" + std::to_string(screen._puzzle) +
                              ")");
            _player.Check(screen._cellsPerPage == kScenes,
                          "the scenes page has " + std::to_string(kScenes) + " cells");
            _player.Check(_player.FindButton(MjClassic::kNextPageId) == nullptr &&
                              _player.FindButton(MjClassic::kPreviousPageId) == nullptr,
                          "the scenes page shows no page turns");
            _player.Shot("chooser-scenes");
            return true;
        }
        if (CastMemberDialog* menu = _player.OpenDialog(MjGameScript::kMenuDialogId)) {
            // Pressed once the menu has faded in, again while it stays.
            if (AutoPlayer::MsSinceSeen(_menuSeenMs) >= kDialogSettleMs) {
                _player.PressDialogItem(menu, MjGameScript::kMenuMovie);
                _menuSeenMs = AutoPlayer::GameMs();
            }
            return false;
        }
        if (!_menuPressed && BoardOpen(screen)) {
            _sceneBefore = screen._sceneChoice;
            _shownBefore = ShownColours();
            _dealBefore = DealOf(screen);
            _menuPressed = _player.PressSprite(_player.FindButton(MjGameScript::kMenuButtonId));
        }
        return false;
    }

    // Presses the cell of a scene other than the one in use, then play.
    bool ChooseScene()
    {
        MjClassic& screen = *Screen();
        if (_player.Busy() || screen._pageReady == 0) {
            return false;
        }
        if (screen._puzzle != kPickedScene) {
            if (_cellPressMs == 0 || _player.StepMs() - _cellPressMs >= kCellPressMs) {
                // The page's places skip the grid's centre.
                const int place = kPickedScene >= kCentrePlace ? kPickedScene + 1 : kPickedScene;
                _player.PressSprite(screen._cellSprites[0][place]);
                _cellPressMs = _player.StepMs();
            }
            return false;
        }
        CastMemberButton* play = _player.FindButton(MjClassic::kPlayChoiceId);
        if (play == nullptr) {
            return false;
        }
        if (!_player.PressSprite(play)) {
            return false;
        }
        AutoPlayer::Say("record scene " + std::to_string(kPickedScene));
        return true;
    }

    // Play goes back to the same board, now over the chosen scene's picture.
    bool BoardOverScene()
    {
        MjClassic& screen = *Screen();
        if (screen._previewDeal != 0 || _player.OpenDialogId() != 0 || !BoardOpen(screen)) {
            return false;
        }
        _player.Check(screen._sceneChoice == kPickedScene,
                      "the scene choice is " + std::to_string(kPickedScene) + " (" +
                          std::to_string(screen._sceneChoice) + ")");
        const int stored =
            ConfigFile::AsInt(screen._progressFile->Value("global", "scenechoice", -1.0, true));
        _player.Check(stored == kPickedScene,
                      "the player's file keeps scene choice " + std::to_string(stored));
        _player.Check(screen._puzzle == kFirstBoard + 1 && DealOf(screen) == _dealBefore,
                      "play goes back to board 1 as it was");
        // The window beside the board shows the picked scene's picture, which it did not before.
        const std::vector<Uint32> shown = ShownColours();
        Image picture(screen._config->_bgImg[kPickedScene], nullptr);
        const size_t points = std::size(kBesideBoard);
        size_t changed = 0;
        size_t scene = 0;
        for (size_t n = 0; n < points && n < shown.size() && n < _shownBefore.size(); ++n) {
            changed += shown[n] != _shownBefore[n] ? 1 : 0;
            const Color c =
                picture.GetCanvas()->GetPixel(kBesideBoard[n][0], kBesideBoard[n][1] - kPictureY);
            scene += shown[n] == (static_cast<Uint32>(c.GetR()) << 16 |
                                  static_cast<Uint32>(c.GetG()) << 8 | c.GetB())
                         ? 1
                         : 0;
        }
        _player.Check(changed == points && scene == points,
                      "beside the board the window shows scene " + std::to_string(kPickedScene) +
                          "'s picture at " + std::to_string(scene) + " of " +
                          std::to_string(points) + " points, changed at " +
                          std::to_string(changed));
        return true;
    }

    int _moves = 0;
    int _stepsBeforeWin = 0;
    bool _inCongrats = false;
    bool _bonusSeen = false;
    int _stepsAtWin = 0;
    int _scoreAtWin = 0;
    int _minSteps = 0;
    int _faceChanges = 0;
    std::map<MjTile*, int> _faces;
    unsigned int _dialogSeenMs = 0;
    Deal _nextDeal;
    bool _cheatSent = false;
    bool _focusLost = false;
    int _pauseSteps = 0;
    unsigned int _pausedSeenMs = 0;
    bool _seedTyped = false;
    Deal _blockDeal;
    int _blockMoves = 0;
    bool _sameDealTicked = false;
    bool _menuPressed = false;
    unsigned int _menuSeenMs = 0;
    unsigned int _pageSeenMs = 0;
    unsigned int _cellPressMs = 0;
    int _sceneBefore = 0;
    std::vector<Uint32> _shownBefore;
    Deal _dealBefore;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_FOLDER\n", argv[0]);
        return 2;
    }
    // Board 0 is dealt from a stored seed, so that every run plays the same deal: a random deal
    // that the planner cannot clear within its budget would fail a run now and then.
    return RunAutoPlayerGame(
        argv, kClockSpeed, [&] { return new (std::nothrow) ClassicRun(argv[1]); },
        [] { PrepareAutoPlayer(kPlayerName, 0, "t0p0", kBoardZeroSeed); });
}
