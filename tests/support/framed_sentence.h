#pragma once
// A recorder sentence framed with its checksum, as the recorder writes it.

#include "data/sentence_parser.h"

#include <string>

namespace veltrin::test {

// `body` ("$GPGGA,...") with its correct "*hh" appended.
inline std::string Framed(std::string body)
{
    AppendChecksum(body);
    return body;
}

}  // namespace veltrin::test
