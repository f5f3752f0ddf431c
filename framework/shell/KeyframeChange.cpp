#include "framework/shell/KeyframeChange.h"

KeyframeChange::KeyframeChange(int sprite, int code, const std::string& text)
    : _sprite(sprite), _code(code), _text(text)
{}

KeyframeChange::~KeyframeChange() = default;
