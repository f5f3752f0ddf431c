// The board screen's texts and pictures as the data set places them: every heads-up number of
// every look stands beside its caption in the top bar's picture, at its largest value, over
// nothing else; the captions hide under the chooser's mode tiles; every mode tile names its mode
// and every mode's help fits the chooser's middle; the chooser's panel and cell pictures fit the
// pictures they are painted into. Texts are measured with the fonts the looks name, as the
// game's text sprites measure and justify them.
#include "SDL.h"
#include "SDL_image.h"
#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Dimension.h"
#include "framework/core/Point.h"
#include "framework/media/Font.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = GAME_DATA_DIR;

struct Look
{
    const char* file;
    int type; // 1 timed, 2 the quest
};
const Look kLooks[] = {{"cfg/mjclassic.cfg", 0}, {"cfg/mjlogic.cfg", 1}, {"cfg/mjzorvy.cfg", 2}};

// Where the game draws what these tests measure (its own constants): the mode tiles of the
// boards' chooser, the mode help's box, the inset of a cell's picture and the height of the
// picture between the bars that the quest's chooser paints its panel into.
constexpr int kModeTileX = 16;
constexpr int kModeTilePitch = 128;
constexpr int kModeTileY = 8;
constexpr int kModeTextX = 250;
constexpr int kModeTextWidth = 300;
constexpr int kPictureInset = 6;
constexpr int kPanelAreaHeight = 450;
constexpr int kTopBarHeight = 75;
constexpr int kScreenW = 800;
constexpr int kScreenH = 600;

struct Rect
{
    int x, y, w, h;
    bool Overlaps(const Rect& o) const
    {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
    std::string Text() const
    {
        char text[64];
        std::snprintf(text, sizeof text, "%dx%d+%d+%d", w, h, x, y);
        return text;
    }
};

std::unique_ptr<ConfigFile> Open(const std::string& rel)
{
    return std::make_unique<ConfigFile>((kData / rel).string(), nullptr, false, true, false);
}

std::string Text(ConfigFile& cfg, const std::string& section, const std::string& key)
{
    return cfg.Value(section, key, "", true);
}

int Int(ConfigFile& cfg, const std::string& section, const std::string& key)
{
    return static_cast<int>(std::strtod(Text(cfg, section, key).c_str(), nullptr));
}

// A picture of the data folder, read pixel by pixel.
class Picture
{
public:
    explicit Picture(const std::string& rel) : _surface(IMG_Load((kData / rel).c_str()))
    {
        if (_surface != nullptr) {
            SDL_LockSurface(_surface);
        }
    }
    ~Picture()
    {
        if (_surface != nullptr) {
            SDL_UnlockSurface(_surface);
            SDL_FreeSurface(_surface);
        }
    }
    Picture(const Picture&) = delete;
    Picture& operator=(const Picture&) = delete;

    bool Loaded() const { return _surface != nullptr; }
    int W() const { return _surface->w; }
    int H() const { return _surface->h; }
    void At(int x, int y, Uint8& r, Uint8& g, Uint8& b) const
    {
        Uint32 v = 0;
        std::memcpy(&v,
                    static_cast<const Uint8*>(_surface->pixels) + y * _surface->pitch +
                        x * _surface->format->BytesPerPixel,
                    _surface->format->BytesPerPixel);
        SDL_GetRGB(v, _surface->format, &r, &g, &b);
    }

private:
    SDL_Surface* _surface;
};

// The fonts a look file declares ("font0" to "font6"), by index.
class LookFonts
{
public:
    explicit LookFonts(ConfigFile& look)
    {
        for (int n = 0; n < 7; ++n) {
            const std::string section = "font" + std::to_string(n);
            _fonts.push_back(std::make_unique<Font>((kData / Text(look, section, "name")).string(),
                                                    Int(look, section, "size"),
                                                    Int(look, section, "style")));
        }
    }
    Font& operator[](int n) { return *_fonts.at(n); }

private:
    std::vector<std::unique_ptr<Font>> _fonts;
};

// The pixels a text covers when drawn at (0, 0) with the font: its glyphs' bounding box.
Rect InkOf(Font& font, const std::string& text)
{
    SDL_Color white{255, 255, 255, 0};
    SDL_Surface* drawn = TTF_RenderText_Solid(font.GetRawFont(), text.c_str(), white);
    if (drawn == nullptr) {
        return {0, 0, 0, 0};
    }
    SDL_LockSurface(drawn);
    int x0 = drawn->w, y0 = drawn->h, x1 = -1, y1 = -1;
    for (int y = 0; y < drawn->h; ++y) {
        const Uint8* row = static_cast<const Uint8*>(drawn->pixels) + y * drawn->pitch;
        for (int x = 0; x < drawn->w; ++x) {
            if (row[x] != 0) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    SDL_UnlockSurface(drawn);
    SDL_FreeSurface(drawn);
    return x1 < 0 ? Rect{0, 0, 0, 0} : Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// Where a label of the look file puts the ink of a text: the text sprite is at least "size"
// wide and places its text by "justify" as the game's text sprites do (centred, or
// right-aligned one shadow pixel in from its right edge).
Rect LabelInk(ConfigFile& look, LookFonts& fonts, const std::string& section,
              const std::string& text)
{
    Font& font = fonts[Int(look, section, "font")];
    const Point pos = look.ValueAsPoint(section, "pos", Point(0, 0));
    const int textW = font.TextDim(text).GetW();
    const int boxW = std::max({textW, Int(look, section, "size"), 1});
    int offset = 0;
    switch (Int(look, section, "justify")) {
    case 2:
        offset = (boxW - textW) / 2;
        break;
    case 3:
        offset = boxW - 1 - textW;
        break;
    default:
        break;
    }
    const Rect ink = InkOf(font, text);
    return {pos.GetX() + offset + ink.x, pos.GetY() + ink.y, ink.w, ink.h};
}

// Caption ink in a bar picture: the light captions on the dark lacquer, above the gold lines
// of the bar's lower edge.
constexpr int kInkRows = 68;
bool Ink(const Picture& bar, int x, int y)
{
    if (x < 0 || y < 0 || x >= bar.W() || y >= std::min(bar.H(), kInkRows)) {
        return false;
    }
    Uint8 r = 0, g = 0, b = 0;
    bar.At(x, y, r, g, b);
    return r + g + b > 400;
}

int InkIn(const Picture& bar, const Rect& area)
{
    int count = 0;
    for (int y = area.y; y < area.y + area.h; ++y) {
        for (int x = area.x; x < area.x + area.w; ++x) {
            count += Ink(bar, x, y) ? 1 : 0;
        }
    }
    return count;
}

// The numbers each kind of game shows in its top bar, each with its widest text: scores to
// 99,999 a board (the quest's total to 999,999), two-digit minutes, the hint prompt where no
// pair has been counted. A captioned label starts a number; the others continue it (the
// separator and seconds of a time).
struct Shown
{
    const char* section;
    const char* widest;
    bool captioned;
};
std::vector<Shown> ShownNumbers(int type)
{
    switch (type) {
    case 1:
        return {{"ScoreTime1", "99", true},    {"ScoreText", ":", false},
                {"ScoreTime2", "59", false},   {"ScoreTime3", "99", true},
                {"ScoreTotText", ":", false},  {"ScoreTime4", "59", false},
                {"MatchesLeft", "Hint?", true}};
    case 2:
        return {{"ScoreText", "99,999", true},
                {"MatchesLeft", "Use Hint", true},
                {"ScoreTotText", "999,999", true},
                {"LivesText", "99", true}};
    default:
        return {{"ScoreText", "99,999", true},
                {"MatchesLeft", "Hint?", true},
                {"ScoreTotText", "99,999", true}};
    }
}

class ScreenLayoutData : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ConfigFile::TurnEncryption(false);
        ASSERT_EQ(TTF_Init(), 0);
    }
    void TearDown() override { TTF_Quit(); }
};

} // namespace

// Each number of the heads-up display has its caption in the bar's picture right before it on
// its row, and at its widest it stays on the bar, clear of every caption, of the titles' boxes,
// of the clock and of the other numbers.
TEST_F(ScreenLayoutData, HudNumbersStandBesideTheirCaptionsAtTheirWidest)
{
    for (const Look& look : kLooks) {
        auto cfg = Open(look.file);
        LookFonts fonts(*cfg);
        const Picture bar(Text(*cfg, "top", "img"));
        ASSERT_TRUE(bar.Loaded()) << look.file;
        // What the numbers must keep clear of besides each other: the titles' boxes and the
        // clock (in the quest also its smoke).
        std::vector<std::pair<std::string, Rect>> taken;
        for (const char* title : {"TitleText", "TitleText2"}) {
            if (std::string(title) == "TitleText2" && look.type != 1) {
                continue;
            }
            // The box across the title's width, on the rows its letters can reach.
            const Point pos = cfg->ValueAsPoint(title, "pos", Point(0, 0));
            const Rect rows = InkOf(fonts[Int(*cfg, title, "font")], "Hg(y)");
            const Rect box{pos.GetX(), pos.GetY() + rows.y, Int(*cfg, title, "size"), rows.h};
            EXPECT_EQ(InkIn(bar, box), 0)
                << look.file << " " << title << " box " << box.Text() << " holds caption ink";
            taken.emplace_back(title, box);
        }
        const Picture fuse(Text(*cfg, "timer", "timer"));
        ASSERT_TRUE(fuse.Loaded()) << look.file;
        const Point fusePos = cfg->ValueAsPoint("timer", "pos", Point(0, 0));
        const Rect clock{fusePos.GetX(), fusePos.GetY(), fuse.W(), fuse.H()};
        EXPECT_EQ(InkIn(bar, clock), 0) << look.file << ": caption ink under the clock";
        taken.emplace_back("timer", clock);
        if (look.type == 2) {
            const Point smoke = cfg->ValueAsPoint("timer", "smokePos", Point(0, 0));
            const Picture strip(Text(*cfg, "timer", "smoke"));
            ASSERT_TRUE(strip.Loaded());
            const int frameW = strip.W() / std::max(Int(*cfg, "timer", "smokeFrames"), 1);
            taken.emplace_back("smoke", Rect{smoke.GetX(), smoke.GetY(), frameW, strip.H()});
        }

        for (const Shown& shown : ShownNumbers(look.type)) {
            const Rect text = LabelInk(*cfg, fonts, shown.section, shown.widest);
            const std::string where = std::string(look.file) + " " + shown.section + " \"" +
                                      shown.widest + "\" at " + text.Text();
            EXPECT_TRUE(text.x >= 0 && text.y >= 0 && text.x + text.w <= bar.W() &&
                        text.y + text.h <= bar.H())
                << where << " runs off the top bar";
            EXPECT_EQ(InkIn(bar, text), 0) << where << " is written over a caption";
            if (shown.captioned) {
                // The caption ends just before the number, on the rows of its digits.
                const Rect before{text.x - 12, text.y, 12, text.h};
                EXPECT_GT(InkIn(bar, before), 0) << where << " has no caption right before it";
            }
            for (const auto& [name, other] : taken) {
                EXPECT_FALSE(text.Overlaps(other))
                    << where << " overlaps " << name << " at " << other.Text();
            }
            taken.emplace_back(shown.section, text);
        }
    }
}

// The boards' chooser paints the top bar's picture behind its mode tiles: every caption pixel
// lies under a tile's opaque face in its plain and its chosen look, so no fragment of a
// caption shows between or around them. (The quest has no mode tiles and keeps its bar.)
TEST_F(ScreenLayoutData, CaptionsHideUnderTheChoosersModeTiles)
{
    const Picture modes("images/Modes.png");
    ASSERT_TRUE(modes.Loaded());
    const int frameW = modes.W() / 6;
    const int frameH = modes.H() / 4;
    Uint8 kr = 0, kg = 0, kb = 0;
    modes.At(0, 0, kr, kg, kb);
    const auto covered = [&](int x, int y) {
        for (int n = 0; n < 6; ++n) {
            const int fx = x - (kModeTileX + kModeTilePitch * n);
            const int fy = y - kModeTileY;
            if (fx < 0 || fy < 0 || fx >= frameW || fy >= frameH) {
                continue;
            }
            bool opaque = true;
            for (int row : {0, 2}) {
                Uint8 r = 0, g = 0, b = 0;
                modes.At(n * frameW + fx, row * frameH + fy, r, g, b);
                opaque = opaque && !(r == kr && g == kg && b == kb);
            }
            return opaque;
        }
        return false;
    };
    for (const Look& look : kLooks) {
        if (look.type == 2) {
            continue;
        }
        auto cfg = Open(look.file);
        const Picture bar(Text(*cfg, "top", "img"));
        ASSERT_TRUE(bar.Loaded()) << look.file;
        int ink = 0;
        std::vector<std::string> shown;
        for (int y = 0; y < bar.H(); ++y) {
            for (int x = 0; x < bar.W(); ++x) {
                if (!Ink(bar, x, y)) {
                    continue;
                }
                ++ink;
                if (!covered(x, y) && shown.size() < 8) {
                    shown.push_back(std::to_string(x) + "," + std::to_string(y));
                }
            }
        }
        EXPECT_GT(ink, 0) << look.file << ": no captions in the top bar";
        EXPECT_TRUE(shown.empty()) << look.file << ": caption pixels the mode tiles leave bare, "
                                   << "among them " << ::testing::PrintToString(shown);
    }
}

// Every mode tile carries its mode's name beside its picture (the lantern too), and the help
// of every mode, the lantern's included, fits between the cells either side of the chooser's
// middle, measured with the fonts its lines are drawn in. The chooser draws a title and four
// lines.
TEST_F(ScreenLayoutData, ModeTilesAreNamedAndTheirHelpFitsTheChoosersMiddle)
{
    const Picture modes("images/Modes.png");
    ASSERT_TRUE(modes.Loaded());
    const int frameW = modes.W() / 6;
    for (int n = 0; n < 6; ++n) {
        int light = 0;
        for (int y = 14; y < 34; ++y) {
            for (int x = n * frameW + 50; x < n * frameW + 114; ++x) {
                Uint8 r = 0, g = 0, b = 0;
                modes.At(x, y, r, g, b);
                light += r > 200 && g > 200 && b > 170 ? 1 : 0;
            }
        }
        EXPECT_GE(light, 20) << "mode tile " << n << " has no name beside its picture";
    }

    auto modesFile = Open("cfg/modes.cfg");
    const Picture cell("images/MiniBackground.png");
    ASSERT_TRUE(cell.Loaded());
    const int centre = kModeTextX + kModeTextWidth / 2;
    for (const Look& look : kLooks) {
        if (look.type == 2) {
            continue;
        }
        auto cfg = Open(look.file);
        LookFonts fonts(*cfg);
        auto set = Open("cfg/puzzles" + std::to_string(Int(*cfg, "game", "puzzles")) + ".cfg");
        const Point pos = set->ValueAsPoint("replay8", "pos", Point(0, 0));
        const Point space = set->ValueAsPoint("replay8", "space", Point(0, 0));
        const int leftEdge = pos.GetX() + cell.W();
        const int rightEdge = pos.GetX() + 2 * space.GetX();
        const int widest =
            std::min({kModeTextWidth, 2 * (centre - leftEdge), 2 * (rightEdge - centre)});
        ASSERT_GT(widest, 100) << look.file;
        Font& titleFont = fonts[Int(*cfg, "HighlightText", "font")];
        Font& textFont = fonts[Int(*cfg, "modetext", "font")];
        for (int mode = -1; mode <= 4; ++mode) {
            const std::string section = "mode" + std::to_string(mode);
            const std::string title = Text(*modesFile, section, "title");
            EXPECT_NE(title.find_first_not_of(' '), std::string::npos) << section << " title";
            EXPECT_NE(Text(*modesFile, section, "text1").find_first_not_of(' '), std::string::npos)
                << section << " has no help";
            EXPECT_LE(titleFont.TextDim(title).GetW(), widest)
                << look.file << " " << section << " title \"" << title << "\"";
            for (int k = 1; k <= 4; ++k) {
                const std::string line = Text(*modesFile, section, "text" + std::to_string(k));
                EXPECT_LE(textFont.TextDim(line).GetW(), widest)
                    << look.file << " " << section << " text" << k << " \"" << line << "\"";
            }
            EXPECT_EQ(Text(*modesFile, section, "text5").find_first_not_of(' '), std::string::npos)
                << section << " text5 is never shown";
        }
    }
    EXPECT_EQ(modesFile->NumErrors(), 0) << "cfg/modes.cfg lacks a key the chooser reads";
}

// The chooser paints its panel from 3 x 3 skin pieces into the screen's background (in the
// quest into the scene picture between the bars) and each cell's picture into the cell's
// frame: every piece and every picture lies inside what it is painted into.
TEST_F(ScreenLayoutData, ChooserPanelsAndCellPicturesFitWhatTheyArePaintedInto)
{
    for (const Look& look : kLooks) {
        auto cfg = Open(look.file);
        const std::string setFile =
            "cfg/puzzles" + std::to_string(Int(*cfg, "game", "puzzles")) + ".cfg";
        auto set = Open(setFile);
        const bool quest = look.type == 2;
        int canvasW = kScreenW;
        int canvasH = kScreenH;
        if (quest) {
            const Picture scene(Text(*cfg, "bg", "img0"));
            ASSERT_TRUE(scene.Loaded()) << look.file;
            canvasW = scene.W();
            canvasH = scene.H();
        }
        // The boards' page of the classic looks, and the movies' or scenes' page of every look.
        std::vector<std::pair<std::string, bool>> pages = {{"replay5", false}};
        if (!quest) {
            pages.emplace_back("replay8", true);
        }
        for (const auto& [page, boards] : pages) {
            const Picture skin(Text(*set, page, "skin"));
            ASSERT_TRUE(skin.Loaded()) << setFile << " " << page;
            const int w = skin.W() / 3;
            const int h = skin.H() / 3;
            const Point start = set->ValueAsPoint(page, "start", Point(0, 0));
            const Point size = set->ValueAsPoint(page, "size", Point(0, 0));
            const int nx = size.GetX() / w;
            const int ny = size.GetY() / h;
            const int x0 = start.GetX() + (size.GetX() % w) / 2;
            int y0 = start.GetY() + (size.GetY() % h) / 2;
            if (quest || !boards) {
                y0 = (kPanelAreaHeight - size.GetY()) / 2 + (quest ? 0 : kTopBarHeight);
            }
            const Rect panel{x0, y0, nx * w, ny * h};
            EXPECT_TRUE(nx > 0 && ny > 0 && x0 >= 0 && y0 >= 0 && x0 + nx * w <= canvasW &&
                        y0 + ny * h <= canvasH)
                << setFile << " " << page << ": the panel " << panel.Text() << " does not fit the "
                << canvasW << "x" << canvasH << " picture it is painted into";
        }
        EXPECT_EQ(set->NumErrors(), 0) << setFile;
    }

    // Cells: every frame and every picture a cell shows (the quest's and the classic looks').
    std::vector<std::string> frames = {"images/MiniBackground.png",
                                       "images/MiniBackgroundBright.png",
                                       "images/MiniBackgroundDark.png"};
    std::vector<std::string> pictures;
    for (const auto& entry : fs::directory_iterator(kData / "images")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("cell", 0) == 0 && entry.path().extension() == ".jpg") {
            pictures.push_back("images/" + name);
        }
    }
    ASSERT_GE(pictures.size(), 5u);
    for (const std::string& frameName : frames) {
        const Picture frame(frameName);
        ASSERT_TRUE(frame.Loaded()) << frameName;
        for (const std::string& name : pictures) {
            const Picture picture(name);
            ASSERT_TRUE(picture.Loaded()) << name;
            EXPECT_TRUE(kPictureInset + picture.W() <= frame.W() &&
                        kPictureInset + picture.H() <= frame.H())
                << name << " (" << picture.W() << "x" << picture.H() << " at " << kPictureInset
                << "," << kPictureInset << ") does not fit " << frameName << " (" << frame.W()
                << "x" << frame.H() << ")";
        }
    }
}
