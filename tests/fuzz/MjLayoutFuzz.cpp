// Feeds arbitrary bytes to the layout reader as a layout file, in single and double mode, then
// runs the free rule over the board and deals it; every cell written must lie inside the grid
// and every dealt face must be a face of the tile sheet.
#include "framework/core/Debug.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjCell.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/MjGameGrid.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "MjLayoutFuzz: %s\n", what);
        std::abort();
    }
}

MjBoardSettings& Settings(int variant)
{
    // A board look's grid and a small one whose edges the inputs reach easily.
    static MjBoardSettings large = mjtest::GameGridSettings();
    static MjBoardSettings small = [] {
        MjBoardSettings s = large;
        s.columns = 6;
        s.rows = 4;
        s.layers = 3;
        return s;
    }();
    return variant == 0 ? large : small;
}

// One layout per grid, match size and mode, made once and emptied before each input: a layout
// holds cells for the largest grid (800 KB), and making them anew for every input spent most of
// the run allocating and zeroing them. Rebuilt from no positions it is as a new one (its counts
// too, which Clear keeps), so no input depends on the ones before it.
MjLayout& LayoutFor(int variant, int matchSize, int doubleMode)
{
    static std::unique_ptr<MjLayout> layouts[2][2][2];
    std::unique_ptr<MjLayout>& layout = layouts[variant][matchSize - 2][doubleMode];
    if (layout == nullptr) {
        layout = std::make_unique<MjLayout>(nullptr, "", &Settings(variant), nullptr, matchSize,
                                            doubleMode);
    }
    layout->LoadText("");
    layout->Rebuild();
    return *layout;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The log would only grow (a line per odd input, each flushed to disk); the reader and the
    // deal run the same without it.
    Debug quiet;
    quiet.DebugOff(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) {
        return 0;
    }
    const int flags = data[0];
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
    MjBoardSettings& settings = Settings(flags & 1);
    const int matchSize = 2 + (flags >> 2 & 1);
    MjLayout& layout = LayoutFor(flags & 1, matchSize, flags >> 1 & 1);
    layout.LoadText(text);
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        Check(i >= 0 && i + 1 < settings.columns && j >= 0 && j + 1 < settings.rows && k >= 0 &&
                  k < settings.layers,
              "a position outside the grid");
        layout.FreeState(i, j, k);
        layout.IsFullyCovered(i, j, k);
    }
    MjDeal deal;
    deal.SetSanityCheck(true);
    MjPuzzleRules rules;
    rules.matchSize = matchSize;
    rules.solvable = flags >> 3 & 1 ? 0 : 1;
    rules.useVortex = flags >> 4 & 1 ? 0 : 1;
    deal.SetRules(rules);
    deal.SetLayout(&layout);
    deal.DealBoard(1 + (flags >> 5), nullptr, 0, 0, "fuzz", false);
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = layout.Cell(i, j, k);
        if (cell.state == MjCell::kOrigin) {
            const int face = cell.faceCol + 6 * cell.faceRow;
            Check(!deal.Dealt() || (cell.faceCol >= 0 && face < 60), "a cell without a face");
        }
    }
    return 0;
}
