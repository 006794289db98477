#include "export/data_file_start.h"

#include "data/directory_loader.h"

#include <string>
#include <system_error>
#include <utility>

namespace veltrin {
namespace {

bool StartsWithLetter(const std::string& name, char upper)
{
    return !name.empty() && (name.front() == upper || name.front() == upper - 'A' + 'a');
}

}  // namespace

std::optional<StartRecord> StartForDataFile(const std::filesystem::path& dataFile)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(dataFile, error))
        return std::nullopt;

    // The names are looked up on the absolute path, so that a bare file name
    // inside its day directory works too; the start keeps the path as given.
    const std::filesystem::path full =
        std::filesystem::absolute(dataFile, error).lexically_normal();
    if (error)
        return std::nullopt;
    const std::string fileName = full.filename().string();
    const std::filesystem::path dayDir = full.parent_path();
    const std::string dayName = dayDir.filename().string();
    if (!StartsWithLetter(dayName, 'D') || !StartsWithLetter(fileName, 'S'))
        return std::nullopt;

    // Scanning the day directory applies the same rules as loading the base directory.
    Recording recording;
    ScanDayDirectory(dayDir.parent_path(), dayName, recording);
    for (StartRecord& start : recording) {
        if (start.path.filename() == full.filename()) {
            start.path = dataFile;
            return std::move(start);
        }
    }
    return std::nullopt;
}

}  // namespace veltrin
