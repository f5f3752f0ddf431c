// MjClassic: operations the press and state handlers call whose real bodies come with the
// powers, the board flow and the selection screens. Until then each leaves the board as it is
// (a power declines or does nothing). Remove an entry here when its real body lands.

#include "mahjong/MjClassic.h"
#include "mahjong/MjTile.h"

bool MjClassic::RankPower(MjTile*, MjTile*)
{
    return false;
}

void MjClassic::Clone(MjTile*, MjTile*, MjTile*) {}

void MjClassic::Swap(MjTile*, MjTile*, MjTile*) {}

void MjClassic::Magnet(MjTile*, MjTile*) {}

void MjClassic::Fuse(MjTile*, MjTile*) {}

void MjClassic::Typhoon(MjTile*, MjTile*) {}

void MjClassic::FlyTypeChange(MjTile*, MjTile*, int, int) {}

void MjClassic::CheckNoMoves(bool) {}

void MjClassic::ShowSpecialTileName(MjTile*, int, int) {}

void MjClassic::ShowModeText(MjTile*, bool, int, int) {}

void MjClassic::ShowQuestPopup(const std::string&, int, int) {}
