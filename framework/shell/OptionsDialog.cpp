#include "framework/shell/OptionsDialog.h"

#include "framework/core/ConfigFileGame.h"
#include "framework/core/Debug.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/ControlBackground.h"
#include "framework/dialogs/ControlLabel.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Channel.h"
#include "framework/media/Music.h"
#include "framework/media/Sound.h"
#include "framework/shell/AppScript.h"
#include "framework/shell/ConfigFileHighDetailDialog.h"
#include "framework/shell/ConfigFileOptionsDialog.h"
#include "framework/shell/HighDetailDialog.h"

namespace {

constexpr const char* kSelectSound = "AU_DIALOG_SELECT";
constexpr int kMusicFadeInMs = 500;
constexpr int kMusicFadeOutMs = 1000;
constexpr int kSampleFadeOutMs = 250;
constexpr int kSampleRepeats = 99;
constexpr int kShowFadeMs = 200;

// A label section that loads becomes one of the dialog's labels; one that does not is left out.
std::unique_ptr<ControlLabel> LoadLabel(ConfigFile* description, const char* section,
                                        CastMemberDialog* dialog)
{
    auto label = std::make_unique<ControlLabel>();
    if (description == nullptr || !label->Load(description, section)) {
        return nullptr;
    }
    label->AddTo(dialog);
    return label;
}

} // namespace

int OptionsDialog::VolumeToSlider(int volume)
{
    return static_cast<int>(volume * 0.0078125 * 100);
}

int OptionsDialog::SliderToVolume(int value)
{
    // The factor is the single-precision 1.28, a little below 1.28, so 50 gives 63.
    return static_cast<int>(value * static_cast<double>(1.28f));
}

OptionsDialog::OptionsDialog(Framework* framework, AppScript* script, ConfigFileGame* settings,
                             ConfigFileOptionsDialog* description,
                             ConfigFileHighDetailDialog* highDetail, Cast* cast, int id,
                             DialogAttributes* attributes, DialogListener* listener)
    : CastMemberDialogResizable(description, cast, id, attributes, listener),
      _description(description), _framework(framework), _script(script), _settings(settings),
      _highDetail(highDetail)
{
    SetName("OptionsDialog");
    UseTransparentBackground();
    if (_description == nullptr) {
        return;
    }
    const int musicVolume = _settings != nullptr ? _settings->musicvol : 0;
    const int soundsVolume = _settings != nullptr ? _settings->soundsvol : 0;
    _description->_okButton.AddTo(this, kOkId, kOkId);
    _description->_musicSlider.AddTo(this, kMusicSliderId, VolumeToSlider(musicVolume));
    _description->_soundsSlider.AddTo(this, kSoundsSliderId, VolumeToSlider(soundsVolume));
    _optionsLabel = LoadLabel(_description, "optionslabel", this);
    _musicLabel = LoadLabel(_description, "musiclabel", this);
    _soundsLabel = LoadLabel(_description, "soundslabel", this);
    if (_description->_highDetailUse != 0) {
        const bool highDetail = _framework != nullptr && _framework->GetHighDetail();
        _description->_highDetail.AddTo(this, kHighDetailId, highDetail, true);
        // Read with the description; without its picture there is no button to offer.
        if (_description->_moreInfo.GetImage() != nullptr) {
            _description->_moreInfo.AddTo(this, kMoreInfoId, 0);
        }
    }
    const bool fullScreen = _settings != nullptr && _settings->fullscreen;
    _description->_fullScreen.AddTo(this, kFullScreenId, fullScreen, true);
}

OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::Init(ConfigFile* description, const std::string& section)
{
    CastMemberDialogResizable::Init(description, section);
    if (DialogItem* version = GetItemByID(kVersionId)) {
        version->SetText("ver " + Debug::GetProductVersion());
    }
}

void OptionsDialog::DialogItemSet(int /*dialogId*/, int itemId, int value, bool state)
{
    // Check boxes report their state in the flag; sliders their value.
    switch (itemId) {
    case kFullScreenId:
        // The mode itself changes on OK.
        if (GetAnimationManager() != nullptr) {
            _changed = true;
            if (_settings != nullptr) {
                _settings->SetFullScreen(state, false);
            }
        }
        break;
    case kHighDetailId:
        if (_framework != nullptr) {
            _framework->SetHighDetail(state);
        }
        _changed = true;
        if (_settings != nullptr) {
            _settings->SetHighDetail(state, false);
        }
        break;
    case kSoundsSliderId:
    case kMusicSliderId: {
        const bool music = itemId == kMusicSliderId;
        const int volume = SliderToVolume(value);
        if (_framework != nullptr) {
            music ? _framework->SetVolumeMusic(volume) : _framework->SetVolumeSounds(volume);
        }
        _changed = true;
        if (_settings != nullptr) {
            music ? _settings->SetMusicVolume(volume, false)
                  : _settings->SetSoundsVolume(volume, false);
        }
        break;
    }
    default:
        break;
    }
}

void OptionsDialog::DialogButtonClicked(int dialogId, int itemId, int /*how*/)
{
    Sound::Play(kSelectSound, 0);

    // A button or key may close the dialog in the middle of a drag: end both previews, then
    // give the press back to whatever held it.
    DialogItem* pressed = GetPressedItem();
    if (_description != nullptr) {
        for (ControlSlider* slider : {&_description->_soundsSlider, &_description->_musicSlider}) {
            if (DialogItem* item = slider->GetItem()) {
                SetPressedItem(item);
                SliderStop();
            }
        }
    }
    SetPressedItem(pressed);

    if (dialogId != GetID()) {
        return;
    }
    if (itemId == kOkId) {
        if (_changed) {
            _changed = false;
            if (_settings != nullptr) {
                _settings->Flush();
            }
            if (_script != nullptr && _settings != nullptr) {
                _script->SetFullScreen(_settings->fullscreen);
            }
        }
    } else if (itemId == kMoreInfoId && _script != nullptr) {
        delete _script->GetHighDetailDialog();
        auto* notice =
            new HighDetailDialog(_highDetail, Stage(), HighDetailDialog::kDialogId, nullptr, this);
        _script->SetHighDetailDialog(notice);
        notice->SetListener(this);
        notice->Init(_highDetail, "dialog");
        ControlBackground* background = notice->GetBackgroundControl();
        const int x = background != nullptr ? background->GetPosition().GetX() : -1;
        const int y = background != nullptr ? background->GetPosition().GetY() : -1;
        notice->Show(0, 0, x, y, true, kShowFadeMs);
    }
}

void OptionsDialog::SliderStart()
{
    DialogItem* slider = GetPressedItem();
    if (slider == nullptr || _description == nullptr || _script == nullptr) {
        return;
    }
    if (slider == _description->_musicSlider.GetItem()) {
        Music* music = _script->GetMenuMusic();
        if (music != nullptr && !Music::IsPlaying()) {
            _musicPreview = true;
            Music::FadeIn(music, kMusicFadeInMs, -1, 0.0);
        }
    } else if (slider == _description->_soundsSlider.GetItem()) {
        Sound* sample = _script->GetMenuSound();
        Channel* channel = Channel::GetChannel(-1);
        if (sample != nullptr && !channel->IsNull()) {
            _sampleChannel = channel;
            _sampleChannel->Play(sample, kSampleRepeats, -1);
        }
    }
}

void OptionsDialog::SliderStop()
{
    DialogItem* slider = GetPressedItem();
    if (slider == nullptr || _description == nullptr) {
        return;
    }
    if (slider == _description->_musicSlider.GetItem()) {
        if (_musicPreview) {
            _musicPreview = false;
            Music::FadeOut(kMusicFadeOutMs);
        }
    } else if (slider == _description->_soundsSlider.GetItem()) {
        if (_sampleChannel != nullptr) {
            _sampleChannel->FadeOut(kSampleFadeOutMs);
            _sampleChannel = nullptr;
        }
    }
}
