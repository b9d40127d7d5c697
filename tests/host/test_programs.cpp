#include "tests/host/test_programs.h"

#include <string>

namespace {

void Put16At(Bytes& bytes, std::size_t offset, std::uint32_t value)
{
    bytes[offset] = static_cast<unsigned char>(value);
    bytes[offset + 1] = static_cast<unsigned char>(value >> 8);
}

void PutTextAt(Bytes& bytes, std::size_t offset, const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[offset + i] = static_cast<unsigned char>(text[i]);
}

void PutSection(Bytes& program, std::size_t index, const std::string& name,
                std::uint32_t virtualSize, std::uint32_t rva, std::uint32_t rawSize,
                std::uint32_t rawOffset, std::uint32_t characteristics)
{
    const std::size_t at = testSectionTableAt + index * 40;
    PutTextAt(program, at, name);
    PutNumberAt(program, at + 8, virtualSize);
    PutNumberAt(program, at + 12, rva);
    PutNumberAt(program, at + 16, rawSize);
    PutNumberAt(program, at + 20, rawOffset);
    PutNumberAt(program, at + 36, characteristics);
}

// DOS header, PE signature, file header and optional header; the section
// table and the bytes at 0x400 (.text) and 0x600 (.shared).
Bytes MakeHeadersAndFirstSections(std::size_t sectionCount)
{
    Bytes program(0x800, 0);
    PutTextAt(program, 0, "MZ");
    PutNumberAt(program, 0x3C, 0x40);
    PutTextAt(program, 0x40, std::string("PE\0\0", 4));
    Put16At(program, testFileHeaderAt, 0x8664);  // x64
    Put16At(program, testFileHeaderAt + 2, static_cast<std::uint32_t>(sectionCount));
    Put16At(program, testFileHeaderAt + 16, 240);  // optional header size
    Put16At(program, testFileHeaderAt + 18, 0x22);  // executable, large address aware
    const std::size_t optional = testOptionalHeaderAt;
    Put16At(program, optional, 0x20B);  // PE32+
    PutNumberAt(program, optional + 16, 0x1000);  // entry point
    PutNumberAt(program, optional + 24, 0x40000000);  // image base 0x140000000
    PutNumberAt(program, optional + 28, 0x1);
    PutNumberAt(program, optional + 32, 0x1000);  // section alignment
    PutNumberAt(program, optional + 36, 0x200);  // file alignment
    Put16At(program, optional + 48, 5);  // subsystem version 5.2
    Put16At(program, optional + 50, 2);
    PutNumberAt(program, optional + 56, 0x3000);  // image size, without .rsrc
    PutNumberAt(program, optional + 60, 0x400);  // headers size
    Put16At(program, optional + 68, 2);  // Windows GUI
    PutNumberAt(program, optional + 108, 16);  // data directories
    PutSection(program, 0, ".text", 0x10, 0x1000, 0x200, 0x400, 0x60000020);
    PutSection(program, 1, ".shared", 0x100, 0x2000, 0x200, 0x600, testSharedCharacteristics);
    program[0x400] = 0xC3;  // ret
    PutTextAt(program, 0x600, "slot table");
    return program;
}

// The resource tree, offsets from its start; data at RVA 0x3000 onwards.
Bytes MakeTree(const Bytes& rules)
{
    Bytes tree(0xF0, 0);
    // Directories: 16 bytes, named and numbered counts at 12 and 14, then
    // entries of name (high bit: a text) and target (high bit: a directory).
    Put16At(tree, 0x00 + 12, 1);  // root: "DATAFILES", 10
    Put16At(tree, 0x00 + 14, 1);
    PutNumberAt(tree, 0x10, 0x80000000 | 0xD0);
    PutNumberAt(tree, 0x14, 0x80000000 | 0x20);
    PutNumberAt(tree, 0x18, 10);
    PutNumberAt(tree, 0x1C, 0x80000000 | 0x38);
    Put16At(tree, 0x20 + 14, 1);  // "DATAFILES": 114
    PutNumberAt(tree, 0x30, 114);
    PutNumberAt(tree, 0x34, 0x80000000 | 0x58);
    Put16At(tree, 0x38 + 12, 1);  // 10: "HOUSE", 103
    Put16At(tree, 0x38 + 14, 1);
    PutNumberAt(tree, 0x48, 0x80000000 | 0xE4);
    PutNumberAt(tree, 0x4C, 0x80000000 | 0x70);
    PutNumberAt(tree, 0x50, 103);
    PutNumberAt(tree, 0x54, 0x80000000 | 0x88);
    const std::uint32_t languageDirectories[] = {0x58, 0x70, 0x88};
    const std::uint32_t languages[] = {0x409, 0x409, 0x407};
    for (int i = 0; i < 3; ++i) {
        Put16At(tree, languageDirectories[i] + 14, 1);
        PutNumberAt(tree, languageDirectories[i] + 16, languages[i]);
        PutNumberAt(tree, languageDirectories[i] + 20, 0xA0 + 16 * i);  // a data entry
    }
    Put16At(tree, 0xD0, 9);  // texts: a count of UTF-16 units, then the units
    for (std::size_t i = 0; i < 9; ++i)
        Put16At(tree, 0xD2 + 2 * i, static_cast<unsigned char>("DATAFILES"[i]));
    Put16At(tree, 0xE4, 5);
    for (std::size_t i = 0; i < 5; ++i)
        Put16At(tree, 0xE6 + 2 * i, static_cast<unsigned char>("HOUSE"[i]));
    // Data entries: the RVA of the bytes (not an offset in the tree), size,
    // code page.
    const Bytes datas[] = {rules, Bytes{1, 2, 3}, Bytes{'a', 'b', 'c'}};
    for (int i = 0; i < 3; ++i) {
        while (tree.size() % 8 != 0)
            tree.push_back(0);
        PutNumberAt(tree, 0xA0 + 16 * i, 0x3000 + static_cast<std::uint32_t>(tree.size()));
        PutNumberAt(tree, 0xA0 + 16 * i + 4, static_cast<std::uint32_t>(datas[i].size()));
        tree.insert(tree.end(), datas[i].begin(), datas[i].end());
    }
    return tree;
}

}  // namespace

Bytes TestSymbolTable()
{
    Bytes symbols(18, 0);  // one symbol record, then the string table's size
    PutTextAt(symbols, 0, "crt.c");
    PutNumberAt(symbols, 18, 4);
    return symbols;
}

Bytes MakeTestProgram(const Bytes& rules)
{
    Bytes program = MakeHeadersAndFirstSections(testSectionCount);
    const Bytes tree = MakeTree(rules);
    const auto treeSize = static_cast<std::uint32_t>(tree.size());
    PutSection(program, 2, ".rsrc", treeSize, 0x3000, 0x200, testTreeAt, 0x40000040);
    PutSection(program, 3, ".reloc", 0x8, 0x4000, 0x200, testTreeAt + 0x200, 0x42000040);
    PutNumberAt(program, testOptionalHeaderAt + 56, 0x5000);  // image size
    PutNumberAt(program, testOptionalHeaderAt + 112 + 2 * 8, 0x3000);  // resource directory
    PutNumberAt(program, testOptionalHeaderAt + 112 + 2 * 8 + 4, treeSize);
    program.insert(program.end(), tree.begin(), tree.end());
    program.resize(testTreeAt + 0x400, 0);
    PutNumberAt(program, testFileHeaderAt + 8, static_cast<std::uint32_t>(program.size()));
    PutNumberAt(program, testFileHeaderAt + 12, 1);
    const Bytes symbols = TestSymbolTable();
    program.insert(program.end(), symbols.begin(), symbols.end());
    return program;
}

Bytes MakeTestProgramWithoutResources()
{
    Bytes program = MakeHeadersAndFirstSections(2);
    const Bytes symbols = TestSymbolTable();
    PutNumberAt(program, testFileHeaderAt + 8, static_cast<std::uint32_t>(program.size()));
    PutNumberAt(program, testFileHeaderAt + 12, 1);
    program.insert(program.end(), symbols.begin(), symbols.end());
    return program;
}
