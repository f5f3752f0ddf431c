#include "framework/shell/DeleteNameDialog.h"

#include "framework/core/StringUtils.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/shell/ConfigFileDeleteNameDialog.h"

DeleteNameDialog::DeleteNameDialog(ConfigFileDeleteNameDialog* description, Cast* cast, int id,
                                   DialogAttributes* attributes, const std::string& name,
                                   DialogListener* listener)
    : CastMemberDialogResizable(description, cast, id, attributes, listener),
      _description(description)
{
    SetName("DeleteNameDialog");
    UseTransparentBackground();
    _description->_bodyText.AddTo(this);
    _description->_yesButton.AddTo(this, kOkId, kOkId);
    _description->_noButton.AddTo(this, kCancelId, kCancelId);
    _description->_deleteText.AddTo(this);
    if (DialogItem* question = _description->_deleteText.GetItem()) {
        question->SetText(StringUtils::Trim(_description->_deleteText.GetText()) + " " + name +
                          "?");
    }
}

DeleteNameDialog::~DeleteNameDialog() = default;
