/*
 * clock.cpp: the removal round's clock, its end and the replay.
 *
 * Nine ticks in ten are motion ticks; the tenth counts a second off the
 * round and moves nothing.
 */
#include "game/game.h"

#define TICKS_PER_SECOND    10
#define ROUND_SECONDS       29

/* The status band at the top of the client area that holds the text lines. */
static const RECT s_textBand = { 0, 0, CLIENT_WIDTH, 60 };

static const char s_noScoreQuestion[] =
    "ウィルスは一匹も疑似除去できませんでした。\nもう一度挑戦しますか？";
static const char s_scoreQuestion[] =
    "%u 匹のウィルスを疑似除去しました。\nもう一度挑戦しますか？";

/*
==================
StartRound

A replay: the round runs on from the same random sequence.
==================
*/
static void StartRound(HWND hwnd)
{
    int i;

    g_secondsLeft = ROUND_SECONDS;
    g_phase = PHASE_REMOVAL;
    g_score = 0;
    for (i = 0; i < HOLE_COUNT; i++)
        g_holeStage[i] = 0;
    InvalidateRect(hwnd, NULL, TRUE);
    SetTimer(hwnd, TIMER_ID, 100, NULL);
}

/*
==================
EndRound

Asks whether to play again. No destroys the window from inside this tick;
WM_DESTROY then runs nested and nothing is drawn after it.
==================
*/
static void EndRound(HWND hwnd)
{
    char question[80];

    KillTimer(hwnd, TIMER_ID);
    g_phase = PHASE_RESULT;
    wsprintfA(question, g_score == 0 ? s_noScoreQuestion : s_scoreQuestion, g_score);
    InvalidateRect(hwnd, NULL, TRUE);
    if (MessageBoxA(hwnd, question, g_caption, MB_YESNO | MB_ICONQUESTION) == IDNO) {
        DestroyWindow(hwnd);
        return;
    }
    StartRound(hwnd);
}

/*
==================
RemovalTick
==================
*/
void RemovalTick(HWND hwnd)
{
    g_tick++;
    if (g_tick < TICKS_PER_SECOND) {
        SpawnStep();
        MotionPass(hwnd);
        return;
    }

    g_secondsLeft--;
    g_tick = 0;
    if (g_secondsLeft >= 0) {
        InvalidateRect(hwnd, &s_textBand, TRUE);
        return;
    }
    EndRound(hwnd);
}
