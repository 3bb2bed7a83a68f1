#include "scene.h"

#include "game/board.h"
#include "game/game.h"
#include "winsim/winsim.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace bench {

namespace {

// Well into the first round with the stand-in's defaults: the opening tick
// at 256 ms, 3,630 ms of opening, eight search ticks, two boxes of 1 s.
constexpr DWORD kInRound = 256 + 3630 + 8 * 256 + 2000 + 500;

void Occupy(int hole, int stage)
{
    g_holeStage[hole] = stage;
    g_holeSpeed[hole] = 1;
    g_holeHits[hole] = 1 + hole % 2;
}

}  // namespace

int InRound(const std::function<void()>& measure)
{
    winsim::SetLogging(false);
    winsim::ScheduleCall(kInRound, [&] {
        KillTimer(winsim::MainWindow(), TIMER_ID);
        g_secondsLeft = 5;
        for (int i = 0; i < HOLE_COUNT; ++i) Occupy(i, 2 + i);
        measure();
        winsim::ScheduleCloseRequest(winsim::Now() + 1);
    });
    static char commandLine[] = "";
    return WinMain(winsim::ModuleHandle(), nullptr, commandLine, 10);
}

void MotionTick()
{
    MotionPass(winsim::MainWindow());
    for (int i = 0; i < HOLE_COUNT; ++i)
        if (g_holeStage[i] == 0) Occupy(i, 1);
}

void Strike()
{
    constexpr int kHole = 4;
    g_holeStage[kHole] = 8;
    g_holeHits[kHole] = 2;
    OnLButtonDown(winsim::MainWindow(), SpriteBoxX(kHole) + 16, SpriteBoxY(kHole) + 16);
}

void Repaint()
{
    InvalidateRect(winsim::MainWindow(), nullptr, TRUE);
    UpdateWindow(winsim::MainWindow());
}

}  // namespace bench
