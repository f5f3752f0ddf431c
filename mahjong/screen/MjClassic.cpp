// MjClassic: construction, teardown, the frame sprites and the puzzle-set check.
#include "mahjong/screen/MjClassic.h"

#include "framework/core/ConfigFile.h"
#include "framework/core/File.h"
#include "framework/core/Framework.h"
#include "framework/core/MultiType.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/media/Music.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/app/MjGameScript.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/scene/ZorvyAnimation.h"
#include "mahjong/screen/MjClassicConfig.h"

namespace {

const char* const kMusicFiles[MjClassic::kMusics] = {
    "audio/M_MenuMusic.ogg", "audio/M_MournfulMusic.ogg", "audio/M_ActionMusic.ogg",
    "audio/M_BGMusic.ogg"};

// The preset codes counted by the puzzle-set check, in the order of its table's columns.
constexpr int kSanityColumns[] = {MjTileTypes::kDownType,       MjTileTypes::kUpType,
                                  MjTileTypes::kWandType,       MjTileTypes::kCloneType,
                                  MjTileTypes::kTyphoonType,    MjTileTypes::kSwapperType,
                                  MjTileTypes::kFuseType,       MjTileTypes::kMagnetType,
                                  MjTileTypes::kDeepMagnetType, MjTileTypes::kJadeYinYangType};

constexpr int kHighlightAlpha = 64;
constexpr int kMiniTileWidth = 15;
constexpr int kMiniTileHeight = 19;
constexpr int kMiniFaceOffsetY = 2;
constexpr int kCaseOnTopOffsetX = 4;

template <class T> void DeleteAll(T* items, int count)
{
    for (int n = 0; n < count; ++n) {
        delete items[n];
        items[n] = nullptr;
    }
}

} // namespace

MjClassicShared& MjClassic::Shared()
{
    static MjClassicShared shared;
    return shared;
}

int MjClassic::ConfigInt(ConfigFile* file, const std::string& section, const std::string& key,
                         int defaultValue)
{
    if (file == nullptr) {
        return defaultValue;
    }
    return ConfigFile::AsInt(file->Value(section, key, static_cast<double>(defaultValue), true));
}

std::string MjClassic::ConfigText(ConfigFile* file, const std::string& section,
                                  const std::string& key, const std::string& defaultValue)
{
    if (file == nullptr) {
        return defaultValue;
    }
    return static_cast<std::string>(file->Value(section, key, defaultValue, true));
}

MjGameScript* MjClassic::GameScript() const
{
    if (_framework == nullptr || _framework->_animationManager == nullptr) {
        return nullptr;
    }
    return dynamic_cast<MjGameScript*>(_framework->_animationManager->GetScript());
}

CastMemberButton* MjClassic::MenuButton() const
{
    MjGameScript* script = GameScript();
    return script != nullptr ? script->GetMenuButton() : nullptr;
}

MjClassic::MjClassic(Framework* framework, MjClassicConfig* config)
    : Debug("MjClassic"), _config(config), _framework(framework)
{
    // What a new screen must not inherit from the one before.
    MjClassicShared& shared = Shared();
    shared.scrambleState = 0;
    shared.scrambleTime = 0;
    shared.selectableLimit = 0;
    shared.pageFirst = 0;
    shared.pageEnd = 0;
    shared.previewIndex = 0;
    shared.faceHiding = 0;
    for (MjTile*& slot : shared.traySlots) {
        slot = nullptr;
    }
    shared.savedBoard = -1;
    shared.savedPlayMode = -1;
    _spritesReleased = 0;

    if (_framework != nullptr && _framework->_animationManager != nullptr) {
        _cast = _framework->_animationManager->GetCast();
    }
    _moves = new MjMoves();
    _deal = new MjDeal();

    const int type = _config->_type;
    _puzzlesFile =
        new ConfigFile(MjClassicConfig::PuzzleSetFile(_config->_puzzles), false, false, false);
    _spiritMapFile = new ConfigFile("cfg/SpiritMap.cfg", false, false, false);
    _puzzleCount = ConfigInt(_puzzlesFile, "puzzles", "max", kDefaultPuzzleCount);
    _heroFile = new ConfigFile("cfg/zorvy.cfg", false, false, false);
    _showExtra = ConfigInt(_puzzlesFile, "puzzles", "showExtra", 0);
    for (int n = 0; n < kMusics; ++n) {
        _music[n] = Music::LoadMusic(kMusicFiles[n]);
    }
    OpenProgressFile();
    _highScoresFile = new ConfigFile("HighScores.cfg", false, false, false);
    _highScoresFile->MarkAsPlayerData();
    _quest = type == kQuestType;
    if (_quest) {
        _scenesFile = new ConfigFile("cfg/movie.cfg", false, false, false);
        _scene = new ZorvyAnimation(_heroFile, GameScript());
        _scene->SetBackgroundListener(this);
    } else {
        _scenesFile = new ConfigFile("cfg/scenes.cfg", false, false, false);
        _modesFile = new ConfigFile("cfg/modes.cfg", false, false, false);
    }
    _firstBoard = true;
    _highestGameReached = ConfigInt(_progressFile, "global", "highestGameReached", -1);
    _losses = ConfigInt(_progressFile, "global", "losses", 0);
    _sceneChoice = ConfigInt(_progressFile, "global", "scenechoice", kDefaultSceneChoice);
    if (_sceneChoice < 0 || _sceneChoice > kDefaultSceneChoice) {
        // A value the chooser never writes: the scene that changes with every board.
        _sceneChoice = kDefaultSceneChoice;
    }
    _shadowWidth = _config->_shadowW;
    LoadFonts();

    _titleText = MakeLabel("TitleText", " ", kLabelPriority, -1, -1);
    _livesText = MakeLabel("LivesText", "0", kLabelPriority, -1, -1);
    _scoreText = MakeLabel("ScoreText", "0", kLabelPriority, -1, -1);
    _bonusText = MakeLabel("BonusText", "0", kLabelPriority, -1, -1);
    for (int n = 0; n < kScoreTimes; ++n) {
        _scoreTimeText[n] =
            MakeLabel("ScoreTime" + std::to_string(n + 1), "0", kLabelPriority, -1, -1);
    }
    _scoreTotText = MakeLabel("ScoreTotText", "0", kLabelPriority, -1, -1);
    _matchesLeftText = MakeLabel("MatchesLeft", "0", kLabelPriority, -1, -1);
    if (_bonusText != nullptr) {
        _bonusText->Hide();
    }

    _score = ConfigInt(_progressFile, "global", "score", 0);
    _lives = ConfigInt(_progressFile, "global", "lives", kDefaultLives);
    SelectPuzzle(ConfigInt(_progressFile, "global", "game", 0));
    if (!_quest) {
        _highestGameReached = _puzzleCount;
    }
    const int sanity = ConfigInt(_puzzlesFile, "puzzles", "sanity", 0);
    if (sanity != 0) {
        SanityFileCheck();
    }

    _settings = new MjBoardSettings();
    _settings->origin = _config->_boardPos;
    _settings->columns = 2 * _config->_maxI;
    _settings->rows = 2 * _config->_maxJ;
    _settings->layers = _config->_maxK;
    _settings->tileWidth = _config->_tileW;
    _settings->tileHeight = _config->_tileH;
    _settings->tileBorder = _config->_tileBorder;

    _fadeInSpeed = ConfigInt(_config, "game", "fadeInSpeed", _fadeInSpeed);
    _tileSetIndex = 0;
    _pointsLook = _config->_popupPoints;
    LoadTileImages();
    LoadMiniTiles();
    LoadSpecialSheets();
    if (_quest) {
        MakeQuestSprites();
    }
    _highlightImage = new Image("images/HighLight.png", nullptr);
    // Its rounded corners are its colour key, as the shade's.
    _highlightImage->UseTransparency(true, false);
    _highlightImage->SetAlpha(kHighlightAlpha);
    MakeButtons();
    // The scene animation behind the quest's boards is made by the scene code once it exists;
    // until then every screen takes the plain background.
    if (type == kTimedType) {
        _titleText2 = MakeLabel("TitleText2", " ", kLabelPriority, -1, -1);
    }
    _matchCounter = 0;
    AddToTotal(0);
    MakeFrame();
    HideBoardSprites();
    if (sanity == 2) {
        SanityTable();
    }
    MjTile::SetMagnetSprites(new Image("images/mj_v_line.gif", nullptr),
                             new Image("images/mj_h_line.gif", nullptr));
    _spiritSpeed = ConfigInt(_config, "spirit", "speed", _spiritSpeed);
    if (!_quest || _puzzle != 0) {
        FadeInBoardButtons();
    }
    _undoPossible = false;
    SetBoardButtonsEnabled(false);
    _timerBonusImage = new Image("images/MiniTimerBonus.png", nullptr);
    _selectionKind = 0;
    LoadSelectionImages();
    _playMode = 0;
}

void MjClassic::OpenProgressFile()
{
    std::string name;
    if (_framework != nullptr) {
        name = _framework->GetPlayerFileName();
        _playerName = _framework->GetPlayerName();
    }
    name += std::to_string(_config->_type);
    // A new player's progress file is made empty, so that the reader finds a file (and makes
    // its scrambled twin from it) instead of logging a missing one; the empty plain file is
    // removed again once read. Only a name with nothing under it: a file there that cannot be
    // read is never opened for writing.
    const bool probe = !File::Exists(name);
    if (probe) {
        File empty(name);
        empty.OpenW();
        empty.Close();
    }
    _progressFile = new ConfigFile(name, false, false, false);
    _progressFile->MarkAsPlayerData();
    if (probe) {
        File::Delete(name.c_str());
    }
}

void MjClassic::LoadFonts()
{
    for (int n = 0; n < kFonts; ++n) {
        const std::string section = "font" + std::to_string(n);
        const int size = ConfigInt(_config, section, "size", 0);
        if (size == 0 && n != 0) {
            continue;
        }
        _fonts[n] =
            new Font(ConfigText(_config, section, "name", "fonts/MahJongNum.ttf"),
                     size != 0 ? size : kDefaultFontSize, ConfigInt(_config, section, "style", 0));
    }
}

void MjClassic::LoadTileImages()
{
    _oneTileImage = new Image("images/mj_one_tile.png", nullptr);
    auto* dark = new ImageResource(_quest ? "images/mj_standard_tile_dark.jpg"
                                          : "images/MjClassicTiles_V2_Darker.jpg",
                                   MjTileSet::kColumns, MjTileSet::kRows, nullptr);
    _darkTilesImage = new Image(dark, 0, 0, 1);
    for (int n = 0; n < kTileSets; ++n) {
        const std::string section = "tileset" + std::to_string(n + 1);
        MjTileSet& set = _tileSets[n];
        set.img = ConfigText(_config, section, "img", "images/mj_standard_tile.jpg");
        set.posOneTile = ConfigInt(_config, section, "pos_onetile", 0);
        set.posX = ConfigInt(_config, section, "pos_x", 8);
        set.posY = ConfigInt(_config, section, "pos_y", 0);
        set.shadow = ConfigInt(_config, section, "shadow", 0);
        set.sheet = new ImageResource(MjTileSet::kColumns * MjTileSet::kCellWidth,
                                      MjTileSet::kRows * MjTileSet::kCellHeight,
                                      MjTileSet::kColumns, MjTileSet::kRows);
        set.faceSheet = nullptr;
        LoadTileSet(n);
    }
}

void MjClassic::LoadMiniTiles()
{
    _miniTileGrid =
        new ImageResource(MjTileSet::kColumns * kMiniTileWidth, MjTileSet::kRows * kMiniTileHeight,
                          MjTileSet::kColumns, MjTileSet::kRows);
    _miniOneTileImage = new Image("images/MiniOneTile.png", nullptr);
    ImageResource faces(_quest ? "images/MiniStandardTiles.png" : "images/MiniClassic.png",
                        MjTileSet::kColumns, MjTileSet::kRows, nullptr);
    Image face(&faces, 0, 0, 0);
    for (int c = 0; c < MjTileSet::kColumns; ++c) {
        for (int r = 0; r < MjTileSet::kRows; ++r) {
            _miniTileGrid->CopyIntoGrid(c, r, _miniOneTileImage, 0, 0);
            face.SetFrame(c, r);
            _miniTileGrid->CopyIntoGrid(c, r, &face, 0, kMiniFaceOffsetY);
        }
    }
    _previewDeal = 0;
}

ImageResource* MjClassic::LoadAnimationStrip(const std::string& section,
                                             const std::string& defaultImage)
{
    const int frames = ConfigInt(_config, section, "size", 0);
    if (frames == 0) {
        return nullptr;
    }
    const std::string file = ConfigText(_config, section, "img", defaultImage);
    auto* strip = new ImageResource(file, frames, 1, nullptr);
    if (!strip->IsLoaded()) {
        // A strip without frames would give every user of it nothing to draw.
        DebugVar(-1, "No animation in section %s: %s cannot be used", section.c_str(),
                 file.c_str());
        delete strip;
        return nullptr;
    }
    return strip;
}

void MjClassic::LoadSpecialSheets()
{
    for (int type = kFirstSpecialType; type < kFirstSpecialType + kSpecialTypes; ++type) {
        if (type != kNoAnimationType) {
            _specialSheets[type - kFirstSpecialType] =
                LoadAnimationStrip("special" + std::to_string(type), "");
        }
    }
    ImageResource* firecracker = LoadAnimationStrip("firecracker2", "0");
    if (firecracker != nullptr) {
        _firecrackerSprite =
            new CastMemberImage(_cast, new Image(firecracker, 0, 0, 1), 0, 0, 0, 1);
        _firecrackerSprite->Hide();
        _firecrackerSprite->UseTransparency(true);
    }
    for (MjTile*& tile : _selected) {
        tile = nullptr;
    }
    _selectedCount = 0;
}

// A still sprite of the image named by "img" at "pos" of a look section; it owns its picture.
CastMemberImage* MjClassic::MakeLookSprite(const std::string& section, int frames, int priority)
{
    const std::string file = ConfigText(_config, section, "img", "0");
    const Point pos = _config->ValueAsPoint(section, "pos", Point(0, 0));
    auto* sheet = new ImageResource(file, frames, 1, nullptr);
    auto* sprite =
        new CastMemberImage(_cast, new Image(sheet, 0, 0, 1), pos.GetX(), pos.GetY(), priority, 1);
    sprite->AllowInput(false);
    return sprite;
}

void MjClassic::MakeQuestSprites()
{
    _caseSprite = MakeLookSprite("case", ConfigInt(_config, "case", "frames", 3), kFramePriority);
    _caseSprite->UseTransparency(true);
    // The lid and the banner are drawn on the key colour of their corners, like the case.
    _caseOnTopSprite = MakeLookSprite("case_on_top", 1, kCaseOnTopPriority);
    _caseOnTopSprite->UseTransparency(true);
    _caseOnTopSprite->Hide();
    _caseOnTopX = _caseOnTopSprite->GetX() + kCaseOnTopOffsetX;
    _replayModeSprite = MakeLookSprite("replay_mode", 1, kReplayModePriority);
    _replayModeSprite->UseTransparency(true);
    _replayModeSprite->Hide();
}

CastMemberButton* MjClassic::MakeButton(int id, const std::string& image, const Point& pos)
{
    auto* button = new CastMemberButton(_cast, id, pos.GetX(), pos.GetY(), kFramePriority,
                                        new ImageResource(image, kButtonLooks, 1, nullptr));
    button->SetButtonListener(this);
    button->UseTransparency(true);
    return button;
}

void MjClassic::MakeButtons()
{
    _hintButton = MakeButton(kHintId, _config->_hintImg, _config->_hintPos);
    _undoButton = MakeButton(kUndoId, _config->_undoImg, _config->_undoPos);
    _undoButton->SetEnabled(false);
    _replayButton = MakeButton(kReplayId, _config->_replayImg, _config->_replayPos);
    _pauseButton = MakeButton(kPauseId, _config->_pauseImg, _config->_pausePos);
    if (!_quest) {
        _newGameButton = MakeButton(kNewGameId, _config->_newGameImg, _config->_newGamePos);
    }
}

void MjClassic::MakeFrame()
{
    _rimSheet = new ImageResource(ConfigText(_config, "rim", "img", ""), 1, 1, nullptr);
    {
        // Each rim sprite draws its own copy from the sheet.
        Image rim(_rimSheet, 0, 0, 0);
        _rimBottom = new CastMemberImage(_cast, &rim, 0, ConfigInt(_config, "rim", "bottom", 0),
                                         kFramePriority, 0);
        _rimTop = new CastMemberImage(_cast, &rim, 0, ConfigInt(_config, "rim", "top", 0),
                                      kFramePriority, 0);
    }
    _topImage = new Image(_config->_topImg, nullptr);
    _bottomImage = new Image(_config->_bottomImg, nullptr);
    if (_quest) {
        // The bars take the two images over.
        _questTopBar = new CastMemberImage(_cast, _topImage, 0, 0, kQuestBarPriority, 1);
        _questBottomBar =
            new CastMemberImage(_cast, _bottomImage, 0, kBottomBarY, kQuestBarPriority, 1);
    }
    _traySprite = new CastMemberImage(_cast, new Image(_config->_thirdImg, nullptr),
                                      _config->_thirdPos.GetX(), _config->_thirdPos.GetY(),
                                      kFramePriority, 1);
}

void MjClassic::LoadSelectionImages()
{
    if (_cellDarkImage != nullptr) {
        return;
    }
    for (int n = 0; n < kCellImages; ++n) {
        if (n == kCentrePlace) {
            continue;
        }
        _cellImages[n] = new Image("images/MiniBackground.png", nullptr);
        _cellBrightImages[n] = new Image("images/MiniBackgroundBright.png", nullptr);
    }
    _cellDarkImage = new Image("images/MiniBackgroundDark.png", nullptr);
    _smallFancyImage = new Image("images/SmallFancy.png", nullptr);
    _modesSheet = new ImageResource("images/Modes.png", kModeTiles, kModeSheetRows, nullptr);
}

void MjClassic::ReleaseSelectionImages()
{
    for (MjTile* tile : _modeTiles) {
        if (tile != nullptr) {
            // A mode tile still up draws its frames from the sheet.
            return;
        }
    }
    delete _cellDarkImage;
    _cellDarkImage = nullptr;
    delete _smallFancyImage;
    _smallFancyImage = nullptr;
    DeleteAll(_cellImages, kCellImages);
    DeleteAll(_cellBrightImages, kCellImages);
    delete _modesSheet;
    _modesSheet = nullptr;
}

void MjClassic::SanityFileCheck()
{
    for (int n = 0; n <= _puzzleCount; ++n) {
        _layoutFile =
            ConfigText(_puzzlesFile, MjPuzzleRules::SectionName(n), "layout", "dontexist");
        File file(_layoutFile);
        if (file.OpenR()) {
            DebugVar(0, "Good File = %s", _layoutFile.c_str());
            file.Close();
        } else {
            DebugVar(0, "Missing File = %d %s", n, _layoutFile.c_str());
        }
    }
}

void MjClassic::SanityTable()
{
    MjClassicShared& shared = Shared();
    SetName("");
    shared.sanity = 1;
    DebugVar(0, "-- ++ == CL VO SW FC MG CS YY TOT BLANK");
    for (int n = 0; n <= _puzzleCount; ++n) {
        SelectPuzzle(n);
        SetupBoard(kReasonSanity, 0, kStartCheck, "");
        DebugVar(0, "%42s-%s", "", shared.text.c_str());
        const int* c = shared.sanityCounts;
        const int free = _layout != nullptr ? _layout->UpdateFree() : 0;
        DebugVar(0, "%2d %2d %2d %2d %2d %2d %2d %2d %2d %2d %3d %3d (%2d)-%s",
                 c[kSanityColumns[0]], c[kSanityColumns[1]], c[kSanityColumns[2]],
                 c[kSanityColumns[3]], c[kSanityColumns[4]], c[kSanityColumns[5]],
                 c[kSanityColumns[6]], c[kSanityColumns[7]], c[kSanityColumns[8]],
                 c[kSanityColumns[9]], c[MjClassicShared::kSanityTileCells],
                 c[MjClassicShared::kSanityBlankCells], free, _layoutFile.c_str());
        Debug::DebugFlush();
    }
    shared.sanity = 0;
    SetName("MjClassic");
}

void MjClassic::ReleaseSprites()
{
    if (_spritesReleased != 0) {
        return;
    }
    _spritesReleased = 1;
    if (_quest && _progressFile != nullptr) {
        if (_lives + _extraLives == 0) {
            _lives = kDefaultLives;
            _score = 0;
        }
        _progressFile->Write("global", "score", _score);
        _progressFile->Write("global", "lives", _lives + _extraLives);
        _progressFile->Flush();
    }
    // Tiles on their way to the tray must not report to a screen that is going.
    LeaveOffGridTiles();
    // The grid takes its tiles off the stage.
    delete _layout;
    _layout = nullptr;
    // Tiles that left the grid for the tray are the screen's to hand back; those the grid
    // still held have just left the stage.
    for (MjTile*& slot : Shared().traySlots) {
        if (slot != nullptr && _cast != nullptr && _cast->Contains(slot)) {
            slot->Leave();
        }
        slot = nullptr;
    }
    // The screen is the stage's only input catcher, and it is going.
    if (_cast != nullptr) {
        _cast->SetInputCatcher(nullptr);
    }
    for (CastMemberButton** button :
         {&_pauseButton, &_hintButton, &_undoButton, &_replayButton, &_newGameButton}) {
        HandBack(*button);
    }
    ReleaseLabels();
    HandBack(_timerEndSprite);
    for (CastMemberImage*& sprite : _timerSprites) {
        HandBack(sprite);
    }
    delete _timerResource;
    _timerResource = nullptr;
    HandBack(_timerBonusSprite);
    HandBack(_mapRollSprite);
    for (CastMember*& sprite : _mapSprites) {
        HandBack(sprite);
    }
    HandBack(_mapExtraSprite);
    for (CastMemberImage** sprite : {&_replayModeSprite, &_caseOnTopSprite, &_caseSprite,
                                     &_questTopBar, &_questBottomBar, &_rimTop, &_rimBottom}) {
        HandBack(*sprite);
    }
    if (!_quest) {
        // Outside the quest no sprite shows them; in the quest the bars owned them.
        delete _topImage;
        delete _bottomImage;
    }
    _topImage = nullptr;
    _bottomImage = nullptr;
    for (auto& row : _cellSprites) {
        for (CastMember*& sprite : row) {
            HandBack(sprite);
        }
    }
    for (CastMember*& sprite : _selectionSprites) {
        HandBack(sprite);
    }
    for (MjTile*& tile : _modeTiles) {
        HandBack(tile);
    }
    HandBack(_firecrackerSprite);
    HandBack(_traySprite);
    MjTile::SetMagnetSprites(nullptr, nullptr);
}

void MjClassic::ReleaseLabels()
{
    // Labels never delete themselves, and each would report to this screen.
    for (MjTextLabel** label : {&_scoreText, &_livesText, &_scoreTotText, &_matchesLeftText,
                                &_titleText, &_titleText2, &_bonusText}) {
        HandBack(*label);
    }
    for (MjTextLabel*& label : _scoreTimeText) {
        HandBack(label);
    }
    for (MjTextLabel*& label : _infoLines) {
        HandBack(label);
    }
    for (MjTextLabel*& label : _modeTextLines) {
        HandBack(label);
    }
}

MjClassic::~MjClassic()
{
    ReleaseSprites();
    delete _modesSheet;
    delete _darkTilesImage;
    delete _settings;
    for (MjTileSet& set : _tileSets) {
        delete set.sheet;
        set.sheet = nullptr;
        delete set.faceSheet;
        set.faceSheet = nullptr;
    }
    DeleteAll(_music, kMusics);
    delete _oneTileImage;
    DeleteAll(_specialSheets, kSpecialTypes);
    delete _highlightImage;
    delete _puzzlesFile;
    delete _spiritMapFile;
    // The scene reads the hero file; it goes first.
    delete _scene;
    _scene = nullptr;
    delete _heroFile;
    delete _scenesFile;
    delete _modesFile;
    delete _moves;
    delete _deal;
    delete _progressFile;
    delete _highScoresFile;
    DeleteAll(_fonts, kFonts);
    delete _cellDarkImage;
    delete _smallFancyImage;
    DeleteAll(_cellImages, kCellImages);
    DeleteAll(_cellBrightImages, kCellImages);
    delete _miniTileGrid;
    delete _miniOneTileImage;
    delete _rimSheet;
    delete _timerBonusImage;
    DeleteAll(_mapStepImages, kMapStepImages);
    DeleteAll(_mapLevelImages, kMapLevelImages);
    delete _spiritMapImage;
    delete _mapRollSheet;
    delete _spiritMapSheet;
}
