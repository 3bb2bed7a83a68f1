// asset_readers.cpp: the icon, cursor and WAVE readers and the canvas.
#include "asset_readers.h"

#include <fstream>
#include <iterator>
#include <sstream>

#ifndef MURVALO_RES_DIR
#error "MURVALO_RES_DIR must name the res/ folder"
#endif

namespace assets {

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string ResPath(const std::string& name) { return std::string(MURVALO_RES_DIR) + "/" + name; }

std::uint16_t Le16(const Bytes& b, std::size_t at) {
    return static_cast<std::uint16_t>(b.at(at) | (b.at(at + 1) << 8));
}

std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return Le16(b, at) | (static_cast<std::uint32_t>(Le16(b, at + 2)) << 16);
}

std::optional<IconFile> ReadIconFile(const Bytes& file) {
    if (file.size() < 22) return std::nullopt;
    IconFile f;
    if (Le16(file, 0) != 0) return std::nullopt;
    f.type = Le16(file, 2);
    f.count = Le16(file, 4);
    f.width = file[6];
    f.height = file[7];
    f.colourCount = file[8];
    f.word1 = Le16(file, 10);
    f.word2 = Le16(file, 12);
    f.bytesInRes = Le32(file, 14);
    f.imageOffset = Le32(file, 18);
    if (f.imageOffset > file.size() || f.bytesInRes > file.size() - f.imageOffset) return std::nullopt;
    f.image.assign(file.begin() + f.imageOffset, file.begin() + f.imageOffset + f.bytesInRes);
    return f;
}

std::optional<IconImage> DecodeIconImage(const Bytes& image) {
    if (image.size() < 40) return std::nullopt;
    IconImage out;
    out.storedHeight = Le32(image, 8);
    // The colour part is an ordinary DIB once the header says its own height;
    // the reader ignores the mask rows that follow it.
    Bytes colourPart = image;
    const std::uint32_t half = out.storedHeight / 2;
    for (int i = 0; i < 4; ++i) colourPart[8 + i] = static_cast<std::uint8_t>(half >> (8 * i));
    std::optional<winsim::Dib> colour = winsim::DecodeDib(colourPart);
    if (!colour) return std::nullopt;
    out.colour = *colour;

    const int w = colour->width, h = colour->height;
    const std::size_t colourStride = ((static_cast<std::size_t>(w) * colour->bitCount + 31) / 32) * 4;
    const std::size_t maskStride = ((static_cast<std::size_t>(w) + 31) / 32) * 4;
    const std::size_t maskStart = Le32(image, 0) + colour->palette.size() * 4 + colourStride * h;
    if (maskStart + maskStride * h != image.size()) return std::nullopt;
    out.mask.resize(static_cast<std::size_t>(w) * h);
    for (int s = 0; s < h; ++s) {  // bottom row first
        for (int x = 0; x < w; ++x) {
            const std::uint8_t byte = image[maskStart + maskStride * s + x / 8];
            out.mask[static_cast<std::size_t>(h - 1 - s) * w + x] = (byte >> (7 - x % 8)) & 1;
        }
    }
    return out;
}

std::optional<Wave> ReadWave(const Bytes& file) {
    if (file.size() < 12 || std::string(file.begin(), file.begin() + 4) != "RIFF" ||
        std::string(file.begin() + 8, file.begin() + 12) != "WAVE" || Le32(file, 4) != file.size() - 8)
        return std::nullopt;
    Wave w;
    std::size_t at = 12;
    while (at < file.size()) {
        if (file.size() - at < 8) return std::nullopt;
        const std::string id(file.begin() + at, file.begin() + at + 4);
        const std::uint32_t size = Le32(file, at + 4);
        const std::size_t body = at + 8;
        const std::size_t pad = size % 2;
        if (size + pad > file.size() - body) return std::nullopt;
        w.chunks.push_back(id);
        if (id == "fmt " && size >= 16) {
            w.fmtSize = size;
            w.formatTag = Le16(file, body);
            w.channels = Le16(file, body + 2);
            w.samplesPerSecond = Le32(file, body + 4);
            w.bytesPerSecond = Le32(file, body + 8);
            w.blockAlign = Le16(file, body + 12);
            w.bitsPerSample = Le16(file, body + 14);
            if (size >= 18) w.extraSize = Le16(file, body + 16);
        } else if (id == "fact" && size >= 4) {
            w.factSize = size;
            w.factSamples = Le32(file, body);
        } else if (id == "data") {
            w.samples.assign(file.begin() + body, file.begin() + body + size);
            w.padBytes = pad;
        }
        at = body + size + pad;
    }
    return w;
}

Canvas::Canvas(int width, int height, std::uint8_t fill)
    : width_(width), height_(height), index_(static_cast<std::size_t>(width) * height, fill) {}

Canvas& Canvas::Paint(const std::vector<Span>& runs, std::uint8_t value) {
    for (const Span& r : runs)
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.first; x <= r.last; ++x) index_.at(static_cast<std::size_t>(y) * width_ + x) = value;
    return *this;
}

std::string FirstDifference(const Canvas& expected, int width, int height,
                            const std::function<int(int x, int y)>& at) {
    std::ostringstream out;
    if (width != expected.Width() || height != expected.Height()) {
        out << "size " << width << "x" << height << ", expected " << expected.Width() << "x"
            << expected.Height();
        return out.str();
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int got = at(x, y);
            if (got != expected.At(x, y)) {
                out << "first difference at (" << x << ", " << y << "): got " << got << ", expected "
                    << int(expected.At(x, y));
                return out.str();
            }
        }
    }
    return "";
}

std::string FirstDifference(const Canvas& expected, const winsim::Dib& got) {
    return FirstDifference(expected, got.width, got.height,
                           [&got](int x, int y) { return got.IndexAt(x, y); });
}

}  // namespace assets
