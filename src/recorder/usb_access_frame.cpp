#include "recorder/usb_access_frame.h"

#include <algorithm>

namespace veltrin::usb_access {

bool IsAllowedCommand(const CommandFrame& command)
{
    return command[0] == recorder_constants::kUsbOpcode;
}

std::optional<Reply> ParseReply(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kReplyFrameSize)
        return std::nullopt;
    const std::uint8_t outcome = bytes[kOutcomeOffset];
    if (outcome > static_cast<std::uint8_t>(Outcome::Failed))
        return std::nullopt;
    Reply reply;
    std::copy_n(bytes.begin(), kReplyDataSize, reply.data.begin());
    reply.scsiStatus = bytes[kStatusOffset];
    reply.outcome = static_cast<Outcome>(outcome);
    return reply;
}

ReplyFrame FormatReply(const Reply& reply)
{
    ReplyFrame frame{};
    std::copy(reply.data.begin(), reply.data.end(), frame.begin());
    frame[kStatusOffset] = reply.scsiStatus;
    frame[kOutcomeOffset] = static_cast<std::uint8_t>(reply.outcome);
    return frame;
}

ScsiRequest RequestFor(const CommandFrame& command)
{
    ScsiRequest request;
    request.cdb = command;
    return request;
}

Reply ReplyTo(const ScsiRequest& request)
{
    Reply reply;
    reply.data = request.data;
    reply.scsiStatus = request.status;
    return reply;
}

Reply EmptyReply(Outcome outcome)
{
    Reply reply;
    reply.outcome = outcome;
    return reply;
}

}  // namespace veltrin::usb_access
