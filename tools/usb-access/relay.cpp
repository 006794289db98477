#include "usb-access/relay.h"

#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <span>

namespace veltrin::usb_access {

namespace {

enum class ReadResult { Full, Closed, Partial, Failed };

ReadResult ReadFrame(int fd, std::span<std::uint8_t> frame)
{
    std::size_t taken = 0;
    while (taken < frame.size()) {
        const ssize_t got = ::read(fd, frame.data() + taken, frame.size() - taken);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return ReadResult::Failed;
        if (got == 0)
            return taken == 0 ? ReadResult::Closed : ReadResult::Partial;
        taken += static_cast<std::size_t>(got);
    }
    return ReadResult::Full;
}

bool WriteFrame(int fd, std::span<const std::uint8_t> frame)
{
    while (!frame.empty()) {
        const ssize_t written = ::write(fd, frame.data(), frame.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        frame = frame.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

Reply AnswerCommand(const CommandFrame& command, ScsiDevice& device)
{
    if (!IsAllowedCommand(command))
        return EmptyReply(Outcome::Refused);
    ScsiRequest request = RequestFor(command);
    if (device.Execute(request) != 0)
        return EmptyReply(Outcome::Failed);
    return ReplyTo(request);
}

RelayEnd RelayExchanges(int input, int output, ScsiDevice& device)
{
    for (;;) {
        CommandFrame command{};
        switch (ReadFrame(input, command)) {
        case ReadResult::Full: break;
        case ReadResult::Closed: return RelayEnd::InputClosed;
        case ReadResult::Partial: return RelayEnd::BrokenFrame;
        case ReadResult::Failed: return RelayEnd::InputFailed;
        }
        if (!WriteFrame(output, FormatReply(AnswerCommand(command, device))))
            return RelayEnd::OutputFailed;
    }
}

}  // namespace veltrin::usb_access
