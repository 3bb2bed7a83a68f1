// window_test.cpp: creation, showing and destruction with the messages they
// send, the default window procedure, and message boxes.
#include <gtest/gtest.h>

#include "support.h"

namespace {

using wt::g_on;

TEST(Creation, SendsTheCreationMessagesInsideTheCallAndSizesTheClient)
{
    HWND hwnd = wt::MakeWindow(false);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(wt::Messages(), (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}));
    for (const wt::Delivery& d : wt::Deliveries()) EXPECT_EQ(d.depth, 0);
    int create = wt::Find("CreateWindowExA");
    ASSERT_EQ(create, 1);   // right after the class registration
    EXPECT_LT(create, wt::Find("WndProc", WM_GETMINMAXINFO));
    const winsim::Call& c = winsim::Log()[create];
    EXPECT_EQ(c.result, reinterpret_cast<std::intptr_t>(hwnd));
    EXPECT_EQ(c.text, std::string("WINSIMTEST\0test", 15));
    EXPECT_EQ(c.args, (std::vector<std::intptr_t>{0, 0x00CA0000, 10, 20, 396, 305, 0, 0, 0x400000, 0}));
    SIZE client = winsim::ClientSize();
    EXPECT_EQ(client.cx, 390);
    EXPECT_EQ(client.cy, 280);
    // Invisible until shown: nothing drawn, nothing to paint.
    EXPECT_EQ(winsim::Screen().At(0, 0), winsim::kSentinel);
    EXPECT_FALSE(winsim::AnythingInvalid());
}

TEST(Creation, ClientAreaFollowsTheMetrics)
{
    winsim::SetSystemMetric(SM_CYCAPTION, 25);
    winsim::SetSystemMetric(SM_CXDLGFRAME, 4);
    winsim::SetSystemMetric(SM_CYDLGFRAME, 2);
    wt::MakeWindow(false);
    EXPECT_EQ(winsim::ClientSize().cx, 388);   // 396 - 2 * 4
    EXPECT_EQ(winsim::ClientSize().cy, 276);   // 305 - 25 - 2 * 2
    EXPECT_EQ(GetSystemMetrics(SM_CXMAXIMIZED), 1032);
}

TEST(Creation, FailsForAnUnknownClassAndWhenCreateRefuses)
{
    EXPECT_EQ(CreateWindowExA(0, "NOSUCHCLASS", "x", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                              winsim::ModuleHandle(), nullptr),
              nullptr);
    g_on[WM_CREATE] = [](HWND, WPARAM, LPARAM) -> LRESULT { return -1; };
    winsim::ClearLog();
    EXPECT_EQ(wt::MakeWindow(false), nullptr);
    std::vector<UINT> m = wt::Messages();
    ASSERT_GE(m.size(), 2u);
    EXPECT_EQ((std::vector<UINT>{m.end() - 3, m.end()}), (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(winsim::MainWindow(), nullptr);
}

TEST(Destruction, CloseThroughDefWindowProcDestroysWithDestroyNestedInside)
{
    HWND hwnd = wt::MakeWindow();
    SetTimer(hwnd, 1, 100, nullptr);
    int timers = 0;
    g_on[WM_TIMER] = [&](HWND, WPARAM, LPARAM) -> LRESULT { return ++timers, 0; };
    g_on[WM_DESTROY] = [](HWND, WPARAM, LPARAM) -> LRESULT {
        EXPECT_NE(IsWindow(winsim::MainWindow()), FALSE);   // still alive while WM_DESTROY runs
        PostQuitMessage(0);
        return 0;
    };
    winsim::ClearLog();
    EXPECT_EQ(SendMessageA(hwnd, WM_CLOSE, 0, 0), 0);
    int close = wt::Find("WndProc", WM_CLOSE);
    int def = wt::Find("DefWindowProcA", 0, close);
    int destroy = wt::Find("WndProc", WM_DESTROY);
    ASSERT_GE(close, 0);
    ASSERT_GT(def, close);
    ASSERT_GT(destroy, def);
    EXPECT_EQ(winsim::Log()[close].depth, 0);
    EXPECT_EQ(winsim::Log()[def].depth, 1);
    EXPECT_EQ(winsim::Log()[destroy].depth, 1);   // sent from inside DefWindowProcA
    EXPECT_EQ(wt::Messages().back(), static_cast<UINT>(WM_NCDESTROY));

    EXPECT_EQ(IsWindow(hwnd), FALSE);
    EXPECT_EQ(winsim::MainWindow(), nullptr);
    EXPECT_EQ(GetDC(hwnd), nullptr);
    EXPECT_EQ(InvalidateRect(hwnd, nullptr, TRUE), FALSE);
    EXPECT_FALSE(winsim::RunUntil(1000));   // the quit; no tick of the dead window's timer
    EXPECT_EQ(timers, 0);
}

TEST(Destruction, TheCaptionCloseButtonGoesThroughSysCommand)
{
    wt::MakeWindow();
    g_on[WM_DESTROY] = [](HWND, WPARAM, LPARAM) -> LRESULT { return PostQuitMessage(0), 0; };
    winsim::ScheduleCloseRequest(500);
    winsim::ClearLog();
    EXPECT_FALSE(winsim::RunUntil(1000));
    std::vector<UINT> m = wt::Messages();
    ASSERT_GE(m.size(), 3u);
    EXPECT_EQ((std::vector<UINT>{m.begin(), m.begin() + 2}), (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE}));
    EXPECT_NE(wt::Find("WndProc", WM_DESTROY), -1);
    EXPECT_EQ(winsim::Now(), 500u);
}

TEST(MessageBox, DisablesTheOwnerDropsItsInputAndPaintsFromItsLoop)
{
    HWND hwnd = wt::MakeWindow();
    bool enabledWhileUp = true;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        enabledWhileUp = winsim::WindowEnabled();
        EXPECT_EQ(box.shownAt, 256u);
        EXPECT_EQ(winsim::Now(), 1256u);   // after the default hold of 1000 ms
        return IDYES;
    });
    int clicks = 0, answer = 0;
    g_on[WM_LBUTTONDOWN] = [&](HWND, WPARAM, LPARAM) -> LRESULT { return ++clicks, 0; };
    g_on[WM_TIMER] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
        KillTimer(h, 1);
        InvalidateRect(h, nullptr, TRUE);
        answer = MessageBoxA(h, "question\ntwo lines", "caption", MB_YESNO | MB_ICONQUESTION);
        return 0;
    };
    SetTimer(hwnd, 1, 256, nullptr);
    winsim::ScheduleClick(600, 100, 100);
    winsim::ScheduleCloseRequest(700);
    winsim::ScheduleClick(1500, 100, 100);
    winsim::ClearLog();
    winsim::RunUntil(2000);

    EXPECT_EQ(answer, IDYES);
    EXPECT_FALSE(enabledWhileUp);
    EXPECT_TRUE(winsim::WindowEnabled());
    EXPECT_EQ(clicks, 1);                        // only the one after the box
    EXPECT_EQ(wt::Count("InputDropped"), 3);     // down, up, close
    EXPECT_NE(winsim::MainWindow(), nullptr);
    int box = wt::Find("MessageBoxA");
    int paint = wt::Find("WndProc", WM_PAINT, box);
    ASSERT_GT(paint, box);
    EXPECT_EQ(winsim::Log()[paint].depth, 1);    // inside the WM_TIMER handler's box
    EXPECT_EQ(winsim::Log()[box].text, std::string("question\ntwo lines\0caption", 26));
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxes()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(winsim::MessageBoxes()[0].answer, IDYES);
}

TEST(MessageBox, DefaultAnswersAndTheOwnerDestroyedWhileItIsUp)
{
    HWND hwnd = wt::MakeWindow();
    EXPECT_EQ(MessageBoxA(hwnd, "a", "c", MB_ICONEXCLAMATION), IDOK);
    EXPECT_EQ(MessageBoxA(hwnd, "a", "c", MB_YESNO | MB_ICONQUESTION), IDNO);

    bool asked = false;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall&) { return asked = true, IDYES; });
    winsim::ScheduleCall(winsim::Now() + 300, [] { SendMessageA(winsim::MainWindow(), WM_CLOSE, 0, 0); });
    EXPECT_EQ(MessageBoxA(hwnd, "a", "c", MB_YESNO), 0);
    EXPECT_FALSE(asked);
    EXPECT_EQ(IsWindow(hwnd), FALSE);
    EXPECT_TRUE(winsim::Errors().empty());
}

}  // namespace
