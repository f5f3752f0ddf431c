#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialog.h"

class Cast;
class DialogAttributes;
class DialogItem;
class DialogListener;

// A dialog whose size and background are one image, its back image, instead of the automatic
// layout. Its buttons are described beforehand (InitButton) and become items when it is shown;
// a click on a button is decided by the button's exit code: 1 confirms, 2 cancels, 0 reports the
// click and keeps the dialog open, any other code closes it as it is. Base of the pop-up and the
// resizable dialogs.
//
// The back image is the caller's (SetBackImage or InitBackground) and must be set before Show.
class FRAMEWORK_API CastMemberDialogImage : public CastMemberDialog
{
public:
    CastMemberDialogImage(Cast* cast, int id, DialogAttributes* attributes,
                          DialogListener* listener);
    ~CastMemberDialogImage() override;

    // 7.
    int GetClassMemberType() override;
    // The end of a press on a button: exit code 0 reports DialogButtonClicked(dialog, item,
    // mouse button) and keeps the dialog; another exit code closes the dialog when
    // ProcessDialogClosing allows, then reports the same.
    bool MouseUp(int x, int y, int button) override;
    // By the item's exit code: 1 asks ValidateCloseDialog and on yes commits and reports every
    // check box and radio button that does not report at once; 2 restores them; others close.
    bool ProcessDialogClosing(DialogItem* item, int button) override;
    // Paints the background; a transparent dialog takes the back image's colour key, or the
    // colour at (0, 0) when the back image has none.
    void InitCanvas() override;
    // The back image once at (0, 0), no tiling and no border, then the overlay image.
    void UpdateBackground() override;

    using CastMemberDialog::Show;
    // Adds the described buttons (again at every showing), sizes the sprite to the back image (at
    // most 800 x 600), makes the canvas, attaches the dialog (nested: over the current dialog) and
    // centres it for x = y = -1, else puts it at (x, y), fading it in when it has a fade-in time.
    // The first and the last argument are not used. Nothing while it is shown, off stage or without
    // back image.
    virtual void Show(int first, int timeLimitMs, int x, int y, bool nested, int last);
};
