// The machine over long runs and from one run to the next: handle values
// are reused instead of running out, freed objects are not kept for ever,
// and Reset() brings back a machine as it was at process start.
#include <gtest/gtest.h>

#include "support.h"

namespace {

constexpr std::uintptr_t Value(const void* h) { return reinterpret_cast<std::uintptr_t>(h); }
constexpr std::uintptr_t Kind(std::uintptr_t v) { return v & ~std::uintptr_t{0xFFFF}; }

TEST(Handles, DcValuesStayInTheirRangeAndTheMachineStopsGrowing)
{
    HWND hwnd = wt::MakeWindow();
    HDC first = GetDC(hwnd);
    const std::uintptr_t kind = Kind(Value(first));
    ReleaseDC(hwnd, first);
    winsim::Footprint early;
    // More DC values than the range has.
    for (int i = 0; i < 9000; ++i) {
        HDC dc = GetDC(hwnd);
        HDC mem = CreateCompatibleDC(dc);
        ASSERT_EQ(Kind(Value(dc)), kind) << "after " << i << " DCs";
        ASSERT_EQ(Kind(Value(mem)), kind);
        ASSERT_NE(dc, mem);
        ReleaseDC(hwnd, dc);
        DeleteDC(mem);
        if (i % 16 == 0) {
            InvalidateRect(hwnd, nullptr, TRUE);
            UpdateWindow(hwnd);   // a paint DC with a whole-client region
        }
        if (i == 1000) {
            winsim::ClearLog();
            early = winsim::MachineFootprint();
        }
        if (i % 1000 == 0) winsim::ClearLog();
    }
    winsim::ClearLog();
    const winsim::Footprint late = winsim::MachineFootprint();
    EXPECT_EQ(late.dcs, early.dcs);
    EXPECT_EQ(late.heldBytes, early.heldBytes);
    EXPECT_TRUE(late == early);
    const winsim::GdiCounts live = winsim::LiveObjects();
    EXPECT_EQ(live.windowDCs + live.memoryDCs, 0);
    EXPECT_TRUE(winsim::Errors().empty()) << winsim::Errors().front();
}

TEST(Handles, ARecentlyFreedDcIsStillReportedAsFreed)
{
    HWND hwnd = wt::MakeWindow();
    HDC old = GetDC(hwnd);
    ReleaseDC(hwnd, old);
    for (int i = 0; i < 100; ++i) DeleteDC(CreateCompatibleDC(nullptr));
    ReleaseDC(hwnd, old);
    ASSERT_EQ(winsim::Errors().size(), 1u);
    EXPECT_NE(winsim::Errors()[0].find("already released"), std::string::npos) << winsim::Errors()[0];
}

TEST(Handles, AFontLoadedAndDeletedOverAndOverGetsValuesOfItsKind)
{
    for (int i = 0; i < 20000; ++i) {
        HFONT f = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "face");
        ASSERT_EQ(Kind(Value(f)), 0x00040000u) << "font " << i;
        DeleteObject(f);
    }
    winsim::ClearLog();
    EXPECT_LE(winsim::MachineFootprint().fonts, 300u);
    EXPECT_TRUE(winsim::Errors().empty()) << winsim::Errors().front();
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcA(hwnd, msg, wp, lp); }

// A whole little program: class, window, timer, posted message, box,
// objects, input, errors; it leaves everything behind.
HWND RunSomething()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = winsim::ModuleHandle();
    wc.lpszClassName = "AGAIN";
    EXPECT_NE(RegisterClassExA(&wc), 0);
    HWND hwnd = CreateWindowExA(0, "AGAIN", "x", WS_CAPTION, 0, 0, 100, 100, nullptr, nullptr,
                                winsim::ModuleHandle(), nullptr);
    ShowWindow(hwnd, SW_SHOW);
    SetTimer(hwnd, 1, 100, nullptr);
    PostMessageA(hwnd, WM_USER, 0, 0);
    winsim::ScheduleClick(5000, 10, 10);
    winsim::SetMessageBoxHoldTime(7);
    winsim::SetSystemMetric(SM_CYCAPTION, 40);
    winsim::SetLogging(false);
    MessageBoxA(hwnd, "t", "c", MB_OK);
    GetDC(hwnd);
    CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "face");
    LoadCursorA(winsim::ModuleHandle(), MAKEINTRESOURCEA(140));
    DeleteDC(nullptr);   // an error
    return hwnd;
}

TEST(Reset, GivesAMachineAsAtProcessStart)
{
    winsim::SetClock(12345);
    const HWND first = RunSomething();
    EXPECT_FALSE(winsim::Errors().empty());
    EXPECT_EQ(winsim::MessageBoxes().size(), 1u);

    winsim::Reset();
    EXPECT_EQ(winsim::Now(), 0u);
    EXPECT_EQ(winsim::MainWindow(), nullptr);
    EXPECT_TRUE(winsim::Errors().empty());
    EXPECT_TRUE(winsim::Log().empty());
    EXPECT_TRUE(winsim::MessageBoxes().empty());
    EXPECT_TRUE(winsim::MachineFootprint() == winsim::Footprint{});
    const winsim::GdiCounts live = winsim::LiveObjects();
    EXPECT_EQ(live.windowDCs + live.memoryDCs + live.bitmaps + live.fonts, 0);

    // The same program again: the class registers anew, the window gets the
    // same handle, settings are the defaults and logging is on again.
    const HWND again = RunSomething();
    EXPECT_EQ(again, first);
    EXPECT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxes()[0].shownAt, 0u);
    winsim::Reset();
    GetTickCount();
    EXPECT_EQ(winsim::Log().size(), 1u);
    // Nothing is queued any more: the timer, the posted message and the
    // click of the run before never come.
    EXPECT_TRUE(winsim::RunUntil(10000));
    EXPECT_EQ(winsim::Now(), 10000u);
    for (const winsim::Call& c : winsim::Log())
        EXPECT_TRUE(c.name != "InputDropped" && c.name != "WndProc") << c.name;
}

TEST(Boxes, ClearedWhileABoxIsUpTheBoxEndsQuietly)
{
    HWND hwnd = wt::MakeWindow();
    winsim::ScheduleCall(500, [] { winsim::ClearMessageBoxes(); });
    EXPECT_EQ(MessageBoxA(hwnd, "t", "c", MB_YESNO), IDNO);
    EXPECT_TRUE(winsim::MessageBoxes().empty());
    EXPECT_EQ(MessageBoxA(hwnd, "u", "c", MB_OK), IDOK);
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxes()[0].answer, IDOK);
}

TEST(Logging, OffKeepsNothingButTheHookStillSeesEveryCall)
{
    int seen = 0;
    winsim::SetCallHook([&](const winsim::Call&) { ++seen; });
    winsim::SetLogging(false);
    GetTickCount();
    Sleep(5);
    EXPECT_TRUE(winsim::Log().empty());
    EXPECT_EQ(seen, 2);
    winsim::SetLogging(true);
    GetTickCount();
    EXPECT_EQ(winsim::Log().size(), 1u);
}

}  // namespace
