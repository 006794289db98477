#include "usb-access/node_check.h"

#include <sys/stat.h>

namespace veltrin::usb_access {

std::optional<OpenedNode> DescribeDescriptor(int fd)
{
    struct stat status {};
    if (::fstat(fd, &status) != 0)
        return std::nullopt;
    return OpenedNode{S_ISBLK(status.st_mode), status.st_rdev};
}

NodeVerdict CheckNode(const std::optional<OpenedNode>& node, const IdentityLookup& lookup)
{
    if (!node || !node->blockDevice)
        return NodeVerdict::NotBlockDevice;
    const std::optional<NodeIdentity> identity = lookup(node->number);
    if (!identity)
        return NodeVerdict::Unknown;
    if (!identity->wholeDisk)
        return NodeVerdict::Partition;
    return IsRecorderNode(*identity) ? NodeVerdict::Recorder : NodeVerdict::NotRecorder;
}

NodeVerdict CheckOpenedNode(int fd, const IdentityLookup& lookup)
{
    return CheckNode(DescribeDescriptor(fd), lookup);
}

}  // namespace veltrin::usb_access
