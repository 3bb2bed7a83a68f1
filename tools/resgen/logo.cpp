// logo.cpp: the maker's wordmark, VELQUAR in black serif capitals, drawn from
// a small stroke font: each letter is a few stems, bars, slanted strokes and
// elliptic bowls on a grid 23 rows high, with serifs as short bars.
#include "pictures.h"

namespace resgen {
namespace {

constexpr int LOGO_WIDTH = 150;
constexpr int LOGO_HEIGHT = 48;
constexpr int CAP_TOP = 12;     // the capitals fill rows 12 to 34
constexpr int CAP_BOTTOM = 22;  // the last row of a capital, in letter rows
constexpr int FIRST_COLUMN = 7;
constexpr int LETTER_GAP = 2;

// Rounds a / b to the nearest integer (b > 0), halves away from zero.
int RoundDiv(int a, int b) { return a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b); }

// Draws black into the logo in the coordinates of one letter: column 0 is
// the letter's left edge, row 0 the top of the capitals.
class Pen {
public:
    Pen(Picture& p, int left) : p_(p), left_(left) {}

    void Rect(int first, int last, int top, int bottom) {
        p_.Fill(left_ + first, left_ + last, CAP_TOP + top, CAP_TOP + bottom, MONO_BLACK);
    }
    void Dot(int x, int y) { Rect(x, x, y, y); }

    // A stroke of `thickness` pixels per row whose left edge runs straight
    // from (xTop, yTop) to (xBottom, yBottom).
    void Slant(int xTop, int yTop, int xBottom, int yBottom, int thickness) {
        for (int y = yTop; y <= yBottom; ++y) {
            const int x = xTop + RoundDiv((xBottom - xTop) * (y - yTop), yBottom - yTop);
            Rect(x, x + thickness - 1, y, y);
        }
    }

    // The pixels of the box [first, last] x [top, bottom] whose centres lie
    // inside the outer ellipse and outside the inner one.
    struct Ellipse {
        double cx, cy, rx, ry;
        bool Holds(double x, double y) const {
            const double dx = (x - cx) / rx, dy = (y - cy) / ry;
            return dx * dx + dy * dy <= 1.0;
        }
    };
    void Ring(const Ellipse& outer, const Ellipse& inner, int first, int last, int top, int bottom) {
        for (int y = top; y <= bottom; ++y)
            for (int x = first; x <= last; ++x)
                if (outer.Holds(x + 0.5, y + 0.5) && !inner.Holds(x + 0.5, y + 0.5)) Dot(x, y);
    }

private:
    Picture& p_;
    int left_;
};

// Each letter draws itself and returns its width.

int LetterV(Pen& pen) {
    pen.Rect(0, 6, 0, 0);    // serifs
    pen.Rect(12, 18, 0, 0);
    pen.Slant(2, 0, 8, CAP_BOTTOM, 3);    // the thick stroke
    pen.Slant(16, 0, 10, CAP_BOTTOM, 2);  // the hairline
    return 19;
}

int LetterE(Pen& pen) {
    pen.Rect(2, 4, 0, CAP_BOTTOM);  // stem
    pen.Rect(0, 15, 0, 1);          // arms, serifed at the stem
    pen.Rect(0, 15, 21, 22);
    pen.Rect(2, 11, 10, 11);
    pen.Rect(14, 15, 2, 5);    // arm serifs
    pen.Rect(14, 15, 17, 20);
    pen.Rect(11, 11, 8, 13);
    return 16;
}

int LetterL(Pen& pen) {
    pen.Rect(2, 4, 0, CAP_BOTTOM);
    pen.Rect(0, 7, 0, 0);
    pen.Rect(0, 14, 21, 22);
    pen.Rect(13, 14, 17, 20);
    return 15;
}

int LetterQ(Pen& pen) {
    pen.Ring({9.5, 11.5, 9.5, 11.5}, {9.5, 11.5, 6.5, 9.5}, 0, 18, 0, CAP_BOTTOM);
    pen.Slant(9, 16, 15, CAP_BOTTOM, 2);  // the tail, crossing the bowl
    pen.Dot(17, CAP_BOTTOM + 1);         // its tip, the one pixel below the line
    pen.Dot(16, CAP_BOTTOM);
    return 19;
}

int LetterU(Pen& pen) {
    pen.Rect(0, 6, 0, 0);  // serifs
    pen.Rect(13, 18, 0, 0);
    pen.Rect(2, 4, 0, 14);  // thick left stem, hairline right
    pen.Rect(15, 16, 0, 14);
    pen.Ring({9.5, 14.5, 7.5, 8.5}, {10.0, 14.5, 5.0, 6.5}, 2, 16, 15, CAP_BOTTOM);
    return 19;
}

int LetterA(Pen& pen) {
    pen.Slant(9, 0, 2, 21, 2);   // hairline
    pen.Slant(9, 0, 14, 21, 3);  // thick stroke
    pen.Rect(6, 14, 14, 15);     // crossbar
    pen.Rect(0, 6, CAP_BOTTOM, CAP_BOTTOM);  // serifs
    pen.Rect(12, 18, CAP_BOTTOM, CAP_BOTTOM);
    return 19;
}

int LetterR(Pen& pen) {
    pen.Rect(2, 4, 0, CAP_BOTTOM);  // stem
    pen.Rect(0, 10, 0, 1);          // top of the bowl, serifed
    pen.Rect(2, 10, 10, 11);        // its bottom
    pen.Ring({10.0, 6.0, 6.0, 6.0}, {10.0, 6.0, 3.5, 4.0}, 10, 16, 0, 11);
    pen.Slant(8, 12, 14, 21, 3);    // the leg
    pen.Rect(0, 7, CAP_BOTTOM, CAP_BOTTOM);  // serifs
    pen.Rect(13, 16, CAP_BOTTOM, CAP_BOTTOM);
    return 17;
}

}  // namespace

// The wordmark VELQUAR on white, its letters side by side from column 7.
Picture Logo() {
    using Letter = int (*)(Pen&);
    static const Letter kWord[] = {LetterV, LetterE, LetterL, LetterQ, LetterU, LetterA, LetterR};
    Picture p(LOGO_WIDTH, LOGO_HEIGHT, MONO_WHITE);
    int left = FIRST_COLUMN;
    for (Letter letter : kWord) {
        Pen pen(p, left);
        left += letter(pen) + LETTER_GAP;
    }
    return p;
}

}  // namespace resgen
