// dib.h: the project's reader of device-independent bitmaps (BMP files and
// the DIBs of bitmap resources), used by the stand-in's LoadBitmapA and by
// the asset tests.
#ifndef WINSIM_DIB_H
#define WINSIM_DIB_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace winsim {

struct Rgb {
    std::uint8_t r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

// A decoded picture: one palette index per pixel, rows top-down as shown.
struct Dib {
    int width = 0;
    int height = 0;            // always positive here
    int bitCount = 0;          // 1, 4 or 8
    std::uint32_t compression = 0;  // 0 BI_RGB, 1 BI_RLE8, 2 BI_RLE4
    bool storedTopDown = false;     // the header had a negative height
    std::vector<Rgb> palette;
    std::vector<std::uint8_t> index;  // width * height entries, row-major, top row first

    std::uint8_t IndexAt(int x, int y) const { return index[static_cast<std::size_t>(y) * width + x]; }
    Rgb ColourAt(int x, int y) const { return palette.at(IndexAt(x, y)); }
};

// Decodes a BMP file (starting with "BM") or a bare DIB (starting with a
// BITMAPINFOHEADER). Returns nothing for malformed or unsupported input.
std::optional<Dib> DecodeDib(const std::uint8_t* data, std::size_t size);
std::optional<Dib> DecodeDib(const std::vector<std::uint8_t>& bytes);

}  // namespace winsim

#endif
