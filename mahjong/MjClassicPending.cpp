// MjClassic: operations the press and state handlers call whose real bodies come with the
// board flow and the selection screens. Until then each leaves the board as it is. Remove an
// entry here when its real body lands.

#include "mahjong/MjClassic.h"
#include "mahjong/MjTile.h"

void MjClassic::ShowModeText(MjTile*, bool, int, int) {}

// The board flow's steps that the input and clock handlers hand over to: the cleared board, the
// next board and the records, the selection screen and the quest's endings.
void MjClassic::NextBoard() {}

void MjClassic::BoardCleared() {}

void MjClassic::RecordBoard() {}

void MjClassic::KeepTypes(int) {}

void MjClassic::ShowSelectionScreen(int) {}

void MjClassic::CollectBonusTiles() {}

void MjClassic::FinishBoard(int) {}
