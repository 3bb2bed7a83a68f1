// The BMP reader on tiny hand-made pictures: a 4x4 picture with every row and
// column different catches flipped rows, swapped nibbles and stride faults;
// the run-length fixtures exercise every escape; the broken inputs must all be
// refused without reading or writing out of bounds.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "winsim/dib.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct DibSpec {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::uint32_t compression;
    std::uint32_t clrUsed;
    Bytes bits;
    bool sizeImage = true;  // write the size of `bits` as biSizeImage
};

// A bare DIB: info header, a ramp palette (entry i is red i, green 2i, blue 3i), bits.
Bytes MakeDib(const DibSpec& s) {
    Bytes b;
    Put32(b, 40);
    Put32(b, static_cast<std::uint32_t>(s.width));
    Put32(b, static_cast<std::uint32_t>(s.height));
    Put16(b, 1);
    Put16(b, s.bitCount);
    Put32(b, s.compression);
    Put32(b, s.sizeImage ? static_cast<std::uint32_t>(s.bits.size()) : 0);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, s.clrUsed);
    Put32(b, 0);
    const std::uint32_t colours = s.clrUsed ? s.clrUsed : s.bitCount <= 8 ? (1u << s.bitCount) : 0;
    for (std::uint32_t i = 0; i < colours; ++i) {
        b.push_back(static_cast<std::uint8_t>(3 * i));  // blue
        b.push_back(static_cast<std::uint8_t>(2 * i));  // green
        b.push_back(static_cast<std::uint8_t>(i));      // red
        b.push_back(0);
    }
    b.insert(b.end(), s.bits.begin(), s.bits.end());
    return b;
}

// The same DIB as a BMP file: "BM", file size, two reserved words, offset.
Bytes WithFileHeader(const Bytes& dib, std::uint32_t bitsOffsetInDib) {
    Bytes b{'B', 'M'};
    Put32(b, static_cast<std::uint32_t>(14 + dib.size()));
    Put32(b, 0);
    Put32(b, 14 + bitsOffsetInDib);
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

std::vector<std::vector<int>> Pixels(const winsim::Dib& d) {
    std::vector<std::vector<int>> rows(d.height, std::vector<int>(d.width));
    for (int y = 0; y < d.height; ++y)
        for (int x = 0; x < d.width; ++x) rows[y][x] = d.IndexAt(x, y);
    return rows;
}

// The 4x4 picture as shown, top row first: every row and column different.
const std::vector<std::vector<int>> kRamp4x4 = {
    {0, 1, 2, 3}, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}};

// kRamp4x4 in 4 bits per pixel, rows padded to 4 bytes; bottom row first.
const Bytes kRampBottomUp = {0xCD, 0xEF, 0, 0, 0x89, 0xAB, 0, 0,
                             0x45, 0x67, 0, 0, 0x01, 0x23, 0, 0};
const Bytes kRampTopDown = {0x01, 0x23, 0, 0, 0x45, 0x67, 0, 0,
                            0x89, 0xAB, 0, 0, 0xCD, 0xEF, 0, 0};

// A 6x4 RLE4 picture using every escape, bottom row first:
//   stored row 0: absolute run A B C D E (3 bytes and a pad byte), run of F
//   stored row 1: run 1 2, then a delta of (2, 1) leaving the rest at 0
//   stored row 2: run 3 4 from column 4, end of line
//   stored row 3: run 5 6 5 6 5 6, end of bitmap
const Bytes kRle4Stream = {
    0x00, 0x05, 0xAB, 0xCD, 0xE0, 0x00,  // absolute: 5 pixels, padded to a word
    0x01, 0xF0,                          // one pixel F
    0x00, 0x00,                          // end of line
    0x02, 0x12,                          // 1 2
    0x00, 0x02, 0x02, 0x01,              // delta: 2 right, 1 up
    0x02, 0x34,                          // 3 4 at columns 4 and 5
    0x00, 0x00,                          // end of line
    0x06, 0x56,                          // 5 6 5 6 5 6
    0x00, 0x01,                          // end of bitmap
};
const std::vector<std::vector<int>> kRle4Shown = {
    {5, 6, 5, 6, 5, 6}, {0, 0, 0, 0, 3, 4}, {1, 2, 0, 0, 0, 0}, {10, 11, 12, 13, 14, 15}};

// A 4x2 RLE8 picture: an odd absolute run (padded), a single pixel, a run.
const Bytes kRle8Stream = {0x00, 0x03, 0x01, 0x02, 0x03, 0x00,  // absolute 1 2 3 + pad
                           0x01, 0x04,                          // 4
                           0x00, 0x00,                          // end of line
                           0x04, 0x09,                          // 9 9 9 9
                           0x00, 0x01};
const std::vector<std::vector<int>> kRle8Shown = {{9, 9, 9, 9}, {1, 2, 3, 4}};

TEST(DibReader, UncompressedFourBitBothRowOrders) {
    for (const bool topDown : {false, true}) {
        SCOPED_TRACE(topDown ? "top-down" : "bottom-up");
        const Bytes dib = MakeDib({4, topDown ? -4 : 4, 4, 0, 0,
                                   topDown ? kRampTopDown : kRampBottomUp});
        for (const Bytes& input : {dib, WithFileHeader(dib, 40 + 16 * 4)}) {
            const auto d = winsim::DecodeDib(input);
            ASSERT_TRUE(d.has_value());
            EXPECT_EQ(d->width, 4);
            EXPECT_EQ(d->height, 4);
            EXPECT_EQ(d->bitCount, 4);
            EXPECT_EQ(d->compression, 0u);
            EXPECT_EQ(d->storedTopDown, topDown);
            EXPECT_EQ(Pixels(*d), kRamp4x4);
            ASSERT_EQ(d->palette.size(), 16u);
            EXPECT_EQ(d->palette[5], (winsim::Rgb{5, 10, 15}));  // stored blue, green, red
            EXPECT_EQ(d->ColourAt(1, 1), (winsim::Rgb{5, 10, 15}));
        }
    }
}

TEST(DibReader, OneAndEightBitRowsWithPadding) {
    // 1 bit: a diagonal, most significant bit first, one byte padded to four.
    const auto mono = winsim::DecodeDib(MakeDib(
        {4, 4, 1, 0, 0, {0x10, 0, 0, 0, 0x20, 0, 0, 0, 0x40, 0, 0, 0, 0x80, 0, 0, 0}}));
    ASSERT_TRUE(mono.has_value());
    EXPECT_EQ(mono->palette.size(), 2u);
    EXPECT_EQ(Pixels(*mono),
              (std::vector<std::vector<int>>{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}));

    // 8 bits, 5 wide: rows of 5 bytes padded to 8; palette of 20 from biClrUsed.
    const auto grey = winsim::DecodeDib(MakeDib(
        {5, 2, 8, 0, 20, {10, 11, 12, 13, 14, 0, 0, 0, 0, 1, 2, 3, 19, 0, 0, 0}}));
    ASSERT_TRUE(grey.has_value());
    EXPECT_EQ(grey->palette.size(), 20u);
    EXPECT_EQ(Pixels(*grey), (std::vector<std::vector<int>>{{0, 1, 2, 3, 19}, {10, 11, 12, 13, 14}}));
}

TEST(DibReader, RunLengthEncodedWithEveryEscape) {
    const Bytes rle4 = MakeDib({6, 4, 4, 2, 0, kRle4Stream});
    for (const Bytes& input : {rle4, WithFileHeader(rle4, 40 + 16 * 4)}) {
        const auto d = winsim::DecodeDib(input);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->compression, 2u);
        EXPECT_EQ(Pixels(*d), kRle4Shown);
    }
    const auto d8 = winsim::DecodeDib(MakeDib({4, 2, 8, 1, 10, kRle8Stream}));
    ASSERT_TRUE(d8.has_value());
    EXPECT_EQ(d8->compression, 1u);
    EXPECT_EQ(Pixels(*d8), kRle8Shown);
    // Without biSizeImage the stream runs to the end of the data.
    EXPECT_TRUE(winsim::DecodeDib(MakeDib({6, 4, 4, 2, 0, kRle4Stream, false})).has_value());
}

TEST(DibReader, LargestAcceptedSide) {
    Bytes row(4096 / 8, 0xFF);
    const auto d = winsim::DecodeDib(MakeDib({4096, 1, 1, 0, 0, row}));
    ASSERT_TRUE(d.has_value());
    EXPECT_EQ(d->IndexAt(4095, 0), 1);
}

struct Malformed {
    const char* name;
    Bytes input;
};

Bytes Patched(Bytes b, std::size_t at, std::uint8_t value) {
    b.at(at) = value;
    return b;
}

Bytes Rle4(Bytes stream) { return MakeDib({6, 4, 4, 2, 0, std::move(stream)}); }

TEST(DibReader, RefusesMalformedInput) {
    const Bytes ramp = MakeDib({4, 4, 4, 0, 0, kRampBottomUp});
    const Bytes rampFile = WithFileHeader(ramp, 40 + 16 * 4);
    const std::vector<Malformed> cases = {
        {"empty", {}},
        {"file header cut short", Bytes(rampFile.begin(), rampFile.begin() + 10)},
        {"bits offset past the end", Patched(rampFile, 11, 0x10)},
        {"bits offset inside the palette", Patched(rampFile, 10, 20)},
        {"header size 12", Patched(ramp, 0, 12)},
        {"header size too large", Patched(ramp, 1, 0x10)},
        {"zero width", MakeDib({0, 4, 4, 0, 0, kRampBottomUp})},
        {"zero height", MakeDib({4, 0, 4, 0, 0, kRampBottomUp})},
        {"width over 4096", MakeDib({4097, 1, 1, 0, 0, Bytes(516, 0)})},
        {"height over 4096 top-down", MakeDib({1, -4097, 1, 0, 0, Bytes(4 * 4097, 0)})},
        {"negative width", MakeDib({-4, 4, 4, 0, 0, kRampBottomUp})},
        {"two planes", Patched(ramp, 12, 2)},
        {"24 bits per pixel", MakeDib({1, 1, 24, 0, 0, Bytes(4, 0)})},
        {"RLE4 at 8 bits", MakeDib({4, 2, 8, 2, 10, kRle8Stream})},
        {"RLE8 at 4 bits", MakeDib({6, 4, 4, 1, 0, kRle4Stream})},
        {"unknown compression", MakeDib({4, 4, 4, 3, 0, kRampBottomUp})},
        {"top-down RLE", MakeDib({6, -4, 4, 2, 0, kRle4Stream})},
        {"more colours than the depth allows", MakeDib({4, 4, 1, 0, 3, Bytes(16, 0)})},
        {"palette cut short", Bytes(ramp.begin(), ramp.begin() + 60)},
        {"pixels cut short", Bytes(ramp.begin(), ramp.end() - 1)},
        {"index beyond a short palette", MakeDib({4, 4, 4, 0, 15, kRampBottomUp})},
        {"RLE index beyond the palette", MakeDib({4, 2, 8, 1, 9, kRle8Stream})},
        {"run past the row end", Rle4({0x07, 0x11, 0x00, 0x01})},
        {"run after a full row", Rle4({0x06, 0x11, 0x01, 0x22, 0x00, 0x01})},
        {"absolute run past the row end", Rle4({0x00, 0x07, 0x11, 0x11, 0x11, 0x10, 0x00, 0x01})},
        {"absolute run cut short", Rle4({0x00, 0x05, 0xAB})},
        {"absolute run missing its pad", Rle4({0x00, 0x05, 0xAB, 0xCD, 0xE0})},
        {"delta past the right edge", Rle4({0x00, 0x02, 0x07, 0x00, 0x00, 0x01})},
        {"delta past the top", Rle4({0x00, 0x02, 0x00, 0x05, 0x00, 0x01})},
        {"delta cut short", Rle4({0x00, 0x02, 0x01})},
        {"pixels above the last row",
         Rle4({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x11, 0x00, 0x01})},
        {"end of line above the last row",
         Rle4({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01})},
        {"no end of bitmap", Rle4({0x06, 0x11, 0x00, 0x00})},
        {"size image past the data", Patched(Rle4(kRle4Stream), 20, 0xFF)},
    };
    for (const Malformed& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(winsim::DecodeDib(c.input).has_value());
    }
    EXPECT_FALSE(winsim::DecodeDib(nullptr, 0).has_value());
}

// Every strict prefix of a good picture is truncated and must be refused (and,
// under the sanitizers, must not read past the buffer it was given).
TEST(DibReader, RefusesEveryTruncation) {
    const Bytes rle4 = MakeDib({6, 4, 4, 2, 0, kRle4Stream});
    const std::vector<Malformed> pictures = {
        {"uncompressed file", WithFileHeader(MakeDib({4, 4, 4, 0, 0, kRampBottomUp}), 40 + 64)},
        {"RLE4 file", WithFileHeader(rle4, 40 + 64)},
        {"RLE4 DIB", rle4},
        {"RLE8 DIB", MakeDib({4, 2, 8, 1, 10, kRle8Stream})},
    };
    for (const Malformed& p : pictures) {
        SCOPED_TRACE(p.name);
        ASSERT_TRUE(winsim::DecodeDib(p.input).has_value());
        for (std::size_t n = 0; n < p.input.size(); ++n) {
            const Bytes prefix(p.input.begin(), p.input.begin() + static_cast<std::ptrdiff_t>(n));
            EXPECT_FALSE(winsim::DecodeDib(prefix.data(), prefix.size()).has_value())
                << "prefix of " << n << " bytes";
        }
    }
}

}  // namespace
