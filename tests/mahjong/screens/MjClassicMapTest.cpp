// The quest's progress map: regions and footsteps drawn into the strips, the marker, the texts
// and the closing steps.

#include "framework/core/ConfigFile.h"
#include "framework/core/Point.h"
#include "framework/media/AnimationManager.h"
#include "framework/media/Canvas.h"
#include "framework/media/Image.h"
#include "framework/media/ImageResource.h"
#include "framework/shell/AppScript.h"
#include "framework/stage/Cast.h"
#include "framework/stage/CastMemberImage.h"
#include "mahjong/board/MjTextLabel.h"
#include "mahjong/board/MjTile.h"
#include "mahjong/screen/MjClassic.h"
#include "tests/mahjong/support/BoardHarness.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace mjtest {
namespace {

constexpr int kStepSize = 24;

class MjClassicMapTest : public BoardHarness
{
protected:
    void SetUp() override
    {
        BoardHarness::SetUp();
        MakeScreen(kQuestLook);
        ASSERT_NE(screen->_spiritMapFile, nullptr);
    }

    Point Pos(const char* section, int n)
    {
        return screen->_spiritMapFile->ValueAsPoint(section, "pos" + std::to_string(n),
                                                    Point(0, 0));
    }

    // Whether the map sheet shows the plain picture over the w x h area at pos.
    bool AreaIsPlain(const Point& pos, int w, int h)
    {
        Canvas plain("images/spiritmap.jpg", nullptr);
        for (int y = pos.GetY(); y < pos.GetY() + h; y += 3) {
            for (int x = pos.GetX(); x < pos.GetX() + w; x += 3) {
                if (!testsupport::SameRgb(screen->_spiritMapSheet->GetPixel(x, y),
                                          plain.GetPixel(x, y))) {
                    return false;
                }
            }
        }
        return true;
    }

    // The share of region n's area on the map sheet that shows the region's coloured picture.
    double ShareOfPicture(int n)
    {
        const Point pos = Pos("map", n);
        Canvas coloured("images/map_level" + std::to_string(n) + "_color.jpg", nullptr);
        int same = 0;
        int all = 0;
        for (int y = 0; y < 200; y += 4) {
            for (int x = 0; x < 320; x += 4) {
                ++all;
                same += testsupport::SameRgb(
                            screen->_spiritMapSheet->GetPixel(pos.GetX() + x, pos.GetY() + y),
                            coloured.GetPixel(x, y))
                            ? 1
                            : 0;
            }
        }
        return static_cast<double>(same) / all;
    }

    std::vector<Color> SheetPixels()
    {
        std::vector<Color> pixels;
        for (int y = 0; y < 600; y += 2) {
            for (int x = 0; x < 800; x += 2) {
                pixels.push_back(screen->_spiritMapSheet->GetPixel(x, y));
            }
        }
        return pixels;
    }
};

TEST_F(MjClassicMapTest, RegionsColourOnlyForEveryFiveBoardsCompleted)
{
    struct Row
    {
        int board;
        bool region1;
        bool region2;
    };
    for (const Row& row : {Row{0, false, false}, Row{4, false, false}, Row{5, true, false},
                           Row{9, true, false}, Row{10, true, true}}) {
        SCOPED_TRACE("board " + std::to_string(row.board));
        DropScreen();
        MakeScreen(kQuestLook);
        screen->BuildSpiritMap(row.board);
        // Footsteps lie inside the regions: a region counts as coloured when nearly all of it
        // shows its coloured picture.
        EXPECT_EQ(ShareOfPicture(1) > 0.9, row.region1);
        EXPECT_EQ(ShareOfPicture(2) > 0.9, row.region2);
        EXPECT_LT(ShareOfPicture(1), row.region1 ? 1.01 : 0.5);
    }
}

TEST_F(MjClassicMapTest, FootstepsMarkTheBoardsBeforeTheCurrentOneAndTheMarkerTheCurrent)
{
    struct Row
    {
        int board;
        int footsteps; // drawn into the map
    };
    for (const Row& row : {Row{0, 0}, Row{1, 1}, Row{3, 3}}) {
        SCOPED_TRACE("board " + std::to_string(row.board));
        DropScreen();
        MakeScreen(kQuestLook);
        screen->BuildSpiritMap(row.board);
        for (int n = 1; n <= row.board + 2; ++n) {
            EXPECT_EQ(!AreaIsPlain(Pos("map_steps", n), kStepSize, kStepSize), n <= row.footsteps)
                << "footstep " << n;
        }
        ASSERT_NE(screen->_mapExtraSprite, nullptr);
        const Point marker = Pos("map_steps", row.board + 1);
        EXPECT_EQ(screen->_mapExtraSprite->GetX(), marker.GetX());
        EXPECT_EQ(screen->_mapExtraSprite->GetY(), marker.GetY());
        EXPECT_FALSE(screen->_mapExtraSprite->IsVisible());
    }
}

TEST_F(MjClassicMapTest, BuildingTwiceGivesTheSamePictureAndOneMarker)
{
    screen->BuildSpiritMap(7);
    const std::vector<Color> first = SheetPixels();
    CastMember* firstMarker = screen->_mapExtraSprite;
    screen->BuildSpiritMap(7);
    const std::vector<Color> second = SheetPixels();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t n = 0; n < first.size(); ++n) {
        ASSERT_TRUE(testsupport::SameRgb(first[n], second[n])) << "pixel " << n;
    }
    EXPECT_NE(screen->_mapExtraSprite, firstMarker);
    Run(20);
    int markers = 0;
    for (CastMember* member : Manager()->GetCast()->GetCastMembers()) {
        markers += member == screen->_mapExtraSprite ? 1 : 0;
    }
    EXPECT_EQ(markers, 1);
}

TEST_F(MjClassicMapTest, StripsShowTheirPartOfTheMapAfterEachBuild)
{
    // Made once, off screen to the right, strip k on column k.
    screen->BuildSpiritMap(0);
    MjTile* roll = screen->_mapRollSprite;
    ASSERT_NE(roll, nullptr);
    EXPECT_EQ(roll->GetX(), 800);
    screen->BuildSpiritMap(6);
    EXPECT_EQ(screen->_mapRollSprite, roll);
    const Point step = Pos("map_steps", 3);
    const int x = step.GetX() + kStepSize / 2;
    const int y = step.GetY() + kStepSize / 2;
    const int column = x / 50;
    auto* strip = dynamic_cast<CastMemberImage*>(screen->_mapSprites[column]);
    ASSERT_NE(strip, nullptr);
    EXPECT_EQ(strip->GetX(), 800);
    ASSERT_NE(strip->GetImage(), nullptr);
    Canvas* frame = strip->GetImage()->GetCanvas();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(testsupport::SameRgb(frame->GetPixel(x - column * 50, y),
                                     screen->_spiritMapSheet->GetPixel(x, y)));
    // The region drawn by board 6 shows in its strip too.
    const Point region = Pos("map", 1);
    const int rx = region.GetX() + 160;
    const int ry = region.GetY() + 100;
    auto* regionStrip = dynamic_cast<CastMemberImage*>(screen->_mapSprites[rx / 50]);
    Canvas coloured("images/map_level1_color.jpg", nullptr);
    EXPECT_TRUE(testsupport::SameRgb(
        regionStrip->GetImage()->GetCanvas()->GetPixel(rx - (rx / 50) * 50, ry),
        coloured.GetPixel(160, 100)));
}

TEST_F(MjClassicMapTest, BoardsPastTheMapsRoomKeepItsLastRegionAndFootstep)
{
    // Boards 60 and up have no footstep of their own and 12 regions cover 60 boards.
    screen->BuildSpiritMap(75);
    ASSERT_NE(screen->_mapExtraSprite, nullptr);
    const Point last = Pos("map_steps", MjClassic::kMapStepImages);
    EXPECT_EQ(screen->_mapExtraSprite->GetX(), last.GetX());
    EXPECT_EQ(screen->_mapExtraSprite->GetY(), last.GetY());
    EXPECT_NE(testsupport::ReadLog().find("Board 75 lies past the map's last footstep"),
              std::string::npos);
    // A board below 0 makes the map and draws nothing.
    DropScreen();
    MakeScreen(kQuestLook);
    screen->BuildSpiritMap(-1);
    EXPECT_NE(screen->_mapRollSprite, nullptr);
    EXPECT_EQ(screen->_mapExtraSprite, nullptr);
    EXPECT_TRUE(AreaIsPlain(Pos("map_steps", 1), kStepSize, kStepSize));
}

// The map opens before the coming board (the current one): the scores are those of the board
// just played, the best score and its holder the coming board's record to beat ("0" and nobody
// when it has none).
TEST_F(MjClassicMapTest, TextsNameThePlayerTheScoresAndTheHolder)
{
    screen->_puzzle = 2;
    const int type = screen->_config->_type;
    const std::string played = MjPuzzleRules::SeedKey(type, 1);
    screen->_highScoresFile->Write("prevHighScore", played, 777);
    screen->_highScoresFile->Write("achieved", played, std::string("Red Owl"));
    const std::string coming = MjPuzzleRules::SeedKey(type, 2);
    screen->_highScoresFile->Write("prevHighScore", coming, 12345);
    screen->_highScoresFile->Write("achieved", coming, std::string("Blue Fox"));
    screen->_boardScore = 250;
    screen->_score = 1250;
    screen->ShowMapTexts();
    ASSERT_NE(screen->_infoLines[4], nullptr);
    EXPECT_EQ(screen->_infoLines[0]->GetText(), app->GetPlayerName());
    EXPECT_EQ(screen->_infoLines[1]->GetText(), "250");
    EXPECT_EQ(screen->_infoLines[2]->GetText(), "1,250");
    EXPECT_EQ(screen->_infoLines[3]->GetText(), "12,345");
    EXPECT_EQ(screen->_infoLines[4]->GetText(), "Blue Fox");
    EXPECT_EQ(screen->_infoLines[5], nullptr);
    for (int n = 0; n < 5; ++n) {
        EXPECT_TRUE(screen->_infoLines[n]->IsVisible());
    }
    // A coming board without a record: "0" and nobody.
    screen->_puzzle = 3;
    screen->ShowMapTexts();
    EXPECT_EQ(screen->_infoLines[3]->GetText(), "0");
    EXPECT_EQ(screen->_infoLines[4]->GetText(), "");
    // Remade on every call; with a bonus life the total alternates with its note.
    MjTextLabel* oldTotal = screen->_infoLines[2];
    screen->_bonusLifeEarned = 1;
    screen->ShowMapTexts();
    EXPECT_NE(screen->_infoLines[2], oldTotal);
    bool noted = false;
    for (int t = 0; t < 300 && !noted; ++t) {
        Run(10);
        noted = screen->_infoLines[2]->GetText() == "Bonus Life";
    }
    EXPECT_TRUE(noted);
}

TEST_F(MjClassicMapTest, APressOnTheOpenMapRollsItUpAndOpensTheBoard)
{
    StartBoard(ThirtySixTiles());
    screen->BuildSpiritMap(2);
    // The map as its opening leaves it: every strip in place, the marker blinking.
    for (int k = 0; k < MjClassic::kMapSprites; ++k) {
        screen->_mapSprites[k]->Move(50 * k, 0, true);
    }
    screen->ShowMapTexts();
    screen->_mapRollSprite->Hide();
    screen->_mapExtraSprite->Show();
    screen->_mapExtraSprite->SetBlinkRate(300);
    screen->_mapExtraSprite->Blink(9999);
    screen->_spiritStep = MjClassic::kMapSprites;
    screen->_inPlay = 0;
    TakeCues();

    auto* strip = dynamic_cast<MjTile*>(screen->_mapSprites[5]);
    ASSERT_NE(strip, nullptr);
    Press(strip);
    EXPECT_EQ(screen->_mapExtraSprite, nullptr);
    Run(static_cast<unsigned int>(screen->_spiritSpeed) * 20);
    for (int k = 0; k < MjClassic::kMapSprites; ++k) {
        EXPECT_EQ(screen->_mapSprites[k]->GetX(), 800) << "strip " << k;
    }
    EXPECT_EQ(screen->_mapRollSprite->GetX(), 800);
    for (MjTextLabel* line : screen->_infoLines) {
        EXPECT_EQ(line, nullptr);
    }
    EXPECT_EQ(screen->_spiritStep, 0);
    const std::vector<std::string> cues = TakeCues();
    EXPECT_NE(std::find(cues.begin(), cues.end(), "CFG_OPENINGSCROLL 0"), cues.end());
}

} // namespace
} // namespace mjtest
