// The generator's writers, read back: BMP (uncompressed and RLE4) through the
// project's BMP reader, icon, cursor and WAVE files through the test readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "asset_readers.h"
#include "picture.h"
#include "writers.h"
#include "winsim/dib.h"

namespace {

using resgen::Picture;

// Fills a picture from rows of hex digits, one per pixel, top row first.
Picture FromRows(const std::vector<std::string>& rows) {
    Picture p(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 0);
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            p.Set(x, y, static_cast<std::uint8_t>(std::stoi(std::string(1, rows[y][x]), nullptr, 16)));
    return p;
}

std::string FirstDifference(const Picture& want, const winsim::Dib& got) {
    assets::Canvas canvas(want.Width(), want.Height(), 0);
    for (int y = 0; y < want.Height(); ++y)
        for (int x = 0; x < want.Width(); ++x) canvas.Set(x, y, want.At(x, y));
    return assets::FirstDifference(canvas, got);
}

TEST(Rle4Encoder, LiteralStreams) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        resgen::Bytes stream;
    };
    const Case cases[] = {
        // One run of a colour, then the end of the bitmap.
        {"uniform", {"666666"}, {0x06, 0x66, 0x00, 0x01}},
        // Five different pixels: an absolute run of three bytes and a pad.
        {"absolute odd", {"12345"}, {0x00, 0x05, 0x12, 0x34, 0x50, 0x00, 0x00, 0x01}},
        // Two colours in turn: one encoded run; rows end with end of line,
        // stored bottom row first.
        {"alternating", {"121212", "777777"}, {0x06, 0x77, 0x00, 0x00, 0x06, 0x12, 0x00, 0x01}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(resgen::EncodeRle4(FromRows(c.rows)), c.stream);
    }
}

TEST(Rle4Encoder, RoundTripsThroughTheReader) {
    // 300 wide: runs longer than 255 must be split, a ramp makes absolute
    // runs longer than 255, and the last row mixes every run length 1..5.
    Picture p(300, 5, 7);
    for (int x = 0; x < 300; ++x) {
        p.Set(x, 1, static_cast<std::uint8_t>(x % 2 ? 3 : 10));
        p.Set(x, 2, static_cast<std::uint8_t>(x % 16));
        p.Set(x, 3, static_cast<std::uint8_t>((x * 7 + x / 5) % 16));
    }
    int x = 0;
    for (int len = 1; x < 300; len = len % 5 + 1)
        for (int i = 0; i < len && x < 300; ++i, ++x) p.Set(x, 4, static_cast<std::uint8_t>(len * 3));
    const std::vector<Picture> pictures = {
        p, FromRows({"5"}), FromRows({"12", "34"}), FromRows({"123", "456", "789"}),
        FromRows({"1112223", "3AAAAAF"}),
    };
    for (const Picture& pic : pictures) {
        SCOPED_TRACE(std::to_string(pic.Width()) + "x" + std::to_string(pic.Height()));
        const std::optional<winsim::Dib> d =
            winsim::DecodeDib(resgen::WriteBmp(pic, 4, resgen::BmpStorage::Rle4, resgen::StandardPalette()));
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->compression, 2u);
        EXPECT_FALSE(d->storedTopDown);
        EXPECT_EQ(FirstDifference(pic, *d), "");
    }
}

TEST(BmpWriter, UncompressedRoundTripsWithOddWidths) {
    struct Case {
        int bitCount;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {1, {"1000000000001", "0100000000010", "0011111111100"}},  // 13 wide: 2 bytes, padded
        {4, {"01234", "56789", "ABCDE", "F0F0F"}},                 // 5 wide: 3 bytes, padded
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        const Picture pic = FromRows(c.rows);
        const auto& palette = c.bitCount == 1 ? resgen::MonoPalette() : resgen::StandardPalette();
        const resgen::Bytes file = resgen::WriteBmp(pic, c.bitCount, resgen::BmpStorage::Rgb, palette);
        EXPECT_EQ(assets::Le32(file, 2), file.size());  // the file header's size
        const std::optional<winsim::Dib> d = winsim::DecodeDib(file);
        ASSERT_TRUE(d.has_value());
        EXPECT_EQ(d->bitCount, c.bitCount);
        EXPECT_EQ(d->compression, 0u);
        EXPECT_FALSE(d->storedTopDown);
        EXPECT_EQ(d->palette.size(), 1u << c.bitCount);
        EXPECT_EQ(FirstDifference(pic, *d), "");
    }
}

TEST(IconWriters, IconAndCursorReadBack) {
    Picture icon(8, 2, resgen::ICON_TRANSPARENT);
    icon.Set(0, 0, 9);
    icon.Set(7, 1, 15);
    const std::optional<assets::IconFile> ico = assets::ReadIconFile(resgen::WriteIcon(icon));
    ASSERT_TRUE(ico.has_value());
    EXPECT_EQ(ico->type, 1);
    EXPECT_EQ(ico->imageOffset, 22u);
    const std::optional<assets::IconImage> iconImage = assets::DecodeIconImage(ico->image);
    ASSERT_TRUE(iconImage.has_value());
    EXPECT_EQ(iconImage->storedHeight, 4u);
    EXPECT_EQ(iconImage->colour.IndexAt(0, 0), 9);
    EXPECT_EQ(iconImage->colour.IndexAt(7, 1), 15);
    EXPECT_FALSE(iconImage->Masked(0, 0));
    EXPECT_FALSE(iconImage->Masked(7, 1));
    EXPECT_TRUE(iconImage->Masked(1, 0));
    EXPECT_EQ(iconImage->colour.IndexAt(1, 0), 0);

    // The four cursor pixels as (mask, colour): transparent (1, 0), black
    // (0, 0), white (0, 1), inverted (1, 1).
    Picture cursor(4, 1, resgen::CURSOR_TRANSPARENT);
    cursor.Set(1, 0, resgen::CURSOR_BLACK);
    cursor.Set(2, 0, resgen::CURSOR_WHITE);
    cursor.Set(3, 0, resgen::CURSOR_INVERTED);
    const std::optional<assets::IconFile> cur = assets::ReadIconFile(resgen::WriteCursor(cursor, 2, 0));
    ASSERT_TRUE(cur.has_value());
    EXPECT_EQ(cur->type, 2);
    EXPECT_EQ(cur->word1, 2);
    EXPECT_EQ(cur->word2, 0);
    const std::optional<assets::IconImage> cursorImage = assets::DecodeIconImage(cur->image);
    ASSERT_TRUE(cursorImage.has_value());
    const int mask[] = {1, 0, 0, 1}, colour[] = {0, 0, 1, 1};
    for (int x = 0; x < 4; ++x) {
        SCOPED_TRACE(x);
        EXPECT_EQ(cursorImage->Masked(x, 0), mask[x] == 1);
        EXPECT_EQ(cursorImage->colour.IndexAt(x, 0), colour[x]);
    }
}

TEST(WaveWriter, OddAndEvenSampleCounts) {
    for (const std::vector<std::uint8_t>& samples :
         {std::vector<std::uint8_t>{1, 2, 3}, std::vector<std::uint8_t>{9, 8, 7, 6}}) {
        SCOPED_TRACE(samples.size());
        const std::optional<assets::Wave> w = assets::ReadWave(resgen::WriteWave(samples, 11025));
        ASSERT_TRUE(w.has_value());
        EXPECT_EQ(w->chunks, (std::vector<std::string>{"fmt ", "fact", "data"}));
        EXPECT_EQ(w->samplesPerSecond, 11025u);
        EXPECT_EQ(w->factSamples, samples.size());
        EXPECT_EQ(w->samples, samples);
        EXPECT_EQ(w->padBytes, samples.size() % 2);
    }
}

}  // namespace
