// queue_test.cpp: the order in which GetMessageA gives messages, timers on
// the virtual clock, scripted input and the loop that blocks forever.
#include <gtest/gtest.h>

#include "support.h"

namespace {

using wt::g_on;

std::vector<DWORD> TimesOf(UINT msg, const std::vector<std::pair<UINT, DWORD>>& seen)
{
    std::vector<DWORD> t;
    for (const auto& [m, at] : seen)
        if (m == msg) t.push_back(at);
    return t;
}

// Records (message, virtual time) for every message the window procedure gets.
std::vector<std::pair<UINT, DWORD>> g_seen;
void RecordAll(std::initializer_list<UINT> msgs)
{
    for (UINT m : msgs)
        g_on[m] = [m](HWND h, WPARAM wp, LPARAM lp) {
            g_seen.emplace_back(m, winsim::Now());
            return DefWindowProcA(h, m, wp, lp);
        };
}

TEST(Timers, KilledTimerGivesNoTickAndRestartCountsFromNow)
{
    HWND hwnd = wt::MakeWindow();
    RecordAll({WM_TIMER});
    SetTimer(hwnd, 1, 256, nullptr);
    ASSERT_TRUE(winsim::RunUntil(300));
    KillTimer(hwnd, 1);
    ASSERT_TRUE(winsim::RunUntil(2000));
    EXPECT_EQ(TimesOf(WM_TIMER, g_seen), (std::vector<DWORD>{256}));

    // SetTimer with the id of a running timer starts it again from now.
    SetTimer(hwnd, 1, 100, nullptr);
    winsim::RunUntil(2050);
    SetTimer(hwnd, 1, 100, nullptr);
    winsim::RunUntil(2260);
    EXPECT_EQ(TimesOf(WM_TIMER, g_seen), (std::vector<DWORD>{256, 2150, 2250}));
    EXPECT_TRUE(winsim::Errors().empty());
}

TEST(Timers, DueManyTimesWhileTheThreadSleptGivesOneTick)
{
    HWND hwnd = wt::MakeWindow();
    int ticks = 0;
    g_on[WM_TIMER] = [&](HWND, WPARAM, LPARAM) -> LRESULT {
        g_seen.emplace_back(WM_TIMER, winsim::Now());
        if (++ticks == 1) Sleep(1000);   // ten periods pass meanwhile
        return 0;
    };
    SetTimer(hwnd, 1, 100, nullptr);
    winsim::RunUntil(1350);
    // Coalesced: one tick when the handler returns, the next a period later.
    EXPECT_EQ(TimesOf(WM_TIMER, g_seen), (std::vector<DWORD>{100, 1100, 1200, 1300}));
}

TEST(Queue, PostedThenInputThenPaintThenTimer)
{
    HWND hwnd = wt::MakeWindow();
    RecordAll({WM_USER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, WM_TIMER});
    g_on[WM_PAINT] = [](HWND h, WPARAM, LPARAM) -> LRESULT {
        g_seen.emplace_back(WM_PAINT, winsim::Now());
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return 0;
    };
    // All become pending at 500 while the thread sleeps in a handler.
    SetTimer(hwnd, 1, 500, nullptr);
    winsim::ScheduleClick(500, 10, 10);
    g_on[WM_USER + 1] = [](HWND h, WPARAM, LPARAM) -> LRESULT {
        Sleep(600);
        InvalidateRect(h, nullptr, TRUE);
        PostMessageA(h, WM_USER, 0, 0);
        return 0;
    };
    SetTimer(hwnd, 2, 1, nullptr);   // raised to 10 ms
    g_on[WM_TIMER] = [](HWND h, WPARAM id, LPARAM) -> LRESULT {
        g_seen.emplace_back(WM_TIMER, winsim::Now());
        if (id == 2) {
            KillTimer(h, 2);
            SendMessageA(h, WM_USER + 1, 0, 0);
        }
        return 0;
    };
    winsim::RunUntil(700);
    std::vector<UINT> order;
    for (const auto& [m, at] : g_seen) order.push_back(m);
    EXPECT_EQ(order, (std::vector<UINT>{WM_TIMER, WM_USER, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_PAINT, WM_TIMER}));
    EXPECT_EQ(g_seen.front().second, 10u);
    EXPECT_EQ(g_seen.back().second, 610u);
}

TEST(Queue, ClickDuringALongHandlerArrivesAfterIt)
{
    HWND hwnd = wt::MakeWindow();
    RecordAll({WM_LBUTTONDOWN});
    g_on[WM_TIMER] = [](HWND h, WPARAM, LPARAM) -> LRESULT {
        KillTimer(h, 1);
        g_seen.emplace_back(WM_TIMER, winsim::Now());
        Sleep(3000);
        return 0;
    };
    SetTimer(hwnd, 1, 256, nullptr);
    winsim::ScheduleClick(1000, 150, 100);
    winsim::RunUntil(5000);
    ASSERT_EQ(g_seen.size(), 2u);
    EXPECT_EQ(g_seen[1], (std::pair<UINT, DWORD>{WM_LBUTTONDOWN, 3256}));
    int down = wt::Find("WndProc", WM_LBUTTONDOWN);
    ASSERT_GE(down, 0);
    EXPECT_EQ(winsim::Log()[down].args[2], MAKELPARAM(150, 100));
    EXPECT_EQ(winsim::Log()[down].depth, 0);
}

TEST(Queue, QuitComesAfterPostedMessagesAndEndsTheLoop)
{
    HWND hwnd = wt::MakeWindow();
    RecordAll({WM_USER});
    PostQuitMessage(3);
    PostMessageA(hwnd, WM_USER, 0, 0);
    EXPECT_FALSE(winsim::RunUntil(100));
    EXPECT_EQ(g_seen.size(), 1u);
    EXPECT_TRUE(winsim::QuitReceived());
    EXPECT_EQ(winsim::QuitCode(), 3);
}

TEST(Queue, ALoopThatWouldBlockForeverIsAnError)
{
    wt::MakeWindow();
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0xDEADu);
    ASSERT_EQ(winsim::Errors().size(), 1u);
    EXPECT_EQ(winsim::Errors()[0], "GetMessageA would block forever");
}

TEST(Queue, ScheduledCallsRunFromTheLoopInOrderWithInput)
{
    HWND hwnd = wt::MakeWindow();
    std::vector<std::string> order;
    g_on[WM_LBUTTONDOWN] = [&](HWND, WPARAM, LPARAM) -> LRESULT {
        order.push_back("click");
        return 0;
    };
    winsim::ScheduleCall(400, [&] { order.push_back("call 400"); });
    winsim::ScheduleClick(300, 5, 5);
    winsim::ScheduleCall(300, [&] { order.push_back("call 300 at " + std::to_string(winsim::Now())); });
    SetTimer(hwnd, 1, 1000, nullptr);
    winsim::RunUntil(500);
    EXPECT_EQ(order, (std::vector<std::string>{"click", "call 300 at 300", "call 400"}));
    EXPECT_EQ(winsim::Now(), 500u);
}

TEST(Clock, SleepAndTheEmptyMessageWaitAdvanceItAndTakeNothing)
{
    HWND hwnd = wt::MakeWindow();
    RecordAll({WM_USER});
    winsim::SetClock(1000);
    PostMessageA(hwnd, WM_USER, 0, 0);
    Sleep(200);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1200, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(GetTickCount(), 2400u);
    EXPECT_TRUE(g_seen.empty());
    winsim::RunUntil(2400);
    EXPECT_EQ(g_seen.size(), 1u);
}

}  // namespace
