#include "export/gpx_writer.h"

#include "data/number_format.h"
#include "export/kml_writer.h"
#include "export/proposed_name.h"
#include "export/start_export.h"

#include <cmath>
#include <string_view>
#include <vector>

namespace veltrin {
namespace {

constexpr std::string_view kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gpx version=\"1.1\" creator=\"Veltrin View\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\n"
    "  <trk>\n"
    "    <name>";
constexpr std::string_view kSegmentOpen = "</name>\n    <trkseg>\n";
constexpr std::string_view kTail = "    </trkseg>\n  </trk>\n</gpx>\n";

// Enough for "%.8f" of any double.
constexpr std::size_t kNumberCapacity = 400;

// GPX takes latitudes from -90 to 90 and longitudes from -180 to 180 degrees;
// a garbled sentence can give anything, and another program reading the file
// would stop at it.
bool HasGpxPosition(const GpsFix& fix)
{
    return std::fabs(fix.latitude) <= 90.0 && std::fabs(fix.longitude) <= 180.0;
}

void PutNumber(OutputBuffer& out, double value, int precision)
{
    char text[kNumberCapacity];
    const char* end = FormatFixed(text, text + sizeof text, value, precision);
    out.Write(text, static_cast<std::size_t>(end - text));
}

void WritePoint(OutputBuffer& out, const GpsFix& fix, CalendarSeconds time)
{
    out.Write("      <trkpt lat=\"");
    PutNumber(out, fix.latitude, 8);
    out.Write("\" lon=\"");
    PutNumber(out, fix.longitude, 8);
    out.Write("\">\n");
    if (std::isfinite(fix.gpsAltitude)) {
        out.Write("        <ele>");
        PutNumber(out, fix.gpsAltitude, 1);
        out.Write("</ele>\n");
    }
    out.Write("        <time>");
    out.Write(KmlTimeString(time));
    out.Write("</time>\n      </trkpt>\n");
}

}  // namespace

void WriteGpx(const StartRecord& start, OutputBuffer& out)
{
    out.Write(kHead);
    out.Write(ProposedFileName(start.startTime));
    out.Write(kSegmentOpen);
    // Dated over all points, those without fix too, so that the midnight
    // rule sees the same sequence as in the extended KML document.
    const std::vector<CalendarSeconds> times = TrackPointTimes(start.startTime, start.fixes);
    for (std::size_t i = 0; i < start.fixes.size(); ++i) {
        const GpsFix& fix = start.fixes[i];
        if (fix.valid && HasGpxPosition(fix))
            WritePoint(out, fix, times[i]);
    }
    out.Write(kTail);
}

}  // namespace veltrin
