#include "pictures.h"

#include <sstream>

#include "winsim/dib.h"

namespace test {

namespace {

std::string Hex(std::uint32_t v)
{
    std::ostringstream out;
    out << "0x" << std::hex << v;
    return out.str();
}

}  // namespace

winsim::Picture ResourcePicture(int id)
{
    winsim::Picture picture;
    const std::optional<winsim::Dib> dib = winsim::DecodeDib(winsim::ResourceBytes(id, "BITMAP"));
    if (!dib)
        return picture;
    picture.width = dib->width;
    picture.height = dib->height;
    for (int y = 0; y < dib->height; ++y)
        for (int x = 0; x < dib->width; ++x) {
            const winsim::Rgb c = dib->ColourAt(x, y);
            picture.pixels.push_back((std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b);
        }
    return picture;
}

bool RegionShows(const winsim::Picture& screen, int x, int y, const winsim::Picture& picture,
                 int top, int rows, std::string* why)
{
    if (picture.width == 0) {
        *why = "the picture could not be decoded";
        return false;
    }
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < picture.width; ++c) {
            const int sx = x + c;
            const int sy = y + r;
            if (sx < 0 || sy < 0 || sx >= screen.width || sy >= screen.height)
                continue;
            const std::uint32_t want = picture.At(c, top + r);
            const std::uint32_t got = screen.At(sx, sy);
            if (want != got) {
                *why = "screen (" + std::to_string(sx) + ", " + std::to_string(sy) + ") is " +
                       Hex(got) + ", the picture's (" + std::to_string(c) + ", " +
                       std::to_string(top + r) + ") is " + Hex(want);
                return false;
            }
        }
    return true;
}

bool RegionIs(const winsim::Picture& screen, int left, int top, int right, int bottom,
              std::uint32_t colour, std::string* why)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (screen.At(x, y) != colour) {
                *why = "screen (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
                       Hex(screen.At(x, y)) + ", expected " + Hex(colour);
                return false;
            }
    return true;
}

std::string FirstDifference(const winsim::Picture& a, const winsim::Picture& b,
                            int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (a.At(x, y) != b.At(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + "): " + Hex(a.At(x, y)) +
                       " vs " + Hex(b.At(x, y));
    return "";
}

}  // namespace test
