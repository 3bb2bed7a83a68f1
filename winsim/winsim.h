// winsim.h: the test side of the Win32 stand-in. Tests configure the
// simulated machine, script input and answers, run the message loop on the
// virtual clock and look at the call log, the screen and the GDI accounting.
//
// The program side (the Win32 names the game calls) is winsim/win32.h.
#ifndef WINSIM_WINSIM_H
#define WINSIM_WINSIM_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "winsim/win32.h"

namespace winsim {

// ---- the machine as a whole -------------------------------------------------
// Switches the simulated machine off and on again: no window, class, timer,
// queued message, scripted input, GDI object, box, log entry or error is
// left, the clock is at 0 and every setting (metrics, text metrics, hold
// time, responder, hooks, logging) is back at its default. The resource
// directory stays. The program's own globals are not the machine's: whoever
// runs the program again restores them.
void Reset();

// How much the machine holds, dead objects that it still remembers included,
// so that a long run can show that nothing grows.
struct Footprint {
    std::size_t windows = 0, classes = 0, timers = 0, posted = 0, scripted = 0;
    std::size_t dcs = 0, bitmaps = 0, fonts = 0, icons = 0;
    std::size_t log = 0, boxes = 0, errors = 0;
    std::size_t heldBytes = 0;   // pixels of bitmaps and paint regions of DCs
    bool operator==(const Footprint& o) const
    {
        return windows == o.windows && classes == o.classes && timers == o.timers && posted == o.posted &&
               scripted == o.scripted && dcs == o.dcs && bitmaps == o.bitmaps && fonts == o.fonts &&
               icons == o.icons && log == o.log && boxes == o.boxes && errors == o.errors &&
               heldBytes == o.heldBytes;
    }
};
Footprint MachineFootprint();

// ---- the virtual clock ----------------------------------------------------
DWORD Now();                          // what GetTickCount returns
void SetClock(DWORD ms);              // before the program starts

// ---- configuration (before the program creates its window) ----------------
void SetSystemMetric(int index, int value);        // SM_CYCAPTION and friends
void SetTextMetrics(LONG tmHeight, LONG tmExternalLeading, LONG charWidth);
HINSTANCE ModuleHandle();             // the module whose resources are res/

// ---- scripted input and test hooks ----------------------------------------
// Each is delivered when the thread next takes messages at or after `at`
// (virtual ms), in the order scheduled; input to a disabled window is dropped.
void ScheduleClick(DWORD at, int x, int y);       // WM_LBUTTONDOWN, WM_LBUTTONUP
void ScheduleCloseRequest(DWORD at);              // the caption's close button
void ScheduleCall(DWORD at, std::function<void()> fn);  // runs from the loop

// Called after every DispatchMessageA returns, nested ones included.
void SetAfterDispatchHook(std::function<void(const MSG&)> hook);

// Runs GetMessageA / TranslateMessage / DispatchMessageA, as a program's loop
// does, until the clock reaches `until` or WM_QUIT is taken. Returns false
// when the loop ended on WM_QUIT.
bool RunUntil(DWORD until);
bool QuitReceived();
int QuitCode();

// ---- message boxes ---------------------------------------------------------
struct MessageBoxCall {
    HWND owner;
    std::string text;      // the bytes as given
    std::string caption;
    UINT flags;
    DWORD shownAt;         // virtual time when the box came up
    int answer;            // what the box returned
};
// The responder is asked once the box has been up for the hold time (its
// nested loop dispatching whatever arrives meanwhile) and gives the answer;
// it may look at Screen() and the game's state. Default: IDOK, or IDNO for
// MB_YESNO.
void SetMessageBoxResponder(std::function<int(const MessageBoxCall&)> responder);
void SetMessageBoxHoldTime(DWORD ms);            // default 1000
const std::vector<MessageBoxCall>& MessageBoxes();
void ClearMessageBoxes();   // a box still up then records nothing at its end

// ---- the window -----------------------------------------------------------
HWND MainWindow();                    // null before creation and after destruction
bool WindowEnabled();
RECT WindowRectangle();               // outer rectangle given to CreateWindowExA
SIZE ClientSize();
bool AnythingInvalid();
bool IsInvalid(int x, int y);

// ---- the screen: the client area's pixels ---------------------------------
constexpr std::uint32_t kSentinel = 0x00AA55AA;   // never drawn by anything
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;            // 0x00RRGGBB, rows top-down
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};
const Picture& Screen();

// ---- GDI accounting --------------------------------------------------------
struct GdiCounts {
    int windowDCs = 0;    // from GetDC and BeginPaint, not yet released
    int memoryDCs = 0;
    int bitmaps = 0;
    int fonts = 0;
};
GdiCounts LiveObjects();
// Misuse and impossible situations: a selected object deleted, a handle
// deleted or released twice, a dead handle used, a loop that would block
// forever, a sound with no WAVE resource. A test fails on any.
const std::vector<std::string>& Errors();

// ---- the call log ----------------------------------------------------------
struct Call {
    std::string name;                 // "BitBlt", "WndProc", "DefWindowProcA", ...
    std::vector<std::intptr_t> args;  // in the API's order; handles as values
    std::string text;                 // string arguments, bytes as given
    std::intptr_t result = 0;
    int depth = 0;                    // WndProc nesting level when it was made
};
const std::vector<Call>& Log();
void ClearLog();
// With logging off nothing is added to Log() (the call hook still sees every
// call): for long runs and benchmarks. On by default.
void SetLogging(bool on);
// Called after each call is logged: lets a test look at the screen in the
// middle of a handler that takes no messages (the opening's pauses).
void SetCallHook(std::function<void(const Call&)> hook);

// ---- resources -------------------------------------------------------------
// The bytes of a resource of the module, found through the resource script.
std::vector<std::uint8_t> ResourceBytes(int id, const std::string& type);
// For the stand-in's own tests: the directory holding moktu.rc and the files
// it names (by default the project's res/).
void SetResourceDirectory(const std::string& directory);

}  // namespace winsim

#endif
