// How many times the usual amount of generated data a host benchmark runs
// over: VELLUM_BENCH_SCALE (bench.sh sets 1, 4 and 16), 1 when unset.
#pragma once

#include <cstdlib>

inline int DataScale()
{
    const char* text = std::getenv("VELLUM_BENCH_SCALE");
    const int scale = text != nullptr ? std::atoi(text) : 1;
    return scale > 0 ? scale : 1;
}
