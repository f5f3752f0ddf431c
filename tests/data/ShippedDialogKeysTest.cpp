// The Escape key on the dialogs the data folder ships: a dialog with a Cancel, No or Done button
// closes with it on Escape, and a dialog whose closing button is OK alone closes with OK.
#include "SDL.h"
#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Font.h"
#include "framework/media/Image.h"
#include "framework/shell/MenuDialog.h"
#include "framework/stage/Cast.h"
#include "tests/dialogs/DialogTestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kData = GAME_DATA_DIR;

// The pictures that say what a button does.
const std::set<std::string> kClosePictures = {"cancelbutton.png", "nobutton.png", "donebutton.png"};
const std::set<std::string> kOkPictures = {"okbutton.png", "yesbutton.png"};
// Descriptions holding one dialog per section that names "controls"; every other description
// with controls is one of the shell's dialogs, whose buttons are the file's button sections.
const std::set<std::string> kSectionedFiles = {"cfg/popup.cfg", "cfg/radio.cfg",
                                               "cfg/menudialog.cfg", "cfg/menu.cfg"};

struct Button
{
    std::string section;
    std::string picture; // the file name alone
    bool esc = false;
};

std::string Text(ConfigFile& cfg, const std::string& section, const char* key)
{
    return cfg.Value(section, key, "", true);
}

Button ReadButton(ConfigFile& cfg, const std::string& section)
{
    Button b;
    b.section = section;
    b.picture = fs::path(Text(cfg, section, "img")).filename().string();
    b.esc = ConfigFile::AsInt(cfg.Value(section, "esc", 0.0, true)) != 0;
    return b;
}

bool IsButton(ConfigFile& cfg, const std::string& section)
{
    return Text(cfg, section, "type") == "button" ||
           kClosePictures.count(fs::path(Text(cfg, section, "img")).filename().string()) != 0;
}

// Each dialog of a description, named "file [section]", with its buttons.
std::map<std::string, std::vector<Button>> Dialogs(ConfigFile& cfg, const std::string& rel)
{
    std::map<std::string, std::vector<Button>> out;
    const std::vector<std::string> listed = cfg.GetSectionsThatStartWith("");
    const std::set<std::string> sections(listed.begin(), listed.end());
    if (kSectionedFiles.count(rel) == 0) {
        std::vector<Button>& buttons = out[rel];
        for (const std::string& section : sections) {
            if (IsButton(cfg, section)) {
                buttons.push_back(ReadButton(cfg, section));
            }
        }
        return out;
    }
    for (const std::string& section : sections) {
        const std::string controls = Text(cfg, section, "controls");
        if (controls.empty()) {
            continue;
        }
        std::vector<Button>& buttons = out[rel + " [" + section + "]"];
        for (const std::string& entry : cfg.GetKeysInSection(controls)) {
            const std::string control = Text(cfg, controls, entry.c_str());
            if (IsButton(cfg, control)) {
                buttons.push_back(ReadButton(cfg, control));
            }
        }
    }
    return out;
}

// The descriptions under cfg/ that describe dialogs.
std::vector<std::string> DialogFiles()
{
    std::vector<std::string> out;
    for (const auto& entry : fs::directory_iterator(kData / "cfg")) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".cfg" || name == "skin.cfg") {
            continue;
        }
        ConfigFile cfg(entry.path().string(), false, true, false);
        for (const std::string& section : cfg.GetSectionsThatStartWith("")) {
            if (!Text(cfg, section, "controls").empty()) {
                out.push_back("cfg/" + name);
                break;
            }
        }
    }
    return out;
}

class ShippedDialogKeysTest : public ::testing::Test
{
protected:
    void SetUp() override { ConfigFile::TurnEncryption(false); }
};

} // namespace

TEST_F(ShippedDialogKeysTest, EveryDialogNamesItsCloseOrItsOnlyOkButtonForEscape)
{
    ConfigFile skin((kData / "cfg/skin.cfg").string(), false, true, false);
    std::set<std::string> seen;
    for (const std::string& rel : DialogFiles()) {
        ConfigFile cfg((kData / rel).string(), &skin, false, true, false);
        for (const auto& [dialog, buttons] : Dialogs(cfg, rel)) {
            seen.insert(dialog);
            std::vector<const Button*> closers, oks, escapes;
            for (const Button& b : buttons) {
                if (kClosePictures.count(b.picture) != 0) {
                    closers.push_back(&b);
                } else if (kOkPictures.count(b.picture) != 0) {
                    oks.push_back(&b);
                }
                if (b.esc) {
                    escapes.push_back(&b);
                }
            }
            if (closers.empty() && oks.empty()) {
                continue; // the in-game menu: its Resume button is named in the code
            }
            EXPECT_EQ(escapes.size(), 1u)
                << dialog << " names " << escapes.size() << " buttons for Escape";
            if (escapes.empty()) {
                continue;
            }
            const std::set<std::string>& expected = closers.empty() ? kOkPictures : kClosePictures;
            EXPECT_EQ(expected.count(escapes[0]->picture), 1u)
                << dialog << ": Escape is [" << escapes[0]->section << "] (" << escapes[0]->picture
                << ")";
        }
    }
    // The scan found the dialogs a player meets.
    for (const char* dialog :
         {"cfg/doptions.cfg", "cfg/dentername.cfg", "cfg/ddelname.cfg", "cfg/drulesclassic.cfg",
          "cfg/popup.cfg [paused]", "cfg/popup.cfg [mainmenuprompt]", "cfg/popup.cfg [welcome]",
          "cfg/radio.cfg [nzvnomoves]", "cfg/menu.cfg [updatedialog]"}) {
        EXPECT_EQ(seen.count(dialog), 1u) << dialog;
    }
}

namespace {

// The shipped popups and the no-moves choice on a headless stage, with the data folder's
// pictures and fonts under the scratch folder.
class ShippedDialogEscapeTest : public dialogtest::DialogFixture
{
protected:
    void SetUp() override
    {
        ConfigFile::TurnEncryption(false);
        for (const char* folder : {"cfg", "images", "fonts"}) {
            fs::create_directory_symlink(kData / folder, folder);
        }
        skin = std::make_unique<ConfigFile>("cfg/skin.cfg", false, true, false);
        popups = std::make_unique<ConfigFile>("cfg/popup.cfg", skin.get(), false, true, false);
        radio = std::make_unique<ConfigFile>("cfg/radio.cfg", skin.get(), false, true, false);
        DialogFixture::SetUp();
    }

    void TearDown() override
    {
        shown.clear();
        DialogFixture::TearDown();
    }

    // Shows the dialog, waits until it takes keys, presses Escape and keeps the first report.
    void ShowAndEscape(CastMemberDialogResizable* dialog, ConfigFile* cfg,
                       const std::string& section)
    {
        dialog->Init(cfg, section);
        dialog->Show(0, 0, -1, -1, false, 0);
        for (int frame = 0; frame < 200 && (dialog->Fading() || cast->GetDialog() != dialog);
             ++frame) {
            FrameAt(clock.Now() + 10);
        }
        ASSERT_EQ(cast->GetDialog(), dialog) << section;
        log.clear();
        Key(SDLK_ESCAPE, 27);
        answer = log.empty() ? "none" : log.front();
        // A dialog that did not close is taken off, so the next one can be shown.
        cast->DetachDialog(dialog);
        for (int frame = 0; frame < 200 && cast->GetDialog() != nullptr; ++frame) {
            FrameAt(clock.Now() + 10);
        }
    }

    std::unique_ptr<ConfigFile> skin;
    std::unique_ptr<ConfigFile> popups;
    std::unique_ptr<ConfigFile> radio;
    std::vector<std::unique_ptr<CastMemberDialog>> shown;
    std::string answer;
};

} // namespace

TEST_F(ShippedDialogEscapeTest, EscapeAnswersNoOnAPromptAndOkOnANote)
{
    const struct
    {
        const char* section;
        int answer;
    } cases[] = {{"mainmenuprompt", 2},
                 {"restartconfirmation", 2},
                 {"paused", 1},
                 {"welcome", 1},
                 {"BricksBlock", 1}};
    for (const auto& c : cases) {
        auto popup =
            std::make_unique<CastMemberDialogResizable>(popups.get(), cast, 200, nullptr, &user);
        ShowAndEscape(popup.get(), popups.get(), c.section);
        shown.push_back(std::move(popup));
        EXPECT_EQ(answer, "user clicked 200 " + std::to_string(c.answer) + " 1") << c.section;
    }

    auto choice = std::make_unique<MenuDialog>(radio.get(), cast, 201, &user);
    ShowAndEscape(choice.get(), radio.get(), "nzvnomoves");
    shown.push_back(std::move(choice));
    EXPECT_EQ(answer, "user clicked 201 107 1") << "the choice is confirmed";
}
