// The game's data folder as the program sees it: every file a configuration names exists with
// its exact case, and the skin's sheets divide into their frames with the colour key at (0,0).
#include "SDL.h"
#include "SDL_image.h"
#include "framework/core/ConfigFile.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = GAME_DATA_DIR;

bool NamesAFile(const std::string& value)
{
    static const char* const kEndings[] = {".png", ".jpg", ".gif", ".ttf", ".ogg", ".wav", ".cfg"};
    for (const char* ending : kEndings) {
        const std::string e(ending);
        if (value.size() > e.size() && value.compare(value.size() - e.size(), e.size(), e) == 0) {
            return true;
        }
    }
    return false;
}

std::vector<fs::path> ConfigFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(kData / "cfg")) {
        if (entry.is_regular_file() && entry.path().extension() == ".cfg") {
            files.push_back(entry.path());
        }
    }
    return files;
}

struct Surface
{
    explicit Surface(const fs::path& path) : s(IMG_Load(path.c_str())) {}
    ~Surface() { SDL_FreeSurface(s); }
    SDL_Surface* s;
};

Uint32 PixelAt(SDL_Surface* s, int x, int y)
{
    SDL_LockSurface(s);
    const Uint8* p =
        static_cast<const Uint8*>(s->pixels) + y * s->pitch + x * s->format->BytesPerPixel;
    Uint32 v = 0;
    std::memcpy(&v, p, s->format->BytesPerPixel);
    SDL_UnlockSurface(s);
    return v;
}

Uint32 KeyOf(SDL_Surface* s, int x, int y)
{
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(PixelAt(s, x, y), s->format, &r, &g, &b);
    return (Uint32(r) << 16) | (Uint32(g) << 8) | b;
}

// Near the key colour without being it: an edge blended into the key, which would show as a
// pink fringe once the key is cut out.
bool NearKey(SDL_Surface* s, int x, int y)
{
    Uint8 r = 0, g = 0, b = 0;
    SDL_GetRGB(PixelAt(s, x, y), s->format, &r, &g, &b);
    const int distance = (255 - r) + g + (255 - b);
    return distance > 0 && distance < 200;
}

std::string ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

TEST(DataSet, EveryNamedFileExistsWithItsExactCase)
{
    const auto files = ConfigFiles();
    ASSERT_FALSE(files.empty());
    ConfigFile::TurnEncryption(false);
    for (const fs::path& file : files) {
        ConfigFile cfg(file.string(), false, true, false);
        for (const std::string& section : cfg.GetSectionsThatStartWith("")) {
            for (const std::string& key : cfg.GetKeysInSection(section)) {
                const std::string value(cfg.Value(section, key, std::string(), true));
                if (NamesAFile(value)) {
                    // The folder is on a case-sensitive file system, so existence checks case.
                    EXPECT_TRUE(fs::is_regular_file(kData / value))
                        << file.filename() << " [" << section << "] " << key << "=" << value;
                }
            }
        }
    }
}

TEST(DataSet, SkinSheetsDivideIntoFramesWithTheKeyAtTheCorner)
{
    ConfigFile::TurnEncryption(false);
    ConfigFile skin((kData / "cfg/skin.cfg").string(), false, true, false);

    const Surface tiles(kData / std::string(skin.Value("background", "tileimage", "", true)));
    ASSERT_NE(tiles.s, nullptr);
    const int cols = ConfigFile::AsInt(skin.Value("background", "tilecols", 0.0, true));
    const int rows = ConfigFile::AsInt(skin.Value("background", "tilerows", 0.0, true));
    ASSERT_GT(cols, 0);
    ASSERT_GT(rows, 0);
    EXPECT_EQ(tiles.s->w % cols, 0);
    EXPECT_EQ(tiles.s->h % rows, 0);

    for (const char* button : {"okbutton", "cancelbutton", "yesbutton", "nobutton"}) {
        const Surface sheet(kData / std::string(skin.Value(button, "img", "", true)));
        ASSERT_NE(sheet.s, nullptr) << button;
        EXPECT_EQ(sheet.s->w % 4, 0) << button << ": four looks in a row";
        Uint8 r = 0, g = 0, b = 0;
        SDL_GetRGB(PixelAt(sheet.s, 0, 0), sheet.s->format, &r, &g, &b);
        EXPECT_EQ((int(r) << 16) | (int(g) << 8) | b, 0xFF00FF) << button << ": key colour";
        // The key colour stays in the corners: the middle of each look is opaque face.
        for (int look = 0; look < 4; ++look) {
            SDL_GetRGB(PixelAt(sheet.s, look * sheet.s->w / 4 + sheet.s->w / 8, sheet.s->h / 2),
                       sheet.s->format, &r, &g, &b);
            EXPECT_NE((int(r) << 16) | (int(g) << 8) | b, 0xFF00FF) << button << " look " << look;
        }
    }
}

TEST(DataSet, ShellSheetsDivideIntoTheirDescribedFramesWithCleanKeyedEdges)
{
    ConfigFile::TurnEncryption(false);
    ConfigFile menu((kData / "cfg/menu.cfg").string(), false, true, false);
    ConfigFile splash((kData / "cfg/splash.cfg").string(), false, true, false);
    struct Sheet
    {
        ConfigFile* file;
        std::string section;
        std::string imgKey;
        std::string framesKey; // empty: the fixed count below
        int fixedFrames;
        int w, h; // one frame
        bool keyed;
    };
    const std::vector<Sheet> sheets = {
        {&menu, "background", "img", "", 1, 800, 600, false},
        {&menu, "startbutton1", "img", "", 4, 220, 56, true},
        {&menu, "startbutton2", "img", "", 4, 220, 56, true},
        {&menu, "startbutton3", "img", "", 4, 220, 56, true},
        {&menu, "playerbutton", "img", "", 4, 150, 40, true},
        {&menu, "optionsbutton", "img", "", 4, 150, 40, true},
        {&menu, "rulesbutton", "img", "", 4, 150, 40, true},
        {&menu, "quitbutton", "img", "", 4, 150, 40, true},
        {&menu, "update", "img", "", 4, 150, 40, true},
        {&menu, "animations", "anim1img", "anim1frames", 0, 64, 96, true},
        {&menu, "animations", "anim2img", "anim2frames", 0, 96, 48, true},
        {&splash, "arrowcursor", "img", "frames", 0, 32, 32, true},
        {&splash, "handcursor", "img", "frames", 0, 32, 32, true},
        {&splash, "waitcursor", "img", "frames", 0, 32, 32, true},
    };
    for (const Sheet& sheet : sheets) {
        const std::string what = sheet.section + "/" + sheet.imgKey;
        const std::string file = sheet.file->Value(sheet.section, sheet.imgKey, "", true);
        const Surface image(kData / file);
        ASSERT_NE(image.s, nullptr) << what;
        const int frames =
            sheet.framesKey.empty()
                ? sheet.fixedFrames
                : ConfigFile::AsInt(sheet.file->Value(sheet.section, sheet.framesKey, 0.0, true));
        ASSERT_GT(frames, 0) << what;
        EXPECT_EQ(image.s->w, frames * sheet.w) << what;
        EXPECT_EQ(image.s->h, sheet.h) << what;
        if (!sheet.keyed) {
            continue;
        }
        EXPECT_EQ(KeyOf(image.s, 0, 0), 0xFF00FFu) << what << ": key colour at (0,0)";
        int fringe = 0;
        for (int y = 0; y < image.s->h; ++y) {
            for (int x = 0; x < image.s->w; ++x) {
                fringe += NearKey(image.s, x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(fringe, 0) << what << ": pixels blended into the key";
    }
}

TEST(DataSet, TheMenuShowsItsFixedButtonsAndThreeStartButtons)
{
    ConfigFile::TurnEncryption(false);
    ConfigFile menu((kData / "cfg/menu.cfg").string(), false, true, false);
    // Without an alpha these buttons are invisible.
    for (const char* section :
         {"playerbutton", "optionsbutton", "rulesbutton", "quitbutton", "update"}) {
        EXPECT_EQ(ConfigFile::AsInt(menu.Value(section, "alpha", 0.0, true)), 255) << section;
    }
    EXPECT_EQ(ConfigFile::AsInt(menu.Value("background", "numstartbuttons", 0.0, true)), 3);
    for (const char* section : {"startbutton1", "startbutton2", "startbutton3"}) {
        EXPECT_FALSE(std::string(menu.Value(section, "img", "", true)).empty()) << section;
    }
}

TEST(DataSet, NoValueHasAnEmptyCommaField)
{
    ConfigFile::TurnEncryption(false);
    auto files = ConfigFiles();
    files.push_back(kData / "game.cfg");
    for (const fs::path& file : files) {
        ConfigFile cfg(file.string(), false, true, false);
        for (const std::string& section : cfg.GetSectionsThatStartWith("")) {
            // A dialog's [text] section holds prose, where a comma may end the text
            // ("Welcome," before the player's name).
            if (section == "text") {
                continue;
            }
            for (const std::string& key : cfg.GetKeysInSection(section)) {
                const std::string value(cfg.Value(section, key, std::string(), true));
                if (value.find(',') == std::string::npos) {
                    continue;
                }
                const bool emptyField = value.front() == ',' || value.back() == ',' ||
                                        value.find(",,") != std::string::npos;
                EXPECT_FALSE(emptyField)
                    << file.filename() << " [" << section << "] " << key << "=" << value;
            }
        }
    }
}

TEST(DataSet, EffectsAre22050Hz16BitWavAndMusicIsOggVorbis)
{
    int wavs = 0;
    int oggs = 0;
    for (const auto& entry : fs::directory_iterator(kData / "audio")) {
        const fs::path& path = entry.path();
        if (path.extension() == ".wav") {
            ++wavs;
            SDL_AudioSpec spec{};
            Uint8* buffer = nullptr;
            Uint32 length = 0;
            ASSERT_NE(SDL_LoadWAV(path.c_str(), &spec, &buffer, &length), nullptr) << path;
            EXPECT_EQ(spec.freq, 22050) << path;
            EXPECT_EQ(spec.format, AUDIO_S16LSB) << path;
            EXPECT_GT(length, 0u) << path;
            SDL_FreeWAV(buffer);
        } else if (path.extension() == ".ogg") {
            ++oggs;
            // The first page of an Ogg stream whose first packet is a Vorbis header.
            const std::string bytes = ReadBytes(path);
            ASSERT_GT(bytes.size(), 35u) << path;
            EXPECT_EQ(bytes.compare(0, 4, "OggS"), 0) << path;
            EXPECT_EQ(bytes.compare(28, 7, "\x01vorbis"), 0) << path;
        }
    }
    EXPECT_GT(wavs, 0);
    EXPECT_GT(oggs, 0);
}
