#include "recorder/recorder_session.h"

#include "data/sentence.h"
#include "data/sentence_parser.h"
#include "recorder/recorder_commands.h"

#include <span>
#include <thread>
#include <utility>

namespace veltrin {

namespace rc = recorder_constants;
namespace cmd = recorder_commands;

namespace {

void SleepFor(std::chrono::milliseconds duration)
{
    std::this_thread::sleep_for(duration);
}

}  // namespace

RecorderSession::RecorderSession(std::unique_ptr<DriveAccess> drives, WaitFunction wait)
    : link_(std::move(drives)), wait_(wait ? std::move(wait) : WaitFunction(SleepFor))
{
}

bool RecorderSession::SendCommand(std::string_view text)
{
    if (!link_.LinkIsOpen())
        return false;
    const std::optional<std::string> sentence = cmd::FrameCommand(text);
    if (!sentence)
        return false;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(sentence->data());
    bool sent = link_.LinkWrite(std::span(bytes, sentence->size()));
    const std::uint8_t lineFeed = '\n';
    sent = link_.LinkWrite(std::span(&lineFeed, 1)) && sent;
    ReadReplies();
    // A port or drive that went away while the command was written has lost it.
    return sent && link_.LinkIsOpen();
}

void RecorderSession::ReadReplies()
{
    std::size_t budget = rc::kMaxBytesPerRead;
    while (budget > 0 && link_.LinkIsOpen() && link_.LinkDataWaiting()) {
        std::uint8_t byte = 0;
        if (!link_.LinkReadByte(byte))
            break;
        --budget;
        if (byte == '\r' || byte == '\n') {
            if (fill_ > 0)
                HandleLine();
            fill_ = 0;  // also ends the skipping of an over-long line
        } else if (fill_ >= 0) {
            if (static_cast<std::size_t>(fill_) < rc::kMaxReplyChars)
                line_[static_cast<std::size_t>(fill_++)] = static_cast<char>(byte);
            else
                fill_ = -1;
        }
    }
}

void RecorderSession::HandleLine()
{
    line_[static_cast<std::size_t>(fill_)] = '\0';
    Sentence sentence;
    if (ParseSentence(sentence, std::string_view(line_.data(), static_cast<std::size_t>(fill_))))
        ApplyReply(sentence);
}

void RecorderSession::ApplyReply(const Sentence& sentence)
{
    if (sentence.kind != SentenceKind::Tx)
        return;
    const ReplyFields* reply = sentence.Get<ReplyFields>();
    if (reply == nullptr)
        return;
    switch (reply->key) {
    case ReplyKey::Limits:
        info_.maxNegativeLoad = reply->reals[0];
        info_.maxPositiveLoad = reply->reals[1];
        info_.maxSpeed = reply->reals[2];
        break;
    case ReplyKey::Serial: info_.serialNumber = reply->text; break;
    case ReplyKey::Version: info_.version = static_cast<float>(reply->reals[0]); break;
    case ReplyKey::Pass: info_.passwordAccepted = reply->value == 1; break;
    case ReplyKey::LfzSign: info_.registration = reply->text; break;
    default: break;
    }
}

RecorderInfo RecorderSession::GetRecorderInfo()
{
    ReadReplies();
    return info_;
}

bool RecorderSession::DetectRecorder(std::string_view portName)
{
    if (portName != lastPortName_)
        CloseLink();
    // Polling the open link notices a port or drive that went away since the
    // last use, so that it is opened afresh below instead of failing once more.
    if (link_.LinkIsOpen())
        link_.LinkDataWaiting();
    if (!link_.LinkIsOpen()) {
        // Also reached when the port or drive went away under an open link.
        CloseLink();
        if (!link_.LinkOpen(portName))
            return false;
        fill_ = 0;  // a line begun on the old link is not continued on the new one
        // Nor does a password verdict from the old link count for whoever
        // answers on the new one.
        info_.passwordAccepted = false;
    }
    lastPortName_ = std::string(portName);
    info_.version = 0.0f;
    info_.serialNumber.clear();

    SendCommand(cmd::kVersion);
    ReadReplies();
    SendCommand(cmd::kSerial);
    ReadReplies();
    Wait(rc::kDetectWait);
    ReadReplies();
    return info_.version != 0.0f;
}

bool RecorderSession::CheckPassword(std::string_view password)
{
    acceptedPassword_.clear();
    // A password that never reached the recorder is not accepted, whatever
    // an earlier reply said.
    if (!SendCommand(cmd::Password(password)))
        return false;
    Wait(rc::kPasswordWait);
    ReadReplies();
    if (info_.passwordAccepted)
        acceptedPassword_ = std::string(password);
    return info_.passwordAccepted;
}

void RecorderSession::CloseLink()
{
    link_.LinkClose();
}

RecorderInfo RecorderSession::ReadRecorderSettings()
{
    SendCommand(cmd::kReadLimits);
    Wait(rc::kReadSettingsWait);
    SendCommand(cmd::kReadRegistration);
    Wait(rc::kReadSettingsWait);
    return GetRecorderInfo();
}

bool RecorderSession::WriteRecorderSettings(const RecorderSettings& settings)
{
    bool sent = SendCommand(
        cmd::WriteLimits(settings.maxNegativeLoad, settings.maxPositiveLoad, settings.maxSpeed));
    Wait(rc::kWriteSettingsWait);
    sent = SendCommand(cmd::WriteRegistration(settings.registration)) && sent;
    Wait(rc::kWriteSettingsWait);
    sent = SendCommand(cmd::SetPassword(settings.password)) && sent;
    Wait(rc::kWriteSettingsWait);
    sent = SendCommand(cmd::kSaveConfig) && sent;
    return sent;
}

void RecorderSession::ClearEvents()
{
    SendCommand(cmd::kClearEvents);
}

void RecorderSession::Wait(std::chrono::milliseconds duration)
{
    wait_(duration);
}

}  // namespace veltrin
