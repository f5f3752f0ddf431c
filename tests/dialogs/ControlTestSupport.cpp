#include "tests/dialogs/ControlTestSupport.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMember.h"
#include "framework/stage/GameTime.h"
#include "tests/media/MediaTestSupport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TestSupport.h"

#include <filesystem>

namespace controltest {

const Color kThemeColour(10, 20, 30);
const Color kThemeShadowColour(90, 90, 90);

ControlFixture::ControlFixture() = default;

ControlFixture::~ControlFixture() = default;

void ControlFixture::SetUp()
{
    namespace fs = std::filesystem;
    const fs::path fixtures = testsupport::FixturePath("dialogs");
    fs::create_directories("cfg");
    fs::create_directories("fonts");
    const auto replace = fs::copy_options::overwrite_existing;
    fs::copy_file(fixtures / "skin.cfg", "cfg/skin.cfg", replace);
    fs::copy_file(fixtures / "controls.cfg", "controls.cfg", replace);
    fs::copy(fixtures / "img", "img", fs::copy_options::recursive | replace);
    fs::copy_file(mediatest::SansFont(), "fonts/sans.ttf", replace);
    // A scrambled twin left by an earlier reading would be read in place of the fresh copy.
    fs::remove("cfg/skin.cfge");
    fs::remove("controls.cfge");

    clock.Set(1000);
    StartScreen();
}

void ControlFixture::TearDown()
{
    // Dialogs (with their controls) before the descriptions, the stage and the framework.
    _dialogs.clear();
    DialogScreenFixture::TearDown();
}

ConfigFile* ControlFixture::FixtureDescription()
{
    return DescriptionFile("controls.cfg");
}

CastMemberDialog* ControlFixture::NewDialog()
{
    _dialogs.push_back(std::make_unique<CastMemberDialog>(cast, 9, nullptr, nullptr));
    return _dialogs.back().get();
}

void ControlFixture::FrameAt(unsigned int t)
{
    clock.Set(t);
    manager->DoIt();
}

Color ControlFixture::ScreenPixel(int x, int y)
{
    return manager->GetPixel(x, y);
}

int ControlFixture::LogLines(const std::string& part)
{
    return testsupport::CountLogLines(part);
}

} // namespace controltest
