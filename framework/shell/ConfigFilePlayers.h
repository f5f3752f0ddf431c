#pragma once

#include "framework/core/ConfigFile.h"
#include "framework/core/Export.h"

#include <cstdint>
#include <string>
#include <vector>

// The player profiles ("players.cfg"): [info] n, the ordinal the next player gets (it only
// grows), and curplayer; [players] one key per name, valued by its ordinal. Every change is on
// disk at once. Each player also owns the files named by PlayerFileStem plus ".plr" (and the
// scrambled twin ".plre") in the working folder, which other parts write.
class FRAMEWORK_API ConfigFilePlayers : public ConfigFile
{
public:
    // Names longer than nameLimit (when above 0, the name box's limit) are cut to it as read; a
    // name equal to an earlier added one but for letter case is dropped (it would share that
    // player's files), and a current player so renamed follows. Both are logged.
    explicit ConfigFilePlayers(const std::string& file, int nameLimit = 0);
    ~ConfigFilePlayers() override;

    // The names, most recently added first (highest ordinal; fractions dropped); equal ordinals
    // in byte order. Rebuilt on every call; the reference stays valid until the next one.
    std::vector<std::string>& GetSortedPlayers();
    // Gives the name the next ordinal, even when it is listed already.
    void AddPlayer(std::string name);
    // false, changing nothing, for a name not listed. Otherwise drops the entry (n and curplayer
    // stay) and deletes the player's files under the name as entered and as the game writes it
    // (lower case); a name that can't be a file name only loses its entry (logged).
    bool DeletePlayer(std::string name);

    // The file stem of a player's files: the name lower-cased, as the game writes it. false (and
    // stem untouched) for a name that must never reach a path: empty, with "/" or "..", a
    // leading "." or a control character.
    static bool PlayerFileStem(const std::string& name, std::string* stem);

    // Read directly by the application script and overwritten when a player is chosen.
    std::vector<std::string> _sortedPlayers;
    int32_t _numPlayers = 1;
    std::string _curPlayer;

private:
    void KeepNamesApart(int nameLimit);
};
