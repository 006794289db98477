#include "recorder-sim/recorder_state.h"

#include <unistd.h>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <string_view>
#include <system_error>

namespace veltrin::sim {

namespace {

constexpr std::string_view kPassword = "password";
constexpr std::string_view kNegativeLoad = "max_negative_load";
constexpr std::string_view kPositiveLoad = "max_positive_load";
constexpr std::string_view kSpeed = "max_speed";
constexpr std::string_view kRegistration = "registration";
constexpr std::string_view kEvents = "events";

void SetNumber(const std::string& text, double& target)
{
    double value = 0.0;
    if (ParseNumber(text, value))
        target = value;
}

}  // namespace

std::string FormatNumber(double value)
{
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : std::string("0");
}

bool ParseNumber(const std::string& text, double& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

bool LoadState(const std::string& path, RecorderState& state)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string_view key = std::string_view(line).substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == kPassword) {
            state.password = value;
        } else if (key == kNegativeLoad) {
            SetNumber(value, state.maxNegativeLoad);
        } else if (key == kPositiveLoad) {
            SetNumber(value, state.maxPositiveLoad);
        } else if (key == kSpeed) {
            SetNumber(value, state.maxSpeed);
        } else if (key == kRegistration) {
            state.registration = value;
        } else if (key == kEvents) {
            double events = 0.0;
            if (ParseNumber(value, events))
                state.eventCount = static_cast<int>(events);
        }
    }
    return true;
}

bool SaveState(const std::string& path, const RecorderState& state)
{
    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        auto put = [&out](std::string_view key, const std::string& value) {
            out << key << '=' << value << "\r\n";
        };
        put(kPassword, state.password);
        put(kNegativeLoad, FormatNumber(state.maxNegativeLoad));
        put(kPositiveLoad, FormatNumber(state.maxPositiveLoad));
        put(kSpeed, FormatNumber(state.maxSpeed));
        put(kRegistration, state.registration);
        put(kEvents, FormatNumber(state.eventCount));
        out.flush();
        if (!out) {
            out.close();
            ::unlink(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace veltrin::sim
