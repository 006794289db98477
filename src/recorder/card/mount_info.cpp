#include "recorder/card/mount_info.h"

#include <charconv>

namespace veltrin::card {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const std::size_t start = line.find_first_not_of(' ', pos);
        if (start == std::string_view::npos)
            break;
        std::size_t end = line.find(' ', start);
        if (end == std::string_view::npos)
            end = line.size();
        fields.push_back(line.substr(start, end - start));
        pos = end;
    }
    return fields;
}

bool IsOctal(char c)
{
    return c >= '0' && c <= '7';
}

}  // namespace

std::string DecodeMountPath(std::string_view field)
{
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            const int value =
                (field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0');
            out.push_back(static_cast<char>(value));
            i += 3;
        } else {
            out.push_back(field[i]);
        }
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text)
{
    // Fields: id parent major:minor root mount-point options [optional...] - fstype source
    // super-options
    std::vector<MountEntry> entries;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;

        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() < 7)
            continue;
        std::size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-")
            ++separator;
        if (separator + 1 >= fields.size())
            continue;

        const std::string_view device = fields[2];
        const std::size_t colon = device.find(':');
        if (colon == std::string_view::npos)
            continue;
        MountEntry entry;
        const auto [majorEnd, majorError] =
            std::from_chars(device.data(), device.data() + colon, entry.major);
        const auto [minorEnd, minorError] =
            std::from_chars(device.data() + colon + 1, device.data() + device.size(), entry.minor);
        if (majorError != std::errc() || minorError != std::errc() ||
            majorEnd != device.data() + colon || minorEnd != device.data() + device.size())
            continue;
        entry.root = DecodeMountPath(fields[3]);
        entry.mountPoint = DecodeMountPath(fields[4]);
        entry.fsType = std::string(fields[separator + 1]);
        if (separator + 2 < fields.size())
            entry.source = DecodeMountPath(fields[separator + 2]);
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace veltrin::card
