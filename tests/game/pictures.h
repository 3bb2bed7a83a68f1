// pictures.h: the program's bitmaps as they look on the window, and
// comparisons of the stand-in's screen with them.
#ifndef MURVALO_TESTS_PICTURES_H
#define MURVALO_TESTS_PICTURES_H

#include <cstdint>
#include <string>

#include "winsim/winsim.h"

namespace test {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;

// A bitmap resource of the program, decoded by the project's reader into
// screen colours.
winsim::Picture ResourcePicture(int id);

// The rows [top, top + rows) of the picture, drawn at (x, y) of the screen.
bool RegionShows(const winsim::Picture& screen, int x, int y, const winsim::Picture& picture,
                 int top, int rows, std::string* why);
// Every pixel of [left, right) x [top, bottom) has this colour.
bool RegionIs(const winsim::Picture& screen, int left, int top, int right, int bottom,
              std::uint32_t colour, std::string* why);
// The first pixel where the two differ inside the rectangle, or "".
std::string FirstDifference(const winsim::Picture& a, const winsim::Picture& b,
                            int left, int top, int right, int bottom);

}  // namespace test

#define EXPECT_REGION_SHOWS(screen, x, y, picture, top, rows)                       \
    do {                                                                            \
        std::string why_;                                                           \
        EXPECT_TRUE(::test::RegionShows((screen), (x), (y), (picture), (top), (rows), &why_)) \
            << why_;                                                                \
    } while (0)

#define EXPECT_REGION_IS(screen, left, top, right, bottom, colour)                  \
    do {                                                                            \
        std::string why_;                                                           \
        EXPECT_TRUE(::test::RegionIs((screen), (left), (top), (right), (bottom), (colour), &why_)) \
            << why_;                                                                \
    } while (0)

#endif
