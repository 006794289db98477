#include "recorder/drive_identity.h"

#include "recorder/recorder_constants.h"

#include <cctype>
#include <charconv>
#include <string_view>

namespace veltrin {

namespace rc = recorder_constants;

namespace {

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// Reads the leading decimal number of a revision text ("2.10", " 2.1a");
// 0 when it holds none.
double RevisionNumber(std::string_view text)
{
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())) != 0)
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    (void)end;
    return error == std::errc() ? value : 0.0;
}

}  // namespace

bool IsRecorderDrive(const DiskDescriptor& disk)
{
    return disk.usbBus && StartsWith(disk.vendor, rc::kRecorderVendorPrefix) &&
           StartsWith(disk.product, rc::kRecorderProductPrefix) &&
           RevisionNumber(disk.revision) >= rc::kMinRecorderRevision;
}

bool IsRecorderNode(const NodeIdentity& node)
{
    return node.wholeDisk && IsRecorderDrive(node.disk);
}

}  // namespace veltrin
