// MjClassic: the selection screen's cells, built one board preview per step.

#include "framework/core/ConfigFile.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/MjCell.h"
#include "mahjong/MjClassic.h"
#include "mahjong/MjLayout.h"
#include "mahjong/MjPuzzleRules.h"
#include "mahjong/MjTextLabel.h"

#include <cstdio>
#include <memory>
#include <string>
#include <tuple>

namespace {

// The preview grid: three columns of three places, the centre place never a cell.
constexpr int kGridColumns = 3;
constexpr int kPlaces = 9;
constexpr int kCentrePlace = 4;
// Rows of _cellSprites.
constexpr int kNormalRow = 0;
constexpr int kBrightRow = 1;
constexpr int kNameplateRow = 2;
constexpr int kLabelRow = 3;
// Entry of _cellImages and _cellBrightImages that holds the plain frame every place starts from.
constexpr int kPlainFrame = 9;
constexpr int kCellPriority = 1000000;
constexpr int kFirstCellId = 200;
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
// The panel: a skin of 3 x 3 frames; outside the boards panel it is centred on this height.
constexpr int kSkinFrames = 3;
constexpr int kPanelAreaHeight = 450;

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
    if (_previewDeal == 0 || p >= shared.pageEnd) {
        return;
    }
    const Point pos = _puzzlesFile->ValueAsPoint(_selectionTitle, "pos", Point(0, 0));
    const Point space = _puzzlesFile->ValueAsPoint(_selectionTitle, "space", Point(0, 0));
    const int place = PlaceOfPreview(p, _cellsPerPage);
    if (place < 0) {
        _pageReady = 1;
        return;
    }
    const int column = place % kGridColumns;
    const int row = place / kGridColumns;
    const int x = pos.GetX() + space.GetX() * column;
    const int y = pos.GetY() + space.GetY() * row;
    std::string title;
    if (_selectionKind == 0) {
        const std::string section = MjPuzzleRules::SectionName(p);
        const int doubleMode = ConfigInt(_puzzlesFile, section, "double", 0);
        _layoutFile = ConfigText(_puzzlesFile, section, "layout", "puzzles/test.cfg");
        _previewTileSet = ConfigInt(_puzzlesFile, section, "tileset", 0);
        if (_layout != nullptr) {
            _layout->SetDoubleMode(doubleMode);
            _layout->Clear();
            _layout->Load(_layoutFile);
            DealTiles();
            title = _layout->Title();
        }
    } else {
        _previewTileSet = 0;
        title = ConfigText(_scenesFile, "scene" + std::to_string(p + 1), "title", "No Title");
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
        } else if (p > shared.selectableLimit) {
            static_cast<CastMemberImage*>(normal)->BlitInto(_cellDarkImage, 0, 0);
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
        place == kCentrePlace) {
        return;
    }
    const bool boards = _selectionKind == 0;
    // Tile set 0 shows each tile's own face in miniature, the others a blank miniature tile.
    std::unique_ptr<Image> ownSmall;
    Image* small = _miniOneTileImage;
    if (_previewTileSet == 0 && _miniTileGrid != nullptr) {
        ownSmall = std::make_unique<Image>(_miniTileGrid, 0, 0, 0);
        small = ownSmall.get();
    }
    if (small != nullptr) {
        small->UseTransparency(true, false);
    }

    const Point nameplate = _puzzlesFile->ValueAsPoint(_selectionTitle, "nameplate", Point(0, 0));
    CastMember*& normalSlot = _cellSprites[kNormalRow][place];
    CastMember*& brightSlot = _cellSprites[kBrightRow][place];
    CastMember*& plateSlot = _cellSprites[kNameplateRow][place];
    if (normalSlot == nullptr) {
        // Each place draws into its own cell images: a blit into one cell never shows in another.
        normalSlot = new CastMemberImage(_cast, _cellImages[place], x, y, kCellPriority, 0);
        brightSlot = new CastMemberImage(_cast, _cellBrightImages[place], x, y, kCellPriority, 0);
        plateSlot = new CastMemberImage(_cast, _smallFancyImage, x + nameplate.GetX(),
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
    normal->BlitInto(_cellImages[kPlainFrame], 0, 0);
    bright->BlitInto(_cellBrightImages[kPlainFrame], 0, 0);

    if (boards) {
        if (_layout == nullptr || small == nullptr) {
            return;
        }
        const int x0 = _layout->OriginX() / 4 + kMiniMarginX;
        int y0 = (_layout->OriginY() - kTopBarHeight) / 3 + kMiniMarginY;
        if (y0 < kMiniMarginY) {
            y0 += kMiniLowNudge;
        }
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
            if (ownSmall != nullptr && cell.faceCol >= 0 && cell.faceRow >= 0) {
                small->SetFrame(cell.faceCol, cell.faceRow);
            }
            const int mx = x0 + 2 * (3 * at.i + k);
            const int my = y0 + 2 * (4 * at.j - k);
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
    ImageResource skin(ConfigText(_puzzlesFile, _selectionTitle, "skin", "0"), kSkinFrames,
                       kSkinFrames, nullptr);
    const Point start = _puzzlesFile->ValueAsPoint(_selectionTitle, "start", Point(0, 0));
    const Point size = _puzzlesFile->ValueAsPoint(_selectionTitle, "size", Point(0, 0));
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
    if (_cast != nullptr) {
        _cast->SetBackground(canvas);
    }
}
