// picture.h: the generator's canvas, one palette index per pixel, and the
// palettes the pictures are drawn in.
#ifndef RESGEN_PICTURE_H
#define RESGEN_PICTURE_H

#include <cstdint>
#include <vector>

namespace resgen {

struct Rgb {
    std::uint8_t r, g, b;
};

// A picture as shown: row 0 is the top row, column 0 the left column.
class Picture {
public:
    Picture(int width, int height, std::uint8_t fill)
        : width_(width), height_(height),
          index_(static_cast<std::size_t>(width) * height, fill) {}

    int Width() const { return width_; }
    int Height() const { return height_; }
    std::uint8_t At(int x, int y) const { return index_[Offset(x, y)]; }
    void Set(int x, int y, std::uint8_t value) { index_[Offset(x, y)] = value; }

    // Paints columns first..last (inclusive) of rows top..bottom (inclusive).
    void Fill(int first, int last, int top, int bottom, std::uint8_t value) {
        for (int y = top; y <= bottom; ++y)
            for (int x = first; x <= last; ++x) Set(x, y, value);
    }

private:
    std::size_t Offset(int x, int y) const;

    int width_;
    int height_;
    std::vector<std::uint8_t> index_;
};

// A run of pixels on one or more rows: columns first..last of rows
// top..bottom, all inclusive, the way the pictures are described.
struct Run {
    int top, bottom, first, last;
};

template <std::size_t N>
void Paint(Picture& p, const Run (&runs)[N], std::uint8_t value, int dx = 0) {
    for (const Run& r : runs) p.Fill(r.first + dx, r.last + dx, r.top, r.bottom, value);
}

// The standard 16-colour palette of the system.
enum Colour : std::uint8_t {
    BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER,
    GREY, RED, LIME, YELLOW, BLUE, FUCHSIA, CYAN, WHITE
};
const std::vector<Rgb>& StandardPalette();

// The two entries of a 1-bit picture.
enum Mono : std::uint8_t { MONO_BLACK = 0, MONO_WHITE = 1 };
const std::vector<Rgb>& MonoPalette();

// The pixels of the mallet cursor, which has no palette but two masks.
enum CursorPixel : std::uint8_t { CURSOR_TRANSPARENT, CURSOR_BLACK, CURSOR_WHITE, CURSOR_INVERTED };

// A pixel of the icon that its mask leaves transparent.
constexpr std::uint8_t ICON_TRANSPARENT = 0xFF;

}  // namespace resgen

#endif
