#include "tests/shell/ShellDialogTestSupport.h"

#include "SDL_ttf.h"
#include "framework/core/ConfigFile.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/stage/Cast.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <filesystem>

namespace shelldialogtest {

ShellDialogFixture::ShellDialogFixture() = default;

ShellDialogFixture::~ShellDialogFixture() = default;

void ShellDialogFixture::SetUp()
{
    namespace fs = std::filesystem;
    const fs::path data = GAME_DATA_DIR;
    const auto options = fs::copy_options::recursive | fs::copy_options::overwrite_existing;
    for (const char* folder : {"cfg", "images", "fonts", "audio"}) {
        if (fs::exists(data / folder)) {
            fs::copy(data / folder, folder, options);
        }
    }
    // The framework starts SDL and gives the descriptions their parent, "cfg/skin.cfg".
    app = std::make_unique<Framework>();
    ASSERT_EQ(TTF_Init(), 0);
    screen = SDL_SetVideoMode(800, 600, 32, 0);
    ASSERT_NE(screen, nullptr);
    Canvas::SetDefaultPixelFormat(screen->format);
    manager = std::make_unique<AnimationManager>(nullptr, screen, false);
    cast = manager->GetCast();
    Frame();
}

void ShellDialogFixture::TearDown()
{
    _descriptions.clear();
    manager.reset();
    Canvas::SetDefaultPixelFormat(nullptr);
    app.reset();
}

ConfigFile* ShellDialogFixture::Description(const std::string& text)
{
    // Names never repeat within a process: a file read before has left its scrambled twin.
    static int fileCount = 0;
    const std::string name = "description" + std::to_string(++fileCount) + ".cfg";
    EXPECT_TRUE(testsupport::WriteFile(name, text));
    _descriptions.push_back(
        std::make_unique<ConfigFile>(name, app->GetThemeConfig(), false, false, false));
    return _descriptions.back().get();
}

void ShellDialogFixture::Frame()
{
    manager->DoIt();
}

void ShellDialogFixture::RunTo(unsigned int t)
{
    while (clock.Now() + 10 < t) {
        clock.Advance(10);
        Frame();
    }
    clock.Set(t);
    Frame();
}

void ShellDialogFixture::Click(int x, int y)
{
    // The stage drops presses for a moment after a dialog attached.
    const unsigned int attached = cast->GetDialogAttachTime();
    if (attached != 0 && clock.Now() < attached + 400) {
        RunTo(attached + 400);
    }
    cast->MouseDown(x, y, 1);
    cast->MouseUp(x, y, 1);
    Frame();
}

Rectangle ShellDialogFixture::ItemArea(CastMemberDialog* dialog, DialogItem* item)
{
    return Rectangle(static_cast<short>(dialog->GetX() + item->GetX()),
                     static_cast<short>(dialog->GetY() + item->GetY()),
                     static_cast<short>(item->GetFrameWidth()),
                     static_cast<short>(item->GetFrameHeight()));
}

Rectangle ShellDialogFixture::PaintedArea(CastMemberDialog* dialog, DialogItem* item)
{
    const Rectangle& painted = item->GetPaintRect();
    return Rectangle(static_cast<short>(dialog->GetX() + painted.GetX()),
                     static_cast<short>(dialog->GetY() + painted.GetY()), painted.GetW(),
                     painted.GetH());
}

void ShellDialogFixture::ClickItem(CastMemberDialog* dialog, DialogItem* item)
{
    const Rectangle area = ItemArea(dialog, item);
    Click(area.GetX() + area.GetW() / 2, area.GetY() + area.GetH() / 2);
}

bool ShellDialogFixture::Key(SDLKey key, unsigned short unicode)
{
    const bool alphaNumeric = manager->AlphaNumeric(key, KMOD_NONE, unicode);
    const bool taken =
        cast->KeyDown(key, KMOD_NONE, manager->TranslateKey(key, KMOD_NONE, unicode), alphaNumeric);
    Frame();
    return taken;
}

void ShellDialogFixture::Type(const std::string& text)
{
    for (char c : text) {
        const unsigned char byte = static_cast<unsigned char>(c);
        const char lower = static_cast<char>(std::tolower(byte));
        Key(static_cast<SDLKey>(lower), byte);
    }
}

bool ShellDialogFixture::Heard(const std::string& prefix) const
{
    return std::any_of(log.begin(), log.end(),
                       [&prefix](const std::string& line) { return line.rfind(prefix, 0) == 0; });
}

bool ShellDialogFixture::AreaHasColour(const Rectangle& area, const Color& colour)
{
    for (int y = area.GetY(); y < area.GetY() + area.GetH(); ++y) {
        for (int x = area.GetX(); x < area.GetX() + area.GetW(); ++x) {
            const Color c = manager->GetPixel(x, y);
            if (c.GetR() == colour.GetR() && c.GetG() == colour.GetG() &&
                c.GetB() == colour.GetB()) {
                return true;
            }
        }
    }
    return false;
}

} // namespace shelldialogtest
