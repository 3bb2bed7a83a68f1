/*
 * startup.cpp: the process entry of MOKTU.EXE.
 *
 * The program needs nothing of a C run-time library, so the Windows build
 * links none and starts here instead: this is all the start-up a GUI
 * program needs, and it keeps the whole program, resources included, well
 * inside 32 KB.
 */
#include "app/platform.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

/*
==================
SkipProgramName

The command line after the program's name: a quoted or unquoted first word
and the blanks that follow it are skipped.
==================
*/
static LPSTR SkipProgramName(LPSTR cmd)
{
    if (*cmd == '"') {
        cmd++;
        while (*cmd != '\0' && *cmd != '"')
            cmd++;
        if (*cmd == '"')
            cmd++;
    } else {
        while (*cmd > ' ')
            cmd++;
    }
    while (*cmd != '\0' && *cmd <= ' ')
        cmd++;
    return cmd;
}

/*
==================
WinMainCRTStartup

Calls WinMain as a GUI program's start-up does and exits with its result.
==================
*/
extern "C" void WINAPI WinMainCRTStartup(void)
{
    STARTUPINFOA si;
    int nCmdShow = SW_SHOWDEFAULT;

    si.dwFlags = 0;
    GetStartupInfoA(&si);
    if (si.dwFlags & STARTF_USESHOWWINDOW)
        nCmdShow = si.wShowWindow;
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, SkipProgramName(GetCommandLineA()), nCmdShow));
}
