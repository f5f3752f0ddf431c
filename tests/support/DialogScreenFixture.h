#pragma once

#include "SDL.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

class AnimationManager;
class Cast;
class ConfigFile;
class Framework;

namespace testsupport {

// Shared by the dialog fixtures: a framework whose theme is the scratch folder's "cfg/skin.cfg",
// a headless 800 x 600 screen whose frame loop runs on a fake clock, and descriptions written
// from text with that theme as their parent.
class DialogScreenFixture : public ::testing::Test
{
protected:
    DialogScreenFixture();
    ~DialogScreenFixture() override;

    // Starts the framework, SDL_ttf and the screen, and runs one frame. Called at the end of a
    // SetUp, once the skin and what it names are in the scratch folder.
    void StartScreen();
    // Descriptions, the stage and the framework, in that order. A fixture that holds dialogs
    // deletes them first.
    void TearDown() override;

    // A description of this text with the theme as its parent; owned by the fixture.
    ConfigFile* Description(const std::string& text);
    // A description file already in the scratch folder, with the theme as its parent.
    ConfigFile* DescriptionFile(const std::string& name);

    FakeClock clock;
    SDL_Surface* screen = nullptr;
    std::unique_ptr<Framework> app;
    std::unique_ptr<AnimationManager> manager;
    Cast* cast = nullptr;

private:
    std::vector<std::unique_ptr<ConfigFile>> _descriptions;
};

} // namespace testsupport
