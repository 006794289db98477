// veltrin-recorder-sim: plays the recorder on a pseudo-terminal so that the
// recorder features can be tried and tested without one.

#include "recorder-sim/pseudo_terminal.h"
#include "recorder-sim/recorder_state.h"
#include "recorder-sim/simulated_recorder.h"
#include "veltrin/version.h"

#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using veltrin::sim::RecorderState;
using veltrin::sim::SimulatedRecorder;
using Clock = SimulatedRecorder::Clock;

constexpr const char* kUsage =
    "Usage: veltrin-recorder-sim [options]\n"
    "       veltrin-recorder-sim --help | --version\n"
    "Plays the Veltrin recorder on a pseudo-terminal; prints its path first.\n"
    "  --version V          firmware version reported (default 2.1; 0 plays no recorder)\n"
    "  --serial S           serial number (default SN4711)\n"
    "  --password P         password (default 1234)\n"
    "  --limits=N,P,S       negative load, positive load, speed (default -3.5,5.5,250)\n"
    "  --registration R     aircraft registration (default D-EABC)\n"
    "  --delay-ms D         reply delay in milliseconds (default 20)\n"
    "  --state FILE         keep the settings saved by SAVECFG in FILE\n"
    "  --link PATH          also make PATH a symbolic link to the pseudo-terminal\n";

// How often a port that no program holds open is looked at.
constexpr int kIdleLookMs = 10;

struct Options {
    RecorderState state;
    int delayMs = 20;
    std::string stateFile;
    std::string link;
};

void WriteOut(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void WriteError(std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stderr);
}

bool ParseLimits(const std::string& text, RecorderState& state)
{
    std::array<double, 3> values{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t comma = text.find(',', start);
        const bool last = i + 1 == values.size();
        if (last != (comma == std::string::npos))
            return false;
        if (!veltrin::sim::ParseNumber(text.substr(start, comma - start), values[i]))
            return false;
        start = comma + 1;
    }
    state.maxNegativeLoad = values[0];
    state.maxPositiveLoad = values[1];
    state.maxSpeed = values[2];
    return true;
}

// True when `text` can stand as a text field of a reply: a field separator,
// the checksum mark, a sentence start or a control character would break the
// sentence the program reads.
bool FitsInReply(std::string_view text)
{
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return c == ',' || c == '*' || c == '$' || byte < 0x20 || byte == 0x7F;
    });
}

// Returns the options, or nothing after printing why they are wrong.
std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name == "--help" || name == "-h") {
            WriteOut(kUsage);
            std::exit(0);
        }
        constexpr std::array<std::string_view, 8> kKnown = {
            "--version",      "--serial",   "--password", "--limits",
            "--registration", "--delay-ms", "--state",    "--link"};
        if (std::find(kKnown.begin(), kKnown.end(), name) == kKnown.end()) {
            WriteError("veltrin-recorder-sim: unknown option " + name + "\n" + kUsage);
            return std::nullopt;
        }
        if (!value) {
            if (i + 1 >= argc) {
                WriteError("veltrin-recorder-sim: " + name + " needs a value\n");
                return std::nullopt;
            }
            value = argv[++i];
        }
        if ((name == "--serial" || name == "--password" || name == "--registration") &&
            !FitsInReply(*value)) {
            WriteError("veltrin-recorder-sim: " + name +
                       " must not contain \",\", \"*\", \"$\" or control characters: " + *value +
                       "\n");
            return std::nullopt;
        }
        bool ok = true;
        double number = 0.0;
        if (name == "--version") {
            ok = veltrin::sim::ParseNumber(*value, number);
            options.state.version = *value;
        } else if (name == "--serial") {
            options.state.serialNumber = *value;
        } else if (name == "--password") {
            options.state.password = *value;
        } else if (name == "--limits") {
            ok = ParseLimits(*value, options.state);
        } else if (name == "--registration") {
            options.state.registration = *value;
        } else if (name == "--delay-ms") {
            const char* end = value->data() + value->size();
            const auto result = std::from_chars(value->data(), end, options.delayMs);
            ok = result.ec == std::errc() && result.ptr == end && options.delayMs >= 0;
        } else if (name == "--state") {
            options.stateFile = *value;
        } else {
            options.link = *value;
        }
        if (!ok) {
            WriteError("veltrin-recorder-sim: bad value for " + name + ": " + *value + "\n");
            return std::nullopt;
        }
    }
    return options;
}

// Points `link` at `target`, replacing an older symbolic link. False when
// `link` is something else or cannot be made.
bool MakeLink(const std::string& link, const std::string& target)
{
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode))
            return false;
        ::unlink(link.c_str());
    }
    return ::symlink(target.c_str(), link.c_str()) == 0;
}

void RemoveLink(const std::string& link, const std::string& target)
{
    std::array<char, 4096> buffer{};
    const ssize_t length = ::readlink(link.c_str(), buffer.data(), buffer.size() - 1);
    if (length > 0 && std::string_view(buffer.data(), static_cast<std::size_t>(length)) == target)
        ::unlink(link.c_str());
}

// Writes all of `bytes`; gives up on what the program does not take within a second.
void WriteReply(int fd, std::string_view bytes)
{
    const auto giveUp = Clock::now() + std::chrono::seconds(1);
    while (!bytes.empty() && Clock::now() < giveUp) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
        } else if (written < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd out{fd, POLLOUT, 0};
            ::poll(&out, 1, 50);
        }
    }
}

// Hands every command byte that has arrived to the recorder.
void TakeWaiting(const veltrin::sim::PseudoTerminal& terminal, SimulatedRecorder& recorder,
                 std::span<std::uint8_t> buffer)
{
    ssize_t got = 0;
    while ((got = ::read(terminal.Fd(), buffer.data(), buffer.size())) > 0)
        recorder.Receive(buffer.first(static_cast<std::size_t>(got)), Clock::now());
}

// The program closed the port. The commands it sent before still count;
// what they and earlier ones would answer goes nowhere.
void TakeHangUp(veltrin::sim::PseudoTerminal& terminal, SimulatedRecorder& recorder,
                std::span<std::uint8_t> buffer)
{
    TakeWaiting(terminal, recorder, buffer);
    recorder.HangUp();
    terminal.DropUnreadReplies();
}

int Run(const Options& options)
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    ::sigprocmask(SIG_BLOCK, &signals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    const int signalFd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (signalFd < 0) {
        WriteError("veltrin-recorder-sim: cannot watch signals\n");
        return 1;
    }

    RecorderState state = options.state;
    if (!options.stateFile.empty())
        veltrin::sim::LoadState(options.stateFile, state);
    SimulatedRecorder recorder(state, std::chrono::milliseconds(options.delayMs),
                               options.stateFile);
    recorder.SetCommandLog([](std::string_view text) {
        std::string line = "CMD ";
        line += text;
        line += '\n';
        WriteOut(line);
    });

    veltrin::sim::PseudoTerminal terminal;
    if (!terminal.Open()) {
        WriteError("veltrin-recorder-sim: cannot open a pseudo-terminal\n");
        return 1;
    }
    if (!options.link.empty() && !MakeLink(options.link, terminal.Path())) {
        WriteError("veltrin-recorder-sim: cannot make the link " + options.link + "\n");
        return 1;
    }
    WriteOut(terminal.Path() + "\n");

    std::array<std::uint8_t, 512> buffer{};
    bool hungUp = false;
    for (;;) {
        if (terminal.HungUp()) {
            if (!hungUp)
                TakeHangUp(terminal, recorder, buffer);
            hungUp = true;
            // Our end reports the hang-up on every poll until a program opens
            // the port again: look again shortly, meanwhile watch the signals.
            pollfd signalWatch{signalFd, POLLIN, 0};
            if (::poll(&signalWatch, 1, kIdleLookMs) > 0)
                break;
            continue;
        }
        hungUp = false;
        int timeoutMs = -1;
        if (const auto due = recorder.NextDue()) {
            const auto wait =
                std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now()).count();
            timeoutMs = wait > 0 ? static_cast<int>(wait) : 0;
        }
        std::array<pollfd, 2> watched{{{terminal.Fd(), POLLIN, 0}, {signalFd, POLLIN, 0}}};
        if (::poll(watched.data(), watched.size(), timeoutMs) < 0 && errno != EINTR)
            break;
        if ((watched[1].revents & POLLIN) != 0) {
            // Commands that arrived with the signal still take effect.
            TakeWaiting(terminal, recorder, buffer);
            break;
        }
        if ((watched[0].revents & POLLHUP) != 0) {
            // Taken here too, in case a program opens the port again before
            // the next look.
            TakeHangUp(terminal, recorder, buffer);
            hungUp = true;
            continue;
        }
        if ((watched[0].revents & POLLIN) != 0) {
            const ssize_t got = ::read(terminal.Fd(), buffer.data(), buffer.size());
            if (got > 0)
                recorder.Receive(std::span(buffer.data(), static_cast<std::size_t>(got)),
                                 Clock::now());
        }
        const std::string due = recorder.TakeDue(Clock::now());
        if (!due.empty())
            WriteReply(terminal.Fd(), due);
    }

    if (!options.link.empty())
        RemoveLink(options.link, terminal.Path());
    ::close(signalFd);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    // Alone, --version is the program's version; with a value it is the
    // firmware version the simulator reports.
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        WriteOut("veltrin-recorder-sim " VELTRIN_VERSION "\n");
        return 0;
    }
    const std::optional<Options> options = ParseOptions(argc, argv);
    if (!options)
        return 2;
    return Run(*options);
}
