// The search ticks, the magnifier's steps and the detection's two boxes.
#include <gtest/gtest.h>

#include "game/game.h"
#include "pictures.h"
#include "resource.h"
#include "support.h"

namespace {

using test::kAny;

// The detection's texts in code page 932, as the boxes must receive them.
const char kFoundText[] =
    "\x8b\x5e\x8e\x97\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xaa\x8c\xa9\x82\xc2\x82\xa9\x82\xe8"
    "\x82\xdc\x82\xb5\x82\xbd\x81\x42\x0a\x8f\xda\x8d\xd7\x82\xf0\x95\x5c\x8e\xa6\x82\xb5\x82"
    "\xdc\x82\xb7\x81\x42";

TEST(Search, MagnifierStepsRoundItsSquare)
{
    struct Step {
        int tick, x, y;
    };
    static const Step kSteps[] = {{0, 150, 150}, {1, 154, 150}, {2, 154, 154}, {3, 150, 154},
                                  {4, 150, 150}, {5, 154, 150}, {6, 154, 154}, {7, 150, 154}};
    const winsim::Picture magnifier = test::ResourcePicture(IDB_MAGNIFIER);
    int checked = 0;
    for (const Step& step : kSteps) {
        // Just after the tick that set g_tick and the repaint it asked for.
        winsim::ScheduleCall(test::kOpeningEnd + 256 * step.tick + 1, [&, step] {
            SCOPED_TRACE("tick " + std::to_string(step.tick));
            ++checked;
            EXPECT_EQ(g_tick, step.tick);
            const winsim::Picture& screen = winsim::Screen();
            EXPECT_REGION_SHOWS(screen, step.x, step.y, magnifier, 0, 48);
            // The rest of the magnifier's area was erased.
            EXPECT_REGION_IS(screen, 150, 150, step.x, 202, test::kWhite);
            EXPECT_REGION_IS(screen, step.x + 48, 150, 202, 202, test::kWhite);
            EXPECT_REGION_IS(screen, 150, 150, 202, step.y, test::kWhite);
            EXPECT_REGION_IS(screen, 150, step.y + 48, 202, 202, test::kWhite);
        });
    }
    winsim::ScheduleCloseRequest(test::kOpeningEnd + 256 * 7 + 10);
    test::RunProgram();
    EXPECT_EQ(checked, 8);
}

TEST(Search, TicksInvalidateOnlyTheMagnifierArea)
{
    winsim::ScheduleCloseRequest(test::kOpeningEnd + 256 * 7 + 10);
    test::RunProgram();
    std::vector<winsim::Call> invalidations;
    for (const winsim::Call& call : test::CallsNamed(winsim::Log(), {"InvalidateRect"}))
        invalidations.push_back(call);
    // The opening's whole-client invalidation, then one per search tick.
    ASSERT_EQ(invalidations.size(), 8u);
    EXPECT_EQ(invalidations[0].args, (std::vector<std::intptr_t>{invalidations[0].args[0], 0, TRUE}));
    for (size_t i = 1; i < invalidations.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(invalidations[i].args, (std::vector<std::intptr_t>{invalidations[0].args[0], 150, 150, 202, 202, TRUE}));
    }
}

TEST(Detection, BoxesInOrderThenTheRoundStarts)
{
    std::vector<winsim::MessageBoxCall> seen;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        seen.push_back(box);
        EXPECT_EQ(g_phase, PHASE_FOUND);
        EXPECT_EQ(g_tick, 8);
        return IDOK;
    });
    winsim::ScheduleCall(test::kDetection + 2 * 1000 + 1, [] {
        EXPECT_EQ(g_phase, PHASE_REMOVAL);
        EXPECT_EQ(g_tick, 0);
        winsim::ScheduleCloseRequest(winsim::Now() + 5);
    });
    test::RunProgram();

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].text, kFoundText);
    EXPECT_EQ(seen[0].text.size(), 49u);
    EXPECT_EQ(seen[0].flags, 0x30u);
    EXPECT_EQ(seen[0].caption, "Murvalo");
    EXPECT_EQ(seen[1].flags, 0x40u);
    EXPECT_EQ(seen[1].caption, "Murvalo");
    // The instructions: one line break, and the "30" of the round's length.
    EXPECT_EQ(std::count(seen[1].text.begin(), seen[1].text.end(), '\n'), 1);
    EXPECT_NE(seen[1].text.find("\x82\xa0\x82\xc8\x82\xbd\x82\xcc\x8e\xe8\x82\xc5"), std::string::npos)
        << "\"あなたの手で\" in code page 932";
    EXPECT_NE(seen[1].text.find("30"), std::string::npos);
    for (const winsim::MessageBoxCall& box : seen)
        EXPECT_EQ(box.owner, seen[0].owner);
    EXPECT_EQ(seen[1].shownAt, seen[0].shownAt + 1000) << "the second box follows the first at once";
}

TEST(Detection, CallsOfTheEighthTickInOrder)
{
    winsim::ScheduleCall(test::kDetection - 1, [] { winsim::ClearLog(); });
    winsim::ScheduleCall(test::kDetection + 2 * 1000 + 1, [] {
        winsim::ScheduleCloseRequest(winsim::Now() + 5);
    });
    test::RunProgram();
    const std::vector<winsim::Call> tick = test::CallsInside(winsim::Log(), WM_TIMER);
    std::vector<winsim::Call> own;
    for (const winsim::Call& call : tick)
        if (call.depth == tick.front().depth)
            own.push_back(call);
    EXPECT_SEQUENCE(test::CallsNamed(own, {"KillTimer", "InvalidateRect", "MessageBoxA", "SetTimer"}),
                    (std::vector<test::ExpectedCall>{
                        {"KillTimer", {kAny, TIMER_ID}},
                        {"InvalidateRect", {kAny, 0, TRUE}},
                        {"MessageBoxA", {kAny, 0x30}},
                        {"MessageBoxA", {kAny, 0x40}},
                        {"InvalidateRect", {kAny, 0, TRUE}},
                        {"SetTimer", {kAny, TIMER_ID, 100, 0}},
                    }),
                    "detection");
}

TEST(Detection, NoTickAndNoClickWhileABoxIsUp)
{
    winsim::SetMessageBoxHoldTime(5000);
    // A press on hole 0 while the first box is up goes nowhere.
    winsim::ScheduleClick(test::kDetection + 2000, 84, 96);
    std::vector<DWORD> ticks;
    int presses = 0;
    winsim::SetAfterDispatchHook([&](const MSG& msg) {
        if (msg.message == WM_TIMER)
            ticks.push_back(winsim::Now());
        if (msg.message == WM_LBUTTONDOWN)
            ++presses;
    });
    winsim::ScheduleCall(test::kDetection + 10000 + 150, [] {
        winsim::ScheduleCloseRequest(winsim::Now() + 1);
    });
    test::RunProgram();

    EXPECT_EQ(presses, 0);
    // Ticks: the opening, eight search ticks, then the first removal tick
    // 100 ms after the second box closed, however long the boxes took.
    ASSERT_EQ(ticks.size(), 10u);
    EXPECT_EQ(ticks[8], test::kDetection + 10000) << "the eighth search tick returns after both boxes";
    EXPECT_EQ(ticks[9], test::kDetection + 10000 + 100);
}

}  // namespace
