// The committed assets of res/ are exactly what the generator writes: run it
// into a fresh folder and compare file by file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "asset_readers.h"

#ifndef RESGEN_PATH
#error "RESGEN_PATH must name the resgen executable"
#endif

namespace fs = std::filesystem;

TEST(Regenerate, GeneratorOutputEqualsCommittedAssets) {
    const fs::path dir = fs::temp_directory_path() / ("resgen-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string command = std::string("\"") + RESGEN_PATH + "\" \"" + dir.string() + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    const std::set<std::string> expected = {
        "app.ico",        "bluevirus.bmp",  "cross.bmp",     "hole.bmp",       "knockout.wav",
        "logo.bmp",       "magnifier.bmp",  "mallet.cur",    "redvirus.bmp",   "shieldvirus.bmp",
        "shutterbottom.bmp", "shuttertop.bmp", "strike.wav",
    };
    std::set<std::string> written;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) written.insert(e.path().filename().string());
    EXPECT_EQ(written, expected);
    for (const std::string& name : written) {
        SCOPED_TRACE(name);
        const assets::Bytes generated = assets::ReadFile((dir / name).string());
        const assets::Bytes committed = assets::ReadFile(assets::ResPath(name));
        EXPECT_FALSE(generated.empty());
        EXPECT_TRUE(generated == committed) << "res/" << name << " differs from the generator's output; "
                                            << "regenerate with: resgen res";
    }
    fs::remove_all(dir);
}
