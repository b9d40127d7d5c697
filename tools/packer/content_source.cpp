// Reading and writing the human-editable content sources.
#include "tools/packer/content_source.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

#include "tools/packer/cp1252.h"
#include "tools/packer/rules_pack.h"

namespace {

const std::string_view titleMarker = "== ";

struct SourceLine {
    std::string_view text;
    int number;
};

std::string Located(const std::string& file, int line, const std::string& problem)
{
    return file + ":" + std::to_string(line) + ": " + problem;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Splits at LF or CR LF. A CR anywhere else stays in its line, where the
// checks of titles, bodies and names refuse it.
std::vector<SourceLine> SplitLines(std::string_view text)
{
    std::vector<SourceLine> lines;
    const std::string_view byteOrderMark = "\xEF\xBB\xBF";
    if (StartsWith(text, byteOrderMark))
        text.remove_prefix(byteOrderMark.size());
    int number = 1;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(SourceLine{line, number});
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
        ++number;
    }
    return lines;
}

bool ToCp1252(std::string_view utf8, const std::string& file, int line, std::string& out,
              std::vector<std::string>& errors)
{
    std::string problem;
    if (ConvertUtf8ToCp1252(utf8, out, problem))
        return true;
    errors.push_back(Located(file, line, problem));
    return false;
}

// Joins the collected body lines with CR LF, without the empty lines at the end.
std::string JoinBody(std::vector<std::string> lines)
{
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    std::string body;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            body += "\r\n";
        body += lines[i];
    }
    return body;
}

void AddTitleLine(const SourceLine& line, const std::string& file,
                  std::vector<SourceEntry>& entries, std::vector<std::string>& errors)
{
    SourceEntry entry;
    entry.file = file;
    entry.line = line.number;
    if (ToCp1252(line.text.substr(titleMarker.size()), file, line.number, entry.title, errors)) {
        const std::string problem = CheckTitle(entry.title);
        if (!problem.empty())
            errors.push_back(Located(file, line.number, problem));
    }
    entries.push_back(entry);
}

void AddBodyLine(const SourceLine& line, const std::string& file, std::vector<std::string>& body,
                 std::vector<std::string>& errors)
{
    std::string_view text = line.text;
    if (StartsWith(text, "\\"))
        text.remove_prefix(1);
    std::string converted;
    if (ToCp1252(text, file, line.number, converted, errors)) {
        const std::string problem = CheckBody(converted);
        if (!problem.empty())
            errors.push_back(Located(file, line.number, problem));
    }
    body.push_back(converted);
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream content;
    content << in.rdbuf();
    text = content.str();
    return true;
}

std::vector<std::filesystem::path> EntryFilesOf(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    for (const auto& item : std::filesystem::directory_iterator(folder)) {
        if (item.is_regular_file() && item.path().extension() == ".txt")
            files.push_back(item.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// A body line that the reader would otherwise take for a title line or whose
// leading backslash it would drop.
bool NeedsEscape(std::string_view line)
{
    return StartsWith(line, titleMarker) || StartsWith(line, "\\");
}

}  // namespace

void ParseEntryFile(std::string_view utf8, const std::string& fileName,
                    std::vector<SourceEntry>& entries, std::vector<std::string>& errors)
{
    std::vector<std::string> body;
    bool inEntry = false;
    for (const SourceLine& line : SplitLines(utf8)) {
        if (StartsWith(line.text, titleMarker)) {
            if (inEntry)
                entries.back().body = JoinBody(std::move(body));
            body.clear();
            AddTitleLine(line, fileName, entries, errors);
            inEntry = true;
        } else if (inEntry) {
            AddBodyLine(line, fileName, body, errors);
        } else if (!line.text.empty() && line.text[0] != '#') {
            errors.push_back(Located(fileName, line.number, "text before the first entry"));
        }
    }
    if (inEntry)
        entries.back().body = JoinBody(std::move(body));
}

void ParseCategoryList(std::string_view utf8, const std::string& fileName,
                       std::vector<SourceCategory>& categories, std::vector<std::string>& errors)
{
    for (const SourceLine& line : SplitLines(utf8)) {
        if (line.text.empty() || line.text[0] == '#')
            continue;
        const std::size_t tab = line.text.find('\t');
        if (tab == std::string_view::npos || tab == 0) {
            errors.push_back(Located(fileName, line.number, "expected a folder, a tab and a name"));
            continue;
        }
        SourceCategory category;
        category.folder = std::string(line.text.substr(0, tab));
        if (ToCp1252(line.text.substr(tab + 1), fileName, line.number, category.name, errors)) {
            const std::string problem = CheckCategoryName(category.name);
            if (!problem.empty())
                errors.push_back(Located(fileName, line.number, problem));
        }
        categories.push_back(category);
    }
}

bool ReadContentTree(const std::filesystem::path& root, std::vector<SourceCategory>& categories,
                     std::vector<std::string>& errors)
{
    const std::size_t errorsBefore = errors.size();
    const std::filesystem::path listPath = root / "categories.txt";
    std::string text;
    if (!ReadWholeFile(listPath, text)) {
        errors.push_back(listPath.string() + ": cannot be read");
        return false;
    }
    ParseCategoryList(text, listPath.string(), categories, errors);
    for (SourceCategory& category : categories) {
        const std::filesystem::path folder = root / category.folder;
        std::error_code problem;
        if (!std::filesystem::is_directory(folder, problem)) {
            errors.push_back(folder.string() + ": no such folder");
            continue;
        }
        for (const std::filesystem::path& file : EntryFilesOf(folder)) {
            if (!ReadWholeFile(file, text)) {
                errors.push_back(file.string() + ": cannot be read");
                continue;
            }
            ParseEntryFile(text, file.string(), category.entries, errors);
        }
    }
    return errors.size() == errorsBefore;
}

bool FormatEntryFile(const std::vector<SourceEntry>& entries, std::string& utf8, std::string& error)
{
    utf8.clear();
    for (const SourceEntry& entry : entries) {
        std::string title;
        std::string body;
        if (!ConvertCp1252ToUtf8(entry.title, title, error) ||
            !ConvertCp1252ToUtf8(entry.body, body, error)) {
            error = "entry \"" + entry.title + "\": " + error;
            return false;
        }
        if (!utf8.empty())
            utf8 += "\n";
        utf8 += std::string(titleMarker) + title + "\n";
        std::size_t start = 0;
        while (!body.empty() && start <= body.size()) {
            std::size_t end = body.find("\r\n", start);
            const std::string_view line =
                std::string_view(body).substr(start, end == std::string::npos ? end : end - start);
            utf8 += NeedsEscape(line) ? "\\" : "";
            utf8 += std::string(line) + "\n";
            if (end == std::string::npos)
                break;
            start = end + 2;
        }
    }
    return true;
}

std::string FolderNameFor(std::string_view categoryName)
{
    std::string folder;
    bool pendingHyphen = false;
    for (const char ch : categoryName) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80 && std::isalnum(c)) {
            if (pendingHyphen && !folder.empty())
                folder += '-';
            folder += static_cast<char>(std::tolower(c));
            pendingHyphen = false;
        } else {
            pendingHyphen = true;
        }
    }
    return folder.empty() ? "category" : folder;
}
