#include "framework/shell/ConfigFilePlayers.h"

#include "framework/core/File.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <utility>

namespace {

const std::string kPlayersPrefix = "players/";
const char* const kFileEnding = ".plr";
const char* const kScrambledEnding = ".plre";

} // namespace

ConfigFilePlayers::ConfigFilePlayers(const std::string& file, int nameLimit)
    : ConfigFile(file, false, false, false)
{
    SetClassLabel("ConfigFilePlayers");
    SetName("ConfigFilePlayers");
    MarkAsPlayerData();
    _numPlayers = AsInt(Value("info", "n", 1, true));
    _curPlayer = static_cast<std::string>(Value("info", "curplayer", "", true));
    KeepNamesApart(nameLimit);
}

void ConfigFilePlayers::KeepNamesApart(int nameLimit)
{
    // Earlier added first: the one kept of two names that meet.
    std::vector<std::pair<int, std::string>> players;
    for (auto it = _values.lower_bound(kPlayersPrefix);
         it != _values.end() && it->first.compare(0, kPlayersPrefix.size(), kPlayersPrefix) == 0;
         ++it) {
        players.emplace_back(AsInt(it->second), it->first.substr(kPlayersPrefix.size()));
    }
    std::stable_sort(players.begin(), players.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    std::map<std::string, std::string> kept; // by the lower-cased name
    for (const auto& [rank, name] : players) {
        std::string cut = name;
        if (nameLimit > 0 && cut.size() > static_cast<size_t>(nameLimit)) {
            cut.resize(static_cast<size_t>(nameLimit));
        }
        std::string lowered;
        for (const char c : cut) {
            lowered.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
        const auto earlier = kept.find(lowered);
        const std::string& becomes = earlier != kept.end() ? earlier->second : cut;
        if (earlier != kept.end()) {
            DebugVar(-1, "Player %s dropped: the same name as %s but for letter case", name.c_str(),
                     becomes.c_str());
        } else if (cut != name) {
            DebugVar(-1, "Player name cut to %d characters: %s", nameLimit, cut.c_str());
        }
        if (_curPlayer == name) {
            _curPlayer = becomes;
        }
        if (becomes != name) {
            const MultiType value = _values[kPlayersPrefix + name];
            _values.erase(kPlayersPrefix + name);
            if (earlier == kept.end()) {
                _values.insert_or_assign(kPlayersPrefix + cut, value);
            }
        }
        kept.emplace(lowered, becomes);
    }
}

ConfigFilePlayers::~ConfigFilePlayers() = default;

std::vector<std::string>& ConfigFilePlayers::GetSortedPlayers()
{
    // Only section "players": a section such as "oldplayers" also contains "players/".
    std::vector<std::pair<std::string, int>> ranked;
    for (auto it = _values.lower_bound(kPlayersPrefix);
         it != _values.end() && it->first.compare(0, kPlayersPrefix.size(), kPlayersPrefix) == 0;
         ++it) {
        const std::string name = it->first.substr(kPlayersPrefix.size());
        const int rank = AsInt(it->second);
        // Before the first smaller rank: equal ranks keep the map's byte order.
        auto at = ranked.begin();
        while (at != ranked.end() && at->second >= rank) {
            ++at;
        }
        ranked.insert(at, {name, rank});
    }
    _sortedPlayers.clear();
    for (const auto& entry : ranked) {
        _sortedPlayers.push_back(entry.first);
    }
    return _sortedPlayers;
}

void ConfigFilePlayers::AddPlayer(std::string name)
{
    Write("players", name, static_cast<int>(_numPlayers));
    ++_numPlayers;
    Write("info", "n", static_cast<int>(_numPlayers));
    Flush();
}

bool ConfigFilePlayers::DeletePlayer(std::string name)
{
    const auto entry = _values.find(kPlayersPrefix + name);
    if (entry == _values.end()) {
        return false;
    }
    _values.erase(entry);
    _changed = true;
    Flush();

    std::string stem;
    if (!PlayerFileStem(name, &stem)) {
        DebugVar(-1, "Player name not usable as a file name, files left alone: %s", name.c_str());
        return true;
    }
    // Files made under the name as entered, and under the lower-cased name the game uses.
    for (const std::string& base : {name, stem}) {
        File::Delete((base + kFileEnding).c_str());
        File::Delete((base + kScrambledEnding).c_str());
    }
    return true;
}

bool ConfigFilePlayers::PlayerFileStem(const std::string& name, std::string* stem)
{
    if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos ||
        name.find("..") != std::string::npos) {
        return false;
    }
    std::string lowered;
    lowered.reserve(name.size());
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            return false;
        }
        lowered.push_back(static_cast<char>(std::tolower(byte)));
    }
    if (stem != nullptr) {
        *stem = std::move(lowered);
    }
    return true;
}
