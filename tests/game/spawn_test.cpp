// The random source and the spawn step: bands, limits, and the number and
// order of draws. The spawn step is a rule of the state alone, so these run
// without a window.
#include <gtest/gtest.h>

#include "game/game.h"

namespace {

TEST(GameRandom, FirstDrawsForSomeSeeds)
{
    struct Case {
        DWORD seed;
        int draws[3];
    };
    // state = state * 214013 + 2531011, bits 16 to 30 of the new state.
    static const Case kCases[] = {
        {0, {38, 7719, 21238}},
        {1, {41, 18467, 6334}},
        {0xFFFFFFFF, {35, 29739, 3374}},
        {12345, {7584, 19164, 25795}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.seed);
        SeedGameRandom(c.seed);
        for (int expected : c.draws)
            EXPECT_EQ(GameRandom(), expected);
    }
}

constexpr int kUntouched = 9;
constexpr int kNone = -1;

struct SpawnCase {
    const char* name;
    int secondsLeft;
    int stages[HOLE_COUNT];
    DWORD seed;
    int nextDraw;      // the draw after the step: shows how many it took
    int placed;        // the hole that got stage 1, or kNone
    int hits, speed;
};

// Seeds are chosen so that the first draw targets hole 4 (draw mod 9) and
// the following draws give the hits and speed named.
const SpawnCase kSpawn[] = {
    // seed 6: 58, 6673, 30119, 15745 -> hole 4, hits 1, speed 1
    {"Band1Places", 29, {0}, 6, 6673, 4, 1, 1},
    // seed 3793: 12424, 13032, 15816, 15706 -> hits 2 and speed 2 in the later bands
    {"Band1At21TakesOneDraw", 21, {0}, 3793, 13032, 4, 1, 1},
    {"Band1OneActiveStopsBeforeAnyDraw", 29, {5}, 6, 58, kNone, 0, 0},
    {"Band1SunkVirusIsNotActive", 29, {16}, 6, 6673, 4, 1, 1},
    {"Band1TargetAtStage16GetsNothing", 29, {0, 0, 0, 0, 16}, 6, 6673, kNone, 0, 0},
    {"Band1TargetHoldingACrossGetsNothing", 29, {0, 0, 0, 0, 19}, 6, 6673, kNone, 0, 0},
    {"Band2At20", 20, {0}, 3793, 15706, 4, 2, 2},
    // seed 7001: 22900, 21984, 12846, 9408, 518 -> hits 2, speed 1, six-hit test passes
    {"Band2At11NeverSixHits", 11, {0}, 7001, 9408, 4, 2, 1},
    {"Band2OneActiveAllowsOneMore", 15, {3}, 6, 15745, 4, 1, 1},
    {"Band2TwoActiveStop", 15, {3, 0, 0, 0, 0, 0, 0, 0, 15}, 6, 58, kNone, 0, 0},
    {"Band3At10SixHits", 10, {0}, 7001, 518, 4, 6, 1},
    // seed 505: 1687, 28944, 31444, 30250, 7603 -> hits 2, speed 1, test fails
    {"Band3At0HitsTwo", 0, {0}, 505, 7603, 4, 2, 1},
    // seed 108: 391, 21667, 17256, 12603 -> hits 1, speed 2
    {"Band3FastVirusHasNoSixHitTest", 5, {0}, 108, 12603, 4, 1, 2},
    // seed 53: 211, 20329, 17767, 32608 -> hits 1, speed 1; 32608 would pass the test
    {"Band3OneHitVirusHasNoSixHitTest", 5, {0}, 53, 32608, 4, 1, 1},
    {"Band3HitsTwoSpeedTwo", 3, {0}, 3793, 15706, 4, 2, 2},
    {"Band3ThreeActiveAllowOneMore", 5, {2, 9, 14, 0, 0, 18, 20, 16, 0}, 6, 15745, 4, 1, 1},
    {"Band3FourActiveStop", 5, {2, 9, 14, 15, 0, 18, 20, 16, 0}, 6, 58, kNone, 0, 0},
};

class Spawn : public testing::TestWithParam<SpawnCase> {};

TEST_P(Spawn, PlacesByBandAndLimit)
{
    const SpawnCase& c = GetParam();
    g_secondsLeft = c.secondsLeft;
    for (int i = 0; i < HOLE_COUNT; ++i) {
        g_holeStage[i] = c.stages[i];
        g_holeHits[i] = kUntouched;
        g_holeSpeed[i] = kUntouched;
    }
    SeedGameRandom(c.seed);

    SpawnStep();

    EXPECT_EQ(GameRandom(), c.nextDraw) << "the step took the wrong number of draws";
    for (int i = 0; i < HOLE_COUNT; ++i) {
        SCOPED_TRACE("hole " + std::to_string(i));
        if (i == c.placed) {
            EXPECT_EQ(g_holeStage[i], 1);
            EXPECT_EQ(g_holeHits[i], c.hits);
            EXPECT_EQ(g_holeSpeed[i], c.speed);
        } else {
            EXPECT_EQ(g_holeStage[i], c.stages[i]);
            EXPECT_EQ(g_holeHits[i], kUntouched);
            EXPECT_EQ(g_holeSpeed[i], kUntouched);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, Spawn, testing::ValuesIn(kSpawn),
                         [](const testing::TestParamInfo<SpawnCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
