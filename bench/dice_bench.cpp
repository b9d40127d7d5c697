// The dice generator's time per draw against the library's MT19937 in the
// same run, and the largest roll the dialog can ask for: 999 dice of 100
// sides, 999 times (998,001 draws, 1,000 lines).
#include <benchmark/benchmark.h>

#include "bench/median_reporter.h"

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "dice/dice_engine.h"

namespace {

constexpr int drawsPerIteration = 100000;

void DiceGeneratorWords(benchmark::State& state)
{
    SeedDiceGenerator(4357);
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (int i = 0; i < drawsPerIteration; ++i)
            sum += NextDiceWord();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * drawsPerIteration);
}

void StdMt19937Words(benchmark::State& state)
{
    std::mt19937 generator(4357);
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (int i = 0; i < drawsPerIteration; ++i)
            sum += static_cast<std::uint32_t>(generator());
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * drawsPerIteration);
}

void DiceGeneratorFaces(benchmark::State& state)
{
    SeedDiceGenerator(4357);
    for (auto _ : state) {
        int sum = 0;
        for (int i = 0; i < drawsPerIteration; ++i)
            sum += RollDie(100);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * drawsPerIteration);
}

void LargestRoll(benchmark::State& state)
{
    SeedDiceGenerator(4357);
    const RollRequest request = {999, 100, 999, 999};
    std::size_t lines = 0;
    for (auto _ : state) {
        lines = 0;
        RollDice(request, [&lines](const char* line) {
            benchmark::DoNotOptimize(line);
            ++lines;
        });
    }
    if (lines != 1000)
        state.SkipWithError("the largest roll did not give 1,000 lines");
    state.counters["lines"] = static_cast<double>(lines);
}

BENCHMARK(DiceGeneratorWords)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(StdMt19937Words)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(DiceGeneratorFaces)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(LargestRoll)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void PrintDrawFigures(std::map<std::string, double>& medians)
{
    const double ours = medians["DiceGeneratorWords"] / drawsPerIteration;
    const double library = medians["StdMt19937Words"] / drawsPerIteration;
    const double face = medians["DiceGeneratorFaces"] / drawsPerIteration;
    if (ours <= 0 || library <= 0)
        return;
    std::printf("dice generator %.2f ns per draw (%.0f million draws/s), std::mt19937 %.2f ns "
                "(%.0f million/s): ratio %.2f (target 1.20 or less)\n",
                ours, 1e3 / ours, library, 1e3 / library, ours / library);
    if (face > 0)
        std::printf("one d100 face %.2f ns (%.0f million/s)\n", face, 1e3 / face);
}

void PrintLargestRoll(std::map<std::string, double>& medians)
{
    const double largest = medians["LargestRoll"];
    if (largest > 0)
        std::printf("largest roll, 999d100+999 x 999 (998,001 draws, 1,000 lines): %.2f ms\n",
                    largest / 1e6);
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    PrintDrawFigures(reporter.nanoseconds);
    PrintLargestRoll(reporter.nanoseconds);
    benchmark::Shutdown();
    return 0;
}
