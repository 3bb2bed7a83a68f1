// resgen: writes the program's bitmaps, cursor, icon and sounds into a folder
// (res/ in the source tree). Usage: resgen <outdir>
#include <cstdio>
#include <fstream>
#include <string>

#include "pictures.h"
#include "sounds.h"
#include "writers.h"

namespace {

using resgen::Bytes;

bool Save(const std::string& dir, const char* name, const Bytes& bytes) {
    const std::string path = dir + "/" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "resgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: resgen <outdir>\n");
        return 2;
    }
    using namespace resgen;
    const std::string dir = argv[1];
    const auto colour = [](const Picture& p, BmpStorage storage) {
        return WriteBmp(p, 4, storage, StandardPalette());
    };
    const auto mono = [](const Picture& p) { return WriteBmp(p, 1, BmpStorage::Rgb, MonoPalette()); };

    struct Output {
        const char* name;
        Bytes bytes;
    };
    const Output outputs[] = {
        {"bluevirus.bmp", colour(BlueVirus(), BmpStorage::Rle4)},
        {"hole.bmp", mono(Hole())},
        {"magnifier.bmp", colour(Magnifier(), BmpStorage::Rle4)},
        {"cross.bmp", colour(Cross(), BmpStorage::Rgb)},
        {"redvirus.bmp", colour(RedVirus(), BmpStorage::Rle4)},
        {"shuttertop.bmp", mono(ShutterTop())},
        {"shutterbottom.bmp", mono(ShutterBottom())},
        {"logo.bmp", mono(Logo())},
        {"shieldvirus.bmp", colour(ShieldVirus(), BmpStorage::Rle4)},
        {"mallet.cur", WriteCursor(Mallet(), MALLET_HOTSPOT_X, MALLET_HOTSPOT_Y)},
        {"app.ico", WriteIcon(AppIcon())},
        {"strike.wav", WriteWave(StrikeSamples(), STRIKE_RATE)},
        {"knockout.wav", WriteWave(KnockoutSamples(), KNOCKOUT_RATE)},
    };
    bool ok = true;
    for (const Output& o : outputs) ok = Save(dir, o.name, o.bytes) && ok;
    return ok ? 0 : 1;
}
