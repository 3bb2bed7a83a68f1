// text.cpp: fonts, text metrics, TextOutA and the string functions.
//
// There are no real glyphs. Every byte is a cell of the font's character
// width by its height, drawn opaque: the background colour (white) with a
// pattern in the text colour (black) that depends only on the byte, so that
// different bytes look different and a picture test can tell text is there.
// Fonts made with CreateFontA have the metrics a test sets with
// SetTextMetrics; the stock system font has its own (16 high, 8 wide), so
// text drawn without selecting the program's font shows.
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {
namespace detail {

namespace {

constexpr LONG kSystemFontHeight = 16;
constexpr LONG kSystemFontWidth = 8;

// Whether the glyph stand-in of `byte` has ink at (cx, cy) of its cell: the
// interior (a one-pixel margin left and right, two above and below) shows
// the bits of a byte-dependent code along its diagonals.
bool GlyphInk(unsigned char byte, int cx, int cy, int width, int height)
{
    if (cx < 1 || cx >= width - 1 || cy < 2 || cy >= height - 2) return false;
    unsigned code = (byte * 157u + 31u) & 0xFFu;   // a bijection: no two bytes share a code
    return (code >> ((cx + cy) % 8)) & 1u;
}

const Font* FontOf(const Dc& dc)
{
    auto it = M().fonts.find(Value(dc.font));
    return it == M().fonts.end() ? nullptr : &it->second;
}

}  // namespace

LONG CharWidthOf(const Font& font)
{
    return font.stock ? kSystemFontWidth : M().textMetrics.charWidth;
}

TEXTMETRICA MetricsOf(const Font& font)
{
    TEXTMETRICA tm{};
    if (font.stock) {
        tm.tmHeight = kSystemFontHeight;
        tm.tmExternalLeading = 0;
    } else {
        tm.tmHeight = M().textMetrics.height;
        tm.tmExternalLeading = M().textMetrics.externalLeading;
    }
    LONG w = CharWidthOf(font);
    tm.tmAscent = tm.tmHeight - tm.tmHeight / 5;
    tm.tmDescent = tm.tmHeight - tm.tmAscent;
    tm.tmInternalLeading = 0;
    tm.tmAveCharWidth = w;
    tm.tmMaxCharWidth = 2 * w;
    tm.tmWeight = font.weight ? font.weight : FW_NORMAL;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFF;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmCharSet = static_cast<BYTE>(font.charSet);
    return tm;
}

}  // namespace detail

void SetTextMetrics(LONG tmHeight, LONG tmExternalLeading, LONG charWidth)
{
    M().textMetrics = TextMetricsConfig{tmHeight, tmExternalLeading, charWidth};
}

}  // namespace winsim

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                         DWORD iPitchAndFamily, LPCSTR pszFaceName)
{
    std::size_t call = BeginCall("CreateFontA",
                                 {cHeight, cWidth, cEscapement, cOrientation, cWeight, bItalic, bUnderline,
                                  bStrikeOut, iCharSet, iOutPrecision, iClipPrecision, iQuality, iPitchAndFamily},
                                 pszFaceName ? pszFaceName : "");
    Font f;
    f.height = cHeight;
    f.weight = cWeight;
    f.charSet = iCharSet;
    f.face = pszFaceName ? pszFaceName : "";
    HFONT h = MakeHandle<HFONT>(
        AllocateHandle(M().nextFont, kFontBase, [](std::uintptr_t v) { return M().fonts.count(v) != 0; }));
    M().fonts[Value(h)] = f;
    EndCall(call, static_cast<std::intptr_t>(Value(h)));
    return h;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm)
{
    std::size_t call = BeginCall("GetTextMetricsA", {static_cast<std::intptr_t>(Value(hdc))});
    Dc* dc = FindDc(hdc, "GetTextMetricsA");
    const Font* font = dc ? FontOf(*dc) : nullptr;
    if (!font || lptm == nullptr) return static_cast<BOOL>(EndCall(call, FALSE));
    *lptm = MetricsOf(*font);
    return static_cast<BOOL>(EndCall(call, TRUE));
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    std::string bytes = (lpString && c > 0) ? std::string(lpString, static_cast<std::size_t>(c)) : std::string();
    std::size_t call = BeginCall("TextOutA", {static_cast<std::intptr_t>(Value(hdc)), x, y, c}, bytes);
    Dc* dc = FindDc(hdc, "TextOutA");
    const Font* font = dc ? FontOf(*dc) : nullptr;
    if (!font || c < 0 || (c > 0 && lpString == nullptr)) return static_cast<BOOL>(EndCall(call, FALSE));
    Surface s = SurfaceOf(*dc);
    int width = CharWidthOf(*font);
    int height = MetricsOf(*font).tmHeight;
    for (int k = 0; k < c; ++k) {
        unsigned char byte = static_cast<unsigned char>(bytes[static_cast<std::size_t>(k)]);
        for (int cy = 0; cy < height; ++cy)
            for (int cx = 0; cx < width; ++cx)
                PutPixel(s, x + k * width + cx, y + cy,
                         GlyphInk(byte, cx, cy, width, height) ? dc->textColour : dc->bkColour);
    }
    return static_cast<BOOL>(EndCall(call, TRUE));
}

// Windows' wsprintf stops at 1024 bytes, the zero included. Its 'l' size
// prefix means 32 bits, which is plain int here, so it is dropped before the
// C library sees the format.
int wsprintfA(LPSTR lpOut, LPCSTR lpFmt, ...)
{
    constexpr std::size_t kLimit = 1024;
    std::string fmt;
    for (const char* p = lpFmt ? lpFmt : ""; *p; ++p) {
        fmt.push_back(*p);
        if (*p != '%') continue;
        if (p[1] == '%') {
            fmt.push_back(*++p);
            continue;
        }
        while (p[1] && std::strchr("-#0 +123456789.", p[1])) fmt.push_back(*++p);
        while (p[1] == 'l' || p[1] == 'h') ++p;
    }
    char buf[kLimit];
    va_list ap;
    va_start(ap, lpFmt);
    int n = std::vsnprintf(buf, kLimit, fmt.c_str(), ap);
    va_end(ap);
    if (n < 0) n = 0;
    if (static_cast<std::size_t>(n) >= kLimit) n = static_cast<int>(kLimit - 1);
    if (lpOut) {
        std::memcpy(lpOut, buf, static_cast<std::size_t>(n));
        lpOut[n] = '\0';
    }
    std::size_t call = BeginCall("wsprintfA", {}, JoinStrings(lpFmt ? lpFmt : "", std::string(buf, static_cast<std::size_t>(n))));
    return static_cast<int>(EndCall(call, n));
}

int WINAPI lstrlenA(LPCSTR lpString)
{
    std::string s = lpString ? lpString : "";
    std::size_t call = BeginCall("lstrlenA", {}, s);
    return static_cast<int>(EndCall(call, static_cast<std::intptr_t>(s.size())));
}

LPSTR WINAPI lstrcpyA(LPSTR lpString1, LPCSTR lpString2)
{
    std::string s = lpString2 ? lpString2 : "";
    BeginCall("lstrcpyA", {}, s);
    if (lpString1 == nullptr) return nullptr;
    std::memcpy(lpString1, s.c_str(), s.size() + 1);
    return lpString1;
}
