// Reading and querying a large configuration file (200 sections x 50 keys) in its plain and its
// scrambled form, beside a plain std::getline pass over the same bytes.
#include "framework/core/ConfigFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kSections = 200;
constexpr int kKeys = 50;

std::string SectionName(int s)
{
    return "section" + std::to_string(s);
}

std::string KeyName(int k)
{
    return "key" + std::to_string(k);
}

// Made once, in a scratch folder that is the working folder from then on.
struct Files
{
    Files()
    {
        char pattern[] = "/tmp/cfgbench.XXXXXX";
        if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
            std::perror("bench folder");
            std::exit(1);
        }
        static std::string folder = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        std::string text = "; generated\r\n";
        for (int s = 0; s < kSections; ++s) {
            text += "\r\n[" + SectionName(s) + "]\r\n";
            for (int k = 0; k < kKeys; ++k) {
                text += KeyName(k) + "=" + std::to_string(s * k) + ", " + std::to_string(k) +
                        "  text of entry " + std::to_string(k) + "\r\n";
            }
        }
        std::ofstream("bench.cfg", std::ios::binary) << text;
        ConfigFile::TurnEncryption(true);
        ConfigFile maker("bench.cfg", false, false, false); // makes bench.cfge
        plainBytes = static_cast<int64_t>(text.size());
        std::ifstream scrambled("bench.cfge", std::ios::binary | std::ios::ate);
        scrambledBytes = static_cast<int64_t>(scrambled.tellg());
    }
    int64_t plainBytes = 0;
    int64_t scrambledBytes = 0;
};

const Files& GetFiles()
{
    static const Files files;
    return files;
}

// Arg 0: the plain file; arg 1: the scrambled one.
bool Scrambled(const benchmark::State& state)
{
    return state.range(0) != 0;
}

int64_t Bytes(const benchmark::State& state)
{
    return Scrambled(state) ? GetFiles().scrambledBytes : GetFiles().plainBytes;
}

void QueryAll(ConfigFile& cfg)
{
    double sum = 0;
    for (int s = 0; s < kSections; ++s) {
        const std::string section = SectionName(s);
        for (int k = 0; k < kKeys; ++k) {
            sum += static_cast<double>(cfg.Value(section, KeyName(k), 0, true));
        }
    }
    benchmark::DoNotOptimize(sum);
}

void BM_GetlinePass(benchmark::State& state)
{
    const char* file = Scrambled(state) ? "bench.cfge" : "bench.cfg";
    GetFiles();
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::string line;
        size_t total = 0;
        while (std::getline(in, line)) {
            total += line.size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * Bytes(state));
}

void BM_Read(benchmark::State& state)
{
    GetFiles();
    const bool plain = !Scrambled(state);
    for (auto _ : state) {
        ConfigFile cfg("bench.cfg", false, plain, true);
        benchmark::DoNotOptimize(cfg.NumErrors());
    }
    state.SetBytesProcessed(state.iterations() * Bytes(state));
}

void BM_ReadAndQuery(benchmark::State& state)
{
    GetFiles();
    const bool plain = !Scrambled(state);
    for (auto _ : state) {
        ConfigFile cfg("bench.cfg", false, plain, true);
        QueryAll(cfg);
    }
    state.SetBytesProcessed(state.iterations() * Bytes(state));
}

// Queries alone: 10000 look-ups and number conversions on a file already read.
void BM_QueryAll(benchmark::State& state)
{
    GetFiles();
    ConfigFile cfg("bench.cfg", false, true, true);
    for (auto _ : state) {
        QueryAll(cfg);
    }
    state.SetItemsProcessed(state.iterations() * kSections * kKeys);
}

} // namespace

BENCHMARK(BM_GetlinePass)->ArgName("scrambled")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Read)->ArgName("scrambled")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAndQuery)->ArgName("scrambled")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QueryAll)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
