// gdi_test.cpp: bitmaps from resources and how they copy, text cells, the
// accounting of GDI objects and its misuse, sounds, and the string functions.
#include <gtest/gtest.h>

#include "support.h"

namespace {

using wt::g_on;

HINSTANCE Mod() { return winsim::ModuleHandle(); }

// Copies bitmap `id` to (x, y) of the window through a memory DC, cleanly.
void Show(HWND hwnd, int id, int x, int y, int w, int h)
{
    HBITMAP bm = LoadBitmapA(Mod(), MAKEINTRESOURCE(id));
    ASSERT_NE(bm, nullptr) << id;
    HDC dc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(mem, bm);
    BitBlt(dc, x, y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
    DeleteObject(bm);
}

std::vector<std::uint32_t> Row(int x, int y, int n)
{
    std::vector<std::uint32_t> r;
    for (int i = 0; i < n; ++i) r.push_back(winsim::Screen().At(x + i, y));
    return r;
}

class Bitmaps : public ::testing::Test {
protected:
    void SetUp() override
    {
        winsim::SetResourceDirectory(wt::FixtureDirectory());
        hwnd = wt::MakeWindow();
    }
    HWND hwnd = nullptr;
};

TEST_F(Bitmaps, FourBitCopiesThroughItsPaletteRowByRow)
{
    Show(hwnd, wt::IDB_ROWS, 20, 30, 4, 4);
    EXPECT_EQ(Row(20, 30, 4), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    EXPECT_EQ(Row(20, 31, 4), (std::vector<std::uint32_t>{0, 0, 0, 0}));
    EXPECT_EQ(Row(20, 32, 4), (std::vector<std::uint32_t>{0xFFFFFF, 0, 0xFFFFFF, 0}));
    EXPECT_EQ(Row(20, 33, 4), (std::vector<std::uint32_t>(4, 0xFFFF00)));
    EXPECT_EQ(Row(19, 34, 6), (std::vector<std::uint32_t>(6, 0xFFFFFF)));   // nothing below or beside
    EXPECT_TRUE(winsim::Errors().empty());
}

TEST_F(Bitmaps, OneBitCopiesAsBlackAndWhiteThroughTheDcColours)
{
    Show(hwnd, wt::IDB_MONO, 0, 0, 4, 2);
    EXPECT_EQ(Row(0, 0, 4), (std::vector<std::uint32_t>{0, 0xFFFFFF, 0xFFFFFF, 0}));
    EXPECT_EQ(Row(0, 1, 4), (std::vector<std::uint32_t>{0xFFFFFF, 0xFFFFFF, 0, 0}));
    // White-then-black palette: not a monochrome bitmap, so its colours show as stored.
    Show(hwnd, wt::IDB_INVERTED, 10, 0, 2, 1);
    EXPECT_EQ(Row(10, 0, 2), (std::vector<std::uint32_t>{0xFFFFFF, 0}));
}

TEST_F(Bitmaps, CopiesClipToTheWindowAndTheSourceAndZeroSizeCopiesNothing)
{
    Show(hwnd, wt::IDB_ROWS, 388, 278, 4, 4);            // only the top-left 2 x 2 fits
    EXPECT_EQ(Row(388, 278, 2), (std::vector<std::uint32_t>{0xFF0000, 0x00FF00}));
    EXPECT_EQ(Row(388, 279, 2), (std::vector<std::uint32_t>{0, 0}));
    Show(hwnd, wt::IDB_ROWS, 100, 100, 10, 10);          // larger than the source: the rest untouched
    EXPECT_EQ(winsim::Screen().At(104, 100), 0xFFFFFFu);
    EXPECT_EQ(winsim::Screen().At(100, 104), 0xFFFFFFu);
    EXPECT_EQ(winsim::Screen().At(103, 103), 0xFFFF00u);
    Show(hwnd, wt::IDB_ROWS, 200, 200, 0, 4);
    Show(hwnd, wt::IDB_ROWS, 200, 200, 4, 0);
    EXPECT_EQ(winsim::Screen().At(200, 200), 0xFFFFFFu);
    EXPECT_TRUE(winsim::Errors().empty());
    EXPECT_EQ(winsim::LiveObjects().bitmaps, 0);
}

TEST_F(Bitmaps, ResourcesComeThroughTheScript)
{
    EXPECT_EQ(LoadBitmapA(Mod(), MAKEINTRESOURCE(207)), nullptr);   // inside VERSIONINFO: not a resource
    EXPECT_EQ(LoadBitmapA(Mod(), MAKEINTRESOURCE(wt::IDW_BEEP)), nullptr);   // a WAVE, not a BITMAP
    EXPECT_NE(LoadIconA(Mod(), MAKEINTRESOURCE(wt::IDI_FIX)), nullptr);
    EXPECT_EQ(LoadCursorA(Mod(), MAKEINTRESOURCE(wt::IDI_FIX)), nullptr);
    std::vector<std::uint8_t> dib = winsim::ResourceBytes(wt::IDB_MONO, "BITMAP");
    ASSERT_GE(dib.size(), 4u);
    EXPECT_EQ(dib[0], 40);   // the file header is not part of the resource
    EXPECT_EQ(winsim::ResourceBytes(wt::IDW_BEEP, "WAVE").size(), 12u);
    EXPECT_TRUE(winsim::Errors().empty());
}

TEST(Sound, NeedsAWaveResourceOfThatId)
{
    winsim::SetResourceDirectory(wt::FixtureDirectory());
    EXPECT_NE(PlaySoundA(MAKEINTRESOURCE(wt::IDW_BEEP), Mod(), SND_RESOURCE | SND_ASYNC), FALSE);
    EXPECT_TRUE(winsim::Errors().empty());
    const winsim::Call& c = winsim::Log().back();
    EXPECT_EQ(c.args, (std::vector<std::intptr_t>{wt::IDW_BEEP, static_cast<std::intptr_t>(0x400000), 0x40005}));
    EXPECT_EQ(PlaySoundA(MAKEINTRESOURCE(wt::IDB_ROWS), Mod(), SND_RESOURCE | SND_ASYNC), FALSE);
    EXPECT_EQ(PlaySoundA(MAKEINTRESOURCE(wt::IDW_NOTWAVE), Mod(), SND_RESOURCE | SND_ASYNC), FALSE);
    ASSERT_EQ(winsim::Errors().size(), 2u);
    EXPECT_NE(winsim::Errors()[0].find("no WAVE resource 201"), std::string::npos);
    EXPECT_NE(winsim::Errors()[1].find("not a RIFF/WAVE"), std::string::npos);
}

// ---- misuse ---------------------------------------------------------------------

struct Misuse {
    const char* name;
    void (*act)(HWND, HBITMAP, HFONT);
    const char* error;   // a part of the one error expected; null for none
};

const Misuse kMisuse[] = {
    {"DeleteSelectedBitmap",
     [](HWND, HBITMAP bm, HFONT) {
         HDC mem = CreateCompatibleDC(nullptr);
         SelectObject(mem, bm);
         DeleteObject(bm);
     },
     "still selected"},
    {"DeleteTwice",
     [](HWND, HBITMAP bm, HFONT) {
         DeleteObject(bm);
         DeleteObject(bm);
     },
     "deleted twice"},
    {"ReleaseTwice",
     [](HWND h, HBITMAP, HFONT) {
         HDC dc = GetDC(h);
         ReleaseDC(h, dc);
         ReleaseDC(h, dc);
     },
     "already released"},
    {"ReleaseWithFontSelected",
     [](HWND h, HBITMAP, HFONT f) {
         HDC dc = GetDC(h);
         SelectObject(dc, f);
         ReleaseDC(h, dc);
     },
     "select the old font back first"},
    {"BitmapIntoTwoDcs",
     [](HWND, HBITMAP bm, HFONT) {
         HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
         SelectObject(a, bm);
         SelectObject(b, bm);
     },
     "already selected into DC"},
    {"DrawOnADeadDc",
     [](HWND h, HBITMAP, HFONT) {
         HDC dc = GetDC(h);
         ReleaseDC(h, dc);
         TextOutA(dc, 1, 1, "x", 1);
     },
     "already released"},
    {"SelectDeletedFont",
     [](HWND h, HBITMAP, HFONT f) {
         DeleteObject(f);
         HDC dc = GetDC(h);
         SelectObject(dc, f);
         ReleaseDC(h, dc);
     },
     "was deleted"},
    {"DeleteNullIsNoMisuse", [](HWND, HBITMAP, HFONT) { EXPECT_EQ(DeleteObject(nullptr), FALSE); }, nullptr},
    {"DeleteDcWithBitmapSelectedIsFine",
     [](HWND, HBITMAP bm, HFONT) {
         HDC mem = CreateCompatibleDC(nullptr);
         SelectObject(mem, bm);
         DeleteDC(mem);
         EXPECT_NE(DeleteObject(bm), FALSE);
     },
     nullptr},
};

void PrintTo(const Misuse& m, std::ostream* os) { *os << m.name; }

class GdiMisuse : public ::testing::TestWithParam<Misuse> {};

TEST_P(GdiMisuse, IsRecordedAsAnError)
{
    winsim::SetResourceDirectory(wt::FixtureDirectory());
    HWND hwnd = wt::MakeWindow();
    HBITMAP bm = LoadBitmapA(Mod(), MAKEINTRESOURCE(wt::IDB_ROWS));
    HFONT font = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "face");
    GetParam().act(hwnd, bm, font);
    if (GetParam().error == nullptr) {
        EXPECT_TRUE(winsim::Errors().empty());
    } else {
        ASSERT_EQ(winsim::Errors().size(), 1u);
        EXPECT_NE(winsim::Errors()[0].find(GetParam().error), std::string::npos) << winsim::Errors()[0];
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GdiMisuse, ::testing::ValuesIn(kMisuse),
                         [](const ::testing::TestParamInfo<Misuse>& i) { return std::string(i.param.name); });

TEST(Accounting, CountsLiveObjectsByKind)
{
    winsim::SetResourceDirectory(wt::FixtureDirectory());
    HWND hwnd = wt::MakeWindow();
    HDC dc = GetDC(hwnd);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP a = LoadBitmapA(Mod(), MAKEINTRESOURCE(wt::IDB_ROWS));
    HBITMAP b = LoadBitmapA(Mod(), MAKEINTRESOURCE(wt::IDB_MONO));
    HFONT f = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "face");
    winsim::GdiCounts c = winsim::LiveObjects();
    EXPECT_EQ(c.windowDCs, 1);
    EXPECT_EQ(c.memoryDCs, 1);
    EXPECT_EQ(c.bitmaps, 2);
    EXPECT_EQ(c.fonts, 1);
    // The memory DC's first bitmap is the stock one; SelectObject hands it back.
    HGDIOBJ stock = SelectObject(mem, a);
    EXPECT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(mem, b), static_cast<HGDIOBJ>(a));
    EXPECT_NE(DeleteObject(stock), FALSE);   // stock objects survive a delete
    DeleteDC(mem);
    ReleaseDC(hwnd, dc);
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(f);
    c = winsim::LiveObjects();
    EXPECT_EQ(c.windowDCs + c.memoryDCs + c.bitmaps + c.fonts, 0);
    EXPECT_TRUE(winsim::Errors().empty());
}

// ---- text -----------------------------------------------------------------------

TEST(Text, CellsFollowTheFontMetricsAndDifferentBytesLookDifferent)
{
    winsim::SetTextMetrics(14, 2, 7);
    HWND hwnd = wt::MakeWindow();
    HDC dc = GetDC(hwnd);
    HFONT f = CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "\x82\x6C\x82\x72");
    TEXTMETRICA system{}, ours{};
    GetTextMetricsA(dc, &system);
    HGDIOBJ old = SelectObject(dc, f);
    GetTextMetricsA(dc, &ours);
    EXPECT_EQ(ours.tmHeight, 14);
    EXPECT_EQ(ours.tmExternalLeading, 2);
    EXPECT_NE(system.tmHeight, 14);   // forgetting to select the font shows
    EXPECT_EQ(TextOutA(dc, 1, 1, "AB\x82\xA0", 4), TRUE);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    DeleteObject(f);

    const winsim::Call& out = winsim::Log()[static_cast<std::size_t>(wt::Find("TextOutA"))];
    EXPECT_EQ(out.text, "AB\x82\xA0");
    EXPECT_EQ(out.args, (std::vector<std::intptr_t>{out.args[0], 1, 1, 4}));
    auto cell = [](int k) {
        std::vector<std::uint32_t> px;
        for (int y = 1; y < 15; ++y)
            for (int x = 1 + 7 * k; x < 8 + 7 * k; ++x) px.push_back(winsim::Screen().At(x, y));
        return px;
    };
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        std::vector<std::uint32_t> c = cell(k);
        EXPECT_NE(std::count(c.begin(), c.end(), 0u), 0);          // some ink
        EXPECT_NE(std::count(c.begin(), c.end(), 0xFFFFFFu), 0);   // on white
        EXPECT_EQ(std::count(c.begin(), c.end(), winsim::kSentinel), 0);
        for (int j = 0; j < k; ++j) EXPECT_NE(c, cell(j));
    }
    EXPECT_EQ(winsim::Screen().At(29, 1), 0xFFFFFFu);   // the window colour again past the last cell
    EXPECT_EQ(winsim::Screen().At(1, 15), 0xFFFFFFu);
    const winsim::Call& font = winsim::Log()[static_cast<std::size_t>(wt::Find("CreateFontA"))];
    EXPECT_EQ(font.args, (std::vector<std::intptr_t>{12, 0, 0, 0, 400, 0, 0, 0, 128, 0, 0, 0, 0}));
    EXPECT_EQ(font.text, "\x82\x6C\x82\x72");
}

TEST(Text, WsprintfFormatsLikeWindowsWithinItsLimit)
{
    char buf[1100];
    EXPECT_EQ(wsprintfA(buf, "SCORE : %u", 270u), 11);
    EXPECT_STREQ(buf, "SCORE : 270");
    EXPECT_EQ(wsprintfA(buf, "[%2d][%2d][%lu]", 7, 29, 5u), 11);
    EXPECT_STREQ(buf, "[ 7][29][5]");
    std::string big(1500, 'x');
    EXPECT_EQ(wsprintfA(buf, "%s", big.c_str()), 1023);
    EXPECT_EQ(buf[1023], '\0');
    EXPECT_EQ(lstrlenA("\x83\x45\x83\x42"), 4);
}

// ---- the log ------------------------------------------------------------------------

TEST(Log, SentMessagesNestWithTheirDepth)
{
    HWND hwnd = wt::MakeWindow();
    g_on[WM_USER] = [](HWND h, WPARAM, LPARAM) -> LRESULT { return SendMessageA(h, WM_USER + 1, 5, 6) + 1; };
    g_on[WM_USER + 1] = [](HWND, WPARAM wp, LPARAM lp) -> LRESULT { return static_cast<LRESULT>(wp + lp); };
    winsim::ClearLog();
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 12);
    const auto& log = winsim::Log();
    ASSERT_EQ(log.size(), 4u);
    const char* names[] = {"SendMessageA", "WndProc", "SendMessageA", "WndProc"};
    const int depths[] = {0, 0, 1, 1};
    const std::intptr_t results[] = {12, 12, 11, 11};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(log[i].name, names[i]);
        EXPECT_EQ(log[i].depth, depths[i]);
        EXPECT_EQ(log[i].result, results[i]);
    }
    EXPECT_EQ(log[3].args, (std::vector<std::intptr_t>{WM_USER + 1, 5, 6}));
}

}  // namespace
