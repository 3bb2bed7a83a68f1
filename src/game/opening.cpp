/*
 * opening.cpp: the title animation, played whole inside the first tick.
 *
 * The logo is shown alone, then two striped shutters close in on it from
 * the top and bottom edges and the closed picture is held for two seconds.
 * Nothing is erased between frames: the shutters leave a black trail
 * because their outer rows are black.
 */
#include "game/game.h"
#include "resource.h"

#define SHUTTER_HEIGHT  40

/*
==================
DrawShutters
==================
*/
static void DrawShutters(HDC hdc, HDC hdcMem, int topRow, int bottomRow)
{
    SelectObject(hdcMem, g_hbmShutterTop);
    BitBlt(hdc, 0, topRow, CLIENT_WIDTH, SHUTTER_HEIGHT, hdcMem, 0, 0, SRCCOPY);
    SelectObject(hdcMem, g_hbmShutterBottom);
    BitBlt(hdc, 0, bottomRow, CLIENT_WIDTH, SHUTTER_HEIGHT, hdcMem, 0, 0, SRCCOPY);
}

/*
==================
OpeningTick

Keeps the thread for about 3.6 seconds and takes no message meanwhile:
clicks and close requests wait until it returns. Only UpdateWindow can
bring a repaint, and only of a part that something else made invalid.
==================
*/
void OpeningTick(HWND hwnd)
{
    HDC hdc;
    HDC hdcMem;
    int topRow;
    int bottomRow;
    int pause;

    KillTimer(hwnd, TIMER_ID);

    g_hbmShutterTop = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_SHUTTERTOP));
    g_hbmShutterBottom = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_SHUTTERBOTTOM));
    g_hbmLogo = LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(IDB_LOGO));

    hdc = GetDC(hwnd);
    hdcMem = CreateCompatibleDC(hdc);
    SelectObject(hdcMem, g_hbmLogo);
    BitBlt(hdc, LOGO_X, LOGO_Y, LOGO_WIDTH, LOGO_HEIGHT, hdcMem, 0, 0, SRCCOPY);
    PauseWithoutMessages(1200);

    /* 43 frames: the last draws the shutters at rows 84 and 166. */
    topRow = 0;
    bottomRow = 250;
    do {
        DrawShutters(hdc, hdcMem, topRow, bottomRow);
        PauseWithoutMessages(10);
        UpdateWindow(hwnd);
        bottomRow -= 2;
        topRow += 2;
    } while (bottomRow > 165);

    ReleaseDC(hwnd, hdc);
    DeleteDC(hdcMem);

    for (pause = 0; pause < 10; pause++) {
        PauseWithoutMessages(200);
        UpdateWindow(hwnd);
    }

    /* The memory DC is gone, so none of these is still selected. */
    DeleteObject(g_hbmShutterTop);
    DeleteObject(g_hbmShutterBottom);
    DeleteObject(g_hbmLogo);

    g_tick = 0;
    InvalidateRect(hwnd, NULL, TRUE);
    SetTimer(hwnd, TIMER_ID, 256, NULL);
}
