#include "tests/shell/ShellDialogTestSupport.h"

#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
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
    StartScreen();
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
