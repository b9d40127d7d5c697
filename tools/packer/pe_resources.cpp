// Reading and rewriting the resources of a 64-bit Windows program (PE32+),
// from the published layout of the PE format; no Windows header is used.
#include "tools/packer/pe_resources.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace {

using Bytes = std::vector<unsigned char>;

// ---- the headers' layout ----

// The DOS header: "MZ", and at 0x3C the file offset of the PE signature.
constexpr std::size_t dosHeaderSize = 0x40;
constexpr std::size_t peOffsetField = 0x3C;

// "PE\0\0", then the file header.
constexpr std::size_t signatureSize = 4;
constexpr std::size_t fileHeaderSize = 20;
constexpr std::size_t sectionCountField = 2;
constexpr std::size_t symbolTableField = 8;
constexpr std::size_t optionalHeaderSizeField = 16;

// The optional header of a PE32+ program.
constexpr std::uint16_t pe32PlusMagic = 0x20B;
constexpr std::uint16_t pe32Magic = 0x10B;
constexpr std::size_t initializedDataSizeField = 8;
constexpr std::size_t sectionAlignmentField = 32;
constexpr std::size_t fileAlignmentField = 36;
constexpr std::size_t imageSizeField = 56;
constexpr std::size_t headersSizeField = 60;
constexpr std::size_t checksumField = 64;
constexpr std::size_t directoryCountField = 108;
constexpr std::size_t firstDirectory = 112;
constexpr std::size_t directorySize = 8;
constexpr std::uint32_t resourceDirectory = 2;
constexpr std::uint32_t certificateDirectory = 4;

// A section header.
constexpr std::size_t sectionHeaderSize = 40;
constexpr std::size_t sectionNameSize = 8;
constexpr std::size_t virtualSizeField = 8;
constexpr std::size_t virtualAddressField = 12;
constexpr std::size_t rawSizeField = 16;
constexpr std::size_t rawOffsetField = 20;
constexpr std::size_t characteristicsField = 36;
// Names are 8 bytes, padded with zeros.
constexpr unsigned char resourceSectionName[sectionNameSize] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
constexpr unsigned char retiredSectionName[sectionNameSize] = {'.', 'o', 'l', 'd',
                                                               'r', 's', 'r', 'c'};
// Initialized data, readable: what resource compilers give ".rsrc".
constexpr std::uint32_t resourceSectionCharacteristics = 0x40000040;

// The resource tree: a directory is 16 bytes, then 8-byte entries (those
// named by text first, then those named by number); a leaf is a 16-byte
// data entry; a text is a 16-bit count of UTF-16 units, then the units.
constexpr std::size_t treeDirectorySize = 16;
constexpr std::size_t namedCountField = 12;
constexpr std::size_t numberedCountField = 14;
constexpr std::size_t treeEntrySize = 8;
constexpr std::size_t dataEntrySize = 16;
// In an entry, the high bit says "a text at this offset" of the name field
// and "a directory at this offset" of the target field.
constexpr std::uint32_t highBit = 0x80000000u;
// Type, name, language: a tree deeper or shallower is not a resource tree.
constexpr int languageLevel = 2;
// Resource compilers start each resource's bytes on an 8-byte boundary.
constexpr std::uint32_t dataAlignment = 8;

std::uint16_t Get16(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t Get32(const Bytes& bytes, std::size_t at)
{
    return static_cast<std::uint32_t>(Get16(bytes, at)) |
           static_cast<std::uint32_t>(Get16(bytes, at + 2)) << 16;
}

void Put16(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    bytes[at] = static_cast<unsigned char>(value);
    bytes[at + 1] = static_cast<unsigned char>(value >> 8);
}

void Put32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

// True when [offset, offset + size) lies inside a block of total bytes;
// 64-bit arithmetic, so that forged 32-bit fields cannot wrap around.
bool Within(std::uint64_t offset, std::uint64_t size, std::uint64_t total)
{
    return offset <= total && size <= total - offset;
}

std::uint64_t AlignUp(std::uint64_t value, std::uint32_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

bool IsPowerOfTwo(std::uint32_t value)
{
    return value != 0 && (value & (value - 1)) == 0;
}

// ---- the program's headers ----

struct Section {
    std::size_t headerAt = 0;  // file offset of its header
    std::uint32_t virtualSize = 0;
    std::uint32_t virtualAddress = 0;
    std::uint32_t rawSize = 0;
    std::uint32_t rawOffset = 0;

    // The loader maps a section over its virtual size, or its raw size when
    // the linker left the virtual size zero.
    std::uint64_t VirtualEnd() const
    {
        return std::uint64_t{virtualAddress} + (virtualSize != 0 ? virtualSize : rawSize);
    }
    std::uint64_t RawEnd() const { return std::uint64_t{rawOffset} + rawSize; }
    // The loader maps no more of the raw bytes than the virtual size.
    std::uint32_t MappedRawSize() const
    {
        return virtualSize != 0 ? std::min(rawSize, virtualSize) : rawSize;
    }
};

struct ProgramLayout {
    std::size_t optionalHeaderAt = 0;
    std::size_t sectionTableAt = 0;
    std::uint32_t directoryCount = 0;
    std::uint32_t sectionAlignment = 0;
    std::uint32_t fileAlignment = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t headersSize = 0;
    std::vector<Section> sections;

    std::size_t DirectoryAt(std::uint32_t index) const
    {
        return optionalHeaderAt + firstDirectory + index * directorySize;
    }
    std::size_t SectionTableEnd() const
    {
        return sectionTableAt + sections.size() * sectionHeaderSize;
    }
};

bool ReadPeHeaders(const Bytes& program, ProgramLayout& layout, std::string& error)
{
    if (program.size() < dosHeaderSize || program[0] != 'M' || program[1] != 'Z') {
        error = "not a Windows program (no MZ header)";
        return false;
    }
    const std::uint32_t peAt = Get32(program, peOffsetField);
    if (!Within(peAt, signatureSize + fileHeaderSize, program.size()) || program[peAt] != 'P' ||
        program[peAt + 1] != 'E' || program[peAt + 2] != 0 || program[peAt + 3] != 0) {
        error = "not a Windows program (no PE signature)";
        return false;
    }
    const std::size_t fileHeaderAt = peAt + signatureSize;
    const std::uint16_t optionalSize = Get16(program, fileHeaderAt + optionalHeaderSizeField);
    layout.optionalHeaderAt = fileHeaderAt + fileHeaderSize;
    if (optionalSize < 2 || !Within(layout.optionalHeaderAt, optionalSize, program.size())) {
        error = "damaged program: the optional header runs past the end of the file";
        return false;
    }
    const std::uint16_t magic = Get16(program, layout.optionalHeaderAt);
    if (magic != pe32PlusMagic) {
        error = magic == pe32Magic
                    ? "a 32-bit program (PE32); only 64-bit programs (PE32+) are read"
                    : "not a PE32+ program (unknown optional header)";
        return false;
    }
    if (optionalSize < firstDirectory) {
        error = "damaged program: the optional header is too short";
        return false;
    }
    // The directory count may claim more directories than the optional
    // header holds; only those inside it exist.
    layout.directoryCount = std::min<std::uint32_t>(
        Get32(program, layout.optionalHeaderAt + directoryCountField),
        static_cast<std::uint32_t>((optionalSize - firstDirectory) / directorySize));
    layout.sectionAlignment = Get32(program, layout.optionalHeaderAt + sectionAlignmentField);
    layout.fileAlignment = Get32(program, layout.optionalHeaderAt + fileAlignmentField);
    layout.imageSize = Get32(program, layout.optionalHeaderAt + imageSizeField);
    layout.headersSize = Get32(program, layout.optionalHeaderAt + headersSizeField);
    layout.sectionTableAt = layout.optionalHeaderAt + optionalSize;
    layout.sections.resize(Get16(program, fileHeaderAt + sectionCountField));
    return true;
}

// Sections' bytes in the file follow the headers and never overlap: the
// rewriter zeroes the old tree's bytes and must touch nothing else.
bool CheckSectionsApart(const ProgramLayout& layout, std::string& error)
{
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
    for (const Section& section : layout.sections)
        if (section.rawSize != 0)
            ranges.emplace_back(section.rawOffset, section.RawEnd());
    std::sort(ranges.begin(), ranges.end());
    for (std::size_t i = 0; i < ranges.size(); ++i)
        if (ranges[i].first < (i == 0 ? layout.headersSize : ranges[i - 1].second)) {
            error = "damaged program: a section's bytes overlap the headers or another section";
            return false;
        }
    return true;
}

bool ReadSectionTable(const Bytes& program, ProgramLayout& layout, std::string& error)
{
    if (!IsPowerOfTwo(layout.fileAlignment) || !IsPowerOfTwo(layout.sectionAlignment) ||
        layout.sectionAlignment < layout.fileAlignment) {
        error = "damaged program: bad section or file alignment";
        return false;
    }
    if (layout.SectionTableEnd() > layout.headersSize || layout.headersSize > program.size()) {
        error = "damaged program: the section table runs past the headers or the file";
        return false;
    }
    std::size_t at = layout.sectionTableAt;
    for (Section& section : layout.sections) {
        section.headerAt = at;
        section.virtualSize = Get32(program, at + virtualSizeField);
        section.virtualAddress = Get32(program, at + virtualAddressField);
        section.rawSize = Get32(program, at + rawSizeField);
        section.rawOffset = Get32(program, at + rawOffsetField);
        if (section.rawSize != 0 && !Within(section.rawOffset, section.rawSize, program.size())) {
            error = "damaged program: a section's bytes run past the end of the file (cut short?)";
            return false;
        }
        at += sectionHeaderSize;
    }
    return CheckSectionsApart(layout, error);
}

bool ReadProgramLayout(const Bytes& program, ProgramLayout& layout, std::string& error)
{
    return ReadPeHeaders(program, layout, error) && ReadSectionTable(program, layout, error);
}

// A data directory's place in the image: relative virtual address and size.
struct DirectoryRange {
    std::uint32_t rva = 0;
    std::uint32_t size = 0;
};

DirectoryRange ReadDirectory(const Bytes& program, const ProgramLayout& layout,
                             std::uint32_t index)
{
    if (index >= layout.directoryCount)
        return DirectoryRange{};
    const std::size_t at = layout.DirectoryAt(index);
    return DirectoryRange{Get32(program, at), Get32(program, at + 4)};
}

// The section whose bytes in the file hold the address; null when none does
// (an address in zero-filled memory past a section's raw bytes has no bytes
// in the file).
const Section* SectionHolding(const ProgramLayout& layout, std::uint32_t rva)
{
    for (const Section& section : layout.sections)
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.MappedRawSize())
            return &section;
    return nullptr;
}

// The file offset of size bytes at the address, all inside one section's
// bytes in the file (an empty resource may sit right at a section's end);
// false when they are not.
bool FileOffsetOf(const ProgramLayout& layout, std::uint32_t rva, std::uint32_t size,
                  std::size_t& offset)
{
    for (const Section& section : layout.sections)
        if (rva >= section.virtualAddress &&
            Within(rva - section.virtualAddress, size, section.MappedRawSize())) {
            offset = section.rawOffset + (rva - section.virtualAddress);
            return true;
        }
    return false;
}

// ---- reading the resource tree ----

// Offsets inside the tree count from the root directory, except a data
// entry's address of its bytes, which is an address in the image (RVA).
struct TreeReader {
    bool ReadLevel(std::uint32_t offset, int level, ProgramResource& path,
                   std::vector<ProgramResource>& resources);
    bool ReadKey(std::uint32_t field, ResourceKey& key);
    bool ReadLeaf(std::uint32_t offset, ProgramResource& path,
                  std::vector<ProgramResource>& resources);
    bool Fail(const std::string& what)
    {
        error = "damaged resource tree: " + what;
        return false;
    }
    bool Holds(std::uint64_t offset, std::uint64_t size) const
    {
        return Within(rootAt + offset, size, treeEnd);
    }

    const Bytes& program;
    const ProgramLayout& layout;
    std::size_t rootAt;   // file offsets of the root directory
    std::size_t treeEnd;  // and of the end of its section's bytes
    std::set<std::uint32_t> visited = {};  // directories and leaves already read
    std::uint64_t dataBytes = 0;
    std::uint64_t textUnits = 0;
    std::string error = {};
};

bool TreeReader::ReadKey(std::uint32_t field, ResourceKey& key)
{
    if ((field & highBit) == 0) {
        if (field > 0xFFFF)
            return Fail("a number above 65535 names an entry");
        key = ResourceKey::Number(static_cast<std::uint16_t>(field));
        return true;
    }
    const std::uint32_t offset = field & ~highBit;
    if (!Holds(offset, 2))
        return Fail("a name lies outside the tree");
    const std::uint16_t length = Get16(program, rootAt + offset);
    if (length == 0 || !Holds(offset + 2, std::uint64_t{length} * 2))
        return Fail("a name is empty or lies outside the tree");
    // Many entries may name one long text; a real tree's names read (and
    // copied into each resource) never come near the file's size.
    textUnits += length;
    if (textUnits > program.size())
        return Fail("its names take more room than the file");
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i)
        text.push_back(static_cast<char16_t>(Get16(program, rootAt + offset + 2 + i * 2)));
    key = ResourceKey::Text(std::move(text));
    return true;
}

bool TreeReader::ReadLeaf(std::uint32_t offset, ProgramResource& path,
                          std::vector<ProgramResource>& resources)
{
    if (!Holds(offset, dataEntrySize))
        return Fail("a data entry lies outside the tree");
    if (!visited.insert(offset).second)
        return Fail("two languages share one data entry");
    const std::size_t at = rootAt + offset;
    const std::uint32_t rva = Get32(program, at);
    const std::uint32_t size = Get32(program, at + 4);
    std::size_t dataAt = 0;
    if (!FileOffsetOf(layout, rva, size, dataAt))
        return Fail("a resource's bytes lie outside the file");
    // Each resource's bytes are distinct in a real tree; a forged one could
    // make every leaf copy the same large block.
    dataBytes += size;
    if (dataBytes > program.size())
        return Fail("resources overlap");
    textUnits += path.type.text.size() + path.name.text.size();
    if (textUnits > program.size())
        return Fail("its names take more room than the file");
    path.codePage = Get32(program, at + 8);
    path.data.assign(program.begin() + static_cast<std::ptrdiff_t>(dataAt),
                     program.begin() + static_cast<std::ptrdiff_t>(dataAt + size));
    resources.push_back(path);
    return true;
}

bool TreeReader::ReadLevel(std::uint32_t offset, int level, ProgramResource& path,
                           std::vector<ProgramResource>& resources)
{
    if (!Holds(offset, treeDirectorySize))
        return Fail("a directory lies outside the tree");
    // A tree never shares a directory; a loop would otherwise never end.
    if (!visited.insert(offset).second)
        return Fail("a directory is reached twice");
    const std::size_t at = rootAt + offset;
    const std::size_t count = std::size_t{Get16(program, at + namedCountField)} +
                              Get16(program, at + numberedCountField);
    if (!Holds(offset + treeDirectorySize, count * treeEntrySize))
        return Fail("a directory's entries lie outside the tree");
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entryAt = at + treeDirectorySize + i * treeEntrySize;
        const std::uint32_t target = Get32(program, entryAt + 4);
        ResourceKey key;
        if (!ReadKey(Get32(program, entryAt), key))
            return false;
        const bool isDirectory = (target & highBit) != 0;
        if (isDirectory != (level < languageLevel))
            return Fail("it is not three levels deep (type, name, language)");
        if (level == 0)
            path.type = key;
        else if (level == 1)
            path.name = key;
        else if (key.IsText())
            return Fail("a language is named by text");
        else
            path.language = key.number;
        const bool read = isDirectory ? ReadLevel(target & ~highBit, level + 1, path, resources)
                                      : ReadLeaf(target, path, resources);
        if (!read)
            return false;
    }
    return true;
}

bool ResourceOrder(const ProgramResource& a, const ProgramResource& b)
{
    return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
}

bool HasTwice(std::vector<ProgramResource> resources)
{
    std::sort(resources.begin(), resources.end(), ResourceOrder);
    return std::adjacent_find(resources.begin(), resources.end(), SameResource) != resources.end();
}

// ---- writing a resource tree ----

struct NameGroup {
    ResourceKey key;
    std::vector<std::size_t> leaves;  // indexes into the sorted resources
    std::uint32_t directoryAt = 0;
};

struct TypeGroup {
    ResourceKey key;
    std::vector<NameGroup> names;
    std::uint32_t directoryAt = 0;
};

std::vector<TypeGroup> GroupByTypeAndName(const std::vector<ProgramResource>& sorted)
{
    std::vector<TypeGroup> types;
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (types.empty() || !(types.back().key == sorted[i].type))
            types.push_back(TypeGroup{sorted[i].type, {}, 0});
        std::vector<NameGroup>& names = types.back().names;
        if (names.empty() || !(names.back().key == sorted[i].name))
            names.push_back(NameGroup{sorted[i].name, {}, 0});
        names.back().leaves.push_back(i);
    }
    return types;
}

std::uint64_t DirectoryBytes(std::size_t entries)
{
    return treeDirectorySize + entries * treeEntrySize;
}

// Where each piece of the tree goes, laid out as resource compilers do:
// every directory (root, types, names), the data entries, the texts, then
// each resource's bytes on an 8-byte boundary.
struct TreePlan {
    std::vector<TypeGroup> types;
    std::uint64_t dataEntriesAt = 0;
    std::map<std::u16string, std::uint32_t> textAt;
    std::vector<std::uint32_t> dataAt;
    std::uint64_t size = 0;
};

void PlaceText(const ResourceKey& key, TreePlan& plan, std::uint64_t& offset)
{
    if (key.IsText() && plan.textAt.count(key.text) == 0) {
        plan.textAt[key.text] = static_cast<std::uint32_t>(offset);
        offset += 2 + key.text.size() * 2;
    }
}

// False when the tree would not fit the 31 bits its offsets have.
bool PlanTree(const std::vector<ProgramResource>& sorted, TreePlan& plan)
{
    plan.types = GroupByTypeAndName(sorted);
    std::uint64_t offset = DirectoryBytes(plan.types.size());
    for (TypeGroup& type : plan.types) {
        type.directoryAt = static_cast<std::uint32_t>(offset);
        offset += DirectoryBytes(type.names.size());
    }
    for (TypeGroup& type : plan.types)
        for (NameGroup& name : type.names) {
            name.directoryAt = static_cast<std::uint32_t>(offset);
            offset += DirectoryBytes(name.leaves.size());
            if (offset > highBit)
                return false;
        }
    plan.dataEntriesAt = offset;
    offset += sorted.size() * dataEntrySize;
    for (const ProgramResource& resource : sorted) {
        PlaceText(resource.type, plan, offset);
        PlaceText(resource.name, plan, offset);
        if (offset > highBit)
            return false;
    }
    for (const ProgramResource& resource : sorted) {
        offset = AlignUp(offset, dataAlignment);
        plan.dataAt.push_back(static_cast<std::uint32_t>(offset));
        offset += resource.data.size();
        if (offset > highBit)
            return false;
    }
    plan.size = offset;
    return true;
}

void PutDirectoryHeader(Bytes& tree, std::size_t at, std::size_t named, std::size_t numbered)
{
    Put16(tree, at + namedCountField, static_cast<std::uint32_t>(named));
    Put16(tree, at + numberedCountField, static_cast<std::uint32_t>(numbered));
}

void PutEntry(Bytes& tree, std::size_t at, const ResourceKey& key, const TreePlan& plan,
              std::uint32_t target)
{
    Put32(tree, at, key.IsText() ? highBit | plan.textAt.at(key.text) : key.number);
    Put32(tree, at + 4, target);
}

template <typename Group>
std::size_t NamedCount(const std::vector<Group>& groups)
{
    return static_cast<std::size_t>(std::count_if(
        groups.begin(), groups.end(), [](const Group& group) { return group.key.IsText(); }));
}

void PutDirectories(Bytes& tree, const TreePlan& plan, const std::vector<ProgramResource>& sorted)
{
    PutDirectoryHeader(tree, 0, NamedCount(plan.types), plan.types.size() - NamedCount(plan.types));
    std::size_t entryAt = treeDirectorySize;
    for (const TypeGroup& type : plan.types) {
        PutEntry(tree, entryAt, type.key, plan, highBit | type.directoryAt);
        entryAt += treeEntrySize;
        PutDirectoryHeader(tree, type.directoryAt, NamedCount(type.names),
                           type.names.size() - NamedCount(type.names));
        std::size_t nameEntryAt = type.directoryAt + treeDirectorySize;
        for (const NameGroup& name : type.names) {
            PutEntry(tree, nameEntryAt, name.key, plan, highBit | name.directoryAt);
            nameEntryAt += treeEntrySize;
            PutDirectoryHeader(tree, name.directoryAt, 0, name.leaves.size());
            std::size_t leafEntryAt = name.directoryAt + treeDirectorySize;
            for (const std::size_t leaf : name.leaves) {
                // A leaf's target has no high bit: it is a data entry.
                const std::uint64_t dataEntryAt = plan.dataEntriesAt + leaf * dataEntrySize;
                Put32(tree, leafEntryAt, sorted[leaf].language);
                Put32(tree, leafEntryAt + 4, static_cast<std::uint32_t>(dataEntryAt));
                leafEntryAt += treeEntrySize;
            }
        }
    }
}

void PutTexts(Bytes& tree, const TreePlan& plan)
{
    for (const auto& [text, at] : plan.textAt) {
        Put16(tree, at, static_cast<std::uint32_t>(text.size()));
        for (std::size_t i = 0; i < text.size(); ++i)
            Put16(tree, at + 2 + i * 2, text[i]);
    }
}

void PutLeaves(Bytes& tree, const TreePlan& plan, const std::vector<ProgramResource>& sorted,
               std::uint32_t treeRva)
{
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        const std::size_t at = plan.dataEntriesAt + i * dataEntrySize;
        Put32(tree, at, treeRva + plan.dataAt[i]);
        Put32(tree, at + 4, static_cast<std::uint32_t>(sorted[i].data.size()));
        Put32(tree, at + 8, sorted[i].codePage);
        std::copy(sorted[i].data.begin(), sorted[i].data.end(), tree.begin() + plan.dataAt[i]);
    }
}

Bytes WriteTree(const TreePlan& plan, const std::vector<ProgramResource>& sorted,
                std::uint32_t treeRva)
{
    Bytes tree(plan.size);
    PutDirectories(tree, plan, sorted);
    PutTexts(tree, plan);
    PutLeaves(tree, plan, sorted, treeRva);
    return tree;
}

// ---- placing the tree in the program ----

// Where the new tree goes: an existing last section rewritten, or a new
// section header in the free room after the section table. Either way the
// tree's bytes follow the last section's bytes in the file, and whatever
// trailed them (the COFF symbol table of an unstripped program) moves behind
// the tree: tools that read resources expect section bytes before trailing
// data, and some only look at the first SizeOfImage bytes of the file.
struct TreeSlot {
    bool reusesLastSection = false;
    std::size_t headerAt = 0;
    std::uint32_t rva = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t oldRawSize = 0;
    std::size_t trailerAt = 0;  // where the bytes that move behind the tree begin
};

// The end of the last section's bytes in the file (or of the headers).
std::uint64_t SectionBytesEnd(const ProgramLayout& layout)
{
    std::uint64_t end = layout.headersSize;
    for (const Section& section : layout.sections)
        if (section.rawSize != 0)
            end = std::max(end, section.RawEnd());
    return end;
}

// The section that holds the old tree can take the new one in place when
// the tree starts it and no section follows it, neither in the image nor in
// the file: growing it then moves no other section.
bool CanReuse(const ProgramLayout& layout, const Section& section, std::uint32_t treeRva)
{
    if (section.virtualAddress != treeRva || section.rawSize == 0)
        return false;
    return std::all_of(layout.sections.begin(), layout.sections.end(), [&](const Section& other) {
        return &other == &section || (other.VirtualEnd() <= section.virtualAddress &&
                                      other.RawEnd() <= section.rawOffset);
    });
}

// A new section header goes right after the last one; it needs 40 bytes of
// zeros there, inside the headers and before any section's bytes (some
// linkers keep other data in that gap, which must not be overwritten).
bool HasRoomForHeader(const Bytes& program, const ProgramLayout& layout)
{
    std::uint64_t firstRaw = layout.headersSize;
    for (const Section& section : layout.sections)
        if (section.rawSize != 0)
            firstRaw = std::min<std::uint64_t>(firstRaw, section.rawOffset);
    const std::size_t at = layout.SectionTableEnd();
    if (at + sectionHeaderSize > firstRaw)
        return false;
    return std::all_of(program.begin() + static_cast<std::ptrdiff_t>(at),
                       program.begin() + static_cast<std::ptrdiff_t>(at + sectionHeaderSize),
                       [](unsigned char byte) { return byte == 0; });
}

bool ChooseSlot(const Bytes& program, const ProgramLayout& layout, TreeSlot& slot,
                std::string& error)
{
    const DirectoryRange old = ReadDirectory(program, layout, resourceDirectory);
    const Section* holder = old.size != 0 ? SectionHolding(layout, old.rva) : nullptr;
    if (holder != nullptr && CanReuse(layout, *holder, old.rva)) {
        slot = TreeSlot{true,           holder->headerAt, holder->virtualAddress, holder->rawOffset,
                        holder->rawSize, static_cast<std::size_t>(holder->RawEnd())};
        return true;
    }
    if (layout.sections.size() >= 0xFFFF || !HasRoomForHeader(program, layout)) {
        error = "no room for another section header before the first section's bytes";
        return false;
    }
    std::uint64_t imageEnd = layout.imageSize;
    for (const Section& section : layout.sections)
        imageEnd = std::max(imageEnd, section.VirtualEnd());
    const std::uint64_t rva = AlignUp(imageEnd, layout.sectionAlignment);
    const std::uint64_t bytesEnd = SectionBytesEnd(layout);
    const std::uint64_t rawOffset = AlignUp(bytesEnd, layout.fileAlignment);
    if (rva >= highBit || rawOffset >= highBit) {
        error = "the program is too large to take another section";
        return false;
    }
    slot = TreeSlot{false, layout.SectionTableEnd(), static_cast<std::uint32_t>(rva),
                    static_cast<std::uint32_t>(rawOffset), 0, static_cast<std::size_t>(bytesEnd)};
    return true;
}

// The file header's pointer to the COFF symbol table (0 when stripped)
// follows the table when it moves behind the tree.
void MoveSymbolTablePointer(Bytes& result, const ProgramLayout& layout, const TreeSlot& slot,
                            std::uint32_t rawSize)
{
    const std::size_t pointerAt = layout.optionalHeaderAt - fileHeaderSize + symbolTableField;
    const std::uint32_t pointer = Get32(result, pointerAt);
    if (pointer == 0 || pointer < slot.trailerAt)
        return;
    const std::uint64_t moved = pointer - slot.trailerAt + std::uint64_t{slot.rawOffset} + rawSize;
    Put32(result, pointerAt, static_cast<std::uint32_t>(moved));
}

// The old tree's bytes are zeroed, and a section named ".rsrc" that held it
// renamed, so that no tool that finds resources by that name (rather than
// through the data directory) reads the stale tree.
void RetireOldTree(Bytes& result, const ProgramLayout& layout)
{
    const DirectoryRange old = ReadDirectory(result, layout, resourceDirectory);
    const Section* holder = old.size != 0 ? SectionHolding(layout, old.rva) : nullptr;
    if (holder == nullptr)
        return;
    const std::uint32_t inSection = old.rva - holder->virtualAddress;
    const std::size_t from = holder->rawOffset + inSection;
    const std::size_t size = std::min(old.size, holder->MappedRawSize() - inSection);
    std::fill(result.begin() + static_cast<std::ptrdiff_t>(from),
              result.begin() + static_cast<std::ptrdiff_t>(from + size), 0);
    const auto nameAt = result.begin() + static_cast<std::ptrdiff_t>(holder->headerAt);
    if (std::equal(resourceSectionName, resourceSectionName + sectionNameSize, nameAt))
        std::copy(retiredSectionName, retiredSectionName + sectionNameSize, nameAt);
}

void PutSectionHeader(Bytes& result, const TreeSlot& slot, std::uint32_t treeSize,
                      std::uint32_t rawSize)
{
    std::fill(result.begin() + static_cast<std::ptrdiff_t>(slot.headerAt),
              result.begin() + static_cast<std::ptrdiff_t>(slot.headerAt + sectionHeaderSize), 0);
    std::copy(resourceSectionName, resourceSectionName + sectionNameSize,
              result.begin() + static_cast<std::ptrdiff_t>(slot.headerAt));
    Put32(result, slot.headerAt + virtualSizeField, treeSize);
    Put32(result, slot.headerAt + virtualAddressField, slot.rva);
    Put32(result, slot.headerAt + rawSizeField, rawSize);
    Put32(result, slot.headerAt + rawOffsetField, slot.rawOffset);
    Put32(result, slot.headerAt + characteristicsField, resourceSectionCharacteristics);
}

// The optional header's checksum: the file summed as 16-bit words with
// end-around carry, with the checksum field itself zero, plus the file's
// length. Windows checks it only for drivers and some system DLLs.
std::uint32_t PeChecksum(Bytes& file, std::size_t checksumAt)
{
    Put32(file, checksumAt, 0);
    std::uint64_t sum = 0;
    for (std::size_t at = 0; at < file.size(); at += 2) {
        sum += at + 1 < file.size() ? Get16(file, at) : file[at];
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    return static_cast<std::uint32_t>(sum + file.size());
}

void UpdateOptionalHeader(Bytes& result, const ProgramLayout& layout, const TreeSlot& slot,
                          std::uint32_t treeSize, std::uint32_t rawSize)
{
    const std::size_t header = layout.optionalHeaderAt;
    Put32(result, header + imageSizeField,
          static_cast<std::uint32_t>(
              AlignUp(std::uint64_t{slot.rva} + treeSize, layout.sectionAlignment)));
    Put32(result, header + initializedDataSizeField,
          Get32(result, header + initializedDataSizeField) + rawSize - slot.oldRawSize);
    Put32(result, layout.DirectoryAt(resourceDirectory), slot.rva);
    Put32(result, layout.DirectoryAt(resourceDirectory) + 4, treeSize);
    // A signature covers the old bytes and cannot hold for the new ones.
    if (layout.directoryCount > certificateDirectory) {
        Put32(result, layout.DirectoryAt(certificateDirectory), 0);
        Put32(result, layout.DirectoryAt(certificateDirectory) + 4, 0);
    }
}

}  // namespace

bool operator==(const ResourceKey& a, const ResourceKey& b)
{
    return a.text == b.text && a.number == b.number;
}

bool operator<(const ResourceKey& a, const ResourceKey& b)
{
    if (a.IsText() != b.IsText())
        return a.IsText();
    return a.IsText() ? a.text < b.text : a.number < b.number;
}

bool SameResource(const ProgramResource& a, const ProgramResource& b)
{
    return a.type == b.type && a.name == b.name && a.language == b.language;
}

bool ReadProgramResources(const Bytes& program, std::vector<ProgramResource>& resources,
                          std::string& error)
{
    ProgramLayout layout;
    if (!ReadProgramLayout(program, layout, error))
        return false;
    const DirectoryRange tree = ReadDirectory(program, layout, resourceDirectory);
    if (tree.rva == 0 || tree.size == 0) {
        error = "the program has no resource section";
        return false;
    }
    const Section* holder = SectionHolding(layout, tree.rva);
    if (holder == nullptr) {
        error = "damaged program: the resource tree lies outside the file";
        return false;
    }
    // Directories and texts may lie anywhere in the tree's section, even
    // past the size the data directory gives.
    const std::size_t rootAt = holder->rawOffset + (tree.rva - holder->virtualAddress);
    TreeReader reader{program, layout, rootAt, holder->rawOffset + holder->MappedRawSize()};
    ProgramResource path;
    resources.clear();
    if (!reader.ReadLevel(0, 0, path, resources)) {
        error = reader.error;
        return false;
    }
    if (HasTwice(resources)) {
        error = "damaged resource tree: a resource is there twice";
        return false;
    }
    return true;
}

bool WriteProgramResources(const Bytes& program, std::vector<ProgramResource> resources,
                           Bytes& result, std::string& error)
{
    ProgramLayout layout;
    TreeSlot slot;
    if (!ReadProgramLayout(program, layout, error) || !ChooseSlot(program, layout, slot, error))
        return false;
    std::stable_sort(resources.begin(), resources.end(), ResourceOrder);
    TreePlan plan;
    if (!PlanTree(resources, plan) || slot.rva + plan.size >= highBit) {
        error = "the resources are too large for one section";
        return false;
    }
    const Bytes tree = WriteTree(plan, resources, slot.rva);
    const auto treeSize = static_cast<std::uint32_t>(tree.size());
    const auto rawSize = static_cast<std::uint32_t>(AlignUp(tree.size(), layout.fileAlignment));

    result = program;
    if (!slot.reusesLastSection) {
        RetireOldTree(result, layout);
        const std::size_t countAt = layout.optionalHeaderAt - fileHeaderSize + sectionCountField;
        Put16(result, countAt, static_cast<std::uint32_t>(layout.sections.size() + 1));
    }
    // The tree's bytes, padded to the file alignment, then what trailed the
    // sections' bytes.
    result.resize(slot.trailerAt);
    result.resize(slot.rawOffset, 0);
    result.insert(result.end(), tree.begin(), tree.end());
    result.resize(std::size_t{slot.rawOffset} + rawSize, 0);
    result.insert(result.end(), program.begin() + static_cast<std::ptrdiff_t>(slot.trailerAt),
                  program.end());
    MoveSymbolTablePointer(result, layout, slot, rawSize);
    PutSectionHeader(result, slot, treeSize, rawSize);
    UpdateOptionalHeader(result, layout, slot, treeSize, rawSize);
    const std::size_t checksumAt = layout.optionalHeaderAt + checksumField;
    const std::uint32_t checksum = PeChecksum(result, checksumAt);
    Put32(result, checksumAt, checksum);
    return true;
}
