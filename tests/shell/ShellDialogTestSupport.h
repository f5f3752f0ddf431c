#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Rectangle.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LogListener.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class AnimationManager;
class Cast;
class CastMemberDialog;
class ConfigFile;
class DialogItem;
class Framework;

// Shared by the shell dialog tests: the game's data folder as the build makes it (the skin, the
// dialog descriptions, the pictures, fonts and sounds) copied into the scratch folder, a framework
// whose theme is that skin, and a headless screen whose frame loop runs on a fake clock.
namespace shelldialogtest {

class ShellDialogFixture : public ::testing::Test
{
protected:
    ShellDialogFixture();
    ~ShellDialogFixture() override;

    void SetUp() override;
    void TearDown() override;

    // A description of this text with the skin as its parent; owned by the fixture.
    ConfigFile* Description(const std::string& text);
    // Frames every 10 ms from now up to and including t.
    void RunTo(unsigned int t);
    void Frame();
    // A click through the stage, past the stage's guard after a dialog attached.
    void Click(int x, int y);
    void ClickItem(CastMemberDialog* dialog, DialogItem* item);
    // A key through the stage, as the frame loop passes it.
    bool Key(SDLKey key, unsigned short unicode);
    // Types the text one key at a time (letters, digits, blanks and punctuation).
    void Type(const std::string& text);
    // Whether the listener heard a report that begins with prefix ("user clicked 6 1").
    bool Heard(const std::string& prefix) const;
    // Whether some pixel of the screen area has exactly that colour.
    bool AreaHasColour(const Rectangle& area, const Color& colour);
    // The screen area of an item of a dialog.
    Rectangle ItemArea(CastMemberDialog* dialog, DialogItem* item);
    // The screen area that an item painted last (texts have no frame of their own).
    Rectangle PaintedArea(CastMemberDialog* dialog, DialogItem* item);

    testsupport::FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<Framework> app;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;
    testsupport::Log log;
    testsupport::LogListener listener{&log};

private:
    std::vector<std::unique_ptr<ConfigFile>> _descriptions;
};

} // namespace shelldialogtest
