// The nine bitmaps of res/, decoded with the project's BMP reader and
// compared with their described rows, runs and colour counts.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "asset_readers.h"
#include "winsim/dib.h"

namespace {

using assets::Canvas;
using assets::Span;
using winsim::Rgb;

// Palette indices of the standard 16 colours and of a 1-bit picture.
enum : std::uint8_t {
    K = 0,    // black
    MAR = 1,  // maroon
    NAV = 4,  // navy
    RED = 9,
    YEL = 11,
    BLU = 12,
    CYA = 14,
    WHI = 15,
};
enum : std::uint8_t { MONO_K = 0, MONO_W = 1 };

const std::vector<Rgb> kStandardPalette = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},   {128, 0, 128},
    {0, 128, 128},   {192, 192, 192}, {128, 128, 128}, {255, 0, 0}, {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
const std::vector<Rgb> kMonoPalette = {{0, 0, 0}, {255, 255, 255}};

winsim::Dib Load(const std::string& name) {
    const std::optional<winsim::Dib> d = winsim::DecodeDib(assets::ReadFile(assets::ResPath(name)));
    if (!d) throw std::runtime_error(name + " does not decode");
    return *d;
}

// ---- storage and colour counts ----------------------------------------------

struct ColourCount {
    Rgb colour;
    int pixels;
};

struct BitmapCase {
    const char* name;
    const char* file;
    int width, height, bitCount;
    std::uint32_t compression;
    std::vector<ColourCount> counts;
};

const Rgb kBlack{0, 0, 0}, kMaroon{128, 0, 0}, kNavy{0, 0, 128}, kRed{255, 0, 0},
    kYellow{255, 255, 0}, kBlue{0, 0, 255}, kCyan{0, 255, 255}, kWhite{255, 255, 255};

const BitmapCase kBitmaps[] = {
    {"BlueVirus", "bluevirus.bmp", 32, 32, 4, 2,
     {{kBlue, 706}, {kWhite, 240}, {kYellow, 60}, {kRed, 18}}},
    {"Hole", "hole.bmp", 48, 48, 1, 0, {{kWhite, 1600}, {kBlack, 704}}},
    {"Magnifier", "magnifier.bmp", 48, 48, 4, 2,
     {{kWhite, 1278}, {kCyan, 692}, {kMaroon, 173}, {kBlack, 161}}},
    {"Cross", "cross.bmp", 32, 32, 4, 0, {{kWhite, 676}, {kRed, 348}}},
    {"RedVirus", "redvirus.bmp", 32, 32, 4, 2,
     {{kRed, 706}, {kWhite, 240}, {kCyan, 60}, {kNavy, 18}}},
    {"ShutterTop", "shuttertop.bmp", 390, 40, 1, 0, {{kBlack, 8190}, {kWhite, 7410}}},
    {"ShutterBottom", "shutterbottom.bmp", 390, 40, 1, 0, {{kBlack, 8190}, {kWhite, 7410}}},
    {"Logo", "logo.bmp", 150, 48, 1, 0, {}},
    {"ShieldVirus", "shieldvirus.bmp", 32, 32, 4, 2,
     {{kCyan, 377}, {kRed, 243}, {kWhite, 165}, {kBlue, 127}, {kBlack, 103}, {kNavy, 9}}},
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const BitmapCase& c, std::ostream* os) { *os << c.name; }

class BitmapStorage : public testing::TestWithParam<BitmapCase> {};

TEST_P(BitmapStorage, FormatPaletteAndColourCounts) {
    const BitmapCase& c = GetParam();
    const winsim::Dib d = Load(c.file);
    EXPECT_EQ(d.width, c.width);
    EXPECT_EQ(d.height, c.height);
    EXPECT_EQ(d.bitCount, c.bitCount);
    EXPECT_EQ(d.compression, c.compression);
    // Wine 8 loads top-down bitmap resources as solid black.
    EXPECT_FALSE(d.storedTopDown);
    EXPECT_EQ(d.palette, c.bitCount == 4 ? kStandardPalette : kMonoPalette);

    if (c.counts.empty()) return;  // the logo has no fixed counts
    std::map<std::uint32_t, int> seen;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) {
            const Rgb p = d.ColourAt(x, y);
            ++seen[p.r << 16 | p.g << 8 | p.b];
        }
    std::map<std::uint32_t, int> expected;
    for (const ColourCount& cc : c.counts) expected[cc.colour.r << 16 | cc.colour.g << 8 | cc.colour.b] = cc.pixels;
    EXPECT_EQ(seen, expected);
}

INSTANTIATE_TEST_SUITE_P(Res, BitmapStorage, testing::ValuesIn(kBitmaps),
                         [](const testing::TestParamInfo<BitmapCase>& i) { return std::string(i.param.name); });

// ---- the virus faces ---------------------------------------------------------

const std::vector<Span> kVirusBody = {
    {0, 0, 11, 20}, {1, 1, 9, 22}, {2, 2, 7, 24}, {3, 3, 5, 26}, {4, 4, 4, 27},
    {5, 5, 3, 28},  {6, 7, 2, 29}, {8, 9, 1, 30}, {10, 31, 0, 31},
};
const std::vector<Span> kVirusEyes = {
    {11, 11, 6, 11},  {12, 12, 5, 12},  {13, 13, 4, 13},  {14, 16, 3, 14},
    {17, 17, 4, 13},  {18, 18, 5, 12},  {19, 19, 6, 11},
    {11, 11, 20, 25}, {12, 12, 19, 26}, {13, 13, 18, 27}, {14, 16, 17, 28},
    {17, 17, 18, 27}, {18, 18, 19, 26}, {19, 19, 20, 25},
};
const std::vector<Span> kVirusPupils = {{14, 16, 7, 9}, {14, 16, 22, 24}};
const std::vector<Span> kVirusMouth = {
    {24, 25, 9, 10}, {24, 25, 21, 22}, {26, 28, 9, 22}, {29, 29, 11, 20},
};

Canvas VirusFace(std::uint8_t body, std::uint8_t pupils, std::uint8_t mouth) {
    Canvas c(32, 32, WHI);
    c.Paint(kVirusBody, body).Paint(kVirusEyes, WHI).Paint(kVirusPupils, pupils).Paint(kVirusMouth, mouth);
    return c;
}

TEST(VirusBitmaps, BlueAndRedFacesFollowTheirRows) {
    EXPECT_EQ(FirstDifference(VirusFace(BLU, RED, YEL), Load("bluevirus.bmp")), "");
    EXPECT_EQ(FirstDifference(VirusFace(RED, NAV, CYA), Load("redvirus.bmp")), "");
}

TEST(VirusBitmaps, ShieldIsTheBlackMouthedRedFaceUnderCheckerboardAndLabel) {
    const Canvas face = VirusFace(RED, NAV, K);
    Canvas label(32, 32, 0);
    label.Paint({{1, 9, 1, 30}}, K).Paint({{2, 8, 2, 29}, {1, 1, 29, 29}}, BLU);
    label.Paint({{2, 2, 4, 4},   {2, 2, 7, 11},  {2, 2, 13, 15}, {2, 2, 21, 21}, {2, 2, 23, 23},
                 {2, 2, 26, 26}, {2, 2, 29, 29}, {3, 3, 3, 3},   {3, 3, 5, 5},   {3, 3, 9, 9},
                 {3, 3, 15, 15}, {3, 3, 21, 21}, {3, 3, 23, 23}, {3, 3, 26, 26}, {3, 3, 28, 28},
                 {4, 4, 2, 2},   {4, 4, 6, 6},   {4, 4, 9, 9},   {4, 4, 15, 15}, {4, 4, 21, 21},
                 {4, 4, 23, 23}, {4, 4, 26, 26}, {5, 5, 2, 2},   {5, 5, 6, 6},   {5, 5, 9, 9},
                 {5, 5, 15, 15}, {5, 5, 18, 21}, {5, 5, 23, 23}, {5, 5, 26, 27}, {6, 6, 2, 6},
                 {6, 6, 9, 9},   {6, 6, 14, 14}, {6, 6, 17, 17}, {6, 6, 21, 21}, {6, 6, 23, 23},
                 {6, 6, 26, 26}, {6, 6, 28, 28}, {7, 7, 2, 2},   {7, 7, 6, 6},   {7, 7, 9, 9},
                 {7, 7, 14, 14}, {7, 7, 17, 17}, {7, 7, 21, 21}, {7, 7, 23, 23}, {7, 7, 25, 26},
                 {8, 8, 2, 2},   {8, 8, 6, 6},   {8, 8, 9, 9},   {8, 8, 13, 13}, {8, 8, 16, 17},
                 {8, 8, 20, 20}, {8, 8, 23, 24}, {8, 8, 26, 26}},
                WHI);
    Canvas want = face;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (x >= 1 && x <= 30 && y >= 1 && y <= 9)
                want.Set(x, y, label.At(x, y));
            else if ((x + y) % 2 == 0)
                want.Set(x, y, CYA);
        }
    EXPECT_EQ(FirstDifference(want, Load("shieldvirus.bmp")), "");
}

// ---- cross and hole ----------------------------------------------------------

TEST(CrossBitmap, TwoStrokesSixPixelsWide) {
    // Red runs of chosen rows: where the strokes meet the corners, where they
    // cross, and rows 14/17 and 15/16, equal because the rising stroke sits
    // one column left of the falling one's mirror image.
    struct Row {
        int y;
        std::vector<Span> red;
    };
    const Row rows[] = {
        {0, {{0, 0, 0, 2}, {0, 0, 28, 31}}},   {1, {{0, 0, 0, 3}, {0, 0, 27, 31}}},
        {2, {{0, 0, 0, 4}, {0, 0, 26, 31}}},   {3, {{0, 0, 0, 5}, {0, 0, 25, 30}}},
        {14, {{0, 0, 11, 19}}},                {15, {{0, 0, 12, 18}}},
        {16, {{0, 0, 12, 18}}},                {17, {{0, 0, 11, 19}}},
        {29, {{0, 0, 0, 4}, {0, 0, 26, 31}}},  {30, {{0, 0, 0, 3}, {0, 0, 27, 31}}},
        {31, {{0, 0, 0, 2}, {0, 0, 28, 31}}},
    };
    const winsim::Dib d = Load("cross.bmp");
    for (const Row& r : rows) {
        SCOPED_TRACE("row " + std::to_string(r.y));
        Canvas want(32, 1, WHI);
        want.Paint(r.red, RED);
        EXPECT_EQ(assets::FirstDifference(want, 32, 1, [&](int x, int) { return d.IndexAt(x, r.y); }), "");
    }
}

TEST(HoleBitmap, BlackFrameFourWideAroundWhiteInterior) {
    Canvas want(48, 48, MONO_K);
    want.Paint({{4, 43, 4, 43}}, MONO_W);
    EXPECT_EQ(FirstDifference(want, Load("hole.bmp")), "");
}

// A sprite's white corners must not be told from the hole's interior.
TEST(SpriteBitmaps, WhitesArePureWhite) {
    const struct {
        const char* file;
        int x, y;
    } whites[] = {
        {"bluevirus.bmp", 0, 0}, {"redvirus.bmp", 31, 0}, {"cross.bmp", 15, 0},
        {"hole.bmp", 4, 4},      {"hole.bmp", 43, 43},
    };
    for (const auto& w : whites) {
        SCOPED_TRACE(w.file);
        EXPECT_EQ(Load(w.file).ColourAt(w.x, w.y), (Rgb{255, 255, 255}));
    }
}

// ---- magnifier ---------------------------------------------------------------

TEST(MagnifierBitmap, LensCrossHairsAndHandle) {
    // Per lens row: its extent, rim included, and the rim pixels at each end.
    struct LensRow {
        int row, first, last, rimLeft, rimRight;
    };
    const LensRow lens[] = {
        {1, 10, 21, 3, 3},  {2, 8, 23, 2, 2},   {3, 7, 24, 1, 1},   {4, 5, 26, 2, 2},
        {5, 4, 27, 1, 1},   {6, 4, 27, 1, 1},   {7, 3, 28, 1, 1},   {8, 2, 29, 1, 1},
        {9, 2, 29, 1, 1},   {10, 1, 30, 1, 1},  {11, 1, 30, 1, 1},  {12, 1, 30, 1, 1},
        {13, 0, 31, 1, 1},  {14, 0, 31, 1, 1},  {15, 0, 31, 1, 1},  {16, 0, 31, 1, 1},
        {17, 0, 31, 1, 1},  {18, 0, 31, 1, 1},  {19, 0, 31, 1, 1},  {20, 1, 30, 1, 1},
        {21, 1, 30, 1, 1},  {22, 1, 30, 1, 2},  {23, 2, 29, 1, 1},  {24, 2, 29, 1, 1},
        {25, 3, 28, 1, 1},  {26, 4, 27, 1, 1},  {27, 4, 27, 1, 1},  {28, 5, 26, 2, 2},
        {29, 7, 24, 1, 2},  {30, 8, 23, 2, 2},  {31, 10, 21, 3, 3},
    };
    Canvas want(48, 48, WHI);
    want.Paint({{0, 0, 13, 18}, {32, 32, 13, 18}}, K);  // all rim
    for (const LensRow& r : lens) {
        want.Paint({{r.row, r.row, r.first, r.last}}, K);
        want.Paint({{r.row, r.row, r.first + r.rimLeft, r.last - r.rimRight}}, CYA);
    }
    want.Paint({{12, 19, 15, 16}, {15, 16, 12, 19}}, K);  // cross hairs
    // The handle: its growth out of the rim, the straight band, the end.
    want.Paint({{25, 25, 29, 29}, {26, 26, 28, 30}, {27, 27, 28, 31}, {28, 28, 27, 32}, {29, 29, 25, 33}}, MAR);
    want.Paint({{25, 25, 30, 30}, {26, 26, 31, 31}, {27, 27, 32, 32}, {28, 28, 33, 33}, {29, 29, 34, 34}}, K);
    struct BandRow {
        int row, black, firstMaroon, lastMaroon, otherBlack;
    };
    const BandRow band[] = {
        {30, 24, 25, 34, 35}, {31, 25, 26, 35, 36}, {32, 26, 27, 36, 37}, {33, 27, 28, 37, 38},
        {34, 28, 29, 38, 39}, {35, 29, 30, 39, 40}, {36, 30, 31, 40, 41}, {37, 31, 32, 41, 42},
        {38, 32, 33, 42, 43}, {39, 33, 34, 43, 44}, {40, 34, 35, 44, 45}, {41, 35, 36, 45, 46},
        {42, 36, 37, 46, 47}, {43, 37, 38, 45, 46}, {44, 38, 39, 44, 45}, {45, 39, 40, 43, 44},
        {46, 40, 41, 42, 43},
    };
    for (const BandRow& b : band) {
        want.Paint({{b.row, b.row, b.black, b.black}, {b.row, b.row, b.otherBlack, b.otherBlack}}, K);
        want.Paint({{b.row, b.row, b.firstMaroon, b.lastMaroon}}, MAR);
    }
    want.Paint({{47, 47, 41, 42}}, K);
    EXPECT_EQ(FirstDifference(want, Load("magnifier.bmp")), "");
}

// ---- shutters and logo -------------------------------------------------------

// Each shutter row is one colour across all 390 columns; 'B' black, '.' white.
std::string ShutterRows(const winsim::Dib& d) {
    std::string rows;
    for (int y = 0; y < d.height; ++y) {
        char c = d.IndexAt(0, y) == MONO_K ? 'B' : '.';
        for (int x = 1; x < d.width; ++x)
            if (d.IndexAt(x, y) != d.IndexAt(0, y)) c = '?';
        rows += c;
    }
    return rows;
}

TEST(ShutterBitmaps, StripesMirrorEachOtherWithBlackOuterRows) {
    const winsim::Dib top = Load("shuttertop.bmp"), bottom = Load("shutterbottom.bmp");
    //                          row 0         10        20        30      39
    EXPECT_EQ(ShutterRows(top), "BBBBBBBBBBB.BBBB..BBB...BB....B.........");
    EXPECT_EQ(ShutterRows(bottom), ".........B....BB...BBB..BBBB.BBBBBBBBBBB");
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 390; ++x)
            ASSERT_EQ(bottom.IndexAt(x, y), top.IndexAt(x, 39 - y)) << "(" << x << ", " << y << ")";
}

TEST(LogoBitmap, LetteringStaysInsideItsFrame) {
    const winsim::Dib d = Load("logo.bmp");
    int firstRow = 48, lastRow = -1, firstColumn = 150, lastColumn = -1, row35 = 0;
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x)
            if (d.IndexAt(x, y) == MONO_K) {
                firstRow = std::min(firstRow, y), lastRow = std::max(lastRow, y);
                firstColumn = std::min(firstColumn, x), lastColumn = std::max(lastColumn, x);
                row35 += y == 35;
            }
    // Every row outside 12..35 is white, rows 0-3 and 46-47 in particular,
    // which the shutters pass over.
    EXPECT_EQ(firstRow, 12);
    EXPECT_EQ(lastRow, 35);
    EXPECT_EQ(row35, 1);  // capitals end on row 34; one pixel reaches row 35
    EXPECT_EQ(firstColumn, 7);
    EXPECT_EQ(lastColumn, 142);

    // Seven letters, VELQUAR, stand apart: seven groups of inked columns.
    int letters = 0;
    bool inLetter = false;
    for (int x = 0; x < d.width; ++x) {
        bool ink = false;
        for (int y = 0; y < d.height; ++y) ink = ink || d.IndexAt(x, y) == MONO_K;
        letters += ink && !inLetter;
        inLetter = ink;
    }
    EXPECT_EQ(letters, 7);
}

}  // namespace
