// Feeds arbitrary bytes to the configuration reader as a plain file and as a scrambled file,
// queries what came out, and checks that every form written back reads back the same.
#include "framework/core/ConfigFile.h"
#include "framework/core/Debug.h"
#include "tests/fuzz/FuzzSupport.h"

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using fuzzsupport::Check;
using fuzzsupport::Put;

// The reader with its entries in view, so that two files are compared entry by entry in one
// pass instead of through a lookup per entry.
class Probe final : public ConfigFile
{
public:
    using ConfigFile::ConfigFile;
    const std::map<std::string, MultiType>& Entries() const { return _values; }
};

bool HasLineFeed(const std::string& text)
{
    return text.find('\n') != std::string::npos;
}

// Lists every entry through the queries, checks that the listing is exactly what was read, in
// order, and runs the typed queries over the first entries.
void Walk(Probe& cfg)
{
    const std::map<std::string, MultiType>& entries = cfg.Entries();
    auto next = entries.begin();
    int queried = 0;
    // A section comes once per entry, in order: its keys are listed at its first entry, so the
    // walk stays linear in the entries.
    const std::vector<std::string> sections = cfg.GetSectionsThatStartWith("");
    Check(sections.size() == entries.size(), "not one section per entry");
    for (size_t i = 0; i < sections.size(); ++i) {
        const std::string& section = sections[i];
        if (i > 0 && section == sections[i - 1]) {
            continue;
        }
        for (const std::string& key : cfg.GetKeysInSection(section)) {
            const std::string value = cfg.Value(section, key, "", true);
            Check(next != entries.end() && next->first == section + "/" + key &&
                      static_cast<std::string>(next->second) == value,
                  "the listed entries differ from those read");
            ++next;
            if (queried++ < 32) {
                cfg.ValueAsPoint(section, key, Point(1, 2));
                cfg.ValueAsDimension(section, key, Dimension(3, 4));
                cfg.ValueAsColor(section, key, Color(5, 6, 7, 8));
                ConfigFile::AsInt(cfg.Value(section, key, 1.5, true));
            }
        }
    }
    Check(next == entries.end(), "entries missing from the listing");
    // Misses, through every query.
    cfg.Value("no such", "key", "x", true);
    cfg.ValueAsPoint("no such", "key", Point());
    try {
        cfg.Value("no such", "key", "x", false);
        Check(false, "a miss without default did not throw");
    } catch (const char*) {
    }
}

// Whether read holds exactly the entries of written, less those holding a line feed when
// written was flushed (no line of a file can hold one, so Flush leaves them out).
bool SameEntries(const Probe& written, const Probe& read, bool flushed)
{
    auto r = read.Entries().begin();
    const auto rEnd = read.Entries().end();
    for (const auto& [key, entry] : written.Entries()) {
        const std::string value = entry;
        if (flushed && (HasLineFeed(key) || HasLineFeed(value))) {
            continue;
        }
        if (r == rEnd || r->first != key || static_cast<std::string>(r->second) != value) {
            return false;
        }
        ++r;
    }
    return r == rEnd;
}

// Marks the object changed, flushes it, reads the result back and compares.
void RoundTrip(Probe& cfg, bool plain)
{
    cfg.Write("fuzz", "marker", "x  y");
    Check(static_cast<std::string>(cfg.Value("fuzz", "marker", "", true)) == "x  y",
          "a write was not taken");
    cfg.Flush();
    Check(!cfg.IsChanged(), "flush failed");
    const Probe back(cfg.GetFileName(), false, plain, true);
    Check(SameEntries(cfg, back, true),
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
    Probe plainFile("p.cfg", false, true, false);
    Walk(plainFile);
    ConfigFile::TurnEncryption(true);
    Put("q.cfg", data, size);
    std::remove("q.cfge");
    {
        const Probe copy("q.cfg", false, false, false);
        Check(SameEntries(plainFile, copy, false),
              "scrambled copy reads differently from its plain file");
    }
    ConfigFile::TurnEncryption(false);
    RoundTrip(plainFile, true);

    // The bytes as a scrambled file.
    ConfigFile::TurnEncryption(true);
    Put("s.cfge", data, size);
    {
        Probe cfg("s.cfg", false, false, true);
        Walk(cfg);
        RoundTrip(cfg, false);
    }
    return 0;
}
