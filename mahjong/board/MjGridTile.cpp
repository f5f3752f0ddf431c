#include "mahjong/board/MjGridTile.h"

MjGridTile::~MjGridTile() = default;

MjTileFactory::~MjTileFactory() = default;
