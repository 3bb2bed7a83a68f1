// gdi.cpp: device contexts, bitmaps, BitBlt and the accounting of GDI objects.
//
// Window DCs (GetDC: the whole client; BeginPaint: clipped to the region
// being painted) draw on the window's client pixels. Memory DCs start with
// the stock 1x1 monochrome bitmap and the stock system font selected. A
// monochrome source copied to a colour destination gives the destination
// DC's text colour for 0 and its background colour for 1 (black and white,
// since nothing here changes them); a colour source copied to a monochrome
// destination gives 1 where it equals the source DC's background colour.
//
// Misuse goes to Errors(): a dead or unknown handle, an object deleted while
// selected or deleted twice, a DC released twice or released with the
// program's font still selected, a bitmap selected into two DCs at once.
#include <algorithm>

#include "winsim/dib.h"
#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {
namespace detail {

namespace {

void EnsureStockObjects()
{
    Machine& m = M();
    if (m.bitmaps.count(kStockBitmap)) return;
    Bitmap b;
    b.width = b.height = 1;
    b.mono = true;
    b.pixels = {0};
    b.stock = true;
    m.bitmaps[kStockBitmap] = b;
    Font f;
    f.height = 16;
    f.weight = FW_BOLD;
    f.face = "System";
    f.stock = true;
    m.fonts[kStockFont] = f;
}

void Deselect(Dc& dc)
{
    if (Bitmap* b = dc.bitmap ? &M().bitmaps[Value(dc.bitmap)] : nullptr)
        if (!b->stock) b->selectedInto = nullptr;
    if (dc.font) {
        Font& f = M().fonts[Value(dc.font)];
        if (f.selections > 0) --f.selections;
    }
    dc.bitmap = nullptr;
    dc.font = nullptr;
}

bool FontIsStock(HFONT h)
{
    return h == nullptr || M().fonts[Value(h)].stock;
}

std::uint32_t ToRgb(const Rgb& c)
{
    return (static_cast<std::uint32_t>(c.r) << 16) | (static_cast<std::uint32_t>(c.g) << 8) | c.b;
}

// As Windows does for bitmap resources: a 1-bit picture whose palette is
// black then white becomes a monochrome bitmap that keeps its bits; any
// other picture becomes a colour bitmap through its palette.
Bitmap BitmapFromDib(const Dib& dib)
{
    Bitmap b;
    b.width = dib.width;
    b.height = dib.height;
    b.mono = dib.bitCount == 1 && dib.palette.size() >= 2 && dib.palette[0] == Rgb{0, 0, 0} &&
             dib.palette[1] == Rgb{255, 255, 255};
    b.pixels.resize(static_cast<std::size_t>(b.width) * b.height);
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            b.pixels[static_cast<std::size_t>(y) * b.width + x] =
                b.mono ? dib.IndexAt(x, y) : ToRgb(dib.ColourAt(x, y));
    return b;
}

std::intptr_t V(const void* p) { return static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(p)); }

}  // namespace

Dc* FindDc(HDC hdc, const char* caller)
{
    auto it = M().dcs.find(Value(hdc));
    if (it == M().dcs.end()) {
        Error(std::string(caller) + ": " + (hdc ? "unknown DC " + Hex(Value(hdc)) : "null DC"));
        return nullptr;
    }
    if (!it->second.alive) {
        Error(std::string(caller) + ": DC " + Hex(Value(hdc)) + " was already released or deleted");
        return nullptr;
    }
    return &it->second;
}

HDC NewDc(DcKind kind, HWND hwnd, std::vector<std::uint8_t> clip)
{
    EnsureStockObjects();
    HDC hdc = MakeHandle<HDC>(
        AllocateHandle(M().nextDc, kDcBase, [](std::uintptr_t v) { return M().dcs.count(v) != 0; }));
    Dc dc;
    dc.kind = kind;
    dc.hwnd = hwnd;
    dc.clip = std::move(clip);
    dc.font = MakeHandle<HFONT>(kStockFont);
    if (kind == DcKind::Memory) dc.bitmap = MakeHandle<HBITMAP>(kStockBitmap);
    M().dcs[Value(hdc)] = std::move(dc);
    return hdc;
}

BOOL ReleaseWindowDc(HDC hdc, const char* caller)
{
    Dc* dc = FindDc(hdc, caller);
    if (!dc) return FALSE;
    if (dc->kind == DcKind::Memory) {
        Error(std::string(caller) + ": " + Hex(Value(hdc)) + " is a memory DC (DeleteDC frees those)");
        return FALSE;
    }
    if (!FontIsStock(dc->font))
        Error(std::string(caller) + ": DC " + Hex(Value(hdc)) + " still has font " + Hex(Value(dc->font)) +
              " selected; select the old font back first");
    Deselect(*dc);
    RetireDc(hdc);
    return TRUE;
}

Surface SurfaceOf(const Dc& dc)
{
    Surface s;
    if (dc.kind == DcKind::Memory) {
        Bitmap& b = M().bitmaps[Value(dc.bitmap)];
        s.pixels = b.pixels.data();
        s.width = b.width;
        s.height = b.height;
        s.mono = b.mono;
        return s;
    }
    Window* w = FindWindow(dc.hwnd);
    if (!w || !w->visible) return s;   // a hidden window shows nothing
    s.pixels = w->pixels.pixels.data();
    s.width = w->Width();
    s.height = w->Height();
    if (dc.kind == DcKind::Paint) s.clip = dc.clip.data();
    return s;
}

void PutPixel(const Surface& s, int x, int y, std::uint32_t colour)
{
    if (!s.pixels || x < 0 || y < 0 || x >= s.width || y >= s.height) return;
    std::size_t i = static_cast<std::size_t>(y) * s.width + x;
    if (s.clip && !s.clip[i]) return;
    if (s.mono) {
        int sum = static_cast<int>((colour >> 16) & 0xFF) + static_cast<int>((colour >> 8) & 0xFF) +
                  static_cast<int>(colour & 0xFF);
        s.pixels[i] = sum >= 3 * 128 ? 1 : 0;
    } else {
        s.pixels[i] = colour & 0xFFFFFF;
    }
}

void FillClient(Dc& dc, std::uint32_t colour)
{
    Surface s = SurfaceOf(dc);
    if (s.mono || !s.pixels) {
        for (int y = 0; y < s.height; ++y)
            for (int x = 0; x < s.width; ++x) PutPixel(s, x, y, colour);
        return;
    }
    // A window's whole client, where its paint region allows: one pass.
    const std::size_t n = static_cast<std::size_t>(s.width) * s.height;
    const std::uint32_t c = colour & 0xFFFFFF;
    for (std::size_t i = 0; i < n; ++i)
        if (!s.clip || s.clip[i]) s.pixels[i] = c;
}

HBITMAP NewBitmap(Bitmap bm)
{
    EnsureStockObjects();
    HBITMAP h = MakeHandle<HBITMAP>(
        AllocateHandle(M().nextBitmap, kBitmapBase, [](std::uintptr_t v) { return M().bitmaps.count(v) != 0; }));
    M().bitmaps[Value(h)] = std::move(bm);
    return h;
}

namespace {

template <typename Map>
void Remember(Map& map, std::deque<std::uintptr_t>& dead, std::uintptr_t v)
{
    dead.push_back(v);
    if (dead.size() > kRememberedDead) {
        map.erase(dead.front());
        dead.pop_front();
    }
}

}  // namespace

void RetireDc(HDC hdc)
{
    Dc& dc = M().dcs[Value(hdc)];
    dc.alive = false;
    std::vector<std::uint8_t>().swap(dc.clip);
    Remember(M().dcs, M().deadDcs, Value(hdc));
}

void RetireBitmap(std::uintptr_t v)
{
    Bitmap& b = M().bitmaps[v];
    b.alive = false;
    std::vector<std::uint32_t>().swap(b.pixels);
    Remember(M().bitmaps, M().deadBitmaps, v);
}

void RetireFont(std::uintptr_t v)
{
    M().fonts[v].alive = false;
    Remember(M().fonts, M().deadFonts, v);
}

}  // namespace detail

// ---- test side -------------------------------------------------------------------

const Picture& Screen()
{
    static const Picture kNone;
    Window* w = FindAnyWindow(M().screenWindow);
    return w ? w->pixels : kNone;
}

GdiCounts LiveObjects()
{
    GdiCounts c;
    for (const auto& [v, dc] : M().dcs)
        if (dc.alive) (dc.kind == DcKind::Memory ? c.memoryDCs : c.windowDCs)++;
    for (const auto& [v, b] : M().bitmaps)
        if (b.alive && !b.stock) ++c.bitmaps;
    for (const auto& [v, f] : M().fonts)
        if (f.alive && !f.stock) ++c.fonts;
    return c;
}

}  // namespace winsim

// ---- USER32 and GDI32 ------------------------------------------------------------------

HDC WINAPI GetDC(HWND hWnd)
{
    std::size_t call = BeginCall("GetDC", {V(hWnd)});
    if (hWnd == nullptr) {
        Error("GetDC(NULL): the screen DC is not modelled");
        return nullptr;
    }
    if (!FindWindow(hWnd)) return nullptr;
    HDC hdc = NewDc(DcKind::Window, hWnd, {});
    EndCall(call, V(hdc));
    return hdc;
}

int WINAPI ReleaseDC(HWND hWnd, HDC hDC)
{
    std::size_t call = BeginCall("ReleaseDC", {V(hWnd), V(hDC)});
    Dc* dc = FindDc(hDC, "ReleaseDC");
    if (!dc) return static_cast<int>(EndCall(call, 0));
    if (dc->kind == DcKind::Paint) {
        Error("ReleaseDC: " + Hex(Value(hDC)) + " came from BeginPaint (EndPaint releases it)");
        return static_cast<int>(EndCall(call, 0));
    }
    if (dc->kind == DcKind::Window && dc->hwnd != hWnd) {
        Error("ReleaseDC: " + Hex(Value(hDC)) + " belongs to another window");
        return static_cast<int>(EndCall(call, 0));
    }
    return static_cast<int>(EndCall(call, ReleaseWindowDc(hDC, "ReleaseDC")));
}

HDC WINAPI CreateCompatibleDC(HDC hdc)
{
    std::size_t call = BeginCall("CreateCompatibleDC", {V(hdc)});
    if (hdc != nullptr && !FindDc(hdc, "CreateCompatibleDC")) return nullptr;
    HDC mem = NewDc(DcKind::Memory, nullptr, {});
    EndCall(call, V(mem));
    return mem;
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h)
{
    std::size_t call = BeginCall("SelectObject", {V(hdc), V(h)});
    Dc* dc = FindDc(hdc, "SelectObject");
    if (!dc) return nullptr;
    std::uintptr_t v = Value(h);
    if (InRange(v, kBitmapBase)) {
        auto it = M().bitmaps.find(v);
        if (it == M().bitmaps.end() || !it->second.alive) {
            Error("SelectObject: bitmap " + Hex(v) + (it == M().bitmaps.end() ? " is unknown" : " was deleted"));
            return nullptr;
        }
        Bitmap& b = it->second;
        if (dc->kind != DcKind::Memory) {
            Error("SelectObject: a bitmap can be selected only into a memory DC");
            return nullptr;
        }
        if (!b.stock && b.selectedInto != nullptr && b.selectedInto != hdc) {
            Error("SelectObject: bitmap " + Hex(v) + " is already selected into DC " + Hex(Value(b.selectedInto)));
            return nullptr;
        }
        HBITMAP prev = dc->bitmap;
        Bitmap& old = M().bitmaps[Value(prev)];
        if (!old.stock) old.selectedInto = nullptr;
        if (!b.stock) b.selectedInto = hdc;
        dc->bitmap = MakeHandle<HBITMAP>(v);
        EndCall(call, V(prev));
        return prev;
    }
    if (InRange(v, kFontBase)) {
        auto it = M().fonts.find(v);
        if (it == M().fonts.end() || !it->second.alive) {
            Error("SelectObject: font " + Hex(v) + (it == M().fonts.end() ? " is unknown" : " was deleted"));
            return nullptr;
        }
        HFONT prev = dc->font;
        Font& old = M().fonts[Value(prev)];
        if (old.selections > 0) --old.selections;
        ++it->second.selections;
        dc->font = MakeHandle<HFONT>(v);
        EndCall(call, V(prev));
        return prev;
    }
    Error("SelectObject: " + (h ? "unknown object " + Hex(v) : std::string("null object")));
    return nullptr;
}

BOOL WINAPI DeleteDC(HDC hdc)
{
    std::size_t call = BeginCall("DeleteDC", {V(hdc)});
    Dc* dc = FindDc(hdc, "DeleteDC");
    if (!dc) return static_cast<BOOL>(EndCall(call, FALSE));
    if (dc->kind != DcKind::Memory) {
        Error("DeleteDC: " + Hex(Value(hdc)) + " is a window DC (ReleaseDC or EndPaint frees it)");
        return static_cast<BOOL>(EndCall(call, FALSE));
    }
    // Whatever is still selected is simply deselected.
    Deselect(*dc);
    RetireDc(hdc);
    return static_cast<BOOL>(EndCall(call, TRUE));
}

BOOL WINAPI DeleteObject(HGDIOBJ ho)
{
    std::size_t call = BeginCall("DeleteObject", {V(ho)});
    std::uintptr_t v = Value(ho);
    if (ho == nullptr) return static_cast<BOOL>(EndCall(call, FALSE));   // fails, harmlessly
    auto check = [&](auto& map, const char* kind, auto selected, void (*retire)(std::uintptr_t)) -> BOOL {
        auto it = map.find(v);
        if (it == map.end()) {
            Error(std::string("DeleteObject: unknown ") + kind + " " + Hex(v));
            return FALSE;
        }
        auto& obj = it->second;
        if (obj.stock) return TRUE;   // stock objects are never deleted
        if (!obj.alive) {
            Error(std::string("DeleteObject: ") + kind + " " + Hex(v) + " deleted twice");
            return FALSE;
        }
        if (selected(obj)) {
            Error(std::string("DeleteObject: ") + kind + " " + Hex(v) + " is still selected into a DC");
            return FALSE;
        }
        retire(v);
        return TRUE;
    };
    BOOL ok;
    if (InRange(v, kBitmapBase))
        ok = check(M().bitmaps, "bitmap", [](const Bitmap& b) { return b.selectedInto != nullptr; }, RetireBitmap);
    else if (InRange(v, kFontBase))
        ok = check(M().fonts, "font", [](const Font& f) { return f.selections > 0; }, RetireFont);
    else {
        Error("DeleteObject: " + Hex(v) + " is not a GDI object");
        ok = FALSE;
    }
    return static_cast<BOOL>(EndCall(call, ok));
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    std::size_t call = BeginCall("BitBlt", {V(hdc), x, y, cx, cy, V(hdcSrc), x1, y1, static_cast<std::intptr_t>(rop)});
    Dc* dst = FindDc(hdc, "BitBlt");
    Dc* src = FindDc(hdcSrc, "BitBlt");
    if (!dst || !src) return static_cast<BOOL>(EndCall(call, FALSE));
    if (rop != SRCCOPY) {
        Error("BitBlt: raster operation " + Hex(rop) + " is not modelled");
        return static_cast<BOOL>(EndCall(call, FALSE));
    }
    Surface to = SurfaceOf(*dst);
    Surface from = SurfaceOf(*src);
    for (int j = 0; j < cy; ++j) {
        int sy = y1 + j;
        if (sy < 0 || sy >= from.height) continue;
        for (int i = 0; i < cx; ++i) {
            int sx = x1 + i;
            if (sx < 0 || sx >= from.width) continue;   // outside the source: nothing to copy
            std::uint32_t p = from.pixels[static_cast<std::size_t>(sy) * from.width + sx];
            std::uint32_t colour;
            if (from.mono && to.mono)
                colour = p ? 0xFFFFFF : 0x000000;
            else if (from.mono)
                colour = p ? dst->bkColour : dst->textColour;
            else if (to.mono)
                colour = p == src->bkColour ? 0xFFFFFF : 0x000000;
            else
                colour = p;
            PutPixel(to, x + i, y + j, colour);
        }
    }
    return static_cast<BOOL>(EndCall(call, TRUE));
}

HBITMAP WINAPI LoadBitmapA(HINSTANCE hInstance, LPCSTR lpBitmapName)
{
    std::size_t call = BeginCall("LoadBitmapA", {V(hInstance), ResourceNameId(lpBitmapName)},
                                 ResourceNameText(lpBitmapName));
    if (!IsOurModule(hInstance)) {
        if (hInstance == nullptr) Error("LoadBitmapA: the system's own bitmaps are not modelled");
        return nullptr;
    }
    if (!IS_INTRESOURCE(lpBitmapName)) return nullptr;   // the script names its resources by number
    int id = static_cast<int>(ResourceNameId(lpBitmapName));
    if (!FindResource(id, "BITMAP")) return nullptr;
    std::optional<winsim::Dib> dib = winsim::DecodeDib(winsim::ResourceBytes(id, "BITMAP"));
    if (!dib) {
        Error("LoadBitmapA: bitmap resource " + std::to_string(id) + " does not decode");
        return nullptr;
    }
    if (dib->storedTopDown)
        Error("LoadBitmapA: bitmap resource " + std::to_string(id) +
              " is stored top-down; Wine loads such resources as a black bitmap");
    HBITMAP h = NewBitmap(BitmapFromDib(*dib));
    EndCall(call, V(h));
    return h;
}
