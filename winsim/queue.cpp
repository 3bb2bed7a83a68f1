// queue.cpp: the thread's message queue, its timers and the scripted input.
//
// GetMessage takes messages in the order Windows gives them: posted messages
// (first in, first out); WM_QUIT once it was posted and no posted message is
// left; input whose time has come; WM_PAINT while a window has something
// invalid; WM_TIMER for a timer that is due. A timer is pending at most once:
// however many periods went by while the thread was busy, it gives one
// WM_TIMER, and the next falls due a period after that one was taken. While
// nothing is pending the virtual clock jumps to the next thing that can
// happen: a timer, scripted input or a scheduled call.
#include <algorithm>

#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {
namespace detail {

namespace {

void AddScriptItem(ScriptItem item)
{
    auto& s = M().script;
    auto at = std::upper_bound(s.begin(), s.end(), item.at,
                               [](std::uint64_t t, const ScriptItem& i) { return t < i.at; });
    s.insert(at, std::move(item));
}

MSG InputMessage(UINT message, WPARAM wp, LPARAM lp)
{
    MSG m{};
    m.message = message;
    m.wParam = wp;
    m.lParam = lp;
    return m;
}

// Scripted input goes to the main window as it is when the input is taken.
// Input for a disabled window is dropped, as Windows drops clicks on a window
// that a modal box has disabled.
bool RouteInput(MSG& m)
{
    Window* w = FindWindow(M().main);
    if (!w || !w->enabled) {
        BeginCall("InputDropped", {static_cast<std::intptr_t>(m.message), static_cast<std::intptr_t>(m.wParam), m.lParam});
        return false;
    }
    m.hwnd = w->handle;
    if (m.message == WM_SYSCOMMAND) {
        // The close button sits at the right end of the caption.
        LONG x = w->rect.right - Metric(SM_CXDLGFRAME) - 8;
        LONG y = w->rect.top + Metric(SM_CYDLGFRAME) + Metric(SM_CYCAPTION) / 2;
        m.lParam = MAKELPARAM(x, y);
        M().cursor = POINT{x, y};
    } else {
        M().cursor = POINT{w->clientOrigin.x + static_cast<LONG>(static_cast<std::int16_t>(LOWORD(m.lParam))),
                           w->clientOrigin.y + static_cast<LONG>(static_cast<std::int16_t>(HIWORD(m.lParam)))};
    }
    return true;
}

Timer* DueTimer()
{
    Timer* best = nullptr;
    for (Timer& t : M().timers)
        if (t.due <= M().now && (best == nullptr || t.due < best->due)) best = &t;
    return best;
}

std::uint64_t NextEventTime()
{
    std::uint64_t next = kForever;
    for (const Timer& t : M().timers) next = std::min(next, t.due);
    if (!M().script.empty()) next = std::min(next, M().script.front().at);
    return next;
}

void Stamp(MSG* msg)
{
    msg->time = static_cast<DWORD>(M().now);
    msg->pt = M().cursor;
}

}  // namespace

Take TakeMessage(MSG* msg, std::uint64_t deadline)
{
    Machine& m = M();
    for (;;) {
        if (!m.posted.empty()) {
            *msg = m.posted.front();
            m.posted.pop_front();
            return Take::Message;
        }
        if (m.quitPosted) {
            m.quitPosted = false;
            *msg = MSG{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(m.quitPostedCode);
            Stamp(msg);
            return Take::Message;
        }
        bool ranCall = false;
        while (!m.script.empty() && m.script.front().at <= m.now) {
            ScriptItem& item = m.script.front();
            if (item.call) {
                std::function<void()> fn = std::move(item.call);
                m.script.erase(m.script.begin());
                fn();
                ranCall = true;
                break;
            }
            MSG in = item.input.front();
            item.input.erase(item.input.begin());
            if (item.input.empty()) m.script.erase(m.script.begin());
            if (RouteInput(in)) {
                *msg = in;
                Stamp(msg);
                return Take::Message;
            }
        }
        if (ranCall) continue;   // the call may have posted or invalidated something
        if (Window* w = FirstWindowToPaint()) {
            *msg = MSG{};
            msg->hwnd = w->handle;
            msg->message = WM_PAINT;
            Stamp(msg);
            return Take::Message;
        }
        if (Timer* t = DueTimer()) {
            *msg = MSG{};
            msg->hwnd = t->hwnd;
            msg->message = WM_TIMER;
            msg->wParam = t->id;
            msg->lParam = reinterpret_cast<LPARAM>(t->proc);
            Stamp(msg);
            t->due = m.now + t->period;
            return Take::Message;
        }
        std::uint64_t next = NextEventTime();
        if (next == kForever) return Take::Blocked;
        if (next > deadline) {
            m.now = std::max(m.now, deadline);
            return Take::Timeout;
        }
        m.now = std::max(m.now, next);
    }
}

LRESULT Dispatch(const MSG& msg)
{
    LRESULT result = 0;
    Window* w = FindWindow(msg.hwnd);
    if (w) {
        if (msg.message == WM_TIMER && msg.lParam != 0) {
            TIMERPROC proc = reinterpret_cast<TIMERPROC>(msg.lParam);
            proc(msg.hwnd, WM_TIMER, msg.wParam, static_cast<DWORD>(M().now));
        } else {
            result = CallWindowProc(*w, msg.message, msg.wParam, msg.lParam);
        }
        // As in Windows, a WM_PAINT whose handler left the erase undone gets
        // its background erased now; what is still invalid stays invalid.
        if (msg.message == WM_PAINT)
            if (Window* still = FindWindow(msg.hwnd)) ErasePending(*still);
    }
    if (M().afterDispatch) {
        std::function<void(const MSG&)> hook = M().afterDispatch;
        hook(msg);
    }
    return result;
}

void KillWindowTimers(HWND hwnd)
{
    auto& t = M().timers;
    t.erase(std::remove_if(t.begin(), t.end(), [hwnd](const Timer& x) { return x.hwnd == hwnd; }), t.end());
}

void DropPostedFor(HWND hwnd)
{
    auto& p = M().posted;
    p.erase(std::remove_if(p.begin(), p.end(), [hwnd](const MSG& x) { return x.hwnd == hwnd; }), p.end());
}

}  // namespace detail

// ---- test side -------------------------------------------------------------------

void ScheduleClick(DWORD at, int x, int y)
{
    ScriptItem item;
    item.at = at;
    item.input = {InputMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)),
                  InputMessage(WM_LBUTTONUP, 0, MAKELPARAM(x, y))};
    AddScriptItem(std::move(item));
}

// The caption's close button, as the default handling of the click on it
// turns it into WM_SYSCOMMAND with SC_CLOSE; the tracking of the button in
// between is not modelled.
void ScheduleCloseRequest(DWORD at)
{
    ScriptItem item;
    item.at = at;
    item.input = {InputMessage(WM_SYSCOMMAND, SC_CLOSE, 0)};
    AddScriptItem(std::move(item));
}

void ScheduleCall(DWORD at, std::function<void()> fn)
{
    ScriptItem item;
    item.at = at;
    item.call = std::move(fn);
    AddScriptItem(std::move(item));
}

void SetAfterDispatchHook(std::function<void(const MSG&)> hook) { M().afterDispatch = std::move(hook); }

bool RunUntil(DWORD until)
{
    if (M().quitReceived) return false;
    for (;;) {
        std::size_t call = BeginCall("GetMessageA", {0, 0, 0});
        MSG msg;
        if (TakeMessage(&msg, until) != Take::Message) {
            // The program's loop is still waiting: no call has returned.
            auto& log = M().log;
            if (call < log.size() && log[call].name == "GetMessageA") log.erase(log.begin() + static_cast<std::ptrdiff_t>(call));
            M().now = std::max<std::uint64_t>(M().now, until);
            return true;
        }
        if (msg.message == WM_QUIT) {
            EndCall(call, FALSE);
            M().quitReceived = true;
            M().quitCode = static_cast<int>(msg.wParam);
            return false;
        }
        EndCall(call, TRUE);
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool QuitReceived() { return M().quitReceived; }
int QuitCode() { return M().quitCode; }

}  // namespace winsim

// ---- USER32 ------------------------------------------------------------------------

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax)
{
    std::size_t call = BeginCall("GetMessageA", {static_cast<std::intptr_t>(Value(hWnd)),
                                                 static_cast<std::intptr_t>(wMsgFilterMin),
                                                 static_cast<std::intptr_t>(wMsgFilterMax)});
    if (hWnd != nullptr || wMsgFilterMin != 0 || wMsgFilterMax != 0)
        Error("GetMessageA: window and message filters are not modelled");
    MSG msg;
    if (TakeMessage(&msg, kForever) == Take::Blocked) {
        Error("GetMessageA would block forever");
        msg = MSG{};
        msg.message = WM_QUIT;
        msg.wParam = 0xDEAD;
    }
    if (lpMsg) *lpMsg = msg;
    if (msg.message == WM_QUIT) {
        M().quitReceived = true;
        M().quitCode = static_cast<int>(msg.wParam);
        return static_cast<BOOL>(EndCall(call, FALSE));
    }
    return static_cast<BOOL>(EndCall(call, TRUE));
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg)
{
    if (lpMsg == nullptr) {
        BeginCall("TranslateMessage", {0});
        return FALSE;
    }
    // No keyboard is modelled, so there is never a character to make.
    std::size_t call = BeginCall("TranslateMessage", {static_cast<std::intptr_t>(Value(lpMsg->hwnd)),
                                                      static_cast<std::intptr_t>(lpMsg->message),
                                                      static_cast<std::intptr_t>(lpMsg->wParam), lpMsg->lParam});
    return static_cast<BOOL>(EndCall(call, FALSE));
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    if (lpMsg == nullptr) {
        BeginCall("DispatchMessageA", {0});
        return 0;
    }
    std::size_t call = BeginCall("DispatchMessageA", {static_cast<std::intptr_t>(Value(lpMsg->hwnd)),
                                                      static_cast<std::intptr_t>(lpMsg->message),
                                                      static_cast<std::intptr_t>(lpMsg->wParam), lpMsg->lParam});
    return EndCall(call, Dispatch(*lpMsg));
}

void WINAPI PostQuitMessage(int nExitCode)
{
    BeginCall("PostQuitMessage", {nExitCode});
    M().quitPosted = true;
    M().quitPostedCode = nExitCode;
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam)
{
    std::size_t call = BeginCall("PostMessageA", {static_cast<std::intptr_t>(Value(hWnd)),
                                                  static_cast<std::intptr_t>(Msg),
                                                  static_cast<std::intptr_t>(wParam), lParam});
    if (hWnd != nullptr && !FindWindow(hWnd)) return static_cast<BOOL>(EndCall(call, FALSE));
    MSG m{};
    m.hwnd = hWnd;
    m.message = Msg;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<DWORD>(M().now);
    m.pt = M().cursor;
    M().posted.push_back(m);
    return static_cast<BOOL>(EndCall(call, TRUE));
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    std::size_t call = BeginCall("SetTimer", {static_cast<std::intptr_t>(Value(hWnd)),
                                              static_cast<std::intptr_t>(nIDEvent),
                                              static_cast<std::intptr_t>(uElapse),
                                              reinterpret_cast<std::intptr_t>(lpTimerFunc)});
    if (hWnd == nullptr) {
        Error("SetTimer: thread timers (no window) are not modelled");
        return static_cast<UINT_PTR>(EndCall(call, 0));
    }
    if (!FindWindow(hWnd)) return static_cast<UINT_PTR>(EndCall(call, 0));
    // Windows raises periods below USER_TIMER_MINIMUM (10 ms) to it.
    UINT period = std::max<UINT>(uElapse, 10);
    std::uint64_t due = M().now + period;
    for (Timer& t : M().timers) {
        if (t.hwnd == hWnd && t.id == nIDEvent) {
            // The same window and id: the timer starts again from now.
            t.period = period;
            t.proc = lpTimerFunc;
            t.due = due;
            return static_cast<UINT_PTR>(EndCall(call, static_cast<std::intptr_t>(nIDEvent ? nIDEvent : 1)));
        }
    }
    M().timers.push_back(Timer{hWnd, nIDEvent, period, lpTimerFunc, due});
    return static_cast<UINT_PTR>(EndCall(call, static_cast<std::intptr_t>(nIDEvent ? nIDEvent : 1)));
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    std::size_t call = BeginCall("KillTimer", {static_cast<std::intptr_t>(Value(hWnd)),
                                               static_cast<std::intptr_t>(uIDEvent)});
    auto& t = M().timers;
    auto it = std::find_if(t.begin(), t.end(), [&](const Timer& x) { return x.hwnd == hWnd && x.id == uIDEvent; });
    if (it == t.end()) return static_cast<BOOL>(EndCall(call, FALSE));
    t.erase(it);
    return static_cast<BOOL>(EndCall(call, TRUE));
}
