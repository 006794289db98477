#pragma once
// Conversion between the recorder's 8-bit texts and the user interface's
// texts. The recorder stores single bytes (Latin-1 where not ASCII).

#include <QString>

#include <string>
#include <string_view>

namespace veltrin {

// Texts typed by the user as the recorder's bytes; characters beyond
// Latin-1 become '?'.
std::string BytesFromText(const QString& text);

// Bytes from the recorder or its card as text: UTF-8 when they are valid
// UTF-8, else Latin-1.
QString TextFromBytes(std::string_view bytes);

}  // namespace veltrin
