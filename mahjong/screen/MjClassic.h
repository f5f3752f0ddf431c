#pragma once

#include "framework/core/Debug.h"
#include "framework/core/Point.h"
#include "framework/stage/ButtonListener.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CueListener.h"
#include "framework/stage/DialogListener.h"
#include "framework/stage/InputCatcher.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTileListener.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/scene/SceneBackgroundListener.h"

#include <functional>
#include <string>
#include <vector>

class CastMember;
class CastMemberButton;
class CastMemberImage;
class ConfigFile;
class Font;
class Framework;
class Image;
class ImageResource;
class MjClassicConfig;
class MjDeal;
class MjGameScript;
class MjLayout;
struct MjCell;
class MjMoves;
class MjTextLabel;
class MjTile;
class MjTileFactory;
class Music;
class ZorvyAnimation;
struct MjPopupPointsLook;

// State of the board screen that outlives one screen and is shared by all of its sources: one
// instance per program. The constructor resets what a new screen must not inherit.
struct MjClassicShared
{
    static constexpr int kTraySlots = 5;
    static constexpr int kSanityCodes = 198;      // preset tile codes 0 to 197
    static constexpr int kSanityTileCells = 198;  // entry: tile cells of the layout
    static constexpr int kSanityBlankCells = 199; // entry: cells without a preset face
    static constexpr int kSanityEntries = 200;
    static constexpr int kCommandLineSize = 200;

    MjTile* traySlots[kTraySlots] = {}; // slots 1 to 3 are used
    // Values of the selection screen: the highest selectable entry, the first entry of the shown
    // page, the entry after its end, the entry whose cell is built next and the time (ms) of the
    // last cell click.
    int selectableLimit = 0;
    int pageFirst = 0;
    int pageEnd = 0;
    int previewIndex = 0;
    int lastCellClick = 0;
    // The self-scrambling board's state and reference time (ms).
    int scrambleState = 0;
    int scrambleTime = 0;
    int savedBoard = -1;    // the board current when the selection screen opened, -1 when none
    int savedPlayMode = -1; // restored by the selection screen's cancel button
    int faceHiding = 0;     // the board hides faces (derived from the play mode by the set-up)
    int sanity = 0;         // the puzzle-set check is dealing
    int sanityCounts[kSanityEntries] = {};
    std::string text; // text formatted by one operation and read by the next
    // The typed debug command line and the popup section stored by command x.
    std::string commandLine;
    std::string commandPopup;
    // The scramble warning opens once per program run.
    bool scrambleWarningShown = false;
    // The look's "bug" value of the map's opening, read once per program run (-1: not yet).
    int mapBug = -1;
    // The channel of the cue that the next negative request cuts off.
    bool cueRemembered = false;
    int cueChannel = -1;
};

// The board screen: runs a game from the moment the game script starts it until it ends it. It
// owns what its constructor makes except the sprites, which live on the stage and are handed back
// by ReleaseSprites.
class MjClassic : public Debug,
                  public InputCatcher,
                  public MjTileListener,
                  public CueListener,
                  public ButtonListener,
                  public DialogListener,
                  public SceneBackgroundListener
{
public:
    // Button ids (the in-game menu button, 99, is the game script's).
    static constexpr int kNewGameId = 101;
    static constexpr int kReplayId = 102;
    static constexpr int kUndoId = 103;
    static constexpr int kHintId = 104;
    static constexpr int kPauseId = 105;
    static constexpr int kButtonLooks = 4;
    // The selection screen's buttons: next and previous page, play (or watch), cancel, and the
    // cells of a page in reading order, the centre place skipped.
    static constexpr int kNextPageId = 113;
    static constexpr int kPreviousPageId = 114;
    static constexpr int kPlayChoiceId = 115;
    static constexpr int kCancelChoiceId = 116;
    static constexpr int kFirstCellId = 200;
    static constexpr int kLastCellId = 208;
    // A second click on the chosen cell within this many ms plays it.
    static constexpr int kDoubleClickMs = 400;
    // Stage priorities.
    static constexpr int kFramePriority = 999999;
    static constexpr int kLabelPriority = 999998;
    static constexpr int kReplayModePriority = 999997;
    static constexpr int kQuestBarPriority = 1000000;
    static constexpr int kCaseOnTopPriority = 3;
    // The quest's bottom bar and the bottom image of a background start at this row; the scene
    // or the board picture below the top bar at kBoardPictureY.
    static constexpr int kBottomBarY = 525;
    static constexpr int kBoardPictureY = 75;
    // Look-file game types.
    static constexpr int kTimedType = 1;
    static constexpr int kQuestType = 2;
    // Counts.
    static constexpr int kFonts = 7;
    static constexpr int kTileSets = 3;
    static constexpr int kMusics = 4;
    static constexpr int kBoardMusic = 3;
    static constexpr int kSpecialTypes = MjTileTypes::kSpecialTypes;
    static constexpr int kFirstSpecialType = MjTileTypes::kFirstSpecialType;
    static constexpr int kNoAnimationType = MjTileTypes::kNoAnimationType;
    static constexpr int kScoreTimes = 4;
    static constexpr int kSelectionSlots = 4;
    static constexpr int kCellImages = 10;
    // The preview grid's middle place shows the chosen board, never a cell: it has no pictures.
    static constexpr int kCentrePlace = 4;
    static constexpr int kMapSprites = 16;
    static constexpr int kMapLevelImages = 12;
    static constexpr int kMapStepImages = 60;
    static constexpr int kModeTiles = 6;
    static constexpr int kInfoLines = 6;
    static constexpr int kDefaultPuzzleCount = 62;
    static constexpr int kDefaultLives = 5;
    static constexpr int kDefaultSceneChoice = 4;
    static constexpr int kBackgroundPictures = 4;
    static constexpr int kTimerSteps = 336;
    // The title label's state that opens a board, and its delays.
    static constexpr int kOpenBoardState = 10031;
    static constexpr int kOpenFirstBoardMs = 10;
    static constexpr int kOpenBoardMs = 500;
    // A time allowance of exactly this on a board after kTimeRuleBoard becomes
    // kMsPerTile per tile.
    static constexpr int kDefaultTime = 2000;
    static constexpr int kTimeRuleBoard = 4;
    static constexpr int kMsPerTile = 20;
    static constexpr int kScrambleDelayMs = 2000;
    static constexpr int kMusicFadeMs = 200;
    static constexpr int kDefaultFontSize = 24;
    static constexpr int kModeSheetRows = 4;
    // Start modes of SetupBoard: 0 a quiet start (the quest's first press starts the clock), 1 the
    // board's opening sequence may run at once, 2 the puzzle-set check.
    static constexpr int kStartQuiet = 0;
    static constexpr int kStartOpening = 1;
    static constexpr int kStartCheck = 2;
    // SetupBoard's reason of the puzzle-set check.
    static constexpr int kReasonSanity = 1;
    // PlayCue's second values besides a loop count of 0: -1 repeats the cue until the next
    // negative request, -2 (with the name "stop") only stops.
    static constexpr int kCueRepeat = -1;
    static constexpr int kCueStop = -2;
    // The log level below which PlayCue traces every cue.
    static constexpr int kCueTraceLevel = 4;
    // Board tile types with a meaning of their own to the press handler.
    static constexpr int kGoldYinYangType = MjTileTypes::kGoldYinYangType;
    static constexpr int kBrickType = MjTileTypes::kBrickType;
    static constexpr int kDownType = MjTileTypes::kDownType;
    static constexpr int kUpType = MjTileTypes::kUpType;
    static constexpr int kFuseType = MjTileTypes::kFuseType;
    static constexpr int kCloneType = MjTileTypes::kCloneType;
    static constexpr int kTyphoonType = MjTileTypes::kTyphoonType;
    static constexpr int kPlainSpecialType = MjTileTypes::kPlainSpecialType;
    static constexpr int kSwapperType = MjTileTypes::kSwapperType;
    static constexpr int kWandType = MjTileTypes::kWandType;
    static constexpr int kMagnetType = MjTileTypes::kMagnetType;
    static constexpr int kDeepMagnetType = MjTileTypes::kDeepMagnetType;
    static constexpr int kFirstHonourType = MjTileTypes::kFirstHonourType;
    // Tile sprites that are not board tiles: the software cursor's and the mode tiles.
    static constexpr int kCursorTileKind = 5;
    static constexpr int kModeTileKind = 6;
    // States of the heads-up labels that the play handlers start or answer (those the tiles
    // report are MjTileListener's and MjTile's).
    static constexpr int kClockStep = 10045;
    static constexpr int kElapsedSecond = 10046;
    static constexpr int kMapCloseStep = 10047;
    static constexpr int kMapOpenStep = 10049;
    // The tray effect's next step at the end of a quest board.
    static constexpr int kTrayEffectStep = 10009;
    // The score label's state that builds the next cell of the selection screen.
    static constexpr int kBuildPreviewState = 10050;
    // Dialog id of the popups that pause the board (the quest's Yin-Yang notes among them).
    static constexpr int kPausePopupId = 114;
    // Popups of the running board, by the dialog id their answer comes back with.
    static constexpr int kRestartDialog = 101;
    static constexpr int kWinDialog = 109;
    static constexpr int kOpeningPopupDialog = 112;
    static constexpr int kCommandPopupDialog = 113;
    static constexpr int kLeaveDialog = 116;
    static constexpr int kMoviesDialog = 117;
    static constexpr int kSelectionDialog = 118;
    // The quest's time-up popups: the plain one, the lost game and the offered life.
    static constexpr int kTimesUpDialog = 110;
    static constexpr int kQuestLostDialog = 115;
    static constexpr int kOfferLifeDialog = 119;
    // Game-flow states of the labels.
    static constexpr int kStartPlay = 10000;
    static constexpr int kOpeningCase = 10032;
    static constexpr int kOpeningDone = 10036;
    static constexpr int kAutoAdvance = 10051;
    // The fuse burns one column per step down to this count; from it on the ending image shows,
    // until the count passes kClockLastStep.
    static constexpr int kFuseLastStep = 10;
    static constexpr int kClockLastStep = -10;
    // The longest the screen blocks on the scene loader before it goes on without the scene.
    static constexpr int kSceneLoaderWaitMs = 10000;

    MjClassic(Framework* framework, MjClassicConfig* config);
    ~MjClassic() override;

    // --- construction, teardown and background
    void ReleaseSprites();
    // A new background image for the stage; the game script's previous one is replaced.
    Image* MakeBackground();
    MjTile* AddTile(int i, int j, int k, int value, int faceCol, int faceRow);
    void SceneStep();

    // --- board set-up and deal
    void SetupBoard(int reason, int seed, int startMode, const std::string& layoutName);
    void LoadPreviewBoard();
    static int MatchValue(int type);
    // The heads-up text of a number, also left in the shared text.
    const std::string& FormatNumber(int value);
    // The deal proper (type counts, groups, special moves) is MjDeal's; these run it on the grid.
    void DealBoard(int seed, int startMode);
    void DealTiles();

    // --- board restart, cleared board and tile sprites
    void CreateTileSprites(int startMode);
    void FinishBoard(int endNow);
    void BoardCleared();
    void ShowSpecialTileName(MjTile* tile, int x, int y);
    void ClearSequenceEnd();
    void LeaveGame();

    // --- selection and matching
    void TileMouseDown(MjTile* tile, int button, int x, int y) override;
    void TileMouseOver(MjTile* tile, int x, int y, bool entering) override;
    void SelectTile(MjTile* tile);
    void Reselect(MjTile* tile);
    void ClearSelection(bool resetPowers);
    void EndSelection();
    void RestoreTileLook(MjTile* tile);
    void SortSelection(int a, int b);
    void MatchPair(MjTile* a, MjTile* b);
    void MatchTriple(MjTile* a, MjTile* b, MjTile* c);
    void MoveToTray(MjTile* tile, int slot, int order, int ms);
    void ClearTraySlot(int slot, int ms);
    void ScoreMatch(MjTile* last);
    int TilePoints(int type);
    bool CanTrayTileMatch(MjTile* tile);
    void BlinkTilesOfType(int type, int maxCount, int times);
    bool AllYinYangFree();
    void LockBoardInput(bool resetPowers);
    void LoadTileSet(int n);
    // Takes the last closed move back; false when nothing (more) can be undone.
    bool Undo();

    // --- special tiles and powers
    bool RankPower(MjTile* power, MjTile* target);
    void Clone(MjTile* power, MjTile* source, MjTile* target);
    void Swap(MjTile* power, MjTile* a, MjTile* b);
    void Magnet(MjTile* power, MjTile* target);
    void Fuse(MjTile* fuse, MjTile* brick);
    void Typhoon(MjTile* power, MjTile* target);
    void FlyTypeChange(MjTile* from, MjTile* tile, int type, int face);
    void CheckNoMoves(bool force);
    void EffectTick();
    bool DealMarksCleared();

    // --- input, cues and pause
    void PlayCue(const std::string& name, int channel);
    void ButtonClicked(int id, int value) override;
    void DialogButtonClicked(int dialogId, int itemId, int value) override;
    void Cue(CastMember* sender, int cue, int value) override;
    void KeyPressed(int key);
    void HideBoard(int reason);
    void ShowBoard(int reason);
    void CheckAutoPause();
    // After every frame, as CheckAutoPause: saves of the player's files that failed since the
    // last look are told in a popup that pauses the board as the pause popup does, once the
    // board is in play with no dialog over it.
    void TellSaveFailures();
    void HideButtons();
    void HideBoardSprites();
    void FadeInBoardButtons();
    void HideTimerSprites();
    void ShowTimerSprites();
    void NextBoard();
    void EndOfBoard(int code);
    void ShowCongratulations();
    void ShowHelpText();
    void KeepTypes(int count);

    // --- game-flow events
    void StateReached(CastMember* sender, int state, int value) override;
    void CollectBonusTiles();

    // --- heads-up display, timer and hint label
    MjTextLabel* MakeLabel(const std::string& section, const std::string& text, int priority, int x,
                           int y);
    void AddToScore(int delta);
    void AddToTotal(int delta);
    void RefreshFreeCount();
    void UpdateHintLabel();
    void CreateTimer();

    // --- progress and high-score records
    void SelectPuzzle(int puzzle);
    void RecordBoard();
    // A board's records as they are shown: the shared high score with its holder, and the
    // player's own best, which is written first and so can be newer than the shared file.
    struct BoardRecords
    {
        int high = 0;
        std::string holder;
        int best = 0;
        bool fromBest = false; // the high score is the player's best, newer than the shared file
    };
    BoardRecords ReadBoardRecords(const std::string& key);
    void AddLives(int delta);

    // --- selection screens, modes, scenes and the progress map
    void ShowSelectionScreen(int choice);
    void LeaveSelectionScreen(bool resume);
    void MakeSelectionCell(int column, int row, int x, int y);
    void DrawSelectionBackground();
    // The six mode tiles (boards kind outside the quest) and the mode help lines; made when the
    // selection screen is built, handed back when it is left.
    void MakeModeControls();
    void ShowBestPanel(int x, int y, int lineHeight);
    void ShowSceneText(int x, int y, int lineHeight);
    // Moves a label so that its text box is centred on the sprite (a nameplate or plate); a
    // missing label or sprite is left alone.
    static void CentreOnPlate(MjTextLabel* label, CastMember* plate);
    void ShowModeText(MjTile* tile, bool entering, int unused1, int unused2);
    void SetSceneChoice(int scene);
    void BuildSpiritMap(int board);
    void ShowMapTexts();
    // The scene's fade-series backgrounds become the game's stage background.
    void SceneBackgroundReady(Image* picture) override;

    static MjClassicShared& Shared();
    // Show or hide a sprite the screen may not have made.
    static void ShowIf(CastMember* sprite);
    static void HideIf(CastMember* sprite);
    // Makes the tile sprites of the board's grids.
    static MjTileFactory* TileFactory();

    // The screen's data: every source of the screen reads and writes it directly.
    MjMoves* _moves = nullptr; // owned
    int _tileSpriteCount = 0;
    int _bonusLifeEarned = 0;
    int _losses = 0;
    int _groupCounter = 0;
    int _noMovesMark = 0;
    int _yinYangMatched = 0;
    int _spritesReleased = 0;
    int _skipArrival = 0;
    int _extraLives = 0;
    int _inPlay = 0;
    int _matchState = 0;
    int _pageReady = 0;
    int _highestGameReached = -1;
    int _skipFlag = 0;
    bool _quest = false;
    bool _firstBoard = true;
    MjClassicConfig* _config; // not owned
    ConfigFile* _scenesFile = nullptr;
    ConfigFile* _modesFile = nullptr;
    ConfigFile* _puzzlesFile = nullptr;
    ConfigFile* _spiritMapFile = nullptr;
    ConfigFile* _heroFile = nullptr;
    ConfigFile* _progressFile = nullptr;
    ConfigFile* _highScoresFile = nullptr;
    std::string _playerName;
    MjTile* _mapRollSprite = nullptr;
    ImageResource* _mapRollSheet = nullptr;
    CastMember* _mapSprites[kMapSprites] = {};
    ImageResource* _spiritMapSheet = nullptr;
    CastMember* _mapExtraSprite = nullptr;
    Image* _mapLevelImages[kMapLevelImages] = {};
    Image* _mapStepImages[kMapStepImages] = {};
    Image* _spiritMapImage = nullptr;
    Image* _cellImages[kCellImages] = {};
    Image* _cellBrightImages[kCellImages] = {};
    Image* _cellDarkImage = nullptr;
    Image* _smallFancyImage = nullptr;
    Image* _miniOneTileImage = nullptr;
    int _previewTileSet = 0;
    int _spiritSpeed = 100;
    int _spiritStep = 0;
    int _buttonsDisabled = 0;
    int _replayRun = 0;
    int _replayRunStart = 0;
    int _replayRunEnd = 0;
    int _matchCounter = 0;
    Framework* _framework; // not owned
    Cast* _cast = nullptr; // not owned
    std::string _layoutFile;
    MjLayout* _layout = nullptr; // owned
    ZorvyAnimation* _scene = nullptr;
    MjTileSet _tileSets[kTileSets];
    int _tileSetIndex = 0;
    int _puzzleTileSet = 0;
    Image* _oneTileImage = nullptr;
    ImageResource* _miniTileGrid = nullptr;
    Image* _timerBonusImage = nullptr;
    ImageResource* _rimSheet = nullptr;
    MjTile* _modeTiles[kModeTiles] = {};
    int _hoveredMode = -1;
    ImageResource* _modesSheet = nullptr;
    Image* _darkTilesImage = nullptr;
    int _previewDeal = 0;
    CastMember* _cellSprites[4][9] = {};
    MjTextLabel* _infoLines[kInfoLines] = {};
    MjTextLabel* _modeTextLines[kInfoLines] = {};
    int _cellsPerPage = 0;
    int _selectionKind = 0;
    std::string _selectionTitle;
    Font* _fonts[kFonts] = {};
    Image* _highlightImage = nullptr;
    MjTile* _selected[kSelectionSlots] = {};
    MjTile* _lastTile = nullptr;
    // [0] the fuse, [1] and [2] the quest's smoke and ember.
    CastMemberImage* _timerSprites[3] = {};
    Image* _timerResource = nullptr; // the fuse sheet
    // [0] step count, [1] 1 while the timer runs, [2] the time bonus of a won board.
    int _timerValues[3] = {};
    CastMemberImage* _timerEndSprite = nullptr;
    CastMemberImage* _timerBonusSprite = nullptr;
    CastMemberImage* _rimTop = nullptr;
    CastMemberImage* _rimBottom = nullptr;
    CastMemberImage* _questTopBar = nullptr;
    CastMemberImage* _questBottomBar = nullptr;
    Image* _topImage = nullptr;    // the quest bar sprites own it in the quest
    Image* _bottomImage = nullptr; // likewise
    CastMemberImage* _traySprite = nullptr;
    CastMemberImage* _caseSprite = nullptr;
    CastMemberImage* _caseOnTopSprite = nullptr;
    CastMemberImage* _replayModeSprite = nullptr;
    int _caseOnTopX = 0;
    CastMemberImage* _firecrackerSprite = nullptr;
    MjTextLabel* _titleText = nullptr;
    MjTextLabel* _titleText2 = nullptr;
    MjTextLabel* _scoreText = nullptr;
    MjTextLabel* _bonusText = nullptr;
    MjTextLabel* _livesText = nullptr;
    MjTextLabel* _scoreTotText = nullptr;
    MjTextLabel* _matchesLeftText = nullptr;
    MjTextLabel* _scoreTimeText[kScoreTimes] = {};
    ImageResource* _specialSheets[kSpecialTypes] = {}; // by tile type - 42
    int _puzzle = 0;
    int _puzzleCount = kDefaultPuzzleCount;
    int _lives = kDefaultLives;
    int _sceneChoice = kDefaultSceneChoice;
    MjBoardSettings* _settings = nullptr; // owned
    int _firstPressDone = 0;
    int _seed = 0;
    int _boardScore = 0;
    int _recordValues[2] = {}; // previous high score and previous best of the board
    int _score = 0;
    int _shadowWidth = 0;
    int _puzzleNumber = 1;
    int _showExtra = 0;
    int _fadeInSpeed = 2500;
    int _rightPressSelect = 0;
    int _buttonLock = 0;
    int _playMode = 0;
    // The puzzle description of the board (solvable, difficulty, match size, time, seed and
    // flags).
    MjPuzzleRules _rules;
    int _cheatMode = 0;
    // The deal, with the working copy of "harder"; owned.
    MjDeal* _deal = nullptr;
    int _selectedCount = 0;
    int _cueReady = 0;
    int _debugKey = 0;
    bool _undoPossible = false;
    Music* _music[kMusics] = {};
    int _freePairs = -1;
    bool _sceneLoading = false;
    int _fastTest = 0;
    MjPopupPointsLook* _pointsLook = nullptr; // not owned
    CastMemberButton* _pauseButton = nullptr;
    CastMemberButton* _hintButton = nullptr;
    CastMemberButton* _undoButton = nullptr;
    CastMemberButton* _replayButton = nullptr;
    CastMemberButton* _newGameButton = nullptr;
    CastMember* _selectionSprites[5] = {};
    // Bonus tiles still on their way into the case; the last one to arrive ends the board.
    int _bonusTilesFlying = 0;
    // The step of the end-of-board animation of the Yin-Yang tiles.
    int _endAnimationStep = 0;

private:
    static int ConfigInt(ConfigFile* file, const std::string& section, const std::string& key,
                         int defaultValue);
    static std::string ConfigText(ConfigFile* file, const std::string& section,
                                  const std::string& key, const std::string& defaultValue);
    MjGameScript* GameScript() const;
    CastMemberButton* MenuButton() const;
    void OpenProgressFile();
    void LoadFonts();
    void LoadTileImages();
    void LoadMiniTiles();
    // The strip of "size" frames named by "img" of a look section; null (and a log line) when
    // the section gives no size or the picture cannot be read.
    ImageResource* LoadAnimationStrip(const std::string& section, const std::string& defaultImage);
    void LoadSpecialSheets();
    CastMemberImage* MakeLookSprite(const std::string& section, int frames, int priority);
    void MakeQuestSprites();
    CastMemberButton* MakeButton(int id, const std::string& image, const Point& pos);
    void MakeButtons();
    void MakeFrame();
    // The chooser's cell, nameplate and mode pictures: loaded while the chooser shows (a second
    // call keeps what is loaded), released once it is gone.
    void LoadSelectionImages();
    void ReleaseSelectionImages();
    void SanityFileCheck();
    void SanityTable();
    // Counts the grid's origin cells for the puzzle-set check before a deal.
    void CountForSanity();
    void ReleaseLabels();
    // The stage deletes the sprite at the end of the frame (without a stage it goes now); the
    // member is cleared.
    template <class T> void HandBack(T*& sprite)
    {
        if (_cast != nullptr) {
            _cast->SafeDelete(sprite);
        } else {
            delete sprite;
        }
        sprite = nullptr;
    }
    void SetBoardButtonsEnabled(bool enabled);
    // The face-hiding switch (and in the scrambling mode the scramble state) from the play mode
    // and the new grid.
    void ApplyPlayMode();
    // Every active tile on the grid.
    void SetBoardTilesShown(bool shown);
    // Calls visit with every origin cell of the grid, in scan order (column, row, layer).
    void ForEachOriginCell(const std::function<void(int i, int j, int k, MjCell& cell)>& visit);
    ImageResource* SpecialSheet(int type) const;
    // The press handler's steps.
    int MatchSize() const;
    void RefuseTile();
    void StartBoardClock();
    bool DispatchPower(MjTile* power, MjTile* target, int button);
    void MakeMatch(MjTile* target);
    void AfterMatch();
    void ShowQuestPopup(const std::string& name, int x, int y);
    void ShowPoints(const std::string& text, int x, int y);
    // Tiles sent off the grid on this board: they leave the stage with the board or the screen,
    // and only their landings count.
    void ForgetOffGridTile(MjTile* tile);
    void LeaveOffGridTiles();
    std::vector<MjTile*> _offGridTiles;

    // Input and game-flow steps.
    void RunDebugCommand(char command, int number, const std::string& text);
    // The selection screen's page, play, cancel and cell buttons (ids 113-116, 200-208).
    void SelectionButtonClicked(int id);
    void EndBoardNow();
    void AnswerNoMoves(int itemId, int value);
    bool GameFlowState(CastMember* sender, int state, int value);
    void StartPlay();
    void OpenBoard();
    void OpeningDone();
    void ClockStep();
    void BoardWonPoll();
    void ScrambleStep(MjTile* tile);

    // The quest's scenes and map.
    // The quest's intro before board 0; false (nothing done) in every other case.
    bool QuestSceneStep();
    // The next board of a replay run, or its end on the selection screen.
    void ReplayRunStep();
    // Blocks while the scene loader loads, at most kSceneLoaderWaitMs of the engine's clock;
    // false (and a log line) when it was still loading then.
    bool WaitForSceneLoader(const char* where);
    void MapCloseStep();

    // The quest's board flow.
    bool QuestFlowState(CastMember* sender, int state, int value);
    // At the start of play: the scene animation loaded meanwhile is put away (the music fades in
    // when fadeInMusic is set) and the next one starts loading.
    void QuestSceneHandOver(int fadeInMusic);
    void OpeningCaseStep(int state);
    void TimeUp();
    void YinYangToTray();
    void TileBesideArrived(MjTile* tile);
    void EndAnimationStep(MjTile* tile);
    void BonusTileArrived(MjTile* tile);
    void MapOpenStep();
    // A quest board whose finish is over: back to the chooser for a board picked there, else on
    // to its scene and the next board.
    void EndQuestBoard();
};
