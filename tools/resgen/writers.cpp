// writers.cpp: BMP, RLE4, icon, cursor and WAVE writers.
#include "writers.h"

#include <stdexcept>

namespace resgen {
namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t FILE_HEADER_SIZE = 14;

void Put16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(Bytes& b, std::uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

void PutTag(Bytes& b, const char (&tag)[5]) { b.insert(b.end(), tag, tag + 4); }

void Append(Bytes& b, const Bytes& more) { b.insert(b.end(), more.begin(), more.end()); }

std::size_t Stride(int width, int bitCount) {
    return ((static_cast<std::size_t>(width) * bitCount + 31) / 32) * 4;
}

// Packed rows, bottom row first, each padded to 4 bytes; `value` gives the
// bits stored for a pixel.
template <typename Value>
Bytes PackRows(const Picture& p, int bitCount, Value value) {
    const std::size_t stride = Stride(p.Width(), bitCount);
    Bytes bits(stride * p.Height(), 0);
    const int perByte = 8 / bitCount;
    for (int s = 0; s < p.Height(); ++s) {
        const int y = p.Height() - 1 - s;
        for (int x = 0; x < p.Width(); ++x) {
            const int shift = 8 - bitCount * (x % perByte + 1);
            bits[stride * s + x / perByte] |= static_cast<std::uint8_t>(value(x, y) << shift);
        }
    }
    return bits;
}

Bytes InfoHeader(int width, int height, int bitCount, std::uint32_t compression,
                 std::size_t sizeImage) {
    Bytes b;
    Put32(b, INFO_HEADER_SIZE);
    Put32(b, static_cast<std::uint32_t>(width));
    Put32(b, static_cast<std::uint32_t>(height));  // positive: bottom-up
    Put16(b, 1);                                    // planes
    Put16(b, static_cast<std::uint32_t>(bitCount));
    Put32(b, compression);
    Put32(b, static_cast<std::uint32_t>(sizeImage));
    Put32(b, 0);  // pixels per metre, x and y
    Put32(b, 0);
    Put32(b, 0);  // colours used: all 2^bitCount
    Put32(b, 0);  // colours important: all
    return b;
}

Bytes PaletteBytes(const std::vector<Rgb>& palette, int bitCount) {
    if (palette.size() != (1u << bitCount)) throw std::invalid_argument("palette size");
    Bytes b;
    for (const Rgb& c : palette) {
        b.push_back(c.b);
        b.push_back(c.g);
        b.push_back(c.r);
        b.push_back(0);
    }
    return b;
}

// How many pixels from x on follow the two-colour pattern an encoded RLE4
// run can repeat: p[x], p[x+1], p[x], p[x+1], ...
int AlternatingRun(const Picture& p, int x, int y) {
    int n = 1;
    while (x + n < p.Width() && n < 255 && p.At(x + n, y) == p.At(x + n % 2, y)) ++n;
    return n;
}

// Shorter patterns than this are cheaper inside an absolute run.
constexpr int MIN_ENCODED_RUN = 4;

void EncodedRun(Bytes& out, const Picture& p, int x, int y, int n) {
    const std::uint8_t second = n > 1 ? p.At(x + 1, y) : p.At(x, y);
    out.push_back(static_cast<std::uint8_t>(n));
    out.push_back(static_cast<std::uint8_t>(p.At(x, y) << 4 | second));
}

// An absolute run of n >= 3 pixels, two to a byte, padded to a 16-bit word.
void AbsoluteRun(Bytes& out, const Picture& p, int x, int y, int n) {
    out.push_back(0);
    out.push_back(static_cast<std::uint8_t>(n));
    const int bytes = (n + 1) / 2;
    for (int i = 0; i < bytes; ++i) {
        const int hi = p.At(x + 2 * i, y);
        const int lo = 2 * i + 1 < n ? p.At(x + 2 * i + 1, y) : 0;
        out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
    }
    if (bytes % 2 == 1) out.push_back(0);
}

void EncodeRow(Bytes& out, const Picture& p, int y) {
    int x = 0;
    while (x < p.Width()) {
        const int run = AlternatingRun(p, x, y);
        if (run >= MIN_ENCODED_RUN) {
            EncodedRun(out, p, x, y, run);
            x += run;
            continue;
        }
        // Gather the pixels up to the next pattern worth encoding.
        int end = x;
        while (end < p.Width() && end - x < 255 && AlternatingRun(p, end, y) < MIN_ENCODED_RUN) ++end;
        const int n = end - x;
        if (n >= 3) {
            AbsoluteRun(out, p, x, y, n);
        } else {
            EncodedRun(out, p, x, y, n);  // one or two pixels fit any pattern
        }
        x = end;
    }
}

// The image of an icon or cursor file: an info header of twice the height
// (colour image and mask), the palette, the colour (XOR) rows and the mask
// (AND) rows, both bottom-up.
template <typename Colour, typename Mask>
Bytes IconImage(const Picture& p, int bitCount, const std::vector<Rgb>& palette, Colour colour,
                Mask mask) {
    const Bytes xorBits = PackRows(p, bitCount, colour);
    const Bytes andBits = PackRows(p, 1, mask);
    Bytes b = InfoHeader(p.Width(), 2 * p.Height(), bitCount, BI_RGB, xorBits.size() + andBits.size());
    Append(b, PaletteBytes(palette, bitCount));
    Append(b, xorBits);
    Append(b, andBits);
    return b;
}

// ICONDIR with one ICONDIRENTRY (type 1) or CURSORDIR entry (type 2), whose
// two words after the reserved byte are planes and bit count for an icon and
// the hotspot for a cursor.
Bytes IconFile(std::uint16_t type, const Picture& p, std::uint8_t colourCount, std::uint16_t word1,
               std::uint16_t word2, const Bytes& image) {
    Bytes b;
    Put16(b, 0);
    Put16(b, type);
    Put16(b, 1);
    b.push_back(static_cast<std::uint8_t>(p.Width()));
    b.push_back(static_cast<std::uint8_t>(p.Height()));
    b.push_back(colourCount);
    b.push_back(0);
    Put16(b, word1);
    Put16(b, word2);
    Put32(b, static_cast<std::uint32_t>(image.size()));
    Put32(b, static_cast<std::uint32_t>(b.size() + 4));
    Append(b, image);
    return b;
}

}  // namespace

Bytes EncodeRle4(const Picture& p) {
    Bytes out;
    for (int s = 0; s < p.Height(); ++s) {
        EncodeRow(out, p, p.Height() - 1 - s);
        out.push_back(0);
        out.push_back(s + 1 < p.Height() ? 0 : 1);  // end of line, or of the bitmap
    }
    return out;
}

Bytes WriteBmp(const Picture& p, int bitCount, BmpStorage storage, const std::vector<Rgb>& palette) {
    const bool rle = storage == BmpStorage::Rle4;
    if (rle && bitCount != 4) throw std::invalid_argument("RLE4 needs 4 bits per pixel");
    const Bytes bits = rle ? EncodeRle4(p) : PackRows(p, bitCount, [&p](int x, int y) { return p.At(x, y); });
    const Bytes pal = PaletteBytes(palette, bitCount);
    const std::uint32_t offBits = FILE_HEADER_SIZE + INFO_HEADER_SIZE + static_cast<std::uint32_t>(pal.size());

    Bytes b{'B', 'M'};
    Put32(b, offBits + static_cast<std::uint32_t>(bits.size()));
    Put32(b, 0);  // two reserved words
    Put32(b, offBits);
    Append(b, InfoHeader(p.Width(), p.Height(), bitCount, rle ? BI_RLE4 : BI_RGB, bits.size()));
    Append(b, pal);
    Append(b, bits);
    return b;
}

Bytes WriteIcon(const Picture& p) {
    const auto colour = [&p](int x, int y) {
        return p.At(x, y) == ICON_TRANSPARENT ? 0 : p.At(x, y);
    };
    const auto mask = [&p](int x, int y) { return p.At(x, y) == ICON_TRANSPARENT ? 1 : 0; };
    return IconFile(1, p, 16, 1, 4, IconImage(p, 4, StandardPalette(), colour, mask));
}

Bytes WriteCursor(const Picture& p, int hotspotX, int hotspotY) {
    // The screen pixel becomes (screen AND mask) XOR colour: black is 0/0,
    // white 0/1, transparent 1/0 and inverted 1/1.
    const auto colour = [&p](int x, int y) {
        return p.At(x, y) == CURSOR_WHITE || p.At(x, y) == CURSOR_INVERTED ? 1 : 0;
    };
    const auto mask = [&p](int x, int y) {
        return p.At(x, y) == CURSOR_TRANSPARENT || p.At(x, y) == CURSOR_INVERTED ? 1 : 0;
    };
    return IconFile(2, p, 2, static_cast<std::uint16_t>(hotspotX), static_cast<std::uint16_t>(hotspotY),
                    IconImage(p, 1, MonoPalette(), colour, mask));
}

Bytes WriteWave(const std::vector<std::uint8_t>& samples, std::uint32_t samplesPerSecond) {
    const std::uint32_t count = static_cast<std::uint32_t>(samples.size());
    const std::uint32_t pad = count % 2;
    Bytes b;
    PutTag(b, "RIFF");
    Put32(b, 4 + (8 + 18) + (8 + 4) + (8 + count + pad));
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 18);
    Put16(b, 1);                 // PCM
    Put16(b, 1);                 // mono
    Put32(b, samplesPerSecond);
    Put32(b, samplesPerSecond);  // bytes per second
    Put16(b, 1);                 // block alignment
    Put16(b, 8);                 // bits per sample
    Put16(b, 0);                 // extra format bytes
    PutTag(b, "fact");
    Put32(b, 4);
    Put32(b, count);
    PutTag(b, "data");
    Put32(b, count);
    Append(b, samples);
    if (pad) b.push_back(0);
    return b;
}

}  // namespace resgen
