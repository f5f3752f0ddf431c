#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "tests/support/DialogScreenFixture.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class CastMemberDialog;
class ConfigFile;

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

class ControlFixture : public testsupport::DialogScreenFixture
{
protected:
    ControlFixture();
    ~ControlFixture() override;

    void SetUp() override;
    void TearDown() override;

    // The fixture description "controls.cfg", with the theme as its parent.
    ConfigFile* FixtureDescription();
    // A dialog on the stage; deleted by TearDown.
    CastMemberDialog* NewDialog();
    // One frame of the frame loop at tick t.
    void FrameAt(unsigned int t);
    Color ScreenPixel(int x, int y);
    // Lines of the debug log that contain part.
    int LogLines(const std::string& part);

private:
    std::vector<std::unique_ptr<CastMemberDialog>> _dialogs;
};

using testsupport::SameRgb;

} // namespace controltest
