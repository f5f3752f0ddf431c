#include "tests/mahjong/board/MjLayoutTestSupport.h"

#include "mahjong/board/MjLayout.h"
#include "tests/mahjong/board/FakeGridTile.h"
#include "tests/support/TestSupport.h"

namespace mjtest {

MjBoardSettings Settings(int columns, int rows, int layers)
{
    MjBoardSettings settings;
    settings.origin = Point(10, 20);
    settings.columns = columns;
    settings.rows = rows;
    settings.layers = layers;
    settings.tileWidth = 40;
    settings.tileHeight = 50;
    settings.tileBorder = 6;
    return settings;
}

std::string LayoutText(const std::vector<Spot>& spots, const std::string& title)
{
    std::string text = "# test layout\n";
    if (!title.empty()) {
        text += "Layout=" + title + "\n";
    }
    for (const Spot& s : spots) {
        text += "v=" + std::to_string((s.code + 1) * 100 + s.level) + "\n";
        text += "p=" + std::to_string(s.i) + "," + std::to_string(s.j) + "\n";
    }
    return text;
}

std::string WriteLayout(const std::string& name, const std::string& text)
{
    const std::string path = testsupport::ScratchDir() + "/" + name;
    testsupport::WriteFile(path, text);
    return path;
}

std::unique_ptr<MjLayout> MakeLayout(MjBoardSettings& settings, const std::vector<Spot>& spots,
                                     int matchSize, int doubleMode)
{
    static int serial = 0;
    const std::string path =
        WriteLayout("layout" + std::to_string(++serial) + ".cfg", LayoutText(spots));
    return std::make_unique<MjLayout>(nullptr, path, &settings, nullptr, matchSize, doubleMode);
}

void AddTiles(MjLayout& layout, FakeTileFactory& factory)
{
    layout.SetTileFactory(&factory);
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell cell = layout.Cell(i, j, k);
        if (cell.state == MjCell::kOrigin) {
            layout.AddImage(nullptr, nullptr, cell.faceCol, cell.faceRow, i, j, k, false);
        }
    }
}

std::vector<int> Faces(const MjLayout& layout)
{
    std::vector<int> faces;
    for (int index : layout.OriginIndices()) {
        int i, j, k;
        MjLayout::IndexToCell(index, i, j, k);
        const MjCell& cell = layout.Cell(i, j, k);
        if (cell.state == MjCell::kOrigin) {
            faces.push_back(cell.faceCol < 0 ? -1 : cell.faceCol + 6 * cell.faceRow);
        }
    }
    return faces;
}

FakeBoard::FakeBoard(const std::vector<Spot>& spots, int matchSize, int columns, int rows,
                     int layers)
    : settings(Settings(columns, rows, layers))
{
    MjLayout::ResetShared();
    layout = MakeLayout(settings, spots, matchSize);
    AddTiles(*layout, factory);
}

FakeGridTile* FakeBoard::TileAt(int i, int j, int k)
{
    return static_cast<FakeGridTile*>(layout->Cell(i, j, k).tile);
}

} // namespace mjtest
