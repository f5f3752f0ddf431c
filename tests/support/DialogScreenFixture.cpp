#include "tests/support/DialogScreenFixture.h"

#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

DialogScreenFixture::DialogScreenFixture() = default;

DialogScreenFixture::~DialogScreenFixture() = default;

void DialogScreenFixture::StartScreen()
{
    // The framework starts SDL and gives the descriptions their parent, "cfg/skin.cfg".
    app = std::make_unique<Framework>();
    ASSERT_EQ(TTF_Init(), 0);
    screen =
        SDL_SetVideoMode(AnimationManager::kScreenWidth, AnimationManager::kScreenHeight, 32, 0);
    ASSERT_NE(screen, nullptr);
    Canvas::SetDefaultPixelFormat(screen->format);
    manager = std::make_unique<AnimationManager>(nullptr, screen, false);
    cast = manager->GetCast();
    manager->DoIt();
}

void DialogScreenFixture::TearDown()
{
    _descriptions.clear();
    manager.reset();
    Canvas::SetDefaultPixelFormat(nullptr);
    app.reset();
}

ConfigFile* DialogScreenFixture::Description(const std::string& text)
{
    // Names never repeat within a process: a file read before has left its scrambled twin.
    static int fileCount = 0;
    const std::string name = "description" + std::to_string(++fileCount) + ".cfg";
    EXPECT_TRUE(WriteFile(name, text));
    return DescriptionFile(name);
}

ConfigFile* DialogScreenFixture::DescriptionFile(const std::string& name)
{
    _descriptions.push_back(
        std::make_unique<ConfigFile>(name, app->GetThemeConfig(), false, false, false));
    return _descriptions.back().get();
}

} // namespace testsupport
