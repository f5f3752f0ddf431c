// MjClassic: operations the press and state handlers call whose real bodies come with the
// board flow and the selection screens. Until then each leaves the board as it is. Remove an
// entry here when its real body lands.

#include "mahjong/MjClassic.h"
#include "mahjong/MjTile.h"

// The quest's endings that the input handlers hand over to.
void MjClassic::CollectBonusTiles() {}

void MjClassic::FinishBoard(int) {}
