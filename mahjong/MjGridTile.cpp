#include "mahjong/MjGridTile.h"

MjGridTile::~MjGridTile() = default;

MjTileFactory::~MjTileFactory() = default;
