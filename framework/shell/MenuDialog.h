#pragma once

#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

class Cast;
class ConfigFile;
class DialogListener;

// A resizable dialog that lays out its buttons, check boxes, inputs, labels, radios and radio
// sets itself, in one column (orientation 1) or one row along the bottom, instead of leaving them
// where their "pos" keys put them. Animations, backgrounds, sliders and text boxes keep their
// own positions. The game builds its in-game menus from it; Init reads the menu's section.
class FRAMEWORK_API MenuDialog : public CastMemberDialogResizable
{
public:
    // cfg is not kept: Init receives it again.
    MenuDialog(ConfigFile* cfg, Cast* cast, int id, DialogListener* listener);
    ~MenuDialog() override;

protected:
    // Column: each control centred across the dialog (moved by "xoffset") and stacked from
    // top down with the button gap. Row: aligned to the bottom margin and placed from the right
    // edge leftwards, the first control of the list rightmost. Returns the y below the last
    // control placed.
    int RepositionControls(int top, int width) override;
};
