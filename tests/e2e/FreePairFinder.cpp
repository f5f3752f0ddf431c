#include "tests/e2e/FreePairFinder.h"

#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjPuzzleRules.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"

#include <map>

namespace e2e {

namespace {

// Faces 0 to 33 match only their own face; the seasons, flowers and special tiles do not take
// part.
constexpr int kOrdinaryFaces = 34;

} // namespace

FreePair FindFreePair(const std::string& lookFile, const std::string& puzzleSetFile, int board,
                      int seed)
{
    FreePair result;
    MjClassicConfig look(lookFile);
    ConfigFile puzzles(puzzleSetFile, false, false, false);
    const bool quest = look._type == MjClassic::kQuestType;

    // The rules as the board screen reads them for a board of this set.
    MjPuzzleRules rules;
    rules.ReadDescription(puzzles, board, 0, quest, nullptr, look._type);
    rules.ReadSolvable(puzzles, board);
    if (rules.matchSize != 2 && rules.matchSize != 3) {
        rules.matchSize = 2;
    }
    if (rules.matchSize != 2) {
        result.error = "board " + std::to_string(board) + " is played in triples";
        return result;
    }

    MjBoardSettings settings;
    settings.origin = look._boardPos;
    settings.columns = 2 * look._maxI;
    settings.rows = 2 * look._maxJ;
    settings.layers = look._maxK;
    settings.tileWidth = look._tileW;
    settings.tileHeight = look._tileH;
    settings.tileBorder = look._tileBorder;
    MjLayout layout(nullptr, rules.layout, &settings, nullptr, rules.matchSize, rules.doubleLayers);
    if (!layout.IsUsable() || layout.TileCount() == 0) {
        result.error = "layout " + rules.layout + " has no tiles";
        return result;
    }
    MjDeal deal;
    deal.SetRules(rules);
    deal.SetLayout(&layout);
    deal.SetSanityCheck(true); // no seed lines in the log
    deal.DealBoard(seed, nullptr, look._type, board, rules.layout, false);

    std::map<int, FreePairTile> firstOfFace;
    for (int k = 0; k < layout.Layers() && !result.found; ++k) {
        for (int j = 0; j < layout.Rows() && !result.found; ++j) {
            for (int i = 0; i < layout.Columns() && !result.found; ++i) {
                const MjCell& cell = layout.Cell(i, j, k);
                if (cell.state != MjCell::kOrigin || cell.specialKind != 0 || cell.faceCol < 0 ||
                    cell.faceRow < 0 || layout.FreeState(i, j, k) != MjLayout::kFree) {
                    continue;
                }
                const int face = cell.faceCol + MjTile::kSheetColumns * cell.faceRow;
                if (face >= kOrdinaryFaces) {
                    continue;
                }
                FreePairTile tile{i,
                                  j,
                                  k,
                                  face,
                                  layout.CellX(i, j, k) + look._tileW / 2,
                                  layout.CellY(i, j, k) + look._tileH / 2};
                auto known = firstOfFace.find(face);
                if (known == firstOfFace.end()) {
                    firstOfFace.emplace(face, tile);
                } else {
                    result.found = true;
                    result.a = known->second;
                    result.b = tile;
                }
            }
        }
    }
    if (!result.found) {
        result.error = "no free pair on board " + std::to_string(board);
    }
    return result;
}

} // namespace e2e
