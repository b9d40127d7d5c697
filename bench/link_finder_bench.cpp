// The link finder over the shipped rules: building it from every title, and
// finding the links of every body, against a baseline that reads each body
// once with the search's case-folding word test. Then the time of each
// entry's FindLinks on its own: mean, median and 90th percentile. The same
// again with generated titles added up to 10,000, as house rules may bring.
#include <benchmark/benchmark.h>

#include "bench/median_reporter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "data/rules_image.h"
#include "pane/link_finder.h"
#include "pane/word_match.h"
#include "tools/packer/rules_pack.h"

namespace {

struct Body {
    int category;
    int entry;
    std::string_view text;
};

// The shipped rules installed once, with every body and the titles by category.
struct ShippedRules {
    std::vector<unsigned char> image;
    TitleSet titles;
    TitleSet manyTitles;  // the shipped ones, then generated ones up to 10,000
    std::vector<Body> bodies;
    std::size_t bodyBytes = 0;
};

const ShippedRules& Rules()
{
    static ShippedRules rules;
    if (!rules.image.empty())
        return rules;
    std::ifstream in(VELLUM_RULES_RESOURCE, std::ios::binary);
    const std::vector<unsigned char> resource{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
    std::string error;
    if (!ExpandRulesResource(resource, rules.image, error)) {
        std::fprintf(stderr, "%s: %s\n", VELLUM_RULES_RESOURCE, error.c_str());
        std::exit(1);
    }
    SetRulesImage(rules.image.data());
    std::size_t titleCount = 0;
    for (int c = 0; c < GetCategoryCount(); ++c) {
        rules.titles.categoryNames.emplace_back(GetCategoryName(c));
        rules.titles.titles.emplace_back();
        for (int e = 0; e < GetEntryCount(c); ++e) {
            rules.titles.titles.back().emplace_back(GetEntryTitle(c, e));
            const char* body = GetEntryBody(c, e);
            rules.bodies.push_back({c, e, std::string_view(body, std::strlen(body))});
            rules.bodyBytes += rules.bodies.back().text.size();
            ++titleCount;
        }
    }
    rules.manyTitles = rules.titles;
    rules.manyTitles.categoryNames.emplace_back("House Rules");
    rules.manyTitles.titles.emplace_back();
    for (std::size_t k = titleCount; k < 10000; ++k)
        rules.manyTitles.titles.back().push_back("House Rule " + std::to_string(k) +
                                                 " of the Storm");
    std::printf("shipped rules: %zu titles, %zu bodies, %zu bytes of bodies\n", titleCount,
                rules.bodies.size(), rules.bodyBytes);
    return rules;
}

const LinkFinder& Finder(const TitleSet& titles)
{
    static std::vector<std::pair<const TitleSet*, LinkFinder>> built;
    for (const auto& finder : built) {
        if (finder.first == &titles)
            return finder.second;
    }
    built.emplace_back(&titles, LinkFinder());
    built.back().second.Build(titles);
    return built.back().second;
}

std::size_t FindAllLinks(const LinkFinder& finder)
{
    std::size_t links = 0;
    for (const Body& body : Rules().bodies)
        links += finder.FindLinks(body.category, body.entry, body.text).size();
    return links;
}

// One pass over every body: a word that is in none of them, so each body is
// read to its end.
void BaselineScan(benchmark::State& state)
{
    const char word[] = "thunderquill";
    for (auto _ : state) {
        int found = 0;
        for (const Body& body : Rules().bodies)
            found += TextHasWord(body.text.data(), body.text.size(), word, sizeof word - 1);
        benchmark::DoNotOptimize(found);
    }
}

void BuildFinder(benchmark::State& state)
{
    for (auto _ : state) {
        LinkFinder finder;
        finder.Build(Rules().titles);
        benchmark::DoNotOptimize(finder);
    }
}

void FindLinks(benchmark::State& state)
{
    const LinkFinder& finder = Finder(Rules().titles);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindAllLinks(finder));
}

void BuildFinder10000(benchmark::State& state)
{
    for (auto _ : state) {
        LinkFinder finder;
        finder.Build(Rules().manyTitles);
        benchmark::DoNotOptimize(finder);
    }
}

void FindLinks10000(benchmark::State& state)
{
    const LinkFinder& finder = Finder(Rules().manyTitles);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindAllLinks(finder));
}

BENCHMARK(BaselineScan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BuildFinder)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(FindLinks)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BuildFinder10000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(FindLinks10000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Each entry's FindLinks timed on its own, the best of a few rounds so that
// a stray interruption does not count; the figures are over the entries. An
// entry read again finds its body in the cache, so these run below the whole
// pass's time divided by the entries.
void PrintPerEntryFigures(const char* what, const LinkFinder& finder)
{
    constexpr int rounds = 7;
    std::vector<double> micros;
    for (const Body& body : Rules().bodies) {
        double best = 0;
        for (int r = 0; r < rounds; ++r) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(finder.FindLinks(body.category, body.entry, body.text));
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            best = r == 0 ? took.count() : std::min(best, took.count());
        }
        micros.push_back(best);
    }
    double total = 0;
    for (const double m : micros)
        total += m;
    std::sort(micros.begin(), micros.end());
    std::printf(
        "%s, per entry: mean %.1f us, median %.1f us, 90th percentile %.1f us, most %.1f us\n",
        what, total / static_cast<double>(micros.size()), micros[micros.size() / 2],
        micros[micros.size() * 9 / 10], micros.back());
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double baseline = reporter.medians["BaselineScan"];
    const double find = reporter.medians["FindLinks"];
    const double find10000 = reporter.medians["FindLinks10000"];
    const double entries = static_cast<double>(Rules().bodies.size());
    if (baseline > 0 && find > 0)
        std::printf("links of every body %.3f ms (%.1f us an entry), baseline scan %.3f ms, "
                    "ratio %.1f\n",
                    find, find * 1000 / entries, baseline, find / baseline);
    if (baseline > 0 && find10000 > 0)
        std::printf("with 10,000 titles %.3f ms, ratio %.1f\n", find10000, find10000 / baseline);
    if (reporter.medians.count("BuildFinder") != 0)
        std::printf("building over the shipped titles %.3f ms, over 10,000 titles %.3f ms\n",
                    reporter.medians["BuildFinder"], reporter.medians["BuildFinder10000"]);
    PrintPerEntryFigures("shipped titles", Finder(Rules().titles));
    PrintPerEntryFigures("10,000 titles", Finder(Rules().manyTitles));
    benchmark::Shutdown();
    return 0;
}
