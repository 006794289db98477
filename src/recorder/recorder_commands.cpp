#include "recorder/recorder_commands.h"

#include "data/number_format.h"
#include "data/sentence_parser.h"
#include "recorder/recorder_constants.h"

namespace veltrin::recorder_commands {

namespace rc = recorder_constants;

namespace {

std::string WithArgument(std::string_view command, std::string_view argument)
{
    std::string text(command);
    text += ',';
    text += argument;
    return text;
}

bool HasControlCharacter(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return true;
    }
    return false;
}

}  // namespace

std::string Password(std::string_view password)
{
    return WithArgument("PASS", password);
}

std::string WriteLimits(double maxNegativeLoad, double maxPositiveLoad, double maxSpeed)
{
    std::string text = "LIMITS,1,";
    AppendFixed(text, maxNegativeLoad, 1);
    text += ',';
    AppendFixed(text, maxPositiveLoad, 1);
    text += ',';
    AppendFixed(text, maxSpeed, 0);
    return text;
}

std::string WriteRegistration(std::string_view registration)
{
    return WithArgument("LFZSIGN", registration);
}

std::string SetPassword(std::string_view password)
{
    return WithArgument("SETPASS", password);
}

std::optional<std::string> FrameCommand(std::string_view text)
{
    if (HasControlCharacter(text))
        return std::nullopt;
    std::string sentence(rc::kCommandPrefix);
    sentence += text;
    constexpr std::size_t kChecksumAndTerminator = 4;  // "*hh" and the zero
    if (sentence.size() + kChecksumAndTerminator > rc::kCommandBufferSize)
        return std::nullopt;
    AppendChecksum(sentence);
    return sentence;
}

}  // namespace veltrin::recorder_commands
