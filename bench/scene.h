// scene.h: the three measured operations of the round, on the stand-in, and
// the way into a round to measure them in.
#ifndef MURVALO_BENCH_SCENE_H
#define MURVALO_BENCH_SCENE_H

#include <functional>

namespace bench {

// Runs the program on the stand-in (logging off) and calls `measure` once the
// first round is on, with the timer stopped and all nine holes busy; then
// closes the window. Returns WinMain's result.
int InRound(const std::function<void()>& measure);

// A motion tick over a busy board: the motion pass, with every hole that it
// empties given a new virus at once, so that all nine stay busy.
void MotionTick();
// A strike that leaves the virus standing (two hits to one), on the centre hole.
void Strike();
// The whole client area invalidated and repainted at once, in the round.
void Repaint();

}  // namespace bench

#endif
