// dib.cpp: the project's reader of device-independent bitmaps.
//
// It reads either a BMP file (a 14-byte file header "BM" followed by the DIB)
// or a bare DIB as a bitmap resource holds it (a BITMAPINFOHEADER, the
// palette, the pixels). It knows 1, 4 and 8 bits per pixel, uncompressed or
// run-length encoded (RLE8, RLE4), stored bottom-up or top-down.
//
// The reader also runs on untrusted bytes, so every read goes through a
// bounds-checked cursor and every write through a checked position; anything
// it does not understand gives std::nullopt rather than a guess.
#include "winsim/dib.h"

namespace winsim {
namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t INFO_HEADER_MIN = 40;   // BITMAPINFOHEADER
constexpr std::uint32_t INFO_HEADER_MAX = 124;  // BITMAPV5HEADER
constexpr std::int64_t MAX_SIDE = 4096;

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A read position over a byte range that refuses to step past its end.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Byte(std::uint8_t& out) {
        if (pos_ >= size_) return false;
        out = data_[pos_++];
        return true;
    }
    bool Skip(std::size_t n) {
        if (n > size_ - pos_) return false;
        pos_ += n;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// The fields of the info header that decoding needs.
struct Header {
    std::uint32_t headerSize;
    int width;
    int height;
    bool topDown;
    int bitCount;
    std::uint32_t compression;
    std::uint32_t sizeImage;
    std::uint32_t paletteSize;
};

std::optional<Header> ParseHeader(const std::uint8_t* dib, std::size_t size) {
    if (size < INFO_HEADER_MIN) return std::nullopt;
    Header h{};
    h.headerSize = Le32(dib);
    if (h.headerSize < INFO_HEADER_MIN || h.headerSize > INFO_HEADER_MAX || h.headerSize > size)
        return std::nullopt;

    const std::int64_t width = static_cast<std::int32_t>(Le32(dib + 4));
    const std::int64_t height = static_cast<std::int32_t>(Le32(dib + 8));
    const std::int64_t absHeight = height < 0 ? -height : height;
    if (width < 1 || width > MAX_SIDE || absHeight < 1 || absHeight > MAX_SIDE) return std::nullopt;
    h.width = static_cast<int>(width);
    h.height = static_cast<int>(absHeight);
    h.topDown = height < 0;

    if (Le16(dib + 12) != 1) return std::nullopt;  // planes
    h.bitCount = Le16(dib + 14);
    if (h.bitCount != 1 && h.bitCount != 4 && h.bitCount != 8) return std::nullopt;

    h.compression = Le32(dib + 16);
    const bool compressionFits = h.compression == BI_RGB ||
                                 (h.compression == BI_RLE8 && h.bitCount == 8) ||
                                 (h.compression == BI_RLE4 && h.bitCount == 4);
    if (!compressionFits) return std::nullopt;
    // Run-length encoded pictures are bottom-up by definition.
    if (h.compression != BI_RGB && h.topDown) return std::nullopt;
    h.sizeImage = Le32(dib + 20);

    const std::uint32_t maxColours = 1u << h.bitCount;
    const std::uint32_t clrUsed = Le32(dib + 32);
    if (clrUsed > maxColours) return std::nullopt;
    h.paletteSize = clrUsed == 0 ? maxColours : clrUsed;
    return h;
}

// Stored row s (0 is the first row in the data) as a row of the picture
// counted from the top.
int DisplayRow(const Header& h, int storedRow) {
    return h.topDown ? storedRow : h.height - 1 - storedRow;
}

bool DecodeUncompressed(const Header& h, const std::uint8_t* bits, std::size_t size, Dib& out) {
    const std::size_t stride =
        ((static_cast<std::size_t>(h.width) * h.bitCount + 31) / 32) * 4;
    if (stride * static_cast<std::size_t>(h.height) > size) return false;
    const int perByte = 8 / h.bitCount;
    const int mask = (1 << h.bitCount) - 1;
    for (int s = 0; s < h.height; ++s) {
        const std::uint8_t* row = bits + stride * static_cast<std::size_t>(s);
        const int y = DisplayRow(h, s);
        for (int x = 0; x < h.width; ++x) {
            const int shift = 8 - h.bitCount * (x % perByte + 1);
            const std::uint8_t value = static_cast<std::uint8_t>((row[x / perByte] >> shift) & mask);
            if (value >= h.paletteSize) return false;
            out.index[static_cast<std::size_t>(y) * h.width + x] = value;
        }
    }
    return true;
}

// The pen of a run-length decoder: the next pixel to write, in stored rows.
class RlePen {
public:
    RlePen(const Header& h, Dib& out) : h_(h), out_(out) {}

    bool Put(std::uint8_t value) {
        if (y_ >= h_.height || x_ >= h_.width || value >= h_.paletteSize) return false;
        out_.index[static_cast<std::size_t>(DisplayRow(h_, y_)) * h_.width + x_] = value;
        ++x_;
        return true;
    }
    // A run of n pixels must fit in what is left of the row.
    bool Fits(int n) const { return y_ < h_.height && x_ + n <= h_.width; }
    bool EndOfLine() {
        if (y_ >= h_.height) return false;
        x_ = 0;
        ++y_;
        return true;
    }
    bool Delta(int dx, int dy) {
        if (x_ + dx > h_.width || y_ + dy > h_.height) return false;
        x_ += dx;
        y_ += dy;
        return true;
    }

private:
    const Header& h_;
    Dib& out_;
    int x_ = 0;
    int y_ = 0;
};

// The n-th of the pixels packed in a run's bytes: RLE8 has one per byte,
// RLE4 two per byte, high nibble first.
std::uint8_t RlePixel(bool four, std::uint8_t byte, int n) {
    if (!four) return byte;
    return static_cast<std::uint8_t>(n % 2 == 0 ? byte >> 4 : byte & 0x0F);
}

bool DecodeRle(const Header& h, const std::uint8_t* bits, std::size_t size, Dib& out) {
    const bool four = h.compression == BI_RLE4;
    Reader in(bits, size);
    RlePen pen(h, out);
    for (;;) {
        std::uint8_t count = 0, value = 0;
        if (!in.Byte(count) || !in.Byte(value)) return false;  // no end-of-bitmap
        if (count > 0) {  // encoded run: count pixels from the one byte
            if (!pen.Fits(count)) return false;
            for (int n = 0; n < count; ++n)
                if (!pen.Put(RlePixel(four, value, n))) return false;
            continue;
        }
        switch (value) {
        case 0:
            if (!pen.EndOfLine()) return false;
            break;
        case 1:
            return true;
        case 2: {
            std::uint8_t dx = 0, dy = 0;
            if (!in.Byte(dx) || !in.Byte(dy) || !pen.Delta(dx, dy)) return false;
            break;
        }
        default: {  // absolute run of `value` pixels, padded to a 16-bit word
            const int pixels = value;
            if (!pen.Fits(pixels)) return false;
            const int bytes = four ? (pixels + 1) / 2 : pixels;
            std::uint8_t byte = 0;
            for (int n = 0; n < pixels; ++n) {
                if ((!four || n % 2 == 0) && !in.Byte(byte)) return false;
                if (!pen.Put(RlePixel(four, byte, n))) return false;
            }
            if (bytes % 2 == 1 && !in.Skip(1)) return false;
            break;
        }
        }
    }
}

std::optional<Dib> DecodeAt(const std::uint8_t* dib, std::size_t dibSize, std::size_t bitsOffset,
                            bool bitsOffsetGiven) {
    const std::optional<Header> h = ParseHeader(dib, dibSize);
    if (!h) return std::nullopt;

    const std::size_t paletteEnd = h->headerSize + static_cast<std::size_t>(h->paletteSize) * 4;
    if (paletteEnd > dibSize) return std::nullopt;
    if (!bitsOffsetGiven) bitsOffset = paletteEnd;
    if (bitsOffset < paletteEnd || bitsOffset > dibSize) return std::nullopt;

    Dib out;
    out.width = h->width;
    out.height = h->height;
    out.bitCount = h->bitCount;
    out.compression = h->compression;
    out.storedTopDown = h->topDown;
    for (std::uint32_t i = 0; i < h->paletteSize; ++i) {
        const std::uint8_t* quad = dib + h->headerSize + i * 4;  // blue, green, red, reserved
        out.palette.push_back(Rgb{quad[2], quad[1], quad[0]});
    }
    out.index.assign(static_cast<std::size_t>(h->width) * h->height, 0);

    const std::uint8_t* bits = dib + bitsOffset;
    std::size_t bitsSize = dibSize - bitsOffset;
    bool ok = false;
    if (h->compression == BI_RGB) {
        ok = DecodeUncompressed(*h, bits, bitsSize, out);
    } else {
        // A compressed picture says how many bytes it has; never read past them.
        if (h->sizeImage > bitsSize) return std::nullopt;
        if (h->sizeImage != 0) bitsSize = h->sizeImage;
        ok = DecodeRle(*h, bits, bitsSize, out);
    }
    if (!ok) return std::nullopt;
    return out;
}

}  // namespace

std::optional<Dib> DecodeDib(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr) return std::nullopt;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < FILE_HEADER_SIZE) return std::nullopt;
        const std::uint32_t offBits = Le32(data + 10);
        if (offBits < FILE_HEADER_SIZE) return std::nullopt;
        return DecodeAt(data + FILE_HEADER_SIZE, size - FILE_HEADER_SIZE,
                        offBits - FILE_HEADER_SIZE, true);
    }
    return DecodeAt(data, size, 0, false);
}

std::optional<Dib> DecodeDib(const std::vector<std::uint8_t>& bytes) {
    return DecodeDib(bytes.data(), bytes.size());
}

}  // namespace winsim
