#pragma once

#include "mahjong/screen/MjClassic.h"
#include "mahjong/screen/MjClassicConfig.h"
#include "tests/mahjong/board/MjLayoutTestSupport.h"
#include "tests/shell/ShellTestSupport.h"

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

class MjTile;

// A board screen on a running framework for the game's play tests: the game's data set with a
// fixture puzzle set, boards built from exact tiles with preset faces and a fixed seed, the game
// clock on the engine's tick source, presses injected as SDL mouse events, snapshots of the grid
// and the tray, and a record of the screen's cues and points popups.
namespace mjtest {

// One tile as a snapshot sees it.
struct TileState
{
    MjTile* tile;
    int type;
    int face;
    int i;
    int j;
    int k;
    bool visible;
    bool active;
    bool operator==(const TileState& o) const;
};

// Every tile of the screen that is on the grid or was sent off it, the tray slots 1 to 3 and
// the board score.
struct BoardSnapshot
{
    std::vector<TileState> tiles;
    MjTile* tray[4] = {};
    int boardScore = 0;
    bool operator==(const BoardSnapshot& o) const;
};
std::ostream& operator<<(std::ostream& out, const BoardSnapshot& snapshot);

// One board of the fixture puzzle set.
struct FixtureBoard
{
    std::vector<Spot> spots; // codes are preset faces
    int matches = 2;
    int time = 900; // the clock's period in ms
    int seed = 4242;
};

// A points popup as it appeared.
struct PopupRecord
{
    std::string text;
    int x;
    int y;
};

class BoardHarness : public shelltest::ShellTest
{
public:
    static constexpr const char* kClassicLook = "cfg/mjclassic.cfg"; // type 0
    static constexpr const char* kTimedLook = "cfg/mjlogic.cfg";     // type 1
    static constexpr const char* kQuestLook = "cfg/mjzorvy.cfg";     // type 2
    // The fixture puzzle set's number: "cfg/puzzles9.cfg".
    static constexpr int kFixtureSet = 9;
    // The screen's trace level at which it logs its cues.
    static constexpr int kTraceLevel = 5;

    // Six rows of six tiles side by side on one layer: the ends of each row are free, the four
    // inside tiles blocked. Faces by row: row 0 and 1 of face 5 at their ends, row 2 face 5 at
    // its ends too (three pairs of one type), rows 3 to 5 other types.
    static FixtureBoard ThirtySixTiles();
    // Lone (free) tiles for triples: face 7 in columns 20, 0 and 10 (rows 0, 4, 8), then rows
    // of three of face 8 and of face 9.
    static FixtureBoard TripleBoard();

protected:
    void SetUp() override;
    void TearDown() override;

    // The screen for a look file, reading the fixture puzzle set; edit changes the look first.
    void MakeScreen(const std::string& look = kClassicLook,
                    const std::function<void(MjClassicConfig&)>& edit = {});
    // Hands the screen's sprites back and deletes it, as leaving the game does.
    void DropScreen();
    // Sets the board up as puzzle 0 of the fixture set, in place at once, and opens it for play
    // as the start of play does.
    void StartBoard(const FixtureBoard& board);
    MjTile* TileAt(int i, int j, int k = 0);
    // A press and release at the middle of the tile, as SDL events through the frame loop's
    // dispatch, the stage and the tile to the screen. button: 1 left, 3 right.
    void Press(MjTile* tile, int button = 1);
    void PressAt(int x, int y, int button = 1);
    // Frames of 10 ms on the fake clock until ms have passed.
    void Run(unsigned int ms);
    BoardSnapshot Snapshot();
    // Pixels of the screen within the tile's rectangle that show the colour key's magenta, pure
    // or blended into what is drawn there.
    static int KeyTintedPixels(MjTile* tile);
    // The cues played since the last call, as "NAME CHANNEL" (e.g. "CFG_SELECT 0", "stop -2").
    std::vector<std::string> TakeCues();
    // The points popups that appeared since the last call.
    std::vector<PopupRecord> TakePopups();
    // The tray slot's tile (1 to 3).
    static MjTile* Tray(int slot);

    std::unique_ptr<MjClassicConfig> config;
    std::unique_ptr<MjClassic> screen;

private:
    void Pump();
    void NotePopups();

    std::size_t _logSeen = 0;
    std::set<const void*> _popupsSeen;
    std::vector<PopupRecord> _popups;
    int _boardSerial = 0;
};

} // namespace mjtest
