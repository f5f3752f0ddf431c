#pragma once

#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/FakeGridTile.h"

#include <memory>
#include <string>
#include <vector>

namespace mjtest {

// One position of a layout file: code -1 is dealt, 52 a special cell, else a preset face.
struct Spot
{
    int i;
    int j;
    int level;
    int code = -1;
};

MjBoardSettings Settings(int columns, int rows, int layers);
// Layout file text for the spots, in their order.
std::string LayoutText(const std::vector<Spot>& spots, const std::string& title = "");
// Writes text into the scratch folder and returns its path.
std::string WriteLayout(const std::string& name, const std::string& text);
// A layout read from the spots (pairs unless told otherwise).
std::unique_ptr<MjLayout> MakeLayout(MjBoardSettings& settings, const std::vector<Spot>& spots,
                                     int matchSize = 2, int doubleMode = 0);
// A fake tile on every origin cell, showing its preset face.
void AddTiles(MjLayout& layout, FakeTileFactory& factory);
// The dealt faces in scan order (-1 for a cell without a face).
std::vector<int> Faces(const MjLayout& layout);

// A layout read from spots with a fake tile on every position.
struct FakeBoard
{
    FakeBoard(const std::vector<Spot>& spots, int matchSize, int columns, int rows, int layers);
    FakeGridTile* TileAt(int i, int j, int k);

    MjBoardSettings settings;
    FakeTileFactory factory; // outlives the layout, whose cells point at its tiles
    std::unique_ptr<MjLayout> layout;
};

} // namespace mjtest
