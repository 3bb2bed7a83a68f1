// pictures.cpp: the bitmaps, the cursor and the icon. Rows and columns count
// from the top-left pixel as the picture is shown; every Run is inclusive.
#include "pictures.h"

namespace resgen {
namespace {

// ---- the virus faces --------------------------------------------------------

struct FaceColours {
    std::uint8_t body, pupils, mouth;
};

// The virus seen from the front: a dome-topped body filling the box, two
// white eyes with square pupils and a grin. The corners outside the dome
// stay white so that they merge with the hole's white interior.
Picture VirusFace(FaceColours c) {
    static const Run kBody[] = {
        {0, 0, 11, 20}, {1, 1, 9, 22}, {2, 2, 7, 24}, {3, 3, 5, 26}, {4, 4, 4, 27},
        {5, 5, 3, 28},  {6, 7, 2, 29}, {8, 9, 1, 30}, {10, 31, 0, 31},
    };
    static const Run kLeftEye[] = {
        {11, 11, 6, 11}, {12, 12, 5, 12}, {13, 13, 4, 13}, {14, 16, 3, 14},
        {17, 17, 4, 13}, {18, 18, 5, 12}, {19, 19, 6, 11},
    };
    constexpr int RIGHT_EYE_SHIFT = 14;
    static const Run kPupils[] = {{14, 16, 7, 9}, {14, 16, 22, 24}};
    static const Run kMouth[] = {
        {24, 25, 9, 10}, {24, 25, 21, 22},  // the raised corners
        {26, 28, 9, 22}, {29, 29, 11, 20},
    };

    Picture p(32, 32, WHITE);
    Paint(p, kBody, c.body);
    Paint(p, kLeftEye, WHITE);
    Paint(p, kLeftEye, WHITE, RIGHT_EYE_SHIFT);
    Paint(p, kPupils, c.pupils);
    Paint(p, kMouth, c.mouth);
    return p;
}

// The label bar of the shield virus: a black frame with a notch of blue at
// its top right, a blue field and white lettering starting "AT".
void ShieldLabel(Picture& p) {
    p.Fill(1, 30, 1, 9, BLACK);
    p.Fill(2, 29, 2, 8, BLUE);
    p.Set(29, 1, BLUE);
    static const Run kLettering[] = {
        {2, 2, 4, 4},   {2, 2, 7, 11},  {2, 2, 13, 15}, {2, 2, 21, 21}, {2, 2, 23, 23},
        {2, 2, 26, 26}, {2, 2, 29, 29},
        {3, 3, 3, 3},   {3, 3, 5, 5},   {3, 3, 9, 9},   {3, 3, 15, 15}, {3, 3, 21, 21},
        {3, 3, 23, 23}, {3, 3, 26, 26}, {3, 3, 28, 28},
        {4, 4, 2, 2},   {4, 4, 6, 6},   {4, 4, 9, 9},   {4, 4, 15, 15}, {4, 4, 21, 21},
        {4, 4, 23, 23}, {4, 4, 26, 26},
        {5, 5, 2, 2},   {5, 5, 6, 6},   {5, 5, 9, 9},   {5, 5, 15, 15}, {5, 5, 18, 21},
        {5, 5, 23, 23}, {5, 5, 26, 27},
        {6, 6, 2, 6},   {6, 6, 9, 9},   {6, 6, 14, 14}, {6, 6, 17, 17}, {6, 6, 21, 21},
        {6, 6, 23, 23}, {6, 6, 26, 26}, {6, 6, 28, 28},
        {7, 7, 2, 2},   {7, 7, 6, 6},   {7, 7, 9, 9},   {7, 7, 14, 14}, {7, 7, 17, 17},
        {7, 7, 21, 21}, {7, 7, 23, 23}, {7, 7, 25, 26},
        {8, 8, 2, 2},   {8, 8, 6, 6},   {8, 8, 9, 9},   {8, 8, 13, 13}, {8, 8, 16, 17},
        {8, 8, 20, 20}, {8, 8, 23, 24}, {8, 8, 26, 26},
    };
    Paint(p, kLettering, WHITE);
}

bool InShieldLabel(int x, int y) { return x >= 1 && x <= 30 && y >= 1 && y <= 9; }

// ---- the magnifying glass ---------------------------------------------------

// The lens's extent per row, rim included, and how many rim pixels stand at
// each end of the row where that is not one.
struct LensRow {
    int top, bottom, first, last;
};
struct RimException {
    int row, left, right;
};

void MagnifierLens(Picture& p) {
    static const LensRow kLens[] = {
        {0, 0, 13, 18},  {1, 1, 10, 21},  {2, 2, 8, 23},   {3, 3, 7, 24},   {4, 4, 5, 26},
        {5, 6, 4, 27},   {7, 7, 3, 28},   {8, 9, 2, 29},   {10, 12, 1, 30}, {13, 19, 0, 31},
        {20, 22, 1, 30}, {23, 24, 2, 29}, {25, 25, 3, 28}, {26, 27, 4, 27}, {28, 28, 5, 26},
        {29, 29, 7, 24}, {30, 30, 8, 23}, {31, 31, 10, 21}, {32, 32, 13, 18},
    };
    static const RimException kThickRim[] = {
        {1, 3, 3},  {31, 3, 3}, {2, 2, 2},  {4, 2, 2},  {28, 2, 2},
        {30, 2, 2}, {22, 1, 2}, {29, 1, 2},
    };
    for (const LensRow& r : kLens) {
        for (int y = r.top; y <= r.bottom; ++y) {
            int left = 1, right = 1;
            for (const RimException& e : kThickRim)
                if (e.row == y) left = e.left, right = e.right;
            p.Fill(r.first, r.last, y, y, BLACK);
            if (y != 0 && y != 32) p.Fill(r.first + left, r.last - right, y, y, CYAN);
        }
    }
    // The cross hairs.
    p.Fill(15, 16, 12, 19, BLACK);
    p.Fill(12, 19, 15, 16, BLACK);
}

// The handle runs at 45 degrees down to the bottom-right corner: a maroon
// band whose right edge is black at column row + 5.
void MagnifierHandle(Picture& p) {
    static const Run kGrowth[] = {  // where it grows out of the rim
        {25, 25, 29, 29}, {26, 26, 28, 30}, {27, 27, 28, 31}, {28, 28, 27, 32}, {29, 29, 25, 33},
    };
    Paint(p, kGrowth, MAROON);
    for (int y = 25; y <= 42; ++y) p.Set(y + 5, y, BLACK);
    for (int y = 30; y <= 42; ++y) {
        p.Set(y - 6, y, BLACK);
        p.Fill(y - 5, y + 4, y, y, MAROON);
    }
    // The end, cut square across the band: black, maroon, black on each row
    // as the band narrows to its corner.
    struct EndRow {
        int row, black, firstMaroon, lastMaroon, otherBlack;
    };
    static const EndRow kEnd[] = {
        {43, 37, 38, 45, 46}, {44, 38, 39, 44, 45}, {45, 39, 40, 43, 44}, {46, 40, 41, 42, 43},
    };
    for (const EndRow& e : kEnd) {
        p.Set(e.black, e.row, BLACK);
        p.Fill(e.firstMaroon, e.lastMaroon, e.row, e.row, MAROON);
        p.Set(e.otherBlack, e.row, BLACK);
    }
    p.Fill(41, 42, 47, 47, BLACK);
}

// ---- the shutters -----------------------------------------------------------

// Rows top..bottom of one colour across the whole width.
struct Stripe {
    int top, bottom;
    std::uint8_t colour;
};

// ---- the mallet -------------------------------------------------------------

// The head's black run on row y: a bar at 45 degrees with blunt ends.
Run MalletHeadRow(int y) {
    static const Run kEnds[] = {
        {2, 2, 18, 20}, {3, 3, 17, 21}, {4, 4, 16, 22}, {5, 5, 15, 23}, {6, 6, 14, 23},
        {7, 7, 13, 23}, {20, 20, 1, 10}, {21, 21, 1, 9}, {22, 22, 2, 8}, {23, 23, 3, 7},
        {24, 24, 4, 6},
    };
    if (y >= 8 && y <= 19) return {y, y, 20 - y, 30 - y};
    for (const Run& r : kEnds)
        if (r.top == y) return r;
    return {y, y, 1, 0};  // no head on this row
}

}  // namespace

Picture BlueVirus() { return VirusFace({BLUE, RED, YELLOW}); }

Picture RedVirus() { return VirusFace({RED, NAVY, CYAN}); }

// The red virus with a black mouth under a cyan checkerboard, and the label
// bar on top.
Picture ShieldVirus() {
    Picture p = VirusFace({RED, NAVY, BLACK});
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((x + y) % 2 == 0 && !InShieldLabel(x, y)) p.Set(x, y, CYAN);
    ShieldLabel(p);
    return p;
}

// A red X corner to corner: the falling stroke y - 3 <= x <= y + 2, the
// rising one 28 - y <= x <= 33 - y, one column left of its mirror image.
Picture Cross() {
    Picture p(32, 32, WHITE);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            if ((y - 3 <= x && x <= y + 2) || (28 - y <= x && x <= 33 - y)) p.Set(x, y, RED);
    return p;
}

// A black frame four pixels wide around a white interior of 40 by 40.
Picture Hole() {
    Picture p(48, 48, MONO_BLACK);
    p.Fill(4, 43, 4, 43, MONO_WHITE);
    return p;
}

Picture Magnifier() {
    Picture p(48, 48, WHITE);
    MagnifierLens(p);
    MagnifierHandle(p);
    return p;
}

// A solid black edge, then black stripes 4, 3, 2 and 1 rows thick separated
// by white gaps 1, 2, 3 and 4 rows thick, then white.
Picture ShutterTop() {
    static const Stripe kStripes[] = {
        {0, 10, MONO_BLACK},  {11, 11, MONO_WHITE}, {12, 15, MONO_BLACK}, {16, 17, MONO_WHITE},
        {18, 20, MONO_BLACK}, {21, 23, MONO_WHITE}, {24, 25, MONO_BLACK}, {26, 29, MONO_WHITE},
        {30, 30, MONO_BLACK}, {31, 39, MONO_WHITE},
    };
    Picture p(390, 40, MONO_WHITE);
    for (const Stripe& s : kStripes) p.Fill(0, 389, s.top, s.bottom, s.colour);
    return p;
}

// The top shutter upside down, so that both leave the same trail.
Picture ShutterBottom() {
    const Picture top = ShutterTop();
    Picture p(top.Width(), top.Height(), MONO_WHITE);
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x) p.Set(x, y, top.At(x, p.Height() - 1 - y));
    return p;
}

// The mallet, head from upper right to lower left, handle running down to
// the right at right angles to it.
Picture Mallet() {
    Picture p(32, 32, CURSOR_TRANSPARENT);
    // The head, with a one-pixel white outline.
    p.Fill(18, 20, 1, 1, CURSOR_WHITE);
    p.Fill(4, 6, 25, 25, CURSOR_WHITE);
    for (int y = 2; y <= 24; ++y) {
        const Run r = MalletHeadRow(y);
        p.Fill(r.first, r.last, y, y, CURSOR_BLACK);
        p.Set(r.first - 1, y, CURSOR_WHITE);
        p.Set(r.last + 1, y, CURSOR_WHITE);
    }
    // The handle: black edges with white between them, or between the head's
    // outline and the right edge where the handle joins the head.
    for (int y = 13; y <= 29; ++y) {
        const int right = y <= 23 ? y + 6 : y <= 25 ? 29 : 54 - y;
        const int left = y >= 20 ? y - 8 : MalletHeadRow(y).last + 1;
        p.Set(right, y, CURSOR_BLACK);
        if (y >= 20) p.Set(left, y, CURSOR_BLACK);
        if (left + 1 <= right - 1) p.Fill(left + 1, right - 1, y, y, CURSOR_WHITE);
    }
    p.Fill(22, 24, 30, 30, CURSOR_BLACK);
    return p;
}

// A navy virus with an antenna under a black figure, with lines of surprise
// at its sides; symmetric about column 16.
Picture AppIcon() {
    Picture p(32, 32, ICON_TRANSPARENT);
    // The head, open at the bottom edge: its black outline and navy inside.
    static const Run kHead[] = {
        {10, 10, 11, 21}, {11, 11, 10, 22}, {12, 12, 9, 23}, {13, 13, 8, 24},
        {14, 15, 7, 25},  {16, 31, 6, 26},
    };
    for (const Run& r : kHead) {
        for (int y = r.top; y <= r.bottom; ++y) {
            p.Fill(r.first, r.last, y, y, BLACK);
            const int outline = y == 10 ? 2 : 1;
            p.Fill(r.first + outline, r.last - outline, y, y, NAVY);
        }
    }
    static const Run kEyes[] = {
        {14, 14, 11, 13}, {14, 14, 19, 21}, {18, 18, 11, 13}, {18, 18, 19, 21},
        {15, 17, 10, 14}, {15, 17, 18, 22},
    };
    Paint(p, kEyes, WHITE);
    static const Run kMouth[] = {
        {22, 22, 14, 18}, {27, 27, 14, 18}, {23, 23, 13, 13}, {23, 23, 19, 19},
        {26, 26, 13, 13}, {26, 26, 19, 19}, {24, 25, 12, 12}, {24, 25, 20, 20},
    };
    Paint(p, kMouth, RED);
    // The antenna and its foot.
    p.Fill(16, 16, 4, 9, NAVY);
    p.Fill(15, 15, 5, 8, BLACK);
    p.Fill(17, 17, 5, 8, BLACK);
    p.Fill(13, 15, 9, 9, BLACK);
    p.Fill(17, 19, 9, 9, BLACK);
    static const Run kFigure[] = {
        {3, 3, 9, 23},   {4, 4, 9, 15},   {4, 4, 17, 23},  {0, 1, 9, 13},   {0, 1, 19, 23},
        {6, 7, 9, 13},   {6, 7, 19, 23},  {2, 2, 12, 13},  {2, 2, 19, 20},  {5, 5, 12, 13},
        {5, 5, 19, 20},
    };
    Paint(p, kFigure, BLACK);
    static const Run kSurprise[] = {
        {0, 0, 4, 5}, {0, 0, 27, 28}, {1, 1, 6, 6},  {1, 1, 26, 26}, {4, 4, 4, 6},
        {4, 4, 26, 28}, {8, 8, 6, 6}, {8, 8, 26, 26}, {9, 9, 4, 5},  {9, 9, 27, 28},
    };
    Paint(p, kSurprise, WHITE);
    return p;
}

}  // namespace resgen
