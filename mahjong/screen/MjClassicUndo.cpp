// MjClassic: taking the last move back from the move history.

#include "framework/core/Color.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjMoves.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/board/MjTileTypes.h"
#include "mahjong/screen/MjClassic.h"

namespace {

constexpr int kShadowAlpha = 128;

} // namespace

bool MjClassic::Undo()
{
    // Only a closed move is taken back: an empty history or a move still being written (tiles
    // in flight) stays as it is.
    const int last = _moves->LastIndex();
    const int lastType = _moves->Record(last).type;
    if (last == 0 || lastType != MjMove::kGroupEnd) {
        DebugVar(-1, "Critical Error in Undo Start Type %d", last == 0 ? 0 : lastType);
        return false;
    }
    LockBoardInput(true);
    _moves->Pop();
    MjTile** tray = Shared().traySlots;
    const int shadow = _tileSets[_tileSetIndex].shadow;
    MjMove* r = _moves->Pop();
    while (r->type > MjMove::kGroupStart) {
        auto* a = static_cast<MjTile*>(r->a);
        auto* b = static_cast<MjTile*>(r->b);
        const bool slotOk = r->c >= 1 && r->c <= 3;
        switch (r->type) {
        case MjMove::kScore:
            AddToScore(-r->c);
            break;
        case MjMove::kTrayEmpty:
            if (slotOk) {
                tray[r->c] = nullptr;
            }
            break;
        case MjMove::kTrayHeld:
            if (a != nullptr && slotOk) {
                a->Show();
                tray[r->c] = a;
            }
            break;
        case MjMove::kToTray:
            if (a != nullptr) {
                const int face = a->GetFace();
                a->SetFrame(MjTileTypes::FaceColumn(face), MjTileTypes::FaceRow(face));
                a->SetDropShadow(-shadow, shadow, Color(0, 0, 0, 255), kShadowAlpha);
                a->ChangeState(MjTile::kIdle);
                if (_layout != nullptr) {
                    _layout->UnHide(a);
                }
                ForgetOffGridTile(a);
            }
            break;
        case MjMove::kSwap:
            if (_layout != nullptr) {
                _layout->SwapTiles(a, b);
            }
            break;
        case MjMove::kChange:
            if (a != nullptr && b != nullptr) {
                if (r->e != 0) {
                    FlyTypeChange(a, b, r->c, r->d);
                } else {
                    FlyTypeChange(a, b, b->GetType(), b->GetFace());
                }
                a->SetType(r->c);
                a->SetFace(r->d);
                a->ShowFace();
            }
            break;
        default:
            DebugVar(-1, "Unexpected type in Undo - %d", r->type);
            break;
        }
        r = _moves->Pop();
    }
    if (r->type != MjMove::kGroupStart) {
        DebugVar(-1, "Critical Error in Undo Stop Type %d", r->type);
        return false;
    }
    return _moves->LastIndex() != 0;
}
