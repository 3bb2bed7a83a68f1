// moktu_fuzz.cpp: the whole program on the stand-in, driven by libFuzzer.
//
// Each input is one run of the program, from a switched-on machine and the
// game's initial values to the end of WinMain. The input's bytes are read in
// turn as a script of what the window can receive: presses anywhere (box
// edges most often), bursts of WM_TIMER, invalidated regions and the paints
// that follow, other messages, close requests at any moment (a message box
// may be up: the script runs from inside the boxes' loops too) and the
// answers to the boxes, each after a delay also read from the input. When
// the bytes run out the window is closed and every box is answered No.
//
// After every message, and while every box is up, the round's invariants
// must hold, no GDI object may be leaked or misused, and once the window is
// gone WinMain must return 0. A breach aborts with a description.
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/board.h"
#include "game/game.h"
#include "winsim/winsim.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace {

// ---- the game as a fresh process finds it -------------------------------------

void RestoreInitialValues()
{
    g_phase = PHASE_SEARCH;
    g_tick = -1;
    g_secondsLeft = 29;
    g_score = 0;
    for (int i = 0; i < HOLE_COUNT; ++i) g_holeStage[i] = g_holeSpeed[i] = g_holeHits[i] = 0;
    std::memset(g_scoreText, 0, sizeof g_scoreText);
    std::memset(g_statusText, 0, sizeof g_statusText);
    g_hInstance = nullptr;
    g_hFont = nullptr;
    g_hbmBlueVirus = g_hbmHole = g_hbmMagnifier = g_hbmCross = nullptr;
    g_hbmRedVirus = g_hbmShieldVirus = nullptr;
    g_hbmShutterTop = g_hbmShutterBottom = g_hbmLogo = nullptr;
    SeedGameRandom(1);   // the random state's initial value
}

// ---- the input ----------------------------------------------------------------

class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool Done() const { return at_ >= size_; }
    std::uint8_t Next() { return Done() ? 0 : data_[at_++]; }
    int Word() { return Next() | (Next() << 8); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// ---- the checks -----------------------------------------------------------------

[[noreturn]] void Breach(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fprintf(stderr, "moktu_fuzz: at %u ms, phase %d, tick %d, seconds %d: ", winsim::Now(), g_phase, g_tick,
                 g_secondsLeft);
    std::vfprintf(stderr, format, args);
    std::fprintf(stderr, "\n");
    va_end(args);
    std::abort();
}

void CheckNoMisuse()
{
    if (!winsim::Errors().empty()) Breach("stand-in: %s", winsim::Errors().front().c_str());
}

int ActiveLimit(int secondsLeft)
{
    return secondsLeft > 20 ? 1 : secondsLeft > 10 ? 2 : 4;
}

// Between messages: what every step must leave.
void CheckInvariants()
{
    CheckNoMisuse();
    const winsim::GdiCounts live = winsim::LiveObjects();
    if (winsim::MainWindow() == nullptr) {
        if (live.bitmaps || live.fonts || live.windowDCs || live.memoryDCs)
            Breach("window destroyed, yet %d bitmaps, %d fonts, %d window DCs, %d memory DCs live", live.bitmaps,
                   live.fonts, live.windowDCs, live.memoryDCs);
        return;
    }
    if (live.bitmaps != 6 || live.fonts != 1 || live.windowDCs != 0 || live.memoryDCs != 0)
        Breach("between messages %d bitmaps, %d fonts, %d window DCs, %d memory DCs live", live.bitmaps, live.fonts,
               live.windowDCs, live.memoryDCs);
    int active = 0;
    for (int i = 0; i < HOLE_COUNT; ++i) {
        const int stage = g_holeStage[i];
        if (!(stage == 0 || (stage >= 2 && stage <= 16) || (stage >= 18 && stage <= 20)))
            Breach("hole %d at stage %d between ticks", i, stage);
        active += IsHoleActive(i);
    }
    if (active > ActiveLimit(g_secondsLeft))
        Breach("%d active holes with %d seconds left", active, g_secondsLeft);
    if (g_score > 270) Breach("score %u", g_score);
    if ((g_phase == PHASE_SEARCH || g_phase == PHASE_FOUND) && active != 0)
        Breach("a virus is out before the round");
}

// ---- the script -------------------------------------------------------------------

// At most this many rounds per input, so that one run stays short.
constexpr int kMaxRounds = 4;

struct Run {
    explicit Run(Bytes in) : in(in) {}
    Bytes in;
    int questions = 0;
    bool closing = false;
};

HWND Window() { return winsim::MainWindow(); }

// A press: usually near a sprite box, two pixels either side of its edges,
// else anywhere in the client area.
void Press(Run& run)
{
    const std::uint8_t how = run.in.Next();
    int x, y;
    if (how & 1) {
        x = run.in.Word() % CLIENT_WIDTH;
        y = run.in.Word() % CLIENT_HEIGHT;
    } else {
        const int hole = (how >> 1) % HOLE_COUNT;
        x = SpriteBoxX(hole) - 2 + run.in.Next() % (SPRITE_SIZE + 5);
        y = SpriteBoxY(hole) - 2 + run.in.Next() % (SPRITE_SIZE + 5);
    }
    const int presses = 1 + (how >> 5) % 3;   // a double click is two presses
    for (int i = 0; i < presses; ++i) winsim::ScheduleClick(winsim::Now() + i * 3, x, y);
}

void TimerBurst(Run& run)
{
    const std::uint8_t b = run.in.Next();
    const int count = 1 + b % 32;
    const WPARAM id = (b & 0x80) ? run.in.Next() : TIMER_ID;   // the id is never looked at
    for (int i = 0; i < count; ++i) PostMessageA(Window(), WM_TIMER, id, 0);
}

// A region to repaint, as uncovering part of the window gives; now or later.
void Invalidate(Run& run)
{
    const std::uint8_t how = run.in.Next();
    RECT r;
    r.left = run.in.Word() % 420 - 15;
    r.top = run.in.Word() % 310 - 15;
    r.right = r.left + run.in.Next() * 2 - 40;
    r.bottom = r.top + run.in.Next() * 2 - 40;
    InvalidateRect(Window(), (how & 1) ? nullptr : &r, (how & 2) ? FALSE : TRUE);
    if (how & 4) UpdateWindow(Window());
}

// Messages the game passes to the default handling.
void OtherMessage(Run& run)
{
    static const UINT kMessages[] = {WM_MOUSEMOVE, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_KEYDOWN,
                                     WM_KEYUP, WM_CHAR, WM_USER};
    const std::uint8_t b = run.in.Next();
    PostMessageA(Window(), kMessages[b % 8], run.in.Next(), run.in.Word());
}

void Close(Run& run)
{
    switch (run.in.Next() % 3) {
    case 0: winsim::ScheduleCloseRequest(winsim::Now()); break;
    case 1: PostMessageA(Window(), WM_CLOSE, 0, 0); break;
    default: SendMessageA(Window(), WM_CLOSE, 0, 0); break;
    }
}

void Step(Run& run);

void ScheduleNext(Run& run)
{
    // Short waits mostly, up to 5.5 s at times, so that every phase is reached.
    const std::uint8_t d = run.in.Next();
    const DWORD delay = d < 200 ? d : (d - 200) * 100u;
    winsim::ScheduleCall(winsim::Now() + delay, [&run] { Step(run); });
}

void Step(Run& run)
{
    if (Window() == nullptr) return;
    if (run.in.Done()) {
        if (!run.closing) winsim::ScheduleCloseRequest(winsim::Now() + 1);
        run.closing = true;
        return;
    }
    const std::uint8_t op = run.in.Next();
    switch (op % 16) {
    case 0: case 1: case 2: case 3: case 4: Press(run); break;
    case 5: case 6: TimerBurst(run); break;
    case 7: case 8: case 9: Invalidate(run); break;
    case 10: OtherMessage(run); break;
    case 11: if (op & 0x30) break; Close(run); break;   // one close in four of these
    case 12: winsim::SetMessageBoxHoldTime(1 + run.in.Next() * 8u); break;
    default: break;   // only the wait
    }
    CheckInvariants();
    ScheduleNext(run);
}

int Answer(Run& run, const winsim::MessageBoxCall& box)
{
    CheckInvariants();
    const bool question = (box.flags & 0x0F) == MB_YESNO;
    if (question && ++run.questions >= kMaxRounds) return IDNO;
    if (run.in.Done()) return question ? IDNO : IDOK;
    // 3 to 5 are the abort, retry and ignore buttons; 0 is a box that failed.
    static const int kAnswers[] = {IDYES, IDOK, IDCANCEL, IDNO, 0, 3, 4, 5};
    const std::uint8_t b = run.in.Next();
    // The user closes the window while the box is up.
    if ((b & 0xF8) == 0xF8 && Window() != nullptr) SendMessageA(Window(), WM_CLOSE, 0, 0);
    return kAnswers[b % 8];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    winsim::Reset();
    RestoreInitialValues();
    winsim::SetLogging(false);

    Run run{Bytes(data, size)};
    winsim::SetClock(static_cast<DWORD>(run.in.Next()) << 24 | static_cast<DWORD>(run.in.Word()));
    winsim::SetMessageBoxResponder([&run](const winsim::MessageBoxCall& box) { return Answer(run, box); });
    winsim::SetAfterDispatchHook([](const MSG&) { CheckInvariants(); });
    ScheduleNext(run);

    static char commandLine[] = "";
    const int exitCode = WinMain(winsim::ModuleHandle(), nullptr, commandLine, 10);

    CheckInvariants();
    if (Window() != nullptr) Breach("WinMain returned while the window lives");
    if (exitCode != 0 || !winsim::QuitReceived() || winsim::QuitCode() != 0)
        Breach("WinMain returned %d, quit code %d", exitCode, winsim::QuitCode());
    winsim::Reset();   // the responder and hooks refer to this run
    return 0;
}
