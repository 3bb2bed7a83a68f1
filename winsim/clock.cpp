// clock.cpp: the virtual clock. Nothing runs while the program sleeps; the
// clock simply moves on, and timers and scripted input fall due meanwhile.
#include "winsim/internal.h"

using namespace winsim::detail;

namespace winsim {

DWORD Now() { return static_cast<DWORD>(M().now); }
void SetClock(DWORD ms) { M().now = ms; }

}  // namespace winsim

DWORD WINAPI GetTickCount()
{
    std::size_t call = BeginCall("GetTickCount", {});
    return static_cast<DWORD>(EndCall(call, static_cast<DWORD>(M().now)));
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    BeginCall("Sleep", {static_cast<std::intptr_t>(dwMilliseconds)});
    if (dwMilliseconds == INFINITE) {
        Error("Sleep(INFINITE): the thread would block forever");
        return;
    }
    M().now += dwMilliseconds;
}

// With no handles and an empty wake mask this is a plain timed wait that takes
// no message, which is how the opening pauses. With a wake mask it ends as
// soon as something of that kind is waiting, without taking it.
DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll,
                                       DWORD dwMilliseconds, DWORD dwWakeMask)
{
    std::size_t call = BeginCall("MsgWaitForMultipleObjects",
                                 {static_cast<std::intptr_t>(nCount),
                                  static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(pHandles)),
                                  fWaitAll, static_cast<std::intptr_t>(dwMilliseconds),
                                  static_cast<std::intptr_t>(dwWakeMask)});
    if (nCount != 0) {
        Error("MsgWaitForMultipleObjects: waiting on handles is not modelled");
        return static_cast<DWORD>(EndCall(call, static_cast<std::intptr_t>(WAIT_FAILED)));
    }
    if (dwWakeMask != 0) {
        Error("MsgWaitForMultipleObjects: a non-empty wake mask is not modelled");
        return static_cast<DWORD>(EndCall(call, static_cast<std::intptr_t>(WAIT_FAILED)));
    }
    if (dwMilliseconds == INFINITE) {
        Error("MsgWaitForMultipleObjects: an infinite wait for nothing would block forever");
        return static_cast<DWORD>(EndCall(call, static_cast<std::intptr_t>(WAIT_FAILED)));
    }
    M().now += dwMilliseconds;
    return static_cast<DWORD>(EndCall(call, WAIT_TIMEOUT));
}
