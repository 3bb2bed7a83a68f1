/*
 * strike.cpp: a press of the left button is a strike of the mallet.
 *
 * Only an active hole (stage 1 to 15) can be struck. A hit that leaves the
 * virus standing swaps its sprite; the last one puts the cross in its place
 * and counts it. The new look is drawn at once and a sound is played.
 */
#include "game/board.h"
#include "game/game.h"
#include "resource.h"
#include "view/paint.h"

/*
==================
PlayWave

Asynchronous: a new sound cuts one still playing short.
==================
*/
static void PlayWave(int id)
{
    PlaySoundA(MAKEINTRESOURCEA(id), g_hInstance, SND_RESOURCE | SND_ASYNC);
}

/*
==================
Strike

Takes one hit off the virus in the hole. A knock-out invalidates the four
text lines so that the next repaint shows the new score.
==================
*/
static void Strike(HWND hwnd, HDC hdc, HDC hdcMem, int hole, int lineHeight)
{
    RECT textLines;

    g_holeHits[hole]--;
    if (g_holeHits[hole] > 0) {
        DrawHoleContent(hdc, hdcMem, hole);
        PlayWave(IDW_STRIKE);
        return;
    }

    g_holeStage[hole] = 18;
    g_holeSpeed[hole] = 1;
    g_score++;
    DrawHoleContent(hdc, hdcMem, hole);

    textLines.left = 0;
    textLines.top = 0;
    textLines.right = CLIENT_WIDTH;
    textLines.bottom = TextLineY(4, lineHeight);
    InvalidateRect(hwnd, &textLines, TRUE);
    PlayWave(IDW_KNOCKOUT);
}

/*
==================
OnLButtonDown

The phase is not looked at: outside the round no hole is active, so a press
changes nothing.
==================
*/
void OnLButtonDown(HWND hwnd, UINT x, UINT y)
{
    HDC hdc = GetDC(hwnd);
    HDC hdcMem = CreateCompatibleDC(hdc);
    HFONT hOldFont = (HFONT)SelectObject(hdc, g_hFont);
    int lineHeight = TextLineHeight(hdc);
    int hole = HoleAtPoint(x, y);

    if (hole >= 0 && IsHoleActive(hole))
        Strike(hwnd, hdc, hdcMem, hole, lineHeight);

    SelectObject(hdc, hOldFont);
    ReleaseDC(hwnd, hdc);
    DeleteDC(hdcMem);
}
