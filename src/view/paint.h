/*
 * paint.h: the text lines at the top of the window.
 */
#ifndef MURVALO_PAINT_H
#define MURVALO_PAINT_H

#include "app/platform.h"

/* The height of one text line of the font selected into hdc. */
int TextLineHeight(HDC hdc);

/* The top of text line k (0 to 3), a pixel apart: a fifth line would
   begin at TextLineY(4, h). */
int TextLineY(int line, int lineHeight);

#endif
