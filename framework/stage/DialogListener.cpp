#include "framework/stage/DialogListener.h"

DialogListener::~DialogListener() = default;

void DialogListener::DialogTimesUp(int /*dialogId*/) {}

void DialogListener::DialogButtonClicked(int /*dialogId*/, int /*itemId*/, int /*how*/) {}

void DialogListener::DialogItemSet(int /*dialogId*/, int /*itemId*/, int /*value*/, bool /*state*/)
{}

void DialogListener::DialogDetached(int /*dialogId*/) {}
