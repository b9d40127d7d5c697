// The resource rewriter over hand-made programs: reading a tree written
// field by field, replacing the rules resource while every other resource,
// section and the symbol table stay, and each refusal, in memory and on disk.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "tests/host/test_programs.h"
#include "tools/packer/pe_resources.h"
#include "tools/packer/rules_embed.h"

namespace {

::testing::AssertionResult Holds(const std::string& text, const std::string& part)
{
    if (text.find(part) != std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << text << "\" does not hold \"" << part << "\"";
}

std::uint32_t NumberAt(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
                                      static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::vector<ProgramResource> ResourcesOf(const Bytes& program)
{
    std::vector<ProgramResource> resources;
    std::string error;
    EXPECT_TRUE(ReadProgramResources(program, resources, error)) << error;
    return resources;
}

Bytes SectionHeader(const Bytes& program, std::size_t index)
{
    const auto at = program.begin() + static_cast<std::ptrdiff_t>(testSectionTableAt + index * 40);
    return Bytes(at, at + 40);
}

const Bytes rules = MakeResource(MakeSmallImage());
const Bytes houseRules = MakeResource(Bytes{0, 0, 0, 0});  // an image of no category

Bytes Replaced(const Bytes& program, const Bytes& resource)
{
    Bytes result;
    std::string error;
    EXPECT_TRUE(ReplaceRulesResource(program, resource, result, error)) << error;
    return result;
}

TEST(ReadProgramResources, ReadsEachTypeNameAndLanguageOfAHandWrittenTree)
{
    const std::vector<ProgramResource> resources = ResourcesOf(MakeTestProgram(rules));
    ASSERT_EQ(resources.size(), 3u);
    EXPECT_EQ(resources[0].type, ResourceKey::Text(u"DATAFILES"));
    EXPECT_EQ(resources[0].name, ResourceKey::Number(114));
    EXPECT_EQ(resources[0].language, 0x409);
    EXPECT_EQ(resources[0].data, rules);
    EXPECT_EQ(resources[1].type, ResourceKey::Number(10));
    EXPECT_EQ(resources[1].name, ResourceKey::Text(u"HOUSE"));
    EXPECT_EQ(resources[1].data, (Bytes{1, 2, 3}));
    EXPECT_EQ(resources[2].name, ResourceKey::Number(103));
    EXPECT_EQ(resources[2].language, 0x407);
    EXPECT_EQ(resources[2].data, (Bytes{'a', 'b', 'c'}));
}

TEST(ReplaceRulesResource, ReplacesOnlyTheRulesAndKeepsEveryOtherResource)
{
    const Bytes program = MakeTestProgram(rules);
    const std::vector<ProgramResource> before = ResourcesOf(program);
    const std::vector<ProgramResource> after = ResourcesOf(Replaced(program, houseRules));
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[0].data, houseRules);
    for (std::size_t i = 1; i < after.size(); ++i) {
        EXPECT_TRUE(SameResource(after[i], before[i])) << i;
        EXPECT_EQ(after[i].data, before[i].data) << i;
    }
}

TEST(ReplaceRulesResource, AddsASectionAfterTheImageAndMovesNoOtherSection)
{
    const Bytes program = MakeTestProgram(rules);
    const Bytes result = Replaced(program, houseRules);
    EXPECT_EQ(NumberAt(result, testFileHeaderAt) >> 16, testSectionCount + 1);
    EXPECT_EQ(SectionHeader(result, 0), SectionHeader(program, 0));
    EXPECT_EQ(SectionHeader(result, 1), SectionHeader(program, 1));
    EXPECT_EQ(NumberAt(result, testSectionTableAt + 40 + 36), testSharedCharacteristics);
    // The old tree's section keeps its place under another name, its tree zeroed.
    const Bytes old = SectionHeader(result, 2);
    EXPECT_EQ(std::string(old.begin(), old.begin() + 8), ".oldrsrc");
    EXPECT_TRUE(std::equal(old.begin() + 8, old.end(), SectionHeader(program, 2).begin() + 8));
    EXPECT_TRUE(std::all_of(result.begin() + testTreeAt, result.begin() + testTreeAt + 0xF0,
                            [](unsigned char byte) { return byte == 0; }));
    EXPECT_EQ(SectionHeader(result, 3), SectionHeader(program, 3));
    // The new one follows the image and the last section's bytes.
    const Bytes added = SectionHeader(result, 4);
    EXPECT_EQ(std::string(added.begin(), added.begin() + 5), ".rsrc");
    EXPECT_EQ(NumberAt(added, 12), 0x5000u);
    EXPECT_EQ(NumberAt(added, 20), 0xC00u);
    EXPECT_EQ(NumberAt(result, testOptionalHeaderAt + 112 + 16), 0x5000u);
    EXPECT_EQ(NumberAt(result, testOptionalHeaderAt + 56), 0x6000u);
}

TEST(ReplaceRulesResource, MovesTheSymbolTableBehindTheNewSection)
{
    const Bytes result = Replaced(MakeTestProgram(rules), houseRules);
    const Bytes symbols = TestSymbolTable();
    const std::uint32_t pointer = NumberAt(result, testFileHeaderAt + 8);
    EXPECT_EQ(pointer, 0xE00u);
    ASSERT_EQ(result.size(), pointer + symbols.size());
    EXPECT_TRUE(std::equal(symbols.begin(), symbols.end(), result.begin() + pointer));
}

TEST(ReplaceRulesResource, ASecondReplacementRewritesTheSectionTheFirstAdded)
{
    const Bytes once = Replaced(MakeTestProgram(rules), houseRules);
    const Bytes twice = Replaced(once, rules);
    EXPECT_EQ(NumberAt(twice, testFileHeaderAt) >> 16, testSectionCount + 1);
    EXPECT_EQ(twice.size(), once.size());
    EXPECT_EQ(ResourcesOf(twice)[0].data, rules);
    EXPECT_EQ(Replaced(twice, houseRules), once);
}

struct Refusal {
    const char* name;
    std::function<void(Bytes&)> damage;
    const char* reason;
};

const Refusal refusals[] = {
    {"no MZ header", [](Bytes& p) { p[0] = 'X'; }, "not a Windows program (no MZ header)"},
    {"no PE signature", [](Bytes& p) { p[0x41] = 'X'; }, "not a Windows program (no PE signature)"},
    {"a 32-bit program", [](Bytes& p) { PutNumberAt(p, testOptionalHeaderAt, 0x10B); },
     "a 32-bit program (PE32)"},
    {"cut in the headers", [](Bytes& p) { p.resize(0x100); },
     "the optional header runs past the end"},
    {"cut in the sections", [](Bytes& p) { p.resize(0x700); },
     "run past the end of the file (cut short?)"},
    {"no resource section", [](Bytes& p) { p = MakeTestProgramWithoutResources(); },
     "the program has no resource section"},
    {"a directory loop", [](Bytes& p) { PutNumberAt(p, testTreeAt + 0x14, 0x80000000); },
     "damaged resource tree: a directory is reached twice"},
    {"data outside the file", [](Bytes& p) { PutNumberAt(p, testFirstDataEntryAt, 0x9000); },
     "damaged resource tree: a resource's bytes lie outside the file"},
    {"no rules resource", [](Bytes& p) { PutNumberAt(p, testTreeAt + 0x30, 115); },
     "carries no rules resource (DATAFILES 114)"},
    {"no room for a section header", [](Bytes& p) { p[testSectionTableEnd + 39] = 1; },
     "no room for another section header"},
};

TEST(ReplaceRulesResource, RefusesEachDamagedOrForeignProgramWithItsReason)
{
    for (const Refusal& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        Bytes program = MakeTestProgram(rules);
        refusal.damage(program);
        Bytes result;
        std::string error;
        EXPECT_FALSE(ReplaceRulesResource(program, houseRules, result, error));
        EXPECT_TRUE(Holds(error, refusal.reason));
    }
}

// Files in a fresh temporary folder, removed afterwards.
class EmbedFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder =
            std::filesystem::temp_directory_path() /
            ("vellum-embed-" + std::to_string(getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes)
    {
        std::ofstream(folder / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return folder / name;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& file : std::filesystem::directory_iterator(folder))
            names.push_back(file.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    std::filesystem::path folder;
};

TEST_F(EmbedFiles, WritesTheProgramWithTheNewRulesAndNothingElse)
{
    const auto program = Write("program.exe", MakeTestProgram(rules));
    const auto resource = Write("house.bin", houseRules);
    std::string error;
    ASSERT_TRUE(EmbedRulesResource(resource, program, folder / "out.exe", error)) << error;
    std::ifstream in(folder / "out.exe", std::ios::binary);
    const Bytes written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, Replaced(MakeTestProgram(rules), houseRules));
    EXPECT_EQ(Names(), (std::vector<std::string>{"house.bin", "out.exe", "program.exe"}));
}

struct FileRefusal {
    const char* name;
    Bytes program;
    Bytes resource;
    const char* blamed;  // the file the message names
    const char* reason;
};

TEST_F(EmbedFiles, EachRefusalNamesTheFileAndLeavesNoOutput)
{
    const FileRefusal cases[] = {
        {"a foreign file", Bytes{'t', 'e', 'x', 't'}, houseRules, "program.exe",
         "not a Windows program"},
        {"a program without resources", MakeTestProgramWithoutResources(), houseRules,
         "program.exe", "no resource section"},
        {"a resource that is no zlib stream", MakeTestProgram(rules), Bytes(64, 'x'), "house.bin",
         "not a well-formed compressed rules image"},
        {"an image that fails the check", MakeTestProgram(rules), MakeResource(Bytes{9, 0, 0, 0}),
         "house.bin", "not a well-formed compressed rules image"},
    };
    for (const FileRefusal& refusal : cases) {
        SCOPED_TRACE(refusal.name);
        const auto program = Write("program.exe", refusal.program);
        const auto resource = Write("house.bin", refusal.resource);
        std::string error;
        EXPECT_FALSE(EmbedRulesResource(resource, program, folder / "out.exe", error));
        EXPECT_EQ(error.rfind((folder / refusal.blamed).string() + ": ", 0), 0u) << error;
        EXPECT_TRUE(Holds(error, refusal.reason));
        EXPECT_EQ(Names(), (std::vector<std::string>{"house.bin", "program.exe"}));
    }
}

}  // namespace
