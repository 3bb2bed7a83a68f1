// The opening tick: its calls in order, what the window shows at each of
// its pauses, and input that waits for it.
#include <gtest/gtest.h>

#include "game/game.h"
#include "pictures.h"
#include "resource.h"
#include "support.h"

namespace {

using test::kAny;

// The program run up to the first search tick, then closed.
void RunThroughOpening()
{
    winsim::ScheduleCloseRequest(test::kOpeningEnd + 100);
    test::RunProgram();
}

std::intptr_t ResultOf(const std::vector<winsim::Call>& calls, const char* name)
{
    for (const winsim::Call& call : calls)
        if (call.name == name)
            return call.result;
    return 0;
}

TEST(Opening, CallsInOrder)
{
    RunThroughOpening();
    const std::vector<winsim::Call> tick = test::CallsInside(winsim::Log(), WM_TIMER);
    const std::intptr_t hwnd = kAny;
    const std::intptr_t inst = test::Handle(winsim::ModuleHandle());
    const std::intptr_t hdc = ResultOf(tick, "GetDC");
    const std::intptr_t mem = ResultOf(tick, "CreateCompatibleDC");
    const std::intptr_t top = test::Handle(g_hbmShutterTop);
    const std::intptr_t bottom = test::Handle(g_hbmShutterBottom);
    const std::intptr_t logo = test::Handle(g_hbmLogo);
    ASSERT_NE(hdc, 0);
    ASSERT_NE(mem, 0);

    std::vector<test::ExpectedCall> expected = {
        {"KillTimer", {hwnd, TIMER_ID}},
        {"LoadBitmapA", {inst, IDB_SHUTTERTOP}},
        {"LoadBitmapA", {inst, IDB_SHUTTERBOTTOM}},
        {"LoadBitmapA", {inst, IDB_LOGO}},
        {"GetDC", {hwnd}},
        {"CreateCompatibleDC", {hdc}},
        {"SelectObject", {mem, logo}},
        {"BitBlt", {hdc, 120, 120, 150, 48, mem, 0, 0, SRCCOPY}},
        {"MsgWaitForMultipleObjects", {0, 0, FALSE, 1200, 0}},
    };
    // Frame k draws the shutters at rows 2k and 250 - 2k.
    int frames = 0;
    for (int topRow = 0, bottomRow = 250; bottomRow >= 166; topRow += 2, bottomRow -= 2, ++frames) {
        expected.push_back({"SelectObject", {mem, top}});
        expected.push_back({"BitBlt", {hdc, 0, topRow, 390, 40, mem, 0, 0, SRCCOPY}});
        expected.push_back({"SelectObject", {mem, bottom}});
        expected.push_back({"BitBlt", {hdc, 0, bottomRow, 390, 40, mem, 0, 0, SRCCOPY}});
        expected.push_back({"MsgWaitForMultipleObjects", {0, 0, FALSE, 10, 0}});
        expected.push_back({"UpdateWindow", {hwnd}});
    }
    ASSERT_EQ(frames, 43);
    expected.push_back({"ReleaseDC", {hwnd, hdc}});
    expected.push_back({"DeleteDC", {mem}});
    for (int pause = 0; pause < 10; ++pause) {
        expected.push_back({"MsgWaitForMultipleObjects", {0, 0, FALSE, 200, 0}});
        expected.push_back({"UpdateWindow", {hwnd}});
    }
    expected.push_back({"DeleteObject", {top}});
    expected.push_back({"DeleteObject", {bottom}});
    expected.push_back({"DeleteObject", {logo}});
    expected.push_back({"InvalidateRect", {hwnd, 0, TRUE}});
    expected.push_back({"SetTimer", {hwnd, TIMER_ID, 256, 0}});

    EXPECT_SEQUENCE(tick, expected, "opening tick");
    EXPECT_EQ(g_tick, 0);
    test::ExpectNoStandInErrors();
}

TEST(Opening, LastFrameIsAtRows84And166)
{
    RunThroughOpening();
    std::vector<winsim::Call> blits = test::CallsNamed(test::CallsInside(winsim::Log(), WM_TIMER), {"BitBlt"});
    ASSERT_EQ(blits.size(), 1u + 2u * 43u);
    EXPECT_EQ(blits[blits.size() - 2].args[2], 84);
    EXPECT_EQ(blits[blits.size() - 1].args[2], 166);
}

// What the window shows during the pauses: the logo alone, then the closed
// picture, row for row.
TEST(Opening, LogoAloneThenTheClosedPicture)
{
    const winsim::Picture logo = test::ResourcePicture(IDB_LOGO);
    const winsim::Picture top = test::ResourcePicture(IDB_SHUTTERTOP);
    const winsim::Picture bottom = test::ResourcePicture(IDB_SHUTTERBOTTOM);
    int logoChecks = 0;
    int closedChecks = 0;
    winsim::SetCallHook([&](const winsim::Call& call) {
        if (call.name != "MsgWaitForMultipleObjects")
            return;
        const winsim::Picture& screen = winsim::Screen();
        if (call.args[3] == 1200) {
            ++logoChecks;
            EXPECT_REGION_SHOWS(screen, 120, 120, logo, 0, 48);
            EXPECT_REGION_IS(screen, 0, 0, 390, 120, test::kWhite);
            EXPECT_REGION_IS(screen, 0, 168, 390, 280, test::kWhite);
            EXPECT_REGION_IS(screen, 0, 120, 120, 168, test::kWhite);
            EXPECT_REGION_IS(screen, 270, 120, 390, 168, test::kWhite);
        } else if (call.args[3] == 200) {
            // Every one of the ten pauses shows the same closed picture.
            ++closedChecks;
            EXPECT_REGION_IS(screen, 0, 0, 390, 95, test::kBlack);
            EXPECT_REGION_SHOWS(screen, 0, 95, top, 11, 20);
            EXPECT_REGION_IS(screen, 0, 115, 390, 124, test::kWhite);
            EXPECT_REGION_SHOWS(screen, 120, 124, logo, 4, 42);
            EXPECT_REGION_IS(screen, 0, 124, 120, 166, test::kWhite);
            EXPECT_REGION_IS(screen, 270, 124, 390, 166, test::kWhite);
            EXPECT_REGION_IS(screen, 0, 166, 390, 175, test::kWhite);
            EXPECT_REGION_SHOWS(screen, 0, 175, bottom, 9, 20);
            EXPECT_REGION_IS(screen, 0, 195, 390, 280, test::kBlack);
        }
    });
    RunThroughOpening();
    EXPECT_EQ(logoChecks, 1);
    EXPECT_EQ(closedChecks, 10);
}

TEST(Opening, RepaintInsideTheOpeningShowsTheLogoAlone)
{
    // Something uncovers part of the window during the shutters: the
    // UpdateWindow of the next frame repaints it as the opening picture,
    // erasing the shutters there and drawing the live logo again.
    const winsim::Picture logo = test::ResourcePicture(IDB_LOGO);
    int frames = 0;
    bool checked = false;
    winsim::SetCallHook([&](const winsim::Call& call) {
        if (call.name == "MsgWaitForMultipleObjects" && call.args[3] == 10 && ++frames == 40) {
            RECT uncovered = {100, 0, 300, 280};
            InvalidateRect(winsim::MainWindow(), &uncovered, TRUE);
        }
        if (call.name == "MsgWaitForMultipleObjects" && call.args[3] == 200 && !checked) {
            checked = true;
            const winsim::Picture& screen = winsim::Screen();
            // Frames 41 to 43 drew the shutters again over the repainted part.
            EXPECT_REGION_IS(screen, 100, 0, 300, 80, test::kWhite);
            EXPECT_REGION_IS(screen, 0, 0, 100, 80, test::kBlack);
            EXPECT_REGION_SHOWS(screen, 120, 124, logo, 4, 42);
        }
    });
    RunThroughOpening();
    EXPECT_TRUE(checked);
    EXPECT_EQ(test::CallsNamed(test::CallsInside(winsim::Log(), WM_TIMER), {"TextOutA"}).size(), 0u);
}

TEST(Opening, RunsOnceAndLeavesNoBitmapBehind)
{
    winsim::ScheduleCall(test::kOpeningEnd + 10, [] {
        // Only the six permanent bitmaps are left.
        EXPECT_EQ(winsim::LiveObjects().bitmaps, 6);
        EXPECT_EQ(winsim::LiveObjects().memoryDCs, 0);
        EXPECT_EQ(winsim::LiveObjects().windowDCs, 0);
    });
    winsim::ScheduleCloseRequest(test::kDetection - 10);
    test::RunProgram();
    const std::vector<winsim::Call> loads = test::CallsNamed(winsim::Log(), {"LoadBitmapA"});
    EXPECT_EQ(loads.size(), 9u) << "the opening's three bitmaps are loaded once";
    test::ExpectNoStandInErrors();
}

TEST(Opening, ClickDuringTheOpeningWaitsAndChangesNothing)
{
    // A press in hole 4's sprite box while the opening plays.
    winsim::ScheduleClick(1000, 184, 156);
    RunThroughOpening();
    const std::vector<winsim::Call>& log = winsim::Log();
    size_t openingEnd = 0;
    size_t press = 0;
    for (size_t i = 0; i < log.size(); ++i) {
        if (log[i].name == "SetTimer" && log[i].args[2] == 256)
            openingEnd = i;
        if (log[i].name == "WndProc" && log[i].args[0] == WM_LBUTTONDOWN)
            press = i;
    }
    ASSERT_NE(press, 0u) << "the press was never delivered";
    EXPECT_GT(press, openingEnd) << "the press was handled inside the opening";
    for (int i = 0; i < HOLE_COUNT; ++i)
        EXPECT_EQ(g_holeStage[i], 0);
    EXPECT_TRUE(test::CallsNamed(log, {"PlaySoundA"}).empty());
    test::ExpectNoStandInErrors();
}

}  // namespace
