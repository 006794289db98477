#pragma once
// A strict well-formedness check for the XML that the KML writer produces.

#include <string_view>

namespace veltrin::fuzz {

// True when `document` is an XML declaration followed by exactly one root
// element: start and end tags nest and match, attributes are quoted and not
// repeated within a tag, text holds no "<" and only the predefined entity or
// character references after "&", and nothing but white space lies outside
// the root. Only printable ASCII, tab, CR and LF may occur (the writer puts
// out nothing else).
bool IsWellFormedXml(std::string_view document);

}  // namespace veltrin::fuzz
