// WndProc's dispatch: five messages handled, every other one given to
// DefWindowProcA unchanged, ticks told apart by phase alone.
#include <gtest/gtest.h>

#include "game/game.h"
#include "support.h"

namespace {

using test::kAny;

struct OtherMessage {
    const char* name;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

const OtherMessage kOtherMessages[] = {
    {"RightButton", WM_RBUTTONDOWN, 0x0002, 0x00640032},
    {"MouseMove", WM_MOUSEMOVE, 0x0001, 0x7FFF0001},
    {"Unknown", 0x7FFF, 0xDEADBEEF, -5},
};

class OtherMessages : public testing::TestWithParam<OtherMessage> {};

TEST_P(OtherMessages, ReachDefWindowProcUnchangedAndItsResultComesBack)
{
    const OtherMessage& m = GetParam();
    winsim::ScheduleCall(test::kOpeningEnd + 100, [&] {
        HWND hwnd = winsim::MainWindow();
        winsim::ClearLog();
        const LRESULT result = WndProc(hwnd, m.msg, m.wParam, m.lParam);
        const std::vector<winsim::Call> def = test::CallsNamed(winsim::Log(), {"DefWindowProcA"});
        ASSERT_FALSE(def.empty());
        EXPECT_SEQUENCE(std::vector<winsim::Call>(def.begin(), def.begin() + 1),
                        (std::vector<test::ExpectedCall>{
                            {"DefWindowProcA", {test::Handle(hwnd), static_cast<std::intptr_t>(m.msg),
                                                static_cast<std::intptr_t>(m.wParam), m.lParam}}}),
                        m.name);
        EXPECT_EQ(result, def[0].result);
        winsim::ScheduleCloseRequest(test::kOpeningEnd + 200);
    });
    EXPECT_EQ(test::RunProgram(), 0);
}

INSTANTIATE_TEST_SUITE_P(Dispatch, OtherMessages, testing::ValuesIn(kOtherMessages),
                         [](const testing::TestParamInfo<OtherMessage>& info) {
                             return std::string(info.param.name);
                         });

TEST(Dispatch, EraseBackgroundResultIsPassedThrough)
{
    // DefWindowProcA answers WM_ERASEBKGND with a non-zero value when it has
    // erased the DC; WndProc must hand that back rather than 0.
    winsim::ScheduleCall(test::kOpeningEnd + 100, [] {
        HWND hwnd = winsim::MainWindow();
        HDC hdc = GetDC(hwnd);
        EXPECT_NE(WndProc(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0), 0);
        ReleaseDC(hwnd, hdc);
        winsim::ScheduleCloseRequest(test::kOpeningEnd + 200);
    });
    test::RunProgram();
}

TEST(Dispatch, CloseThroughDefaultHandlingEndsTheProgram)
{
    winsim::ScheduleCall(test::kOpeningEnd + 100, [] {
        EXPECT_EQ(WndProc(winsim::MainWindow(), WM_CLOSE, 0, 0), 0);
        EXPECT_EQ(winsim::MainWindow(), nullptr);
    });
    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_EQ(winsim::LiveObjects().bitmaps, 0);
    test::ExpectNoStandInErrors();
}

TEST(Dispatch, TimerWithAnotherIdentifierIsATick)
{
    winsim::ScheduleCall(test::kOpeningEnd + 100, [] {
        ASSERT_EQ(g_tick, 0);
        winsim::ClearLog();
        EXPECT_EQ(WndProc(winsim::MainWindow(), WM_TIMER, 77, 0), 0);
        EXPECT_EQ(g_tick, 1);
        EXPECT_SEQUENCE(winsim::Log(),
                        (std::vector<test::ExpectedCall>{
                            {"InvalidateRect", {kAny, 150, 150, 202, 202, TRUE}}}),
                        "search tick from timer 77");
        EXPECT_TRUE(winsim::IsInvalid(150, 150));
        EXPECT_TRUE(winsim::IsInvalid(201, 201));
        EXPECT_FALSE(winsim::IsInvalid(202, 202));
        EXPECT_FALSE(winsim::IsInvalid(149, 170));
        winsim::ScheduleCloseRequest(test::kOpeningEnd + 200);
    });
    test::RunProgram();
}

TEST(Dispatch, TimerWhileABoxIsUpDoesNothing)
{
    int boxes = 0;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        ++boxes;
        if (boxes == 1) {
            EXPECT_EQ(g_phase, PHASE_FOUND);
            const int tick = g_tick;
            winsim::ClearLog();
            EXPECT_EQ(WndProc(box.owner, WM_TIMER, TIMER_ID, 0), 0);
            EXPECT_TRUE(winsim::Log().empty()) << test::Describe(winsim::Log().front());
            EXPECT_EQ(g_tick, tick);
            EXPECT_EQ(g_phase, PHASE_FOUND);
        }
        if (box.flags == (MB_YESNO | MB_ICONQUESTION)) {
            EXPECT_EQ(g_phase, PHASE_RESULT);
            winsim::ClearLog();
            EXPECT_EQ(WndProc(box.owner, WM_TIMER, TIMER_ID, 0), 0);
            EXPECT_TRUE(winsim::Log().empty());
            EXPECT_EQ(g_phase, PHASE_RESULT);
            return IDNO;
        }
        return IDOK;
    });
    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_EQ(boxes, 3);
}

}  // namespace
