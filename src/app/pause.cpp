/*
 * pause.cpp: the opening's pause.
 */
#include "app/platform.h"

/*
==================
PauseWithoutMessages

A timed wait with an empty wake mask: no message is taken or dispatched,
exactly like Sleep, but the thread waits inside the message layer, which is
what lets Wine put what was just drawn on the window onto the screen.
==================
*/
void PauseWithoutMessages(DWORD ms)
{
    MsgWaitForMultipleObjects(0, NULL, FALSE, ms, 0);
}
