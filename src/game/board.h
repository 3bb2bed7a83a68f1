/*
 * board.h: the board's geometry and the hole drawing rule, shared by the
 * repaint, the motion pass and the strike.
 */
#ifndef MURVALO_BOARD_H
#define MURVALO_BOARD_H

#include "app/platform.h"

#define SPRITE_SIZE     32
#define HOLE_SIZE       48

int HoleFrameX(int hole);
int HoleFrameY(int hole);
int SpriteBoxX(int hole);
int SpriteBoxY(int hole);

/* Rows of the sprite hidden below the hole's rim at this stage (0-16). */
int StageOffset(int stage);

/* The virus picture for the hits left: 1 blue, 2 or 6 red, else the shield. */
HBITMAP VirusSpriteForHits(int hits);

/* A virus is out and can be struck: stage 1 to 15. */
int IsHoleActive(int hole);

/* The hole whose sprite box holds the point, or -1. */
int HoleAtPoint(UINT x, UINT y);

/* Draws what the hole's sprite box shows for its state: the cross, or the
   visible rows of its virus. */
void DrawHoleContent(HDC hdc, HDC hdcMem, int hole);

/* Draws the hole frame, then its content. */
void DrawHole(HDC hdc, HDC hdcMem, int hole);

void DrawHoleFrame(HDC hdc, HDC hdcMem, int hole);

#endif
