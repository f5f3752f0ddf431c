#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class AnimationManager;
class Cast;
class CastMemberDialog;
class ConfigFile;
class Framework;

// Shared by the control tests: the fixture files of tests/fixtures/dialogs copied into the
// scratch folder (the theme as "cfg/skin.cfg", the description "controls.cfg", the images under
// "img/", DejaVu Sans as "fonts/sans.ttf"), a framework whose theme is that skin, and a headless
// screen with its frame loop on a clock moved by hand.
namespace controltest {

// The theme's "controllabel" style (tests/fixtures/dialogs/skin.cfg).
extern const Color kThemeColour;
extern const Color kThemeShadowColour;
constexpr int kThemeShadowDepth = 1;
constexpr int kThemeFontSize = 14;
// Justification is not in the theme: the built-in value.
constexpr int kBuiltInJustification = 2;

class ControlFixture : public ::testing::Test
{
protected:
    ControlFixture();
    ~ControlFixture() override;

    void SetUp() override;
    void TearDown() override;

    // A description file made of text, with the theme as its parent.
    ConfigFile* Description(const std::string& text);
    // The fixture description "controls.cfg", with the theme as its parent.
    ConfigFile* FixtureDescription();
    // A dialog on the stage; deleted by TearDown.
    CastMemberDialog* NewDialog();
    // One frame of the frame loop at tick t.
    void FrameAt(unsigned int t);
    Color ScreenPixel(int x, int y);
    // Lines of the debug log that contain part.
    int LogLines(const std::string& part);

    testsupport::FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<Framework> app;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;

private:
    std::vector<std::unique_ptr<ConfigFile>> _descriptions;
    std::vector<std::unique_ptr<CastMemberDialog>> _dialogs;
};

using testsupport::SameRgb;

} // namespace controltest
