#pragma once

#include "framework/core/Point.h"

#include <memory>
#include <string>

class ImageResource;

// Board geometry that the board screen fills from its look configuration and the grid reads.
// Columns and rows count half-tile steps.
struct MjBoardSettings
{
    Point origin; // start point of the fly-in patterns
    int columns = 0;
    int rows = 0;
    int layers = 0;
    int tileWidth = 0;
    int tileHeight = 0;
    int tileBorder = 0; // the offset of one layer over the one below
};

// One of the board screen's three tile sets: the sheet of whole tiles composed from a blank tile
// and the set's faces, with where the faces sit on a tile.
struct MjTileSet
{
    static constexpr int kColumns = 6;
    static constexpr int kRows = 10;
    static constexpr int kCellWidth = 48;
    static constexpr int kCellHeight = 58;

    std::unique_ptr<ImageResource> sheet;
    std::unique_ptr<ImageResource> faceSheet;
    std::string img;
    int posX = 0; // where a face (and a special tile's overlay) is drawn onto a tile
    int posY = 0;
    int posOneTile = 0;
    int shadow = 0; // drop-shadow distance
};
