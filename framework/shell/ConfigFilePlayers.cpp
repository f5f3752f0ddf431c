#include "framework/shell/ConfigFilePlayers.h"

#include "framework/core/File.h"

#include <cctype>
#include <utility>

namespace {

const std::string kPlayersPrefix = "players/";
const char* const kFileEnding = ".plr";
const char* const kScrambledEnding = ".plre";

} // namespace

ConfigFilePlayers::ConfigFilePlayers(const std::string& file)
    : ConfigFile(file, false, false, false)
{
    SetClassLabel("ConfigFilePlayers");
    SetName("ConfigFilePlayers");
    _numPlayers = AsInt(Value("info", "n", 1, true));
    _curPlayer = static_cast<std::string>(Value("info", "curplayer", "", true));
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
