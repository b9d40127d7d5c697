// The console report of Google Benchmark, keeping each benchmark's median so
// that a benchmark program can print the ratio of two figures of one run.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

class MedianReporter : public benchmark::ConsoleReporter {
public:
    MedianReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.aggregate_name != "median")
                continue;
            medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            nanoseconds[run.run_name.function_name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
        }
    }

    // Each median in the benchmark's own time unit, and in nanoseconds.
    std::map<std::string, double> medians;
    std::map<std::string, double> nanoseconds;
};
