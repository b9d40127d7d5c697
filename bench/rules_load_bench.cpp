// How much the well-formedness check adds to inflating the rules data: the
// loader's inflate-and-check against a bare uncompress of the same resource,
// about 1.5 MB of generated text times DataScale() (generated here, never
// shipped).
#include <benchmark/benchmark.h>

#include "bench/median_reporter.h"

#include <cstdio>
#include <cstdlib>
#include <zlib.h>

#include "bench/data_scale.h"
#include "data/rules_image.h"
#include "data/rules_inflate.h"
#include "tools/packer/rules_pack.h"

namespace {

// Words drawn by a fixed linear congruential sequence, so every run packs the
// same bytes and the text compresses about as well as prose.
std::string GeneratedText(std::uint32_t& state, std::size_t length)
{
    static const char* const words[] = {
        "the", "creature", "gains", "a", "bonus", "on", "saving", "throws", "against", "spells",
        "of", "fire", "and", "cold", "each", "round", "it", "may", "make", "one", "attack",
        "with", "its", "claws", "DC", "15", "+2", "1d6", "per", "level", "range", "feet"};
    std::string text;
    while (text.size() < length) {
        state = state * 1664525u + 1013904223u;
        text += words[(state >> 16) % (sizeof words / sizeof words[0])];
        text += (state & 0x70) == 0 ? ".\r\n" : " ";
    }
    text += "end";
    return text;
}

const std::vector<unsigned char>& BenchmarkResource()
{
    static std::vector<unsigned char> resource;
    if (resource.empty()) {
        std::uint32_t state = 12345;
        std::vector<SourceCategory> categories(7);
        for (std::size_t c = 0; c < categories.size(); ++c) {
            categories[c].name = "Category " + std::to_string(c);
            for (int e = 0; e < 153 * DataScale(); ++e)
                categories[c].entries.push_back(
                    SourceEntry{"Entry " + std::to_string(e), GeneratedText(state, 1400), {}, 0});
        }
        const std::vector<unsigned char> image = BuildRulesImage(categories);
        resource = CompressRulesImage(image);
        std::printf("generated image %zu bytes, resource %zu bytes\n", image.size(), resource.size());
    }
    return resource;
}

void BareUncompress(benchmark::State& state)
{
    const std::vector<unsigned char>& resource = BenchmarkResource();
    const std::size_t size = ReadImageNumber(resource.data());
    for (auto _ : state) {
        auto* block = static_cast<unsigned char*>(std::malloc(size));
        uLongf produced = static_cast<uLongf>(size);
        uncompress(block, &produced, resource.data() + 4, static_cast<uLong>(resource.size() - 4));
        benchmark::DoNotOptimize(block);
        std::free(block);
    }
}

void InflateAndCheck(benchmark::State& state)
{
    const std::vector<unsigned char>& resource = BenchmarkResource();
    for (auto _ : state) {
        const InflatedImage image =
            InflateRulesImage(resource.data(), resource.size(), HeapImageAllocator());
        if (image.status != InflateStatus::ready)
            state.SkipWithError("the generated resource did not load");
        benchmark::DoNotOptimize(image.block);
        std::free(image.block);
    }
}

BENCHMARK(BareUncompress)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(InflateAndCheck)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double bare = reporter.medians["BareUncompress"];
    const double checked = reporter.medians["InflateAndCheck"];
    if (bare > 0 && checked > 0)
        std::printf("inflate-and-check %.3f ms, bare uncompress %.3f ms, ratio %.3f (target 1.10 or less)\n",
                    checked, bare, checked / bare);
    benchmark::Shutdown();
    return 0;
}
