// The callgrind driver: runs one operation N times inside a function of its
// own, so that `valgrind --tool=callgrind --toggle-collect=Counted*` counts
// exactly those instructions. Instruction counts repeat run after run.
//
// usage: moktu_count motion|strike|repaint N
#include <cstdlib>
#include <cstring>
#include <cstdio>

#include "scene.h"

extern "C" {
__attribute__((noinline)) void CountedMotionTicks(int n) { for (int i = 0; i < n; ++i) bench::MotionTick(); }
__attribute__((noinline)) void CountedStrikes(int n) { for (int i = 0; i < n; ++i) bench::Strike(); }
__attribute__((noinline)) void CountedRepaints(int n) { for (int i = 0; i < n; ++i) bench::Repaint(); }
}

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s motion|strike|repaint N\n", argv[0]);
        return 2;
    }
    const int n = std::atoi(argv[2]);
    void (*counted)(int) = std::strcmp(argv[1], "motion") == 0   ? CountedMotionTicks
                           : std::strcmp(argv[1], "strike") == 0 ? CountedStrikes
                           : std::strcmp(argv[1], "repaint") == 0 ? CountedRepaints
                                                                  : nullptr;
    if (counted == nullptr || n <= 0) return 2;
    return bench::InRound([&] { counted(n); });
}
