// support.cpp: the test window and the fixture resources.
#include "support.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace wt {

std::map<UINT, Handler> g_on;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    auto it = g_on.find(msg);
    if (it != g_on.end()) return it->second(hwnd, wp, lp);
    return DefWindowProcA(hwnd, msg, wp, lp);
}

HWND MakeWindow(bool show)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = TestProc;
        wc.hInstance = winsim::ModuleHandle();
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "WINSIMTEST";
        registered = RegisterClassExA(&wc) != 0;
    }
    HWND hwnd = CreateWindowExA(0, "WINSIMTEST", "test", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 10, 20, 396,
                                305, nullptr, nullptr, winsim::ModuleHandle(), nullptr);
    if (hwnd && show) {
        ShowWindow(hwnd, SW_SHOW);
        UpdateWindow(hwnd);
    }
    return hwnd;
}

std::vector<Delivery> Deliveries()
{
    std::vector<Delivery> d;
    for (const winsim::Call& c : winsim::Log())
        if (c.name == "WndProc") d.push_back(Delivery{static_cast<UINT>(c.args[0]), c.depth});
    return d;
}

std::vector<UINT> Messages()
{
    std::vector<UINT> m;
    for (const Delivery& d : Deliveries()) m.push_back(d.msg);
    return m;
}

int Count(const std::string& callName)
{
    int n = 0;
    for (const winsim::Call& c : winsim::Log()) n += c.name == callName;
    return n;
}

int Find(const std::string& name, UINT msg, int from)
{
    const auto& log = winsim::Log();
    for (int i = from; i < static_cast<int>(log.size()); ++i)
        if (log[i].name == name && (name != "WndProc" || static_cast<UINT>(log[i].args[0]) == msg)) return i;
    return -1;
}

namespace {

void Put16(std::string& s, unsigned v) { s.push_back(char(v & 0xFF)), s.push_back(char((v >> 8) & 0xFF)); }
void Put32(std::string& s, std::uint32_t v) { Put16(s, v & 0xFFFF), Put16(s, v >> 16); }

// An uncompressed, bottom-up BMP file from palette indices given top row first.
std::string Bmp(int bits, int w, int h, const std::vector<std::uint32_t>& palette, const std::vector<int>& index)
{
    int stride = ((w * bits + 31) / 32) * 4;
    std::string pixels;
    for (int y = h - 1; y >= 0; --y) {
        std::string row(stride, '\0');
        for (int x = 0; x < w; ++x) {
            int bit = x * bits;
            row[bit / 8] = char(row[bit / 8] | (index[y * w + x] << (8 - bits - bit % 8)));
        }
        pixels += row;
    }
    std::string s = "BM";
    std::uint32_t offset = 14 + 40 + 4 * static_cast<std::uint32_t>(palette.size());
    Put32(s, offset + pixels.size());
    Put32(s, 0);
    Put32(s, offset);
    Put32(s, 40), Put32(s, w), Put32(s, h), Put16(s, 1), Put16(s, bits), Put32(s, 0);
    Put32(s, pixels.size()), Put32(s, 2835), Put32(s, 2835), Put32(s, palette.size()), Put32(s, 0);
    for (std::uint32_t rgb : palette) Put32(s, rgb);   // 0x00RRGGBB is the byte order B, G, R, 0
    return s + pixels;
}

void Write(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

std::string FixtureDirectory()
{
    static std::string dir;
    if (!dir.empty()) return dir;
    char tmpl[] = "/tmp/winsim-fixture-XXXXXX";
    dir = mkdtemp(tmpl);
    Write(dir + "/resource.h",
          "#define IDB_ROWS 201\n#define IDB_MONO 202\n#define IDB_INVERTED 0xCB\n#define IDW_BEEP 204\n"
          "#define IDI_FIX 205\n#define IDW_NOTWAVE 206\n#define IDB_BLACK 208\n");
    Write(dir + "/moktu.rc",
          "// fixture script\n#include <windows.h>\n#include \"resource.h\"\n"
          "LANGUAGE 0x11, 0x01\n#pragma code_page(65001)\n"
          "IDB_ROWS BITMAP \"rows.bmp\"\n"
          "IDB_MONO BITMAP \"sub\\\\mono.bmp\"   /* a path with a backslash */\n"
          "IDB_INVERTED BITMAP \"inverted.bmp\"\n"
          "IDW_BEEP WAVE \"beep.wav\"\n"
          "IDW_NOTWAVE WAVE \"rows.bmp\"\n"
          "IDI_FIX ICON \"fix.ico\"\n"
          "IDB_BLACK BITMAP \"black.bmp\"\n"
          "1 VERSIONINFO\n FILEVERSION 1,0,3,0\nBEGIN\n BLOCK \"StringFileInfo\"\n BEGIN\n"
          "  207 BITMAP \"not-a-resource.bmp\"\n END\nEND\n");
    // Rows: red, green, blue, white / black x4 / white, black, white, black / yellow x4
    std::vector<std::uint32_t> pal16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                        0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                        0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    Write(dir + "/rows.bmp", Bmp(4, 4, 4, pal16, {9, 10, 12, 15, 0, 0, 0, 0, 15, 0, 15, 0, 11, 11, 11, 11}));
    system(("mkdir -p " + dir + "/sub").c_str());
    Write(dir + "/sub/mono.bmp", Bmp(1, 4, 2, {0x000000, 0xFFFFFF}, {0, 1, 1, 0, 1, 1, 0, 0}));
    Write(dir + "/black.bmp", Bmp(1, 390, 280, {0x000000, 0xFFFFFF}, std::vector<int>(390 * 280, 0)));
    Write(dir + "/inverted.bmp", Bmp(1, 2, 1, {0xFFFFFF, 0x000000}, {0, 1}));
    Write(dir + "/beep.wav", std::string("RIFF\x04\0\0\0WAVE", 12));
    Write(dir + "/fix.ico", std::string("\0\0\1\0", 4));
    return dir;
}

}  // namespace wt
