#include "shell/status_texts.h"

#include "data/number_format.h"

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

}  // namespace veltrin
