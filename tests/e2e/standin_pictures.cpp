// standin_pictures: runs the game once on the stand-in and writes what its
// client area shows at the moments that the Wine tests photograph, so that
// they can compare the real program's screen with the stand-in's drawing of
// the same bitmap files.
//
//   standin_pictures DIR
//
// Writes into DIR, as binary PPM files of the client area (390 x 280):
//   logo.ppm        the opening's logo alone (its first pause)
//   closed.ppm      the closed shutters (the first of the ten last pauses)
//   search-K.ppm    the search screen after the repaint of search tick K (0-7)
//   found.ppm       the detection screen behind the first box
//   board.ppm       the removal screen with the empty board, before any tick
//   sprites.ppm     a board set by hand: blue, red, shield and six-hit viruses
//                   at stage 8, a cross, viruses rising and sinking, empty holes
//   result.ppm      the result screen behind the question
// and cells.ppm, a catalogue of every look of one hole frame (48 x 48 each):
// rows for the blue (1 hit), red (2 hits) and shield (3 hits) viruses, each
// with stages 0 to 16 from left to right, and a last row whose first cell is
// the cross. Exits non-zero if a moment was missed or the stand-in saw misuse.
#include <cstdio>
#include <functional>
#include <set>
#include <string>

#include "game/board.h"
#include "game/game.h"
#include "winsim/winsim.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace {

constexpr int kStages = 17;                  // 0 to 16
constexpr int kVirusHits[] = {1, 2, 3};      // blue, red, shield
constexpr int kCrossStage = 18;

std::string g_dir;
std::set<std::string> g_written;
bool g_failed = false;

bool WritePpm(const std::string& name, int width, int height,
              const std::function<std::uint32_t(int, int)>& pixel)
{
    const std::string path = g_dir + "/" + name;
    FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::fprintf(stderr, "standin_pictures: cannot write %s\n", path.c_str());
        g_failed = true;
        return false;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = pixel(x, y);
            const unsigned char rgb[3] = {static_cast<unsigned char>(c >> 16),
                                          static_cast<unsigned char>(c >> 8),
                                          static_cast<unsigned char>(c)};
            std::fwrite(rgb, 1, 3, f);
        }
    const bool ok = std::fclose(f) == 0;
    g_failed = g_failed || !ok;
    g_written.insert(name);
    return ok;
}

// The screen as it is now, once per name: the first moment counts.
void SaveScreen(const std::string& name)
{
    if (g_written.count(name))
        return;
    const winsim::Picture& screen = winsim::Screen();
    WritePpm(name, screen.width, screen.height, [&](int x, int y) { return screen.At(x, y); });
}

void RepaintAll()
{
    InvalidateRect(winsim::MainWindow(), nullptr, TRUE);
    UpdateWindow(winsim::MainWindow());
}

void SetHole(int hole, int stage, int hits)
{
    g_holeStage[hole] = stage;
    g_holeHits[hole] = hits;
    g_holeSpeed[hole] = 1;
}

// Every look of hole 0, each from a whole repaint, laid out in one picture.
void SaveCellCatalogue()
{
    constexpr int kRows = 4;
    winsim::Picture cells;
    cells.width = kStages * HOLE_SIZE;
    cells.height = kRows * HOLE_SIZE;
    cells.pixels.assign(static_cast<size_t>(cells.width) * cells.height, 0xFFFFFF);
    auto copyHole0 = [&](int column, int row) {
        const winsim::Picture& screen = winsim::Screen();
        for (int y = 0; y < HOLE_SIZE; ++y)
            for (int x = 0; x < HOLE_SIZE; ++x)
                cells.pixels[static_cast<size_t>(row * HOLE_SIZE + y) * cells.width +
                             column * HOLE_SIZE + x] = screen.At(HoleFrameX(0) + x, HoleFrameY(0) + y);
    };
    for (int row = 0; row < 3; ++row)
        for (int stage = 0; stage < kStages; ++stage) {
            SetHole(0, stage, kVirusHits[row]);
            RepaintAll();
            copyHole0(stage, row);
        }
    SetHole(0, kCrossStage, 0);
    RepaintAll();
    copyHole0(0, 3);
    WritePpm("cells.ppm", cells.width, cells.height, [&](int x, int y) { return cells.At(x, y); });
}

void SaveSpriteBoard()
{
    SetHole(0, 8, 1);             // blue, whole
    SetHole(1, 8, 2);             // red, whole
    SetHole(2, 8, 3);             // shield, whole
    SetHole(3, kCrossStage, 0);   // cross
    SetHole(4, 8, 6);             // six hits: looks red
    SetHole(5, 3, 1);             // rising: its top 12 rows at the bottom of the box
    SetHole(6, 13, 2);            // sinking
    SetHole(7, 0, 1);             // empty
    SetHole(8, 16, 3);            // sunk out of sight
    RepaintAll();
    SaveScreen("sprites.ppm");
}

// Inside the first round, with the timer stopped so that nothing moves:
// the pictures set by hand, then the round goes on from an empty board.
void InRound()
{
    HWND hwnd = winsim::MainWindow();
    KillTimer(hwnd, TIMER_ID);
    SaveSpriteBoard();
    SaveCellCatalogue();
    for (int hole = 0; hole < HOLE_COUNT; ++hole)
        SetHole(hole, 0, 1);
    RepaintAll();
    SetTimer(hwnd, TIMER_ID, 100, nullptr);
}

void AfterDispatch(const MSG& msg)
{
    if (msg.message != WM_PAINT)
        return;
    if (g_phase == PHASE_SEARCH && g_tick >= 0 && g_tick < 8)
        SaveScreen("search-" + std::to_string(g_tick) + ".ppm");
    else if (g_phase == PHASE_FOUND)
        SaveScreen("found.ppm");
    else if (g_phase == PHASE_REMOVAL && !g_written.count("board.ppm")) {
        SaveScreen("board.ppm");
        winsim::ScheduleCall(winsim::Now() + 1, InRound);
    } else if (g_phase == PHASE_RESULT)
        SaveScreen("result.ppm");
}

void DuringOpening(const winsim::Call& call)
{
    if (call.name != "MsgWaitForMultipleObjects" || call.args.size() < 4)
        return;
    if (call.args[3] == 1200)
        SaveScreen("logo.ppm");
    else if (call.args[3] == 200)
        SaveScreen("closed.ppm");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: standin_pictures DIR\n");
        return 2;
    }
    g_dir = argv[1];
    winsim::SetCallHook(DuringOpening);
    winsim::SetAfterDispatchHook(AfterDispatch);
    // Every box is answered at once: OK, then No at the first question.
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxCall& box) {
        return (box.flags & MB_YESNO) ? IDNO : IDOK;
    });
    static char commandLine[] = "";
    const int code = WinMain(winsim::ModuleHandle(), nullptr, commandLine, SW_SHOWDEFAULT);

    const char* const expected[] = {"logo.ppm",     "closed.ppm",   "search-0.ppm", "search-1.ppm",
                                    "search-2.ppm", "search-3.ppm", "search-4.ppm", "search-5.ppm",
                                    "search-6.ppm", "search-7.ppm", "found.ppm",    "board.ppm",
                                    "sprites.ppm",  "cells.ppm",    "result.ppm"};
    for (const char* name : expected)
        if (!g_written.count(name)) {
            std::fprintf(stderr, "standin_pictures: %s was never shown\n", name);
            g_failed = true;
        }
    for (const std::string& error : winsim::Errors()) {
        std::fprintf(stderr, "standin_pictures: stand-in: %s\n", error.c_str());
        g_failed = true;
    }
    if (code != 0) {
        std::fprintf(stderr, "standin_pictures: WinMain returned %d\n", code);
        g_failed = true;
    }
    return g_failed ? 1 : 0;
}
