#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

#include <memory>
#include <string>

class AppScript;
class Cast;
class Channel;
class ConfigFile;
class ConfigFileGame;
class ConfigFileHighDetailDialog;
class ConfigFileOptionsDialog;
class ControlLabel;
class DialogAttributes;
class DialogListener;
class Framework;

// The settings dialog: sounds and music volume sliders that play a sample while dragged, the
// full-screen check box, the high-detail check box with its "More" notice (when the description
// offers it), the version text and OK. Every change acts at once through the framework and is
// kept in the settings; OK writes the settings file and switches the screen mode, and only when
// something changed.
//
// Ownership: the three labels are the dialog's; the descriptions, the settings, the script and
// the framework are not. The high-detail notice lives in the script's slot.
class FRAMEWORK_API OptionsDialog : public CastMemberDialogResizable
{
public:
    // Its id when the script opens it.
    static constexpr int kDialogId = 4;
    // Item ids.
    static constexpr int kOkId = CastMemberDialog::kOkId;
    static constexpr int kVersionId = 20;
    static constexpr int kSoundsSliderId = 50;
    static constexpr int kMusicSliderId = 51;
    static constexpr int kHighDetailId = 52;
    static constexpr int kFullScreenId = 53;
    static constexpr int kMoreInfoId = 54;

    // The last five go to the dialog base. None of the pointers is owned.
    OptionsDialog(Framework* framework, AppScript* script, ConfigFileGame* settings,
                  ConfigFileOptionsDialog* description, ConfigFileHighDetailDialog* highDetail,
                  Cast* cast, int id, DialogAttributes* attributes, DialogListener* listener);
    ~OptionsDialog() override;

    // A drag of the music slider with no music playing fades the menu music in; a drag of the
    // sounds slider plays the menu sound on a free channel. Without the menu's music or sound
    // (opened in a game, or without a menu) nothing plays.
    void SliderStart() override;
    // Ends what SliderStart began: the music fades out when the slider started it, the sample
    // fades out over 250 ms.
    void SliderStop() override;
    // The base Init, then item 20 (when there is one) shows "ver " and the product version.
    void Init(ConfigFile* description, const std::string& section) override;
    // Every button: the select sound and the end of any preview. OK: writes the settings and
    // sets the screen mode when something changed. More: the high-detail notice over this one.
    void DialogButtonClicked(int dialogId, int itemId, int how) override;
    // Sliders and check boxes: applied at once and kept in the settings (not yet written).
    void DialogItemSet(int dialogId, int itemId, int value, bool state) override;

    // Volumes run 0..127, sliders 0..100.
    static int VolumeToSlider(int volume);
    static int SliderToVolume(int value);

    // Whether a setting changed since the dialog opened or OK last stored them.
    bool IsChanged() const { return _changed; }
    bool IsMusicPreviewing() const { return _musicPreview; }
    Channel* GetSampleChannel() const { return _sampleChannel; }

private:
    ConfigFileOptionsDialog* _description; // not owned
    bool _changed = false;
    Framework* _framework;                   // not owned
    AppScript* _script;                      // not owned
    ConfigFileGame* _settings;               // not owned
    ConfigFileHighDetailDialog* _highDetail; // not owned
    std::unique_ptr<ControlLabel> _optionsLabel;
    std::unique_ptr<ControlLabel> _musicLabel;
    std::unique_ptr<ControlLabel> _soundsLabel;
    Channel* _sampleChannel = nullptr; // not owned: one of the mixer's channels
    bool _musicPreview = false;
};
