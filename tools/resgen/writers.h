// writers.h: the file formats the generator writes: BMP (uncompressed or
// RLE4), icon and cursor files, and RIFF WAVE sounds.
#ifndef RESGEN_WRITERS_H
#define RESGEN_WRITERS_H

#include <cstdint>
#include <vector>

#include "picture.h"

namespace resgen {

using Bytes = std::vector<std::uint8_t>;

enum class BmpStorage { Rgb, Rle4 };

// A BMP file, stored bottom-up: 1 or 4 bits per pixel, uncompressed, or
// 4 bits run-length encoded.
Bytes WriteBmp(const Picture& p, int bitCount, BmpStorage storage, const std::vector<Rgb>& palette);

// Just the RLE4 stream of a picture (stored rows bottom-up, ending in the
// end-of-bitmap escape).
Bytes EncodeRle4(const Picture& p);

// An .ico file with one 4-bit image; pixels holding ICON_TRANSPARENT are
// masked out.
Bytes WriteIcon(const Picture& p);

// A .cur file with one monochrome image of CursorPixel values.
Bytes WriteCursor(const Picture& p, int hotspotX, int hotspotY);

// A RIFF WAVE file: "fmt " (18 bytes: PCM, mono, 8 bits, no extra format
// bytes), "fact" (the sample count) and "data", padded to an even length.
Bytes WriteWave(const std::vector<std::uint8_t>& samples, std::uint32_t samplesPerSecond);

}  // namespace resgen

#endif
