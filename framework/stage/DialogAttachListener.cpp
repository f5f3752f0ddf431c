#include "framework/stage/DialogAttachListener.h"

DialogAttachListener::~DialogAttachListener() = default;

void DialogAttachListener::DialogAttached(CastMemberDialog* /*dialog*/, int /*dialogId*/,
                                          bool /*nested*/)
{}

void DialogAttachListener::DialogDetached(CastMemberDialog* /*dialog*/, int /*dialogId*/,
                                          bool /*nested*/)
{}
