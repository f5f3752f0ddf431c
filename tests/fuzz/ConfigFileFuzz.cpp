// Feeds arbitrary bytes to the configuration reader as a plain file and as a scrambled file,
// queries what came out, and checks that every form written back reads back the same.
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

namespace {

using Entries = std::map<std::string, std::string>;

using fuzzsupport::Check;
using fuzzsupport::Put;

// Lists every entry and runs the typed queries over the first ones.
Entries Walk(ConfigFile& cfg)
{
    Entries entries;
    int queried = 0;
    for (const std::string& section : cfg.GetSectionsThatStartWith("")) {
        for (const std::string& key : cfg.GetKeysInSection(section)) {
            const std::string value = cfg.Value(section, key, "", true);
            entries[section + "/" + key] = value;
            if (queried++ < 32) {
                cfg.ValueAsPoint(section, key, Point(1, 2));
                cfg.ValueAsDimension(section, key, Dimension(3, 4));
                cfg.ValueAsColor(section, key, Color(5, 6, 7, 8));
                ConfigFile::AsInt(cfg.Value(section, key, 1.5, true));
            }
        }
    }
    // Misses, through every query.
    cfg.Value("no such", "key", "x", true);
    cfg.ValueAsPoint("no such", "key", Point());
    try {
        cfg.Value("no such", "key", "x", false);
        Check(false, "a miss without default did not throw");
    } catch (const char*) {
    }
    return entries;
}

// Marks the object changed, flushes it, reads the result back and compares.
void RoundTrip(ConfigFile& cfg, const Entries& before, bool plain)
{
    cfg.Write("fuzz", "marker", "x  y");
    cfg.Flush();
    Check(!cfg.IsChanged(), "flush failed");
    // A scrambled line can decode to a line feed, which no line of a file can hold: Flush
    // leaves such entries out. Everything else must come back.
    Entries expected;
    for (const auto& [key, value] : before) {
        if (key.find('\n') == std::string::npos && value.find('\n') == std::string::npos) {
            expected[key] = value;
        }
    }
    expected["fuzz/marker"] = "x  y";
    ConfigFile back(cfg.GetFileName(), false, plain, true);
    Check(Walk(back) == expected,
          plain ? "plain file read back differently" : "scrambled file read back differently");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // A private folder, in memory where it can be: every run writes files.
    fuzzsupport::EnterScratchFolder("cfgfuzz", nullptr);
    // The log would only grow; the reader's paths run the same without it.
    Debug quiet;
    quiet.DebugOff(true);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Plain form, and the same bytes encrypted from it: both read the same.
    ConfigFile::TurnEncryption(false);
    Put("p.cfg", data, size);
    Entries plainEntries;
    {
        ConfigFile cfg("p.cfg", false, true, false);
        plainEntries = Walk(cfg);
        RoundTrip(cfg, plainEntries, true);
    }
    ConfigFile::TurnEncryption(true);
    Put("q.cfg", data, size);
    std::remove("q.cfge");
    {
        ConfigFile cfg("q.cfg", false, false, false);
        Check(Walk(cfg) == plainEntries, "scrambled copy reads differently from its plain file");
    }

    // The bytes as a scrambled file.
    Put("s.cfge", data, size);
    {
        ConfigFile cfg("s.cfg", false, false, true);
        const Entries entries = Walk(cfg);
        RoundTrip(cfg, entries, false);
    }
    return 0;
}
