#pragma once
// Environments for tests: variable lookups answered from a map instead of the
// process environment.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace veltrin::test {

using Variables = std::map<std::string, std::string>;
using VariableLookup = std::function<std::optional<std::string>(const char* name)>;

// An environment that reads `variables` at each lookup, so that a test can
// change it between calls; `variables` must outlive the lookup.
inline VariableLookup LiveEnvironment(const Variables& variables)
{
    return [&variables](const char* name) -> std::optional<std::string> {
        auto it = variables.find(name);
        if (it == variables.end())
            return std::nullopt;
        return it->second;
    };
}

// An environment holding exactly `variables`.
inline VariableLookup FixedEnvironment(Variables variables)
{
    auto held = std::make_shared<const Variables>(std::move(variables));
    return [held, lookup = LiveEnvironment(*held)](const char* name) {
        return lookup(name);
    };
}

}  // namespace veltrin::test
