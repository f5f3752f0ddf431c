#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/Control.h"

#include <string>

// An image button of a dialog description ("type" "button"): "img" (four looks side by side:
// normal, highlighted, held, disabled), "exitcode" (the value it closes the dialog with; 0 keeps
// the dialog open), "enabled", "enter" and "esc" (the button answers the Return or Escape key),
// "immediateaction" and "sound".
class FRAMEWORK_API ControlButton : public Control
{
public:
    ControlButton();

    // The common keys and the button's own. True with an image.
    bool Load(ConfigFile* file, const std::string& section) override;
    ~ControlButton() override;

    // With the control's id and exit code.
    void AddTo(CastMemberDialog* dialog) override;
    // One look of the image; 0 without an image.
    int GetH() override;
    int GetW() override;

    // Stores id and adds the button, binding the Return and Escape keys to it as its flags say.
    // Without an image nothing is added.
    virtual void AddTo(CastMemberDialog* dialog, int id, int exitCode);

    bool IsEnterItem() const { return _enter; }
    bool IsEscItem() const { return _esc; }
    int GetExitCode() const { return _exitCode; }
    Image* GetImage() const { return _image; }
    bool GetImmediateAction() const { return _immediateAction; }
    const std::string& GetSound() const { return _sound; }

private:
    bool _enter = false;
    bool _esc = false;
    int _exitCode = 1;
    Image* _image = nullptr; // owned
    bool _immediateAction = true;
    std::string _sound;
};
