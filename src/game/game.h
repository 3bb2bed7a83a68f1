/*
 * game.h: the game's state and the handlers that WndProc hands messages to.
 *
 * All state is global and lives for the whole process; it is touched only
 * from WndProc and the handlers it calls, on the one thread.
 */
#ifndef MURVALO_GAME_H
#define MURVALO_GAME_H

#include "app/platform.h"

/* The phase of the game, held in g_phase. The opening sequence is
   PHASE_SEARCH while g_tick still holds -1. */
typedef int GamePhase;
#define PHASE_SEARCH    0
#define PHASE_FOUND     1
#define PHASE_REMOVAL   2
#define PHASE_RESULT    3

#define TIMER_ID        1
#define HOLE_COUNT      9

/* The window's fixed client area. */
#define CLIENT_WIDTH    390
#define CLIENT_HEIGHT   280

/* Where the opening shows the maker's logo: centred, rows 120 to 167. */
#define LOGO_X          120
#define LOGO_Y          120
#define LOGO_WIDTH      150
#define LOGO_HEIGHT     48

extern GamePhase g_phase;           // current phase
extern int g_tick;                  // ticks into the phase; -1 until the opening has run
extern int g_secondsLeft;           // whole seconds left in the round, as shown
extern unsigned int g_score;        // viruses removed in this round
extern int g_holeStage[HOLE_COUNT]; // 0 empty, 1-16 a virus, 18-20 a cross
extern int g_holeSpeed[HOLE_COUNT]; // stages advanced per motion pass
extern int g_holeHits[HOLE_COUNT];  // hits still needed to remove the virus
extern char g_scoreText[12];        // the score line, formatted by the repaint
extern char g_statusText[80];       // the status line, formatted by the repaint

extern HINSTANCE g_hInstance;       // our own module, home of every resource
extern HFONT g_hFont;               // the one text font

extern HBITMAP g_hbmBlueVirus;      // virus with one hit left
extern HBITMAP g_hbmHole;           // hole frame
extern HBITMAP g_hbmMagnifier;      // magnifying glass of the search
extern HBITMAP g_hbmCross;          // cross left by a removed virus
extern HBITMAP g_hbmRedVirus;       // two hits left, and the disguised six-hit virus
extern HBITMAP g_hbmShieldVirus;    // three to five hits left
extern HBITMAP g_hbmShutterTop;     // opening only
extern HBITMAP g_hbmShutterBottom;  // opening only
extern HBITMAP g_hbmLogo;           // opening only; null before it

/* The caption of the window and of every message box. */
extern const char g_caption[];

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

/* Tick handlers, by phase. */
void OpeningTick(HWND hwnd);
void SearchTick(HWND hwnd);
void RemovalTick(HWND hwnd);

/* The removal round's pieces. */
void SpawnStep(void);
void MotionPass(HWND hwnd);
void OnLButtonDown(HWND hwnd, UINT x, UINT y);
void OnPaint(HWND hwnd);

/* The one random source. */
void SeedGameRandom(DWORD seed);
int GameRandom(void);

#endif
