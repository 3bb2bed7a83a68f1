// Google Benchmark of the round's three costly operations on the stand-in.
// The stand-in draws pixel by pixel, so these time the game and the
// stand-in together; instruction counts come from the callgrind driver.
#include <benchmark/benchmark.h>

#include "scene.h"

namespace {

void BM_MotionTick(benchmark::State& state)
{
    for (auto _ : state) bench::MotionTick();
}
BENCHMARK(BM_MotionTick);

void BM_Strike(benchmark::State& state)
{
    for (auto _ : state) bench::Strike();
}
BENCHMARK(BM_Strike);

void BM_WholeRepaint(benchmark::State& state)
{
    for (auto _ : state) bench::Repaint();
}
BENCHMARK(BM_WholeRepaint);

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    return bench::InRound([] { benchmark::RunSpecifiedBenchmarks(); });
}
