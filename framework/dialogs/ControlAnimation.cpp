#include "framework/dialogs/ControlAnimation.h"

#include "framework/core/ConfigFile.h"
#include "framework/dialogs/CastMemberDialog.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Image.h"
#include "framework/media/Sound.h"
#include "framework/stage/Cast.h"
#include "framework/stage/GameTime.h"

ControlAnimation::ControlAnimation() : Control(kAnimation) {}

ControlAnimation::~ControlAnimation()
{
    delete _image;
}

bool ControlAnimation::Load(ConfigFile* file, const std::string& section)
{
    Control::Load(file, section);
    if (file == nullptr) {
        return false;
    }
    _image = NewImage(file, _image, section, "img", false, 1, 1);
    _running = _image != nullptr;
    _frames = ConfigFile::AsInt(file->Value(section, "frames", _frames, true));
    _speed = ConfigFile::AsInt(file->Value(section, "speed", _speed, true));
    _sound = static_cast<std::string>(file->Value(section, "sound", _sound, true));
    _loops = ConfigFile::AsInt(file->Value(section, "loops", _loops, true));
    return _image != nullptr;
}

void ControlAnimation::AddTo(CastMemberDialog* dialog)
{
    if (dialog == nullptr) {
        return;
    }
    DialogItem* item =
        dialog->AddImage(_image, _position.GetX(), _position.GetY(), _frames, 0, true);
    if (item == nullptr) {
        ReportRefused(dialog, "no image");
        _running = false;
    }
    SetItem(item);
    if (item == nullptr) {
        return;
    }
    _running = true;
    _loopsAtAdd = _loops;
    _framesAtAdd = _frames;
    _speedAtAdd = _speed;
    _currentFrame = 0;
    unsigned int now = 0;
    Cast* cast = dialog->GetCast();
    AnimationManager* manager = cast != nullptr ? cast->GetAnimationManager() : nullptr;
    if (manager != nullptr && manager->GetGameTime() != nullptr) {
        now = manager->GetGameTime()->Time();
    }
    Reset(static_cast<int>(now));
}

void ControlAnimation::Reset(int time)
{
    _running = true;
    _loopCount = 0;
    _lastStepTime = static_cast<unsigned int>(time);
}

void ControlAnimation::Animate(unsigned int time)
{
    if (_item == nullptr || !_running) {
        return;
    }
    if (time < _lastStepTime + static_cast<unsigned int>(_speed)) {
        return;
    }
    _lastStepTime = time;
    if (_currentFrame == 1 && _sound != kNoSound) {
        Sound::Play(_sound, 0);
    }
    ++_currentFrame;
    if (_currentFrame >= _frames) {
        _currentFrame = 0;
        ++_loopCount;
        if (_loopCount >= _loops) {
            _loopCount = 0;
            _running = false;
        }
    }
    _item->SetFrame(_currentFrame);
}

unsigned int ControlAnimation::MsUntilStep(unsigned int time) const
{
    if (_item == nullptr || !_running) {
        return ~0u;
    }
    const unsigned int due = _lastStepTime + static_cast<unsigned int>(_speed);
    return time >= due ? 0 : due - time;
}

int ControlAnimation::GetH()
{
    return FrameHeight(_image);
}

int ControlAnimation::GetW()
{
    // The image is one strip that the item cuts into frames; one frame is what shows.
    return _frames > 1 ? FrameWidth(_image) / _frames : FrameWidth(_image);
}
