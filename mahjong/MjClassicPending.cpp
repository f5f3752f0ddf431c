// MjClassic: operations the press and state handlers call whose real bodies come with the
// board flow and the selection screens. Until then each leaves the board as it is. Remove an
// entry here when its real body lands.

#include "mahjong/MjClassic.h"
#include "mahjong/MjTile.h"

// The selection screen that the input handlers and the quest's endings hand over to.
void MjClassic::ShowSelectionScreen(int) {}

// The scene step outside the quest (the first opening on the chooser) comes with the selection
// screens; until then only the quest's intro runs here.
void MjClassic::SceneStep()
{
    QuestSceneStep();
}
