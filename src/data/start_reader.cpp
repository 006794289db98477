#include "data/start_reader.h"

#include "data/start_data_stream.h"

#include <cerrno>
#include <memory>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <filesystem>
#include <fstream>
#endif

namespace veltrin {

namespace {

// Files are read in large blocks; lines are taken from memory.
constexpr std::size_t kReadBlockSize = std::size_t{1} << 18;

#if defined(__unix__) || defined(__APPLE__)

// An open file descriptor, closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }

private:
    int fd_;
};

std::error_code LastError()
{
    return {errno, std::generic_category()};
}

// Reads `fd` to its end into `stream`. End of file and read errors both end
// the reading; what was read stays.
void ReadAll(int fd, StartDataStream& stream)
{
    const auto block = std::make_unique<char[]>(kReadBlockSize);
    for (;;) {
        const ssize_t count = ::read(fd, block.get(), kReadBlockSize);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count <= 0) {
            break;
        }
        stream.Feed(std::string_view(block.get(), static_cast<std::size_t>(count)));
    }
}

#endif

}  // namespace

StartReadResult ReadStartData(StartRecord& start)
{
    return ReadStartData(start, StartReadOptions{});
}

StartReadResult ReadStartData(StartRecord& start, const StartReadOptions& options)
{
    if (start.loaded) {
        return {};
    }
    start.samples.clear();
    start.fixes.clear();
#if defined(__unix__) || defined(__APPLE__)
    // Without O_NONBLOCK, opening a named pipe waits for a writer for ever.
    const Descriptor file(::open(start.path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        return {StartReadError::CannotOpen, LastError()};
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0) {
        return {StartReadError::CannotOpen, LastError()};
    }
    if (!S_ISREG(status.st_mode)) {
        return {StartReadError::NotRegularFile, {}};
    }
    StartDataStream stream(start, options);
    ReadAll(file.Get(), stream);
#else
    // Without a non-blocking open here, the type is checked on the path
    // before the file is opened.
    std::error_code typeError;
    if (!std::filesystem::is_regular_file(start.path, typeError)) {
        return typeError ? StartReadResult{StartReadError::CannotOpen, typeError}
                         : StartReadResult{StartReadError::NotRegularFile, {}};
    }
    std::ifstream file(start.path, std::ios::binary);
    if (!file.is_open()) {
        return {StartReadError::CannotOpen, std::make_error_code(std::errc::permission_denied)};
    }
    StartDataStream stream(start, options);
    const auto block = std::make_unique<char[]>(kReadBlockSize);
    while (file) {
        file.read(block.get(), static_cast<std::streamsize>(kReadBlockSize));
        if (file.gcount() > 0) {
            stream.Feed(std::string_view(block.get(), static_cast<std::size_t>(file.gcount())));
        }
    }
#endif
    stream.Finish();
    start.loaded = options.keepSamples;
    return {};
}

bool LoadStartData(StartRecord& start)
{
    return ReadStartData(start).Ok();
}

}  // namespace veltrin
