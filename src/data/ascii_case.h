#pragma once
// Letter case of ASCII text, whatever the process locale is: the recorder's
// identifiers, command names and port names are compared ignoring it.

#include <algorithm>
#include <string_view>

namespace veltrin {

// 'a'..'z' as 'A'..'Z'; every other byte as it is.
constexpr char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// True when `a` and `b` have the same length and differ at most in the case
// of ASCII letters.
constexpr bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return AsciiUpper(x) == AsciiUpper(y);
           });
}

}  // namespace veltrin
