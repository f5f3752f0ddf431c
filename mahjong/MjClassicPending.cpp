// MjClassic: operations the press and state handlers call whose real bodies come with the
// board flow and the selection screens. Until then each leaves the board as it is. Remove an
// entry here when its real body lands.

#include "mahjong/MjClassic.h"
#include "mahjong/MjTile.h"

void MjClassic::ShowModeText(MjTile*, bool, int, int) {}

// The selection screen's panels and the scene choice.
void MjClassic::ShowBestPanel(int, int, int) {}

void MjClassic::ShowSceneText(int, int, int) {}

void MjClassic::SetSceneChoice(int) {}

// The quest's opening scene on its first board.
void MjClassic::QuestSceneStep() {}

// The quest's endings that the input handlers hand over to.

void MjClassic::CollectBonusTiles() {}

void MjClassic::FinishBoard(int) {}
