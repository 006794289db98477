#pragma once
// UTC breakdown of calendar seconds and its inverse; never touches the time zone.

#include "data/recording.h"

#include <optional>

namespace veltrin {

// A broken-down UTC time. Month 1-12, day 1-31.
struct CivilTime {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Breaks `seconds` down as UTC; nullopt for a negative count, which has no
// breakdown on the recorder's calendar.
std::optional<CivilTime> BreakDownUtc(CalendarSeconds seconds);

// Inverse of BreakDownUtc. Fields out of range (month 13, day 40, hour 25)
// are normalised the way the calendar carries them over.
CalendarSeconds ToCalendarSeconds(const CivilTime& time);

}  // namespace veltrin
