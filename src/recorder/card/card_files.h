#pragma once
// Finding and reading the recorder's files on a card.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::card {

// `relative` (parts separated by '/') below `root`, each part matched
// ignoring letter case; an exact match wins over others. Parts that do not
// exist keep the spelling given, so the result can name a file to create.
std::filesystem::path FindCardFile(const std::filesystem::path& root, std::string_view relative);

// The whole content of a file; nullopt when it cannot be opened or read.
std::optional<std::string> ReadFileContent(const std::filesystem::path& path);

// True when `path` is a regular file that can be opened for reading.
bool FileExists(const std::filesystem::path& path);

// The lines of a text file without their line ends (LF or CR LF); empty when
// the file cannot be opened.
std::vector<std::string> ReadLines(const std::filesystem::path& path);

// The last line of a text file without its line end; empty when the file
// cannot be opened or holds no line.
std::string ReadLastLine(const std::filesystem::path& path);

// The lines of a text file, last line first; empty when it cannot be opened.
std::vector<std::string> ReadLinesNewestFirst(const std::filesystem::path& path);

}  // namespace veltrin::card
