#pragma once
// The command exchange with the recorder: sends "$VLTCM" commands over the
// link, collects "$VLTTX" replies and keeps what they tell. The owner (the
// main frame of the program) holds one session and lends it to the wizard
// and the event clearing; the link stays open between operations until
// detection is asked for another port.

#include "recorder/recorder_constants.h"
#include "recorder/recorder_info.h"
#include "recorder/recorder_link.h"

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace veltrin {

struct Sentence;

class RecorderSession {
public:
    // Blocks for the given time; the fixed waits of the exchange go through it.
    using WaitFunction = std::function<void(std::chrono::milliseconds)>;

    explicit RecorderSession(std::unique_ptr<DriveAccess> drives = CreateSystemDriveAccess(),
                             WaitFunction wait = {});

    // Sends one command ("$VLTCM," + text + checksum, then a line feed) and
    // reads what is waiting. Returns false when the command did not go out
    // whole: the link is closed or was lost while writing, or the text holds
    // a control character or is too long.
    bool SendCommand(std::string_view text);
    // Reads every waiting byte and acts on each complete reply line.
    void ReadReplies();
    // Reads waiting replies, then returns a copy of the recorder information.
    RecorderInfo GetRecorderInfo();

    // Opens the link to `portName` (reopening it when the name changed or the
    // link was lost) and asks for version and serial number. True when the
    // recorder answered with a version other than 0. A link opened afresh
    // starts without a password verdict.
    bool DetectRecorder(std::string_view portName);
    // Sends the password and waits for the verdict. True when the newest PASS
    // reply accepted it; then GetPassword() returns it, else an empty text.
    // False without waiting when the password could not be sent at all.
    bool CheckPassword(std::string_view password);
    std::string GetPassword() const { return acceptedPassword_; }
    void CloseLink();

    // Asks for limits and registration (each followed by its 250 ms wait) and
    // returns the recorder information.
    RecorderInfo ReadRecorderSettings();
    // Sends limits, registration and password with 50 ms between them, then
    // makes them permanent. False when any of the four commands did not go
    // out whole (the recorder went away); the rest are still tried in order.
    bool WriteRecorderSettings(const RecorderSettings& settings);
    // Asks the recorder to clear its stored overload events.
    void ClearEvents();

    RecorderLink& Link() { return link_; }

private:
    void HandleLine();
    void ApplyReply(const Sentence& sentence);
    void Wait(std::chrono::milliseconds duration);

    RecorderLink link_;
    WaitFunction wait_;
    RecorderInfo info_;
    std::string lastPortName_;
    std::string acceptedPassword_;
    std::array<char, recorder_constants::kReplyLineSize> line_{};
    int fill_ = 0;  // characters held; -1 while an over-long line is skipped
};

}  // namespace veltrin
