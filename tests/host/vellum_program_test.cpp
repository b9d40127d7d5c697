// The terminal program as users and scripts run it: its exit codes, its
// searches and filters against the core's engine over the shipped rules, its
// rolls against the dice engine, its JSON, other rules read with --rules,
// and untrusted input.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

#include "data/rules_image.h"
#include "dice/dice_engine.h"
#include "search/search_engine.h"
#include "search/title_rows.h"
#include "tests/host/test_images.h"
#include "tests/host/test_programs.h"
#include "tools/packer/cp1252.h"
#include "tools/packer/rules_pack.h"

namespace {

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string Quoted(const std::string& argument)
{
    std::string quoted = "'";
    for (const char c : argument)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Named for this process: another test run may be using the same folder.
std::string WorkPath(const std::string& name)
{
    return ::testing::TempDir() + "vellum-test-" + std::to_string(getpid()) + "-" + name;
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// Runs vellum with the arguments through sh; the suffix is added to the
// command line as it is (a redirection, a pipe).
ProgramRun RunVellum(const std::vector<std::string>& arguments, const std::string& suffix = "")
{
    std::string command = Quoted(VELLUM_PROGRAM);
    for (const std::string& argument : arguments)
        command += " " + Quoted(argument);
    const std::string out = WorkPath("out.txt");
    const std::string err = WorkPath("err.txt");
    command += " 2>" + Quoted(err) + (suffix.empty() ? " >" + Quoted(out) : " " + suffix);
    ProgramRun run;
    const int status = std::system(command.c_str());
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadText(out);
    run.err = ReadText(err);
    std::remove(out.c_str());
    return run;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Utf8(const std::string& cp1252)
{
    std::string utf8;
    std::string error;
    EXPECT_TRUE(ConvertCp1252ToUtf8(cp1252, utf8, error)) << error;
    return utf8;
}

// The shipped rules installed in this process, as the program has them.
class VellumOverShippedRules : public ShippedImageTest {
  protected:
    // The program's grouped output: each category's name and its titles.
    static std::map<std::string, std::vector<std::string>> Groups(const std::string& out)
    {
        std::map<std::string, std::vector<std::string>> groups;
        std::string category;
        for (const std::string& line : Lines(out)) {
            if (line.rfind("  ", 0) == 0)
                groups[category].push_back(line.substr(2));
            else if (!line.empty())
                category = line;
        }
        return groups;
    }
};

struct ExitCase {
    std::vector<std::string> arguments;
    int exitCode;
};

TEST(VellumProgram, ExitsWithTheCodeOfWhatHappened)
{
    const ExitCase cases[] = {
        {{"categories"}, 0},
        {{"list", "Feats"}, 0},
        {{"list", "feats", "--count"}, 0},
        {{"show", "toughness"}, 0},
        {{"show", "Keeper\xE2\x80\x99s Ward"}, 0},
        {{"show", "Keeper\x92s Ward"}, 0},
        {{"show", "No Such Entry"}, 1},
        {{"show", "\xFF\xFE\x80"}, 1},
        {{"show", ""}, 1},
        {{"find", "zzqqxx"}, 1},
        {{"find", "\xF0\x9F\x8E\xB2"}, 1},
        {{"find", std::string(10000, 'a')}, 1},
        {{"filter", std::string(10000, ' ')}, 0},
        {{"find", ""}, 0},
        {{"roll", "d20", "--seed", "1"}, 0},
        {{"--version"}, 0},
        {{"find", "--help"}, 0},
        {{}, 2},
        {{"bogus"}, 2},
        {{"find"}, 2},
        {{"list", "nosuch"}, 2},
        {{"show", "Toughness", "-c", "\xFF"}, 2},
        {{"roll", "3d7"}, 2},
        {{"roll", "d20", "--seed", "-1"}, 2},
        {{"list", "--color", "sometimes"}, 2},
        {{"list", "--rules", "/nonexistent/rules.bin"}, 3},
        {{"--rules", "/", "categories"}, 3},
    };
    for (const ExitCase& c : cases) {
        std::string what;
        for (const std::string& argument : c.arguments)
            what += " [" + argument.substr(0, 20) + "]";
        EXPECT_EQ(RunVellum(c.arguments).exitCode, c.exitCode) << what;
    }
}

TEST(VellumProgram, PrintsTheProjectVersion)
{
    EXPECT_NE(RunVellum({"--version"}).out.find(VELLUM_VERSION), std::string::npos);
}

struct QueryCase {
    std::vector<std::string> words; // as typed on the command line
    std::string query;              // as the engine gets it (Windows-1252)
};

TEST_F(VellumOverShippedRules, FindListsWhatTheSearchEngineKeepsInEveryCategory)
{
    const QueryCase cases[] = {
        {{"fire"}, "fire"},
        {{"FIRE", "-cold"}, "FIRE -cold"},
        {{"fire -cold"}, "fire -cold"},
        {{"toughness"}, "toughness"},
        {{"hit", "points", "-dice"}, "hit points -dice"},
        {{"Keeper\xE2\x80\x99s"}, "Keeper\x92s"},
        {{"half-orc"}, "half-orc"},
        {{"-"}, "-"},
        {{"  ward  "}, "  ward  "},
    };
    for (const QueryCase& c : cases) {
        std::vector<std::string> arguments = {"find"};
        arguments.insert(arguments.end(), c.words.begin(), c.words.end());
        const ProgramRun run = RunVellum(arguments);
        std::map<std::string, std::vector<std::string>> expected;
        for (int category = 0; category < GetCategoryCount(); ++category) {
            TitleRows rows(category);
            ApplyQuery(rows, c.query.c_str());
            for (const std::string& title : rows.Titles())
                expected[Utf8(GetCategoryName(category))].push_back(Utf8(title));
        }
        EXPECT_EQ(Groups(run.out), expected) << c.query;
        EXPECT_EQ(run.exitCode, expected.empty() ? 1 : 0) << c.query;
    }
}

TEST_F(VellumOverShippedRules, FindInOneCategoryKeepsBothFeatsOfOneTitle)
{
    const ProgramRun run = RunVellum({"find", "-c", "feats", "toughness", "-nothing"});
    TitleRows rows(2);
    ApplyQuery(rows, "toughness -nothing");
    std::vector<std::string> expected;
    for (const std::string& title : rows.Titles())
        expected.push_back(Utf8(title));
    EXPECT_EQ(Lines(run.out), expected);
    EXPECT_EQ(std::count(expected.begin(), expected.end(), "Toughness"), 2);
}

struct FilterCase {
    std::vector<std::string> arguments;
    std::string text;
    bool bodies;
};

TEST_F(VellumOverShippedRules, FilterListsWhatTheTypeAheadKeeps)
{
    const FilterCase cases[] = {
        {{"fire"}, "fire", false},
        {{"tough"}, "tough", false},
        {{"--body", "hit", "points"}, "hit points", true},
        {{"--body", "toughness"}, "toughness", true},
        {{"-fire"}, "-fire", false},
        {{"AIR", "elemental"}, "AIR elemental", false},
        {{"--body", "Keeper\xE2\x80\x99s"}, "Keeper\x92s", true},
    };
    for (const FilterCase& c : cases) {
        std::vector<std::string> arguments = {"filter"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        std::map<std::string, std::vector<std::string>> expected;
        for (int category = 0; category < GetCategoryCount(); ++category) {
            TitleRows rows(category, c.bodies);
            ApplyTypedWords(rows, c.text.data(), static_cast<int>(c.text.size()));
            for (const std::string& title : rows.Titles())
                expected[Utf8(GetCategoryName(category))].push_back(Utf8(title));
        }
        EXPECT_EQ(Groups(RunVellum(arguments).out), expected) << c.text;
    }
}

TEST(VellumProgram, RollsTheLinesOfADiceDialogSeededAlike)
{
    struct Case {
        std::vector<std::string> arguments;
        std::vector<RollRequest> requests; // count, sides, modifier, repeats
    };
    const Case cases[] = {
        {{"d20", "--seed", "0"}, {{1, 20, 0, 1}}},
        {{"3d6+2", "4d6-1", "x6", "2d8 x3", "--seed", "42"},
         {{3, 6, 2, 1}, {4, 6, -1, 6}, {2, 8, 0, 3}}},
        {{"--seed", "4294967295", "999d100+999 x3", "d2", "d3", "d4", "d10", "d12"},
         {{999, 100, 999, 3},
          {1, 2, 0, 1},
          {1, 3, 0, 1},
          {1, 4, 0, 1},
          {1, 10, 0, 1},
          {1, 12, 0, 1}}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments = {"roll"};
        arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
        const ProgramRun run = RunVellum(arguments);
        const std::string seed = *(std::find(c.arguments.begin(), c.arguments.end(), "--seed") + 1);
        SeedDiceGenerator(static_cast<std::uint32_t>(std::stoul(seed)));
        std::string expected;
        for (const RollRequest& request : c.requests)
            RollDice(request,
                     [&expected](const char* line) { expected += std::string(line) + "\n"; });
        EXPECT_EQ(run.out, expected) << seed;
        EXPECT_EQ(run.exitCode, 0);
    }
}

TEST(VellumProgram, NamesThePositionOfABadRoll)
{
    const ProgramRun run = RunVellum({"roll", "d20", "3d7"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("a die has 2, 3, 4, 6, 8, 10, 12, 20 or 100 sides, at character 7"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("  d20 3d7\n        ^"), std::string::npos) << run.err;
}

TEST(VellumProgram, WritesJsonThatParses)
{
    const std::vector<std::vector<std::string>> commands = {
        {"categories", "--json"},
        {"list", "--json"},
        {"list", "Feats", "--count", "--json"},
        {"show", "Toughness", "Keeper\xE2\x80\x99s Ward", "--json"},
        {"show", "firebrst", "\xFF", "--json"},
        {"find", "fire", "-cold", "--json"},
        {"filter", "--body", "tough", "--json"},
        {"roll", "4d6-1", "x6", "d20", "--seed", "3", "--json"},
    };
    const std::string parsed = WorkPath("parsed.json");
    for (const std::vector<std::string>& command : commands) {
        const ProgramRun run = RunVellum(command);
        WriteBytes(parsed, Bytes(run.out.begin(), run.out.end()));
        const std::string check = "python3 -m json.tool " + Quoted(parsed) + " >/dev/null";
        EXPECT_EQ(std::system(check.c_str()), 0)
            << command.front() << ": " << run.out.substr(0, 200);
    }
}

TEST(VellumProgram, ShowsEveryEntryOfATitleWithItsCategoryAndSuggestsForAMiss)
{
    const ProgramRun twins = RunVellum({"show", "TOUGHNESS", "--width", "0"});
    const std::string heading = "[Feats]\nToughness\n-----\n";
    const std::size_t first = twins.out.find(heading);
    EXPECT_EQ(first, 0u);
    EXPECT_NE(twins.out.find("\n\n" + heading, first + 1), std::string::npos) << twins.out;
    const ProgramRun miss = RunVellum({"show", "burning acorn"});
    EXPECT_EQ(miss.exitCode, 1);
    EXPECT_NE(
        miss.err.find("no entry is titled \"burning acorn\"; the closest: Burning Acorns (Spells)"),
        std::string::npos)
        << miss.err;
}

// A packed set of rules where one title stands in two categories.
Bytes TwoCategoryResource()
{
    std::vector<SourceCategory> categories(2);
    categories[0].name = "Spells";
    categories[0].entries = {{"Light", "A glow.\r\nLevel:\tMage 0", {}, 0}};
    categories[1].name = "Special Abilities";
    categories[1].entries = {{"Light", "Blinded by it.", {}, 0},
                             {"Tremor\x96sense", "Feels.", {}, 0}};
    return CompressRulesImage(BuildRulesImage(categories));
}

TEST(VellumProgram, ReadsOtherRulesFromAPackedFileOrAProgram)
{
    const std::string packed = WorkPath("rules.bin");
    WriteBytes(packed, TwoCategoryResource());
    const ProgramRun both = RunVellum({"show", "light", "--rules", packed});
    EXPECT_EQ(both.out, "[Spells]\nLight\n-----\nA glow.\nLevel:  Mage 0\n\n"
                        "[Special Abilities]\nLight\n-----\nBlinded by it.\n");
    EXPECT_EQ(RunVellum({"show", "light", "-c", "special", "--rules", packed}).out,
              "Light\n-----\nBlinded by it.\n");

    const std::string program = WorkPath("program.exe");
    WriteBytes(program, MakeTestProgram(TwoCategoryResource()));
    EXPECT_EQ(RunVellum({"--rules", program, "list", "Special Abilities"}).out,
              "Light\nTremor\xE2\x80\x93sense\n");
}

TEST(VellumProgram, RefusesDamagedRulesWithExitCode3)
{
    std::string error;
    Bytes resource = TwoCategoryResource();
    Bytes damaged = resource;
    damaged[damaged.size() / 2] ^= 0xFF;
    const std::vector<Bytes> files = {
        damaged,
        Bytes(resource.begin(),
              resource.begin() + static_cast<std::ptrdiff_t>(resource.size() / 2)),
        MakeResource(Bytes{1, 0, 0, 0, 9, 9, 9, 9}), // one category whose table lies outside
        MakeTestProgramWithoutResources(),
        Bytes(),
    };
    const std::string path = WorkPath("damaged.bin");
    for (std::size_t k = 0; k < std::size(files); ++k) {
        WriteBytes(path, files[k]);
        const ProgramRun run = RunVellum({"list", "--rules", path});
        EXPECT_EQ(run.exitCode, 3) << k;
        EXPECT_NE(run.err.find(path), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << k;
    }
}

// The text vellum shows on a pseudo-terminal of the given rows (script from
// util-linux makes one), with the environment settings given.
std::string ShownOnTerminal(int rows, const std::string& environment, const std::string& arguments)
{
    const std::string inner = "stty rows " + std::to_string(rows) +
                              " cols 80; TERM=xterm NO_COLOR= " + environment + " " +
                              Quoted(VELLUM_PROGRAM) + " " + arguments;
    const std::string out = WorkPath("terminal.txt");
    const std::string command =
        "script -qec " + Quoted(inner) + " /dev/null </dev/null >" + Quoted(out);
    EXPECT_EQ(std::system(command.c_str()), 0) << inner;
    return ReadText(out);
}

TEST(VellumProgram, OnATerminalMarksTheTitleAndPagesWhatIsLongerThanTheScreen)
{
    struct Case {
        const char* what;
        int rows;
        const char* environment;
        bool paged;
        bool marked;
    };
    const Case cases[] = {
        {"longer than the screen: paged, title bold", 10, "PAGER='sed s/^/PAGED:/'", true, true},
        {"shorter than the screen: not paged", 500, "PAGER='sed s/^/PAGED:/'", false, true},
        {"an empty PAGER pages nothing", 10, "PAGER=", false, true},
        {"NO_COLOR: no marks", 10, "NO_COLOR=1 PAGER='sed s/^/PAGED:/'", true, false},
    };
    for (const Case& c : cases) {
        const std::string shown = ShownOnTerminal(c.rows, c.environment, "show Fireburst");
        EXPECT_EQ(shown.find("PAGED:") != std::string::npos, c.paged) << c.what;
        EXPECT_EQ(shown.find("\x1b[1mFireburst\x1b[0m") != std::string::npos, c.marked) << c.what;
        EXPECT_EQ(shown.find("\x1b[") != std::string::npos, c.marked) << c.what;
    }
}

TEST(VellumProgram, EndsQuietlyWhenItsReaderGoesAway)
{
    // Far more than a pipe holds, so that the write meets the closed pipe.
    std::vector<std::string> arguments = {"show", "--width", "0"};
    arguments.insert(arguments.end(), 200, "Toughness");
    const std::string err = WorkPath("pipe-err.txt");
    std::string command = Quoted(VELLUM_PROGRAM);
    for (const std::string& argument : arguments)
        command += " " + Quoted(argument);
    const std::string script = "bash -c " + Quoted(command + " 2>" + Quoted(err) +
                                                   " | head -1 >/dev/null; exit ${PIPESTATUS[0]}");
    const int status = std::system(script.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(ReadText(err), "");

    const ProgramRun closed = RunVellum({"list"}, ">&-");
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_NE(closed.err.find("cannot write the output"), std::string::npos) << closed.err;
}

} // namespace
