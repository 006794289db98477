#include "export/atomic_file.h"

#include <cerrno>
#include <chrono>
#include <string>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <unistd.h>
#endif

namespace veltrin {
namespace {

constexpr int kTemporaryNameAttempts = 100;

std::string SystemText(int errorNumber)
{
    return errorNumber != 0 ? std::generic_category().message(errorNumber) : std::string();
}

// ".name.<n>.tmp" beside the target: hidden, so that a folder listing does not
// offer a half-written file. A target name near the file system's length limit
// gets the short ".veltrin.<n>.tmp" instead.
std::filesystem::path TemporaryName(const std::filesystem::path& target, unsigned long long n,
                                    bool shortName)
{
    std::string name = ".";
    name += shortName ? std::string("veltrin") : target.filename().string();
    name += '.';
    name += std::to_string(n);
    name += ".tmp";
    std::filesystem::path path = target;
    path.replace_filename(name);
    return path;
}

// Whether the folder takes a name as long as the target's; true when unknown.
bool TargetNameFits(const std::filesystem::path& target)
{
#if defined(__unix__) || defined(__APPLE__)
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    const long limit = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (limit > 0)
        return target.filename().native().size() <= static_cast<std::size_t>(limit);
#else
    (void)target;
#endif
    return true;
}

}  // namespace

AtomicFile::AtomicFile() = default;

AtomicFile::~AtomicFile()
{
    Discard();
}

ExportResult AtomicFile::Open(const std::filesystem::path& target)
{
    Discard();
    Reset();
    if (target.filename().empty())
        return MakeExportResult(ExportStatus::CannotCreate, SystemText(EISDIR));
    std::error_code error;
    if (std::filesystem::is_directory(target, error)) {
        return MakeExportResult(ExportStatus::CannotCreate, SystemText(EISDIR));
    }
    const auto seed = static_cast<unsigned long long>(
        std::chrono::steady_clock::now().time_since_epoch().count());
    int lastError = 0;
    bool shortName = false;
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::filesystem::path candidate = TemporaryName(
            target, (seed + static_cast<unsigned long long>(attempt)) % 1000000ULL, shortName);
        errno = 0;
#if defined(_WIN32)
        std::FILE* file = _wfopen(candidate.c_str(), L"wbx");
#else
        std::FILE* file = std::fopen(candidate.c_str(), "wbx");
#endif
        if (file != nullptr) {
            file_ = file;
            target_ = target;
            temporary_ = std::move(candidate);
            return MakeExportResult(ExportStatus::Ok);
        }
        lastError = errno;
        if (lastError == ENAMETOOLONG && !shortName && TargetNameFits(target)) {
            shortName = true;
            continue;
        }
        if (lastError != EEXIST)
            break;
    }
    return MakeExportResult(ExportStatus::CannotCreate, SystemText(lastError));
}

bool AtomicFile::Deliver(const char* data, std::size_t size)
{
    if (file_ == nullptr) {
        errno = EBADF;
        return false;
    }
    return std::fwrite(data, 1, size, file_) == size;
}

ExportResult AtomicFile::Commit()
{
    if (file_ == nullptr)
        return MakeExportResult(ExportStatus::CannotCreate, SystemText(EBADF));
    bool written = Flush();
    int errorNumber = written ? 0 : ErrorNumber();
    errno = 0;
    if (written && std::fflush(file_) != 0) {
        written = false;
        errorNumber = errno;
    }
#if defined(__unix__) || defined(__APPLE__)
    if (written && ::fsync(::fileno(file_)) != 0) {
        written = false;
        errorNumber = errno;
    }
#endif
    errno = 0;
    if (std::fclose(file_) != 0 && written) {
        written = false;
        errorNumber = errno;
    }
    file_ = nullptr;
    std::error_code ignored;
    if (!written) {
        std::filesystem::remove(temporary_, ignored);
        return MakeExportResult(ExportStatus::WriteFailed,
                                SystemText(errorNumber != 0 ? errorNumber : EIO));
    }
    // A replaced file keeps its permissions.
    std::error_code statusError;
    const auto existing = std::filesystem::status(target_, statusError);
    if (!statusError && std::filesystem::is_regular_file(existing)) {
        std::filesystem::permissions(temporary_, existing.permissions(),
                                     std::filesystem::perm_options::replace, ignored);
    }
    std::error_code renameError;
    std::filesystem::rename(temporary_, target_, renameError);
    if (renameError) {
        std::filesystem::remove(temporary_, ignored);
        return MakeExportResult(ExportStatus::CannotReplace, renameError.message());
    }
    return MakeExportResult(ExportStatus::Ok);
}

void AtomicFile::Discard()
{
    if (file_ == nullptr)
        return;
    std::fclose(file_);
    file_ = nullptr;
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

}  // namespace veltrin
