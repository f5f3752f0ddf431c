#pragma once

#include "SDL.h"
#include "framework/core/Color.h"
#include "framework/core/Rectangle.h"
#include "tests/support/DialogScreenFixture.h"
#include "tests/support/LogListener.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class CastMemberDialog;
class DialogItem;

// Shared by the shell dialog tests: the game's data folder as the build makes it (the skin, the
// dialog descriptions, the pictures, fonts and sounds) copied into the scratch folder, a framework
// whose theme is that skin, and a headless screen whose frame loop runs on a fake clock.
namespace shelldialogtest {

class ShellDialogFixture : public testsupport::DialogScreenFixture
{
protected:
    ShellDialogFixture();
    ~ShellDialogFixture() override;

    void SetUp() override;

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

    testsupport::Log log;
    testsupport::LogListener listener{&log};
};

} // namespace shelldialogtest
