#include "recorder-sim/simulated_recorder.h"

#include "data/ascii_case.h"
#include "data/sentence_parser.h"

#include <algorithm>

namespace veltrin::sim {

namespace {

constexpr std::size_t kMaxLineChars = 511;
constexpr std::string_view kCommandIdentifier = "$VLTCM";

}  // namespace

std::string ReplySentence(std::string_view body)
{
    std::string sentence = "$VLTTX,";
    sentence += body;
    AppendChecksum(sentence);
    sentence += "\r\n";
    return sentence;
}

SimulatedRecorder::SimulatedRecorder(RecorderState state, std::chrono::milliseconds delay,
                                     std::string stateFile)
    : state_(std::move(state)), delay_(delay), stateFile_(std::move(stateFile))
{
}

void SimulatedRecorder::Receive(std::span<const std::uint8_t> bytes, Clock::time_point now)
{
    for (const std::uint8_t byte : bytes) {
        if (byte == '\n') {
            if (!skipping_ && !line_.empty()) {
                std::string reply;
                for (const std::string& sentence : HandleLine(line_))
                    reply += sentence;
                if (!reply.empty())
                    pending_.push_back({now + delay_, std::move(reply)});
            }
            line_.clear();
            skipping_ = false;
        } else if (byte == '\r') {
            continue;
        } else if (!skipping_) {
            if (line_.size() < kMaxLineChars) {
                line_ += static_cast<char>(byte);
            } else {
                line_.clear();
                skipping_ = true;
            }
        }
    }
}

std::string SimulatedRecorder::TakeDue(Clock::time_point now, std::size_t max)
{
    std::string out;
    while (!pending_.empty() && pending_.front().due <= now && out.size() < max) {
        PendingReply& front = pending_.front();
        const std::size_t take = std::min(max - out.size(), front.bytes.size());
        out.append(front.bytes, 0, take);
        front.bytes.erase(0, take);
        if (front.bytes.empty())
            pending_.pop_front();
    }
    return out;
}

std::optional<SimulatedRecorder::Clock::time_point> SimulatedRecorder::NextDue() const
{
    if (pending_.empty())
        return std::nullopt;
    return pending_.front().due;
}

void SimulatedRecorder::HangUp()
{
    pending_.clear();
    line_.clear();
    skipping_ = false;
}

std::vector<std::string> SimulatedRecorder::HandleLine(std::string_view line)
{
    if (!VerifyChecksum(line))
        return {};
    const std::size_t start = line.find('$');
    if (start == std::string_view::npos)
        return {};
    line.remove_prefix(start);
    if (line.size() <= kCommandIdentifier.size() ||
        !EqualsIgnoringCase(line.substr(0, kCommandIdentifier.size()), kCommandIdentifier) ||
        line[kCommandIdentifier.size()] != ',')
        return {};
    std::string_view text = line.substr(kCommandIdentifier.size() + 1);
    text = text.substr(0, text.find('*'));
    if (log_)
        log_(text);

    const std::size_t comma = text.find(',');
    const bool hasArgument = comma != std::string_view::npos;
    const std::string_view name = hasArgument ? text.substr(0, comma) : text;
    const std::string_view argument = hasArgument ? text.substr(comma + 1) : std::string_view();
    return HandleCommand(name, argument, hasArgument);
}

std::vector<std::string> SimulatedRecorder::HandleCommand(std::string_view name,
                                                          std::string_view argument,
                                                          bool hasArgument)
{
    auto is = [name](std::string_view command) {
        return EqualsIgnoringCase(name, command);
    };

    if (is("VERSION"))
        return {ReplySentence("VERSION," + state_.version)};
    if (is("SERIAL"))
        return {ReplySentence("SERIAL," + state_.serialNumber)};
    if (is("PASS")) {
        const bool right = hasArgument && argument == state_.password;
        return {ReplySentence(right ? "PASS,1" : "PASS,0")};
    }
    if (is("LIMITS")) {
        // "LIMITS,1" asks; "LIMITS,1,<negative>,<positive>,<speed>" sets.
        std::vector<std::string> values;
        std::string_view rest = argument;
        while (hasArgument) {
            const std::size_t comma = rest.find(',');
            values.emplace_back(rest.substr(0, comma));
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
        if (values.size() == 1) {
            return {ReplySentence("LIMITS,1," + FormatNumber(state_.maxNegativeLoad) + "," +
                                  FormatNumber(state_.maxPositiveLoad) + "," +
                                  FormatNumber(state_.maxSpeed))};
        }
        double negative = 0.0;
        double positive = 0.0;
        double speed = 0.0;
        if (values.size() == 4 && ParseNumber(values[1], negative) &&
            ParseNumber(values[2], positive) && ParseNumber(values[3], speed)) {
            state_.maxNegativeLoad = negative;
            state_.maxPositiveLoad = positive;
            state_.maxSpeed = speed;
        }
        return {};
    }
    if (is("LFZSIGN")) {
        if (!hasArgument)
            return {ReplySentence("LFZSIGN," + state_.registration)};
        state_.registration = std::string(argument);
        return {};
    }
    if (is("SETPASS")) {
        if (hasArgument)
            state_.password = std::string(argument);
        return {};
    }
    if (is("SAVECFG")) {
        Save();
        return {};
    }
    if (is("CLREVT")) {
        state_.eventCount = 0;
        if (!stateFile_.empty()) {
            // Clearing acts at once, not only on the next save: keep the
            // saved settings and change only the event count.
            RecorderState saved = state_;
            LoadState(stateFile_, saved);
            saved.eventCount = 0;
            stateSaved_ = SaveState(stateFile_, saved);
        }
        return {};
    }
    return {};
}

void SimulatedRecorder::Save()
{
    if (!stateFile_.empty())
        stateSaved_ = SaveState(stateFile_, state_);
}

}  // namespace veltrin::sim
