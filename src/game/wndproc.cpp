/*
 * wndproc.cpp: the window procedure, the whole of the game's entry.
 *
 * It handles five messages and gives every other one to DefWindowProcA.
 * It is entered nested inside CreateWindowExA (WM_CREATE), inside
 * UpdateWindow (WM_PAINT, also from the opening tick), inside the modal loop
 * of MessageBoxA and inside DestroyWindow (WM_DESTROY at the replay question).
 */
#include "game/game.h"
#include "resource.h"

/* The face name is 15 bytes in code page 932; the blank is a single 0x20. */
static const char s_fontFace[] = "ＭＳ Ｐゴシック";

/*
==================
OnCreate

Clears the holes, loads the permanent drawing objects, starts the clock and
seeds the random source. The other globals keep their initial values.
==================
*/
static void OnCreate(HWND hwnd)
{
    int i;

    for (i = 0; i < HOLE_COUNT; i++)
        g_holeStage[i] = 0;

    g_hbmBlueVirus = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_BLUEVIRUS));
    g_hbmHole = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_HOLE));
    g_hbmMagnifier = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_MAGNIFIER));
    g_hbmCross = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_CROSS));
    g_hbmRedVirus = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_REDVIRUS));
    g_hbmShieldVirus = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_SHIELDVIRUS));

    g_hFont = CreateFontA(12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, s_fontFace);

    SetTimer(hwnd, TIMER_ID, 256, NULL);
    SeedGameRandom(GetTickCount());
}

/*
==================
OnDestroy

Frees the permanent drawing objects and ends the message loop. The timer
ends with the window.
==================
*/
static void OnDestroy(void)
{
    DeleteObject(g_hbmBlueVirus);
    DeleteObject(g_hbmHole);
    DeleteObject(g_hbmMagnifier);
    DeleteObject(g_hbmCross);
    DeleteObject(g_hbmRedVirus);
    DeleteObject(g_hbmShieldVirus);
    DeleteObject(g_hFont);
    PostQuitMessage(0);
}

/*
==================
OnTimer

Runs the tick of the current phase. The timer's identifier is not looked at.
==================
*/
static void OnTimer(HWND hwnd)
{
    if (g_phase == PHASE_SEARCH) {
        if (g_tick == -1)
            OpeningTick(hwnd);
        else
            SearchTick(hwnd);
    } else if (g_phase == PHASE_REMOVAL) {
        RemovalTick(hwnd);
    }
    /* PHASE_FOUND and PHASE_RESULT: a message box is up, nothing moves. */
}

/*
==================
WndProc
==================
*/
LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        OnCreate(hwnd);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_PAINT:
        OnPaint(hwnd);
        return 0;
    case WM_TIMER:
        OnTimer(hwnd);
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(hwnd, (UINT)(lParam & 0xFFFF), (UINT)((lParam >> 16) & 0xFFFF));
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}
