// MjClassic: tile sprites, tile sets, selection reset and tile looks.
#include "framework/core/Color.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

namespace {

constexpr int kShadowAlpha = 128;
// Tile looks of the play modes.
constexpr int kModeNoFaces = 3;
constexpr int kModeHideUnseen = 1;
constexpr int kModeFaded = 4;
constexpr int kModeSpecialsOpaque = 2;

// The board's tile sprites.
class TileSpriteFactory final : public MjTileFactory
{
public:
    MjGridTile* MakeTile(MjTileListener* listener, Cast* cast, ImageResource* sheet, int faceCol,
                         int faceRow, int x, int y, int priority, int order, int i, int j,
                         int k) override
    {
        Image face(sheet, faceCol, faceRow, 0);
        return new MjTile(listener, cast, &face, x, y, priority, order, 0, 0, i, j, k);
    }
};

} // namespace

MjTileFactory* MjClassic::TileFactory()
{
    static TileSpriteFactory factory;
    return &factory;
}

ImageResource* MjClassic::SpecialSheet(int type) const
{
    const int index = type - kFirstSpecialType;
    return index >= 0 && index < kSpecialTypes ? _specialSheets[index] : nullptr;
}

MjTile* MjClassic::AddTile(int i, int j, int k, int value, int faceCol, int faceRow)
{
    if (_layout == nullptr) {
        return nullptr;
    }
    const bool offscreen = Shared().savedBoard == -1 && value != 0;
    auto* tile =
        static_cast<MjTile*>(_layout->AddImage(this, _cast, faceCol, faceRow, i, j, k, offscreen));
    if (tile == nullptr) {
        return nullptr;
    }
    const int face = MjTileTypes::FaceAt(faceCol, faceRow);
    const int type = MjTileTypes::TypeOfFace(face);
    tile->SetFace(face);
    tile->SetType(type);

    const MjTileSet& set = _tileSets[_tileSetIndex];
    const bool ownLook =
        face == MjTileTypes::kGoldYinYangType || face == MjTileTypes::kJadeYinYangType;
    ImageResource* overlay = SpecialSheet(ownLook ? face : type);
    if (type >= kFirstSpecialType && SpecialSheet(type) != nullptr && overlay != nullptr) {
        const std::string section = "special" + std::to_string(type);
        const int size = ConfigInt(_config, section, "size", 0);
        const int from = ConfigInt(_config, section, "from", 1);
        const int time = ConfigInt(_config, section, "time", 120);
        tile->SetOverlay(new Image(overlay, 0, 0, 0), from - 1, size - 2, time, set.posX, set.posY,
                         type == MjTile::kYinYang ? 0 : 1);
    }
    tile->UseTransparency(true);
    tile->SetDropShadow(-set.shadow, set.shadow, Color(0, 0, 0, 255), kShadowAlpha);
    if (Shared().faceHiding != 0) {
        if (_playMode == kModeFaded) {
            if (type != MjTile::kYinYang) {
                tile->SetAlpha(0);
            }
        } else {
            RestoreTileLook(tile);
        }
    }
    return tile;
}

void MjClassic::ForEachOriginCell(
    const std::function<void(int i, int j, int k, MjCell& cell)>& visit)
{
    if (_layout == nullptr) {
        return;
    }
    for (int index : _layout->OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        MjCell& cell = _layout->Cell(i, j, k);
        if (cell.state == MjCell::kOrigin) {
            visit(i, j, k, cell);
        }
    }
}

void MjClassic::CreateTileSprites(int startMode)
{
    _tileSpriteCount = 0;
    ForEachOriginCell([this, startMode](int i, int j, int k, MjCell& cell) {
        ++_tileSpriteCount;
        AddTile(i, j, k, startMode, cell.faceCol, cell.faceRow);
    });
}

void MjClassic::LoadTileSet(int n)
{
    if (n < 0 || n >= kTileSets) {
        return;
    }
    MjTileSet& set = _tileSets[n];
    delete set.faceSheet;
    set.faceSheet = new ImageResource(set.img, MjTileSet::kColumns, MjTileSet::kRows, nullptr);
    if (set.sheet == nullptr || _oneTileImage == nullptr) {
        return;
    }
    Image face(set.faceSheet, 0, 0, 0);
    for (int c = 0; c < MjTileSet::kColumns; ++c) {
        for (int r = 0; r < MjTileSet::kRows; ++r) {
            set.sheet->CopyIntoGrid(c, r, _oneTileImage, 0, 0);
            face.SetFrame(c, r);
            set.sheet->CopyIntoGrid(c, r, &face, set.posX, set.posY);
        }
    }
}

void MjClassic::ClearSelection(bool resetPowers)
{
    PlayCue("stop", kCueStop);
    for (MjTile*& tile : _selected) {
        if (tile == nullptr) {
            continue;
        }
        tile->ResetFrame();
        const bool questlessYinYang = tile->GetType() == MjTile::kYinYang && !_quest;
        if (tile->GetType() >= kFirstSpecialType && resetPowers && !questlessYinYang) {
            tile->ChangeState(MjTile::kIdle);
        }
        if (Shared().faceHiding != 0) {
            RestoreTileLook(tile);
        }
        tile = nullptr;
    }
    _selectedCount = 0;
}

void MjClassic::RestoreTileLook(MjTile* tile)
{
    if (tile == nullptr || !tile->IsActive()) {
        return;
    }
    const bool hiding = Shared().faceHiding != 0;
    switch (_playMode) {
    case kModeNoFaces:
        tile->HideFace();
        break;
    case kModeHideUnseen:
        if (hiding && !tile->IsFaceShown()) {
            tile->HideFace();
        }
        break;
    case kModeFaded:
        tile->ChangeState(MjTile::kFadeAway);
        break;
    case kModeSpecialsOpaque:
        if (hiding) {
            tile->ChangeState(MjTile::kSpecialOpaque);
        }
        break;
    default:
        break;
    }
}

void MjClassic::ClearSequenceEnd()
{
    if (_replayRun != 0) {
        _replayRunEnd = 0;
    }
    _skipArrival = 1;
}

void MjClassic::LeaveGame()
{
    // Leaving hands nothing over: the game script ends the game later and releases the screen.
}
