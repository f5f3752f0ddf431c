#include "tests/dialogs/ControlTestSupport.h"

#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
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

    // The framework starts SDL and gives the labels their theme, "cfg/skin.cfg".
    app = std::make_unique<Framework>();
    ASSERT_EQ(TTF_Init(), 0);
    screen =
        SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32, 0);
    ASSERT_NE(screen, nullptr);
    Canvas::SetDefaultPixelFormat(screen->format);
    manager = std::make_unique<AnimationManager>(nullptr, screen, false);
    cast = manager->GetCast();
    FrameAt(clock.Now());
}

void ControlFixture::TearDown()
{
    // Dialogs (with their controls) before the descriptions, the stage and the framework.
    _dialogs.clear();
    _descriptions.clear();
    manager.reset();
    Canvas::SetDefaultPixelFormat(nullptr);
    app.reset();
}

ConfigFile* ControlFixture::Description(const std::string& text)
{
    // Names never repeat within a process: a file read before has left its scrambled twin.
    static int fileCount = 0;
    const std::string name = "description" + std::to_string(++fileCount) + ".cfg";
    EXPECT_TRUE(testsupport::WriteFile(name, text));
    _descriptions.push_back(
        std::make_unique<ConfigFile>(name, app->GetThemeConfig(), false, false, false));
    return _descriptions.back().get();
}

ConfigFile* ControlFixture::FixtureDescription()
{
    _descriptions.push_back(
        std::make_unique<ConfigFile>("controls.cfg", app->GetThemeConfig(), false, false, false));
    return _descriptions.back().get();
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
