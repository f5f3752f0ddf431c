#pragma once

#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjPuzzleRules.h"

#include <memory>
#include <string>
#include <vector>

class MjDeal;
class MjLayout;

namespace mjtest {

// A layout with the puzzle rules it is dealt with.
struct CatalogBoard
{
    std::string name; // "fixture:..." or "data:puzzles/..."
    std::string path;
    MjPuzzleRules rules;
};

// The data folder the boards come from: MJ_GAME_DATA when set, else the built data folder.
std::string GameDataDir();

// The test fixtures with their rules, then every layout file of the data folder's "puzzles"
// folder with the rules of the first puzzle description that names it (default rules for a
// layout no description names).
std::vector<CatalogBoard> CatalogBoards();

// The grid every catalogued board is read into: the size of the game's board looks.
MjBoardSettings CatalogSettings();

// A fresh grid of the board's layout file (in settings, which must outlive it), dealt by deal
// with the board's rules and the seed.
std::unique_ptr<MjLayout> DealCatalogBoard(const CatalogBoard& board, int seed,
                                           MjBoardSettings* settings, MjDeal& deal);

} // namespace mjtest
