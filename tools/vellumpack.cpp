// vellumpack: packs the rules content sources into the compressed data
// resource that both programs embed, unpacks a resource back into sources,
// lists what a resource holds, checks the sources against their targets,
// layouts and cross references, and puts a resource into a built program (or
// takes it out of one).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "tools/packer/content_check.h"
#include "tools/packer/content_source.h"
#include "tools/packer/cp1252.h"
#include "tools/packer/rules_embed.h"
#include "tools/packer/rules_pack.h"

namespace {

int Usage()
{
    std::cerr << "usage: vellumpack pack <content-folder> <resource-file> [<image-file>]\n"
                 "       vellumpack unpack <resource-file> <content-folder>\n"
                 "       vellumpack list <resource-file>\n"
                 "       vellumpack check <content-folder>\n"
                 "       vellumpack embed <resource-file> <program.exe> <out.exe>\n"
                 "       vellumpack extract <program.exe> <resource-file>\n";
    return 2;
}

bool ReadBytes(const std::string& path, std::vector<unsigned char>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool WriteBytes(const std::filesystem::path& path, const void* bytes, std::size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    return static_cast<bool>(out);
}

bool ReadResource(const std::string& path, std::vector<unsigned char>& image)
{
    std::vector<unsigned char> resource;
    std::string error;
    if (!ReadBytes(path, resource)) {
        std::cerr << path << ": cannot be read\n";
        return false;
    }
    if (!ExpandRulesResource(resource, image, error)) {
        std::cerr << path << ": " << error << "\n";
        return false;
    }
    return true;
}

int Pack(const std::string& root, const std::string& resourcePath, const std::string& imagePath)
{
    std::vector<SourceCategory> categories;
    std::vector<std::string> errors;
    if (!ReadContentTree(root, categories, errors)) {
        for (const std::string& error : errors)
            std::cerr << error << "\n";
        return 1;
    }
    for (SourceCategory& category : categories)
        SortEntries(category.entries);
    const std::vector<unsigned char> image = BuildRulesImage(categories);
    const std::vector<unsigned char> resource = CompressRulesImage(image);
    if (resource.empty()) {
        std::cerr << resourcePath << ": zlib could not compress the image\n";
        return 1;
    }
    if (!WriteBytes(resourcePath, resource.data(), resource.size()) ||
        (!imagePath.empty() && !WriteBytes(imagePath, image.data(), image.size()))) {
        std::cerr << "cannot write " << resourcePath << "\n";
        return 1;
    }
    return 0;
}

int Unpack(const std::string& resourcePath, const std::filesystem::path& root)
{
    std::vector<unsigned char> image;
    if (!ReadResource(resourcePath, image))
        return 1;
    std::string list = "# The categories in the order the programs show them: folder, a tab, the name.\n";
    std::filesystem::create_directories(root);
    for (const SourceCategory& category : ReadRulesImage(image)) {
        std::string text;
        std::string name;
        std::string error;
        if (!FormatEntryFile(category.entries, text, error) ||
            !ConvertCp1252ToUtf8(category.name, name, error)) {
            std::cerr << resourcePath << ": " << error << "\n";
            return 1;
        }
        list += category.folder + "\t" + name + "\n";
        const std::filesystem::path folder = root / category.folder;
        std::filesystem::create_directories(folder);
        WriteBytes(folder / (category.folder + ".txt"), text.data(), text.size());
    }
    return WriteBytes(root / "categories.txt", list.data(), list.size()) ? 0 : 1;
}

int List(const std::string& resourcePath)
{
    std::vector<unsigned char> resource;
    std::vector<unsigned char> image;
    if (!ReadBytes(resourcePath, resource) || !ReadResource(resourcePath, image))
        return 1;
    std::size_t total = 0;
    const std::vector<SourceCategory> categories = ReadRulesImage(image);
    for (const SourceCategory& category : categories) {
        std::printf("%-32s %5zu\n", category.name.c_str(), category.entries.size());
        total += category.entries.size();
    }
    std::printf("%zu categories, %zu entries; image %zu bytes, resource %zu bytes\n",
                categories.size(), total, image.size(), resource.size());
    return 0;
}

int Check(const std::string& root)
{
    const ContentReport report = CheckContentTree(root);
    for (const CheckFinding& finding : report.findings)
        std::printf("%s\n", FormatFinding(finding).c_str());
    for (const CategoryProgress& category : report.progress) {
        const int percent = category.target > 0 ? category.count * 100 / category.target : 0;
        std::printf("%-32s %5d of %5d  %3d%%  %s\n", category.name.c_str(), category.count,
                    category.target, percent, category.complete ? "complete" : "incomplete");
    }
    std::printf("%d entries in %zu categories; %d failures, %d notes\n", report.entries,
                report.progress.size(), report.Failures(), report.Notes());
    return report.Failures() > 0 ? 1 : 0;
}

int Embed(const std::string& resourcePath, const std::string& programPath,
          const std::string& outPath)
{
    std::string error;
    if (!EmbedRulesResource(resourcePath, programPath, outPath, error)) {
        std::cerr << error << "\n";
        return 1;
    }
    return 0;
}

int Extract(const std::string& programPath, const std::string& resourcePath)
{
    std::vector<unsigned char> program;
    std::vector<unsigned char> resource;
    std::string error;
    if (!ReadBytes(programPath, program)) {
        std::cerr << programPath << ": cannot be read\n";
        return 1;
    }
    if (!ExtractRulesResource(program, resource, error)) {
        std::cerr << programPath << ": " << error << "\n";
        return 1;
    }
    if (!WriteBytes(resourcePath, resource.data(), resource.size())) {
        std::cerr << "cannot write " << resourcePath << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 3 && args.size() <= 4 && args[0] == "pack")
        return Pack(args[1], args[2], args.size() == 4 ? args[3] : std::string());
    if (args.size() == 3 && args[0] == "unpack")
        return Unpack(args[1], args[2]);
    if (args.size() == 2 && args[0] == "list")
        return List(args[1]);
    if (args.size() == 2 && args[0] == "check")
        return Check(args[1]);
    if (args.size() == 4 && args[0] == "embed")
        return Embed(args[1], args[2], args[3]);
    if (args.size() == 3 && args[0] == "extract")
        return Extract(args[1], args[2]);
    return Usage();
}
