#include "recorder/usb_access_client.h"

#include "recorder/usb_access_frame.h"

#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <thread>
#include <utility>

namespace veltrin {

namespace ua = usb_access;

FallbackScsiDevice::FallbackScsiDevice(std::unique_ptr<ScsiDevice> direct, std::string node,
                                       HelperStart start)
    : direct_(std::move(direct)), node_(std::move(node)), start_(std::move(start))
{
}

int FallbackScsiDevice::Execute(ScsiRequest& request)
{
    if (helper_)
        return helper_->Execute(request);
    const int error = direct_->Execute(request);
    if ((error != EPERM && error != EACCES) || !start_)
        return error;
    helper_ = start_(node_);
    if (!helper_)
        return error;
    // The helper opens the node itself; this descriptor is of no more use.
    direct_.reset();
    return helper_->Execute(request);
}

namespace {

// How long beyond the command's own time-out the helper may take to answer.
constexpr int kHelperGraceMs = 5000;

bool SendAll(int socket, std::span<const std::uint8_t> bytes)
{
    while (!bytes.empty()) {
        // MSG_NOSIGNAL: a helper that has gone must not end the program.
        const ssize_t sent = ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(sent));
    }
    return true;
}

bool ReceiveAll(int socket, std::span<std::uint8_t> bytes, int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!bytes.empty()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd waiting{socket, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t got = ::read(socket, bytes.data(), bytes.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes = bytes.subspan(static_cast<std::size_t>(got));
    }
    return true;
}

}  // namespace

UsbAccessClient::UsbAccessClient(int socket, pid_t child) : socket_(socket), child_(child)
{
}

UsbAccessClient::~UsbAccessClient()
{
    ::close(socket_);
    if (child_ <= 0)
        return;
    // The helper ends when its input closes; one stuck in the device is ended.
    for (int wait = 0; wait < 200; ++wait) {
        if (::waitpid(child_, nullptr, WNOHANG) != 0)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
}

int UsbAccessClient::Execute(ScsiRequest& request)
{
    if (broken_)
        return EIO;
    const ua::CommandFrame& command = request.cdb;
    ua::ReplyFrame frame{};
    const int timeoutMs =
        static_cast<int>(std::min<unsigned>(request.timeoutMs, INT_MAX / 2)) + kHelperGraceMs;
    std::optional<ua::Reply> reply;
    if (SendAll(socket_, command) && ReceiveAll(socket_, frame, timeoutMs))
        reply = ua::ParseReply(frame);
    if (!reply) {
        // Out of step with the helper: nothing it sends later can be trusted.
        broken_ = true;
        return EIO;
    }
    request.sense.fill(0);
    request.data = reply->data;
    request.status = reply->scsiStatus;
    switch (reply->outcome) {
    case ua::Outcome::Done: return 0;
    case ua::Outcome::Refused: return EPERM;
    case ua::Outcome::Failed: break;
    }
    return EIO;
}

std::string FindUsbAccessHelper(const std::string& programFolder, const std::string& pathVariable)
{
    namespace fs = std::filesystem;
    const auto executable = [](const fs::path& path) {
        std::error_code error;
        return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
    };
    if (!programFolder.empty()) {
        const fs::path beside = fs::path(programFolder) / kUsbAccessHelperName;
        if (executable(beside))
            return beside.string();
    }
    std::string_view folders = pathVariable;
    while (!folders.empty()) {
        const std::size_t colon = folders.find(':');
        const std::string_view folder = folders.substr(0, colon);
        folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
        // An empty entry would mean the working folder, which is not searched.
        if (folder.empty() || folder.front() != '/')
            continue;
        const fs::path candidate = fs::path(folder) / kUsbAccessHelperName;
        if (executable(candidate))
            return candidate.string();
    }
    return {};
}

std::unique_ptr<ScsiDevice> StartUsbAccessHelper(const std::string& node)
{
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    const char* path = std::getenv("PATH");
    const std::string helper = FindUsbAccessHelper(
        error ? std::string() : program.parent_path().string(), path != nullptr ? path : "");
    if (helper.empty())
        return nullptr;

    int ends[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return nullptr;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    std::string helperArgument = helper;
    std::string nodeArgument = node;
    char* arguments[] = {helperArgument.data(), nodeArgument.data(), nullptr};
    char* environment[] = {nullptr};
    pid_t child = -1;
    const int spawned =
        ::posix_spawn(&child, helper.c_str(), &actions, nullptr, arguments, environment);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    if (spawned != 0) {
        ::close(ends[0]);
        return nullptr;
    }
    return std::make_unique<UsbAccessClient>(ends[0], child);
}

}  // namespace veltrin
