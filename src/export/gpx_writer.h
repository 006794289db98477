#pragma once
// The GPX 1.1 document of a start: one track with one segment of the track
// points that have a fix, each with its GPS altitude and its time.

#include "data/recording.h"
#include "export/output_buffer.h"

namespace veltrin {

// Writes the document, UTF-8 with LF line ends, whatever the locale. Points
// keep their position to eight decimals and their GPS altitude to one; their
// times are those of the extended KML document. A point whose position lies
// outside the range GPX allows is left out; one whose GPS altitude is not
// finite goes without one. A start without a fix gives a track with an empty
// segment. Failures show in `out`.
void WriteGpx(const StartRecord& start, OutputBuffer& out);

}  // namespace veltrin
