#pragma once
// A graph window's zoom history: the views it came from, newest first.

#include "graph/graph_settings.h"

#include <optional>
#include <vector>

namespace veltrin {

class ZoomHistory {
public:
    void Push(const ZoomState& state) { entries_.push_back(state); }
    // Takes the newest entry off; nothing (std::nullopt) when empty.
    std::optional<ZoomState> Pop();
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }
    int Size() const { return static_cast<int>(entries_.size()); }

private:
    std::vector<ZoomState> entries_;  // oldest first; the newest is at the back
};

}  // namespace veltrin
