/*
 * board.cpp: where the nine holes are and how one is drawn.
 *
 * Holes are numbered row by row: column c = hole mod 3, row r = hole div 3.
 * The repaint, the motion pass and the strike all draw a hole through
 * DrawHole or DrawHoleContent, so a hole looks the same whoever drew it.
 */
#include "game/board.h"
#include "game/game.h"

int HoleFrameX(int hole) { return 60 + 100 * (hole % 3); }
int HoleFrameY(int hole) { return 70 + 60 * (hole / 3); }
int SpriteBoxX(int hole) { return 68 + 100 * (hole % 3); }
int SpriteBoxY(int hole) { return 80 + 60 * (hole / 3); }

/*
==================
StageOffset

A virus rises 4 rows a stage until stage 8 shows it whole, then sinks back;
stages 0 and 16 hide it completely.
==================
*/
int StageOffset(int stage)
{
    if (stage <= 8)
        return 4 * (8 - stage);
    return 4 * stage - 32;
}

/*
==================
VirusSpriteForHits

The disguised six-hit virus looks like a two-hit one until it is struck.
==================
*/
HBITMAP VirusSpriteForHits(int hits)
{
    if (hits == 1)
        return g_hbmBlueVirus;
    if (hits == 2 || hits == 6)
        return g_hbmRedVirus;
    return g_hbmShieldVirus;
}

/*
==================
IsHoleActive

Stage 16 (sunk out of sight) and the cross are not active, nor empty either.
==================
*/
int IsHoleActive(int hole)
{
    return g_holeStage[hole] >= 1 && g_holeStage[hole] <= 15;
}

/*
==================
HoleAtPoint

All four bounds are exclusive: the sprite box's left column and top row miss.
==================
*/
int HoleAtPoint(UINT x, UINT y)
{
    int hole;

    for (hole = 0; hole < HOLE_COUNT; hole++) {
        UINT left = (UINT)SpriteBoxX(hole);
        UINT top = (UINT)SpriteBoxY(hole);

        if (left < x && x < left + SPRITE_SIZE && top < y && y < top + SPRITE_SIZE)
            return hole;
    }
    return -1;
}

/*
==================
DrawHoleFrame
==================
*/
void DrawHoleFrame(HDC hdc, HDC hdcMem, int hole)
{
    SelectObject(hdcMem, g_hbmHole);
    BitBlt(hdc, HoleFrameX(hole), HoleFrameY(hole), HOLE_SIZE, HOLE_SIZE, hdcMem, 0, 0, SRCCOPY);
}

/*
==================
DrawHoleContent

A cross fills the sprite box; a virus shows its top rows, pushed down by the
stage's offset. Nothing is transparent: the sprites' white corners merge
with the hole's white interior.
==================
*/
void DrawHoleContent(HDC hdc, HDC hdcMem, int hole)
{
    int stage = g_holeStage[hole];
    int off;

    if (stage > 17) {
        SelectObject(hdcMem, g_hbmCross);
        BitBlt(hdc, SpriteBoxX(hole), SpriteBoxY(hole), SPRITE_SIZE, SPRITE_SIZE,
               hdcMem, 0, 0, SRCCOPY);
        return;
    }
    off = StageOffset(stage);
    SelectObject(hdcMem, VirusSpriteForHits(g_holeHits[hole]));
    BitBlt(hdc, SpriteBoxX(hole), SpriteBoxY(hole) + off, SPRITE_SIZE, SPRITE_SIZE - off,
           hdcMem, 0, 0, SRCCOPY);
}

/*
==================
DrawHole
==================
*/
void DrawHole(HDC hdc, HDC hdcMem, int hole)
{
    DrawHoleFrame(hdc, hdcMem, hole);
    DrawHoleContent(hdc, hdcMem, hole);
}
