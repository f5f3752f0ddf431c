// MjLayout: construction, layout files, centring, drawing order and cell operations.
#include "mahjong/board/MjLayout.h"

#include "framework/media/Image.h"
#include "framework/stage/Cast.h"
#include "mahjong/board/MjBoardSettings.h"
#include "mahjong/board/MjGridTile.h"
#include "mahjong/board/MjTileTypes.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <fstream>
#include <sstream>

MjLayout::Shared::Shared()
{
    std::fill(std::begin(priority), std::end(priority), -1);
}

MjLayout::Shared& MjLayout::SharedState()
{
    static Shared shared;
    return shared;
}

void MjLayout::ResetShared()
{
    SharedState() = Shared();
}

namespace {

const char kNoTitle[] = "Layout Title Missing";

// The integer at the start of text as atoi reads it, held within int range.
int LeadingInt(const std::string& text)
{
    size_t pos = 0;
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
        value = std::min<long long>(value * 10 + (text[pos] - '0'), 1LL << 32);
        ++pos;
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// The text after the first '=', or the whole line without one.
std::string AfterEquals(const std::string& line)
{
    const size_t eq = line.find('=');
    return eq == std::string::npos ? line : line.substr(eq + 1);
}

// Lines as a text-mode read gives them: split at line feeds, a carriage return before one
// dropped, no empty line after a final line feed.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) {
            end = text.size();
        }
        std::string line = text.substr(start, end - start);
        if (!last && !line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

MjBoardSettings& NoSettings()
{
    static MjBoardSettings none;
    return none;
}

} // namespace

MjLayout::MjLayout(Cast* cast, const std::string& fileName, MjBoardSettings* settings,
                   ImageResource* tileImages, int matchSize, int doubleMode)
    : Debug("MjLayout"), _cast(cast), _title(kNoTitle), _fileName(fileName),
      _settings(settings != nullptr ? settings : &NoSettings()), _tileImages(tileImages),
      _matchSize(matchSize < 1 ? 1 : matchSize), _doubleMode(doubleMode)
{
    const int maxI = _settings->columns;
    const int maxJ = _settings->rows;
    const int maxK = _settings->layers;
    if (maxI > kMaxI || maxJ > kMaxJ || maxK > kMaxK || maxI < 0 || maxJ < 0 || maxK < 0 ||
        maxI * maxJ * maxK > kOrderRecords) {
        DebugVar(-1, "Layout Exceeds Maximum - %d, %d, %d > %d, %d, %d", maxI, maxJ, maxK, kMaxI,
                 kMaxJ, kMaxK);
        return;
    }
    _maxI = maxI;
    _maxJ = maxJ;
    _maxK = maxK;
    _usable = true;
    _cells.resize(kMaxI * kMaxJ * kMaxK);
    NumberDrawingOrder();
    Clear();
    Load(fileName);
}

MjLayout::~MjLayout()
{
    Clear();
}

void MjLayout::NumberDrawingOrder()
{
    Shared& shared = SharedState();
    for (int i = 0; i < _maxI; ++i) {
        for (int j = 0; j < _maxJ; ++j) {
            for (int k = 0; k < _maxK; ++k) {
                shared.priority[Index(i, j, k)] = -1;
            }
        }
    }
    // Layer by layer; within a layer by diagonals from the top-right cell to the bottom-left
    // one, each from its lowest cell up, so nearer tiles are drawn in front.
    const int first = _maxI * _maxJ * _maxK + 1000;
    int r = 0;
    for (int k = 0; k < _maxK; ++k) {
        for (int d = 0; d <= _maxI + _maxJ - 2; ++d) {
            const int diff = _maxI - 1 - d; // i - j on this diagonal
            for (int j = _maxJ - 1; j >= 0; --j) {
                const int i = diff + j;
                if (i >= 0 && i < _maxI) {
                    shared.priority[Index(i, j, k)] = first - r;
                    ++r;
                }
            }
        }
    }
}

int MjLayout::Priority(int i, int j, int k)
{
    if (i < 0 || j < 0 || k < 0 || i >= kMaxI || j >= kMaxJ || k >= kMaxK) {
        return -1;
    }
    return SharedState().priority[Index(i, j, k)];
}

void MjLayout::IndexToCell(int index, int& i, int& j, int& k)
{
    k = index % kMaxK;
    j = (index / kMaxK) % kMaxJ;
    i = index / (kMaxK * kMaxJ);
}

void MjLayout::Clear()
{
    if (_cast != nullptr) {
        _cast->CancelTracking();
        _cast->CancelDragging();
    }
    if (!_usable) {
        return;
    }
    for (int i = 0; i < _maxI; ++i) {
        for (int j = 0; j < _maxJ; ++j) {
            for (int k = 0; k < _maxK; ++k) {
                MjCell& cell = Cell(i, j, k);
                if (cell.tile != nullptr) {
                    cell.tile->Leave();
                }
                cell = MjCell();
            }
        }
    }
    _origins.clear();
    _tileCount = 0;
}

void MjLayout::Load(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    std::stringstream text;
    if (in) {
        text << in.rdbuf();
    }
    LoadText(text.str());
}

void MjLayout::LoadText(const std::string& text)
{
    _title = kNoTitle;
    if (!_usable) {
        return;
    }
    std::vector<Position> positions;
    // Quarters taken so far: a tile laid over another would leave cells that no tile owns.
    std::vector<bool> taken(kMaxI * kMaxJ * kMaxK, false);
    const auto overlaps = [&](const Position& p, bool mark) {
        const int first = _doubleMode != 0 ? 2 * p.level - 2 : p.level - 1;
        const int last = _doubleMode != 0 && p.code == kCodeToDeal ? first + 1 : first;
        for (int k = first; k <= last; ++k) {
            for (int di = 0; di < 2; ++di) {
                for (int dj = 0; dj < 2; ++dj) {
                    if (mark) {
                        taken[Index(p.i + di, p.j + dj, k)] = true;
                    } else if (taken[Index(p.i + di, p.j + dj, k)]) {
                        return true;
                    }
                }
            }
        }
        return false;
    };
    const std::vector<std::string> lines = SplitLines(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            continue;
        }
        if (line[0] == 'L') {
            _title = AfterEquals(line);
            continue;
        }
        if (line[0] != 'v') {
            continue;
        }
        const int value = LeadingInt(AfterEquals(line));
        const size_t valueLine = n + 1;
        Position p{0, 0, 0, 0};
        if (n + 1 < lines.size()) {
            ++n;
            const std::string where = AfterEquals(lines[n]);
            const size_t comma = where.find(',');
            if (comma == std::string::npos) {
                p.i = p.j = LeadingInt(where);
            } else {
                p.i = LeadingInt(where.substr(0, comma));
                p.j = LeadingInt(where.substr(comma + 1));
            }
        }
        p.code = value / 100 - 1;
        p.level = value % 100;
        if (!Acceptable(p) || overlaps(p, false)) {
            DebugVar(-1, "Layout Position Skipped - %s line %d: %s", _fileName.c_str(),
                     static_cast<int>(valueLine), line.c_str());
            continue;
        }
        overlaps(p, true);
        positions.push_back(p);
    }
    _positions = positions;
    Place(_positions);
}

// A position must lie inside the grid with its whole tile (and its double) and carry a code the
// count table and the tile sheet know.
bool MjLayout::Acceptable(const Position& p) const
{
    if (p.i < 0 || p.j < 0 || p.i > _maxI - 2 || p.j > _maxJ - 2 || p.level < 1) {
        return false;
    }
    const bool doubled = _doubleMode != 0;
    const long long topLayer =
        doubled ? (p.code == kCodeToDeal ? 2LL * p.level - 1 : 2LL * p.level - 2) : p.level - 1LL;
    if (topLayer >= _maxK) {
        return false;
    }
    return p.code == kCodeToDeal || p.code == MjTileTypes::kSpecialCellCode ||
           (p.code >= 0 && p.code < MjTileTypes::kPlayTypes);
}

void MjLayout::Rebuild()
{
    if (!_usable) {
        return;
    }
    std::fill(_typeCount, _typeCount + MjTileTypes::kPlayTypes, 0);
    _hasSpecialCells = false;
    // The positions are the file's as read, so the title read with them stays.
    Clear();
    Place(_positions);
}

void MjLayout::NoteOrigin(int index)
{
    auto at = std::lower_bound(_origins.begin(), _origins.end(), index);
    if (at == _origins.end() || *at != index) {
        _origins.insert(at, index);
    }
}

void MjLayout::Place(const std::vector<Position>& positions)
{
    _tileCount = 0;
    _specialCount = 0;
    _originX = 0;
    _originY = 0;
    int minX = 10000, minY = 10000, maxX = 0, maxY = 0;
    Position left{0, 0, 0, 0}, top{0, 0, 0, 0};
    bool first = true;
    for (const Position& p : positions) {
        const int k = _doubleMode != 0 ? 2 * p.level - 2 : p.level - 1;
        MjCell& cell = Cell(p.i, p.j, k);
        cell.state = MjCell::kOrigin;
        cell.order = _tileCount++;
        if (p.code == kCodeToDeal) {
            cell.faceCol = MjCell::kNoFace;
            cell.faceRow = MjCell::kRowToDeal;
        } else if (p.code == MjTileTypes::kSpecialCellCode) {
            cell.faceCol = MjCell::kNoFace;
            cell.faceRow = MjCell::kRowSpecialCell;
            _hasSpecialCells = true;
        } else {
            cell.faceCol = MjTileTypes::FaceColumn(p.code);
            cell.faceRow = MjTileTypes::FaceRow(p.code);
            ++_typeCount[p.code];
        }
        NoteOrigin(Index(p.i, p.j, k));
        SetSpecialKind(p.code, p.i, p.j, k);
        if (_doubleMode != 0 && p.code == kCodeToDeal) {
            MjCell& upper = Cell(p.i, p.j, 2 * p.level - 1);
            upper.state = MjCell::kOrigin;
            upper.order = _tileCount++;
            upper.faceCol = MjCell::kNoFace;
            upper.faceRow = MjCell::kRowToDeal;
            NoteOrigin(Index(p.i, p.j, 2 * p.level - 1));
        }
        const int x = CellX(p.i, p.j, p.level - 1);
        const int y = CellY(p.i, p.j, p.level - 1);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
        if (x < minX) {
            minX = x;
            left = p;
        }
        if (y < minY) {
            minY = y;
            top = p;
        }
        if (first) {
            _firstKey = p.i + 50 * p.j + 1000 * p.level;
            first = false;
        }
    }
    // Centre on the screen; the remembered extremes are measured one layer up, which the
    // shipped boards' placement depends on.
    _originX = (minX - maxX + 752) / 2;
    _originY = (minY - maxY + 542) / 2;
    const int x0 = CellX(left.i, left.j, left.level);
    const int y0 = CellY(top.i, top.j, top.level);
    _originX = 2 * _originX + 6 - x0;
    _originY = 2 * _originY - 6 - y0;
    if (maxY - minY + 58 > 440) {
        _originY -= (maxY - minY - 382) / 2;
    }
    for (int index : _origins) {
        MjCell& cell = _cells[index];
        if (cell.state == MjCell::kOrigin) {
            cell.order = _tileCount - cell.order - 1;
        }
    }
}

int MjLayout::CellX(int i, int j, int k) const
{
    (void)j;
    return (_settings->tileWidth * i) / 2 + _settings->tileBorder * k + _originX;
}

int MjLayout::CellY(int i, int j, int k) const
{
    (void)i;
    return (_settings->tileHeight * j) / 2 - _settings->tileBorder * k + _originY;
}

bool MjLayout::InBounds(int i, int j, int k) const
{
    return i >= 0 && j >= 0 && k >= 0 && i < _maxI && j < _maxJ && k < _maxK;
}

void MjLayout::ClearCell(int i, int j, int k)
{
    if (!InBounds(i, j, k)) {
        return;
    }
    MjCell& cell = Cell(i, j, k);
    cell.state = MjCell::kEmpty;
    cell.order = 0;
    cell.faceCol = MjCell::kNoFace;
    cell.faceRow = MjCell::kNoFace;
}

void MjLayout::EmptyQuad(int i, int j, int k)
{
    for (int di = 0; di < 2; ++di) {
        for (int dj = 0; dj < 2; ++dj) {
            if (InBounds(i + di, j + dj, k)) {
                Cell(i + di, j + dj, k).state = MjCell::kEmpty;
            }
        }
    }
}

void MjLayout::FillQuad(int i, int j, int k)
{
    for (int di = 0; di < 2; ++di) {
        for (int dj = 0; dj < 2; ++dj) {
            if (InBounds(i + di, j + dj, k)) {
                Cell(i + di, j + dj, k).state = MjCell::kCovered;
            }
        }
    }
    if (InBounds(i, j, k)) {
        Cell(i, j, k).state = MjCell::kOrigin;
        NoteOrigin(Index(i, j, k));
    }
}

void MjLayout::RemoveTile(int i, int j, int k)
{
    if (!InBounds(i, j, k) || Cell(i, j, k).state != MjCell::kOrigin) {
        return;
    }
    MjCell& cell = Cell(i, j, k);
    if (cell.tile != nullptr) {
        cell.tile->Leave();
        cell.tile = nullptr;
    }
    ClearCell(i, j, k);
    ClearCell(i + 1, j, k);
    ClearCell(i, j + 1, k);
    ClearCell(i + 1, j + 1, k);
}
