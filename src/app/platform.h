/*
 * platform.h: the one header through which the game reaches the Win32 API.
 *
 * On Windows (and for the cross build) it is the system's own <windows.h>;
 * for the host build it is the project's stand-in, which declares the same
 * subset with the same names, types and values.
 */
#ifndef MURVALO_PLATFORM_H
#define MURVALO_PLATFORM_H

#ifdef MURVALO_WINSIM
#include "winsim/win32.h"
#else
#include <windows.h>
#include <mmsystem.h>
#endif

/* Blocks for ms milliseconds without taking any message from the queue. */
void PauseWithoutMessages(DWORD ms);

#endif
