#include "graph/zoom_history.h"

namespace veltrin {

std::optional<ZoomState> ZoomHistory::Pop()
{
    if (entries_.empty())
        return std::nullopt;
    ZoomState newest = std::move(entries_.back());
    entries_.pop_back();
    return newest;
}

}  // namespace veltrin
