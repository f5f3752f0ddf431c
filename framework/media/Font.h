#pragma once

#include "SDL_ttf.h"
#include "framework/core/Debug.h"
#include "framework/core/Dimension.h"
#include "framework/core/Export.h"

#include <string>
#include <vector>

// One TrueType font opened at a point size, with its style, metrics and the measuring of text
// that may hold line feeds. A font that could not be opened (or was closed) measures everything
// as 0 and logs that once, so callers that skip the check cannot crash in SDL_ttf.
class FRAMEWORK_API Font : public Debug
{
public:
    Font(const std::string& file, int size);
    // The style is any combination of TTF_STYLE_BOLD, TTF_STYLE_ITALIC and TTF_STYLE_UNDERLINE.
    Font(const std::string& file, int size, int style);
    ~Font() override;

    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void Close();
    // Null when the file could not be opened or after Close.
    TTF_Font* GetRawFont() const { return _font; }

    int Ascent();
    int Descent();
    int GetH();
    int LineSkip();
    bool Monospaced();

    // Styles outside 0..7 give the normal style.
    void SetStyle(int style);

    // Cut at each "\n": the widest line by the sum of the line heights.
    Dimension TextDim(const std::string& text);
    // Appends the lines of text (cut at each "\n") to lines. size: the widest line by
    // (entries in lines - 1) line skips plus the height of the last line.
    void ParseStr(const std::string& text, std::vector<std::string>& lines, Dimension& size);
    void ParseStr(const std::string& text, std::vector<std::string>& lines);

private:
    void Open(const std::string& file, int size);
    // True when the font is open; otherwise logs the first time and returns false.
    bool CheckOpen();
    // Width and height of one line; 0 by 0 when SDL_ttf cannot measure it.
    Dimension LineDim(const std::string& line);

    TTF_Font* _font = nullptr; // owned; closed by Close and the destructor
    bool _reportedClosed = false;
};
