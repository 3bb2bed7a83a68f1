// The repaint: the text lines and their bytes, each phase's picture, and a
// partial repaint that must equal the whole one inside its region.
#include <gtest/gtest.h>

#include "game/game.h"
#include "pictures.h"
#include "resource.h"
#include "support.h"

namespace {

std::vector<winsim::Call> TextCalls()
{
    return test::CallsNamed(winsim::Log(), {"TextOutA"});
}

struct StatusCase {
    const char* name;
    GamePhase phase;
    int secondsLeft;
    unsigned score;
    const char* bytes;
    size_t length;
};

const StatusCase kStatus[] = {
    {"Search", PHASE_SEARCH, 29, 0,
     "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8c\x9f\x8d\xf5\x82\xb5\x82\xc4"
     "\x82\xa2\x82\xdc\x82\xb7\x2e\x2e\x2e", 31},
    {"Found", PHASE_FOUND, 29, 0,
     "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xaa\x8b\x5e\x8e\x97\x8c\x9f\x8f\x6f\x82\xb3\x82\xea"
     "\x82\xdc\x82\xb5\x82\xbd\x81\x42", 30},
    {"RemovalTwoDigits", PHASE_REMOVAL, 29, 0,
     "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8f\x9c\x8b\x8e\x92\x86\x82\xc5"
     "\x82\xb7\x2e\x2e\x2e\x20\x20\x20\x8e\x63\x82\xe8\x20\x32\x39\x20\x95\x62", 40},
    {"RemovalOneDigit", PHASE_REMOVAL, 5, 0,
     "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8f\x9c\x8b\x8e\x92\x86\x82\xc5"
     "\x82\xb7\x2e\x2e\x2e\x20\x20\x20\x8e\x63\x82\xe8\x20\x20\x35\x20\x95\x62", 40},
    {"RemovalZero", PHASE_REMOVAL, 0, 0,
     "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8f\x9c\x8b\x8e\x92\x86\x82\xc5"
     "\x82\xb7\x2e\x2e\x2e\x20\x20\x20\x8e\x63\x82\xe8\x20\x20\x30\x20\x95\x62", 40},
    {"ResultNone", PHASE_RESULT, -1, 0,
     "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xcd\x88\xea\x95\x43\x82\xe0\x8b\x5e\x8e\x97\x8f\x9c"
     "\x8b\x8e\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42", 42},
    {"ResultOne", PHASE_RESULT, -1, 1,
     "1\x20\x95\x43\x82\xcc\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8f\x9c\x8b"
     "\x8e\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42", 34},
    {"ResultMost", PHASE_RESULT, -1, 270,
     "270\x20\x95\x43\x82\xcc\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8f\x9c"
     "\x8b\x8e\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42", 36},
};

class StatusLine : public testing::TestWithParam<StatusCase> {};

TEST_P(StatusLine, BytesAndPlace)
{
    const StatusCase& c = GetParam();
    test::RunInRound([&] {
        g_phase = c.phase;
        g_tick = c.phase == PHASE_SEARCH ? 3 : 0;
        g_secondsLeft = c.secondsLeft;
        g_score = c.score;
        winsim::ClearLog();
        test::RepaintAll();
        const std::vector<winsim::Call> texts = TextCalls();
        ASSERT_GE(texts.size(), 3u);
        const winsim::Call& status = texts.back();  // drawn last
        EXPECT_EQ(status.text, std::string(c.bytes, c.length));
        EXPECT_EQ(status.args[1], 1);
        EXPECT_EQ(status.args[2], 27) << "line 2 with the default 12-pixel font";
        EXPECT_EQ(std::string(g_statusText), std::string(c.bytes, c.length));
        // The score line belongs to the round alone.
        EXPECT_EQ(texts.size(), c.phase == PHASE_REMOVAL ? 4u : 3u);
        g_phase = PHASE_REMOVAL;
    });
}

INSTANTIATE_TEST_SUITE_P(Phases, StatusLine, testing::ValuesIn(kStatus),
                         [](const testing::TestParamInfo<StatusCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(TextLines, StandOneLineApartForAnyFontHeight)
{
    winsim::SetTextMetrics(15, 2, 7);  // h = 17
    test::RunInRound([] {
        g_score = 42;
        winsim::ClearLog();
        test::RepaintAll();
        EXPECT_SEQUENCE(TextCalls(),
                        (std::vector<test::ExpectedCall>{
                            {"TextOutA", {test::kAny, 1, 1, 20}, "Murvalo version 1.03"},
                            {"TextOutA", {test::kAny, 1, 19}},
                            {"TextOutA", {test::kAny, 1, 55, 10}, "SCORE : 42"},
                            {"TextOutA", {test::kAny, 1, 37, 40}},
                        }),
                        "h = 17");
        EXPECT_STREQ(g_scoreText, "SCORE : 42");
    });
}

TEST(TextLines, FontIsSelectedAndPutBack)
{
    test::RunInRound([] {
        winsim::ClearLog();
        test::RepaintAll();
        const std::vector<winsim::Call> paint = test::CallsInside(winsim::Log(), WM_PAINT);
        const std::vector<winsim::Call> order =
            test::CallsNamed(paint, {"BeginPaint", "CreateCompatibleDC", "EndPaint", "DeleteDC"});
        EXPECT_SEQUENCE(order,
                        (std::vector<test::ExpectedCall>{
                            {"BeginPaint", {}}, {"CreateCompatibleDC", {}},
                            {"EndPaint", {}}, {"DeleteDC", {}}}),
                        "repaint");
        // The font goes in before anything is measured and comes out last.
        std::vector<winsim::Call> fonts;
        for (const winsim::Call& call : paint)
            if (call.name == "SelectObject" && call.args[1] == test::Handle(g_hFont))
                fonts.push_back(call);
        ASSERT_EQ(fonts.size(), 1u);
        const std::intptr_t previous = fonts[0].result;
        EXPECT_NE(previous, 0);
        std::vector<winsim::Call> last = test::CallsNamed(paint, {"SelectObject"});
        EXPECT_EQ(last.back().args[1], previous);
    });
}

// One hole's state and how its sprite box must look.
struct HoleCase {
    int stage;
    int hits;
    int sprite;   // resource shown, 0 for none
    int rows;     // rows of it shown, at the bottom of the box
};

TEST(RemovalScreen, NineHolesByTheDrawingRule)
{
    static const HoleCase kHoles[HOLE_COUNT] = {
        {0, 1, 0, 0},                    // empty
        {2, 1, IDB_BLUEVIRUS, 8},        // just out
        {8, 2, IDB_REDVIRUS, 32},        // the whole face
        {12, 6, IDB_REDVIRUS, 16},       // disguised: still red
        {16, 1, 0, 0},                   // sunk out of sight
        {18, 1, IDB_CROSS, 32},
        {20, 0, IDB_CROSS, 32},
        {15, 3, IDB_SHIELDVIRUS, 4},
        {5, 5, IDB_SHIELDVIRUS, 20},
    };
    const winsim::Picture hole = test::ResourcePicture(IDB_HOLE);
    test::RunInRound([&] {
        for (int i = 0; i < HOLE_COUNT; ++i) {
            g_holeStage[i] = kHoles[i].stage;
            g_holeHits[i] = kHoles[i].hits;
        }
        test::RepaintAll();
        const winsim::Picture& screen = winsim::Screen();
        for (int i = 0; i < HOLE_COUNT; ++i) {
            SCOPED_TRACE("hole " + std::to_string(i));
            const int c = i % 3, r = i / 3;
            const int bx = 68 + 100 * c, by = 80 + 60 * r;
            const HoleCase& h = kHoles[i];
            // The frame, and the sprite box as the frame's white interior
            // where nothing is drawn.
            EXPECT_REGION_SHOWS(screen, 60 + 100 * c, 70 + 60 * r, hole, 0, 10);
            EXPECT_REGION_IS(screen, bx, by, bx + 32, by + 32 - h.rows, test::kWhite);
            if (h.sprite != 0)
                EXPECT_REGION_SHOWS(screen, bx, by + 32 - h.rows, test::ResourcePicture(h.sprite), 0, h.rows);
            EXPECT_REGION_SHOWS(screen, 60 + 100 * c, 70 + 60 * r + 42, hole, 42, 6);
        }
        // Outside the text lines and the board: the background.
        EXPECT_REGION_IS(screen, 0, 60, 390, 70, test::kWhite);
        EXPECT_REGION_IS(screen, 0, 70, 60, 280, test::kWhite);
        EXPECT_REGION_IS(screen, 0, 238, 390, 280, test::kWhite);
    });
}

TEST(ResultScreen, EmptyFramesWhateverTheStages)
{
    const winsim::Picture hole = test::ResourcePicture(IDB_HOLE);
    test::RunInRound([&] {
        for (int i = 0; i < HOLE_COUNT; ++i) {
            g_holeStage[i] = i % 2 ? 8 : 19;
            g_holeHits[i] = 1;
        }
        g_phase = PHASE_RESULT;
        g_score = 3;
        test::RepaintAll();
        const winsim::Picture& screen = winsim::Screen();
        for (int i = 0; i < HOLE_COUNT; ++i) {
            SCOPED_TRACE("hole " + std::to_string(i));
            EXPECT_REGION_SHOWS(screen, 60 + 100 * (i % 3), 70 + 60 * (i / 3), hole, 0, 48);
        }
        g_phase = PHASE_REMOVAL;
    });
}

TEST(DetectionScreen, SeenWhileTheFirstBoxIsUp)
{
    const winsim::Picture magnifier = test::ResourcePicture(IDB_MAGNIFIER);
    bool checked = false;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        if (box.flags == 0x30) {
            checked = true;
            const winsim::Picture& screen = winsim::Screen();
            EXPECT_REGION_SHOWS(screen, 150, 150, magnifier, 0, 48);
            EXPECT_REGION_IS(screen, 198, 150, 202, 202, test::kWhite);
            EXPECT_REGION_IS(screen, 150, 198, 202, 202, test::kWhite);
            const std::vector<winsim::Call> texts = TextCalls();
            EXPECT_TRUE(!texts.empty() && texts.back().text.size() == 30u) << "the found text";
        }
        return IDOK;
    });
    winsim::ScheduleCall(test::kInRound, [] { winsim::ScheduleCloseRequest(winsim::Now() + 1); });
    test::RunProgram();
    EXPECT_TRUE(checked);
}

// A part of the window repainted must come back exactly as the whole
// repaint draws it there.
struct RegionCase {
    const char* name;
    GamePhase phase;
    int tick;
    RECT region;
};

const RegionCase kRegions[] = {
    {"SearchAcrossTheMagnifier", PHASE_SEARCH, 2, {160, 140, 180, 210}},
    {"SearchTextLines", PHASE_SEARCH, 5, {0, 0, 120, 30}},
    {"FoundCorner", PHASE_FOUND, 8, {140, 140, 155, 155}},
    {"RemovalAcrossThreeHoles", PHASE_REMOVAL, 3, {50, 100, 390, 130}},
    {"RemovalInsideASpriteBox", PHASE_REMOVAL, 3, {170, 145, 190, 160}},
    {"RemovalScoreLine", PHASE_REMOVAL, 3, {5, 35, 60, 60}},
    {"ResultMiddle", PHASE_RESULT, 0, {100, 60, 300, 200}},
};

class PartialRepaint : public testing::TestWithParam<RegionCase> {};

TEST_P(PartialRepaint, EqualsTheWholeRepaintInsideTheRegion)
{
    const RegionCase& c = GetParam();
    test::RunInRound([&] {
        HWND hwnd = winsim::MainWindow();
        static const int kStages[HOLE_COUNT] = {3, 8, 11, 0, 12, 19, 7, 16, 2};
        for (int i = 0; i < HOLE_COUNT; ++i) {
            g_holeStage[i] = kStages[i];
            g_holeHits[i] = 1 + i % 4;
        }
        g_phase = c.phase;
        g_tick = c.tick;
        g_score = 12;
        test::RepaintAll();
        const winsim::Picture whole = winsim::Screen();

        // Scribble over the whole client, then repaint only the region.
        HDC hdc = GetDC(hwnd);
        HDC mem = CreateCompatibleDC(hdc);
        HGDIOBJ old = SelectObject(mem, g_hbmCross);
        for (int y = 0; y < 280; y += 32)
            for (int x = 0; x < 390; x += 32)
                BitBlt(hdc, x, y, 32, 32, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
        ReleaseDC(hwnd, hdc);
        const winsim::Picture scribbled = winsim::Screen();

        InvalidateRect(hwnd, &c.region, TRUE);
        UpdateWindow(hwnd);
        const winsim::Picture& now = winsim::Screen();
        EXPECT_EQ(test::FirstDifference(now, whole, c.region.left, c.region.top, c.region.right,
                                        c.region.bottom), "");
        // And nothing outside it was touched.
        EXPECT_EQ(test::FirstDifference(now, scribbled, 0, 0, 390, c.region.top), "");
        EXPECT_EQ(test::FirstDifference(now, scribbled, 0, c.region.bottom, 390, 280), "");
        g_phase = PHASE_REMOVAL;
    });
}

INSTANTIATE_TEST_SUITE_P(Regions, PartialRepaint, testing::ValuesIn(kRegions),
                         [](const testing::TestParamInfo<RegionCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
