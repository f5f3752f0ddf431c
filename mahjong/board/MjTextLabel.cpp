#include "mahjong/board/MjTextLabel.h"

#include "mahjong/board/MjTileListener.h"

MjTextLabel::MjTextLabel(MjTileListener* listener, Cast* cast, const std::string& text, Font* font,
                         const Color& color, const Color& hoverColor, const Color& shadowColor,
                         int minimumWidth, int x, int y, int priority)
    : CastMemberText(cast, text, font, color, hoverColor, shadowColor, minimumWidth, x, y,
                     priority),
      _listener(listener), _savedText(text)
{
    Hide();
}

MjTextLabel::~MjTextLabel() = default;

void MjTextLabel::DoState(int state)
{
    if (state == 0) {
        return;
    }
    if (state == kBonusBlink) {
        _showingBonus = 1 - _showingBonus;
        SetText(_showingBonus == 1 ? std::string("Bonus Life") : _savedText);
        ChangeState(kBonusBlink, kBonusBlinkMs);
        return;
    }
    if (_listener != nullptr) {
        _listener->StateReached(nullptr, state, 1);
    }
}
