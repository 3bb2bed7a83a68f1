/*
 * motion.cpp: the motion pass, which moves every occupied hole one step on
 * and redraws it at once, straight onto the window.
 */
#include "game/board.h"
#include "game/game.h"

/*
==================
AdvanceStage

A speed-1 virus ends at 17; a speed-2 one jumps from 15 to 17; a cross runs
18, 19, 20 and ends at 21.
==================
*/
static int AdvanceStage(int stage, int speed)
{
    stage += speed;
    if (stage == 17 || stage >= 21)
        return 0;
    return stage;
}

/*
==================
MotionPass

Each touched hole gets device contexts of its own; an empty hole is neither
advanced nor redrawn.
==================
*/
void MotionPass(HWND hwnd)
{
    int hole;

    for (hole = 0; hole < HOLE_COUNT; hole++) {
        HDC hdc;
        HDC hdcMem;

        if (g_holeStage[hole] == 0)
            continue;
        g_holeStage[hole] = AdvanceStage(g_holeStage[hole], g_holeSpeed[hole]);

        hdc = GetDC(hwnd);
        hdcMem = CreateCompatibleDC(hdc);
        DrawHole(hdc, hdcMem, hole);
        ReleaseDC(hwnd, hdc);
        DeleteDC(hdcMem);
    }
}
