/*
 * winmain.cpp: program entry, the window class, the main window and the
 * message loop.
 */
#include "game/game.h"
#include "resource.h"

/* The style of the main window: a caption with the system menu and a
   minimise button, a fixed dialog frame, and so no resizing. */
#define MAIN_WINDOW_STYLE   (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX)

static const char s_className[] = "MOKTU";

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(WNDCLASSEXA) == 48, "the 32-bit window class is 48 bytes");
#endif

/*
==================
RegisterMainClass
==================
*/
static void RegisterMainClass(HINSTANCE hInstance)
{
    WNDCLASSEXA wc;

    wc.cbSize = sizeof(WNDCLASSEXA);
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = WndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = LoadCursorA(hInstance, MAKEINTRESOURCEA(IDC_MALLET));
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszMenuName = NULL;
    wc.lpszClassName = s_className;
    wc.hIconSm = NULL;
    RegisterClassExA(&wc);
}

/*
==================
CreateMainWindow

Sizes the window so that its client area is exactly 390 by 280 inside the
caption and the dialog frame, and centres that box in a maximised window.
==================
*/
static HWND CreateMainWindow(HINSTANCE hInstance)
{
    int cyFrame = GetSystemMetrics(SM_CYDLGFRAME);
    int cyCaption = GetSystemMetrics(SM_CYCAPTION);
    int cxFrame = GetSystemMetrics(SM_CXDLGFRAME);
    int cyMax = GetSystemMetrics(SM_CYMAXIMIZED);
    int cxMax = GetSystemMetrics(SM_CXMAXIMIZED);
    int width = CLIENT_WIDTH + 2 * cxFrame;
    int height = CLIENT_HEIGHT + cyCaption + 2 * cyFrame;
    int x = (cxMax - CLIENT_WIDTH) / 2;
    int y = (cyMax - CLIENT_HEIGHT) / 2;

    return CreateWindowExA(0, s_className, g_caption, MAIN_WINDOW_STYLE,
                           x, y, width, height, NULL, NULL, hInstance, NULL);
}

/*
==================
WinMain

The command line and the show command are not used: the window always
appears with SW_SHOW. Returns the quit code.
==================
*/
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    HWND hwnd;
    MSG msg;

    (void)hPrevInstance;
    (void)lpCmdLine;
    (void)nCmdShow;

    RegisterMainClass(hInstance);
    g_hInstance = hInstance;    // WM_CREATE loads its bitmaps from here

    hwnd = CreateMainWindow(hInstance);
    if (hwnd == NULL)
        return 0;

    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);

    while (GetMessageA(&msg, NULL, 0, 0) != 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return (int)msg.wParam;
}
