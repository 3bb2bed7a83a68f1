/*
 * search.cpp: the pseudo-search and the detection.
 *
 * For eight ticks the magnifier circles; at the eighth the two detection
 * boxes come up and, once both are closed, the removal round starts.
 */
#include "game/game.h"

#define SEARCH_TICKS    8

/* The magnifier's area: the union of its four positions. */
static const RECT s_magnifierArea = { 150, 150, 202, 202 };

static const char s_foundText[] =
    "疑似ウィルスが見つかりました。\n詳細を表示します。";
static const char s_instructionsText[] =
    "このウィルスはコンピュータ自身では除去できません。あなたの手で疑似除去してください。\n"
    "方法は簡単です。これから30秒間、ウィルスが顔を出したら、そこをクリックで殴ってください。";

/*
==================
Detect

The timer is stopped before the phase changes and started again only after
the last box has returned, so no tick comes while a box is up. The boxes'
own loops repaint the window in PHASE_FOUND.
==================
*/
static void Detect(HWND hwnd)
{
    KillTimer(hwnd, TIMER_ID);
    g_phase = PHASE_FOUND;
    InvalidateRect(hwnd, NULL, TRUE);
    MessageBoxA(hwnd, s_foundText, g_caption, MB_ICONEXCLAMATION);
    MessageBoxA(hwnd, s_instructionsText, g_caption, MB_ICONINFORMATION);
    g_phase = PHASE_REMOVAL;
    InvalidateRect(hwnd, NULL, TRUE);
    SetTimer(hwnd, TIMER_ID, 100, NULL);
    g_tick = 0;
}

/*
==================
SearchTick
==================
*/
void SearchTick(HWND hwnd)
{
    g_tick++;
    if (g_tick < SEARCH_TICKS) {
        InvalidateRect(hwnd, &s_magnifierArea, TRUE);
        return;
    }
    Detect(hwnd);
}
