// The intro animation as the data folder ships it: every file it names exists, its sheets divide
// into their frames, its timing plays 7 seconds, and every command it stores can be run.
#include "SDL.h"
#include "SDL_image.h"
#include "framework/shell/AnimatedAppScript.h"
#include "framework/shell/SpriteRunnerConfigFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kData = GAME_DATA_DIR;

// Read from a copy: the description may be written back, and its scrambled twin is made beside it.
class SplashDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories("cfg");
        fs::copy_file(kData / "cfg/splashanim.cfg", "cfg/splashanim.cfg",
                      fs::copy_options::overwrite_existing);
        description = std::make_unique<SpriteRunnerConfigFile>("cfg/splashanim.cfg");
    }

    std::unique_ptr<SpriteRunnerConfigFile> description;
};

TEST_F(SplashDataTest, PlaysSevenSecondsOnItsBackground)
{
    const SpriteRunnerConfigFile& d = *description;
    EXPECT_EQ((1000 / d._frameMillis) * d._seconds, 70);
    ASSERT_TRUE(fs::exists(kData / d._background)) << d._background;
    SDL_Surface* bg = IMG_Load((kData / d._background).c_str());
    ASSERT_NE(bg, nullptr);
    EXPECT_EQ(bg->w, 800);
    EXPECT_EQ(bg->h, 600);
    SDL_FreeSurface(bg);
    EXPECT_TRUE(fs::exists(kData / d._subtitleFontFile)) << d._subtitleFontFile;
    EXPECT_GT(d._subtitleFontSize, 0);
    EXPECT_EQ(d._anims.size(), static_cast<size_t>(d._num));
}

// Each sheet divides into its frames; sheets loaded with their own alpha channel have one.
TEST_F(SplashDataTest, SheetsDivideIntoTheirFrames)
{
    for (const auto& record : description->_anims) {
        SCOPED_TRACE(record->_image);
        SDL_Surface* sheet = IMG_Load((kData / record->_image).c_str());
        ASSERT_NE(sheet, nullptr) << IMG_GetError();
        EXPECT_EQ(sheet->w % record->_frames, 0);
        if (record->_transparency == 2) {
            EXPECT_NE(sheet->format->Amask, 0u);
        }
        const std::string sequence = record->_sequence;
        if (!sequence.empty()) {
            EXPECT_LT(std::atoi(sequence.c_str()), record->_frames);
        }
        SDL_FreeSurface(sheet);
    }
}

// Every keyframe section names a sprite that exists or a command that needs none, uses a known
// code within the animation's frames, and every file a command names is there.
TEST_F(SplashDataTest, EveryStoredCommandCanRun)
{
    const int frames = (1000 / description->_frameMillis) * description->_seconds;
    const std::set<int> known = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 94, 95, 96, 97, 98};
    int commands = 0;
    for (const std::string& section : description->GetSectionsThatStartWith("frame")) {
        SCOPED_TRACE(section);
        const int frame = std::atoi(section.c_str() + 5);
        const auto dash = section.find('-');
        const int sprite = dash == std::string::npos ? 0 : std::atoi(section.c_str() + dash + 1);
        EXPECT_GE(frame, 1); // frame 0 is never shown
        EXPECT_LT(frame, frames);
        std::set<int> codes;
        for (const std::string& key : description->GetKeysInSection(section)) {
            const int code = ConfigFile::AsInt(description->Value(section, key, "0", false));
            EXPECT_EQ(known.count(code), 1u) << key;
            // A second key with the same code would be dropped when the animation loads.
            EXPECT_TRUE(codes.insert(code).second) << key;
            if (code < AnimatedAppScript::kMusic) {
                EXPECT_LT(sprite, static_cast<int>(description->_anims.size())) << key;
            }
            if (code == AnimatedAppScript::kSound || code == AnimatedAppScript::kBackground) {
                const std::string file = key.substr(0, key.find(','));
                EXPECT_TRUE(fs::exists(kData / file)) << file;
            }
            ++commands;
        }
    }
    EXPECT_GT(commands, 0);
}

TEST(SplashSoundsTest, EffectsAreShortSixteenBitAt22050Hz)
{
    for (const char* name : {"audio/S_Chime.wav", "audio/S_Swoosh.wav"}) {
        SCOPED_TRACE(name);
        SDL_AudioSpec spec;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV((kData / name).c_str(), &spec, &buffer, &length), nullptr);
        EXPECT_EQ(spec.freq, 22050);
        EXPECT_EQ(spec.format, AUDIO_S16LSB);
        const double seconds = static_cast<double>(length) / (2.0 * spec.channels * spec.freq);
        EXPECT_GT(seconds, 0.2);
        EXPECT_LT(seconds, 2.0);
        // Not silent.
        int loudest = 0;
        for (Uint32 i = 0; i + 1 < length; i += 2) {
            const int v = static_cast<Sint16>(buffer[i] | (buffer[i + 1] << 8));
            loudest = std::max(loudest, std::abs(v));
        }
        EXPECT_GT(loudest, 3000);
        SDL_FreeWAV(buffer);
    }
}

} // namespace
