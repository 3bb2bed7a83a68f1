// asset_readers.h: small readers for the files of res/ that the BMP reader
// does not cover (icon and cursor files, RIFF WAVE sounds), and helpers to
// compare pictures with their described rows.
#ifndef ASSETS_ASSET_READERS_H
#define ASSETS_ASSET_READERS_H

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "winsim/dib.h"

namespace assets {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadFile(const std::string& path);
std::string ResPath(const std::string& name);  // a file of the committed res/
std::uint16_t Le16(const Bytes& b, std::size_t at);
std::uint32_t Le32(const Bytes& b, std::size_t at);

// An icon or cursor file with one image: the directory entry and the image.
struct IconFile {
    std::uint16_t type = 0;  // 1 icon, 2 cursor
    std::uint16_t count = 0;
    int width = 0, height = 0, colourCount = 0;
    std::uint16_t word1 = 0, word2 = 0;  // planes and bit count, or the hotspot
    std::uint32_t bytesInRes = 0, imageOffset = 0;
    Bytes image;  // the bytes the entry points at
};
std::optional<IconFile> ReadIconFile(const Bytes& file);

// The image of an icon or cursor: its colour part (a DIB of half the stored
// height) and its AND mask, both as shown, top row first.
struct IconImage {
    winsim::Dib colour;
    std::uint32_t storedHeight = 0;  // the header's height: twice the picture's
    std::vector<std::uint8_t> mask;  // 1 where the screen shows through
    bool Masked(int x, int y) const { return mask[static_cast<std::size_t>(y) * colour.width + x] != 0; }
};
std::optional<IconImage> DecodeIconImage(const Bytes& image);

// A RIFF WAVE file, read chunk by chunk.
struct Wave {
    std::vector<std::string> chunks;  // ids in file order
    std::uint32_t fmtSize = 0;
    std::uint16_t formatTag = 0, channels = 0, blockAlign = 0, bitsPerSample = 0, extraSize = 0;
    std::uint32_t samplesPerSecond = 0, bytesPerSecond = 0;
    std::uint32_t factSize = 0, factSamples = 0;
    std::vector<std::uint8_t> samples;
    std::size_t padBytes = 0;  // after the data chunk
};
// Refuses files whose RIFF size or chunk sizes do not add up to the file.
std::optional<Wave> ReadWave(const Bytes& file);

// ---- pictures drawn from described rows, for comparison ----------------------

// A run of pixels: columns first..last of rows top..bottom, inclusive.
struct Span {
    int top, bottom, first, last;
};

// An expected picture of palette indices, painted run by run.
class Canvas {
public:
    Canvas(int width, int height, std::uint8_t fill);
    Canvas& Paint(const std::vector<Span>& runs, std::uint8_t value);
    std::uint8_t At(int x, int y) const { return index_.at(static_cast<std::size_t>(y) * width_ + x); }
    void Set(int x, int y, std::uint8_t value) { index_.at(static_cast<std::size_t>(y) * width_ + x) = value; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_, height_;
    std::vector<std::uint8_t> index_;
};

// Empty when the picture equals the canvas; else the first differing pixel.
std::string FirstDifference(const Canvas& expected, int width, int height,
                            const std::function<int(int x, int y)>& at);
std::string FirstDifference(const Canvas& expected, const winsim::Dib& got);

}  // namespace assets

#endif
