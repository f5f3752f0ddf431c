// The game's generated pictures and sounds as the program will load them: every picture has the
// size and frame grid the code cuts it into, keyed pictures carry the colour key at (0,0) and
// never a colour blended into it, the tile sheets hold sixty distinct faces, effects are 22050 Hz
// 16-bit and the music loops are Ogg Vorbis of 30 to 60 seconds.
#include "SDL.h"
#include "SDL_image.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = GAME_DATA_DIR;

struct PictureSpec
{
    const char* path;
    int w, h;
    int cols, rows;
    bool keyed;
};

// Sizes and grids of every picture the configurations and the board screen name.
const PictureSpec kPictures[] = {
    {"images/mj_standard_tile.jpg", 240, 500, 6, 10, false},
    {"images/mj_jade_tile.jpg", 240, 500, 6, 10, false},
    {"images/mj_night_tile.jpg", 240, 500, 6, 10, false},
    {"images/MjClassicTiles_V2_Darker.jpg", 240, 500, 6, 10, false},
    {"images/mj_standard_tile_dark.jpg", 240, 500, 6, 10, false},
    {"images/MiniClassic.png", 90, 170, 6, 10, false},
    {"images/MiniStandardTiles.png", 90, 170, 6, 10, false},
    {"images/MiniOneTile.png", 15, 19, 1, 1, true},
    {"images/mj_one_tile.png", 48, 58, 1, 1, true},
    {"images/HighLight.png", 38, 48, 1, 1, true},
    {"images/DarkLight.png", 38, 48, 1, 1, true},
    {"images/mj_v_line.gif", 8, 58, 1, 1, true},
    {"images/mj_h_line.gif", 48, 8, 1, 1, true},
    {"images/special/yinyang.png", 320, 50, 8, 1, false},
    {"images/special/yinyang_gold.png", 320, 50, 8, 1, false},
    {"images/special/yinyang_jade.png", 320, 50, 8, 1, false},
    {"images/special/brick.png", 240, 50, 6, 1, false},
    {"images/special/down.png", 320, 50, 8, 1, false},
    {"images/special/up.png", 320, 50, 8, 1, false},
    {"images/special/fuse.png", 320, 50, 8, 1, false},
    {"images/special/clone.png", 320, 50, 8, 1, false},
    {"images/special/typhoon.png", 320, 50, 8, 1, false},
    {"images/special/swapper.png", 320, 50, 8, 1, false},
    {"images/special/magic.png", 320, 50, 8, 1, false},
    {"images/special/magnet.png", 320, 50, 8, 1, false},
    {"images/special/deepmagnet.png", 320, 50, 8, 1, false},
    {"images/special/firecracker2.png", 320, 50, 8, 1, true},
    {"images/mahjong.gif", 32, 32, 1, 1, true},
    {"images/empty_bg.png", 800, 600, 1, 1, false},
    {"images/blackback.png", 800, 600, 1, 1, false},
    {"images/classic/bg0.jpg", 800, 450, 1, 1, false},
    {"images/classic/bg1.jpg", 800, 450, 1, 1, false},
    {"images/classic/bg2.jpg", 800, 450, 1, 1, false},
    {"images/classic/bg3.jpg", 800, 450, 1, 1, false},
    {"images/logic/bg0.jpg", 800, 450, 1, 1, false},
    {"images/logic/bg1.jpg", 800, 450, 1, 1, false},
    {"images/logic/bg2.jpg", 800, 450, 1, 1, false},
    {"images/logic/bg3.jpg", 800, 450, 1, 1, false},
    {"images/classic/top.png", 800, 75, 1, 1, false},
    {"images/classic/bottom.png", 800, 75, 1, 1, false},
    {"images/classic/rim.png", 800, 6, 1, 1, false},
    {"images/classic/tray.png", 160, 70, 1, 1, true},
    {"images/classic/btn_menu.png", 400, 36, 4, 1, true},
    {"images/classic/btn_new.png", 400, 36, 4, 1, true},
    {"images/classic/btn_replay.png", 400, 36, 4, 1, true},
    {"images/classic/btn_undo.png", 400, 36, 4, 1, true},
    {"images/classic/btn_hint.png", 400, 36, 4, 1, true},
    {"images/classic/btn_pause.png", 400, 36, 4, 1, true},
    {"images/classic/fuse.png", 350, 24, 1, 1, true},
    {"images/logic/top.png", 800, 75, 1, 1, false},
    {"images/logic/bottom.png", 800, 75, 1, 1, false},
    {"images/logic/rim.png", 800, 6, 1, 1, false},
    {"images/logic/tray.png", 160, 70, 1, 1, true},
    {"images/logic/btn_menu.png", 400, 36, 4, 1, true},
    {"images/logic/btn_new.png", 400, 36, 4, 1, true},
    {"images/logic/btn_replay.png", 400, 36, 4, 1, true},
    {"images/logic/btn_undo.png", 400, 36, 4, 1, true},
    {"images/logic/btn_hint.png", 400, 36, 4, 1, true},
    {"images/logic/btn_pause.png", 400, 36, 4, 1, true},
    {"images/logic/fuse.png", 350, 24, 1, 1, true},
    {"images/zorvy/top.png", 800, 75, 1, 1, false},
    {"images/zorvy/bottom.png", 800, 75, 1, 1, false},
    {"images/zorvy/rim.png", 800, 6, 1, 1, false},
    {"images/zorvy/tray.png", 160, 70, 1, 1, true},
    {"images/zorvy/btn_menu.png", 400, 36, 4, 1, true},
    {"images/zorvy/btn_new.png", 400, 36, 4, 1, true},
    {"images/zorvy/btn_replay.png", 400, 36, 4, 1, true},
    {"images/zorvy/btn_undo.png", 400, 36, 4, 1, true},
    {"images/zorvy/btn_hint.png", 400, 36, 4, 1, true},
    {"images/zorvy/btn_pause.png", 400, 36, 4, 1, true},
    {"images/zorvy/fuse.png", 350, 24, 1, 1, true},
    {"images/zorvy/smoke.png", 192, 24, 8, 1, true},
    {"images/zorvy/ember.png", 48, 12, 4, 1, true},
    {"images/zorvy/case.png", 360, 90, 3, 1, true},
    {"images/zorvy/case_on_top.png", 120, 40, 1, 1, true},
    {"images/zorvy/replay_mode.png", 300, 40, 1, 1, true},
    {"images/TimerTrickClassic.png", 350, 24, 1, 1, true},
    {"images/TimerTrick.gif", 350, 24, 1, 1, true},
    {"images/TimerEnding.png", 240, 48, 5, 1, true},
    {"images/MiniTimerBonus.png", 220, 60, 1, 1, false},
    {"images/MiniBackground.png", 232, 140, 1, 1, false},
    {"images/MiniBackgroundBright.png", 232, 140, 1, 1, false},
    {"images/MiniBackgroundDark.png", 232, 140, 1, 1, false},
    {"images/SmallFancy.png", 180, 26, 1, 1, true},
    {"images/Modes.png", 720, 192, 6, 4, true},
    {"images/modeBG.png", 760, 480, 1, 1, true},
    {"images/tckj9j17c57.png", 300, 60, 1, 1, true},
    {"images/select/panel.png", 72, 72, 3, 3, true},
    {"images/select/left.png", 320, 40, 4, 1, true},
    {"images/select/right.png", 320, 40, 4, 1, true},
    {"images/select/play.png", 480, 40, 4, 1, true},
    {"images/select/movie.png", 480, 40, 4, 1, true},
    {"images/select/cancel.png", 480, 40, 4, 1, true},
    {"images/select/levelplate.png", 220, 30, 1, 1, true},
    {"images/cell_pc_1.jpg", 220, 128, 1, 1, false},
    {"images/cell_pc_2.jpg", 220, 128, 1, 1, false},
    {"images/cell_pc_3.jpg", 220, 128, 1, 1, false},
    {"images/cell_pc_4.jpg", 220, 128, 1, 1, false},
    {"images/cell_pc_5.jpg", 220, 128, 1, 1, false},
    {"images/cell1.jpg", 220, 128, 1, 1, false},
    {"images/cell2.jpg", 220, 128, 1, 1, false},
    {"images/cell3.jpg", 220, 128, 1, 1, false},
    {"images/cell4.jpg", 220, 128, 1, 1, false},
    {"images/cell5.jpg", 220, 128, 1, 1, false},
    {"images/spiritmap.jpg", 800, 600, 16, 1, false},
    {"images/map_roll.png", 60, 600, 1, 1, true},
    {"images/map_level1_color.jpg", 320, 200, 1, 1, false},
    {"images/map_level2_color.jpg", 320, 200, 1, 1, false},
    {"images/map_step01.gif", 24, 24, 1, 1, true},
    {"images/map_step02.gif", 24, 24, 1, 1, true},
    {"images/map_step03.gif", 24, 24, 1, 1, true},
    {"images/map_step04.gif", 24, 24, 1, 1, true},
    {"images/map_step05.gif", 24, 24, 1, 1, true},
    {"images/map_step06.gif", 24, 24, 1, 1, true},
    {"images/map_step07.gif", 24, 24, 1, 1, true},
    {"images/map_step08.gif", 24, 24, 1, 1, true},
    {"images/map_step09.gif", 24, 24, 1, 1, true},
    {"images/map_step010.gif", 24, 24, 1, 1, true},
    {"images/map_step011.gif", 24, 24, 1, 1, true},
    {"images/quest/scene00.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene01.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene02.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene03.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene04.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene05.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene06.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene07.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene08.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene09.jpg", 800, 450, 1, 1, false},
    {"images/quest/scene10.jpg", 800, 450, 1, 1, false},
    {"images/quest/hills.png", 800, 160, 1, 1, true},
    {"images/quest/peaks.png", 800, 220, 1, 1, false},
    {"images/quest/pines.png", 800, 180, 1, 1, true},
    {"images/quest/mist.png", 800, 120, 1, 1, false},
    {"images/quest/pagoda.png", 160, 220, 1, 1, true},
    {"images/quest/bridge.png", 400, 120, 1, 1, true},
    {"images/quest/spirit.png", 120, 160, 1, 1, false},
    {"images/quest/lantern.png", 40, 60, 1, 1, true},
    {"images/quest/cranes.png", 480, 60, 4, 1, true},
    {"images/quest/sunglow.png", 240, 240, 1, 1, false},
    {"images/quest/title_end.png", 500, 80, 1, 1, true},
    {"images/dialog/menu_mainmenu.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_options.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_rules.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_replay.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_movie.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_board.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_scene.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_resume.png", 720, 32, 4, 1, true},
    {"images/dialog/menu_quit.png", 720, 32, 4, 1, true},
    {"images/dialog/nextbutton.png", 360, 32, 4, 1, true},
    {"images/dialog/prevbutton.png", 360, 32, 4, 1, true},
    {"images/dialog/radio.png", 80, 20, 4, 1, true},
    {"images/rules/rules_puzzle.png", 1120, 200, 7, 1, true},
    {"images/rules/rules_classic.png", 800, 200, 5, 1, true},
    {"images/rules/rules_quest.png", 960, 200, 6, 1, true},
};

struct Rgb
{
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

constexpr Rgb kKey{255, 0, 255};

// A loaded picture with its pixels read as RGB whatever its format (palette, RGB or RGBA).
class Picture
{
public:
    explicit Picture(const fs::path& path) : _s(IMG_Load(path.c_str()), SDL_FreeSurface)
    {
        if (_s) {
            SDL_LockSurface(_s.get());
        }
    }
    ~Picture()
    {
        if (_s) {
            SDL_UnlockSurface(_s.get());
        }
    }
    bool Loaded() const { return _s != nullptr; }
    int W() const { return _s->w; }
    int H() const { return _s->h; }
    Rgb At(int x, int y) const
    {
        const int bpp = _s->format->BytesPerPixel;
        const Uint8* p = static_cast<const Uint8*>(_s->pixels) + y * _s->pitch + x * bpp;
        Uint32 v = 0;
        std::memcpy(&v, p, bpp);
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(v, _s->format, &r, &g, &b);
        return {r, g, b};
    }
    // Mean absolute difference per channel between two equal-sized cells.
    double CellDistance(int x0, int y0, const Picture& other, int x1, int y1, int w, int h) const
    {
        double sum = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb a = At(x0 + x, y0 + y);
                const Rgb b = other.At(x1 + x, y1 + y);
                sum += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
            }
        }
        return sum / (3.0 * w * h);
    }
    double CellBrightness(int x0, int y0, int w, int h) const
    {
        double sum = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const Rgb c = At(x0 + x, y0 + y);
                sum += c.r + c.g + c.b;
            }
        }
        return sum / (3.0 * w * h);
    }

private:
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> _s;
};

// A colour that is not the key but close to it: what anti-aliasing into the key leaves behind,
// which the engine would draw as a pink fringe.
bool NearKey(const Rgb& c)
{
    return !(c == kKey) && c.r > 200 && c.b > 200 && c.g < 60;
}

} // namespace

TEST(GamePictures, SizesGridsAndKeysAreWhatTheCodeCutsThemInto)
{
    for (const PictureSpec& spec : kPictures) {
        SCOPED_TRACE(spec.path);
        const Picture pic(kData / spec.path);
        ASSERT_TRUE(pic.Loaded());
        ASSERT_EQ(spec.w % spec.cols, 0);
        ASSERT_EQ(spec.h % spec.rows, 0);
        if (pic.W() != spec.w || pic.H() != spec.h) {
            ADD_FAILURE() << "is " << pic.W() << " x " << pic.H() << ", the code cuts " << spec.w
                          << " x " << spec.h;
            continue;
        }
        if (!spec.keyed) {
            // An opaque picture must not start with the key: a loader that keys it would punch
            // holes into it.
            EXPECT_FALSE(pic.At(0, 0) == kKey);
            continue;
        }
        EXPECT_TRUE(pic.At(0, 0) == kKey);
        const int fw = spec.w / spec.cols;
        const int fh = spec.h / spec.rows;
        for (int row = 0; row < spec.rows; ++row) {
            for (int col = 0; col < spec.cols; ++col) {
                int shown = 0;
                int fringe = 0;
                for (int y = row * fh; y < (row + 1) * fh; ++y) {
                    for (int x = col * fw; x < (col + 1) * fw; ++x) {
                        const Rgb c = pic.At(x, y);
                        shown += c == kKey ? 0 : 1;
                        fringe += NearKey(c) ? 1 : 0;
                    }
                }
                EXPECT_GT(shown, 0) << "frame " << col << "," << row << " is empty";
                EXPECT_EQ(fringe, 0) << "frame " << col << "," << row << " blends into the key";
            }
        }
    }
}

TEST(GamePictures, FaceSheetsHoldSixtyDistinctFaces)
{
    // A face drawn twice, a shifted grid or an empty cell shows as two cells that look alike.
    struct Sheet
    {
        const char* path;
        int w, h;
        double minDistance;
    };
    const Sheet sheets[] = {
        {"images/mj_standard_tile.jpg", 40, 50, 4.0},
        {"images/mj_jade_tile.jpg", 40, 50, 4.0},
        {"images/mj_night_tile.jpg", 40, 50, 4.0},
        {"images/MiniClassic.png", 15, 17, 4.0},
    };
    for (const Sheet& sheet : sheets) {
        SCOPED_TRACE(sheet.path);
        const Picture pic(kData / sheet.path);
        ASSERT_TRUE(pic.Loaded());
        for (int a = 0; a < 60; ++a) {
            for (int b = a + 1; b < 60; ++b) {
                const double d =
                    pic.CellDistance((a % 6) * sheet.w, (a / 6) * sheet.h, pic, (b % 6) * sheet.w,
                                     (b / 6) * sheet.h, sheet.w, sheet.h);
                EXPECT_GT(d, sheet.minDistance) << "faces " << a << " and " << b;
            }
        }
    }
}

TEST(GamePictures, DarkAndMiniatureSheetsAreMadeFromTheSameFaces)
{
    const Picture standard(kData / "images/mj_standard_tile.jpg");
    ASSERT_TRUE(standard.Loaded());
    for (const char* path :
         {"images/MjClassicTiles_V2_Darker.jpg", "images/mj_standard_tile_dark.jpg"}) {
        SCOPED_TRACE(path);
        const Picture dark(kData / path);
        ASSERT_TRUE(dark.Loaded());
        for (int f = 0; f < 60; ++f) {
            const int x = (f % 6) * 40;
            const int y = (f / 6) * 50;
            const double ratio =
                dark.CellBrightness(x, y, 40, 50) / standard.CellBrightness(x, y, 40, 50);
            // Darker, so a selected tile stands out, yet light enough to read.
            EXPECT_LT(ratio, 0.85) << "face " << f;
            EXPECT_GT(ratio, 0.5) << "face " << f;
        }
    }
    // The two miniature sheets show the same faces in the same cells.
    const Picture classic(kData / "images/MiniClassic.png");
    const Picture quest(kData / "images/MiniStandardTiles.png");
    ASSERT_TRUE(classic.Loaded());
    ASSERT_TRUE(quest.Loaded());
    EXPECT_EQ(classic.CellDistance(0, 0, quest, 0, 0, 90, 170), 0.0);
}

TEST(GamePictures, SpecialAnimationsAreWholeFacesThatEndAtRest)
{
    // A selected special tile copies its animation's frames over its face as they are: a key
    // pixel in a frame shows as a hole through the tile, and a frame that is not the whole face
    // (of whichever tile set) leaves the tile looking other than its face when the animation
    // stops.
    struct Strip
    {
        const char* path;
        int face;
        bool restsFirst; // the brick crumbles away: its first frame is the face at rest
    };
    const Strip strips[] = {
        {"images/special/yinyang.png", 42, false},
        {"images/special/yinyang_gold.png", 43, false},
        {"images/special/yinyang_jade.png", 56, false},
        {"images/special/brick.png", 45, true},
        {"images/special/down.png", 46, false},
        {"images/special/up.png", 47, false},
        {"images/special/fuse.png", 48, false},
        {"images/special/clone.png", 49, false},
        {"images/special/typhoon.png", 50, false},
        {"images/special/swapper.png", 54, false},
        {"images/special/magic.png", 57, false},
        {"images/special/magnet.png", 58, false},
        {"images/special/deepmagnet.png", 59, false},
    };
    const Picture faces(kData / "images/mj_standard_tile.jpg");
    const Picture jade(kData / "images/mj_jade_tile.jpg");
    const Picture night(kData / "images/mj_night_tile.jpg");
    ASSERT_TRUE(faces.Loaded() && jade.Loaded() && night.Loaded());
    constexpr int kW = 40;
    constexpr int kH = 50;
    for (const Strip& strip : strips) {
        SCOPED_TRACE(strip.path);
        const Picture pic(kData / strip.path);
        ASSERT_TRUE(pic.Loaded());
        ASSERT_EQ(pic.H(), kH);
        const int frames = pic.W() / kW;
        ASSERT_GE(frames, 2);
        int keyed = 0;
        for (int y = 0; y < pic.H(); ++y) {
            for (int x = 0; x < pic.W(); ++x) {
                keyed += pic.At(x, y) == kKey ? 1 : 0;
            }
        }
        EXPECT_EQ(keyed, 0) << "pixels of the key colour";
        const int fx = (strip.face % 6) * kW;
        const int fy = (strip.face / 6) * kH;
        // Every frame keeps the face's ground: the rim around the edge is the face's own.
        for (int n = 0; n < frames; ++n) {
            const double top = pic.CellDistance(n * kW, 0, faces, fx, fy, kW, 2);
            const double bottom = pic.CellDistance(n * kW, kH - 2, faces, fx, fy + kH - 2, kW, 2);
            const double left = pic.CellDistance(n * kW, 0, faces, fx, fy, 2, kH);
            const double right =
                pic.CellDistance(n * kW + kW - 2, 0, faces, fx + kW - 2, fy, 2, kH);
            EXPECT_LT(std::max(std::max(top, bottom), std::max(left, right)), 8.0)
                << "frame " << n << " edges differ from the face's";
        }
        // At rest the tile shows its face again, in every tile set (the sheets are JPEGs: a
        // little noise).
        const int rest = strip.restsFirst ? 0 : frames - 1;
        for (const Picture* set : {&faces, &jade, &night}) {
            EXPECT_LT(pic.CellDistance(rest * kW, 0, *set, fx, fy, kW, kH), 6.0)
                << "frame " << rest << " is not the resting face " << strip.face << " of sheet "
                << (set == &faces  ? "standard"
                    : set == &jade ? "jade"
                                   : "night");
        }
    }
}

TEST(GamePictures, BlankTileShowsItsBodyLeftAndBelowTheFace)
{
    const Picture tile(kData / "images/mj_one_tile.png");
    ASSERT_TRUE(tile.Loaded());
    struct Probe
    {
        int x, y;
        bool shown;
        const char* where;
    };
    const Probe probes[] = {
        {0, 0, false, "top left, above the body"}, {47, 57, false, "bottom right, beyond the body"},
        {28, 25, true, "middle of the face"},      {46, 2, true, "face, near its top right corner"},
        {3, 30, true, "body edge on the left"},    {20, 55, true, "body edge below"},
    };
    for (const Probe& p : probes) {
        EXPECT_EQ(!(tile.At(p.x, p.y) == kKey), p.shown) << p.where;
    }
    // The face sheet covers the face area at (8, 0): the area is ivory, not the body's colour.
    const Rgb face = tile.At(28, 25);
    EXPECT_GT(face.r + face.g + face.b, 3 * 200);
}

TEST(GamePictures, MiniatureTileShowsAFaceBelowItsEdge)
{
    // The board previews of the tile sets other than 0 draw this picture for every tile: a bare
    // ground shows as a field of blank blocks. Those of tile set 0 copy each tile's own face over
    // it from row 2 down, so its two top rows are all that shows there: the body's edge.
    const Picture tile(kData / "images/MiniOneTile.png");
    ASSERT_TRUE(tile.Loaded());
    ASSERT_EQ(tile.W(), 15);
    ASSERT_EQ(tile.H(), 19);
    constexpr int kFaceTop = 2;
    // The ground of every tile set, its rim included, stays below this spread of the channels;
    // the painted symbols of the faces go well beyond it.
    constexpr int kGroundSpread = 90;
    int painted = 0;
    for (int y = kFaceTop; y < tile.H(); ++y) {
        for (int x = 0; x < tile.W(); ++x) {
            const Rgb c = tile.At(x, y);
            if (c == kKey) {
                continue;
            }
            const int spread = std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b});
            painted += spread > kGroundSpread ? 1 : 0;
        }
    }
    EXPECT_GE(painted, 8) << "the face area shows no painted symbol";
    const double edge = tile.CellBrightness(2, 1, tile.W() - 4, 1);
    const double face = tile.CellBrightness(2, kFaceTop + 1, tile.W() - 4, 1);
    EXPECT_LT(edge, face - 40.0) << "the top rows do not read as the tile's edge";
}

namespace {

std::vector<unsigned char> ReadAll(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint64_t LittleEndian(const unsigned char* p, int bytes)
{
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

} // namespace

TEST(GameSounds, EffectsAre22050Hz16BitAndAudible)
{
    const char* const effects[] = {
        "select",       "match",   "nomatch", "quad",          "menu",      "waterdrop", "undo",
        "clearedboard", "timesup", "fadein",  "openingscroll", "up",        "down",      "fuse",
        "explode",      "clone",   "typhoon", "swapper",       "magicwand", "magnet",
    };
    for (const char* name : effects) {
        const fs::path path = kData / "audio" / (std::string(name) + ".wav");
        SCOPED_TRACE(path.string());
        SDL_AudioSpec spec{};
        Uint8* buf = nullptr;
        Uint32 len = 0;
        ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &buf, &len), nullptr) << SDL_GetError();
        EXPECT_EQ(spec.freq, 22050);
        EXPECT_EQ(spec.format, AUDIO_S16LSB);
        const double seconds = len / (2.0 * spec.channels * spec.freq);
        EXPECT_GT(seconds, 0.01);
        EXPECT_LT(seconds, 3.0);
        int peak = 0;
        const Sint16* samples = reinterpret_cast<const Sint16*>(buf);
        for (Uint32 i = 0; i < len / 2; ++i) {
            peak = std::max(peak, std::abs(int(samples[i])));
        }
        EXPECT_GT(peak, 8000) << "too quiet to hear";
        SDL_FreeWAV(buf);
    }
}

TEST(GameSounds, MusicLoopsAreOggVorbisOfThirtyToSixtySeconds)
{
    for (const char* name : {"M_BGMusic", "M_ActionMusic", "M_MournfulMusic"}) {
        const fs::path path = kData / "audio" / (std::string(name) + ".ogg");
        SCOPED_TRACE(path.string());
        const std::vector<unsigned char> data = ReadAll(path);
        ASSERT_GT(data.size(), 64u);
        ASSERT_EQ(std::memcmp(data.data(), "OggS", 4), 0);
        // The first packet is the Vorbis identification header: rate at offset 12 of it.
        const unsigned char* id = data.data() + 28;
        ASSERT_EQ(std::memcmp(id, "\x01vorbis", 7), 0);
        const uint64_t rate = LittleEndian(id + 12, 4);
        EXPECT_EQ(rate, 22050u);
        // The last page's granule position is the length in samples.
        size_t last = std::string::npos;
        for (size_t i = 0; i + 4 <= data.size(); ++i) {
            if (std::memcmp(data.data() + i, "OggS", 4) == 0) {
                last = i;
            }
        }
        ASSERT_NE(last, std::string::npos);
        const double seconds = double(LittleEndian(data.data() + last + 6, 8)) / double(rate);
        EXPECT_GE(seconds, 30.0);
        EXPECT_LE(seconds, 60.0);
    }
}
