/*
 * state.cpp: the game's global state, with its initial values.
 */
#include "game/game.h"

GamePhase g_phase = PHASE_SEARCH;
int g_tick = -1;
int g_secondsLeft = 29;
unsigned int g_score = 0;
int g_holeStage[HOLE_COUNT];
int g_holeSpeed[HOLE_COUNT];
int g_holeHits[HOLE_COUNT];
char g_scoreText[12];
char g_statusText[80];

HINSTANCE g_hInstance = NULL;
HFONT g_hFont = NULL;

HBITMAP g_hbmBlueVirus = NULL;
HBITMAP g_hbmHole = NULL;
HBITMAP g_hbmMagnifier = NULL;
HBITMAP g_hbmCross = NULL;
HBITMAP g_hbmRedVirus = NULL;
HBITMAP g_hbmShieldVirus = NULL;
HBITMAP g_hbmShutterTop = NULL;
HBITMAP g_hbmShutterBottom = NULL;
HBITMAP g_hbmLogo = NULL;

const char g_caption[] = "Murvalo";
