// The resources inside the built MOKTU.EXE, as wrestool (Debian icoutils)
// lists and extracts them: every id, type and language, and the same bytes
// as the files of res/.
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "asset_readers.h"

#if !defined(MURVALO_EXE) || !defined(WRESTOOL)
#error "MURVALO_EXE and WRESTOOL must name the built program and wrestool"
#endif

namespace {

using assets::Bytes;

// The standard output of a shell command; the test fails if it fails.
Bytes RunCommand(const std::string& command) {
    Bytes out;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return out;
    }
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.insert(out.end(), buffer, buffer + n);
    EXPECT_EQ(pclose(pipe), 0) << command;
    return out;
}

std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// The raw bytes of one resource; `type` is a number or a type name.
Bytes Extract(const std::string& type, int name) {
    return RunCommand(Quoted(WRESTOOL) + " -x --raw --type=" + type + " --name=" + std::to_string(name) + " " +
                      Quoted(MURVALO_EXE));
}

Bytes ResFile(const std::string& name) { return assets::ReadFile(assets::ResPath(name)); }

TEST(ExeResources, EveryResourceByIdTypeAndLanguage) {
    const Bytes listing = RunCommand(Quoted(WRESTOOL) + " -l " + Quoted(MURVALO_EXE));
    const std::string text(listing.begin(), listing.end());
    // A line reads: --type=2 --name=129 --language=1041 [...], a named type
    // in quotes: --type='WAVE'.
    const std::regex line(R"(--type=('?)([^' ]+)\1 --name=(\S+) --language=(\d+))");
    std::set<std::pair<std::string, std::string>> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), line); it != std::sregex_iterator(); ++it) {
        const std::smatch& m = *it;
        EXPECT_EQ(m[4].str(), "1041") << m[0].str();  // 0x0411, Japanese
        found.insert({m[2].str(), m[3].str()});
    }
    const std::set<std::pair<std::string, std::string>> expected = {
        {"2", "129"},  {"2", "130"},  {"2", "131"}, {"2", "133"}, {"2", "134"}, {"2", "135"},
        {"2", "136"},  {"2", "137"},  {"2", "138"},                                 // bitmaps
        {"WAVE", "132"}, {"WAVE", "139"},                                           // sounds
        {"12", "140"}, {"1", "1"},                                                  // cursor group, image
        {"14", "107"}, {"3", "1"},                                                  // icon group, image
        {"16", "1"},                                                                // version
    };
    EXPECT_EQ(found, expected) << text;
}

TEST(ExeResources, BitmapsAndSoundsAreTheFilesOfRes) {
    // A bitmap resource is the .bmp without its 14-byte file header; a WAVE
    // resource is the whole .wav file.
    const struct {
        const char* type;
        int id;
        const char* file;
        std::size_t skip;
    } resources[] = {
        {"2", 129, "bluevirus.bmp", 14},  {"2", 130, "hole.bmp", 14},
        {"2", 131, "magnifier.bmp", 14},  {"2", 133, "cross.bmp", 14},
        {"2", 134, "redvirus.bmp", 14},   {"2", 135, "shuttertop.bmp", 14},
        {"2", 136, "shutterbottom.bmp", 14}, {"2", 137, "logo.bmp", 14},
        {"2", 138, "shieldvirus.bmp", 14}, {"WAVE", 132, "knockout.wav", 0},
        {"WAVE", 139, "strike.wav", 0},
    };
    for (const auto& r : resources) {
        SCOPED_TRACE(r.file);
        const Bytes file = ResFile(r.file);
        ASSERT_GT(file.size(), r.skip);
        EXPECT_TRUE(Extract(r.type, r.id) == Bytes(file.begin() + r.skip, file.end()));
    }
}

TEST(ExeResources, CursorAndIconAreTheImagesOfRes) {
    // The cursor image resource is the hotspot (two 16-bit words) followed by
    // the image data of the .cur file; the icon image resource is the image
    // data of the .ico file. The files' directories become the groups.
    const std::optional<assets::IconFile> cur = assets::ReadIconFile(ResFile("mallet.cur"));
    const std::optional<assets::IconFile> ico = assets::ReadIconFile(ResFile("app.ico"));
    ASSERT_TRUE(cur && ico);
    Bytes cursor = {3, 0, 22, 0};
    cursor.insert(cursor.end(), cur->image.begin(), cur->image.end());
    EXPECT_TRUE(Extract("1", 1) == cursor);
    EXPECT_TRUE(Extract("3", 1) == ico->image);

    // The groups: reserved word, type (2 cursor, 1 icon), one entry; a
    // cursor entry holds width 32, height 64 (image and mask), planes 1,
    // 1 bit, 308 bytes, image id 1; an icon entry width 32, height 32,
    // 16 colours, planes 1, 4 bits, 744 bytes, image id 1.
    EXPECT_EQ(Extract("12", 140), (Bytes{0, 0, 2, 0, 1, 0, 32, 0, 64, 0, 1, 0, 1, 0, 0x34, 0x01, 0, 0, 1, 0}));
    EXPECT_EQ(Extract("14", 107), (Bytes{0, 0, 1, 0, 1, 0, 32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, 1, 0}));
}

// ---- the version block ---------------------------------------------------------

// One node of a version block: length, value length, type (1 text, 0
// binary), a UTF-16 key, the value and the children, each 32-bit aligned.
struct VersionNode {
    std::u16string key;
    std::uint16_t type = 0;
    Bytes value;
    std::vector<VersionNode> children;

    std::u16string Text() const {
        std::u16string s;
        for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
            const char16_t c = static_cast<char16_t>(value[i] | value[i + 1] << 8);
            if (c == 0) break;
            s += c;
        }
        return s;
    }
};

std::size_t Align4(std::size_t at) { return (at + 3) & ~std::size_t{3}; }

std::optional<VersionNode> ParseVersionNode(const Bytes& b, std::size_t at) {
    if (at + 6 > b.size()) return std::nullopt;
    const std::size_t end = at + assets::Le16(b, at);
    const std::size_t valueLength = assets::Le16(b, at + 2);
    if (end > b.size() || end < at + 6) return std::nullopt;
    VersionNode node;
    node.type = assets::Le16(b, at + 4);
    std::size_t p = at + 6;
    for (; p + 1 < end && assets::Le16(b, p) != 0; p += 2) node.key += static_cast<char16_t>(assets::Le16(b, p));
    p = Align4(p + 2);
    const std::size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
    if (p + valueBytes > end) return std::nullopt;
    node.value.assign(b.begin() + p, b.begin() + p + valueBytes);
    p = Align4(p + valueBytes);
    while (p < end) {
        std::optional<VersionNode> child = ParseVersionNode(b, p);
        if (!child) return std::nullopt;
        p = Align4(p + assets::Le16(b, p));
        node.children.push_back(*child);
    }
    return node;
}

TEST(ExeResources, VersionBlock) {
    const std::optional<VersionNode> root = ParseVersionNode(Extract("16", 1), 0);
    ASSERT_TRUE(root.has_value());
    EXPECT_EQ(root->key, u"VS_VERSION_INFO");

    // The fixed part, as 32-bit words.
    ASSERT_EQ(root->value.size(), 52u);
    std::vector<std::uint32_t> fixed;
    for (std::size_t i = 0; i < 52; i += 4) fixed.push_back(assets::Le32(root->value, i));
    EXPECT_EQ(fixed, (std::vector<std::uint32_t>{
                         0xFEEF04BD,              // signature
                         0x00010000,              // structure version
                         0x00010000, 0x00030000,  // file version 1.0.3.0
                         0x00010000, 0x00030000,  // product version 1.0.3.0
                         0x3F, 0,                 // flags mask, flags
                         0x40004,                 // 32-bit Windows on NT
                         1, 0,                    // application, no subtype
                         0, 0}));                 // file date

    ASSERT_EQ(root->children.size(), 2u);
    const VersionNode& strings = root->children[0];
    EXPECT_EQ(strings.key, u"StringFileInfo");
    ASSERT_EQ(strings.children.size(), 1u);
    EXPECT_EQ(strings.children[0].key, u"041104b0");
    const std::vector<std::pair<std::u16string, std::u16string>> expected = {
        {u"Comments", u"Murvalo。あなたの手でウィルスを除去してくださいね。連絡先 velquar@example.invalid"},
        {u"CompanyName", u"VELQUAR"},
        {u"FileDescription", u"Murvalo"},
        {u"FileVersion", u"1, 0, 3, 0"},
        {u"InternalName", u"MOKTU"},
        {u"LegalCopyright", u"Copyright (C) 2026 VELQUAR"},
        {u"LegalTrademarks", u""},
        {u"OriginalFilename", u"MOKTU.EXE"},
        {u"PrivateBuild", u""},
        {u"ProductName", u"Murvalo"},
        {u"ProductVersion", u"1, 0, 3, 0"},
        {u"SpecialBuild", u""},
    };
    std::vector<std::pair<std::u16string, std::u16string>> got;
    for (const VersionNode& s : strings.children[0].children) got.push_back({s.key, s.Text()});
    EXPECT_EQ(got, expected);

    const VersionNode& vars = root->children[1];
    EXPECT_EQ(vars.key, u"VarFileInfo");
    ASSERT_EQ(vars.children.size(), 1u);
    EXPECT_EQ(vars.children[0].key, u"Translation");
    EXPECT_EQ(vars.children[0].value, (Bytes{0x11, 0x04, 0xB0, 0x04}));  // 0x0411, 1200
}

}  // namespace
