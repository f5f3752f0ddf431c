// ConfigFile: the scrambled form. Every line shifted byte by byte, the shift depending on the
// byte's position in the encoded line and on the line's number in the file. Shifted bytes that text
// mode or a line reader would mangle are escaped as two blanks followed by the byte unshifted.
#include "framework/core/ConfigFile.h"

namespace {

unsigned char Shift(size_t position, int lineInPeriod)
{
    return static_cast<unsigned char>(
        static_cast<int>(position % ConfigFile::kScramblePositionModulus) + lineInPeriod +
        ConfigFile::kScrambleBase);
}

int LineInPeriod(int lineNumber)
{
    const int n = lineNumber % ConfigFile::kScrambleLineModulus;
    return n < 0 ? n + ConfigFile::kScrambleLineModulus : n;
}

// Bytes that are never written shifted: NUL, backspace to carriage return, SUB, and the blank,
// which the reader would take for the start of an escape.
bool MustEscape(unsigned char shifted)
{
    return shifted == 0 || (shifted >= 8 && shifted <= 13) || shifted == 26 || shifted == ' ';
}

} // namespace

std::string ConfigFile::EncryptLine(std::string line, int lineNumber)
{
    const int n = LineInPeriod(lineNumber);
    std::string out;
    out.reserve(line.size() + line.size() / 8 + 3);
    const size_t length = line.size();
    for (size_t k = 0; k < length; ++k) {
        const auto c = static_cast<unsigned char>(line[k]);
        const size_t position = out.size();
        bool escape = MustEscape(static_cast<unsigned char>(c + Shift(position, n)));
        // The reader drops every pair of blanks from the decoded text, keeping the byte after
        // the pair. A blank written shifted must therefore never be followed by a blank in the
        // decoded text: neither a blank of the line nor the first blank of an escape. Escaped,
        // it is the byte kept after a pair and comes back.
        if (!escape && c == ' ' && k + 1 < length) {
            const auto next = static_cast<unsigned char>(line[k + 1]);
            escape = next == ' ' ||
                     MustEscape(static_cast<unsigned char>(next + Shift(position + 1, n)));
        }
        if (escape) {
            out += "  ";
            out.push_back(static_cast<char>(c));
        } else {
            out.push_back(static_cast<char>(c + Shift(position, n)));
        }
    }
    return out;
}

std::string ConfigFile::DecodeLine(std::string_view line, int lineNumber)
{
    const int n = LineInPeriod(lineNumber);
    const size_t length = line.size();
    std::string text(line);
    // Pass 1: unshift everything but escapes, which are left as they stand.
    size_t i = 0;
    while (i < length) {
        if (text[i] == ' ' && i + 1 < length && text[i + 1] == ' ') {
            i += 3;
        } else {
            text[i] = static_cast<char>(static_cast<unsigned char>(text[i]) - Shift(i, n));
            ++i;
        }
    }
    // Pass 2: drop every pair of blanks, keeping the byte after it as it stands. Files written
    // before blanks were escaped rely on exactly this.
    std::string out;
    out.reserve(length);
    size_t j = 0;
    while (j < length) {
        if (text[j] == ' ' && j + 1 < length && text[j + 1] == ' ') {
            if (j + 2 < length) {
                out.push_back(text[j + 2]);
            }
            j += 3;
        } else {
            out.push_back(text[j]);
            ++j;
        }
    }
    return out;
}

std::string ConfigFile::Scrambled(std::string_view plainBytes)
{
    std::string out;
    out.reserve(plainBytes.size() + plainBytes.size() / 8 + 16);
    size_t pos = 0;
    std::string_view line;
    int lineNumber = 0;
    while (NextLine(plainBytes, pos, line)) {
        out += EncryptLine(std::string(line), lineNumber);
        out += "\r\n";
        lineNumber = (lineNumber + 1) % kScrambleLineModulus;
    }
    return out;
}

void ConfigFile::Encrypt(std::string plainFile, std::string scrambledFile)
{
    std::string bytes;
    if (ReadWhole(plainFile, bytes) != ReadResult::kRead) {
        return;
    }
    if (WriteWhole(scrambledFile, Scrambled(bytes)) != 0) {
        DebugVar(1, "ENCRYPTED FILE NOT WRITTEN! - %s", scrambledFile.c_str());
    }
}
