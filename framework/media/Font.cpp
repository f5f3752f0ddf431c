#include "framework/media/Font.h"

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

namespace {

constexpr int kAllStyles = TTF_STYLE_BOLD | TTF_STYLE_ITALIC | TTF_STYLE_UNDERLINE;

// Every piece between line feeds is a line, the last one too, even when empty.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> pieces;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type end = text.find('\n', start);
        if (end == std::string::npos) {
            pieces.push_back(text.substr(start));
            return pieces;
        }
        pieces.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

// SDL_ttf's font library takes one open or close at a time, and fonts are opened on loading
// threads while the main thread opens and closes others.
std::mutex& OpenCloseLock()
{
    static std::mutex lock;
    return lock;
}

} // namespace

Font::Font(const std::string& file, int size) : Debug("Font 1")
{
    Open(file, size);
}

Font::Font(const std::string& file, int size, int style) : Debug("Font 2")
{
    Open(file, size);
    if (_font != nullptr) {
        TTF_SetFontStyle(_font, style);
    }
}

Font::~Font()
{
    Close();
}

void Font::Open(const std::string& file, int size)
{
    {
        const std::lock_guard<std::mutex> hold(OpenCloseLock());
        _font = TTF_OpenFont(file.c_str(), size);
    }
    if (_font == nullptr) {
        DebugVar(-1, "Cannot create %s font of size:", file.c_str());
        // The failure is already on record; queries on this font stay quiet.
        _reportedClosed = true;
    }
}

void Font::Close()
{
    if (_font != nullptr) {
        const std::lock_guard<std::mutex> hold(OpenCloseLock());
        TTF_CloseFont(_font);
        _font = nullptr;
    }
}

bool Font::CheckOpen()
{
    if (_font != nullptr) {
        return true;
    }
    if (!_reportedClosed) {
        _reportedClosed = true;
        DebugVar(-1, "Font used while not open: sizes are 0 and text is not rendered.");
    }
    return false;
}

int Font::Ascent()
{
    return CheckOpen() ? TTF_FontAscent(_font) : 0;
}

int Font::Descent()
{
    return CheckOpen() ? TTF_FontDescent(_font) : 0;
}

int Font::GetH()
{
    return CheckOpen() ? TTF_FontHeight(_font) : 0;
}

int Font::LineSkip()
{
    return CheckOpen() ? TTF_FontLineSkip(_font) : 0;
}

bool Font::Monospaced()
{
    return CheckOpen() && TTF_FontFaceIsFixedWidth(_font) != 0;
}

void Font::SetStyle(int style)
{
    if (!CheckOpen()) {
        return;
    }
    if (style < 0 || style > kAllStyles) {
        style = TTF_STYLE_NORMAL;
    }
    TTF_SetFontStyle(_font, style);
}

Dimension Font::LineDim(const std::string& line)
{
    int w = 0;
    int h = 0;
    if (TTF_SizeText(_font, line.c_str(), &w, &h) != 0) {
        return Dimension(0, 0);
    }
    return Dimension(w, h);
}

Dimension Font::TextDim(const std::string& text)
{
    if (!CheckOpen()) {
        return Dimension(0, 0);
    }
    int width = 0;
    int height = 0;
    for (const std::string& line : SplitLines(text)) {
        const Dimension d = LineDim(line);
        width = std::max(width, d.GetW());
        height += d.GetH();
    }
    return Dimension(width, height);
}

void Font::ParseStr(const std::string& text, std::vector<std::string>& lines, Dimension& size)
{
    const std::vector<std::string> pieces = SplitLines(text);
    lines.insert(lines.end(), pieces.begin(), pieces.end());
    if (!CheckOpen()) {
        size.Set(0, 0);
        return;
    }
    int width = 0;
    int lastHeight = 0;
    for (const std::string& piece : pieces) {
        const Dimension d = LineDim(piece);
        width = std::max(width, d.GetW());
        lastHeight = d.GetH();
    }
    const int skips = static_cast<int>(lines.size()) - 1;
    size.Set(width, skips * LineSkip() + lastHeight);
}

void Font::ParseStr(const std::string& text, std::vector<std::string>& lines)
{
    Dimension ignored;
    ParseStr(text, lines, ignored);
}
