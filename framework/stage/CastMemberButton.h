#pragma once

#include "framework/core/Export.h"
#include "framework/stage/CastMemberImage.h"

#include <string>

class ButtonListener;
class Cast;
class Image;
class ImageResource;
class Receiver;

// A clickable image sprite whose sheet holds its four looks in row 0: 0 normal, 1 highlighted
// (entered or pressed), 2 held (the pointer over it), 3 disabled. It follows the pointer, can be
// disabled, blinks between looks 1 and 0, and reports a completed click as
// ButtonClicked(id, button) with its id.
//
// Ownership: a button made on an ImageResource takes that sheet over: its image deletes the sheet
// when the button is destroyed.
class FRAMEWORK_API CastMemberButton final : public CastMemberImage
{
public:
    // Shows its own copy of image.
    CastMemberButton(Cast* cast, Image* image, int id, int x, int y, int priority);
    // Shows the named image asset.
    CastMemberButton(Cast* cast, const std::string& name, int id, int x, int y, int priority);
    CastMemberButton(Cast* cast, int id, int x, int y, int priority, ImageResource* resource);
    ~CastMemberButton() override;

    // Blink steps: 1 start, 2 lit (look 1), 3 dark (the resting look), then 2 again or the end.
    void DoBlinkState(int state) override;
    int GetClassMemberType() override;
    void OnMouseEnter(int x, int y) override;
    void OnMouseExit(int x, int y) override;
    void OnMouseDown(int x, int y, int button) override;
    void OnMouseUp(int x, int y, int button) override;
    void OnMouseOver(int x, int y, bool over) override;
    // Reports to the listener while enabled; always false.
    bool Clicked(Receiver* receiver, int button) override;
    // Both halves of a blink last onTime ms; -1 times blinks until StopBlinking.
    void Blink(int times, int onTime) override;
    void Blink(int times) override;
    void Blink() override;
    // Stores the listener only; the button takes input and clicks from the start. Not owned.
    void SetButtonListener(ButtonListener* listener) override;

    virtual bool GetEnabled();
    // Shows look 0 (enabled) or 3 (disabled), also when the value does not change.
    virtual void SetEnabled(bool enabled);

    // Whether the last OnMouseOver found the pointer over the button.
    bool GetPressedOver() const { return _pressedOver; }

private:
    void Init();
    // Look 0, or 3 while disabled.
    int RestingLook() const { return _enabled ? 0 : 3; }

    ButtonListener* _buttonListener = nullptr; // not owned
    bool _enabled = true;
    bool _pressedOver = false;
    ImageResource* _imageResource = nullptr; // handed to the image, which deletes it
};
