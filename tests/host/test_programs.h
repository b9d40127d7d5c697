// Hand-made 64-bit Windows programs (PE32+) for the tests, written field by
// field so that the tests do not take the resource rewriter's word for the
// layout. They hold no code worth running, only the headers, sections and
// resource tree that a built program has.
#pragma once

#include <cstddef>

#include "tests/host/test_images.h"

// Where the tests reach into a test program.
constexpr std::size_t testFileHeaderAt = 0x44;
constexpr std::size_t testOptionalHeaderAt = 0x58;
constexpr std::size_t testSectionTableAt = 0x148;
constexpr std::size_t testSectionCount = 4;  // .text, .shared, .rsrc, .reloc
constexpr std::size_t testSectionTableEnd = testSectionTableAt + testSectionCount * 40;
constexpr std::size_t testTreeAt = 0x800;  // file offset of the resource tree
constexpr std::size_t testFirstDataEntryAt = testTreeAt + 0xA0;
constexpr std::uint32_t testSharedCharacteristics = 0xD0000040;  // data, read, write, shared

// A program laid out as the linker lays out ours: sections .text, .shared
// (marked shared), .rsrc and .reloc, each 0x200 bytes in the file from 0x400
// and 0x1000 in memory from 0x1000, then a COFF symbol table. The resource
// tree (less than 0x200 bytes for a small rules resource) holds
//   "DATAFILES" / 114 / 0x409   the rules resource given,
//   10 (RCDATA) / "HOUSE" / 0x409   bytes 1 2 3,
//   10 (RCDATA) / 103 / 0x407   bytes "abc".
Bytes MakeTestProgram(const Bytes& rules);

// The same program with only .text and .shared, and no resource directory.
Bytes MakeTestProgramWithoutResources();

// The COFF symbol table bytes the test programs end with.
Bytes TestSymbolTable();
