#include "recorder/card/card_files.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <system_error>

namespace veltrin::card {
namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiLower(x) == AsciiLower(y);
           });
}

// The entry of `folder` named `part` ignoring case: the exact name when it
// exists, else the first such name in name order, else `part` itself.
std::string MatchEntry(const std::filesystem::path& folder, const std::string& part)
{
    std::error_code error;
    if (std::filesystem::exists(folder / part, error))
        return part;
    std::vector<std::string> matches;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::string name = it->path().filename().string();
        if (EqualIgnoringCase(name, part))
            matches.push_back(std::move(name));
    }
    if (matches.empty())
        return part;
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::filesystem::path FindCardFile(const std::filesystem::path& root, std::string_view relative)
{
    std::filesystem::path result = root;
    std::size_t pos = 0;
    while (pos <= relative.size()) {
        std::size_t end = relative.find('/', pos);
        if (end == std::string_view::npos)
            end = relative.size();
        if (end > pos)
            result /= MatchEntry(result, std::string(relative.substr(pos, end - pos)));
        pos = end + 1;
    }
    return result;
}

std::optional<std::string> ReadFileContent(const std::filesystem::path& path)
{
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return std::nullopt;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string content;
    std::array<char, 4096> chunk{};
    std::size_t count = 0;
    while ((count = std::fread(chunk.data(), 1, chunk.size(), file)) > 0)
        content.append(chunk.data(), count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return content;
}

bool FileExists(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        return false;
    std::fclose(file);
    return true;
}

std::vector<std::string> ReadLines(const std::filesystem::path& path)
{
    std::vector<std::string> lines;
    const std::optional<std::string> content = ReadFileContent(path);
    if (!content)
        return lines;
    const std::string& text = *content;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        const bool lastWithoutEnd = end == std::string::npos;
        if (lastWithoutEnd)
            end = text.size();
        std::string line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        pos = end + 1;
    }
    return lines;
}

std::string ReadLastLine(const std::filesystem::path& path)
{
    std::vector<std::string> lines = ReadLines(path);
    return lines.empty() ? std::string() : std::move(lines.back());
}

std::vector<std::string> ReadLinesNewestFirst(const std::filesystem::path& path)
{
    std::vector<std::string> lines = ReadLines(path);
    std::reverse(lines.begin(), lines.end());
    return lines;
}

}  // namespace veltrin::card
