// MjLayout: the sprite layer (making tiles, hints, putting tiles back, shade, cues).
#include "framework/media/Image.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjGridTile.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTileListener.h"
#include "mahjong/board/MjTileTypes.h"

namespace {
constexpr int kFlightPriority = 20;
} // namespace

MjGridTile* MjLayout::AddImage(MjTileListener* listener, Cast* cast, int faceCol, int faceRow,
                               int i, int j, int k, bool offscreen)
{
    if (!InBounds(i, j, k)) {
        DebugVar(-1, "AddImage Exceeds Maximum - %d, %d, %d > %d, %d, %d", i, j, k, _maxI, _maxJ,
                 _maxK);
        return nullptr;
    }
    int x = CellX(i, j, k);
    int y = CellY(i, j, k);
    FillQuad(i, j, k);
    if (offscreen) {
        x = 900;
        y = 0;
    }
    MjCell& cell = Cell(i, j, k);
    cell.faceCol = faceCol;
    cell.faceRow = faceRow;
    if (_tileFactory == nullptr) {
        return nullptr;
    }
    if (cell.tile != nullptr) {
        cell.tile->Leave(); // a cell holds one sprite; an old one would be orphaned
    }
    cell.tile = _tileFactory->MakeTile(listener, cast, _tileImages, faceCol, faceRow, x, y,
                                       Priority(i, j, k), cell.order, i, j, k);
    return cell.tile;
}

void MjLayout::BlinkCell(int i, int j, int k)
{
    if (!InBounds(i, j, k)) {
        return;
    }
    MjGridTile* tile = Cell(i, j, k).tile;
    if (tile != nullptr && !tile->IsHopping()) {
        tile->BlinkWithCue(this, 10, 100);
    }
}

void MjLayout::UnHide(MjGridTile* tile)
{
    if (tile == nullptr) {
        return;
    }
    int i = tile->GridI(), j = tile->GridJ(), k = tile->GridK();
    if (!InBounds(i, j, k) || Cell(i, j, k).tile != tile) {
        DebugVar(-1, "Critical Error in MjLayout::UnHide");
        return;
    }
    if (MjGridTile* linked = tile->Linked()) {
        i = linked->GridI();
        j = linked->GridJ();
        k = linked->GridK();
        if (!InBounds(i, j, k)) {
            DebugVar(-1, "Critical Error in MjLayout::UnHide");
            return;
        }
    }
    FillQuad(i, j, k);
    tile->MoveTo(CellX(i, j, k) + 20, CellY(i, j, k) - 20, 200);
    tile->AllowInput(true);
    tile->ListenForMove(this);
    tile->SetPriority(kFlightPriority);
    tile->SetActive(true);
}

MjGridTile* MjLayout::FindTile(CastMember* member)
{
    for (int index : _origins) {
        MjGridTile* tile = _cells[index].tile;
        if (tile != nullptr && tile->Member() == member) {
            return tile;
        }
    }
    return nullptr;
}

void MjLayout::ReplaceTile(MjGridTile* a, MjGridTile* b)
{
    MjCell* cellA = nullptr;
    MjCell* cellB = nullptr;
    int indexA = 0, indexB = 0;
    for (int index : _origins) {
        MjCell& cell = _cells[index];
        if (cellA == nullptr && cell.tile == a) {
            cellA = &cell;
            indexA = index;
        } else if (cellB == nullptr && cell.tile == b) {
            cellB = &cell;
            indexB = index;
        }
        if (cellA != nullptr && cellB != nullptr) {
            break;
        }
    }
    if (cellA == nullptr || cellB == nullptr || a == b) {
        return;
    }
    std::swap(cellA->tile, cellB->tile);
    int ai, aj, ak, bi, bj, bk;
    IndexToCell(indexA, ai, aj, ak);
    IndexToCell(indexB, bi, bj, bk);
    const int gai = a->GridI(), gaj = a->GridJ(), gak = a->GridK();
    a->SetGridPosition(b->GridI(), b->GridJ(), b->GridK());
    b->SetGridPosition(gai, gaj, gak);
    a->SetPriority(Priority(bi, bj, bk));
    b->SetPriority(Priority(ai, aj, ak));
    a->ShowFace();
    b->ShowFace();
}

void MjLayout::SwapTiles(MjGridTile* a, MjGridTile* b)
{
    if (a == nullptr || b == nullptr) {
        return;
    }
    const int ai = a->GridI(), aj = a->GridJ(), ak = a->GridK();
    const int bi = b->GridI(), bj = b->GridJ(), bk = b->GridK();
    if (!InBounds(ai, aj, ak) || !InBounds(bi, bj, bk)) {
        DebugVar(-1, "Critical Error in MjLayout::UnHide");
        return;
    }
    std::swap(Cell(ai, aj, ak).tile, Cell(bi, bj, bk).tile);
    a->SetGridPosition(bi, bj, bk);
    b->SetGridPosition(ai, aj, ak);
    UnHide(a);
    UnHide(b);
}

void MjLayout::LoadShade()
{
    _shade = std::make_unique<Image>("images/DarkLight.png", nullptr);
    if (_shade->GetCanvas() == nullptr) {
        _shade.reset(); // the image logged its failure; tiles stay unshaded
        return;
    }
    // The plate's rounded corners are its colour key: blended in, they would tint the corners.
    _shade->UseTransparency(true, false);
    _shade->SetAlpha(64);
}

void MjLayout::Cue(CastMember* member, int cue, int)
{
    MjGridTile* tile = FindTile(member);
    if (tile == nullptr) {
        return;
    }
    const int i = tile->GridI(), j = tile->GridJ(), k = tile->GridK();
    if (cue == CueListener::kBlinkEnded) {
        tile->MoveTo(CellX(i, j, k), CellY(i, j, k), 200);
        return;
    }
    if (MjGridTile* linked = tile->Linked()) {
        // The tile moved onto a magnet: it takes the magnet's place and the magnet is renewed.
        tile->SetType(linked->GetType());
        tile->SetFace(linked->GetFace());
        tile->ShowFace();
        const int magnet = MjTileTypes::RenewedMagnet(tile->IsLinkedToType59());
        linked->SetType(magnet);
        linked->SetFace(magnet);
        linked->ShowFace();
        linked->AllowInput(true);
        tile->SetLinked(nullptr);
        UnHide(tile);
        return;
    }
    tile->SetPriority(InBounds(i, j, k) ? Priority(i, j, k) : kFlightPriority);
    tile->MoveTo(CellX(i, j, k), CellY(i, j, k), 500);
    tile->ChangeState(MjTileListener::kBackInCell);
    tile->AllowInput(true);
    tile->SetAlpha(255);
}
