#pragma once
// A stand-in for the recorder's command side: takes command bytes as they
// arrive on its serial line or USB interface, answers the queries with
// "$VLTTX" sentences after a set delay and applies the setting commands.

#include "recorder-sim/recorder_state.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace veltrin::sim {

class SimulatedRecorder {
public:
    using Clock = std::chrono::steady_clock;
    // Called with the text of every command taken (e.g. "LIMITS,1").
    using CommandLog = std::function<void(std::string_view)>;

    // `stateFile`, when not empty, receives the settings on "SAVECFG" and
    // "CLREVT".
    SimulatedRecorder(RecorderState state, std::chrono::milliseconds delay,
                      std::string stateFile = {});

    void SetCommandLog(CommandLog log) { log_ = std::move(log); }

    // Bytes from the program. Lines end with a line feed (a carriage return
    // is dropped); lines over 511 characters and lines with a bad checksum
    // are ignored.
    void Receive(std::span<const std::uint8_t> bytes, Clock::time_point now);
    // Takes up to `max` reply bytes that are due at `now`.
    std::string TakeDue(Clock::time_point now, std::size_t max = SIZE_MAX);
    // When the next reply falls due; empty when none is pending.
    std::optional<Clock::time_point> NextDue() const;
    // The program let go of the line: drops the replies still pending and a
    // half-received command, so that neither reaches the next program.
    void HangUp();

    // Acts on one command line (without its line end); returns the reply
    // sentences it causes, each ending with CR LF.
    std::vector<std::string> HandleLine(std::string_view line);

    const RecorderState& State() const { return state_; }
    // False when the last write of the state file failed.
    bool StateSaved() const { return stateSaved_; }

private:
    struct PendingReply {
        Clock::time_point due;
        std::string bytes;
    };

    std::vector<std::string> HandleCommand(std::string_view name, std::string_view argument,
                                           bool hasArgument);
    void Save();

    RecorderState state_;
    std::chrono::milliseconds delay_;
    std::string stateFile_;
    CommandLog log_;
    std::string line_;
    bool skipping_ = false;
    std::deque<PendingReply> pending_;
    bool stateSaved_ = true;
};

// "$VLTTX,<body>*hh\r\n"
std::string ReplySentence(std::string_view body);

}  // namespace veltrin::sim
