// picture.cpp: the canvas's bounds check and the palettes.
#include "picture.h"

#include <stdexcept>

namespace resgen {

std::size_t Picture::Offset(int x, int y) const {
    // A drawing that leaves its canvas is a fault in the generator, not
    // something to clip silently.
    if (x < 0 || x >= width_ || y < 0 || y >= height_)
        throw std::out_of_range("pixel outside the picture");
    return static_cast<std::size_t>(y) * width_ + x;
}

const std::vector<Rgb>& StandardPalette() {
    static const std::vector<Rgb> palette = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    return palette;
}

const std::vector<Rgb>& MonoPalette() {
    static const std::vector<Rgb> palette = {{0, 0, 0}, {255, 255, 255}};
    return palette;
}

}  // namespace resgen
