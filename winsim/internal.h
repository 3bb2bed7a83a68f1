// internal.h: the simulated machine's state, shared by the stand-in's files.
// Nothing here is seen by the game or by tests; they use win32.h and winsim.h.
#ifndef WINSIM_INTERNAL_H
#define WINSIM_INTERNAL_H

#include <cstdint>
#include <deque>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "winsim/winsim.h"

namespace winsim {
namespace detail {

constexpr std::uint64_t kForever = ~std::uint64_t{0};

// ---- handle values ------------------------------------------------------------
// Each kind has its own range, so a log reads at a glance and a handle of the
// wrong kind is caught.
constexpr std::uintptr_t kModuleHandle = 0x00400000;
constexpr std::uintptr_t kWindowBase = 0x00010000;
constexpr std::uintptr_t kDcBase = 0x00020000;
constexpr std::uintptr_t kBitmapBase = 0x00030000;
constexpr std::uintptr_t kFontBase = 0x00040000;
constexpr std::uintptr_t kIconBase = 0x00050000;
constexpr std::uintptr_t kBoxBase = 0x00060000;
constexpr std::uintptr_t kHandleRange = 0x00010000;
constexpr std::uintptr_t kStockBitmap = kBitmapBase;   // the 1x1 monochrome bitmap of a new memory DC
constexpr std::uintptr_t kStockFont = kFontBase;       // the system font every new DC starts with

template <typename H>
std::uintptr_t Value(H h) { return reinterpret_cast<std::uintptr_t>(h); }
template <typename H>
H MakeHandle(std::uintptr_t v) { return reinterpret_cast<H>(v); }
bool InRange(std::uintptr_t v, std::uintptr_t base);

// Handle values are handed out in turn through their kind's range and start
// again at its beginning, skipping values still taken, as Windows reuses the
// values of freed handles; a program that runs for hours never runs out.
std::uintptr_t AllocateHandle(std::uintptr_t& next, std::uintptr_t base,
                              const std::function<bool(std::uintptr_t)>& taken);
// A freed DC, bitmap or font stays known for a while, so that a second
// release or a use after the free is reported as such; the oldest are then
// forgotten, so the machine does not grow with every GetDC.
constexpr std::size_t kRememberedDead = 256;

// Structures the system hands to a window procedure through lParam during
// creation and positioning. The game never reads them.
struct CreateStruct {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy, cx, y, x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};
struct MinMaxInfo {
    POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
struct WindowPos {
    HWND hwnd, hwndInsertAfter;
    int x, y, cx, cy;
    UINT flags;
};
struct NcCalcSizeParams {
    RECT rgrc[3];
    WindowPos* lppos;
};
constexpr UINT kSwpNoSize = 0x0001, kSwpNoMove = 0x0002, kSwpNoZOrder = 0x0004,
               kSwpShowWindow = 0x0040, kSwpHideWindow = 0x0080, kSwpNoActivate = 0x0010;

// ---- windows -------------------------------------------------------------------
struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    WindowClass cls;
    DWORD style = 0;
    RECT rect{};                  // outer rectangle, screen coordinates
    POINT clientOrigin{};         // screen position of client (0, 0)
    bool alive = true;
    bool destroying = false;
    bool visible = false;
    bool enabled = true;
    bool sizeSent = false;        // WM_SIZE/WM_MOVE of the first showing
    std::vector<std::uint8_t> invalid;   // update region: one byte per client pixel
    bool anyInvalid = false;             // the update region is not empty (it is only ever emptied whole)
    bool erase = false;                  // the update region asks for erasing
    Picture pixels;                      // the client area's surface
    int Width() const { return pixels.width; }
    int Height() const { return pixels.height; }
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    TIMERPROC proc;
    std::uint64_t due;
};

// ---- scripted input --------------------------------------------------------------
struct ScriptItem {
    std::uint64_t at;
    std::function<void()> call;      // set for ScheduleCall
    std::vector<MSG> input;          // messages still to deliver, first at front
};

// ---- GDI -----------------------------------------------------------------------------
struct Bitmap {
    int width = 0, height = 0;
    bool mono = false;
    std::vector<std::uint32_t> pixels;   // 0x00RRGGBB for a colour bitmap, 0 or 1 for monochrome
    HDC selectedInto = nullptr;
    bool alive = true;
    bool stock = false;
};

struct Font {
    std::int32_t height = 0;
    DWORD charSet = 0;
    LONG weight = 0;
    std::string face;
    bool alive = true;
    bool stock = false;
    int selections = 0;            // DCs it is selected into (a font may be in several)
};

enum class DcKind { Window, Paint, Memory };

struct Dc {
    DcKind kind = DcKind::Memory;
    HWND hwnd = nullptr;              // window and paint DCs
    HBITMAP bitmap = nullptr;         // memory DCs
    HFONT font = nullptr;
    std::vector<std::uint8_t> clip;   // paint DCs: the region being painted
    std::uint32_t textColour = 0x000000;
    std::uint32_t bkColour = 0xFFFFFF;
    bool alive = true;
};

struct TextMetricsConfig {
    LONG height = 12, externalLeading = 0, charWidth = 6;
};

// ---- the machine ---------------------------------------------------------------------
struct Machine {
    std::uint64_t now = 0;
    std::map<int, int> metrics;
    TextMetricsConfig textMetrics;

    std::vector<WindowClass> classes;
    std::map<std::uintptr_t, Window> windows;
    HWND main = nullptr;          // the program's window while it lives
    HWND screenWindow = nullptr;  // the window Screen() shows, kept after destruction
    HWND active = nullptr;
    std::uintptr_t nextWindow = kWindowBase + 0x10;
    std::uintptr_t nextBox = kBoxBase + 0x10;

    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitPostedCode = 0;
    bool quitReceived = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    std::vector<ScriptItem> script;   // sorted by time, stable
    std::function<void(const MSG&)> afterDispatch;
    POINT cursor{};

    std::map<std::uintptr_t, Dc> dcs;
    std::map<std::uintptr_t, Bitmap> bitmaps;
    std::map<std::uintptr_t, Font> fonts;
    std::deque<std::uintptr_t> deadDcs, deadBitmaps, deadFonts;   // oldest first
    std::map<std::string, HICON> sharedIcons;   // icons and cursors, one handle per resource
    std::uintptr_t nextDc = kDcBase + 0x10;
    std::uintptr_t nextBitmap = kBitmapBase + 0x10;
    std::uintptr_t nextFont = kFontBase + 0x10;
    std::uintptr_t nextIcon = kIconBase + 0x10;

    std::function<int(const MessageBoxCall&)> responder;
    DWORD boxHoldTime = 1000;
    std::vector<MessageBoxCall> boxes;
    std::uint64_t boxesCleared = 0;   // ClearMessageBoxes() calls, so a box still up knows

    std::vector<Call> log;
    bool logging = true;
    std::function<void(const Call&)> callHook;
    bool inCallHook = false;
    std::vector<std::string> errors;
    int depth = 0;
};
Machine& M();

// ---- log.cpp ---------------------------------------------------------------------------
// Appends a call before it runs (so what it causes comes after it) and gives
// its index for the result.
std::size_t BeginCall(const char* name, std::initializer_list<std::intptr_t> args,
                      std::string text = std::string());
std::size_t BeginCall(const char* name, std::vector<std::intptr_t> args, std::string text);
std::intptr_t EndCall(std::size_t index, std::intptr_t result);
void Error(const std::string& what);
std::string Hex(std::uintptr_t v);
std::string JoinStrings(const std::string& a, const std::string& b);
std::string ResourceNameText(LPCSTR name);
std::intptr_t ResourceNameId(LPCSTR name);

// ---- window.cpp ------------------------------------------------------------------------
Window* FindWindow(HWND hwnd);           // alive windows only
Window* FindAnyWindow(HWND hwnd);        // dead ones too
LRESULT CallWindowProc(Window& w, UINT msg, WPARAM wp, LPARAM lp);
LRESULT Send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
BOOL Destroy(HWND hwnd);
BOOL Enable(HWND hwnd, BOOL enable);
void Activate(HWND hwnd, HWND other);      // moves activation to hwnd (may be null)
void Deactivate(HWND hwnd, HWND other);
int Metric(int index);

// ---- queue.cpp -------------------------------------------------------------------------
enum class Take { Message, Timeout, Blocked };
// Takes the next message as GetMessage orders them, letting the clock run to
// `deadline` at most while nothing is pending.
Take TakeMessage(MSG* msg, std::uint64_t deadline);
LRESULT Dispatch(const MSG& msg);
void KillWindowTimers(HWND hwnd);
void DropPostedFor(HWND hwnd);

// ---- paint.cpp -------------------------------------------------------------------------
void Invalidate(Window& w, const RECT* rect, bool erase);
bool HasInvalid(const Window& w);
Window* FirstWindowToPaint();
HDC BeginPaintOn(Window& w, PAINTSTRUCT* ps);
BOOL EndPaintOn(HWND hwnd, const PAINTSTRUCT* ps);
void ErasePending(Window& w);   // sends WM_ERASEBKGND if the update region still asks for it
std::uint32_t SystemColour(int index);

// ---- gdi.cpp ---------------------------------------------------------------------------
Dc* FindDc(HDC hdc, const char* caller);          // records misuse for dead or unknown handles
HDC NewDc(DcKind kind, HWND hwnd, std::vector<std::uint8_t> clip);
BOOL ReleaseWindowDc(HDC hdc, const char* caller);
// What a DC draws on, resolved once per drawing call: the window's client
// pixels (nothing while the window is hidden) or the selected bitmap.
struct Surface {
    std::uint32_t* pixels = nullptr;
    int width = 0, height = 0;
    bool mono = false;
    const std::uint8_t* clip = nullptr;   // paint DCs: only these pixels may change
};
Surface SurfaceOf(const Dc& dc);
// Puts one pixel: clipped to the surface and its paint region; a colour put
// on a monochrome bitmap becomes its nearer of black (0) and white (1).
void PutPixel(const Surface& s, int x, int y, std::uint32_t colour);
void FillClient(Dc& dc, std::uint32_t colour);
HBITMAP NewBitmap(Bitmap bm);
// Marks a DC, bitmap or font dead, frees what it held and forgets the
// oldest of the remembered dead ones of its kind.
void RetireDc(HDC hdc);
void RetireBitmap(std::uintptr_t v);
void RetireFont(std::uintptr_t v);

// ---- text.cpp --------------------------------------------------------------------------
TEXTMETRICA MetricsOf(const Font& font);
LONG CharWidthOf(const Font& font);

// ---- resources.cpp ---------------------------------------------------------------------
struct ResourceEntry {
    int id;
    std::string type;   // upper case: BITMAP, ICON, CURSOR, WAVE, ...
    std::string path;   // absolute
};
const ResourceEntry* FindResource(int id, const std::string& type);
bool IsOurModule(HINSTANCE h);

}  // namespace detail
}  // namespace winsim

#endif
