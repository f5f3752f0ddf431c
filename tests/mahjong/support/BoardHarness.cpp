#include "tests/mahjong/support/BoardHarness.h"

#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Rectangle.h"
#include "framework/media/AnimationManager.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjLayout.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjPointsPopup.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <sstream>

namespace mjtest {

namespace {

constexpr char kCueMark[] = "Cue played ";
constexpr int kFrameMs = 10;

} // namespace

bool TileState::operator==(const TileState& o) const
{
    return tile == o.tile && type == o.type && face == o.face && i == o.i && j == o.j && k == o.k &&
           visible == o.visible && active == o.active;
}

bool BoardSnapshot::operator==(const BoardSnapshot& o) const
{
    for (int n = 1; n <= 3; ++n) {
        if (tray[n] != o.tray[n]) {
            return false;
        }
    }
    return tiles == o.tiles && boardScore == o.boardScore;
}

std::ostream& operator<<(std::ostream& out, const BoardSnapshot& s)
{
    out << "score " << s.boardScore << ", tray " << s.tray[1] << " " << s.tray[2] << " "
        << s.tray[3] << "\n";
    for (const TileState& t : s.tiles) {
        out << "  " << t.tile << " type " << t.type << " face " << t.face << " at " << t.i << ","
            << t.j << "," << t.k << (t.visible ? " shown" : " hidden")
            << (t.active ? " active" : " inactive") << "\n";
    }
    return out;
}

FixtureBoard BoardHarness::ThirtySixTiles()
{
    // Row faces, left to right; the middle four are never free while both ends stay.
    const int rows[6][6] = {
        {5, 10, 11, 12, 13, 5},   {5, 14, 15, 16, 17, 5},   {5, 18, 19, 20, 21, 5},
        {27, 22, 23, 24, 25, 27}, {28, 30, 31, 32, 33, 29}, {0, 1, 2, 3, 4, 0},
    };
    FixtureBoard board;
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 6; ++col) {
            board.spots.push_back({2 * col, 2 * row, 1, rows[row][col]});
        }
    }
    return board;
}

FixtureBoard BoardHarness::TripleBoard()
{
    FixtureBoard board;
    board.matches = 3;
    board.spots = {{20, 0, 1, 7},  {0, 4, 1, 7},  {10, 8, 1, 7},  {0, 12, 1, 8}, {10, 12, 1, 8},
                   {20, 12, 1, 8}, {0, 16, 1, 9}, {10, 16, 1, 9}, {20, 16, 1, 9}};
    return board;
}

void BoardHarness::SetUp()
{
    namespace fs = std::filesystem;
    // The board screens' shared values live for a program run: each test is a run of its own,
    // so that a typed command line or a saved board of one test never reaches the next.
    MjClassic::Shared() = MjClassicShared{};
    const fs::path data = GAME_DATA_DIR;
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    for (const char* folder : {"cfg", "images", "fonts", "puzzles", "sounds"}) {
        if (fs::exists(data / folder)) {
            fs::copy(data / folder, folder, options);
        }
    }
    // The fixture puzzle set: one board, rewritten by StartBoard.
    ASSERT_TRUE(testsupport::WriteFile("cfg/puzzles" + std::to_string(kFixtureSet) + ".cfg",
                                       "[puzzles]\nmax=1\nsanity=0\nshowExtra=0\n"));
    WriteData("allowloadingthread=0\n");
    StartFramework();
}

void BoardHarness::TearDown()
{
    if (screen != nullptr) {
        screen->ReleaseSprites();
    }
    screen.reset();
    config.reset();
    ShellTest::TearDown();
}

void BoardHarness::MakeScreen(const std::string& look,
                              const std::function<void(MjClassicConfig&)>& edit)
{
    config = std::make_unique<MjClassicConfig>(look);
    config->_puzzles = kFixtureSet;
    if (edit) {
        edit(*config);
    }
    screen = std::make_unique<MjClassic>(app.get(), config.get());
    // As the game's start does once its stage shows.
    Manager()->SetMasterInput(true);
    screen->SetLogLevel(kTraceLevel);
    TakeCues();
}

void BoardHarness::DropScreen()
{
    if (screen != nullptr) {
        screen->ReleaseSprites();
    }
    screen.reset();
    Run(kFrameMs);
}

void BoardHarness::StartBoard(const FixtureBoard& board)
{
    const std::string layout = "puzzles/fixture" + std::to_string(++_boardSerial) + ".cfg";
    ASSERT_TRUE(testsupport::WriteFile(layout, LayoutText(board.spots, "Fixture")));
    ConfigFile* set = screen->_puzzlesFile.get();
    set->Write("puzzle0", "layout", layout);
    set->Write("puzzle0", "matches", board.matches);
    set->Write("puzzle0", "time", board.time);
    set->Write("puzzle0", "seed", board.seed);
    set->Write("puzzle0", "tileset", 0);
    set->Write("puzzle0", "difficulty", 0);
    set->Write("puzzle0", "triple", board.matches == 3 ? 1 : 0);
    screen->_puzzle = 0;
    screen->SetupBoard(0, board.seed, MjClassic::kStartQuiet, "");
    ASSERT_NE(screen->_layout, nullptr);
    // As the start of play does.
    screen->_inPlay = 1;
    Run(kFrameMs);
    TakeCues();
    TakePopups();
}

MjTile* BoardHarness::TileAt(int i, int j, int k)
{
    if (screen == nullptr || screen->_layout == nullptr || !screen->_layout->InBounds(i, j, k)) {
        return nullptr;
    }
    const MjCell& cell = screen->_layout->Cell(i, j, k);
    return cell.state == MjCell::kOrigin ? static_cast<MjTile*>(cell.tile) : nullptr;
}

void BoardHarness::Press(MjTile* tile, int button)
{
    ASSERT_NE(tile, nullptr);
    // The middle of the tile, or else the first point of it that takes a press (an overlay may
    // leave the middle see-through).
    Rectangle& r = tile->GetRect();
    int x = r.GetX() + r.GetW() / 2;
    int y = r.GetY() + r.GetH() / 2;
    for (int dy = 0; !tile->OnPixel(x, y) && dy < r.GetH(); ++dy) {
        for (int dx = 0; dx < r.GetW(); ++dx) {
            if (tile->OnPixel(r.GetX() + dx, r.GetY() + dy)) {
                x = r.GetX() + dx;
                y = r.GetY() + dy;
                break;
            }
        }
    }
    PressAt(x, y, button);
}

void BoardHarness::PressAt(int x, int y, int button)
{
    for (Uint8 type : {Uint8(SDL_MOUSEBUTTONDOWN), Uint8(SDL_MOUSEBUTTONUP)}) {
        SDL_Event e{};
        e.type = type;
        e.button.type = type;
        e.button.button = static_cast<Uint8>(button);
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
    }
    // The frame loop queues the events and hands them to the stage in its next frame.
    Pump();
    Run(kFrameMs);
}

void BoardHarness::Pump()
{
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        app->OnEvent(&event);
    }
}

void BoardHarness::Run(unsigned int ms)
{
    for (unsigned int t = 0; t < ms; t += kFrameMs) {
        Frame(kFrameMs);
        NotePopups();
    }
}

void BoardHarness::NotePopups()
{
    // Only popups on stage are remembered, so a new popup at a freed one's address counts.
    std::set<const void*> present;
    // Back to front: of equal priority the newer popup stands in front.
    const std::vector<CastMember*>& members = Manager()->GetCast()->GetCastMembers();
    for (auto at = members.rbegin(); at != members.rend(); ++at) {
        auto* popup = dynamic_cast<MjPointsPopup*>(*at);
        if (popup == nullptr) {
            continue;
        }
        present.insert(popup);
        if (_popupsSeen.count(popup) == 0) {
            _popups.push_back({popup->GetText(), popup->GetX(), popup->GetY()});
        }
    }
    _popupsSeen.swap(present);
}

int BoardHarness::KeyTintedPixels(MjTile* tile)
{
    SDL_Surface* shown = SDL_GetVideoSurface();
    if (shown == nullptr || tile == nullptr || SDL_LockSurface(shown) != 0) {
        return -1;
    }
    int tinted = 0;
    const int bytes = shown->format->BytesPerPixel;
    for (int y = std::max(tile->GetY(), 0); y < std::min(tile->GetY() + tile->GetH(), shown->h);
         ++y) {
        for (int x = std::max(tile->GetX(), 0); x < std::min(tile->GetX() + tile->GetW(), shown->w);
             ++x) {
            Uint32 pixel = 0;
            std::memcpy(&pixel,
                        static_cast<const Uint8*>(shown->pixels) + y * shown->pitch + x * bytes,
                        bytes);
            Uint8 r = 0, g = 0, b = 0;
            SDL_GetRGB(pixel, shown->format, &r, &g, &b);
            tinted += r > g + 40 && b > g + 40 ? 1 : 0;
        }
    }
    SDL_UnlockSurface(shown);
    return tinted;
}

BoardSnapshot BoardHarness::Snapshot()
{
    BoardSnapshot s;
    s.boardScore = screen->_boardScore;
    for (int n = 1; n <= 3; ++n) {
        s.tray[n] = Tray(n);
    }
    Cast* cast = Manager()->GetCast();
    for (CastMember* member : cast->GetCastMembers()) {
        auto* tile = dynamic_cast<MjTile*>(member);
        if (tile == nullptr || tile->GetKind() != 0) {
            continue;
        }
        s.tiles.push_back({tile, tile->GetType(), tile->GetFace(), tile->GridI(), tile->GridJ(),
                           tile->GridK(), tile->IsVisible(), tile->IsActive()});
    }
    std::sort(s.tiles.begin(), s.tiles.end(), [](const TileState& a, const TileState& b) {
        return std::less<const MjTile*>()(a.tile, b.tile);
    });
    return s;
}

std::vector<std::string> BoardHarness::TakeCues()
{
    const std::string log = testsupport::ReadLog();
    std::vector<std::string> cues;
    std::istringstream lines(log.substr(std::min(_logSeen, log.size())));
    std::string line;
    while (std::getline(lines, line)) {
        const std::size_t at = line.find(kCueMark);
        if (at != std::string::npos) {
            std::string cue = line.substr(at + sizeof kCueMark - 1);
            cue.erase(cue.find_last_not_of("\r\n ") + 1);
            cues.push_back(cue);
        }
    }
    _logSeen = log.size();
    return cues;
}

std::vector<PopupRecord> BoardHarness::TakePopups()
{
    NotePopups();
    std::vector<PopupRecord> popups;
    popups.swap(_popups);
    return popups;
}

MjTile* BoardHarness::Tray(int slot)
{
    return MjClassic::Shared().traySlots[slot];
}

} // namespace mjtest
