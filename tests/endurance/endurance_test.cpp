// A thousand rounds in one run of the program: a scripted player strikes
// what is out and answers Yes 999 times, then No. After every round the
// drawing objects are back at their baseline and nothing the machine holds
// has grown: windows, timers, queued messages and input, DCs, bitmaps and
// fonts (live or remembered dead), pixels held, log and box records.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "game/game.h"
#include "winsim/winsim.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);

namespace {

constexpr int kRounds = 1000;

std::string Describe(const winsim::Footprint& f)
{
    return "windows " + std::to_string(f.windows) + ", classes " + std::to_string(f.classes) + ", timers " +
           std::to_string(f.timers) + ", posted " + std::to_string(f.posted) + ", scripted " +
           std::to_string(f.scripted) + ", DCs " + std::to_string(f.dcs) + ", bitmaps " +
           std::to_string(f.bitmaps) + ", fonts " + std::to_string(f.fonts) + ", icons " +
           std::to_string(f.icons) + ", log " + std::to_string(f.log) + ", boxes " + std::to_string(f.boxes) +
           ", errors " + std::to_string(f.errors) + ", bytes " + std::to_string(f.heldBytes);
}

bool AtBaseline(const winsim::GdiCounts& live)
{
    return live.bitmaps == 6 && live.fonts == 1 && live.windowDCs == 0 && live.memoryDCs == 0;
}

TEST(Endurance, AThousandRoundsLeaveNothingBehind)
{
    winsim::SetClock(0x2468ACE);
    int questions = 0;
    unsigned lowestScore = 270;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        if (box.flags != 0x24) return IDOK;
        lowestScore = std::min(lowestScore, g_score);
        return ++questions < kRounds ? IDYES : IDNO;
    });

    int rounds = 0, ticks = 0, badTicks = 0;
    unsigned pressCount = 0;
    bool haveBaseline = false;
    winsim::Footprint baseline;
    winsim::SetAfterDispatchHook([&](const MSG& msg) {
        if (msg.message != WM_TIMER || g_phase != PHASE_REMOVAL || winsim::MainWindow() == nullptr) return;
        ++ticks;
        // Cheap checks every tick; a failure is counted, and reported once.
        const winsim::GdiCounts live = winsim::LiveObjects();
        if (!AtBaseline(live) || g_score > 270u) ++badTicks;
        // Strike what is out, a few milliseconds later, near the bottom of
        // the sprite box where a sinking virus still shows.
        for (int i = 0; i < HOLE_COUNT; ++i)
            if (g_holeStage[i] >= 1 && g_holeStage[i] <= 15 && (ticks + i) % 3 == 0) {
                ++pressCount;
                winsim::ScheduleClick(winsim::Now() + 5 + pressCount % 40,
                                      69 + 100 * (i % 3) + static_cast<int>(pressCount % 31), 110 + 60 * (i / 3));
            }
        if (questions == rounds) return;
        // The question's tick has returned after a Yes: one round is over.
        rounds = questions;
        winsim::ClearLog();
        winsim::ClearMessageBoxes();
        const winsim::Footprint now = winsim::MachineFootprint();
        if (!haveBaseline) {
            baseline = now;
            haveBaseline = true;
        }
        ASSERT_TRUE(now == baseline) << "after round " << rounds << ":\n  " << Describe(now) << "\nfirst round:\n  "
                                     << Describe(baseline);
        ASSERT_TRUE(AtBaseline(live)) << "after round " << rounds;
        ASSERT_TRUE(winsim::Errors().empty()) << "after round " << rounds << ": " << winsim::Errors().front();
    });

    static char commandLine[] = "";
    EXPECT_EQ(WinMain(winsim::ModuleHandle(), nullptr, commandLine, 10), 0);
    EXPECT_EQ(questions, kRounds);
    EXPECT_EQ(rounds, kRounds - 1);   // the last one ended with No
    // The detection's tick starts the first round; the last clock tick ends
    // the program and is not counted.
    EXPECT_EQ(ticks, 1 + 300 * kRounds - 1);
    EXPECT_EQ(badTicks, 0);
    EXPECT_GT(lowestScore, 10u) << "the player should remove viruses in every round";
    const winsim::GdiCounts live = winsim::LiveObjects();
    EXPECT_EQ(live.bitmaps + live.fonts + live.windowDCs + live.memoryDCs, 0);
    EXPECT_TRUE(winsim::Errors().empty());
}

}  // namespace
