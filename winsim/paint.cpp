// paint.cpp: update regions and the paint cycle.
//
// A window's update region is a mask over its client area plus one erase
// flag, as in Windows. InvalidateRect adds to it; BeginPaint takes it: it
// clears the region (the window is valid from then on), has the background
// erased if that was asked for, and returns a DC clipped to what was
// invalid. UpdateWindow sends WM_PAINT straight to the window procedure, and
// only when something is invalid.
#include <algorithm>
#include <iterator>

#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {
namespace detail {

namespace {

// The bounding box of a region mask.
RECT Bounds(const std::vector<std::uint8_t>& mask, int width, int height)
{
    RECT r{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
        auto row = mask.begin() + static_cast<std::ptrdiff_t>(y) * width;
        auto first = std::find(row, row + width, 1);
        if (first == row + width) continue;
        auto last = std::find(std::make_reverse_iterator(row + width), std::make_reverse_iterator(first), 1);
        r.left = std::min<LONG>(r.left, static_cast<LONG>(first - row));
        r.right = std::max<LONG>(r.right, static_cast<LONG>(last.base() - row));
        r.top = std::min<LONG>(r.top, y);
        r.bottom = std::max<LONG>(r.bottom, y + 1);
    }
    if (r.right <= r.left) r = RECT{0, 0, 0, 0};
    return r;
}

}  // namespace

std::uint32_t SystemColour(int index)
{
    switch (index) {
    case COLOR_WINDOW: return 0xFFFFFF;
    case COLOR_BTNFACE: return 0xC0C0C0;
    default: return 0x000000;
    }
}

// Windows keeps no update region for a hidden window: showing it
// invalidates everything anyway.
void Invalidate(Window& w, const RECT* rect, bool erase)
{
    if (!w.visible) return;
    RECT r = rect ? *rect : RECT{0, 0, w.Width(), w.Height()};
    LONG left = std::max<LONG>(r.left, 0), top = std::max<LONG>(r.top, 0);
    LONG right = std::min<LONG>(r.right, w.Width()), bottom = std::min<LONG>(r.bottom, w.Height());
    if (left >= right || top >= bottom) return;
    for (LONG y = top; y < bottom; ++y)
        std::fill_n(w.invalid.begin() + static_cast<std::ptrdiff_t>(y) * w.Width() + left, right - left, 1);
    w.anyInvalid = true;
    if (erase) w.erase = true;
}

bool HasInvalid(const Window& w)
{
    return w.anyInvalid;
}

Window* FirstWindowToPaint()
{
    for (auto& [value, w] : M().windows)
        if (w.alive && w.visible && HasInvalid(w)) return &w;
    return nullptr;
}

HDC BeginPaintOn(Window& w, PAINTSTRUCT* ps)
{
    HWND hwnd = w.handle;
    std::vector<std::uint8_t> region = w.invalid;
    bool erase = w.erase;
    std::fill(w.invalid.begin(), w.invalid.end(), 0);
    w.anyInvalid = false;
    w.erase = false;
    RECT box = Bounds(region, w.Width(), w.Height());
    HDC hdc = NewDc(DcKind::Paint, hwnd, std::move(region));
    // The class brush fills the region through the paint DC, so only what
    // was invalid is erased. A procedure that erases nothing and returns 0
    // leaves fErase set for the program to do it.
    bool stillToErase = erase && Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0;
    if (ps) {
        *ps = PAINTSTRUCT{};
        ps->hdc = hdc;
        ps->fErase = stillToErase ? TRUE : FALSE;
        ps->rcPaint = box;
    }
    return hdc;
}

BOOL EndPaintOn(HWND hwnd, const PAINTSTRUCT* ps)
{
    if (ps == nullptr) return FALSE;
    Dc* dc = FindDc(ps->hdc, "EndPaint");
    if (!dc) return FALSE;
    if (dc->kind != DcKind::Paint || dc->hwnd != hwnd) {
        Error("EndPaint: " + Hex(Value(ps->hdc)) + " is not this window's paint DC");
        return FALSE;
    }
    return ReleaseWindowDc(ps->hdc, "EndPaint");
}

void ErasePending(Window& w)
{
    if (!w.erase) return;
    w.erase = false;
    HWND hwnd = w.handle;
    HDC hdc = NewDc(DcKind::Paint, hwnd, w.invalid);
    Send(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0);
    ReleaseWindowDc(hdc, "WM_PAINT erase");
}

}  // namespace detail

bool AnythingInvalid()
{
    Window* w = FindWindow(M().main);
    return w && HasInvalid(*w);
}

bool IsInvalid(int x, int y)
{
    Window* w = FindWindow(M().main);
    if (!w || x < 0 || y < 0 || x >= w->Width() || y >= w->Height()) return false;
    return w->invalid[static_cast<std::size_t>(y) * w->Width() + x] != 0;
}

}  // namespace winsim

BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase)
{
    std::vector<std::intptr_t> args{static_cast<std::intptr_t>(Value(hWnd))};
    if (lpRect)
        args.insert(args.end(), {lpRect->left, lpRect->top, lpRect->right, lpRect->bottom});
    else
        args.push_back(0);
    args.push_back(bErase);
    std::size_t call = BeginCall("InvalidateRect", std::move(args), std::string());
    if (hWnd == nullptr) {
        // A null window means every window.
        for (auto& [value, w] : M().windows)
            if (w.alive) Invalidate(w, lpRect, bErase != FALSE);
        return static_cast<BOOL>(EndCall(call, TRUE));
    }
    Window* w = FindWindow(hWnd);
    if (!w) return static_cast<BOOL>(EndCall(call, FALSE));
    Invalidate(*w, lpRect, bErase != FALSE);
    return static_cast<BOOL>(EndCall(call, TRUE));
}

BOOL WINAPI UpdateWindow(HWND hWnd)
{
    std::size_t call = BeginCall("UpdateWindow", {static_cast<std::intptr_t>(Value(hWnd))});
    Window* w = FindWindow(hWnd);
    if (!w) return static_cast<BOOL>(EndCall(call, FALSE));
    if (w->visible && HasInvalid(*w)) {
        Send(hWnd, WM_PAINT, 0, 0);
        if (Window* still = FindWindow(hWnd)) ErasePending(*still);
    }
    return static_cast<BOOL>(EndCall(call, TRUE));
}

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint)
{
    std::size_t call = BeginCall("BeginPaint", {static_cast<std::intptr_t>(Value(hWnd))});
    Window* w = FindWindow(hWnd);
    if (!w) return nullptr;
    HDC hdc = BeginPaintOn(*w, lpPaint);
    EndCall(call, static_cast<std::intptr_t>(Value(hdc)));
    return hdc;
}

BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint)
{
    std::size_t call = BeginCall("EndPaint", {static_cast<std::intptr_t>(Value(hWnd)),
                                              static_cast<std::intptr_t>(lpPaint ? Value(lpPaint->hdc) : 0)});
    return static_cast<BOOL>(EndCall(call, EndPaintOn(hWnd, lpPaint)));
}
