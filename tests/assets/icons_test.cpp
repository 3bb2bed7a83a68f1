// The mallet cursor and the application icon of res/: their file headers,
// masks and the described pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asset_readers.h"

namespace {

using assets::Canvas;
using assets::Span;

assets::IconFile LoadIconFile(const std::string& name) {
    const std::optional<assets::IconFile> f = assets::ReadIconFile(assets::ReadFile(assets::ResPath(name)));
    if (!f) throw std::runtime_error(name + " is not an icon or cursor file");
    return *f;
}

assets::IconImage Decode(const assets::IconFile& f) {
    const std::optional<assets::IconImage> i = assets::DecodeIconImage(f.image);
    if (!i) throw std::runtime_error("the image does not decode");
    return *i;
}

// ---- the cursor --------------------------------------------------------------

// What the screen shows through a cursor pixel: (screen AND mask) XOR colour.
enum CursorPixel : std::uint8_t { TRANSPARENT, BLACK, WHITE, INVERTED };

std::uint8_t CursorAt(const assets::IconImage& i, int x, int y) {
    const bool white = i.colour.IndexAt(x, y) == 1;
    if (i.Masked(x, y)) return white ? INVERTED : TRANSPARENT;
    return white ? WHITE : BLACK;
}

TEST(MalletCursor, FileHeaderAndHotspot) {
    const assets::IconFile f = LoadIconFile("mallet.cur");
    EXPECT_EQ(f.type, 2);
    EXPECT_EQ(f.count, 1);
    EXPECT_EQ(f.width, 32);
    EXPECT_EQ(f.height, 32);
    EXPECT_EQ(f.word1, 3);   // hotspot column
    EXPECT_EQ(f.word2, 22);  // hotspot row
    const assets::IconImage i = Decode(f);
    EXPECT_EQ(i.storedHeight, 64u);
    EXPECT_EQ(i.colour.bitCount, 1);
    EXPECT_EQ(i.colour.palette, (std::vector<winsim::Rgb>{{0, 0, 0}, {255, 255, 255}}));
    // The hotspot is in the black of the head's striking face.
    EXPECT_EQ(CursorAt(i, 3, 22), BLACK);
}

TEST(MalletCursor, HeadAndHandleFollowTheirRows) {
    // The head's black run per row, outlined in white on both sides.
    const std::vector<Span> head = {
        {2, 2, 18, 20},  {3, 3, 17, 21},  {4, 4, 16, 22},  {5, 5, 15, 23},  {6, 6, 14, 23},
        {7, 7, 13, 23},  {8, 8, 12, 22},  {9, 9, 11, 21},  {10, 10, 10, 20}, {11, 11, 9, 19},
        {12, 12, 8, 18}, {13, 13, 7, 17}, {14, 14, 6, 16}, {15, 15, 5, 15},  {16, 16, 4, 14},
        {17, 17, 3, 13}, {18, 18, 2, 12}, {19, 19, 1, 11}, {20, 20, 1, 10},  {21, 21, 1, 9},
        {22, 22, 2, 8},  {23, 23, 3, 7},  {24, 24, 4, 6},
    };
    Canvas want(32, 32, TRANSPARENT);
    want.Paint({{1, 1, 18, 20}, {25, 25, 4, 6}}, WHITE);
    for (const Span& r : head) want.Paint({{r.top, r.top, r.first - 1, r.last + 1}}, WHITE);
    want.Paint(head, BLACK);
    // The handle per row: black left edge (or the head's outline), white
    // inside, black right edge; then its closed end.
    struct HandleRow {
        int row, leftBlack, firstWhite, lastWhite, rightBlack;
    };
    const HandleRow handle[] = {
        {13, -1, 19, 18, 19}, {14, -1, 18, 19, 20}, {15, -1, 17, 20, 21}, {16, -1, 16, 21, 22},
        {17, -1, 15, 22, 23}, {18, -1, 14, 23, 24}, {19, -1, 13, 24, 25}, {20, 12, 13, 25, 26},
        {21, 13, 14, 26, 27}, {22, 14, 15, 27, 28}, {23, 15, 16, 28, 29}, {24, 16, 17, 28, 29},
        {25, 17, 18, 28, 29}, {26, 18, 19, 27, 28}, {27, 19, 20, 26, 27}, {28, 20, 21, 25, 26},
        {29, 21, 22, 24, 25},
    };
    for (const HandleRow& h : handle) {
        if (h.leftBlack >= 0) want.Paint({{h.row, h.row, h.leftBlack, h.leftBlack}}, BLACK);
        want.Paint({{h.row, h.row, h.firstWhite, h.lastWhite}}, WHITE);
        want.Paint({{h.row, h.row, h.rightBlack, h.rightBlack}}, BLACK);
    }
    want.Paint({{30, 30, 22, 24}}, BLACK);

    const assets::IconImage i = Decode(LoadIconFile("mallet.cur"));
    EXPECT_EQ(assets::FirstDifference(want, 32, 32, [&](int x, int y) { return CursorAt(i, x, y); }), "");
}

TEST(MalletCursor, CountsAndTransparentBorder) {
    const assets::IconImage i = Decode(LoadIconFile("mallet.cur"));
    int counts[4] = {};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) ++counts[CursorAt(i, x, y)];
    EXPECT_EQ(counts[BLACK], 241);
    EXPECT_EQ(counts[WHITE], 193);
    EXPECT_EQ(counts[TRANSPARENT], 590);
    EXPECT_EQ(counts[INVERTED], 0);
    for (int n = 0; n < 32; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(CursorAt(i, n, 0), TRANSPARENT);
        EXPECT_EQ(CursorAt(i, n, 31), TRANSPARENT);
        EXPECT_EQ(CursorAt(i, 30, n), TRANSPARENT);
        EXPECT_EQ(CursorAt(i, 31, n), TRANSPARENT);
    }
}

// ---- the icon ----------------------------------------------------------------

enum : std::uint8_t { K = 0, RED = 9, NAV = 4, WHI = 15, CLEAR = 0xFF };

std::uint8_t IconAt(const assets::IconImage& i, int x, int y) {
    return i.Masked(x, y) ? std::uint8_t{CLEAR} : i.colour.IndexAt(x, y);
}

TEST(AppIcon, FileHeaderAndPalette) {
    const assets::IconFile f = LoadIconFile("app.ico");
    EXPECT_EQ(f.type, 1);
    EXPECT_EQ(f.count, 1);
    EXPECT_EQ(f.width, 32);
    EXPECT_EQ(f.height, 32);
    EXPECT_EQ(f.colourCount, 16);
    EXPECT_EQ(f.word1, 1);  // planes
    EXPECT_EQ(f.word2, 4);  // bits per pixel
    const assets::IconImage i = Decode(f);
    EXPECT_EQ(i.storedHeight, 64u);
    EXPECT_EQ(i.colour.bitCount, 4);
    ASSERT_EQ(i.colour.palette.size(), 16u);
    EXPECT_EQ(i.colour.palette[NAV], (winsim::Rgb{0, 0, 128}));
    EXPECT_EQ(i.colour.palette[RED], (winsim::Rgb{255, 0, 0}));
    EXPECT_EQ(i.colour.palette[WHI], (winsim::Rgb{255, 255, 255}));
    // Masked pixels carry colour 0, so the screen shows through unchanged
    // instead of being inverted or tinted.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if (i.Masked(x, y)) {
                ASSERT_EQ(i.colour.IndexAt(x, y), 0) << "(" << x << ", " << y << ")";
            }
}

TEST(AppIcon, NavyVirusWithAntennaFollowsItsRows) {
    Canvas want(32, 32, CLEAR);
    want.Paint({{10, 10, 11, 21}, {11, 11, 10, 22}, {12, 12, 9, 23}, {13, 13, 8, 24}, {14, 15, 7, 25},
                {16, 31, 6, 26}},
               K);
    want.Paint({{10, 10, 13, 19}, {11, 11, 11, 21}, {12, 12, 10, 22}, {13, 13, 9, 23}, {14, 15, 8, 24},
                {16, 31, 7, 25}},
               NAV);
    want.Paint({{14, 14, 11, 13}, {14, 14, 19, 21}, {18, 18, 11, 13}, {18, 18, 19, 21}, {15, 17, 10, 14},
                {15, 17, 18, 22}},
               WHI);
    want.Paint({{22, 22, 14, 18}, {27, 27, 14, 18}, {23, 23, 13, 13}, {23, 23, 19, 19}, {26, 26, 13, 13},
                {26, 26, 19, 19}, {24, 25, 12, 12}, {24, 25, 20, 20}},
               RED);
    want.Paint({{4, 9, 16, 16}}, NAV);  // the antenna
    want.Paint({{5, 8, 15, 15}, {5, 8, 17, 17}, {9, 9, 13, 15}, {9, 9, 17, 19}}, K);
    want.Paint({{3, 3, 9, 23}, {4, 4, 9, 15}, {4, 4, 17, 23}, {0, 1, 9, 13}, {0, 1, 19, 23}, {6, 7, 9, 13},
                {6, 7, 19, 23}, {2, 2, 12, 13}, {2, 2, 19, 20}, {5, 5, 12, 13}, {5, 5, 19, 20}},
               K);  // the figure on top
    want.Paint({{0, 0, 4, 5}, {0, 0, 27, 28}, {1, 1, 6, 6}, {1, 1, 26, 26}, {4, 4, 4, 6}, {4, 4, 26, 28},
                {8, 8, 6, 6}, {8, 8, 26, 26}, {9, 9, 4, 5}, {9, 9, 27, 28}},
               WHI);  // lines of surprise

    const assets::IconImage i = Decode(LoadIconFile("app.ico"));
    EXPECT_EQ(assets::FirstDifference(want, 32, 32, [&](int x, int y) { return IconAt(i, x, y); }), "");
}

TEST(AppIcon, OpaqueCountAndSymmetryAboutColumn16) {
    const assets::IconImage i = Decode(LoadIconFile("app.ico"));
    int opaque = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) opaque += !i.Masked(x, y);
    EXPECT_EQ(opaque, 545);
    // Column x mirrors column 32 - x. Column 0 would mirror column 32, which
    // the 32-pixel picture does not have, so symmetry leaves column 0 empty.
    for (int y = 0; y < 32; ++y) {
        SCOPED_TRACE("row " + std::to_string(y));
        EXPECT_EQ(IconAt(i, 0, y), CLEAR);
        for (int x = 1; x < 32; ++x) EXPECT_EQ(IconAt(i, x, y), IconAt(i, 32 - x, y)) << "column " << x;
    }
}

}  // namespace
