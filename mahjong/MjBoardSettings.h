#pragma once

#include "framework/core/Point.h"

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
