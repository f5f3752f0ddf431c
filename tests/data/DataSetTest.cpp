// The game's data folder as the program sees it: every file a configuration names exists with
// its exact case, and the skin's sheets divide into their frames with the colour key at (0,0).
#include "SDL.h"
#include "SDL_image.h"
#include "framework/core/ConfigFile.h"

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
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
