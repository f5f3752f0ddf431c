#pragma once

#include "mahjong/board/MjBoardSettings.h"

namespace mjtest {

// The grid of the game's board looks (21 x 11 tiles of 10 layers) with a tile of 40 x 50.
inline MjBoardSettings GameGridSettings()
{
    MjBoardSettings settings;
    settings.origin = Point(400, 300);
    settings.columns = 42;
    settings.rows = 22;
    settings.layers = 10;
    settings.tileWidth = 40;
    settings.tileHeight = 50;
    settings.tileBorder = 6;
    return settings;
}

} // namespace mjtest
