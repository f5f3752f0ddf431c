#include "framework/shell/HighDetailDialog.h"

#include "framework/shell/ConfigFileHighDetailDialog.h"

HighDetailDialog::HighDetailDialog(ConfigFileHighDetailDialog* description, Cast* cast, int id,
                                   DialogAttributes* attributes, DialogListener* listener)
    : CastMemberDialogResizable(description, cast, id, attributes, listener),
      _description(description)
{
    SetName("HighDetailDialog");
    UseTransparentBackground();
    _description->_bodyText.AddTo(this);
    _description->_okButton.AddTo(this, kOkId, kOkId);
}

HighDetailDialog::~HighDetailDialog() = default;
