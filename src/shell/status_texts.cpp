#include "shell/status_texts.h"

#include "data/number_format.h"
#include "data/start_text.h"

namespace veltrin {

std::string MarkerText(double seconds, double accZ, double ias, double altitude)
{
    std::string text = "Mark: ";
    AppendFixed(text, seconds, 1, 5);
    text += " sec    ";
    AppendFixed(text, accZ, 1, 4);
    text += " g    ";
    AppendFixed(text, ias, 0, 4);
    text += " km/h    ";
    AppendFixed(text, altitude, 0, 4);
    text += " m";
    return text;
}

std::string ShownStartText(const StartRecord& start)
{
    std::string text = DayText(start.startTime) + ' ' + TimeOfDayText(start.startTime);
    if (start.landingTime != 0)
        text += " – " + TimeOfDayText(start.landingTime);
    return text;
}

}  // namespace veltrin
