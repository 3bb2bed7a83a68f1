// paint_test.cpp: update regions, the erase and the clipping of BeginPaint,
// and UpdateWindow.
#include <gtest/gtest.h>

#include "support.h"

namespace {

using wt::g_on;

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kYellow = 0xFFFF00;

TEST(Paint, ShowingInvalidatesAllWithEraseAndUpdateWindowPaintsOnlyWhatIsInvalid)
{
    HWND hwnd = wt::MakeWindow(false);
    EXPECT_EQ(ShowWindow(hwnd, SW_SHOW), FALSE);
    EXPECT_TRUE(winsim::IsInvalid(0, 0));
    EXPECT_TRUE(winsim::IsInvalid(389, 279));
    winsim::ClearLog();
    UpdateWindow(hwnd);
    EXPECT_EQ(wt::Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(winsim::Screen().At(0, 0), kWhite);
    EXPECT_EQ(winsim::Screen().At(389, 279), kWhite);
    EXPECT_FALSE(winsim::AnythingInvalid());

    winsim::ClearLog();
    UpdateWindow(hwnd);
    EXPECT_TRUE(wt::Messages().empty());
    EXPECT_EQ(wt::Count("UpdateWindow"), 1);
}

TEST(Paint, BeginPaintErasesThenClipsDrawingToTheRegion)
{
    winsim::SetResourceDirectory(wt::FixtureDirectory());
    HWND hwnd = wt::MakeWindow();
    HBITMAP black = LoadBitmapA(winsim::ModuleHandle(), MAKEINTRESOURCE(wt::IDB_BLACK));
    HBITMAP rows = LoadBitmapA(winsim::ModuleHandle(), MAKEINTRESOURCE(wt::IDB_ROWS));
    ASSERT_NE(black, nullptr);
    ASSERT_NE(rows, nullptr);
    HDC dc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ stock = SelectObject(mem, black);
    BitBlt(dc, 0, 0, 390, 280, mem, 0, 0, SRCCOPY);   // the window DC is not clipped
    ReleaseDC(hwnd, dc);
    ASSERT_EQ(winsim::Screen().At(389, 279), kBlack);

    winsim::Picture afterErase;
    PAINTSTRUCT seen{};
    g_on[WM_PAINT] = [&](HWND h, WPARAM, LPARAM) -> LRESULT {
        HDC pdc = BeginPaint(h, &seen);
        afterErase = winsim::Screen();
        SelectObject(mem, rows);
        BitBlt(pdc, 8, 18, 4, 4, mem, 0, 0, SRCCOPY);   // straddles the region's corner at (10, 20)
        EndPaint(h, &seen);
        return 0;
    };
    RECT a{10, 20, 30, 25}, b{25, 24, 40, 60}, corner{380, 270, 500, 400};
    InvalidateRect(hwnd, &a, TRUE);
    InvalidateRect(hwnd, &b, TRUE);
    InvalidateRect(hwnd, &corner, FALSE);   // clipped to the client; erased all the same
    winsim::ClearLog();
    winsim::RunUntil(winsim::Now());

    EXPECT_EQ(wt::Messages(), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
    EXPECT_EQ(seen.fErase, FALSE);   // the default procedure did erase
    EXPECT_EQ(seen.rcPaint.left, 10);
    EXPECT_EQ(seen.rcPaint.top, 20);
    EXPECT_EQ(seen.rcPaint.right, 390);
    EXPECT_EQ(seen.rcPaint.bottom, 280);
    struct Probe {
        int x, y;
        std::uint32_t erased, painted;
    };
    const Probe probes[] = {
        {10, 20, kWhite, kWhite},  {11, 20, kWhite, kBlack},  {10, 21, kWhite, kYellow},  // the blit, inside
        {8, 20, kBlack, kBlack},   {8, 21, kBlack, kBlack},   {10, 19, kBlack, kBlack},   // the blit, outside
        {29, 24, kWhite, kWhite},  {30, 23, kBlack, kBlack},  {39, 59, kWhite, kWhite},
        {40, 59, kBlack, kBlack},  {24, 25, kBlack, kBlack},  {380, 270, kWhite, kWhite},
        {389, 279, kWhite, kWhite}, {379, 279, kBlack, kBlack},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(afterErase.At(p.x, p.y), p.erased);
        EXPECT_EQ(winsim::Screen().At(p.x, p.y), p.painted);
    }
    EXPECT_FALSE(winsim::AnythingInvalid());
    SelectObject(mem, stock);
    DeleteDC(mem);
    DeleteObject(black);
    DeleteObject(rows);
    EXPECT_TRUE(winsim::Errors().empty());
}

TEST(Paint, WithoutEraseTheBackgroundStaysAndBeginPaintValidates)
{
    HWND hwnd = wt::MakeWindow();
    bool eraseSeen = false;
    g_on[WM_ERASEBKGND] = [&](HWND, WPARAM, LPARAM) -> LRESULT { return eraseSeen = true, 1; };
    RECT r{0, 0, 5, 5};
    InvalidateRect(hwnd, &r, FALSE);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    EXPECT_FALSE(eraseSeen);
    EXPECT_FALSE(winsim::AnythingInvalid());   // validated by BeginPaint, before EndPaint
    EXPECT_EQ(winsim::LiveObjects().windowDCs, 1);
    EndPaint(hwnd, &ps);
    EXPECT_EQ(winsim::LiveObjects().windowDCs, 0);
    EXPECT_NE(dc, nullptr);
}

}  // namespace
