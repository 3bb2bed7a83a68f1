// support.h: what the game's host tests share: running the program on the
// stand-in, and comparing its calls with tables.
#ifndef MURVALO_TESTS_SUPPORT_H
#define MURVALO_TESTS_SUPPORT_H

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "winsim/winsim.h"

namespace test {

// Virtual times of the program's milestones with the stand-in's defaults:
// the opening tick at 256 ms plays 3,630 ms of pauses; eight search ticks of
// 256 ms follow; the detection's boxes are each up for the hold time.
constexpr DWORD kOpeningTick = 256;
constexpr DWORD kOpeningEnd = kOpeningTick + 3630;
constexpr DWORD kDetection = kOpeningEnd + 8 * 256;
// In the first round, after the two boxes.
constexpr DWORD kInRound = kDetection + 2 * 1000 + 50;

// Runs WinMain on the stand-in, as the start-up code would, and returns its
// result: the program's exit code.
int RunProgram(int nCmdShow = 10);

// Runs the program, calls `during` once the round is on, with the timer
// stopped so that nothing moves unless the test moves it, then closes the
// window; fails the test on any misuse the stand-in saw.
void RunInRound(const std::function<void()>& during);

// Repaints the whole window from the state, at once.
void RepaintAll();

// An argument of an expected call that is not compared.
constexpr std::intptr_t kAny = INTPTR_MIN;

struct ExpectedCall {
    const char* name;
    std::vector<std::intptr_t> args;  // compared as far as given; kAny skips one
    std::string text = {};            // compared when not empty
};

// The calls of the log with one of these names, in order.
std::vector<winsim::Call> CallsNamed(const std::vector<winsim::Call>& log,
                                     std::initializer_list<const char*> names);
// The calls made while the first delivery of that message to the window
// procedure was handled.
std::vector<winsim::Call> CallsInside(const std::vector<winsim::Call>& log, UINT message);

void ExpectSequence(const std::vector<winsim::Call>& actual,
                    const std::vector<ExpectedCall>& expected, const std::string& context,
                    const char* file, int line);

std::string Describe(const winsim::Call& call);

// No misuse of GDI objects and no impossible situation so far.
void ExpectNoStandInErrors();

// The program's windows and bitmaps as the stand-in holds them.
std::intptr_t Handle(const void* handle);

}  // namespace test

#define EXPECT_SEQUENCE(actual, expected, context) \
    ::test::ExpectSequence((actual), (expected), (context), __FILE__, __LINE__)

#endif
