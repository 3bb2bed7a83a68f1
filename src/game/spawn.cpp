/*
 * spawn.cpp: the random source and the spawn step.
 *
 * The round grows harder in three bands of the seconds left: more viruses
 * may be out at once, and two-hit, fast and six-hit viruses appear only in
 * the later bands.
 */
#include "game/board.h"
#include "game/game.h"

static DWORD s_randomState = 1;

/*
==================
SeedGameRandom

Called once, at window creation; a replay runs on from the same sequence.
==================
*/
void SeedGameRandom(DWORD seed)
{
    s_randomState = seed;
}

/*
==================
GameRandom

A linear congruential step; the result is bits 16 to 30 of the new state.
==================
*/
int GameRandom(void)
{
    s_randomState = s_randomState * 214013u + 2531011u;
    return (int)((s_randomState >> 16) & 0x7FFF);
}

/*
==================
SpawnBand

1 while more than 20 seconds are left, 2 down to 11, 3 for the last 11.
==================
*/
static int SpawnBand(int secondsLeft)
{
    if (secondsLeft > 20)
        return 1;
    if (secondsLeft > 10)
        return 2;
    return 3;
}

/* How many holes may be active at once, by band. */
static const int s_activeLimit[4] = { 0, 1, 2, 4 };

/*
==================
SpawnStep

At most one virus a tick, drawn in the order target, hits, speed, six-hit
test. A target that is not empty ends the step: no other hole is tried.
==================
*/
void SpawnStep(void)
{
    int band = SpawnBand(g_secondsLeft);
    int active = 0;
    int hole;
    int hits;
    int speed;

    for (hole = 0; hole < HOLE_COUNT; hole++) {
        if (IsHoleActive(hole)) {
            active++;
            if (active >= s_activeLimit[band])
                return;
        }
    }

    hole = GameRandom() % HOLE_COUNT;
    if (g_holeStage[hole] != 0)
        return;

    g_holeStage[hole] = 1;
    hits = 1;
    speed = 1;
    if (band >= 2) {
        hits = (GameRandom() % 24 != 0) ? 1 : 2;
        speed = (GameRandom() % 24 != 0) ? 1 : 2;
        if (band == 3 && hits == 2 && speed == 1 && GameRandom() % 16 == 0)
            hits = 6;
    }
    g_holeHits[hole] = hits;
    g_holeSpeed[hole] = speed;
}
