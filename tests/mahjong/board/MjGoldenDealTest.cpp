// Dealt boards must never change: a stored seed has to deal the same board in every version.
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/MjBoardCatalog.h"
#include "tests/support/TestSupport.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

constexpr int kSeeds = 20;

// FNV-1a over every origin cell's place and face, in scan order.
uint64_t Digest(const MjLayout& layout, bool dealt)
{
    uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](int value) {
        for (int byte = 0; byte < 4; ++byte) {
            hash ^= static_cast<uint32_t>(value) >> (8 * byte) & 0xffu;
            hash *= 1099511628211ull;
        }
    };
    mix(dealt ? 1 : 0);
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = layout.Cell(i, j, k);
        if (cell.state == MjCell::kOrigin) {
            mix(index);
            mix(cell.faceCol < 0 ? -1 : cell.faceCol + 6 * cell.faceRow);
        }
    }
    return hash;
}

std::string Key(const std::string& name, int seed)
{
    return name + " seed " + std::to_string(seed);
}

std::map<std::string, std::string> ReadGolden(const std::string& path)
{
    std::map<std::string, std::string> golden;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const size_t bar = line.rfind(" = ");
        if (!line.empty() && line[0] != '#' && bar != std::string::npos) {
            golden[line.substr(0, bar)] = line.substr(bar + 3);
        }
    }
    return golden;
}

} // namespace

// To write the file after a deliberate change of a shipped layout or a fixture:
//   MJ_GOLDEN_WRITE=$PWD/tests/fixtures/mahjong/golden_deals.txt ctest --test-dir build -R Golden
TEST(MjGoldenDealTest, DealtFacesMatchTheCommittedDigests)
{
    const std::map<std::string, std::string> golden =
        ReadGolden(testsupport::FixturePath("mahjong/golden_deals.txt"));
    std::ostringstream written;
    written << "# Digests of dealt boards, seeds 1 to " << kSeeds << "; written by "
            << "MjGoldenDealTest with MJ_GOLDEN_WRITE set.\n";
    MjBoardSettings settings = mjtest::CatalogSettings();
    int checked = 0;
    for (const mjtest::CatalogBoard& board : mjtest::CatalogBoards()) {
        for (int seed = 1; seed <= kSeeds; ++seed) {
            MjDeal deal;
            const std::unique_ptr<MjLayout> layout =
                mjtest::DealCatalogBoard(board, seed, &settings, deal);
            char digest[32];
            std::snprintf(digest, sizeof(digest), "%016" PRIx64, Digest(*layout, deal.Dealt()));
            written << Key(board.name, seed) << " = " << digest << "\n";
            const auto found = golden.find(Key(board.name, seed));
            if (found == golden.end()) {
                ADD_FAILURE() << "no committed digest for " << Key(board.name, seed);
                continue;
            }
            EXPECT_EQ(found->second, digest) << Key(board.name, seed);
            ++checked;
        }
    }
    if (const char* out = std::getenv("MJ_GOLDEN_WRITE")) {
        std::ofstream(out) << written.str();
    }
    EXPECT_GT(checked, 0);
}
