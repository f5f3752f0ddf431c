// The game's own data set as the program will read it from the built data folder: every key the
// game reads is there (no configuration logs a miss), every dialog the game opens has controls,
// every layout parses, fits its look, deals the tile counts the deal supports, keeps the placement
// rules that keep boards clearable, and the pictures and sounds the configurations name are the
// ones the manifests describe.
#include "SDL.h"
#include "SDL_image.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = GAME_DATA_DIR;
const fs::path kSource = GAME_DATA_SOURCE_DIR;

// ---------------------------------------------------------------------------------------------
// Reading configurations the way the game does, recording what is missing.

struct Look
{
    const char* file;
    int type;
};
const Look kLooks[] = {{"cfg/mjclassic.cfg", 0}, {"cfg/mjlogic.cfg", 1}, {"cfg/mjzorvy.cfg", 2}};

// A configuration with the lookups of one reader: each miss is named, so a failure says which
// key to add, and the file's own error count must agree that nothing was missed.
class Reads
{
public:
    explicit Reads(const std::string& rel, ConfigFile* parent = nullptr)
        : _name(rel),
          _cfg(std::make_unique<ConfigFile>((kData / rel).string(), parent, false, true, false))
    {}

    ConfigFile& Cfg() { return *_cfg; }

    std::string Text(const std::string& section, const std::string& key)
    {
        try {
            return _cfg->Value(section, key, "", false);
        } catch (const char*) {
            _missing.push_back(section + "/" + key);
            return "";
        }
    }
    int Int(const std::string& section, const std::string& key)
    {
        return static_cast<int>(std::strtod(Text(section, key).c_str(), nullptr));
    }
    Point Pt(const std::string& section, const std::string& key)
    {
        const std::string text = Text(section, key);
        if (std::count(text.begin(), text.end(), ',') != 1) {
            _missing.push_back(section + "/" + key + " (not a point: \"" + text + "\")");
        }
        return _cfg->ValueAsPoint(section, key, Point(0, 0));
    }
    void Colour(const std::string& section, const std::string& key)
    {
        const std::string text = Text(section, key);
        if (std::count(text.begin(), text.end(), ',') < 2) {
            _missing.push_back(section + "/" + key + " (not a colour: \"" + text + "\")");
        }
    }

    // Fails the calling test when a lookup missed.
    void ExpectComplete()
    {
        EXPECT_TRUE(_missing.empty()) << _name << " lacks: " << Join(_missing);
    }

    static std::string Join(const std::vector<std::string>& items)
    {
        std::string out;
        for (const std::string& item : items) {
            out += (out.empty() ? "" : ", ") + item;
        }
        return out;
    }

private:
    std::string _name;
    std::unique_ptr<ConfigFile> _cfg;
    std::vector<std::string> _missing;
};

std::string Fmt(const char* pattern, int n)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, n);
    return buffer;
}

const char* const kLabelSections[] = {"TitleText",     "TitleText2",   "LivesText",   "ScoreText",
                                      "BonusText",     "ScoreTime1",   "ScoreTime2",  "ScoreTime3",
                                      "ScoreTime4",    "ScoreTotText", "MatchesLeft", "ReplayText",
                                      "HighlightText", "modetext",     "MapName",     "MapScore1",
                                      "MapScore2",     "MapScore3",    "MapAchieved"};

const char* const kCues[] = {"CFG_SELECT",    "CFG_TILESMATCHED",   "CFG_TILESNOTMATCHED",
                             "CFG_QUAD",      "CFG_MENUSELECTIONS", "CFG_WATERDROP",
                             "CFG_UNDO",      "CFG_CLEAREDBOARD",   "CFG_TIMESUP",
                             "CFG_FADEIN",    "CFG_OPENINGSCROLL",  "CFG_UP",
                             "CFG_DOWN",      "CFG_FUSE",           "CFG_EXPLODE",
                             "CFG_CLONE",     "CFG_TYPHOON",        "CFG_SWAPPER",
                             "CFG_MAGICWAND", "CFG_MAGNET"};

// Every key the look configuration and the board screen read from a look file.
void ReadLook(Reads& r, int type)
{
    EXPECT_EQ(r.Int("game", "type"), type);
    r.Int("game", "puzzles");
    r.Int("game", "fadeInSpeed");
    r.Int("game", "bug");
    for (int n = 0; n < 4; ++n) {
        r.Text("bg", Fmt("img%d", n));
    }
    r.Pt("board", "pos");
    const int maxI = r.Int("board", "max_i");
    const int maxJ = r.Int("board", "max_j");
    const int maxK = r.Int("board", "max_k");
    EXPECT_LE(maxI, 21);
    EXPECT_LE(maxJ, 11);
    EXPECT_LE(4 * maxI * maxJ * maxK, 20000);
    for (const char* button :
         {"b_menu", "b_new_game", "b_replay", "b_undo", "b_hint", "b_pause", "third"}) {
        r.Pt(button, "pos");
        r.Text(button, "img");
    }
    r.Pt("UndoTiles", "pos");
    r.Int("UndoTiles", "space");
    EXPECT_EQ(r.Int("tiles", "w"), 40);
    EXPECT_EQ(r.Int("tiles", "h"), 50);
    EXPECT_EQ(r.Int("tiles", "border"), 8) << "the blank tile's drawn edge";
    r.Text("top", "img");
    r.Text("bottom", "img");
    r.Int("shadow", "w");
    r.Colour("popuppoints", "col");
    for (const char* key : {"width", "justify", "time", "font", "fontstyle", "fontsize"}) {
        r.Text("popuppoints", key);
    }
    for (int n = 0; n <= 6; ++n) {
        const std::string font = Fmt("font%d", n);
        if (r.Int(font, "size") != 0 || n == 0) {
            r.Text(font, "name");
            r.Int(font, "style");
        }
    }
    for (const char* label : kLabelSections) {
        const int font = r.Int(label, "font");
        EXPECT_TRUE(font >= 0 && font <= 6) << label;
        EXPECT_NE(r.Cfg().Value(Fmt("font%d", font), "size", "0", true).operator std::string(), "0")
            << label << " names font " << font << ", which has no size";
        r.Pt(label, "pos");
        r.Int(label, "size");
        r.Colour(label, "color1");
        r.Int(label, "justify");
    }
    r.Colour("modetext", "color2");
    r.Colour("modetext", "color3");
    for (int n = 1; n <= 3; ++n) {
        const std::string set = Fmt("tileset%d", n);
        for (const char* key : {"img", "pos_x", "pos_y", "pos_onetile", "shadow"}) {
            r.Text(set, key);
        }
    }
    for (int t = 42; t <= 59; ++t) {
        const std::string section = Fmt("special%d", t);
        if (r.Int(section, "size") != 0 && t != 51) {
            r.Text(section, "img");
            r.Int(section, "from");
            r.Int(section, "time");
        }
    }
    if (r.Int("firecracker2", "size") != 0) {
        r.Text("firecracker2", "img");
    }
    r.Text("rim", "img");
    r.Int("rim", "top");
    r.Int("rim", "bottom");
    EXPECT_NE(r.Pt("timer", "pos").GetX(), 0) << "a board without a clock";
    r.Pt("timer", "tip");
    r.Pt("timer", "smokePos");
    r.Text("timer", "timer");
    EXPECT_GT(r.Int("threshold", "points"), 0);
    r.Int("spirit", "speed");
    if (type == 2) {
        for (const char* key :
             {"smoke", "smokeFrames", "ember", "emberFrames", "emberSpeed", "smokeSpeed"}) {
            r.Text("timer", key);
        }
        r.Text("case", "img");
        EXPECT_EQ(r.Int("case", "frames"), 3);
        r.Pt("case", "pos");
        for (const char* section : {"case_on_top", "replay_mode"}) {
            r.Text(section, "img");
            r.Pt(section, "pos");
        }
    }
    for (const char* cue : kCues) {
        r.Text("sounds", cue);
    }
    EXPECT_EQ(r.Cfg().GetKeysInSection("sounds").size(), std::size(kCues)) << "one sound per cue";
}

// ---------------------------------------------------------------------------------------------
// Layouts: a reader of the layout format of our own and the placement rules.

struct Tile
{
    int i, j, level, code;
};

struct Layout
{
    std::string title = "Layout Title Missing";
    std::vector<Tile> tiles;
};

bool ReadLayout(const fs::path& path, Layout& out)
{
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    auto after = [](const std::string& line) {
        const auto eq = line.find('=');
        return eq == std::string::npos ? line : line.substr(eq + 1);
    };
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            continue;
        }
        if (line[0] == 'L') {
            out.title = after(line);
        } else if (line[0] == 'v') {
            const int v = std::atoi(after(line).c_str());
            int i = 0, j = 0;
            if (n + 1 < lines.size()) {
                const std::string pos = after(lines[++n]);
                const auto comma = pos.find(',');
                i = std::atoi(pos.substr(0, comma).c_str());
                j = comma == std::string::npos ? i : std::atoi(pos.substr(comma + 1).c_str());
            }
            out.tiles.push_back({i, j, v % 100, v / 100 - 1});
        }
    }
    return true;
}

constexpr int kDeal = -1, kCell = 52, kYinYang = 42, kBrick = 45, kFuse = 48, kMagnet = 58,
              kDeep = 59;

// The special kind the grid gives a code: 2 brick, 3 fuse, 4 typhoon, 5 magnet, 6 clone,
// 7 swapper, 8 up, 9 down, 10 wand, 11 deep magnet, 1 the other special tiles, 0 none.
int KindOf(int code)
{
    static const std::map<int, int> kinds = {{59, 11}, {47, 8}, {46, 9}, {57, 10}, {54, 7},
                                             {49, 6},  {58, 5}, {50, 4}, {48, 3},  {45, 2}};
    if (code < 42 || code == kCell) {
        return 0;
    }
    const auto found = kinds.find(code);
    return found == kinds.end() ? 1 : found->second;
}

bool Dealt(int code)
{
    return code == kDeal || code == kCell;
}

// The tile grid of quarter cells: 42 columns, 22 rows, 22 layers; each holds the index of the
// tile that covers it, or -1.
class Grid
{
public:
    Grid() : _cells(42 * 22 * 22, -1) {}

    bool Inside(int i, int j, int k) const
    {
        return i >= 0 && i < 42 && j >= 0 && j < 22 && k >= 0 && k < 22;
    }
    int At(int i, int j, int k) const
    {
        return Inside(i, j, k) ? _cells[(i * 22 + j) * 22 + k] : -1;
    }
    // False when a quarter is taken already.
    bool Put(int i, int j, int k, int index)
    {
        for (int d = 0; d < 4; ++d) {
            if (!Inside(i + d % 2, j + d / 2, k) || At(i + d % 2, j + d / 2, k) != -1) {
                return false;
            }
        }
        for (int d = 0; d < 4; ++d) {
            _cells[((i + d % 2) * 22 + j + d / 2) * 22 + k] = index;
        }
        return true;
    }
    void Take(int i, int j, int k)
    {
        for (int d = 0; d < 4; ++d) {
            _cells[((i + d % 2) * 22 + j + d / 2) * 22 + k] = -1;
        }
    }
    int Above(int i, int j, int k, int d) const { return At(i + d % 2, j + d / 2, k + 1); }
    bool Covered(int i, int j, int k) const
    {
        for (int d = 0; d < 4; ++d) {
            if (Above(i, j, k, d) != -1) {
                return true;
            }
        }
        return false;
    }
    bool FullyCovered(int i, int j, int k) const
    {
        for (int d = 0; d < 4; ++d) {
            if (Above(i, j, k, d) == -1) {
                return false;
            }
        }
        return true;
    }
    bool Free(int i, int j, int k, int kind) const
    {
        if (Covered(i, j, k) || kind == 2) {
            return false;
        }
        if (At(i + 2, j, k) == -1 && At(i + 2, j + 1, k) == -1) {
            return true;
        }
        return At(i - 1, j, k) == -1 && At(i - 1, j + 1, k) == -1;
    }
    // The tiles beside (i, j, k) on its own layer, left and right.
    std::set<int> Beside(int i, int j, int k) const
    {
        std::set<int> out;
        for (int di : {-1, 2}) {
            for (int dj : {0, 1}) {
                if (At(i + di, j + dj, k) != -1) {
                    out.insert(At(i + di, j + dj, k));
                }
            }
        }
        return out;
    }
    // The tiles (i, j, k) stands on.
    std::set<int> Below(int i, int j, int k) const
    {
        std::set<int> out;
        for (int d = 0; d < 4; ++d) {
            if (At(i + d % 2, j + d / 2, k - 1) != -1) {
                out.insert(At(i + d % 2, j + d / 2, k - 1));
            }
        }
        return out;
    }

private:
    std::vector<int> _cells;
};

// A placed board: tiles at grid layers (double mode adds a second tile on every tile to deal).
struct Board
{
    std::vector<Tile> tiles; // level holds the grid layer k here
    Grid grid;
    std::string problem; // overlap or out of bounds
};

Board Place(const Layout& layout, bool doubled)
{
    Board board;
    for (const Tile& t : layout.tiles) {
        const int k = doubled ? 2 * t.level - 2 : t.level - 1;
        board.tiles.push_back({t.i, t.j, k, t.code});
        if (doubled && t.code == kDeal) {
            board.tiles.push_back({t.i, t.j, k + 1, t.code});
        }
    }
    for (size_t n = 0; n < board.tiles.size(); ++n) {
        const Tile& t = board.tiles[n];
        if (t.level < 0 || !board.grid.Put(t.i, t.j, t.level, static_cast<int>(n))) {
            board.problem = "tile at " + std::to_string(t.i) + "," + std::to_string(t.j) +
                            " layer " + std::to_string(t.level) +
                            " overlaps another or leaves the grid";
            break;
        }
    }
    return board;
}

int ToDeal(const Board& board)
{
    return static_cast<int>(std::count_if(board.tiles.begin(), board.tiles.end(),
                                          [](const Tile& t) { return Dealt(t.code); }));
}

// How many tiles must leave before every Yin-Yang tile is free: those above each one and, on its
// cheaper side, those beside it, each with the tiles that must leave before it can (above it, and
// beside it on its side away from the tile it clears), and so on up. A Yin-Yang tile never leaves
// on the way. -1 when a Yin-Yang tile can never come free.
int EarnedCount(const Board& board)
{
    const Grid& grid = board.grid;
    auto isYinYang = [&](int n) { return board.tiles[n].code == kYinYang; };
    // For each tile and the side it is cleared from (0 none, 1 left, 2 right): the tiles that
    // must leave first, or none when it never can.
    std::map<std::pair<int, int>, std::unique_ptr<std::set<int>>> memo;
    std::function<const std::set<int>*(int, int)> before = [&](int n, int from) {
        const auto key = std::make_pair(n, from);
        const auto found = memo.find(key);
        if (found != memo.end()) {
            return found->second.get();
        }
        const Tile& t = board.tiles[n];
        std::set<int> above;
        for (int d = 0; d < 4; ++d) {
            const int a = grid.Above(t.i, t.j, t.level, d);
            if (a != -1) {
                above.insert(a);
            }
        }
        std::unique_ptr<std::set<int>> need = std::make_unique<std::set<int>>();
        bool possible = true;
        for (int a : above) {
            const std::set<int>* sub = isYinYang(a) ? nullptr : before(a, 0);
            if (sub == nullptr) {
                possible = false;
                break;
            }
            need->insert(a);
            need->insert(sub->begin(), sub->end());
        }
        std::unique_ptr<std::set<int>> cheapest;
        for (const auto& [side, di, back] : {std::tuple<int, int, int>{1, -1, 2}, {2, 2, 1}}) {
            if (!possible || side == from) {
                continue;
            }
            auto clear = std::make_unique<std::set<int>>();
            for (int dj : {0, 1}) {
                const int s = grid.At(t.i + di, t.j + dj, t.level);
                const std::set<int>* sub = s == -1 || isYinYang(s) ? nullptr : before(s, back);
                if (s != -1 && sub == nullptr) {
                    clear.reset();
                    break;
                }
                if (s != -1) {
                    clear->insert(s);
                    clear->insert(sub->begin(), sub->end());
                }
            }
            if (clear != nullptr && (cheapest == nullptr || clear->size() < cheapest->size())) {
                cheapest = std::move(clear);
            }
        }
        if (cheapest == nullptr) {
            need.reset();
        } else {
            need->insert(cheapest->begin(), cheapest->end());
        }
        return (memo[key] = std::move(need)).get();
    };
    std::set<int> total;
    for (size_t n = 0; n < board.tiles.size(); ++n) {
        if (!isYinYang(static_cast<int>(n))) {
            continue;
        }
        const std::set<int>* need = before(static_cast<int>(n), 0);
        if (need == nullptr) {
            return -1;
        }
        total.insert(need->begin(), need->end());
    }
    return static_cast<int>(total.size());
}

bool SupportedCount(int n, int match)
{
    if (match == 3) {
        return n == 96 || n == 144;
    }
    static const std::set<int> sizes = {36, 54, 72, 108, 144, 288};
    return n % 2 == 0 && (sizes.count(n) != 0 || n < 36 || (n >= 96 && n <= 106));
}

// The game's generator: the runtime library's linear congruential rule.
class Rand
{
public:
    explicit Rand(uint32_t seed) : _state(seed) {}
    int Next()
    {
        _state = _state * 214013u + 2531011u;
        return static_cast<int>((_state >> 16) & 32767);
    }
    int Below(int n) { return n <= 0 ? 0 : Next() % n; }

private:
    uint32_t _state;
};

// One run of the deal's forward simulation: groups of free tiles to deal come off the board, and
// the special tiles take their own moves as the deal gives them (deep magnet, clone and swapper
// leave alone, a magnet with a free and a covered tile, a typhoon with a kind's tiles, a fuse with
// a brick). False when it gets stuck: fewer free tiles than a group and no special move left.
bool DealsOnce(const Board& board, int match, Rand& rng)
{
    Grid grid = board.grid;
    std::vector<bool> on(board.tiles.size(), true);
    auto take = [&](int n) {
        const Tile& t = board.tiles[n];
        grid.Take(t.i, t.j, t.level);
        on[n] = false;
    };
    auto kind = [&](int n) { return KindOf(board.tiles[n].code); };
    auto free = [&](int n) {
        const Tile& t = board.tiles[n];
        return grid.Free(t.i, t.j, t.level, kind(n));
    };
    const int count = static_cast<int>(board.tiles.size());
    bool hasCells = false;
    for (int n = 0; n < count; ++n) {
        const int code = board.tiles[n].code;
        hasCells = hasCells || code == kCell;
        if (!Dealt(code) && kind(n) == 0) {
            take(n); // preset faces are not part of the deal
        }
    }
    auto ordinary = [&]() {
        std::vector<int> out;
        for (int n = 0; n < count; ++n) {
            if (on[n] && kind(n) == 0) {
                out.push_back(n);
            }
        }
        return out;
    };
    auto use = [&](int k, int special) {
        if (k == 5) {
            std::vector<int> f, c;
            for (int n : ordinary()) {
                const Tile& t = board.tiles[n];
                (free(n) ? f : c).push_back(n);
                if (!free(n) && grid.FullyCovered(t.i, t.j, t.level)) {
                    c.pop_back();
                }
            }
            if (f.empty() || c.empty()) {
                return false;
            }
            const int a = f[rng.Below(static_cast<int>(f.size()))];
            const int b = c[rng.Below(static_cast<int>(c.size()))];
            take(a);
            take(b);
        } else if (k == 4) {
            std::vector<int> left = ordinary();
            for (int t = 0; t < 4 && !left.empty(); ++t) {
                const int pick = rng.Below(static_cast<int>(left.size()));
                take(left[pick]);
                left.erase(left.begin() + pick);
            }
        } else if (k == 3) {
            std::vector<int> bricks;
            for (int n = 0; n < count; ++n) {
                const Tile& t = board.tiles[n];
                if (on[n] && kind(n) == 2 && !grid.Covered(t.i, t.j, t.level)) {
                    bricks.push_back(n);
                }
            }
            if (!bricks.empty()) {
                take(bricks[rng.Below(static_cast<int>(bricks.size()))]);
            }
        }
        take(special);
        return true;
    };
    for (;;) {
        bool dealLeft = false;
        for (int n = 0; n < count; ++n) {
            dealLeft = dealLeft || (on[n] && board.tiles[n].code == kDeal);
        }
        std::vector<int> candidates, freeCandidates;
        std::map<int, int> freeSpecial; // kind -> a free tile of it
        for (int n = 0; n < count; ++n) {
            if (!on[n]) {
                continue;
            }
            const int k = kind(n);
            if (k == 0 && (board.tiles[n].code == kDeal || (hasCells && !dealLeft))) {
                candidates.push_back(n);
                if (free(n)) {
                    freeCandidates.push_back(n);
                }
            }
            if ((k == 3 || k == 4 || k == 5 || k == 6 || k == 7 || k == 11) && free(n) &&
                freeSpecial.count(k) == 0) {
                freeSpecial[k] = n;
            }
        }
        if (candidates.empty()) {
            return true;
        }
        if (static_cast<int>(freeCandidates.size()) < match) {
            bool moved = false;
            for (int k : {11, 5, 4, 3, 7, 6}) {
                if (freeSpecial.count(k) != 0 && use(k, freeSpecial[k])) {
                    moved = true;
                    break;
                }
            }
            if (!moved) {
                return false;
            }
            continue;
        }
        for (int t = 0; t < match; ++t) {
            const int pick = rng.Below(static_cast<int>(freeCandidates.size()));
            take(freeCandidates[pick]);
            freeCandidates.erase(freeCandidates.begin() + pick);
        }
        for (int k : {11, 5, 4, 3}) {
            if (freeSpecial.count(k) != 0 && on[freeSpecial[k]] && rng.Below(7) == 3) {
                use(k, freeSpecial[k]);
            }
        }
        for (int k : {6, 7}) {
            if (freeSpecial.count(k) != 0 && on[freeSpecial[k]]) {
                use(k, freeSpecial[k]);
            }
        }
    }
}

// A board description of a puzzle set, as the set-up reads it.
struct BoardEntry
{
    std::string set;
    int number;
    std::string layout;
    int match;
    bool doubled;
    bool quest;
};

struct LookBounds
{
    int columns, rows, layers, tileW, tileH, border;
};

LookBounds BoundsOf(const std::string& lookFile)
{
    ConfigFile cfg((kData / lookFile).string(), false, true, false);
    auto get = [&](const char* section, const char* key) {
        return ConfigFile::AsInt(cfg.Value(section, key, 0.0, true));
    };
    return {2 * get("board", "max_i"), 2 * get("board", "max_j"), get("board", "max_k"),
            get("tiles", "w"),         get("tiles", "h"),         get("tiles", "border")};
}

std::vector<BoardEntry> BoardsOf(const Look& look, LookBounds* bounds)
{
    ConfigFile lookCfg((kData / look.file).string(), false, true, false);
    const int set = ConfigFile::AsInt(lookCfg.Value("game", "puzzles", 0.0, true));
    const std::string setFile = Fmt("cfg/puzzles%d.cfg", set);
    ConfigFile cfg((kData / setFile).string(), false, true, false);
    const int max = ConfigFile::AsInt(cfg.Value("puzzles", "max", 0.0, true));
    std::vector<BoardEntry> out;
    for (int n = 0; n <= max; ++n) {
        const std::string section = Fmt("puzzle%d", n);
        const bool triple = ConfigFile::AsInt(cfg.Value(section, "triple", 0.0, true)) != 0;
        out.push_back({setFile, n, cfg.Value(section, "layout", "puzzles/test.cfg", true),
                       ConfigFile::AsInt(cfg.Value(section, "matches", triple ? 3.0 : 2.0, true)),
                       ConfigFile::AsInt(cfg.Value(section, "double", 0.0, true)) != 0,
                       look.type == 2});
    }
    if (bounds != nullptr) {
        *bounds = BoundsOf(look.file);
    }
    return out;
}

// Every rule a layout of a playable board must keep; returns the broken ones.
std::vector<std::string> CheckBoard(const BoardEntry& entry, const LookBounds& look)
{
    std::vector<std::string> faults;
    Layout layout;
    if (!ReadLayout(kData / entry.layout, layout)) {
        return {"cannot be read"};
    }
    if (layout.tiles.empty()) {
        return {"has no tiles"};
    }
    const Board board = Place(layout, entry.doubled);
    if (!board.problem.empty()) {
        return {board.problem};
    }
    int minX = 1 << 20, maxX = -(1 << 20), minY = 1 << 20, maxY = -(1 << 20);
    std::map<int, int> presets;
    int bricks = 0, fuses = 0, fullyCovered = 0;
    for (size_t n = 0; n < board.tiles.size(); ++n) {
        const Tile& t = board.tiles[n];
        const std::string where = " at " + std::to_string(t.i) + "," + std::to_string(t.j) +
                                  " layer " + std::to_string(t.level);
        if (t.i + 1 >= look.columns || t.j + 1 >= look.rows || t.level >= look.layers ||
            t.code < -1 || t.code > 59) {
            faults.push_back("outside the look's grid or an unknown code" + where);
        }
        const int x = look.tileW * t.i / 2 + look.border * t.level;
        const int y = look.tileH * t.j / 2 - look.border * t.level;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
        maxY = std::max(maxY, y);
        bool onDealt = false, besideDealt = false;
        for (int below : board.grid.Below(t.i, t.j, t.level)) {
            onDealt = onDealt || Dealt(board.tiles[below].code);
        }
        for (int side : board.grid.Beside(t.i, t.j, t.level)) {
            besideDealt = besideDealt || Dealt(board.tiles[side].code);
        }
        const int kind = KindOf(t.code);
        // These stay in the deal's simulation for good, so a tile under them never comes free
        // there.
        if ((kind == 1 || kind == 8 || kind == 9 || kind == 10) && onDealt) {
            faults.push_back("special tile " + std::to_string(t.code) +
                             " stands on a tile to deal" + where);
        }
        if (t.code >= 0 && t.code < 42) {
            ++presets[t.code >= 38 ? 38 : t.code >= 34 ? 34 : t.code];
            if (onDealt || besideDealt) {
                faults.push_back("preset face " + std::to_string(t.code) +
                                 " on or beside a tile to deal" + where);
            }
        }
        if (t.code == kDeep) {
            for (int side : board.grid.Beside(t.i, t.j, t.level)) {
                const Tile& s = board.tiles[side];
                if (!board.grid.FullyCovered(s.i, s.j, s.level)) {
                    faults.push_back("deep magnet beside a tile that is not fully covered" + where);
                }
            }
        }
        if ((t.code == kMagnet || t.code == kDeep) && entry.match == 3) {
            faults.push_back("magnet on a triple board" + where);
        }
        bricks += t.code == kBrick;
        fuses += t.code == kFuse;
        if (kind == 0 && board.grid.FullyCovered(t.i, t.j, t.level)) {
            ++fullyCovered;
        }
    }
    if (maxX - minX + look.tileW + look.border > 800 ||
        maxY - minY + look.tileH + look.border > 450) {
        faults.push_back("does not fit between the bars: " +
                         std::to_string(maxX - minX + look.tileW + look.border) + " x " +
                         std::to_string(maxY - minY + look.tileH + look.border));
    }
    const int toDeal = ToDeal(board);
    if (!SupportedCount(toDeal, entry.match)) {
        faults.push_back(std::to_string(toDeal) + " tiles to deal in groups of " +
                         std::to_string(entry.match));
    }
    for (const auto& [code, n] : presets) {
        if (n % entry.match != 0) {
            faults.push_back("preset face " + std::to_string(code) + " is not a whole group (" +
                             std::to_string(n) + ")");
        }
    }
    if (bricks > fuses) {
        faults.push_back(std::to_string(bricks) + " bricks but " + std::to_string(fuses) +
                         " fuses to burn them");
    }
    const bool hasDeep = std::any_of(board.tiles.begin(), board.tiles.end(),
                                     [](const Tile& t) { return t.code == kDeep; });
    if (hasDeep && fullyCovered == 0) {
        faults.push_back("a deep magnet with no fully covered tile to reach");
    }
    if (entry.quest) {
        std::vector<int> pair;
        for (size_t n = 0; n < board.tiles.size(); ++n) {
            const int code = board.tiles[n].code;
            if (code == kYinYang || code == 43 || code == 56) {
                pair.push_back(static_cast<int>(n));
            }
        }
        if (pair.size() != 2) {
            faults.push_back("a quest board needs one Yin-Yang pair, has " +
                             std::to_string(pair.size()));
        }
        if (entry.number == 0) {
            for (int face : {27, 28, 29}) {
                int found = 0;
                for (size_t n = 0; n < board.tiles.size(); ++n) {
                    const Tile& t = board.tiles[n];
                    if (t.code == face) {
                        ++found;
                        if (!board.grid.Free(t.i, t.j, t.level, 0)) {
                            faults.push_back("preset " + std::to_string(face) +
                                             " is not free from the start");
                        }
                    }
                }
                if (found != 2) {
                    faults.push_back("the first quest board presets a pair of face " +
                                     std::to_string(face));
                }
            }
        }
    }
    // Matching the Yin-Yang pair ends the board, so the pair is earned: no Yin-Yang tile is free
    // at the deal, and a third of the board must leave before both are.
    bool yinYang = false;
    for (const Tile& t : board.tiles) {
        if (t.code == kYinYang) {
            yinYang = true;
            if (board.grid.Free(t.i, t.j, t.level, 1)) {
                faults.push_back("a Yin-Yang tile is free at the deal" + std::string(" at ") +
                                 std::to_string(t.i) + "," + std::to_string(t.j));
            }
        }
    }
    const int earned = yinYang ? EarnedCount(board) : 0;
    if (earned < 0) {
        faults.push_back("a Yin-Yang tile can never come free");
    } else if (yinYang && 3 * earned < static_cast<int>(board.tiles.size())) {
        faults.push_back(std::to_string(earned) + " of " + std::to_string(board.tiles.size()) +
                         " tiles must leave before the Yin-Yang pair is free, under a third");
    }
    if (!faults.empty()) {
        return faults;
    }
    for (uint32_t seed = 1; seed <= 50; ++seed) {
        Rand rng(seed);
        int tries = 1;
        while (!DealsOnce(board, entry.match, rng)) {
            if (++tries > 30) {
                faults.push_back("the deal stays stuck with seed " + std::to_string(seed));
                return faults;
            }
        }
    }
    return faults;
}

// ---------------------------------------------------------------------------------------------
// Manifests of the generated pictures and sounds.

struct Picture
{
    int width, height, cols, rows;
    bool keyed;
};

std::map<std::string, Picture> ReadImageManifest()
{
    std::map<std::string, Picture> out;
    std::ifstream in(kSource / "game_images.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string field; std::getline(split, field, '|');) {
            field.erase(0, field.find_first_not_of(' '));
            field.erase(field.find_last_not_of(' ') + 1);
            fields.push_back(field);
        }
        if (fields.size() >= 6) {
            out[fields[0]] = {std::atoi(fields[1].c_str()), std::atoi(fields[2].c_str()),
                              std::atoi(fields[3].c_str()), std::atoi(fields[4].c_str()),
                              fields[5] == "yes"};
        }
    }
    return out;
}

std::set<std::string> ReadSoundManifest()
{
    std::set<std::string> out;
    std::ifstream in(kSource / "game_sounds.txt");
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') {
            out.insert(line.substr(0, line.find(' ')));
        }
    }
    return out;
}

bool EndsWith(const std::string& name, const char* ending)
{
    const size_t n = std::strlen(ending);
    return name.size() > n && name.compare(name.size() - n, n, ending) == 0;
}

bool IsPicture(const std::string& name)
{
    return EndsWith(name, ".png") || EndsWith(name, ".jpg") || EndsWith(name, ".gif");
}

bool IsSound(const std::string& name)
{
    return EndsWith(name, ".wav") || EndsWith(name, ".ogg");
}

// The game's configuration files, the layouts and the cut-scenes.
// The skin and the shell's own descriptions: the shell's data-set test checks them.
bool IsShellFile(const std::string& name)
{
    static const std::set<std::string> kShell = {
        "skin.cfg",       "images.cfg",   "splash.cfg",     "splashanim.cfg",
        "menu.cfg",       "dplayas.cfg",  "drules.cfg",     "doptions.cfg",
        "dentername.cfg", "ddelname.cfg", "dhighdetail.cfg"};
    return kShell.count(name) != 0;
}

std::vector<std::string> GameTextFiles()
{
    std::vector<std::string> out;
    for (const char* folder : {"cfg", "puzzles", "quest"}) {
        for (const auto& entry : fs::directory_iterator(kSource / folder)) {
            if (entry.path().extension() == ".cfg" &&
                !IsShellFile(entry.path().filename().string())) {
                out.push_back(std::string(folder) + "/" + entry.path().filename().string());
            }
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every value of the game's configurations that names a file, with where it is named.
std::map<std::string, std::string> NamedFiles()
{
    std::map<std::string, std::string> out;
    for (const std::string& rel : GameTextFiles()) {
        if (rel.rfind("puzzles/", 0) == 0) {
            continue; // layouts name nothing
        }
        ConfigFile cfg((kData / rel).string(), false, true, false);
        for (const std::string& section : cfg.GetSectionsThatStartWith("")) {
            for (const std::string& key : cfg.GetKeysInSection(section)) {
                // A cut-scene's keyframe command is its key ("file,ms" = code).
                std::string value = section.rfind("frame", 0) == 0
                                        ? key
                                        : std::string(cfg.Value(section, key, std::string(), true));
                value = value.substr(0, value.find(','));
                if (IsPicture(value) || IsSound(value) || EndsWith(value, ".cfg") ||
                    EndsWith(value, ".ttf")) {
                    out.emplace(value, rel + " [" + section + "] " + key);
                }
            }
        }
    }
    return out;
}

class GameDataSet : public ::testing::Test
{
protected:
    void SetUp() override { ConfigFile::TurnEncryption(false); }
};

} // namespace

TEST_F(GameDataSet, EveryAuthoredFileIsCopiedWithoutAStaleScrambledTwin)
{
    for (const std::string& rel : GameTextFiles()) {
        EXPECT_TRUE(fs::is_regular_file(kData / rel))
            << rel << " is not copied into the data folder";
        EXPECT_FALSE(fs::exists(kData / (rel + "e")))
            << rel << " has a scrambled twin the game would read instead";
    }
}

TEST_F(GameDataSet, TextFilesFontsAndLayoutsNamedByTheGameExistWithTheirCase)
{
    for (const auto& [name, where] : NamedFiles()) {
        if (!IsPicture(name) && !IsSound(name)) {
            EXPECT_TRUE(fs::is_regular_file(kData / name)) << where << " = " << name;
        }
    }
    for (const Look& look : kLooks) {
        for (const BoardEntry& board : BoardsOf(look, nullptr)) {
            EXPECT_TRUE(fs::is_regular_file(kData / board.layout))
                << board.set << " puzzle" << board.number;
        }
    }
    for (const char* fixed :
         {"puzzles/test.cfg", "puzzles/quilvarnoth1.cfg", "puzzles/congrats1.cfg",
          "puzzles/congrats2.cfg", "puzzles/congrats3.cfg", "puzzles/congrats4.cfg",
          "quest/zorvy12b.cfg", "cfg/drulespuzzle.cfg", "cfg/drulesclassic.cfg",
          "cfg/druleszorvy.cfg", "cfg/scenes.cfg", "cfg/movie.cfg", "cfg/modes.cfg",
          "cfg/SpiritMap.cfg", "cfg/zorvy.cfg", "cfg/popup.cfg", "cfg/menudialog.cfg",
          "cfg/radio.cfg"}) {
        EXPECT_TRUE(fs::is_regular_file(kData / fixed)) << fixed;
    }
}

TEST_F(GameDataSet, PicturesAndSoundsNamedByTheGameAreInTheManifests)
{
    const auto pictures = ReadImageManifest();
    const auto sounds = ReadSoundManifest();
    ASSERT_FALSE(pictures.empty());
    ASSERT_FALSE(sounds.empty());
    for (const auto& [name, where] : NamedFiles()) {
        if (IsPicture(name)) {
            // The theme's dialog pictures come from the shell's own generator.
            const bool shell =
                name.rfind("images/dialog/", 0) == 0 && fs::is_regular_file(kData / name);
            EXPECT_TRUE(pictures.count(name) == 1 || shell) << where << " = " << name;
        } else if (IsSound(name)) {
            EXPECT_EQ(sounds.count(name), 1u) << where << " = " << name;
        }
    }
    // Names the code forms itself.
    for (const char* name : {"images/mahjong.gif",
                             "images/empty_bg.png",
                             "images/blackback.png",
                             "images/mj_one_tile.png",
                             "images/MiniOneTile.png",
                             "images/HighLight.png",
                             "images/DarkLight.png",
                             "images/mj_v_line.gif",
                             "images/mj_h_line.gif",
                             "images/MiniClassic.png",
                             "images/MiniStandardTiles.png",
                             "images/MjClassicTiles_V2_Darker.jpg",
                             "images/mj_standard_tile_dark.jpg",
                             "images/MiniBackground.png",
                             "images/MiniBackgroundBright.png",
                             "images/MiniBackgroundDark.png",
                             "images/SmallFancy.png",
                             "images/Modes.png",
                             "images/modeBG.png",
                             "images/tckj9j17c57.png",
                             "images/TimerTrickClassic.png",
                             "images/TimerTrick.gif",
                             "images/TimerEnding.png",
                             "images/MiniTimerBonus.png",
                             "images/spiritmap.jpg",
                             "images/map_roll.png"}) {
        EXPECT_EQ(pictures.count(name), 1u) << name;
    }
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(pictures.count(Fmt("images/cell_pc_%d.jpg", n)), 1u) << n;
        EXPECT_EQ(pictures.count(Fmt("images/cell%d.jpg", n)), 1u) << n;
    }
    const int questBoards = 10;
    for (int n = 1; n <= questBoards / 5; ++n) {
        EXPECT_EQ(pictures.count(Fmt("images/map_level%d_color.jpg", n)), 1u) << n;
    }
    for (int n = 1; n <= questBoards + 1; ++n) {
        EXPECT_EQ(pictures.count(Fmt("images/map_step0%d.gif", n)), 1u) << n;
    }
    for (const char* music : {"audio/M_MenuMusic.ogg", "audio/M_MournfulMusic.ogg",
                              "audio/M_ActionMusic.ogg", "audio/M_BGMusic.ogg"}) {
        EXPECT_EQ(sounds.count(music), 1u) << music;
    }
}

// Fails until the generated pictures and sounds are in the data folder; the message lists what
// is missing or differs from the manifest.
TEST_F(GameDataSet, GeneratedPicturesAndSoundsMatchTheManifests)
{
    std::vector<std::string> missing, wrong;
    for (const auto& [name, picture] : ReadImageManifest()) {
        if (!fs::is_regular_file(kData / name)) {
            missing.push_back(name);
            continue;
        }
        SDL_Surface* s = IMG_Load((kData / name).c_str());
        if (s == nullptr) {
            wrong.push_back(name + " does not load");
            continue;
        }
        if (s->w != picture.width || s->h != picture.height || s->w % picture.cols != 0 ||
            s->h % picture.rows != 0) {
            wrong.push_back(name + " is " + std::to_string(s->w) + "x" + std::to_string(s->h));
        }
        if (picture.keyed) {
            SDL_LockSurface(s);
            Uint32 v = 0;
            std::memcpy(&v, s->pixels, s->format->BytesPerPixel);
            SDL_UnlockSurface(s);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(v, s->format, &r, &g, &b);
            if (r != 255 || g != 0 || b != 255) {
                wrong.push_back(name + " has no key colour at (0,0)");
            }
        }
        SDL_FreeSurface(s);
    }
    for (const std::string& name : ReadSoundManifest()) {
        std::ifstream in(kData / name, std::ios::binary);
        if (!in) {
            missing.push_back(name);
            continue;
        }
        unsigned char head[64] = {};
        in.read(reinterpret_cast<char*>(head), sizeof head);
        if (EndsWith(name, ".wav")) {
            const int rate = head[24] | head[25] << 8 | head[26] << 16 | head[27] << 24;
            const int bits = head[34] | head[35] << 8;
            if (std::memcmp(head, "RIFF", 4) != 0 || rate != 22050 || bits != 16) {
                wrong.push_back(name + " is not 22050 Hz 16-bit WAV");
            }
        } else if (std::memcmp(head, "OggS", 4) != 0 || std::memcmp(head + 29, "vorbis", 6) != 0) {
            wrong.push_back(name + " is not Ogg Vorbis");
        }
    }
    EXPECT_TRUE(missing.empty()) << missing.size() << " missing: " << Reads::Join(missing);
    EXPECT_TRUE(wrong.empty()) << Reads::Join(wrong);
}

// A scene draws a keyed picture (trans 1) through its colour key and any other with its alpha
// (trans 2): a keyed picture drawn with its alpha shows its key colour, a soft one drawn keyed
// shows as a solid slab over the scene.
TEST_F(GameDataSet, SceneLayersAreDrawnAsTheirPicturesAreMade)
{
    const auto pictures = ReadImageManifest();
    Reads r("cfg/zorvy.cfg");
    const int questBoards = 10;
    int checked = 0;
    for (int n = 0; n <= questBoards; ++n) {
        const std::string section = Fmt("puzzle%d", n);
        const int images = std::max(r.Int(section, "numbgimages"), r.Int(section, "numfadeimages"));
        for (int img = 1; img <= images; ++img) {
            const std::string file = r.Text(section, Fmt("img%d", img));
            const int trans = r.Int(section, Fmt("img%dtrans", img));
            const auto picture = pictures.find(file);
            ASSERT_NE(picture, pictures.end()) << section << " img" << img << " " << file;
            EXPECT_TRUE(trans == 1 || trans == 2) << section << " img" << img << "trans=" << trans;
            EXPECT_EQ(trans == 1, picture->second.keyed)
                << section << " img" << img << " " << file << " is drawn with trans=" << trans;
            ++checked;
        }
    }
    r.ExpectComplete();
    EXPECT_GE(checked, 2 * (questBoards + 1));
}

TEST_F(GameDataSet, LookFilesHoldEveryKeyTheGameReads)
{
    for (const Look& look : kLooks) {
        Reads r(look.file);
        ReadLook(r, look.type);
        r.ExpectComplete();
        EXPECT_EQ(r.Cfg().NumErrors(), 0) << look.file;
    }
}

// The game writes bare numbers on the progress map; what each one is says a caption inked into
// the map picture at its left. So in every look the numbers stand in one column below the
// player's name, each on clear paper with ink (its caption) left of it on its row.
TEST_F(GameDataSet, MapNumbersStandRightOfTheirInkedCaptions)
{
    SDL_Surface* map = IMG_Load((kData / "images/spiritmap.jpg").c_str());
    ASSERT_NE(map, nullptr);
    SDL_LockSurface(map);
    const auto inkIn = [map](int x0, int y0, int x1, int y1) {
        int count = 0;
        for (int y = std::max(y0, 0); y < std::min(y1, map->h); ++y) {
            for (int x = std::max(x0, 0); x < std::min(x1, map->w); ++x) {
                Uint32 v = 0;
                std::memcpy(&v,
                            static_cast<const Uint8*>(map->pixels) + y * map->pitch +
                                x * map->format->BytesPerPixel,
                            map->format->BytesPerPixel);
                Uint8 r = 0, g = 0, b = 0;
                SDL_GetRGB(v, map->format, &r, &g, &b);
                count += r < 150 ? 1 : 0;
            }
        }
        return count;
    };
    const char* const numbers[] = {"MapScore1", "MapScore2", "MapScore3", "MapAchieved"};
    for (const Look& look : kLooks) {
        Reads r(look.file);
        const Point name = r.Pt("MapName", "pos");
        int previous = name.GetY() + 28;
        for (const char* section : numbers) {
            const Point at = r.Pt(section, "pos");
            const int size = r.Int(section, "size");
            const std::string where = std::string(look.file) + " " + section;
            EXPECT_EQ(at.GetX(), r.Pt(numbers[0], "pos").GetX()) << where;
            EXPECT_GE(at.GetY(), previous) << where << " overlaps the line above";
            previous = at.GetY() + 24;
            // A caption to the left, from the name's left edge up to the number.
            EXPECT_GE(inkIn(name.GetX(), at.GetY() + 2, at.GetX() - 4, at.GetY() + 22), 60)
                << where << " has no caption left of it";
            // Clear paper where the number (and a long name) is written.
            EXPECT_EQ(inkIn(at.GetX(), at.GetY(), at.GetX() + size, at.GetY() + 22), 0)
                << where << " is written over the drawing";
        }
        r.ExpectComplete();
    }
    SDL_UnlockSurface(map);
    SDL_FreeSurface(map);
}

TEST_F(GameDataSet, PuzzleSetsDescribeEveryBoardTheySelect)
{
    std::set<int> sets;
    for (const Look& look : kLooks) {
        ConfigFile lookCfg((kData / look.file).string(), false, true, false);
        const int set = ConfigFile::AsInt(lookCfg.Value("game", "puzzles", 0.0, true));
        EXPECT_TRUE(sets.insert(set).second) << "each look has its own puzzle set";
        Reads r(Fmt("cfg/puzzles%d.cfg", set));
        const int max = r.Int("puzzles", "max");
        EXPECT_EQ(r.Int("puzzles", "sanity"), 0);
        r.Int("puzzles", "showExtra");
        ASSERT_GE(max, 0);
        EXPECT_TRUE(r.Cfg().GetKeysInSection(Fmt("puzzle%d", max + 1)).empty())
            << "max is the last board";
        if (look.type == 2) {
            EXPECT_EQ(max + 1, 10) << "the quest has ten boards";
        } else {
            // Two pages of eight on the chooser, none with empty cells.
            EXPECT_EQ(max + 1, 16) << Fmt("cfg/puzzles%d.cfg", set);
        }
        for (int n = 0; n <= max; ++n) {
            const std::string section = Fmt("puzzle%d", n);
            for (const char* key :
                 {"layout", "undos", "tileset", "difficulty", "matches", "time", "speed", "double",
                  "triple", "skipbrick", "half", "justTwo", "usevortex", "numbers", "harder",
                  "easy", "seedMeFeeMore", "solvable"}) {
                r.Text(section, key);
            }
            const int tileset = r.Int(section, "tileset");
            EXPECT_TRUE(tileset >= 0 && tileset <= 2) << section;
            EXPECT_GT(r.Int(section, "time"), 0) << section;
            if (look.type == 1) {
                r.Text(section, "help");
            }
            if (r.Pt(section, "popuppos").GetX() != -1) {
                r.Text(section, "popupname");
                r.Pt(section, "popuptiles");
            }
        }
        // The selection screen: page layouts, one title per page, and its buttons.
        const int boards = max + 1;
        for (const auto& [section, perPage] :
             {std::pair<std::string, int>{"replay8", 8}, {"replay5", 5}}) {
            for (const char* key : {"pos", "space", "nameplate", "start", "size"}) {
                r.Pt(section, key);
            }
            r.Text(section, "skin");
            const bool used = look.type == 2 ? perPage == 5 : true;
            const int pages = perPage == 8 || look.type == 2 ? (boards + perPage - 1) / perPage : 1;
            for (int page = 1; used && page <= pages; ++page) {
                r.Text(section, Fmt("group%d", page));
            }
        }
        for (const char* section : {"left", "right", "play", "movie", "cancel", "levelplate"}) {
            r.Text(section, "img");
        }
        r.ExpectComplete();
        EXPECT_EQ(r.Cfg().NumErrors(), 0) << Fmt("cfg/puzzles%d.cfg", set);
    }
}

TEST_F(GameDataSet, ScenesModesMapAndQuestScenesHoldEveryKeyTheGameReads)
{
    const int questBoards = 10;
    // Titled texts: "title" and "text1" .. "text<lines>" of each numbered section.
    auto readTexts = [](Reads& r, const char* pattern, int first, int last, int lines) {
        for (int n = first; n <= last; ++n) {
            r.Text(Fmt(pattern, n), "title");
            for (int k = 1; k <= lines; ++k) {
                r.Text(Fmt(pattern, n), Fmt("text%d", k));
            }
        }
        r.ExpectComplete();
    };
    {
        Reads r("cfg/scenes.cfg");
        readTexts(r, "scene%d", 1, 5, 4);
    }
    {
        Reads r("cfg/movie.cfg");
        for (int n = 1; n <= 5; ++n) {
            const int start = r.Int(Fmt("scene%d", n), "start");
            EXPECT_TRUE(start >= 0 && start < questBoards)
                << "movie " << n << " starts at board " << start;
        }
        readTexts(r, "scene%d", 1, 5, 4);
    }
    {
        Reads r("cfg/modes.cfg");
        readTexts(r, "mode%d", -1, 4, 5);
    }
    {
        Reads r("cfg/SpiritMap.cfg");
        for (int n = 1; n <= questBoards / 5; ++n) {
            r.Pt("map", Fmt("pos%d", n));
        }
        for (int n = 1; n <= questBoards + 1; ++n) {
            r.Pt("map_steps", Fmt("pos%d", n));
        }
        r.ExpectComplete();
        EXPECT_EQ(r.Cfg().NumErrors(), 0);
    }
    {
        // One scene per quest board and the opening scene: what the background, the fade series
        // and the sprites read.
        Reads r("cfg/zorvy.cfg");
        for (int n = 0; n <= questBoards; ++n) {
            const std::string section = Fmt("puzzle%d", n);
            r.Text(section, "bg");
            const std::string animation = r.Text(section, "animation");
            EXPECT_TRUE(animation == "none" || fs::is_regular_file(kData / animation))
                << section << " " << animation;
            const int layers = r.Int(section, "numbgimages");
            const int fades = r.Int(section, "numfadeimages");
            r.Int(section, "reverse");
            r.Int(section, "reversefade");
            const int duringFade = r.Int(section, "numbgimagesduringfade");
            EXPECT_GT(fades, 0) << section << " has no fade series";
            EXPECT_TRUE(duringFade >= 0 && duringFade < layers) << section;
            for (int img = 1; img <= std::max(layers, fades); ++img) {
                r.Int(section, Fmt("dontadd%d", img));
                r.Text(section, Fmt("img%d", img));
                r.Pt(section, Fmt("pos%d", img));
                for (const char* suffix : {"trans", "frames", "mirror", "scale", "pri"}) {
                    r.Text(section, Fmt("img%d", img) + suffix);
                }
            }
            for (int step = 1; step <= fades; ++step) {
                for (const char* key :
                     {"fadein%d", "fadeout%d", "hide%d", "show%d", "fadepause%d"}) {
                    r.Int(section, Fmt(key, step));
                }
            }
        }
        r.ExpectComplete();
        EXPECT_EQ(r.Cfg().NumErrors(), 0);
    }
}

TEST_F(GameDataSet, CutScenesAndTheClosingAnimationAreCompleteDescriptions)
{
    std::vector<std::string> files;
    for (const std::string& rel : GameTextFiles()) {
        if (rel.rfind("quest/", 0) == 0) {
            files.push_back(rel);
        }
    }
    ASSERT_GE(files.size(), 12u) << "one cut-scene per quest board, the opening and the closing";
    for (const std::string& rel : files) {
        Reads r(rel);
        EXPECT_NE(r.Text("main", "background"), "0") << rel;
        EXPECT_GT(r.Int("main", "seconds"), 0) << rel;
        EXPECT_GT(r.Int("main", "framemillis"), 0) << rel;
        r.Int("main", "bgoffset");
        r.Colour("main", "bgcolor");
        for (const char* key : {"pos", "shadow"}) {
            r.Pt("subtitle", key);
        }
        r.Colour("subtitle", "col");
        r.Colour("subtitle", "shadowcol");
        for (const char* key : {"justify", "width", "font", "fontstyle", "fontsize"}) {
            r.Text("subtitle", key);
        }
        const int num = r.Int("animations", "num");
        for (int a = 0; a < num; ++a) {
            for (const char* suffix :
                 {"img", "frames", "pos", "shadow", "pri", "loops", "speed", "begindelay",
                  "loopdelay", "transparency", "alpha", "visible", "smooth", "scale", "rotation",
                  "rotmillis", "sequence", "mirror"}) {
                r.Text("animations", Fmt("anim%d", a) + suffix);
            }
        }
        // Keyframes address sprites that exist.
        for (const std::string& section : r.Cfg().GetSectionsThatStartWith("frame")) {
            const auto dash = section.find('-');
            const int sprite =
                dash == std::string::npos ? 0 : std::atoi(section.c_str() + dash + 1);
            EXPECT_LT(sprite, num) << rel << " [" << section << "]";
        }
        r.ExpectComplete();
        EXPECT_EQ(r.Cfg().NumErrors(), 0) << rel;
    }
}

TEST_F(GameDataSet, RulesDescriptionsHoldEveryPage)
{
    for (const char* rel :
         {"cfg/drulespuzzle.cfg", "cfg/drulesclassic.cfg", "cfg/druleszorvy.cfg"}) {
        ConfigFile skin((kData / "cfg/skin.cfg").string(), false, true, false);
        Reads r(rel, &skin);
        const int pages = r.Int("background", "pages");
        EXPECT_GE(pages, 2) << rel;
        r.Text("background", "rulesimgs");
        r.Pt("background", "rulesimgspos");
        for (const char* button : {"donebutton", "nextbutton", "prevbutton"}) {
            r.Text(button, "img");
            r.Pt(button, "pos");
        }
        for (const char* block : {"title", "text"}) {
            for (const char* key :
                 {"font", "fontsize", "fontstyle", "justify", "textshadowdepth"}) {
                r.Text(block, key);
            }
            r.Colour(block, "col");
            r.Colour(block, "textshadowcol");
            r.Pt(block, "pos");
        }
        r.Text("title", "width");
        r.Pt("text", "dim");
        for (int page = 0; page <= pages; ++page) {
            EXPECT_NE(r.Text(Fmt("page%d", page), "title"), "") << rel << " page " << page;
            EXPECT_NE(r.Text(Fmt("page%d", page), "rule"), "") << rel << " page " << page;
        }
        EXPECT_NE(r.Text("dialog", "controls"), "") << rel;
        r.ExpectComplete();
    }
}

// A dialog section the game opens: it has "controls", every entry of that list names a control
// section with a "type" (its own or the theme's), and it offers the items the game acts on.
struct DialogCheck
{
    const char* file;
    std::vector<std::string> sections;
    std::set<int> items; // button ids the dialog must offer
    bool radioGroup2;
};

TEST_F(GameDataSet, EveryDialogTheGameOpensHasControlsAndItsItems)
{
    std::vector<std::string> popups = {"mainmenuprompt",
                                       "mainmenudeath",
                                       "mainmenuwarning",
                                       "quitprompt",
                                       "quitdeath",
                                       "quitwarning",
                                       "replayboard",
                                       "movieboard",
                                       "nzmenuconfirmation",
                                       "nzquitconfirmation",
                                       "nzchooseboardconfirmation",
                                       "youwinnewboard",
                                       "timesup",
                                       "scramblespeedwarning",
                                       "zorvylose",
                                       "offerlife",
                                       "paused",
                                       "restartconfirmation",
                                       "YinYangOk",
                                       "BonusMessage",
                                       "BricksBlock",
                                       "FireCracker",
                                       "Down",
                                       "Up",
                                       "Clone",
                                       "Typhoon",
                                       "Swap",
                                       "Magic",
                                       "Magnet"};
    for (const Look& look : kLooks) {
        ConfigFile lookCfg((kData / look.file).string(), false, true, false);
        ConfigFile set((kData / Fmt("cfg/puzzles%d.cfg",
                                    ConfigFile::AsInt(lookCfg.Value("game", "puzzles", 0.0, true))))
                           .string(),
                       false, true, false);
        const int max = ConfigFile::AsInt(set.Value("puzzles", "max", 0.0, true));
        for (int n = 0; n <= max; ++n) {
            const Point pos = set.ValueAsPoint(Fmt("puzzle%d", n), "popuppos", Point(-1, -1));
            if (pos.GetX() != -1) {
                popups.push_back(set.Value(Fmt("puzzle%d", n), "popupname", "0", true));
            }
        }
    }
    const std::vector<DialogCheck> checks = {
        {"cfg/popup.cfg", popups, {1}, false},
        {"cfg/menudialog.cfg",
         {"zorvymenudialog", "puzzlemenudialog"},
         {1, 2, 3, 5, 6, 7, 8},
         false},
        {"cfg/radio.cfg", {"nzvnomoves", "zvnomoves", "zvnomoveszero"}, {107}, true},
    };
    ConfigFile skin((kData / "cfg/skin.cfg").string(), false, true, false);
    for (const DialogCheck& check : checks) {
        ConfigFile cfg((kData / check.file).string(), &skin, false, true, false);
        for (const std::string& section : check.sections) {
            const std::string controls = cfg.Value(section, "controls", "missing", true);
            ASSERT_NE(controls, "missing") << check.file << " [" << section << "]";
            const auto entries = cfg.GetKeysInSection(controls);
            EXPECT_FALSE(entries.empty())
                << check.file << " [" << section << "] controls=" << controls;
            std::set<int> ids;
            bool background = false, radio = false;
            for (const std::string& entry : entries) {
                const std::string control = cfg.Value(controls, entry, "", true);
                const std::string type = cfg.Value(control, "type", "0", true);
                EXPECT_NE(type, "0")
                    << check.file << " [" << controls << "] names " << control << " without a type";
                background = background || type == "background";
                if (type == "button") {
                    ids.insert(ConfigFile::AsInt(cfg.Value(control, "id", 0.0, true)));
                    const std::string img = cfg.Value(control, "img", "", true);
                    EXPECT_FALSE(img.empty()) << control;
                }
                if (type == "radioset") {
                    radio = ConfigFile::AsInt(cfg.Value(control, "id", 0.0, true)) == 2 &&
                            cfg.Value(control, "text1", "_end_", true).operator std::string() !=
                                "_end_";
                }
            }
            EXPECT_TRUE(background) << check.file << " [" << section << "] has no background";
            for (int item : check.items) {
                EXPECT_EQ(ids.count(item), 1u)
                    << check.file << " [" << section << "] offers no item " << item;
            }
            if (check.radioGroup2) {
                EXPECT_TRUE(radio) << check.file << " [" << section << "] has no radio group 2";
            }
        }
    }
}

TEST_F(GameDataSet, EveryBoardOfEverySetParsesFitsAndDeals)
{
    std::set<std::string> shapes;
    for (const Look& look : kLooks) {
        LookBounds bounds{};
        const auto boards = BoardsOf(look, &bounds);
        for (const BoardEntry& board : boards) {
            for (const std::string& fault : CheckBoard(board, bounds)) {
                ADD_FAILURE() << board.layout << " (" << board.set << " puzzle" << board.number
                              << "): " << fault;
            }
            Layout layout;
            ReadLayout(kData / board.layout, layout);
            if (look.type == 0) {
                EXPECT_EQ(layout.tiles.size(), 144u) << board.layout;
            }
            EXPECT_NE(layout.title, "Layout Title Missing") << board.layout;
        }
    }
}

TEST_F(GameDataSet, TestBoardsDealAndCongratulationsShowPresetFacesOnly)
{
    const LookBounds bounds = BoundsOf("cfg/mjclassic.cfg");
    for (const char* rel : {"puzzles/test.cfg", "puzzles/quilvarnoth1.cfg"}) {
        for (const std::string& fault : CheckBoard({"", 1, rel, 2, false, false}, bounds)) {
            ADD_FAILURE() << rel << ": " << fault;
        }
    }
    for (int n = 1; n <= 4; ++n) {
        const std::string rel = Fmt("puzzles/congrats%d.cfg", n);
        Layout layout;
        ASSERT_TRUE(ReadLayout(kData / rel, layout)) << rel;
        ASSERT_FALSE(layout.tiles.empty()) << rel;
        const Board board = Place(layout, false);
        EXPECT_EQ(board.problem, "") << rel;
        for (const Tile& t : board.tiles) {
            EXPECT_TRUE(t.code >= 0 && t.code < 42)
                << rel << ": only preset faces, found " << t.code;
            EXPECT_TRUE(t.i + 1 < bounds.columns && t.j + 1 < bounds.rows &&
                        t.level < bounds.layers)
                << rel;
        }
    }
}

// The placement rules catch the layouts that deal boards that cannot be cleared.
TEST_F(GameDataSet, PlacementRulesRefuseUnclearableLayouts)
{
    struct Case
    {
        const char* what;
        std::vector<Tile> tiles;
        int match;
        const char* fault; // a word of the expected fault
    };
    std::vector<Tile> row;
    for (int n = 0; n < 36; ++n) {
        row.push_back({2 * (n % 12), 2 * (n / 12), 1, kDeal});
    }
    auto with = [&](std::vector<Tile> extra) {
        std::vector<Tile> out = row;
        out.insert(out.end(), extra.begin(), extra.end());
        return out;
    };
    // The row's tiles at `at` become the Yin-Yang pair, under tiles to deal at `over` on the layer
    // above; the tiles at `drop` go to keep the count.
    using Places = std::vector<std::pair<int, int>>;
    auto yinYangAt = [&](Places at, Places over, Places drop) {
        std::vector<Tile> out;
        for (Tile t : row) {
            const auto place = std::make_pair(t.i, t.j);
            if (std::count(drop.begin(), drop.end(), place) == 0) {
                t.code = std::count(at.begin(), at.end(), place) != 0 ? kYinYang : t.code;
                out.push_back(t);
            }
        }
        for (const auto& [i, j] : over) {
            out.push_back({i, j, 2, kDeal});
        }
        return out;
    };
    const std::vector<Case> cases = {
        {"a board that deals", row, 2, nullptr},
        {"an odd count", with({{0, 10, 1, kDeal}}), 2, "tiles to deal"},
        {"Up on a tile to deal", with({{0, 0, 2, 47}}), 2, "stands on"},
        {"a preset face beside a tile to deal", with({{24, 0, 1, 27}, {30, 0, 1, 27}}), 2,
         "beside"},
        {"half a preset pair", with({{30, 8, 1, 27}}), 2, "whole group"},
        {"a brick without a fuse", with({{0, 0, 2, kBrick}}), 2, "fuses"},
        {"a magnet on a triple board", with({{30, 8, 1, kMagnet}}), 3, "triple"},
        {"a deep magnet beside open tiles", with({{24, 0, 1, kDeep}}), 2, "deep magnet"},
        {"a tall stack the deal cannot take", {{0, 0, 1, kDeal}, {0, 0, 2, kDeal}}, 2, "stuck"},
        {"a Yin-Yang pair earned in the middle of the board",
         yinYangAt({{10, 2}, {12, 2}}, {{8, 2}, {10, 2}, {12, 2}, {14, 2}}, {{0, 0}, {2, 0}}), 2,
         nullptr},
        {"a Yin-Yang pair beside the board", with({{30, 8, 1, kYinYang}, {34, 8, 1, kYinYang}}), 2,
         "free at the deal"},
        {"a Yin-Yang pair at the ends of two rows",
         yinYangAt({{22, 0}, {22, 4}}, {{22, 0}, {22, 4}}, {}), 2, "under a third"},
    };
    const LookBounds bounds{42, 22, 10, 40, 50, 8};
    const fs::path scratch = fs::current_path() / "layout.cfg";
    for (const Case& c : cases) {
        {
            std::ofstream out(scratch);
            out << "L=" << c.what << "\n";
            for (const Tile& t : c.tiles) {
                out << "v=" << (t.code == kDeal ? t.level : (t.code + 1) * 100 + t.level)
                    << "\np=" << t.i << "," << t.j << "\n";
            }
        }
        // The check reads layouts from the data folder; give it the scratch file by its full path.
        const auto faults = CheckBoard({"", 1, scratch.string(), c.match, false, false}, bounds);
        if (c.fault == nullptr) {
            EXPECT_TRUE(faults.empty()) << c.what << ": " << Reads::Join(faults);
        } else {
            EXPECT_TRUE(std::any_of(
                faults.begin(), faults.end(),
                [&](const std::string& f) { return f.find(c.fault) != std::string::npos; }))
                << c.what << ": " << Reads::Join(faults);
        }
    }
}
