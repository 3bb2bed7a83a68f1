/*
 * paint.cpp: the repaint, for every phase, from the state alone.
 *
 * There is no off-screen picture: everything is drawn into the paint DC,
 * which the system clips to the region being repainted, and the background
 * is the class brush that erased the region before we got here.
 */
#include "game/board.h"
#include "game/game.h"
#include "view/paint.h"

#define MAGNIFIER_SIZE  48

static const char s_versionLine[] = "Murvalo version 1.03";
static const char s_noticeLine[] = "Copyright (C) 2026 VELQUAR";

static const char s_searchText[] = "ウィルスを疑似検索しています...";
static const char s_foundText[] = "ウィルスが疑似検出されました。";
static const char s_removalText[] = "ウィルスを疑似除去中です...   残り %2d 秒";
static const char s_resultText[] = "%u 匹のウィルスを疑似除去しました。";
static const char s_noResultText[] = "ウィルスは一匹も疑似除去できませんでした。";
static const char s_scoreFormat[] = "SCORE : %u";

/* The magnifier circles clockwise round a 4-pixel square, by search tick. */
static const int s_magnifierX[8] = { 150, 154, 154, 150, 150, 154, 154, 150 };
static const int s_magnifierY[8] = { 150, 150, 154, 154, 150, 150, 154, 154 };

/*
==================
TextLineHeight
==================
*/
int TextLineHeight(HDC hdc)
{
    TEXTMETRICA tm;

    GetTextMetricsA(hdc, &tm);
    return tm.tmHeight + tm.tmExternalLeading;
}

/*
==================
TextLineY
==================
*/
int TextLineY(int line, int lineHeight)
{
    return 1 + line * (lineHeight + 1);
}

/*
==================
DrawTextLine

Black on an opaque white cell: the DC's defaults.
==================
*/
static void DrawTextLine(HDC hdc, int line, int lineHeight, const char *text)
{
    TextOutA(hdc, 1, TextLineY(line, lineHeight), text, lstrlenA(text));
}

/*
==================
DrawBitmap
==================
*/
static void DrawBitmap(HDC hdc, HDC hdcMem, HBITMAP hbm, int x, int y, int width, int height)
{
    SelectObject(hdcMem, hbm);
    BitBlt(hdc, x, y, width, height, hdcMem, 0, 0, SRCCOPY);
}

/*
==================
DrawPhase

Fills the status line and draws the phase's picture; the status line itself
is drawn last, by the caller.
==================
*/
static void DrawPhase(HDC hdc, HDC hdcMem, int lineHeight)
{
    int hole;
    int step;

    switch (g_phase) {
    case PHASE_SEARCH:
        lstrcpyA(g_statusText, s_searchText);
        step = g_tick & 7;
        DrawBitmap(hdc, hdcMem, g_hbmMagnifier, s_magnifierX[step], s_magnifierY[step],
                   MAGNIFIER_SIZE, MAGNIFIER_SIZE);
        break;
    case PHASE_FOUND:
        lstrcpyA(g_statusText, s_foundText);
        DrawBitmap(hdc, hdcMem, g_hbmMagnifier, s_magnifierX[0], s_magnifierY[0],
                   MAGNIFIER_SIZE, MAGNIFIER_SIZE);
        break;
    case PHASE_REMOVAL:
        wsprintfA(g_statusText, s_removalText, g_secondsLeft);
        wsprintfA(g_scoreText, s_scoreFormat, g_score);
        DrawTextLine(hdc, 3, lineHeight, g_scoreText);
        for (hole = 0; hole < HOLE_COUNT; hole++)
            DrawHole(hdc, hdcMem, hole);
        break;
    case PHASE_RESULT:
        wsprintfA(g_statusText, g_score > 0 ? s_resultText : s_noResultText, g_score);
        /* The round is over: the frames are shown empty, whatever is in them. */
        for (hole = 0; hole < HOLE_COUNT; hole++)
            DrawHoleFrame(hdc, hdcMem, hole);
        break;
    }
}

/*
==================
OnPaint
==================
*/
void OnPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    HDC hdcMem = CreateCompatibleDC(hdc);
    HFONT hOldFont = (HFONT)SelectObject(hdc, g_hFont);
    int lineHeight;

    if (g_phase == PHASE_SEARCH && g_tick == -1) {
        /* Before the opening tick has loaded the logo there is nothing to
           show: copying from the memory DC's own 1x1 bitmap would leave a
           stray pixel on the blank window. */
        if (g_hbmLogo != NULL)
            DrawBitmap(hdc, hdcMem, g_hbmLogo, LOGO_X, LOGO_Y, LOGO_WIDTH, LOGO_HEIGHT);
    } else {
        lineHeight = TextLineHeight(hdc);
        DrawTextLine(hdc, 0, lineHeight, s_versionLine);
        DrawTextLine(hdc, 1, lineHeight, s_noticeLine);
        DrawPhase(hdc, hdcMem, lineHeight);
        DrawTextLine(hdc, 2, lineHeight, g_statusText);
    }

    SelectObject(hdc, hOldFont);
    EndPaint(hwnd, &ps);
    DeleteDC(hdcMem);
}
