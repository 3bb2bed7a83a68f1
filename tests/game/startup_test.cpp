// The program's start and end: WinMain, the window class and the main
// window, creation and destruction of the game's objects, the exit code.
#include <gtest/gtest.h>

#include "game/game.h"
#include "resource.h"
#include "support.h"

namespace {

using test::kAny;

// A program run that is closed from the caption during the search phase.
int RunAndCloseDuringSearch()
{
    winsim::ScheduleCloseRequest(test::kOpeningEnd + 300);
    return test::RunProgram();
}

TEST(Startup, InitialStateBeforeAndAfterCreation)
{
    EXPECT_EQ(g_phase, PHASE_SEARCH);
    EXPECT_EQ(g_tick, -1);
    EXPECT_EQ(g_secondsLeft, 29);
    EXPECT_EQ(g_score, 0u);
    for (int i = 0; i < HOLE_COUNT; ++i) {
        EXPECT_EQ(g_holeStage[i], 0);
        EXPECT_EQ(g_holeSpeed[i], 0);
        EXPECT_EQ(g_holeHits[i], 0);
    }
    EXPECT_EQ(g_hInstance, nullptr);
    EXPECT_EQ(g_hFont, nullptr);
    EXPECT_EQ(g_hbmLogo, nullptr);
    EXPECT_EQ(g_hbmHole, nullptr);
    EXPECT_EQ(g_scoreText[0], '\0');
    EXPECT_EQ(g_statusText[0], '\0');

    // Creation clears the stages and leaves speeds and hits alone: mark them
    // all so that a clearing of the wrong array shows.
    for (int i = 0; i < HOLE_COUNT; ++i) {
        g_holeStage[i] = 5;
        g_holeSpeed[i] = 7;
        g_holeHits[i] = 3;
    }
    bool checked = false;
    winsim::ScheduleCall(10, [&] {
        checked = true;
        EXPECT_EQ(g_phase, PHASE_SEARCH);
        EXPECT_EQ(g_tick, -1);
        EXPECT_EQ(g_secondsLeft, 29);
        EXPECT_EQ(g_score, 0u);
        for (int i = 0; i < HOLE_COUNT; ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(g_holeStage[i], 0);
            EXPECT_EQ(g_holeSpeed[i], 7);
            EXPECT_EQ(g_holeHits[i], 3);
        }
        EXPECT_EQ(g_hInstance, winsim::ModuleHandle());
        EXPECT_NE(g_hFont, nullptr);
        for (HBITMAP hbm : {g_hbmBlueVirus, g_hbmHole, g_hbmMagnifier, g_hbmCross,
                            g_hbmRedVirus, g_hbmShieldVirus})
            EXPECT_NE(hbm, nullptr);
        EXPECT_EQ(g_hbmLogo, nullptr);  // the opening has not run yet
        winsim::ScheduleCloseRequest(20);
    });
    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_TRUE(checked);
}

TEST(Startup, WindowClassAndWindow)
{
    RunAndCloseDuringSearch();
    const std::vector<winsim::Call>& log = winsim::Log();
    const std::intptr_t inst = test::Handle(winsim::ModuleHandle());

    // The icon is loaded before the cursor, both from our own module; the
    // class is registered before g_hInstance matters, the window is created
    // with the fixed dialog frame and shown with SW_SHOW.
    std::vector<winsim::Call> outer;
    for (const winsim::Call& call : log)
        if (call.depth == 0)
            outer.push_back(call);
    EXPECT_SEQUENCE(test::CallsNamed(outer, {"LoadIconA", "LoadCursorA", "RegisterClassExA",
                                             "CreateWindowExA", "ShowWindow", "UpdateWindow"}),
                    (std::vector<test::ExpectedCall>{
                        {"LoadIconA", {inst, IDI_APP}},
                        {"LoadCursorA", {inst, IDC_MALLET}},
                        {"RegisterClassExA", {}},
                        // the class and the title are logged as one text
                        {"CreateWindowExA", {0, 0x00CA0000, kAny, kAny, kAny, kAny, 0, 0, inst, 0},
                         std::string("MOKTU\0Murvalo", 13)},
                        {"ShowWindow", {kAny, 5}},
                        {"UpdateWindow", {kAny}},
                    }),
                    "start-up");
}

TEST(Startup, ClassFields)
{
    RunAndCloseDuringSearch();
    const std::vector<winsim::Call> classes = test::CallsNamed(winsim::Log(), {"RegisterClassExA"});
    const std::vector<winsim::Call> icons = test::CallsNamed(winsim::Log(), {"LoadIconA", "LoadCursorA"});
    ASSERT_EQ(classes.size(), 1u);
    ASSERT_EQ(icons.size(), 2u);
    // cbSize, style, lpfnWndProc, cbClsExtra, cbWndExtra, hInstance, hIcon,
    // hCursor, hbrBackground, lpszMenuName, hIconSm; then the class name.
    EXPECT_EQ(classes[0].args,
              (std::vector<std::intptr_t>{
                  static_cast<std::intptr_t>(sizeof(WNDCLASSEXA)), CS_HREDRAW | CS_VREDRAW,
                  reinterpret_cast<std::intptr_t>(&WndProc), 0, 0, test::Handle(winsim::ModuleHandle()),
                  icons[0].result, icons[1].result, COLOR_WINDOW + 1, 0, 0}));
    EXPECT_NE(icons[0].result, 0) << "the icon resource was not found";
    EXPECT_NE(icons[1].result, 0) << "the cursor resource was not found";
    EXPECT_EQ(classes[0].text, "MOKTU");
}

TEST(Startup, SystemMetricsAreAskedInOrder)
{
    RunAndCloseDuringSearch();
    EXPECT_SEQUENCE(test::CallsNamed(winsim::Log(), {"GetSystemMetrics"}),
                    (std::vector<test::ExpectedCall>{
                        {"GetSystemMetrics", {SM_CYDLGFRAME}},
                        {"GetSystemMetrics", {SM_CYCAPTION}},
                        {"GetSystemMetrics", {SM_CXDLGFRAME}},
                        {"GetSystemMetrics", {SM_CYMAXIMIZED}},
                        {"GetSystemMetrics", {SM_CXMAXIMIZED}},
                    }),
                    "metrics");
}

// The window's place and outer size for a set of system metrics.
struct GeometryCase {
    const char* name;
    int cxFrame, cyFrame, cyCaption, cxMax, cyMax;
    int x, y, width, height;
};

const GeometryCase kGeometry[] = {
    {"Maximised1000x700", 3, 3, 19, 1000, 700, 305, 210, 396, 305},
    {"JustTooSmallTruncatesToZero", 3, 3, 19, 389, 279, 0, 0, 396, 305},
    {"ThickFramesTallCaption", 4, 4, 23, 1032, 776, 321, 248, 398, 311},
    {"UnevenFrames", 1, 2, 18, 1920, 1080, 765, 400, 392, 302},
    {"OddDifference", 3, 3, 19, 1025, 769, 317, 244, 396, 305},
};

class Geometry : public testing::TestWithParam<GeometryCase> {};

TEST_P(Geometry, ClientAreaIs390x280AndTheBoxIsCentred)
{
    const GeometryCase& c = GetParam();
    winsim::SetSystemMetric(SM_CXDLGFRAME, c.cxFrame);
    winsim::SetSystemMetric(SM_CYDLGFRAME, c.cyFrame);
    winsim::SetSystemMetric(SM_CYCAPTION, c.cyCaption);
    winsim::SetSystemMetric(SM_CXMAXIMIZED, c.cxMax);
    winsim::SetSystemMetric(SM_CYMAXIMIZED, c.cyMax);
    SIZE client{};
    winsim::ScheduleCall(10, [&] {
        client = winsim::ClientSize();
        winsim::ScheduleCloseRequest(20);
    });
    test::RunProgram();

    EXPECT_SEQUENCE(test::CallsNamed(winsim::Log(), {"CreateWindowExA"}),
                    (std::vector<test::ExpectedCall>{
                        {"CreateWindowExA", {0, 0x00CA0000, c.x, c.y, c.width, c.height}},
                    }),
                    c.name);
    EXPECT_EQ(client.cx, 390);
    EXPECT_EQ(client.cy, 280);
}

INSTANTIATE_TEST_SUITE_P(Metrics, Geometry, testing::ValuesIn(kGeometry),
                         [](const testing::TestParamInfo<GeometryCase>& info) {
                             return std::string(info.param.name);
                         });

class ShowCommand : public testing::TestWithParam<int> {};

TEST_P(ShowCommand, IsIgnored)
{
    RunAndCloseDuringSearch();
    EXPECT_SEQUENCE(test::CallsNamed(winsim::Log(), {"ShowWindow"}),
                    (std::vector<test::ExpectedCall>{{"ShowWindow", {kAny, SW_SHOW}}}),
                    "nCmdShow " + std::to_string(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(AnyShowCommand, ShowCommand, testing::Values(0, 3, 6, 10));

TEST(Startup, CreationLoadsBitmapsFontTimerAndSeedInOrder)
{
    winsim::SetClock(12345);
    RunAndCloseDuringSearch();
    const std::intptr_t inst = test::Handle(winsim::ModuleHandle());

    EXPECT_SEQUENCE(test::CallsInside(winsim::Log(), WM_CREATE),
                    (std::vector<test::ExpectedCall>{
                        {"LoadBitmapA", {inst, IDB_BLUEVIRUS}},
                        {"LoadBitmapA", {inst, IDB_HOLE}},
                        {"LoadBitmapA", {inst, IDB_MAGNIFIER}},
                        {"LoadBitmapA", {inst, IDB_CROSS}},
                        {"LoadBitmapA", {inst, IDB_REDVIRUS}},
                        {"LoadBitmapA", {inst, IDB_SHIELDVIRUS}},
                        {"CreateFontA", {12, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0},
                         "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e"},
                        {"SetTimer", {kAny, TIMER_ID, 256, 0}},
                        {"GetTickCount", {}},
                    }),
                    "WM_CREATE");
}

TEST(Startup, SeedComesFromTheTickCount)
{
    winsim::SetClock(12345);
    winsim::ScheduleCall(10, [] {
        // The first two draws of a generator seeded with 12345.
        EXPECT_EQ(GameRandom(), 7584);
        EXPECT_EQ(GameRandom(), 19164);
        winsim::ScheduleCloseRequest(20);
    });
    test::RunProgram();
}

TEST(Startup, UnseededRandomStartsFromOne)
{
    EXPECT_EQ(GameRandom(), 41);
}

TEST(Startup, FirstRepaintComesBeforeAnyTickAndShowsOnlyTheBackground)
{
    bool checked = false;
    winsim::ScheduleCall(1, [&] {
        checked = true;
        const winsim::Picture& screen = winsim::Screen();
        for (int y = 0; y < screen.height; ++y)
            for (int x = 0; x < screen.width; ++x)
                if (screen.At(x, y) != 0xFFFFFFu) {
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << screen.At(x, y);
                    return;
                }
        EXPECT_FALSE(test::CallsInside(winsim::Log(), WM_PAINT).empty());
        EXPECT_TRUE(test::CallsNamed(winsim::Log(), {"TextOutA", "BitBlt", "SetTimer"}).size() == 1)
            << "only the creation's SetTimer comes before the first tick";
        winsim::ScheduleCloseRequest(2);
    });
    test::RunProgram();
    EXPECT_TRUE(checked);
}

// A class of the same name registered first, whose windows refuse to be
// created: our registration fails and so does the creation.
LRESULT CALLBACK RefuseCreation(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_CREATE)
        return -1;
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(Startup, FailedCreationReturnsZeroWithoutShowingOrLooping)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = RefuseCreation;
    wc.hInstance = winsim::ModuleHandle();
    wc.lpszClassName = "MOKTU";
    ASSERT_NE(RegisterClassExA(&wc), 0);
    winsim::ClearLog();

    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_EQ(test::CallsNamed(winsim::Log(), {"CreateWindowExA"}).size(), 1u);
    EXPECT_TRUE(test::CallsNamed(winsim::Log(), {"ShowWindow", "UpdateWindow", "GetMessageA"}).empty());
    test::ExpectNoStandInErrors();
}

TEST(Shutdown, ClosingFreesEverythingAndExitsWithZero)
{
    winsim::ScheduleCloseRequest(test::kOpeningEnd + 300);
    HBITMAP bitmaps[6] = {};
    HFONT font = nullptr;
    winsim::ScheduleCall(test::kOpeningEnd + 200, [&] {
        HBITMAP live[6] = {g_hbmBlueVirus, g_hbmHole, g_hbmMagnifier,
                           g_hbmCross, g_hbmRedVirus, g_hbmShieldVirus};
        std::copy(live, live + 6, bitmaps);
        font = g_hFont;
        winsim::ClearLog();
    });
    EXPECT_EQ(test::RunProgram(), 0);

    EXPECT_SEQUENCE(test::CallsInside(winsim::Log(), WM_DESTROY),
                    (std::vector<test::ExpectedCall>{
                        {"DeleteObject", {test::Handle(bitmaps[0])}},
                        {"DeleteObject", {test::Handle(bitmaps[1])}},
                        {"DeleteObject", {test::Handle(bitmaps[2])}},
                        {"DeleteObject", {test::Handle(bitmaps[3])}},
                        {"DeleteObject", {test::Handle(bitmaps[4])}},
                        {"DeleteObject", {test::Handle(bitmaps[5])}},
                        {"DeleteObject", {test::Handle(font)}},
                        {"PostQuitMessage", {0}},
                    }),
                    "WM_DESTROY");
    // The close came through the default handling, and the timer was left to
    // end with the window.
    EXPECT_TRUE(test::CallsNamed(winsim::Log(), {"KillTimer"}).empty());
    const winsim::GdiCounts live = winsim::LiveObjects();
    EXPECT_EQ(live.bitmaps, 0);
    EXPECT_EQ(live.fonts, 0);
    EXPECT_EQ(live.windowDCs, 0);
    EXPECT_EQ(live.memoryDCs, 0);
    test::ExpectNoStandInErrors();
}

}  // namespace
