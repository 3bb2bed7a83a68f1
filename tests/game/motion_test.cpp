// The motion pass: stages by speed, the ends of a virus and of a cross, and
// the redraw of each touched hole at once with its own DCs.
#include <gtest/gtest.h>

#include "game/game.h"
#include "pictures.h"
#include "resource.h"
#include "support.h"

namespace {

using test::kAny;

struct Pass {
    int stage;   // after the pass
    int rows;    // of the sprite shown at the bottom of the box
};

// Runs a virus placed in hole 4 (stage 1, as the spawn step leaves it)
// through the passes and checks each against the table.
void ExpectPasses(int speed, int hits, const std::vector<Pass>& passes, int sprite)
{
    const winsim::Picture picture = test::ResourcePicture(sprite);
    const winsim::Picture hole = test::ResourcePicture(IDB_HOLE);
    test::RunInRound([&] {
        g_holeStage[4] = 1;
        g_holeSpeed[4] = speed;
        g_holeHits[4] = hits;
        for (size_t p = 0; p < passes.size(); ++p) {
            SCOPED_TRACE("pass " + std::to_string(p + 1));
            MotionPass(winsim::MainWindow());
            EXPECT_EQ(g_holeStage[4], passes[p].stage);
            const winsim::Picture& screen = winsim::Screen();
            EXPECT_REGION_SHOWS(screen, 160, 130, hole, 0, 10);
            EXPECT_REGION_IS(screen, 168, 140, 200, 172 - passes[p].rows, test::kWhite);
            EXPECT_REGION_SHOWS(screen, 168, 172 - passes[p].rows, picture, 0, passes[p].rows);
        }
    });
}

TEST(Motion, SpeedOneRisesWholeAndSinks)
{
    ExpectPasses(1, 1,
                 {{2, 8}, {3, 12}, {4, 16}, {5, 20}, {6, 24}, {7, 28}, {8, 32}, {9, 28},
                  {10, 24}, {11, 20}, {12, 16}, {13, 12}, {14, 8}, {15, 4}, {16, 0}, {0, 0}},
                 IDB_BLUEVIRUS);
}

TEST(Motion, SpeedTwoSkipsTheWholeFaceAndStage16)
{
    ExpectPasses(2, 2, {{3, 12}, {5, 20}, {7, 28}, {9, 28}, {11, 20}, {13, 12}, {15, 4}, {0, 0}},
                 IDB_REDVIRUS);
}

TEST(Motion, CrossRunsThreePassesThenTheHoleIsEmpty)
{
    const winsim::Picture cross = test::ResourcePicture(IDB_CROSS);
    test::RunInRound([&] {
        g_holeStage[0] = 18;
        g_holeSpeed[0] = 1;
        static const int kAfter[] = {19, 20, 0};
        for (int expected : kAfter) {
            MotionPass(winsim::MainWindow());
            EXPECT_EQ(g_holeStage[0], expected);
            if (expected != 0)
                EXPECT_REGION_SHOWS(winsim::Screen(), 68, 80, cross, 0, 32);
            else
                EXPECT_REGION_IS(winsim::Screen(), 68, 80, 100, 112, test::kWhite);
        }
    });
}

TEST(Motion, EmptyHolesAreNotTouchedAndEachHoleHasItsOwnDCs)
{
    test::RunInRound([] {
        g_holeStage[2] = 7;
        g_holeSpeed[2] = 2;
        g_holeHits[2] = 1;
        g_holeStage[6] = 20;
        g_holeSpeed[6] = 1;
        winsim::ClearLog();
        MotionPass(winsim::MainWindow());
        const std::intptr_t hole = test::Handle(g_hbmHole);
        const std::intptr_t blue = test::Handle(g_hbmBlueVirus);
        EXPECT_SEQUENCE(winsim::Log(),
                        (std::vector<test::ExpectedCall>{
                            {"GetDC", {kAny}},
                            {"CreateCompatibleDC", {kAny}},
                            {"SelectObject", {kAny, hole}},
                            {"BitBlt", {kAny, 260, 70, 48, 48, kAny, 0, 0, SRCCOPY}},
                            {"SelectObject", {kAny, blue}},
                            {"BitBlt", {kAny, 268, 80 + 4, 32, 28, kAny, 0, 0, SRCCOPY}},
                            {"ReleaseDC", {kAny, kAny}},
                            {"DeleteDC", {kAny}},
                            // hole 6's cross ends: redrawn as an empty frame
                            {"GetDC", {kAny}},
                            {"CreateCompatibleDC", {kAny}},
                            {"SelectObject", {kAny, hole}},
                            {"BitBlt", {kAny, 60, 190, 48, 48, kAny, 0, 0, SRCCOPY}},
                            {"SelectObject", {kAny, kAny}},
                            {"BitBlt", {kAny, 68, 200 + 32, 32, 0, kAny, 0, 0, SRCCOPY}},
                            {"ReleaseDC", {kAny, kAny}},
                            {"DeleteDC", {kAny}},
                        }),
                        "motion pass");
        EXPECT_EQ(g_holeStage[2], 9);
        EXPECT_EQ(g_holeStage[6], 0);
        EXPECT_EQ(winsim::LiveObjects().windowDCs, 0);
        EXPECT_EQ(winsim::LiveObjects().memoryDCs, 0);
        EXPECT_FALSE(winsim::AnythingInvalid()) << "the pass invalidates nothing";
    });
}

TEST(Motion, StruckVirusIsRedrawnWithItsNewSprite)
{
    // A six-hit virus struck once shows the shield from the next pass on.
    const winsim::Picture shield = test::ResourcePicture(IDB_SHIELDVIRUS);
    test::RunInRound([&] {
        g_holeStage[8] = 7;
        g_holeSpeed[8] = 1;
        g_holeHits[8] = 5;
        MotionPass(winsim::MainWindow());
        EXPECT_REGION_SHOWS(winsim::Screen(), 268, 200, shield, 0, 32);
    });
}

}  // namespace
