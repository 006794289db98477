#pragma once
// Helpers shared by the generator tests: temporary folders and file reading.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

namespace veltrin::test {

// A folder below the system's temporary folder, removed with its contents.
class SimTempDir {
public:
    SimTempDir()
    {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path_ = std::filesystem::temp_directory_path() /
                ("veltrin-sim-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~SimTempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    SimTempDir(const SimTempDir&) = delete;
    SimTempDir& operator=(const SimTempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    std::string bytes(error ? 0U : static_cast<std::size_t>(size), '\0');
    std::ifstream in(path, std::ios::binary);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// Lines split at "\n", each keeping its line end.
inline std::vector<std::string> SplitLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < bytes.size()) {
        const auto end = bytes.find('\n', begin);
        const auto stop = end == std::string::npos ? bytes.size() : end + 1;
        lines.push_back(bytes.substr(begin, stop - begin));
        begin = stop;
    }
    return lines;
}

// Every regular file below `dir`, sorted by path.
inline std::vector<std::filesystem::path> FilesBelow(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace veltrin::test
