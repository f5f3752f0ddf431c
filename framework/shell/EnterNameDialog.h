#pragma once

#include "framework/core/Color.h"
#include "framework/core/Export.h"
#include "framework/dialogs/CastMemberDialogResizable.h"

#include <string>
#include <vector>

class Cast;
class ConfigFileEnterNameDialog;
class DialogItem;
class DialogListener;

// The name entry of the play-as dialog: an explaining text, a name field that takes letters,
// digits, blanks and underscores up to the description's limit, and an info line that shows a
// hint, or for two seconds an error (an empty name, or one already in use, letter case aside).
// Its OK (id 1) and Cancel (id 2) come from the description's "dialog" controls; the opener
// calls Init with the description and "dialog", then shows it.
class FRAMEWORK_API EnterNameDialog : public CastMemberDialogResizable
{
public:
    // Its id when the play-as dialog opens it.
    static constexpr int kDialogId = 2;
    static constexpr int kTextInputId = 6;
    // The script state that puts the hint back after an error.
    static constexpr int kRestoreHintState = 20;
    static constexpr int kErrorShownMs = 2000;
    // The info line's colour while it shows an error.
    static const Color kErrorColour;

    // The description is not owned and must outlive the dialog. namesInUse is copied; a new
    // name must differ from each of them in more than letter case.
    EnterNameDialog(ConfigFileEnterNameDialog* description, Cast* cast, int id,
                    const std::string& initialText, const std::vector<std::string>& namesInUse,
                    DialogListener* listener);
    ~EnterNameDialog() override;

    // kRestoreHintState: the hint again, in the info colour with a shadow of depth 1.
    void DoState(int state) override;
    // Refuses an empty name and a name in use (showing why); true for a new name.
    bool ValidateCloseDialog() override;

    // Makes the name field, the explaining text and the info line with its hint.
    virtual void SetupDialog(ConfigFileEnterNameDialog* description, std::string initialText);
    // The name field's text without leading and trailing blanks; empty without a field.
    virtual std::string GetTextInputString();
    // The name field's text back to the initial text.
    virtual void ResetName();

    // The hint that the info line shows when there is no error.
    const std::string& GetInfoText() const { return _infoText; }
    DialogItem* GetInfoItem() const { return _infoTextItem; }

private:
    void ShowError(const std::string& message);

    ConfigFileEnterNameDialog* _description; // not owned
    DialogItem* _textInputItem = nullptr;    // items belong to the dialog
    DialogItem* _bodyTextItem = nullptr;
    std::string _infoText;
    std::string _initialText;
    std::vector<std::string> _namesInUse;
    DialogItem* _infoTextItem = nullptr;
};
