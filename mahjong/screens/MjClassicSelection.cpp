// MjClassic: the selection screens (boards, movies, scenes): the page, its cells built one preview
// per step, paging, leaving, and the step that opens the game's first board on the chooser.

#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/core/TickSource.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberButton.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

namespace {

// The preview grid: three columns of three places, the centre place never a cell.
constexpr int kGridColumns = 3;
constexpr int kPlaces = 9;
constexpr int kCentrePlace = MjClassic::kCentrePlace;
// Rows of _cellSprites.
constexpr int kNormalRow = 0;
constexpr int kBrightRow = 1;
constexpr int kNameplateRow = 2;
constexpr int kLabelRow = 3;
// Entry of _cellImages and _cellBrightImages that holds the plain frame every place starts from.
constexpr int kPlainFrame = 9;
constexpr int kCellPriority = 1000000;
constexpr int kOpaque = 255;
constexpr int kMovieCellAlpha = 128;
constexpr int kSceneCellAlpha = 64;
// The miniature: 2 pixels per grid step, the board's centring origin scaled down.
constexpr int kMaxTileEntries = 20000;
constexpr int kTopBarHeight = 75;
constexpr int kMiniMarginX = 11;
constexpr int kMiniMarginY = 9;
constexpr int kMiniLowNudge = 2;
constexpr int kPictureInset = 6;
constexpr int kMiniStep = 2;
constexpr int kMiniBottomGap = 2;
// The panel: a skin of 3 x 3 frames; outside the boards panel it is centred on this height.
constexpr int kSkinFrames = 3;
constexpr int kPanelAreaHeight = 450;

// The page: where the cells start, their pitch and the nameplate's offset, and the row the
// buttons sit under.
constexpr int kBoardsPageCells = 8;
constexpr int kShortPageCells = 5;
constexpr int kBoardsPageRows = 3;
constexpr int kShortPageRows = 2;
constexpr int kBoardsButtonOffset = 1;
constexpr int kShortButtonOffset = 2;
// The boards page outside the quest starts this much lower, under the mode tiles.
constexpr int kBoardsPageDrop = 25;
// The quest's movies: three acts of five entries; scenes outside the quest: five.
constexpr int kMovieEntries = 15;
constexpr int kSceneEntries = 5;
constexpr int kActEntries = 5;
constexpr int kOutsideQuestSceneLimit = 5;
constexpr int kArrowsFromLimit = 5;
constexpr int kButtonPriority = 3;
constexpr int kPlatePriority = 1000000;
constexpr int kLeftArrowX = 99;
constexpr int kRightArrowX = 613;
constexpr int kPlayX = 262;
constexpr int kQuestMovieX = 265;
constexpr int kSceneMovieX = 252;
constexpr int kBoardsCancelX = 426;
constexpr int kQuestCancelX = 414;
constexpr int kSceneCancelX = 427;
constexpr int kPlateDx = 5;
constexpr int kPlateDy = -31;
constexpr int kPageTitleDx = -75;
constexpr int kPageTitleDy = 144;
constexpr int kCellLabelDx = -19;
constexpr int kCellLabelDy = 2;
constexpr int kCentreLabelX = 270;
constexpr int kCentreLabelDy = 2;
constexpr int kBestPanelDy = 18;
constexpr int kSceneTextDy = 13;
constexpr int kInfoLineHeight = 20;
// The best panel starts right under the centre nameplate; its lines are set closer than the
// scene text's so that the last one still ends above the level plate.
constexpr int kBestPanelGap = 1;
constexpr int kBestLineHeight = 17;
constexpr int kDefaultPanelWidth = 400;
// Entries of _selectionSprites.
constexpr int kRightArrowSlot = 0;
constexpr int kPlaySlot = 1;
constexpr int kLeftArrowSlot = 2;
constexpr int kCancelSlot = 3;
constexpr int kLevelPlateSlot = 4;
// SetupBoard's reasons and ShowBoard's: the game's first opening, a later one, a resumed board.
constexpr int kReasonFirstOpening = 2;
constexpr int kReasonOpening = 3;
constexpr int kShowAfterChoice = 15;

const Color kChosenColour(190, 228, 255, 255);
const Color kOtherColour(255, 212, 99, 255);

struct PageLayout
{
    Point pos;
    Point space;
    Point nameplate;
    int rows = kShortPageRows;
    int buttonOffset = kShortButtonOffset;
};

// Chooses the page for the screen's kind (cells per page and layout section) and reads it.
PageLayout ReadPageLayout(MjClassic& screen)
{
    PageLayout page;
    const bool boardsPage = !screen._quest && screen._selectionKind == 0;
    if (boardsPage) {
        screen._cellsPerPage = kBoardsPageCells;
        screen._selectionTitle = "replay8";
        page.rows = kBoardsPageRows;
        page.buttonOffset = kBoardsButtonOffset;
    } else {
        screen._cellsPerPage = kShortPageCells;
        screen._selectionTitle = "replay5";
    }
    ConfigFile* set = screen._puzzlesFile.get();
    if (set != nullptr) {
        page.pos = set->ValueAsPoint(screen._selectionTitle, "pos", Point(0, 0));
        page.space = set->ValueAsPoint(screen._selectionTitle, "space", Point(0, 0));
        page.nameplate = set->ValueAsPoint(screen._selectionTitle, "nameplate", Point(0, 0));
    }
    if (boardsPage) {
        // The cells, their labels and the buttons all start lower.
        page.pos = Point(page.pos.GetX(), page.pos.GetY() + kBoardsPageDrop);
    }
    return page;
}

// The first entry of the page that holds entry n (n >= 0).
int PageFirst(int n, int perPage)
{
    return perPage > 0 ? n - n % perPage : 0;
}

// One axis of a miniature: its start and, when it had to shrink, the scale of its steps.
struct Axis
{
    int start = 0;
    int span = 0;    // from the first tile's start to the last tile's start, as drawn
    int natural = 0; // the same at 2 pixels per grid step
    int Place(int offset) const
    {
        return natural > 0 && span != natural ? start + offset * span / natural : start + offset;
    }
};

// The start and span of a row of tiles of size tile whose first starts at start and whose last
// starts span later, kept within [low, high): unchanged when it fits, else moved in, and
// centred and shrunk when it is longer than the room.
Axis FitAxis(int start, int span, int tile, int low, int high)
{
    Axis axis;
    axis.natural = span;
    axis.span = span;
    axis.start = start;
    const int room = high - low;
    if (room <= tile) {
        axis.span = 0;
        axis.start = low;
        return axis;
    }
    if (span + tile > room) {
        axis.span = room - tile;
        axis.start = low;
        return axis;
    }
    if (axis.start < low) {
        axis.start = low;
    }
    if (axis.start + span + tile > high) {
        axis.start = high - span - tile;
    }
    return axis;
}

// The place of preview index p on a page of perPage cells; -1 when the page size gives none.
int PlaceOfPreview(int p, int perPage)
{
    if (perPage <= 0 || p < 0) {
        return -1;
    }
    int place = p % perPage;
    if (place >= kCentrePlace) {
        ++place;
    }
    return place < kPlaces ? place : -1;
}

} // namespace

void MjClassic::LoadPreviewBoard()
{
    MjClassicShared& shared = Shared();
    const int p = shared.previewIndex;
    // A page turn or leaving the screen may leave a step pending: it finds nothing to build.
    if (_previewDeal == 0 || p < shared.pageFirst || p >= shared.pageEnd) {
        return;
    }
    const PageLayout page = ReadPageLayout(*this);
    const int place = PlaceOfPreview(p, _cellsPerPage);
    if (place < 0) {
        _pageReady = 1;
        return;
    }
    const int column = place % kGridColumns;
    const int row = place / kGridColumns;
    const int x = page.pos.GetX() + page.space.GetX() * column;
    const int y = page.pos.GetY() + page.space.GetY() * row;
    // Entries past the set's last board or the last movie have nothing to show: a locked cell.
    const bool exists = _selectionKind == 0 ? p <= _puzzleCount : p < kMovieEntries;
    std::string title = " ";
    if (_selectionKind == 0) {
        const std::string section = MjPuzzleRules::SectionName(p);
        _previewTileSet = ConfigInt(_puzzlesFile.get(), section, "tileset", 0);
        if (exists && _layout != nullptr) {
            const int doubleMode = ConfigInt(_puzzlesFile.get(), section, "double", 0);
            _layoutFile = ConfigText(_puzzlesFile.get(), section, "layout", "puzzles/test.cfg");
            _layout->SetDoubleMode(doubleMode);
            _layout->Clear();
            _layout->Load(_layoutFile);
            DealTiles();
            title = _layout->Title();
        } else if (_layout != nullptr) {
            _layout->Clear();
        }
    } else {
        _previewTileSet = 0;
        if (exists) {
            title =
                ConfigText(_scenesFile.get(), "scene" + std::to_string(p + 1), "title", "No Title");
        }
    }
    MakeSelectionCell(column, row, x, y);
    if (auto* label = dynamic_cast<MjTextLabel*>(_cellSprites[kLabelRow][place])) {
        label->SetText(title);
    }

    CastMember* normal = _cellSprites[kNormalRow][place];
    CastMember* bright = _cellSprites[kBrightRow][place];
    if (normal != nullptr && bright != nullptr) {
        if (p == _puzzle) {
            normal->Hide();
            bright->Show();
            if (_selectionKind == 0 && _infoLines[0] != nullptr) {
                _infoLines[0]->SetText(title);
            }
        } else if (p > shared.selectableLimit || !exists) {
            static_cast<CastMemberImage*>(normal)->BlitInto(_cellDarkImage.get(), 0, 0);
            normal->SetAlpha(kOpaque);
            normal->Show();
            bright->Hide();
        } else {
            normal->Show();
            bright->Hide();
        }
    }

    shared.previewIndex = p + 1;
    if (shared.previewIndex < shared.pageEnd && _scoreText != nullptr) {
        _scoreText->ChangeState(kBuildPreviewState);
    } else {
        _pageReady = 1;
    }
}

void MjClassic::MakeSelectionCell(int column, int row, int x, int y)
{
    const int place = kGridColumns * row + column;
    if (column < 0 || column >= kGridColumns || place < 0 || place >= kPlaces ||
        place == kCentrePlace || _cellImages[place] == nullptr) {
        return;
    }
    const bool boards = _selectionKind == 0;
    // Tile set 0 shows each tile's own face in miniature, the others a blank miniature tile.
    std::unique_ptr<Image> ownSmall;
    Image* small = _miniOneTileImage.get();
    if (_previewTileSet == 0 && _miniTileGrid != nullptr) {
        ownSmall = std::make_unique<Image>(_miniTileGrid.get(), 0, 0, 0);
        small = ownSmall.get();
    }
    if (small != nullptr) {
        small->UseTransparency(true, false);
    }

    const Point nameplate = ReadPageLayout(*this).nameplate;
    CastMember*& normalSlot = _cellSprites[kNormalRow][place];
    CastMember*& brightSlot = _cellSprites[kBrightRow][place];
    CastMember*& plateSlot = _cellSprites[kNameplateRow][place];
    if (normalSlot == nullptr) {
        // Each place draws into its own cell images: a blit into one cell never shows in another.
        normalSlot = new CastMemberImage(_cast, _cellImages[place].get(), x, y, kCellPriority, 0);
        brightSlot =
            new CastMemberImage(_cast, _cellBrightImages[place].get(), x, y, kCellPriority, 0);
        plateSlot = new CastMemberImage(_cast, _smallFancyImage.get(), x + nameplate.GetX(),
                                        y + nameplate.GetY(), kFramePriority, 0);
        plateSlot->UseTransparentBackground();
    } else {
        normalSlot->Move(x, y, false);
        if (brightSlot != nullptr) {
            brightSlot->Move(x, y, false);
        }
        if (plateSlot != nullptr) {
            plateSlot->Move(x + nameplate.GetX(), y + nameplate.GetY(), false);
        }
    }
    auto* normal = static_cast<CastMemberImage*>(normalSlot);
    auto* bright = static_cast<CastMemberImage*>(brightSlot);
    if (boards) {
        normal->SetAlpha(kOpaque);
    } else {
        normal->SetAlpha(_quest ? kMovieCellAlpha : kSceneCellAlpha);
    }
    const int id = kFirstCellId + place - (place > kCentrePlace ? 1 : 0);
    for (CastMember* sprite : {normalSlot, brightSlot, plateSlot}) {
        if (auto* image = dynamic_cast<CastMemberImage*>(sprite)) {
            image->SetButtonListener(this);
            image->SetID(id);
        }
    }
    normal->BlitInto(_cellImages[kPlainFrame].get(), 0, 0);
    bright->BlitInto(_cellBrightImages[kPlainFrame].get(), 0, 0);

    if (boards) {
        if (_layout == nullptr || small == nullptr) {
            return;
        }
        const int x0 = _layout->OriginX() / 4 + kMiniMarginX;
        int y0 = (_layout->OriginY() - kTopBarHeight) / 3 + kMiniMarginY;
        if (y0 < kMiniMarginY) {
            y0 += kMiniLowNudge;
        }
        // The tiles to draw, in the layout's order, with their steps on the miniature's grid.
        struct MiniTile
        {
            int u, v, faceCol, faceRow;
        };
        std::vector<MiniTile> tiles;
        const std::vector<MjLayout::Position>& positions = _layout->Positions();
        const int entries = static_cast<int>(positions.size());
        for (int n = 0; n < entries && n < kMaxTileEntries; ++n) {
            const MjLayout::Position& at = positions[n];
            if (at.i == -1) {
                break;
            }
            const int k = _layout->DoubleMode() != 0 ? 2 * at.level - 2 : at.level - 1;
            if (!_layout->InBounds(at.i, at.j, k)) {
                continue;
            }
            const MjCell& cell = _layout->Cell(at.i, at.j, k);
            if (cell.state != MjCell::kOrigin) {
                continue;
            }
            tiles.push_back({3 * at.i + k, 4 * at.j - k, cell.faceCol, cell.faceRow});
        }
        if (tiles.empty()) {
            return;
        }
        int minU = tiles[0].u, maxU = tiles[0].u, minV = tiles[0].v, maxV = tiles[0].v;
        for (const MiniTile& t : tiles) {
            minU = std::min(minU, t.u);
            maxU = std::max(maxU, t.u);
            minV = std::min(minV, t.v);
            maxV = std::max(maxV, t.v);
        }
        // The miniature keeps to the cell above its nameplate: where the plain placement would
        // run past it, the miniature is centred there and its steps shrink to fit.
        const int tileW = small->GetW();
        const int tileH = small->GetH();
        const int cellW = normal->GetImage() != nullptr ? normal->GetImage()->GetW() : 0;
        int cellH = normal->GetImage() != nullptr ? normal->GetImage()->GetH() : 0;
        if (nameplate.GetY() > 0 && nameplate.GetY() < cellH) {
            cellH = nameplate.GetY();
        }
        const Axis across = FitAxis(x0 + kMiniStep * minU, kMiniStep * (maxU - minU), tileW,
                                    kPictureInset, cellW - kPictureInset);
        const Axis down = FitAxis(y0 + kMiniStep * minV, kMiniStep * (maxV - minV), tileH,
                                  kPictureInset, cellH - kMiniBottomGap);
        for (const MiniTile& t : tiles) {
            if (ownSmall != nullptr && t.faceCol >= 0 && t.faceRow >= 0) {
                small->SetFrame(t.faceCol, t.faceRow);
            }
            const int mx = across.Place(kMiniStep * (t.u - minU));
            const int my = down.Place(kMiniStep * (t.v - minV));
            normal->BlitInto(small, mx, my);
            bright->BlitInto(small, mx, my);
        }
        return;
    }
    char name[64];
    std::snprintf(name, sizeof name, _quest ? "images/cell%d.jpg" : "images/cell_pc_%d.jpg",
                  Shared().previewIndex + 1);
    Image picture(name, nullptr);
    normal->BlitInto(&picture, kPictureInset, kPictureInset);
    bright->BlitInto(&picture, kPictureInset, kPictureInset);
}

void MjClassic::DrawSelectionBackground()
{
    const bool boardsPanel = _selectionKind == 0 && !_quest;
    ImageResource skin(ConfigText(_puzzlesFile.get(), _selectionTitle, "skin", "0"), kSkinFrames,
                       kSkinFrames, nullptr);
    const Point start = _puzzlesFile != nullptr
                            ? _puzzlesFile->ValueAsPoint(_selectionTitle, "start", Point(0, 0))
                            : Point(0, 0);
    const Point size = _puzzlesFile != nullptr
                           ? _puzzlesFile->ValueAsPoint(_selectionTitle, "size", Point(0, 0))
                           : Point(0, 0);
    Image* canvas = MakeBackground();
    if (canvas == nullptr) {
        return;
    }
    const int w = skin.IsLoaded() ? skin.GetFrameW() : 0;
    const int h = skin.IsLoaded() ? skin.GetFrameH() : 0;
    // A missing skin has frames of size 0: no pieces, and no division by their size.
    const bool pieces = w > 0 && h > 0;
    const int nx = pieces ? size.GetX() / w : 0;
    const int ny = pieces ? size.GetY() / h : 0;
    const int x0 = start.GetX() + (pieces ? (size.GetX() % w) / 2 : 0);
    int y0 = start.GetY() + (pieces ? (size.GetY() % h) / 2 : 0);
    if (_quest || _selectionKind != 0) {
        y0 = (kPanelAreaHeight - size.GetY()) / 2;
        if (!_quest) {
            y0 += kTopBarHeight;
        }
    }
    if (nx > 0 && ny > 0) {
        Image piece(&skin, 0, 0, 0);
        piece.UseTransparency(true, false);
        for (int r = 0; r < ny; ++r) {
            const int frameRow = r == 0 ? 0 : (r == ny - 1 ? 2 : 1);
            for (int c = 0; c < nx; ++c) {
                const int frameColumn = c == 0 ? 0 : (c == nx - 1 ? 2 : 1);
                piece.SetFrame(frameColumn, frameRow);
                canvas->BlitInto(&piece, x0 + c * w, y0 + r * h);
            }
        }
    }
    if (boardsPanel) {
        for (const auto& [name, dx, dy] :
             {std::tuple<const char*, int, int>{"images/modeBG.png", 7, 7},
              {"images/tckj9j17c57.png", 228, 35}}) {
            Image ornament(name, nullptr);
            ornament.UseTransparency(true, false);
            canvas->BlitInto(&ornament, x0 + dx, y0 + dy);
        }
    }
    // The game script shows and owns the background MakeBackground gave it; without a script
    // the stage is told here.
    if (GameScript() == nullptr && _cast != nullptr) {
        _cast->SetBackground(canvas);
    }
}

namespace {

// A sprite drawn straight from one of the chooser's pictures lets go of it before the picture is
// freed: the stage deletes the sprite only at the end of the frame.
void DropPicture(CastMember* sprite)
{
    if (auto* image = dynamic_cast<CastMemberImage*>(sprite)) {
        image->SetImage(nullptr);
    }
}

// A cell build still pending on the score label is dropped: a delay of 0 never runs.
void StopPreviewBuild(MjClassic& screen)
{
    if (screen._scoreText != nullptr &&
        screen._scoreText->GetState() == MjClassic::kBuildPreviewState) {
        screen._scoreText->ChangeState(0, 0);
    }
}

CastMemberButton* MakeChoiceButton(MjClassic& screen, const std::string& section, int id, int x,
                                   int y)
{
    const std::string file =
        screen._puzzlesFile != nullptr
            ? static_cast<std::string>(screen._puzzlesFile->Value(section, "img", "0", true))
            : std::string("0");
    auto* button =
        new CastMemberButton(screen._cast, id, x, y, kButtonPriority,
                             new ImageResource(file, MjClassic::kButtonLooks, 1, nullptr));
    button->UseTransparency(true);
    button->SetButtonListener(&screen);
    return button;
}

} // namespace

void MjClassic::ShowSelectionScreen(int choice)
{
    MjClassicShared& shared = Shared();
    const PageLayout page = ReadPageLayout(*this);
    const bool boardsKind = _selectionKind == 0;
    const bool boardsPage = boardsKind && !_quest;
    const bool movies = !boardsKind && _quest;
    const bool scenes = !boardsKind && !_quest;
    const int perPage = _cellsPerPage;
    const int now = static_cast<int>(TickSource::Now());

    bool selectionChange = false;
    if (choice == 0) {
        LoadSelectionImages();
        int limit = _highestGameReached;
        if (movies) {
            limit = _highestGameReached < 1   ? 1
                    : _highestGameReached < 4 ? 2
                                              : (_highestGameReached + 1) / kActEntries + 2;
        } else if (scenes) {
            limit = kOutsideQuestSceneLimit;
        }
        shared.selectableLimit = limit;
        if (boardsPage) {
            HideBoardSprites();
        }
        if (shared.savedBoard == -1) {
            shared.savedBoard = _puzzle;
        }
        if (!_quest) {
            shared.savedPlayMode = _playMode;
        }
        HideBoard(0);
        if (boardsKind) {
            // The previews take the board's grid: tiles on their way to the tray go with it.
            LeaveOffGridTiles();
        }
        if (_quest && _replayModeSprite != nullptr) {
            _replayModeSprite->Show();
        }
        if (_puzzle > limit) {
            _puzzle = limit;
        }
        if (scenes) {
            _puzzle = _sceneChoice;
        }
    } else {
        PlayCue("CFG_MENUSELECTIONS", 0);
        if (choice == -2) {
            _puzzle = (_puzzle + perPage) / perPage * perPage;
        } else if (choice == -1) {
            _puzzle = (_puzzle / perPage - 1) * perPage;
        } else if (choice - 1 == _puzzle) {
            const int since = now - shared.lastCellClick;
            if (since >= 0 && since < kDoubleClickMs) {
                ButtonClicked(kPlayChoiceId, 1);
                return;
            }
            shared.lastCellClick = now;
            return;
        } else {
            _puzzle = choice - 1;
            selectionChange = true;
        }
    }
    shared.lastCellClick = now;

    // Into range: past the limit's page wraps to the first page, past the limit on its page goes
    // to the limit's page, before the first page to the limit's page.
    const int limit = shared.selectableLimit;
    const int limitFirst = PageFirst(limit < 0 ? 0 : limit, perPage);
    if (_puzzle < 0) {
        _puzzle = limitFirst;
    } else if (PageFirst(_puzzle, perPage) > limit) {
        _puzzle = 0;
    } else if (_puzzle > limit) {
        _puzzle = limitFirst;
    }
    if (_puzzle > _puzzleCount) {
        _puzzle = _puzzleCount;
    }
    if (_puzzle < 0) {
        _puzzle = 0;
    }
    if (movies && _puzzle >= kMovieEntries) {
        _puzzle = 0;
    }
    if (scenes && (_puzzle < 0 || _puzzle >= kSceneEntries)) {
        _puzzle = kDefaultSceneChoice;
    }
    // A movie or scene index is no board: the board in play keeps its records and the total
    // that shows them.
    if (boardsKind) {
        SelectPuzzle(_puzzle);
    }
    const int pageNumber = _puzzle / perPage;
    shared.pageFirst = pageNumber * perPage;
    shared.pageEnd = shared.pageFirst + perPage;

    const int buttonY = page.pos.GetY() + page.rows * page.space.GetY() + page.buttonOffset;
    const int centreX = page.pos.GetX() + page.space.GetX();
    const int centreY = page.pos.GetY() + page.space.GetY();
    if (choice == 0) {
        _previewDeal = 1;
        DrawSelectionBackground();
        const bool arrowsOn = limit >= kArrowsFromLimit;
        auto* left = MakeChoiceButton(*this, "left", kPreviousPageId, kLeftArrowX, buttonY);
        left->SetEnabled(arrowsOn);
        HandBack(_selectionSprites[kLeftArrowSlot]);
        _selectionSprites[kLeftArrowSlot] = left;

        const std::string plateFile = ConfigText(_puzzlesFile.get(), "levelplate", "img", "0");
        auto* plate = new CastMemberImage(
            _cast, new Image(plateFile, nullptr), page.pos.GetX() + page.space.GetX() + kPlateDx,
            page.pos.GetY() + 2 * page.space.GetY() + kPlateDy, kPlatePriority, 1);
        plate->UseTransparency(true);
        plate->AllowInput(false);
        HandBack(_selectionSprites[kLevelPlateSlot]);
        _selectionSprites[kLevelPlateSlot] = plate;

        auto* right = MakeChoiceButton(*this, "right", kNextPageId, kRightArrowX, buttonY);
        right->SetEnabled(arrowsOn);
        HandBack(_selectionSprites[kRightArrowSlot]);
        _selectionSprites[kRightArrowSlot] = right;
        if (scenes) {
            left->Hide();
            right->Hide();
        }

        HandBack(_cellSprites[kNameplateRow][kCentrePlace]);
        auto* centrePlate =
            new CastMemberImage(_cast, _smallFancyImage.get(), centreX + page.nameplate.GetX(),
                                centreY, kFramePriority, 0);
        centrePlate->UseTransparency(true);
        centrePlate->AllowInput(false);
        _cellSprites[kNameplateRow][kCentrePlace] = centrePlate;

        const int playX = boardsKind ? kPlayX : (_quest ? kQuestMovieX : kSceneMovieX);
        HandBack(_selectionSprites[kPlaySlot]);
        _selectionSprites[kPlaySlot] =
            MakeChoiceButton(*this, boardsKind ? "play" : "movie", kPlayChoiceId, playX, buttonY);
        const int cancelX = boardsKind ? kBoardsCancelX : (_quest ? kQuestCancelX : kSceneCancelX);
        HandBack(_selectionSprites[kCancelSlot]);
        _selectionSprites[kCancelSlot] =
            MakeChoiceButton(*this, "cancel", kCancelChoiceId, cancelX, buttonY);

        HandBack(_cellSprites[kLabelRow][kCentrePlace]);
        _cellSprites[kLabelRow][kCentrePlace] = MakeLabel(
            "TitleText2", " ", kLabelPriority, centreX + kPageTitleDx, centreY + kPageTitleDy);
        MakeModeControls();
    }

    // The page title.
    std::string pageTitle;
    if (movies) {
        pageTitle = _puzzle < kActEntries       ? "Zorvy Movie - Act I"
                    : _puzzle < 2 * kActEntries ? "Zorvy Movie - Act II"
                                                : "Zorvy Movie - Act III";
    } else {
        pageTitle = ConfigText(_puzzlesFile.get(), _selectionTitle,
                               "group" + std::to_string(pageNumber + 1), "No Title");
    }
    if (auto* title = dynamic_cast<MjTextLabel*>(_cellSprites[kLabelRow][kCentrePlace])) {
        title->SetText(pageTitle);
        title->Show();
    }

    const bool rebuild = choice == 0 || choice == -1 || choice == -2;
    const int chosen = _puzzle % perPage;
    if (rebuild) {
        // The builder fills the page from its first entry, one cell per step; a build still
        // running for the page before is replaced.
        shared.previewIndex = shared.pageFirst;
        _pageReady = 0;
        if (_scoreText != nullptr) {
            _scoreText->ChangeState(kBuildPreviewState);
        } else {
            _pageReady = 1;
        }
    }
    for (int cell = 0; cell < perPage; ++cell) {
        const int place = PlaceOfPreview(cell, perPage);
        if (place < 0) {
            continue;
        }
        const int column = place % kGridColumns;
        const int row = place / kGridColumns;
        CastMember*& labelSlot = _cellSprites[kLabelRow][place];
        if (rebuild) {
            if (labelSlot == nullptr) {
                labelSlot = MakeLabel("ReplayText", " ", kLabelPriority, 0, 0);
            }
            labelSlot->Move(
                page.pos.GetX() + column * page.space.GetX() + page.nameplate.GetX() + kCellLabelDx,
                page.pos.GetY() + row * page.space.GetY() + page.nameplate.GetY() + kCellLabelDy,
                false);
            labelSlot->Show();
        }
        if (selectionChange) {
            CastMember* normal = _cellSprites[kNormalRow][place];
            CastMember* bright = _cellSprites[kBrightRow][place];
            if (normal != nullptr && bright != nullptr) {
                if (cell == chosen) {
                    normal->Hide();
                    bright->Show();
                } else {
                    normal->Show();
                    bright->Hide();
                }
            }
        }
        auto* label = dynamic_cast<MjTextLabel*>(labelSlot);
        if (label == nullptr) {
            continue;
        }
        label->SetColorBoth(cell == chosen ? kChosenColour : kOtherColour);
        label->Hide();
        label->Show();
        if (cell == chosen) {
            if (_infoLines[0] == nullptr) {
                _infoLines[0] = MakeLabel("ReplayText", " ", kLabelPriority, kCentreLabelX,
                                          centreY + kCentreLabelDy);
            }
            _infoLines[0]->SetColorBoth(kChosenColour);
            _infoLines[0]->SetText(label->GetText());
            _infoLines[0]->Show();
        }
    }

    // The centre texts sit on their plates whatever the look's fonts and plate images.
    CastMember* centrePlate = _cellSprites[kNameplateRow][kCentrePlace];
    CentreOnPlate(_infoLines[0], centrePlate);
    CentreOnPlate(dynamic_cast<MjTextLabel*>(_cellSprites[kLabelRow][kCentrePlace]),
                  _selectionSprites[kLevelPlateSlot]);

    const int panelX = centreX + kPageTitleDx;
    if (boardsKind) {
        // Under the nameplate, on the page's middle axis (that of the plates).
        int x = panelX;
        int y = centreY + kBestPanelDy;
        if (centrePlate != nullptr) {
            const int width = ConfigFile::AsInt(
                _config->Value("HighlightText", "size", kDefaultPanelWidth, true));
            x = centrePlate->GetX() + (centrePlate->GetW() - width) / 2;
            y = centrePlate->GetY() + centrePlate->GetH() + kBestPanelGap;
        }
        ShowBestPanel(x, y, kBestLineHeight);
    } else {
        ShowSceneText(panelX, centreY + kSceneTextDy, kInfoLineHeight);
    }
}

void MjClassic::CentreOnPlate(MjTextLabel* label, CastMember* plate)
{
    if (label == nullptr || plate == nullptr) {
        return;
    }
    // The label's box is as wide as its text or its minimum width, the text centred in it; its
    // height beyond the text's is the shadow's, so the text's own height is centred.
    Font* font = label->GetFont();
    const int textH = font != nullptr ? font->TextDim(label->GetText()).GetH() : label->GetH();
    label->Move(plate->GetX() + (plate->GetW() - label->GetW()) / 2,
                plate->GetY() + (plate->GetH() - textH) / 2, false);
}

void MjClassic::LeaveSelectionScreen(bool resume)
{
    MjClassicShared& shared = Shared();
    const bool boardsPage = !_quest && _selectionKind == 0;
    if (!_quest) {
        FadeInBoardButtons();
        shared.savedBoard = -1;
    }
    PlayCue("CFG_MENUSELECTIONS", 0);
    if (_replayRun != 1) {
        _replayRun = 0;
    }
    // No cell is built once the page is gone.
    StopPreviewBuild(*this);
    shared.previewIndex = shared.pageEnd;
    for (auto& row : _cellSprites) {
        for (CastMember*& sprite : row) {
            DropPicture(sprite);
            HandBack(sprite);
        }
    }
    for (MjTextLabel*& line : _infoLines) {
        HandBack(line);
    }
    for (MjTextLabel*& line : _modeTextLines) {
        HandBack(line);
    }
    for (CastMember*& sprite : _selectionSprites) {
        HandBack(sprite);
    }
    if (boardsPage) {
        for (MjTile*& tile : _modeTiles) {
            DropPicture(tile);
            HandBack(tile);
        }
        _hoveredMode = -1;
    }
    // The sprites handed back above are off the stage already: their pictures can go.
    ReleaseSelectionImages();
    if (resume) {
        _previewDeal = 0;
        ShowBoard(kShowAfterChoice);
        return;
    }
    --_puzzle;
    NextBoard();
    _previewDeal = 0;
}

void MjClassic::SceneStep()
{
    // A screen whose sprites are handed back has no board to open.
    if (_spritesReleased != 0) {
        return;
    }
    // The quest's first board opens on its intro scene.
    if (QuestSceneStep()) {
        return;
    }
    _sceneLoading = false;
    if (_framework != nullptr) {
        _framework->ShowCursor();
    }
    if (!_quest && _firstBoard) {
        // The game opens on the board chooser; its previews reuse this board's grid.
        SetupBoard(kReasonFirstOpening, _seed, kStartQuiet, "");
        _selectionKind = 0;
        HideBoardSprites();
        ShowSelectionScreen(0);
        return;
    }
    SetupBoard(kReasonOpening, _seed, kStartOpening, "");
}
