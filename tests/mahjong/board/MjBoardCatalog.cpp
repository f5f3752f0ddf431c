#include "tests/mahjong/board/MjBoardCatalog.h"

#include "framework/core/ConfigFile.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/MjGameGrid.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace mjtest {

namespace {

MjPuzzleRules With(void (*change)(MjPuzzleRules&))
{
    MjPuzzleRules rules;
    change(rules);
    return rules;
}

std::vector<CatalogBoard> Fixtures()
{
    const auto path = [](const std::string& name) {
        return testsupport::FixturePath("mahjong/" + name);
    };
    const MjPuzzleRules plain;
    return {
        {"fixture:pyramid144", path("pyramid144.cfg"), plain},
        {"fixture:pyramid144 harder", path("pyramid144.cfg"),
         With([](MjPuzzleRules& r) { r.harder = 3; })},
        {"fixture:pyramid144 easy", path("pyramid144.cfg"),
         With([](MjPuzzleRules& r) { r.easy = 2; })},
        {"fixture:pyramid144 difficulty 1", path("pyramid144.cfg"),
         With([](MjPuzzleRules& r) { r.difficulty = 1; })},
        {"fixture:pyramid144 half numbers", path("pyramid144.cfg"), With([](MjPuzzleRules& r) {
             r.half = 1;
             r.numbers = 1;
         })},
        {"fixture:pyramid144 triples", path("pyramid144.cfg"),
         With([](MjPuzzleRules& r) { r.matchSize = 3; })},
        {"fixture:pyramid144 fours", path("pyramid144.cfg"),
         With([](MjPuzzleRules& r) { r.matchSize = 4; })},
        {"fixture:pyramid144 open", path("pyramid144.cfg"),
         With([](MjPuzzleRules& r) { r.solvable = 0; })},
        {"fixture:stagger72", path("stagger72.cfg"), plain},
        {"fixture:stagger72 justTwo", path("stagger72.cfg"),
         With([](MjPuzzleRules& r) { r.justTwo = 1; })},
        {"fixture:towers36", path("towers36.cfg"), plain},
        {"fixture:towers36 double", path("towers36.cfg"),
         With([](MjPuzzleRules& r) { r.doubleLayers = 1; })},
        {"fixture:magnet", path("magnet.cfg"), plain},
        {"fixture:deepmagnet", path("deepmagnet.cfg"), plain},
        {"fixture:typhoon", path("typhoon.cfg"), plain},
        {"fixture:typhoon without vortex", path("typhoon.cfg"),
         With([](MjPuzzleRules& r) { r.useVortex = 0; })},
        {"fixture:fuse", path("fuse.cfg"), plain},
        {"fixture:fuse skipbrick", path("fuse.cfg"),
         With([](MjPuzzleRules& r) { r.skipBrick = 1; })},
        {"fixture:clone_swapper", path("clone_swapper.cfg"), plain},
        {"fixture:specialcells", path("specialcells.cfg"), plain},
    };
}

// Layout name ("puzzles/x.cfg") to the rules of the first puzzle description naming it.
std::map<std::string, MjPuzzleRules> DescribedRules(const std::string& dataDir)
{
    std::map<std::string, MjPuzzleRules> rules;
    std::vector<std::filesystem::path> sets;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dataDir + "/cfg", ignored)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("puzzles", 0) == 0 && entry.path().extension() == ".cfg") {
            sets.push_back(entry.path());
        }
    }
    std::sort(sets.begin(), sets.end());
    for (const auto& set : sets) {
        ConfigFile file(set.string(), false, true, false);
        for (int puzzle = 0; puzzle < 200; ++puzzle) {
            const std::string section = MjPuzzleRules::SectionName(puzzle);
            const std::string layout =
                static_cast<std::string>(file.Value(section, "layout", "", true));
            if (layout.empty()) {
                continue;
            }
            MjPuzzleRules described;
            described.ReadDescription(file, puzzle, 0, false, nullptr, 0);
            described.ReadSolvable(file, puzzle);
            rules.emplace(layout, described);
        }
    }
    return rules;
}

} // namespace

std::string GameDataDir()
{
    const char* over = std::getenv("MJ_GAME_DATA");
    return over != nullptr ? std::string(over) : std::string(GAME_DATA_DIR);
}

std::vector<CatalogBoard> CatalogBoards()
{
    std::vector<CatalogBoard> boards = Fixtures();
    const std::string dataDir = GameDataDir();
    const std::map<std::string, MjPuzzleRules> described = DescribedRules(dataDir);
    std::vector<std::string> layouts;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(dataDir + "/puzzles", ignored)) {
        if (entry.path().extension() == ".cfg") {
            layouts.push_back("puzzles/" + entry.path().filename().string());
        }
    }
    std::sort(layouts.begin(), layouts.end());
    for (const std::string& layout : layouts) {
        const auto found = described.find(layout);
        boards.push_back({"data:" + layout, dataDir + "/" + layout,
                          found != described.end() ? found->second : MjPuzzleRules()});
    }
    return boards;
}

MjBoardSettings CatalogSettings()
{
    return GameGridSettings();
}

std::unique_ptr<MjLayout> DealCatalogBoard(const CatalogBoard& board, int seed,
                                           MjBoardSettings* settings, MjDeal& deal)
{
    auto layout = std::make_unique<MjLayout>(nullptr, board.path, settings, nullptr,
                                             board.rules.matchSize, board.rules.doubleLayers);
    deal.SetRules(board.rules);
    deal.SetLayout(layout.get());
    deal.DealBoard(seed, nullptr, 0, 0, board.path, false);
    return layout;
}

} // namespace mjtest
