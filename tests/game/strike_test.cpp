// Striking: the hit boxes' exclusive bounds, which holes can be struck, the
// sprites and sounds strike by strike, and the knock-out.
#include <gtest/gtest.h>

#include "game/game.h"
#include "pictures.h"
#include "resource.h"
#include "support.h"

namespace {

using test::kAny;

std::vector<winsim::Call> Sounds()
{
    return test::CallsNamed(winsim::Log(), {"PlaySoundA"});
}

void Press(int x, int y)
{
    WndProc(winsim::MainWindow(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
}

struct PressCase {
    const char* name;
    int hole;
    int x, y;
    bool hits;
};

// Hole 4 is at column 1, row 1: its sprite box is x 168..199, y 140..171;
// hole 8's is x 268..299, y 200..231.
const PressCase kPresses[] = {
    {"LeftColumnMisses", 4, 168, 150, false},
    {"ColumnAfterTheLeftHits", 4, 169, 150, true},
    {"RightColumnHits", 4, 199, 150, true},
    {"PastTheRightMisses", 4, 200, 150, false},
    {"TopRowMisses", 4, 180, 140, false},
    {"RowBelowTheTopHits", 4, 180, 141, true},
    {"BottomRowHits", 4, 180, 171, true},
    {"PastTheBottomMisses", 4, 180, 172, false},
    {"LastHoleBottomRightHits", 8, 299, 231, true},
    {"LastHoleTopLeftMisses", 8, 268, 200, false},
    {"FirstHoleInnerCornerHits", 0, 69, 81, true},
    {"OnTheFrameMisses", 4, 163, 135, false},
    {"BetweenCellsMisses", 4, 230, 150, false},
    {"OnTheTextLinesMisses", 0, 20, 10, false},
};

class HitBox : public testing::TestWithParam<PressCase> {};

TEST_P(HitBox, BoundsAreExclusive)
{
    const PressCase& c = GetParam();
    test::RunInRound([&] {
        g_holeStage[c.hole] = 8;
        g_holeSpeed[c.hole] = 1;
        g_holeHits[c.hole] = 2;
        winsim::ClearLog();
        Press(c.x, c.y);
        EXPECT_EQ(g_holeHits[c.hole], c.hits ? 1 : 2);
        EXPECT_EQ(Sounds().size(), c.hits ? 1u : 0u);
    });
}

INSTANTIATE_TEST_SUITE_P(Presses, HitBox, testing::ValuesIn(kPresses),
                         [](const testing::TestParamInfo<PressCase>& info) {
                             return std::string(info.param.name);
                         });

class StageUnderPress : public testing::TestWithParam<int> {};

TEST_P(StageUnderPress, ActiveOrSilent)
{
    const int stage = GetParam();
    const bool active = stage >= 1 && stage <= 15;
    test::RunInRound([&] {
        g_holeStage[4] = stage;
        g_holeSpeed[4] = 1;
        g_holeHits[4] = 2;
        winsim::ClearLog();
        const winsim::Picture before = winsim::Screen();
        Press(184, 156);
        EXPECT_EQ(g_holeHits[4], active ? 1 : 2);
        EXPECT_EQ(g_holeStage[4], stage);
        EXPECT_EQ(Sounds().size(), active ? 1u : 0u);
        if (!active) {
            EXPECT_EQ(test::FirstDifference(before, winsim::Screen(), 0, 0, 390, 280), "");
            EXPECT_SEQUENCE(winsim::Log(),
                            (std::vector<test::ExpectedCall>{
                                {"GetDC", {}}, {"CreateCompatibleDC", {}},
                                {"SelectObject", {kAny, test::Handle(g_hFont)}},
                                {"GetTextMetricsA", {}}, {"SelectObject", {}},
                                {"ReleaseDC", {}}, {"DeleteDC", {}}}),
                            "a silent press");
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Stages, StageUnderPress, testing::Values(0, 1, 2, 15, 16, 18, 19, 20));

TEST(Strike, SixHitVirusStrikeByStrike)
{
    struct Step {
        int sprite;   // what the box shows after the strike
        int sound;
    };
    static const Step kSteps[] = {
        {IDB_SHIELDVIRUS, IDW_STRIKE}, {IDB_SHIELDVIRUS, IDW_STRIKE}, {IDB_SHIELDVIRUS, IDW_STRIKE},
        {IDB_REDVIRUS, IDW_STRIKE},    {IDB_BLUEVIRUS, IDW_STRIKE},   {IDB_CROSS, IDW_KNOCKOUT},
    };
    test::RunInRound([&] {
        g_holeStage[4] = 8;
        g_holeSpeed[4] = 1;
        g_holeHits[4] = 6;
        for (size_t i = 0; i < std::size(kSteps); ++i) {
            SCOPED_TRACE("strike " + std::to_string(i + 1));
            winsim::ClearLog();
            Press(184, 156);
            EXPECT_REGION_SHOWS(winsim::Screen(), 168, 140, test::ResourcePicture(kSteps[i].sprite), 0, 32);
            EXPECT_SEQUENCE(Sounds(),
                            (std::vector<test::ExpectedCall>{
                                {"PlaySoundA", {kSteps[i].sound, test::Handle(winsim::ModuleHandle()),
                                                0x40005}}}),
                            "sound");
        }
        EXPECT_EQ(g_holeStage[4], 18);
        EXPECT_EQ(g_score, 1u);
    });
}

TEST(Strike, StandingVirusKeepsItsStageAndSpeed)
{
    test::RunInRound([] {
        g_holeStage[1] = 5;
        g_holeSpeed[1] = 2;
        g_holeHits[1] = 2;
        winsim::ClearLog();
        Press(284 - 100, 96);
        EXPECT_EQ(g_holeHits[1], 1);
        EXPECT_EQ(g_holeStage[1], 5);
        EXPECT_EQ(g_holeSpeed[1], 2);
        EXPECT_EQ(g_score, 0u);
        // Only the sprite's visible rows are drawn: stage 5 shows 20.
        EXPECT_SEQUENCE(test::CallsNamed(winsim::Log(), {"BitBlt", "InvalidateRect"}),
                        (std::vector<test::ExpectedCall>{
                            {"BitBlt", {kAny, 168, 80 + 12, 32, 20, kAny, 0, 0, SRCCOPY}}}),
                        "strike at stage 5");
    });
}

TEST(Strike, KnockOutCallsInOrder)
{
    winsim::SetTextMetrics(15, 2, 6);  // h = 17: the text lines end at 4h + 5 = 73
    test::RunInRound([] {
        g_holeStage[7] = 12;
        g_holeSpeed[7] = 2;
        g_holeHits[7] = 1;
        winsim::ClearLog();
        Press(184, 216);
        const std::intptr_t font = test::Handle(g_hFont);
        const std::intptr_t cross = test::Handle(g_hbmCross);
        const std::vector<winsim::Call>& log = winsim::Log();
        const std::intptr_t previousFont = log.size() > 2 ? log[2].result : 0;
        EXPECT_SEQUENCE(log,
                        (std::vector<test::ExpectedCall>{
                            {"GetDC", {kAny}},
                            {"CreateCompatibleDC", {kAny}},
                            {"SelectObject", {kAny, font}},
                            {"GetTextMetricsA", {kAny}},
                            {"SelectObject", {kAny, cross}},
                            {"BitBlt", {kAny, 168, 200, 32, 32, kAny, 0, 0, SRCCOPY}},
                            {"InvalidateRect", {kAny, 0, 0, 390, 73, TRUE}},
                            {"PlaySoundA", {IDW_KNOCKOUT, kAny, 0x40005}},
                            {"SelectObject", {kAny, previousFont}},
                            {"ReleaseDC", {kAny, kAny}},
                            {"DeleteDC", {kAny}},
                        }),
                        "knock-out");
        EXPECT_EQ(g_holeStage[7], 18);
        EXPECT_EQ(g_holeSpeed[7], 1) << "a cross always runs at speed 1";
        EXPECT_EQ(g_score, 1u);
        // The four text lines and nothing else are invalid.
        EXPECT_TRUE(winsim::IsInvalid(0, 0));
        EXPECT_TRUE(winsim::IsInvalid(389, 72));
        EXPECT_FALSE(winsim::IsInvalid(0, 73));
        // The score line shows the new score only after the repaint.
        UpdateWindow(winsim::MainWindow());
        EXPECT_STREQ(g_scoreText, "SCORE : 1");
    });
}

TEST(Strike, DoubleClickIsTwoStrikes)
{
    winsim::ScheduleCall(test::kInRound, [] {
        KillTimer(winsim::MainWindow(), TIMER_ID);
        g_holeStage[3] = 6;
        g_holeSpeed[3] = 1;
        g_holeHits[3] = 2;
        winsim::ClearLog();
    });
    winsim::ScheduleClick(test::kInRound + 10, 84, 156);
    winsim::ScheduleClick(test::kInRound + 10, 84, 156);
    winsim::ScheduleCall(test::kInRound + 20, [] {
        EXPECT_EQ(g_holeStage[3], 18);
        EXPECT_EQ(g_score, 1u);
        EXPECT_SEQUENCE(Sounds(),
                        (std::vector<test::ExpectedCall>{
                            {"PlaySoundA", {IDW_STRIKE}}, {"PlaySoundA", {IDW_KNOCKOUT}}}),
                        "double click");
        winsim::ScheduleCloseRequest(winsim::Now() + 1);
    });
    test::RunProgram();
    test::ExpectNoStandInErrors();
}

TEST(Strike, PressesBeforeTheRoundChangeNothing)
{
    // Presses on every sprite box during the search phase.
    for (int i = 0; i < HOLE_COUNT; ++i)
        winsim::ScheduleClick(test::kOpeningEnd + 50 + i, 84 + 100 * (i % 3), 96 + 60 * (i / 3));
    winsim::ScheduleCloseRequest(test::kOpeningEnd + 300);
    test::RunProgram();
    EXPECT_EQ(test::CallsNamed(winsim::Log(), {"PlaySoundA"}).size(), 0u);
    int presses = 0;
    for (const winsim::Call& call : winsim::Log())
        presses += call.name == "WndProc" && call.args[0] == WM_LBUTTONDOWN;
    EXPECT_EQ(presses, 9);
    for (int i = 0; i < HOLE_COUNT; ++i) {
        EXPECT_EQ(g_holeStage[i], 0);
        EXPECT_EQ(g_holeHits[i], 0);
    }
    EXPECT_EQ(g_score, 0u);
}

}  // namespace
