// libFuzzer target: any bytes as a program. Whatever resource tree is read
// must survive a rewrite: the rewritten program reads back as the same
// resources, in the loader's order.
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "tools/packer/pe_resources.h"

namespace {

bool InLoaderOrder(const ProgramResource& a, const ProgramResource& b)
{
    return std::tie(a.type, a.name, a.language) < std::tie(b.type, b.name, b.language);
}

bool SameBytes(const ProgramResource& a, const ProgramResource& b)
{
    return SameResource(a, b) && a.codePage == b.codePage && a.data == b.data;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size)
{
    const std::vector<unsigned char> program(data, data + size);
    std::vector<ProgramResource> resources;
    std::string error;
    if (!ReadProgramResources(program, resources, error))
        return 0;
    std::vector<unsigned char> rewritten;
    if (!WriteProgramResources(program, resources, rewritten, error))
        return 0;
    std::vector<ProgramResource> again;
    if (!ReadProgramResources(rewritten, again, error))
        std::abort();
    std::stable_sort(resources.begin(), resources.end(), InLoaderOrder);
    if (!std::equal(resources.begin(), resources.end(), again.begin(), again.end(), SameBytes))
        std::abort();
    return 0;
}
