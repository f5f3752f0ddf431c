#include "mahjong/board/MjTileListener.h"

MjTileListener::~MjTileListener() = default;

void MjTileListener::TileMouseDown(MjTile*, int, int, int) {}

void MjTileListener::TileMouseOver(MjTile*, int, int, bool) {}

void MjTileListener::StateReached(CastMember*, int, int) {}

void MjTileListener::PlaySound(std::string, int) {}
