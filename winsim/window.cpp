// window.cpp: window classes, top-level windows and what the system sends
// them while they are created, shown, activated, disabled and destroyed.
//
// The message sequences follow what Windows sends a top-level overlapped
// window (as Wine's user32 tests record them), reduced to the messages whose
// default handling matters here:
//   creation:     WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE
//   first show:   WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP,
//                 WM_NCACTIVATE, WM_ACTIVATE, WM_WINDOWPOSCHANGED (whose
//                 default handling sends WM_SIZE and WM_MOVE)
//   destruction:  (if visible) WM_WINDOWPOSCHANGING, WM_WINDOWPOSCHANGED,
//                 (if active) WM_NCACTIVATE, WM_ACTIVATE, WM_ACTIVATEAPP,
//                 then WM_DESTROY, WM_NCDESTROY
// Not modelled: focus messages, WM_NCPAINT, hooks. Windows may erase the
// background while ShowWindow runs; here the erase waits for BeginPaint,
// which gives the same pixels before the first paint.
#include <algorithm>
#include <cctype>

#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {
namespace detail {

namespace {

constexpr int kThreadId = 1;

bool SameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

const WindowClass* FindClass(LPCSTR name)
{
    for (const WindowClass& c : M().classes) {
        if (IS_INTRESOURCE(name) ? c.atom == static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name))
                                 : SameName(c.name, name))
            return &c;
    }
    return nullptr;
}

std::string ClassText(LPCSTR name)
{
    if (name == nullptr) return std::string();
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(name));
    return name;
}

// The frame around the client area that a style asks for.
struct Frame {
    int left, top, right, bottom;
};

Frame FrameOf(DWORD style)
{
    int cx = 0, cy = 0;
    if (style & WS_THICKFRAME) {
        cx = Metric(SM_CXFRAME);
        cy = Metric(SM_CYFRAME);
    } else if ((style & WS_DLGFRAME) != 0) {
        cx = Metric(SM_CXDLGFRAME);
        cy = Metric(SM_CYDLGFRAME);
    } else if (style & WS_BORDER) {
        cx = Metric(SM_CXBORDER);
        cy = Metric(SM_CYBORDER);
    }
    int caption = (style & WS_CAPTION) == WS_CAPTION ? Metric(SM_CYCAPTION) : 0;
    return Frame{cx, cy + caption, cx, cy};
}

// The system sends these with a structure of its own behind lParam.
void SendPositionChange(Window& w, UINT flags)
{
    WindowPos pos{w.handle, nullptr, static_cast<int>(w.rect.left), static_cast<int>(w.rect.top),
                  static_cast<int>(w.rect.right - w.rect.left), static_cast<int>(w.rect.bottom - w.rect.top),
                  flags};
    LPARAM lp = reinterpret_cast<LPARAM>(&pos);
    Send(w.handle, WM_WINDOWPOSCHANGING, 0, lp);
    if (flags & kSwpShowWindow) w.visible = true;
    if (flags & kSwpHideWindow) w.visible = false;
    if (flags & kSwpShowWindow) {
        // A window that appears has all of its client area to paint.
        Invalidate(w, nullptr, true);
        Activate(w.handle, nullptr);
    }
    if (FindWindow(w.handle)) Send(w.handle, WM_WINDOWPOSCHANGED, 0, lp);
}

}  // namespace

int Metric(int index)
{
    auto it = M().metrics.find(index);
    if (it != M().metrics.end()) return it->second;
    switch (index) {
    case SM_CXSCREEN: return 1024;
    case SM_CYSCREEN: return 768;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER: return 1;
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME: return 3;
    case SM_CYDLGFRAME: return 3;
    case SM_CXFRAME: return 4;
    case SM_CYFRAME: return 4;
    case SM_CXMAXIMIZED: return 1032;
    case SM_CYMAXIMIZED: return 776;
    default: return 0;
    }
}

Window* FindAnyWindow(HWND hwnd)
{
    auto it = M().windows.find(Value(hwnd));
    return it == M().windows.end() ? nullptr : &it->second;
}

Window* FindWindow(HWND hwnd)
{
    Window* w = FindAnyWindow(hwnd);
    return w && w->alive ? w : nullptr;
}

LRESULT CallWindowProc(Window& w, UINT msg, WPARAM wp, LPARAM lp)
{
    HWND hwnd = w.handle;
    WNDPROC proc = w.cls.proc;
    std::size_t call = BeginCall("WndProc", {static_cast<std::intptr_t>(msg), static_cast<std::intptr_t>(wp), lp});
    ++M().depth;
    LRESULT result = proc(hwnd, msg, wp, lp);   // may destroy w: don't touch it after this
    --M().depth;
    return EndCall(call, result);
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    Window* w = FindWindow(hwnd);
    return w ? CallWindowProc(*w, msg, wp, lp) : 0;
}

void Activate(HWND hwnd, HWND other)
{
    if (M().active == hwnd || !FindWindow(hwnd)) return;
    M().active = hwnd;
    // Coming back from another window of this thread, the application was active all along.
    if (other == nullptr) Send(hwnd, WM_ACTIVATEAPP, TRUE, kThreadId);
    Send(hwnd, WM_NCACTIVATE, TRUE, 0);
    Send(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(other));
}

void Deactivate(HWND hwnd, HWND other)
{
    if (M().active != hwnd || hwnd == nullptr) return;
    M().active = nullptr;
    Send(hwnd, WM_NCACTIVATE, FALSE, 0);
    Send(hwnd, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(other));
    // Another window of this thread taking over keeps the application active.
    if (other == nullptr) Send(hwnd, WM_ACTIVATEAPP, FALSE, kThreadId);
}

BOOL Enable(HWND hwnd, BOOL enable)
{
    Window* w = FindWindow(hwnd);
    if (!w) return FALSE;
    BOOL wasDisabled = !w->enabled;
    bool want = enable != FALSE;
    if (w->enabled == want) return wasDisabled;
    if (!want) Send(hwnd, WM_CANCELMODE, 0, 0);
    w = FindWindow(hwnd);
    if (!w) return wasDisabled;
    w->enabled = want;
    Send(hwnd, WM_ENABLE, want ? TRUE : FALSE, 0);
    return wasDisabled;
}

BOOL Destroy(HWND hwnd)
{
    Window* w = FindWindow(hwnd);
    if (!w || w->destroying) return FALSE;
    w->destroying = true;
    if (w->visible) SendPositionChange(*w, kSwpHideWindow | kSwpNoSize | kSwpNoMove | kSwpNoZOrder | kSwpNoActivate);
    Deactivate(hwnd, nullptr);
    Send(hwnd, WM_DESTROY, 0, 0);
    // The window's timers end with it and its posted messages go with it.
    KillWindowTimers(hwnd);
    DropPostedFor(hwnd);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    w = FindAnyWindow(hwnd);
    w->alive = false;
    w->visible = false;
    std::fill(w->invalid.begin(), w->invalid.end(), 0);
    w->anyInvalid = false;
    w->erase = false;
    if (M().main == hwnd) M().main = nullptr;
    return TRUE;
}

}  // namespace detail

// ---- test side -------------------------------------------------------------------

void SetSystemMetric(int index, int value) { M().metrics[index] = value; }

HWND MainWindow() { return M().main; }

bool WindowEnabled()
{
    Window* w = FindWindow(M().main);
    return w && w->enabled;
}

RECT WindowRectangle()
{
    Window* w = FindWindow(M().main);
    return w ? w->rect : RECT{0, 0, 0, 0};
}

SIZE ClientSize()
{
    Window* w = FindWindow(M().main);
    return w ? SIZE{w->Width(), w->Height()} : SIZE{0, 0};
}

}  // namespace winsim

// ---- USER32 ------------------------------------------------------------------------

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc)
{
    if (wc == nullptr) {
        BeginCall("RegisterClassExA", {0});
        return 0;
    }
    std::size_t call = BeginCall(
        "RegisterClassExA",
        {static_cast<std::intptr_t>(wc->cbSize), static_cast<std::intptr_t>(wc->style),
         reinterpret_cast<std::intptr_t>(wc->lpfnWndProc), wc->cbClsExtra, wc->cbWndExtra,
         static_cast<std::intptr_t>(Value(wc->hInstance)), static_cast<std::intptr_t>(Value(wc->hIcon)),
         static_cast<std::intptr_t>(Value(wc->hCursor)), static_cast<std::intptr_t>(Value(wc->hbrBackground)),
         static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(wc->lpszMenuName)),
         static_cast<std::intptr_t>(Value(wc->hIconSm))},
        ClassText(wc->lpszClassName));
    // Windows refuses a structure whose size field is wrong, a class without a
    // procedure or name, and a second class of the same name.
    if (wc->cbSize != sizeof(WNDCLASSEXA) || wc->lpfnWndProc == nullptr || wc->lpszClassName == nullptr ||
        IS_INTRESOURCE(wc->lpszClassName) || FindClass(wc->lpszClassName) != nullptr)
        return static_cast<ATOM>(EndCall(call, 0));
    WindowClass c;
    c.name = wc->lpszClassName;
    c.atom = static_cast<ATOM>(0xC000 + M().classes.size());
    c.style = wc->style;
    c.proc = wc->lpfnWndProc;
    c.instance = wc->hInstance;
    c.background = wc->hbrBackground;
    M().classes.push_back(c);
    return static_cast<ATOM>(EndCall(call, c.atom));
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam)
{
    std::size_t call = BeginCall(
        "CreateWindowExA",
        {static_cast<std::intptr_t>(dwExStyle), static_cast<std::intptr_t>(dwStyle), x, y, nWidth, nHeight,
         static_cast<std::intptr_t>(Value(hWndParent)), static_cast<std::intptr_t>(Value(hMenu)),
         static_cast<std::intptr_t>(Value(hInstance)), static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(lpParam))},
        JoinStrings(ClassText(lpClassName), lpWindowName ? lpWindowName : ""));
    auto fail = [call]() -> HWND {
        EndCall(call, 0);
        return nullptr;
    };
    const WindowClass* cls = FindClass(lpClassName);
    if (cls == nullptr) return fail();
    if (hWndParent != nullptr || (dwStyle & (WS_CHILD | WS_POPUP)) || (dwStyle & WS_VISIBLE) ||
        x == CW_USEDEFAULT || nWidth == CW_USEDEFAULT) {
        Error("CreateWindowExA: only hidden top-level overlapped windows at a given place are modelled");
        return fail();
    }

    HWND hwnd = MakeHandle<HWND>(M().nextWindow);
    M().nextWindow += 4;
    Window w;
    w.handle = hwnd;
    w.cls = *cls;
    w.style = dwStyle;
    w.rect = RECT{x, y, x + nWidth, y + nHeight};
    Frame f = FrameOf(dwStyle);
    w.clientOrigin = POINT{x + f.left, y + f.top};
    int cw = std::max(0, nWidth - f.left - f.right);
    int ch = std::max(0, nHeight - f.top - f.bottom);
    w.pixels.width = cw;
    w.pixels.height = ch;
    w.pixels.pixels.assign(static_cast<std::size_t>(cw) * ch, winsim::kSentinel);
    w.invalid.assign(static_cast<std::size_t>(cw) * ch, 0);
    M().windows[Value(hwnd)] = std::move(w);
    if (M().main == nullptr) M().main = M().screenWindow = hwnd;

    CreateStruct cs{lpParam, hInstance, hMenu, hWndParent, nHeight, nWidth, y, x,
                    static_cast<LONG>(dwStyle), lpWindowName, lpClassName, dwExStyle};
    MinMaxInfo mmi{};
    mmi.ptMaxSize = POINT{Metric(SM_CXMAXIMIZED), Metric(SM_CYMAXIMIZED)};
    mmi.ptMaxTrackSize = mmi.ptMaxSize;
    Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        // Refused before it existed: only WM_NCDESTROY follows.
        Send(hwnd, WM_NCDESTROY, 0, 0);
        Window* dead = FindAnyWindow(hwnd);
        dead->alive = false;
        if (M().main == hwnd) M().main = nullptr;
        return fail();
    }
    Window* created = FindWindow(hwnd);
    if (created) {
        RECT r = created->rect;
        NcCalcSizeParams ncp{{r, r, r}, nullptr};
        Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&ncp.rgrc[0]));
    }
    if (!FindWindow(hwnd) || Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        Destroy(hwnd);
        return fail();
    }
    if (!FindWindow(hwnd)) return fail();
    return MakeHandle<HWND>(static_cast<std::uintptr_t>(EndCall(call, static_cast<std::intptr_t>(Value(hwnd)))));
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow)
{
    std::size_t call = BeginCall("ShowWindow", {static_cast<std::intptr_t>(Value(hWnd)), nCmdShow});
    Window* w = FindWindow(hWnd);
    if (!w) return static_cast<BOOL>(EndCall(call, FALSE));
    BOOL wasVisible = w->visible ? TRUE : FALSE;
    bool show;
    switch (nCmdShow) {
    case SW_HIDE: show = false; break;
    case SW_SHOWNORMAL:
    case SW_SHOW:
    case SW_SHOWDEFAULT: show = true; break;
    default:
        Error("ShowWindow: show command " + std::to_string(nCmdShow) + " is not modelled");
        return static_cast<BOOL>(EndCall(call, wasVisible));
    }
    if (show == w->visible) return static_cast<BOOL>(EndCall(call, wasVisible));
    Send(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    if ((w = FindWindow(hWnd)) == nullptr) return static_cast<BOOL>(EndCall(call, wasVisible));
    if (show)
        SendPositionChange(*w, kSwpShowWindow | kSwpNoZOrder | (w->sizeSent ? kSwpNoSize | kSwpNoMove : 0));
    else {
        SendPositionChange(*w, kSwpHideWindow | kSwpNoSize | kSwpNoMove | kSwpNoZOrder | kSwpNoActivate);
        Deactivate(hWnd, nullptr);
    }
    return static_cast<BOOL>(EndCall(call, wasVisible));
}

BOOL WINAPI DestroyWindow(HWND hWnd)
{
    std::size_t call = BeginCall("DestroyWindow", {static_cast<std::intptr_t>(Value(hWnd))});
    return static_cast<BOOL>(EndCall(call, Destroy(hWnd)));
}

BOOL WINAPI IsWindow(HWND hWnd)
{
    std::size_t call = BeginCall("IsWindow", {static_cast<std::intptr_t>(Value(hWnd))});
    return static_cast<BOOL>(EndCall(call, FindWindow(hWnd) ? TRUE : FALSE));
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable)
{
    std::size_t call = BeginCall("EnableWindow", {static_cast<std::intptr_t>(Value(hWnd)), bEnable});
    return static_cast<BOOL>(EndCall(call, Enable(hWnd, bEnable)));
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect)
{
    std::size_t call = BeginCall("GetClientRect", {static_cast<std::intptr_t>(Value(hWnd))});
    Window* w = FindWindow(hWnd);
    if (!w || lpRect == nullptr) return static_cast<BOOL>(EndCall(call, FALSE));
    *lpRect = RECT{0, 0, w->Width(), w->Height()};
    return static_cast<BOOL>(EndCall(call, TRUE));
}

int WINAPI GetSystemMetrics(int nIndex)
{
    std::size_t call = BeginCall("GetSystemMetrics", {nIndex});
    return static_cast<int>(EndCall(call, Metric(nIndex)));
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    std::size_t call = BeginCall("SendMessageA", {static_cast<std::intptr_t>(Value(hWnd)),
                                                  static_cast<std::intptr_t>(Msg),
                                                  static_cast<std::intptr_t>(wParam), lParam});
    return EndCall(call, Send(hWnd, Msg, wParam, lParam));
}

// The default handling of the messages that matter to a top-level window.
LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    std::size_t call = BeginCall("DefWindowProcA", {static_cast<std::intptr_t>(Value(hWnd)),
                                                    static_cast<std::intptr_t>(Msg),
                                                    static_cast<std::intptr_t>(wParam), lParam});
    Window* w = FindWindow(hWnd);
    if (!w) return EndCall(call, 0);
    LRESULT result = 0;
    switch (Msg) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
        result = TRUE;
        break;
    case WM_CLOSE:
        Destroy(hWnd);
        break;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) Send(hWnd, WM_CLOSE, 0, 0);
        break;
    case WM_ERASEBKGND: {
        HBRUSH brush = w->cls.background;
        if (brush == nullptr) break;
        std::uintptr_t v = Value(brush);
        if (v == 0 || v > 31) {
            Error("DefWindowProcA(WM_ERASEBKGND): only system colour brushes are modelled");
            break;
        }
        Dc* dc = FindDc(reinterpret_cast<HDC>(wParam), "DefWindowProcA(WM_ERASEBKGND)");
        if (!dc) break;
        FillClient(*dc, SystemColour(static_cast<int>(v) - 1));
        result = 1;
        break;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaintOn(*w, &ps);
        EndPaintOn(hWnd, &ps);
        break;
    }
    case WM_WINDOWPOSCHANGED: {
        const WindowPos* pos = reinterpret_cast<const WindowPos*>(lParam);
        if (pos && (pos->flags & kSwpShowWindow) && !w->sizeSent) {
            w->sizeSent = true;
            int cw = w->Width(), ch = w->Height();
            LONG ox = w->clientOrigin.x, oy = w->clientOrigin.y;
            Send(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(cw, ch));
            Send(hWnd, WM_MOVE, 0, MAKELPARAM(ox, oy));
        }
        break;
    }
    default:
        break;
    }
    return EndCall(call, result);
}
