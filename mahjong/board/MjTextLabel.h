#pragma once

#include "framework/stage/CastMemberText.h"

#include <string>

class MjTileListener;

// A heads-up text that passes the states it does not handle to its listener and can alternate
// with "Bonus Life". Starts hidden.
class MjTextLabel : public CastMemberText
{
public:
    static constexpr int kBonusBlink = 10054;
    static constexpr int kBonusBlinkMs = 500;

    MjTextLabel(MjTileListener* listener, Cast* cast, const std::string& text, Font* font,
                const Color& color, const Color& hoverColor, const Color& shadowColor,
                int minimumWidth, int x, int y, int priority);
    ~MjTextLabel() override;

    void DoState(int state) override;

private:
    MjTileListener* _listener; // not owned
    std::string _savedText;
    int _showingBonus = 0;
};
