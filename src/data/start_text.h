#pragma once
// The texts by which a start is shown: day, start time, extreme values.

#include "data/recording.h"

#include <string>

namespace veltrin {

// "%02d.%02d.%04d" of the UTC date; empty for a negative time, which has no date.
std::string DayText(CalendarSeconds time);

// "%02d:%02d:%02d" of the UTC time of day; empty for a negative time.
std::string TimeOfDayText(CalendarSeconds time);

// The start time, followed by " - " and the landing time when the start has one.
std::string StartTimeText(const StartRecord& start);

// How the four extreme values of a start are written: the text put before
// each value and the character between a value's whole and fractional part.
struct StartValuesLayout {
    const char* beforeMinAccZ;
    const char* beforeMaxAccZ;
    const char* beforeMaxIas;
    const char* beforeMaxAltitude;
    char decimalMark;
};

// Appends minAccZ and maxAccZ with two decimals, maxIas and maxAltitude with
// one, each after its text from `layout`. Only the values take the decimal mark.
void AppendStartValues(std::string& text, const StartRecord& start,
                       const StartValuesLayout& layout);

// "Acc.: %0.2lf - %0.2lf V: %0.1lf  H: %0.1lf" of minAccZ, maxAccZ, maxIas, maxAltitude.
std::string StartValuesText(const StartRecord& start);

}  // namespace veltrin
