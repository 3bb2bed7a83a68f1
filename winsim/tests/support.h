// support.h: a tiny test window, log helpers and a fixture resource script.
#ifndef WINSIM_TESTS_SUPPORT_H
#define WINSIM_TESTS_SUPPORT_H

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "winsim/winsim.h"

namespace wt {

// Handlers by message; the rest goes to DefWindowProcA.
using Handler = std::function<LRESULT(HWND, WPARAM, LPARAM)>;
extern std::map<UINT, Handler> g_on;
LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

// The game's window shape: caption, dialog frame, 396 x 305 outside, so
// 390 x 280 inside with the default metrics. Shown (and painted) on request.
HWND MakeWindow(bool show = true);

// The messages delivered to the window procedure, in order, from the log.
struct Delivery {
    UINT msg;
    int depth;
};
std::vector<Delivery> Deliveries();
std::vector<UINT> Messages();                 // just the numbers
int Count(const std::string& callName);
// The index of the first log entry named `name` (and for WndProc, of message `msg`), or -1.
int Find(const std::string& name, UINT msg = 0, int from = 0);

// A directory with moktu.rc, resource.h and small files, made once per process.
std::string FixtureDirectory();
constexpr int IDB_ROWS = 201;       // 4 x 4, 4-bit, each row different
constexpr int IDB_MONO = 202;       // 4 x 2, 1-bit, black then white palette
constexpr int IDB_INVERTED = 203;   // 2 x 1, 1-bit, white then black palette
constexpr int IDW_BEEP = 204;
constexpr int IDI_FIX = 205;
constexpr int IDW_NOTWAVE = 206;    // a WAVE resource that is no RIFF file
constexpr int IDB_BLACK = 208;      // 390 x 280, 1-bit, all 0

}  // namespace wt

#endif
