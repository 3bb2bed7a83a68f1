// The round's clock, its end, the question and the replay; whole rounds
// played by a scripted player with the invariants checked after every tick.
#include <gtest/gtest.h>

#include "game/game.h"
#include "pictures.h"
#include "support.h"

namespace {

using test::kAny;

// "もう一度挑戦しますか？" after the line break, in code page 932.
const char kTryAgain[] =
    "\x0a\x82\xe0\x82\xa4\x88\xea\x93\x78\x92\xa7\x90\xed\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81\x48";
// "ウィルスは一匹も疑似除去できませんでした。"
const char kNoneRemoved[] =
    "\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xcd\x88\xea\x95\x43\x82\xe0\x8b\x5e\x8e\x97\x8f\x9c"
    "\x8b\x8e\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1\x82\xc5\x82\xb5\x82\xbd\x81\x42";
// " 匹のウィルスを疑似除去しました。"
const char kSomeRemoved[] =
    "\x20\x95\x43\x82\xcc\x83\x45\x83\x42\x83\x8b\x83\x58\x82\xf0\x8b\x5e\x8e\x97\x8f\x9c\x8b"
    "\x8e\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

// The removal tick, sent as the timer would.
void Tick()
{
    WndProc(winsim::MainWindow(), WM_TIMER, TIMER_ID, 0);
}

TEST(Clock, RoundIs300TicksOfWhich270Move)
{
    int motion = 0, clock = 0;
    bool started = false;
    winsim::SetAfterDispatchHook([&](const MSG& msg) {
        if (msg.message != WM_TIMER || (g_phase != PHASE_REMOVAL && g_phase != PHASE_RESULT))
            return;
        if (!started) {
            started = true;  // the detection's tick, which started the round
            return;
        }
        if (g_tick >= 1 && g_tick <= 9)
            ++motion;
        else if (g_tick == 0)
            ++clock;
    });
    EXPECT_EQ(test::RunProgram(), 0);  // the question is answered No
    EXPECT_EQ(motion, 270);
    EXPECT_EQ(clock, 30);
    ASSERT_EQ(winsim::MessageBoxes().size(), 3u);
    // The round's timer started when the second box closed.
    EXPECT_EQ(winsim::MessageBoxes()[2].shownAt, test::kDetection + 2000 + 30000);
}

TEST(Clock, TenthTickMovesNothingAndRepaintsTheTextBand)
{
    test::RunInRound([] {
        g_holeStage[4] = 5;
        g_holeSpeed[4] = 1;
        g_holeHits[4] = 1;
        g_tick = 9;
        winsim::ClearLog();
        Tick();
        EXPECT_EQ(g_holeStage[4], 5);
        EXPECT_EQ(g_tick, 0);
        EXPECT_EQ(g_secondsLeft, 28);
        EXPECT_SEQUENCE(winsim::Log(),
                        (std::vector<test::ExpectedCall>{{"InvalidateRect", {kAny, 0, 0, 390, 60, TRUE}}}),
                        "clock tick");
        EXPECT_TRUE(winsim::IsInvalid(0, 0));
        EXPECT_TRUE(winsim::IsInvalid(389, 59));
        EXPECT_FALSE(winsim::IsInvalid(0, 60));
    });
}

TEST(Clock, OneToZeroStillShowsZeroThenTheRoundEnds)
{
    test::RunInRound([] {
        g_secondsLeft = 1;
        g_tick = 9;
        Tick();
        EXPECT_EQ(g_secondsLeft, 0);
        EXPECT_EQ(g_phase, PHASE_REMOVAL);
        EXPECT_TRUE(winsim::IsInvalid(0, 0));
        UpdateWindow(winsim::MainWindow());
        EXPECT_NE(std::string(g_statusText).find("  0 "), std::string::npos);

        // Nine motion ticks later the count goes below 0.
        g_tick = 9;
        winsim::SetMessageBoxResponder([](const winsim::MessageBoxCall& box) {
            EXPECT_EQ(box.flags, 0x24u);
            EXPECT_EQ(g_phase, PHASE_RESULT);
            return IDYES;
        });
        winsim::ClearLog();
        Tick();
        EXPECT_SEQUENCE(test::CallsNamed(winsim::Log(), {"KillTimer", "InvalidateRect", "MessageBoxA", "SetTimer"}),
                        (std::vector<test::ExpectedCall>{
                            {"KillTimer", {kAny, TIMER_ID}},
                            {"InvalidateRect", {kAny, 0, TRUE}},
                            {"MessageBoxA", {kAny, 0x24}},
                            {"InvalidateRect", {kAny, 0, TRUE}},
                            {"SetTimer", {kAny, TIMER_ID, 100, 0}},
                        }),
                        "end of the round, then the replay");
        KillTimer(winsim::MainWindow(), TIMER_ID);
    });
}

struct QuestionCase {
    const char* name;
    unsigned score;
    std::string text;
};

class Question : public testing::TestWithParam<QuestionCase> {};

TEST_P(Question, TextByScore)
{
    const QuestionCase& c = GetParam();
    std::string asked;
    std::string status;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        if (box.flags == 0x24) {
            asked = box.text;
            status = g_statusText;  // the result screen was painted behind the box
        }
        return IDNO;
    });
    winsim::ScheduleCall(test::kInRound, [&] {
        g_score = c.score;
        g_secondsLeft = 0;
        g_tick = 9;
    });
    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_EQ(asked, c.text);
    EXPECT_LT(asked.size(), 80u);
    EXPECT_EQ(status, c.score == 0 ? std::string(kNoneRemoved)
                                   : std::to_string(c.score) + kSomeRemoved);
}

INSTANTIATE_TEST_SUITE_P(
    Scores, Question,
    testing::Values(QuestionCase{"None", 0, std::string(kNoneRemoved) + kTryAgain},
                    QuestionCase{"One", 1, "1" + std::string(kSomeRemoved) + kTryAgain},
                    QuestionCase{"Most", 270, "270" + std::string(kSomeRemoved) + kTryAgain}),
    [](const testing::TestParamInfo<QuestionCase>& info) { return std::string(info.param.name); });

TEST(Result, NoEndsTheProgramInsideTheTickWithNothingDrawnAfter)
{
    winsim::ScheduleCall(test::kInRound, [] {
        g_secondsLeft = 0;
        g_tick = 9;
        winsim::ClearLog();
    });
    EXPECT_EQ(test::RunProgram(), 0);
    const std::vector<winsim::Call>& log = winsim::Log();
    size_t destroy = log.size();
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].name == "DestroyWindow") {
            destroy = i;
            break;
        }
    ASSERT_LT(destroy, log.size());
    // WM_DESTROY ran nested inside the tick's DestroyWindow.
    bool nestedDestroy = false;
    for (size_t i = destroy + 1; i < log.size(); ++i) {
        const winsim::Call& call = log[i];
        if (call.name == "WndProc" && call.args[0] == WM_DESTROY)
            nestedDestroy = call.depth == log[destroy].depth && call.depth > 0;
        EXPECT_TRUE(call.name != "GetDC" && call.name != "BeginPaint" && call.name != "BitBlt" &&
                    call.name != "TextOutA" && call.name != "SetTimer")
            << "after the window was destroyed: " << test::Describe(call);
    }
    EXPECT_TRUE(nestedDestroy);
    const winsim::GdiCounts live = winsim::LiveObjects();
    EXPECT_EQ(live.bitmaps + live.fonts + live.windowDCs + live.memoryDCs, 0);
    test::ExpectNoStandInErrors();
}

class Replay : public testing::TestWithParam<int> {};

TEST_P(Replay, AnyAnswerButNoStartsANewRoundAtOnce)
{
    const int answer = GetParam();
    int questions = 0;
    DWORD answeredAt = 0;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        if (box.flags != 0x24)
            return IDOK;
        answeredAt = winsim::Now();
        return ++questions == 1 ? answer : IDNO;
    });
    winsim::ScheduleCall(test::kInRound, [] {
        g_score = 4;
        g_secondsLeft = 0;
        g_tick = 9;
        for (int i = 0; i < HOLE_COUNT; ++i) {
            g_holeStage[i] = 10 + i;
            g_holeSpeed[i] = 2;
            g_holeHits[i] = 5;
        }
    });
    bool checked = false;
    winsim::SetAfterDispatchHook([&](const MSG& msg) {
        if (checked || questions != 1 || msg.message != WM_TIMER || winsim::Now() == answeredAt)
            return;  // not the question's own tick, but the first of the new round
        checked = true;
        // The first tick of the new round: 100 ms after the answer, a
        // band-1 virus already out, every other hole cleared; the speeds and
        // hits left from the last round are still there.
        EXPECT_EQ(winsim::Now(), answeredAt + 100);
        EXPECT_EQ(g_phase, PHASE_REMOVAL);
        EXPECT_EQ(g_secondsLeft, 29);
        EXPECT_EQ(g_score, 0u);
        EXPECT_EQ(g_tick, 1);
        int out = 0;
        for (int i = 0; i < HOLE_COUNT; ++i) {
            if (g_holeStage[i] != 0) {
                ++out;
                EXPECT_EQ(g_holeStage[i], 2);
            } else {
                EXPECT_EQ(g_holeSpeed[i], 2);
                EXPECT_EQ(g_holeHits[i], 5);
            }
        }
        EXPECT_EQ(out, 1);
    });
    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_TRUE(checked);
    EXPECT_EQ(questions, 2);
    // The random source was seeded once, at creation.
    EXPECT_EQ(test::CallsNamed(winsim::Log(), {"GetTickCount"}).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Answers, Replay, testing::Values(IDYES, IDOK, IDCANCEL, 0));

// The band's limit on active holes, by seconds left.
int ActiveLimit(int secondsLeft)
{
    return secondsLeft > 20 ? 1 : secondsLeft > 10 ? 2 : 4;
}

// A player who strikes where the state says a virus is out plays two whole
// rounds (Yes, then No); after every tick the round's invariants hold and,
// whenever nothing is waiting to be repainted, the window shows exactly what
// a fresh whole repaint draws.
class ScriptedPlayer : public testing::TestWithParam<DWORD> {};

TEST_P(ScriptedPlayer, InvariantsHoldAfterEveryTick)
{
    winsim::SetClock(GetParam());
    int questions = 0;
    std::vector<unsigned> scores;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxCall& box) {
        if (box.flags != 0x24)
            return IDOK;
        scores.push_back(g_score);
        return ++questions == 1 ? IDYES : IDNO;
    });
    int ticks = 0;
    int compared = 0;
    unsigned pressCount = 0;
    winsim::SetAfterDispatchHook([&](const MSG& msg) {
        if (g_phase != PHASE_REMOVAL || winsim::MainWindow() == nullptr)
            return;
        if (msg.message == WM_TIMER) {
            ++ticks;
            int active = 0;
            for (int i = 0; i < HOLE_COUNT; ++i) {
                const int stage = g_holeStage[i];
                EXPECT_TRUE(stage == 0 || (stage >= 2 && stage <= 16) || (stage >= 18 && stage <= 20))
                    << "hole " << i << " at stage " << stage;
                active += stage >= 1 && stage <= 15;
            }
            EXPECT_LE(active, ActiveLimit(g_secondsLeft));
            EXPECT_LE(g_score, 270u);
            const winsim::GdiCounts live = winsim::LiveObjects();
            EXPECT_EQ(live.bitmaps, 6);
            EXPECT_EQ(live.fonts, 1);
            EXPECT_EQ(live.windowDCs + live.memoryDCs, 0);
            // Strike active holes a little later, near the sprite's bottom
            // where even a sinking virus shows; the player never looks at
            // the bottom row and is slow elsewhere, so viruses also rise,
            // sink and run out unstruck.
            for (int i = 0; i < HOLE_COUNT; ++i)
                if (g_holeStage[i] >= 1 && g_holeStage[i] <= 15 && i < 6 && (ticks + i) % 3 == 0) {
                    ++pressCount;
                    winsim::ScheduleClick(winsim::Now() + 5 + (pressCount % 40),
                                          69 + 100 * (i % 3) + static_cast<int>(pressCount % 31),
                                          110 + 60 * (i / 3));
                }
        }
        if (!winsim::AnythingInvalid()) {
            ++compared;
            const winsim::Picture before = winsim::Screen();
            test::RepaintAll();
            const std::string difference = test::FirstDifference(before, winsim::Screen(), 0, 0, 390, 280);
            EXPECT_EQ(difference, "") << "after message " << msg.message << " at " << winsim::Now();
        }
    });
    EXPECT_EQ(test::RunProgram(), 0);
    EXPECT_EQ(ticks, 600);
    EXPECT_GT(compared, 500);
    ASSERT_EQ(scores.size(), 2u);
    for (unsigned score : scores) {
        EXPECT_GT(score, 10u) << "the player should remove viruses";
        EXPECT_LE(score, 270u);
    }
    test::ExpectNoStandInErrors();
}

INSTANTIATE_TEST_SUITE_P(Seeds, ScriptedPlayer, testing::Values(1u, 0x1234567u, 0xFFFFFF00u));

}  // namespace
