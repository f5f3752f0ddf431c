// CastMemberDialogResizable: wrapping the message, the block of text items, mark-up text.
#include "framework/core/Dimension.h"
#include "framework/core/Framework.h"
#include "framework/dialogs/CastMemberDialogResizable.h"
#include "framework/dialogs/DialogItem.h"
#include "framework/media/Font.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

namespace {

constexpr int kNormalStyle = 0;
constexpr int kBoldStyle = 1;
constexpr int kItalicStyle = 2;
constexpr int kUnderlineStyle = 4;
constexpr int kHtmlIndent = 10;
constexpr int kLinkId = 5;

bool IsBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The line in pieces no wider than room, broken after whole words; a word wider than room
// stands alone. With no room (a dialog not sized yet) the line stays whole.
std::vector<std::string> WrapWords(Font& font, const std::string& line, int room)
{
    if (room <= 0 || font.TextDim(line).GetW() <= room) {
        return {line};
    }
    std::vector<std::string> pieces;
    std::string piece;
    size_t at = 0;
    while (at < line.size()) {
        const size_t wordStart = line.find_first_not_of(' ', at);
        if (wordStart == std::string::npos) {
            break;
        }
        size_t wordEnd = line.find(' ', wordStart);
        if (wordEnd == std::string::npos) {
            wordEnd = line.size();
        }
        const std::string word = line.substr(wordStart, wordEnd - wordStart);
        const std::string longer = piece.empty() ? word : piece + " " + word;
        if (!piece.empty() && font.TextDim(longer).GetW() > room) {
            pieces.push_back(piece);
            piece = word;
        } else {
            piece = longer;
        }
        at = wordEnd;
    }
    if (!piece.empty() || pieces.empty()) {
        pieces.push_back(piece.empty() ? line : piece);
    }
    return pieces;
}

// Keeps only the text between the first open tag and the first close tag after it; true when
// the line had both.
bool KeepBetween(std::string& line, const std::string& open, const std::string& close)
{
    const size_t start = line.find(open);
    if (start == std::string::npos) {
        return false;
    }
    const size_t end = line.find(close, start + open.size());
    if (end == std::string::npos) {
        return false;
    }
    line = line.substr(start + open.size(), end - start - open.size());
    return true;
}

} // namespace

Font* CastMemberDialogResizable::TextFont()
{
    if (_font != nullptr) {
        return _font.get();
    }
    Framework* app = Framework::GetApp();
    return app != nullptr ? app->GetFrameworkFont(Framework::kFontNormal) : nullptr;
}

void CastMemberDialogResizable::CalculateTextDims(int& width, int& height, int shortestFullLine)
{
    width = 0;
    height = 0;
    if (_text.empty()) {
        return;
    }
    Font* font = TextFont();
    if (font == nullptr) {
        DebugVar(-1, "CalculateTextDims: no font to measure the text with");
        return;
    }
    std::replace(_text.begin(), _text.end(), '@', '\n');

    size_t lineStart = 0;
    int lines = 1;
    for (size_t i = 0; i <= _text.size(); ++i) {
        const bool atEnd = i == _text.size();
        if (!atEnd && !IsBlank(_text[i])) {
            continue;
        }
        // A run holding line feeds measures as its widest line.
        const int runWidth = font->TextDim(_text.substr(lineStart, i - lineStart)).GetW();
        if (runWidth <= shortestFullLine) {
            continue;
        }
        if (lines == _maxLines) {
            _text.erase(i);
            DebugVar(1, "Text in CastMemberDialogResizable exceeded space to provided to "
                        "display it.");
            break;
        }
        ++lines;
        if (!atEnd) {
            _text[i] = '\n';
            lineStart = i + 1;
        }
    }
    const Dimension size = font->TextDim(_text);
    width = size.GetW();
    height = size.GetH();
}

int CastMemberDialogResizable::AddTextBlock(int x, int y, int width)
{
    // The lines of an earlier block leave the dialog before the new ones come.
    for (DialogItem* old : _textItems) {
        RemoveElementFromItems(old);
    }
    _textItems.clear();
    if (_text.empty()) {
        return y;
    }
    Font* font = TextFont();
    size_t start = 0;
    for (int line = 0; line <= _maxLines && start <= _text.size(); ++line) {
        size_t end = _text.find('\n', start);
        if (end == std::string::npos) {
            end = _text.size();
        }
        // An empty line is shown as one blank and takes its height.
        std::string text = _text.substr(start, end - start);
        if (text.empty()) {
            text = " ";
        }
        DialogItem* item = AddText(text, x, y, 0, _fontColor, font, _justification, width);
        if (item != nullptr) {
            // Renders the line again with the dialog's shadow depth.
            item->SetTextProperties(text, font, _fontColor, _shadowDepth);
            _textItems.push_back(item);
        }
        if (font != nullptr) {
            y += font->TextDim(text).GetH();
        }
        start = end + 1;
    }
    return y;
}

void CastMemberDialogResizable::SetHTMLText(std::string text, const std::string& link,
                                            const Color& colour, const Point& /*position*/,
                                            Font* font, Font* headingFont)
{
    if (font == nullptr) {
        font = TextFont();
    }
    if (headingFont == nullptr) {
        headingFont = font;
    }
    if (font == nullptr) {
        DebugVar(-1, "SetHTMLText: no font for the text");
        return;
    }
    const int x = _margin + kHtmlIndent;
    int y = GetHeaderHeight() + _margin;
    font->SetStyle(kNormalStyle);

    for (bool more = true; more;) {
        std::string line;
        const size_t br = text.find("<BR>");
        more = br != std::string::npos;
        if (more) {
            line = text.substr(0, br);
            text.erase(0, br + 4);
        } else {
            line.swap(text);
        }

        // A tag is never shown, wherever it stands.
        const size_t headingTag = line.find("<H>");
        const bool heading = headingTag != std::string::npos;
        if (heading) {
            line.erase(headingTag, 3);
        }
        Font* used = heading ? headingFont : font;
        int style = kNormalStyle;
        if (KeepBetween(line, "<B>", "</B>")) {
            style = kBoldStyle;
        }
        if (KeepBetween(line, "<U>", "</U>")) {
            style = kUnderlineStyle;
        }
        if (KeepBetween(line, "<I>", "</I>")) {
            style = kItalicStyle;
        }
        used->SetStyle(style);
        if (line.empty()) {
            line = " ";
        }

        // A line longer than the frame is wide goes on over more lines (news texts come with
        // no line breaks of their own).
        for (const std::string& piece : WrapWords(*used, line, GetW() - x - _margin)) {
            DialogItem* item = AddText(piece, x, y, 0, colour, used);
            if (item != nullptr) {
                // Renders the line again with the dialog's shadow depth, still in its style.
                item->SetTextProperties(piece, used, colour, _shadowDepth);
            }
            y += used->LineSkip() - 2;
        }
        font->SetStyle(kNormalStyle);
        headingFont->SetStyle(kNormalStyle);
    }

    if (link.size() > 1) {
        AddClickableText(link, x, y, colour, font, kLinkId);
    }
    SetPriority(-1);
}
