// The solvable deal of a 144-tile board, seeds 1 to 200, retries included: first from a loaded
// grid to a dealt grid, then with reading the layout file. Prints the median, the 95th
// percentile and the slowest seed of each run.
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjDeal.h"
#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/MjGameGrid.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

constexpr int kSeeds = 200;

MjBoardSettings Settings()
{
    return mjtest::GameGridSettings();
}

// A shipped 144-tile board when the data folder has one, else the test fixture.
std::string LayoutPath()
{
    const std::string shipped = std::string(GAME_DATA_DIR) + "/puzzles/classic01.cfg";
    if (std::filesystem::exists(shipped)) {
        return shipped;
    }
    return std::string(FRAMEWORK_TEST_FIXTURES) + "/mahjong/pyramid144.cfg";
}

double Seconds(std::chrono::steady_clock::duration d)
{
    return std::chrono::duration<double>(d).count();
}

void Report(benchmark::State& state, const char* name, std::vector<double> perSeed)
{
    int slowest = 0;
    for (int n = 1; n < kSeeds; ++n) {
        if (perSeed[n] > perSeed[slowest]) {
            slowest = n;
        }
    }
    const double worst = perSeed[slowest];
    std::sort(perSeed.begin(), perSeed.end());
    const double median = (perSeed[kSeeds / 2 - 1] + perSeed[kSeeds / 2]) / 2;
    const double p95 = perSeed[(kSeeds * 95 + 99) / 100 - 1];
    state.counters["median_ms"] = median * 1e3;
    state.counters["p95_ms"] = p95 * 1e3;
    state.counters["slowest_ms"] = worst * 1e3;
    state.counters["slowest_seed"] = slowest + 1;
    std::printf("%s: median %.3f ms, 95th percentile %.3f ms, slowest seed %d (%.3f ms)\n", name,
                median * 1e3, p95 * 1e3, slowest + 1, worst * 1e3);
}

// Each iteration deals every seed once; each seed keeps its fastest time over the iterations.
void DealLoadedGrid(benchmark::State& state)
{
    MjBoardSettings settings = Settings();
    const std::string path = LayoutPath();
    MjLayout layout(nullptr, path, &settings, nullptr, 2, 0);
    MjDeal deal;
    deal.SetSanityCheck(true);
    deal.SetRules(MjPuzzleRules());
    deal.SetLayout(&layout);
    std::vector<double> best(kSeeds, 1e9);
    for (auto _ : state) {
        for (int seed = 1; seed <= kSeeds; ++seed) {
            layout.Rebuild();
            deal.SetRules(MjPuzzleRules());
            const auto start = std::chrono::steady_clock::now();
            deal.DealBoard(seed, nullptr, 0, 0, path, false);
            const double taken = Seconds(std::chrono::steady_clock::now() - start);
            best[seed - 1] = std::min(best[seed - 1], taken);
            if (!deal.Dealt()) {
                state.SkipWithError("a board was not dealt");
            }
        }
    }
    Report(state, "loaded grid to dealt grid", best);
}

void DealWithFileRead(benchmark::State& state)
{
    MjBoardSettings settings = Settings();
    const std::string path = LayoutPath();
    std::vector<double> best(kSeeds, 1e9);
    for (auto _ : state) {
        for (int seed = 1; seed <= kSeeds; ++seed) {
            const auto start = std::chrono::steady_clock::now();
            MjLayout layout(nullptr, path, &settings, nullptr, 2, 0);
            MjDeal deal;
            deal.SetSanityCheck(true);
            deal.SetRules(MjPuzzleRules());
            deal.SetLayout(&layout);
            deal.DealBoard(seed, nullptr, 0, 0, path, false);
            const double taken = Seconds(std::chrono::steady_clock::now() - start);
            best[seed - 1] = std::min(best[seed - 1], taken);
        }
    }
    Report(state, "file read to dealt grid", best);
}

} // namespace

BENCHMARK(DealLoadedGrid)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(DealWithFileRead)->Iterations(5)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
