// The full-body search engine over one category of 541 entries and about
// 1 MB of bodies, times DataScale() (generated here, never shipped), against
// a baseline that scans the category's bytes once per word with the same
// case-folding substring search.
#include <benchmark/benchmark.h>

#include "bench/median_reporter.h"

#include <cstdio>
#include <cstring>

#include "bench/data_scale.h"
#include "data/rules_image.h"
#include "pane/word_match.h"
#include "search/search_engine.h"
#include "search/title_rows.h"
#include "tools/packer/rules_pack.h"

namespace {

// Every body holds "storm" and "ward"; "frost" is only in some titles, so the
// negated word scans most bodies to their end.
const char query[] = "storm ward -frost";
const char* const queryWords[] = {"storm", "ward", "frost"};

// The sentences and title words of the benchmark rules that the Win32
// benchmarks embed, so that both measure the same kind of text.
const char* const sentences[] = {
    "The creature gains a bonus on saving throws against fire and cold while the effect lasts.",
    "Each round the caster may direct the storm at one new target within range.",
    "A wall of thorns rises from the ground and blocks movement through its squares.",
    "Ice forms on every surface in the area, and creatures moving there must check their balance.",
    "The burst deals one die of damage per caster level to everything inside the spread.",
    "Anyone who touches the glowing runes takes damage and is pushed back five feet.",
    "The ward holds until it has absorbed its full measure of harm or the duration ends.",
    "Stone softens under the spell and reshapes itself to the caster's will.",
    "Light pours from the focus and drives back magical darkness of lower level.",
    "Beasts within the area grow calm and will not attack unless they are attacked first.",
    "The target must succeed on a Will save or stand dazed for one round.",
    "Wind howls through the area, knocking small flying creatures out of the sky.",
    "A shimmering field surrounds the subject and deflects the first arrow that would strike it.",
    "Water in the area freezes solid to a depth of one foot per caster level.",
    "The spell reveals hidden doors, traps and invisible creatures within the cone.",
    "Flames dance along the weapon and add fire damage to each hit it lands."};
const char* const titleWords[] = {"Acid",   "Blaze", "Chill", "Dawn", "Ember", "Frost", "Gale",
                                  "Hollow", "Iron",  "Jade",  "Keen", "Lunar", "Mist",  "Night",
                                  "Oak",    "Pale",  "Quake", "Rime", "Storm", "Thorn", "Umber",
                                  "Veil",   "Ward",  "Xylem", "Yew",  "Zephyr"};
constexpr int entryCount = 541;

SourceEntry GeneratedEntry(int e)
{
    SourceEntry entry;
    entry.title = std::string(titleWords[(e * 7) % 26]) + " " + titleWords[(e * 11 + 3) % 26] +
                  " " + std::to_string(e);
    for (int k = 0; k < 22; ++k)
        entry.body += std::string(sentences[(e * 5 + k * 3) % 16]) + " ";
    entry.body += "end";
    return entry;
}

const std::vector<unsigned char>& InstallBenchmarkImage()
{
    static std::vector<unsigned char> image;
    if (image.empty()) {
        std::vector<SourceCategory> categories(1);
        categories[0].name = "Spells";
        for (int e = 0; e < entryCount * DataScale(); ++e)
            categories[0].entries.push_back(GeneratedEntry(e));
        SortEntries(categories[0].entries);
        image = BuildRulesImage(categories);
        SetRulesImage(image.data());
        std::size_t bodies = 0;
        for (int e = 0; e < GetEntryCount(0); ++e)
            bodies += std::strlen(GetEntryBody(0, e));
        TitleRows rows(0);
        ApplyQuery(rows, query);
        std::printf("generated image %zu bytes: %d entries, %zu bytes of bodies; \"%s\" keeps %d\n",
                    image.size(), GetEntryCount(0), bodies, query, rows.CountRows());
    }
    return image;
}

// Each word against every entry's title and body, nothing kept or deleted.
void BaselineScan(benchmark::State& state)
{
    InstallBenchmarkImage();
    for (auto _ : state) {
        int found = 0;
        for (const char* word : queryWords) {
            const std::size_t n = std::strlen(word);
            for (int e = 0; e < GetEntryCount(0); ++e) {
                const char* title = GetEntryTitle(0, e);
                const char* body = GetEntryBody(0, e);
                found += TextHasWord(title, std::strlen(title), word, n) ||
                         TextHasWord(body, std::strlen(body), word, n);
            }
        }
        benchmark::DoNotOptimize(found);
    }
}

// The rows listed from the titles, then the query applied to them.
void SearchEngine(benchmark::State& state)
{
    InstallBenchmarkImage();
    for (auto _ : state) {
        TitleRows rows(0);
        ApplyQuery(rows, query);
        benchmark::DoNotOptimize(rows.CountRows());
    }
}

BENCHMARK(BaselineScan)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(SearchEngine)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double baseline = reporter.medians["BaselineScan"];
    const double engine = reporter.medians["SearchEngine"];
    if (baseline > 0 && engine > 0)
        std::printf(
            "search engine %.3f ms, baseline scan %.3f ms, ratio %.2f (target 3.00 or less)\n",
            engine, baseline, engine / baseline);
    benchmark::Shutdown();
    return 0;
}
