// Reading, inflating, checking and installing the rules: see rules_source.h.
#include "terminal/rules_source.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <vector>

#include "data/rules_image.h"
#include "data/rules_inflate.h"
#include "tools/packer/rules_embed.h"

namespace {

struct FreeBlock {
    void operator()(unsigned char* block) const { std::free(block); }
};

// The installed image lives until the process ends.
std::unique_ptr<unsigned char, FreeBlock> installedImage;

bool ReadFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(path, ignored)) {
        error = path + ": is a folder, not a rules file";
        return false;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot be read (" + std::strerror(errno != 0 ? errno : ENOENT) + ")";
        return false;
    }
    try {
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    } catch (const std::bad_alloc&) {
        error = path + ": too large to read";
        return false;
    }
    if (in.bad()) {
        error = path + ": cannot be read";
        return false;
    }
    return true;
}

// A Windows program begins with "MZ"; so may, rarely, a resource whose
// length field happens to.
bool LooksLikeProgram(const std::vector<unsigned char>& bytes)
{
    return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}

bool Install(const unsigned char* resource, std::size_t size, const std::string& name,
             std::string& error)
{
    const InflatedImage inflated = InflateRulesImage(resource, size, HeapImageAllocator());
    switch (inflated.status) {
    case InflateStatus::ready:
        installedImage.reset(inflated.block);
        SetRulesImage(inflated.block);
        return true;
    case InflateStatus::noMemory:
        error = name + ": not enough memory for its rules";
        return false;
    case InflateStatus::badData:
        break;
    }
    error = name + ": the rules data is damaged, or this is not a packed rules resource";
    return false;
}

} // namespace

bool InstallRules(const std::string& path, const BuiltInImage& builtIn, std::string& error)
{
    if (path.empty()) {
        if (!IsWellFormedRulesImage(builtIn.bytes, builtIn.size)) {
            error = "the built-in rules are damaged";
            return false;
        }
        SetRulesImage(builtIn.bytes);
        return true;
    }
    std::vector<unsigned char> bytes;
    if (!ReadFile(path, bytes, error))
        return false;
    if (LooksLikeProgram(bytes)) {
        std::vector<unsigned char> resource;
        std::string programError;
        if (ExtractRulesResource(bytes, resource, programError))
            return Install(resource.data(), resource.size(), path, error);
        if (Install(bytes.data(), bytes.size(), path, error))
            return true;
        error = path + ": " + programError;
        return false;
    }
    return Install(bytes.data(), bytes.size(), path, error);
}
