// Putting a packed rules resource into a copy of a built program, and taking
// it out again.
#include "tools/packer/rules_embed.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "resources/shared/resource_ids.h"
#include "tools/packer/pe_resources.h"
#include "tools/packer/rules_pack.h"

namespace {

using Bytes = std::vector<unsigned char>;

// The programs find their rules with FindResourceEx(module, "DataFiles",
// 114, English (US)); a resource type given by text is stored in upper case
// and looked up so.
constexpr std::uint16_t rulesLanguage = 0x409;

bool IsRulesResource(const ProgramResource& resource)
{
    return resource.type == ResourceKey::Text(u"DATAFILES") &&
           resource.name == ResourceKey::Number(IDR_RULES_DATA) &&
           resource.language == rulesLanguage;
}

bool ReadFileBytes(const std::filesystem::path& path, Bytes& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool Fail(const std::filesystem::path& path, const std::string& what, std::string& error)
{
    error = path.string() + ": " + what;
    return false;
}

// Writes the bytes under a temporary name beside the output, with the
// program's permissions, then renames; removes the temporary on failure.
bool WriteWholeOrNothing(const std::filesystem::path& outPath, const Bytes& bytes,
                         const std::filesystem::path& programPath, std::string& error)
{
    std::filesystem::path temporary = outPath;
    temporary += ".vellumpack-tmp";
    std::error_code ignored;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::filesystem::remove(temporary, ignored);
            return Fail(outPath, "cannot be written", error);
        }
    }
    std::filesystem::permissions(
        temporary, std::filesystem::status(programPath, ignored).permissions(), ignored);
    std::error_code renamed;
    std::filesystem::rename(temporary, outPath, renamed);
    if (renamed) {
        std::filesystem::remove(temporary, ignored);
        return Fail(outPath, "cannot be written (" + renamed.message() + ")", error);
    }
    return true;
}

}  // namespace

bool ReplaceRulesResource(const Bytes& program, const Bytes& resource, Bytes& result,
                          std::string& error)
{
    std::vector<ProgramResource> resources;
    if (!ReadProgramResources(program, resources, error))
        return false;
    const auto rules = std::find_if(resources.begin(), resources.end(), IsRulesResource);
    if (rules == resources.end()) {
        error = "the program carries no rules resource (DATAFILES 114) to replace";
        return false;
    }
    rules->data = resource;
    return WriteProgramResources(program, std::move(resources), result, error);
}

bool ExtractRulesResource(const Bytes& program, Bytes& resource, std::string& error)
{
    std::vector<ProgramResource> resources;
    if (!ReadProgramResources(program, resources, error))
        return false;
    const auto rules = std::find_if(resources.begin(), resources.end(), IsRulesResource);
    if (rules == resources.end()) {
        error = "the program carries no rules resource (DATAFILES 114)";
        return false;
    }
    resource = rules->data;
    return true;
}

bool EmbedRulesResource(const std::filesystem::path& resourcePath,
                        const std::filesystem::path& programPath,
                        const std::filesystem::path& outPath, std::string& error)
{
    Bytes resource;
    Bytes image;
    Bytes program;
    Bytes result;
    std::string reason;
    if (!ReadFileBytes(resourcePath, resource))
        return Fail(resourcePath, "cannot be read", error);
    if (!ExpandRulesResource(resource, image, reason))
        return Fail(resourcePath, reason, error);
    if (!ReadFileBytes(programPath, program))
        return Fail(programPath, "cannot be read", error);
    if (!ReplaceRulesResource(program, resource, result, reason))
        return Fail(programPath, reason, error);
    return WriteWholeOrNothing(outPath, result, programPath, error);
}
