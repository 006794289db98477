#include "data/calendar.h"

#include <limits>

namespace veltrin {

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kDaysPerEra = 146097;          // 400 Gregorian years
constexpr std::int64_t kDaysFromEpochShift = 719468;  // 0000-03-01 to 1970-01-01

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Days since 1970-01-01 of a proleptic Gregorian date; month 1-12. The year is
// counted from March so that the leap day falls at its end.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = FloorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPerEra + dayOfEra - kDaysFromEpochShift;
}

}  // namespace

std::optional<CivilTime> BreakDownUtc(CalendarSeconds seconds)
{
    if (seconds < 0) {
        return std::nullopt;
    }
    const std::int64_t days = seconds / kSecondsPerDay;
    const std::int64_t secondOfDay = seconds % kSecondsPerDay;

    const std::int64_t shifted = days + kDaysFromEpochShift;
    const std::int64_t era = shifted / kDaysPerEra;
    const std::int64_t dayOfEra = shifted - era * kDaysPerEra;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;  // 0 = March
    const std::int64_t month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    if (year > std::numeric_limits<int>::max()) {
        return std::nullopt;
    }

    CivilTime time;
    time.year = static_cast<int>(year);
    time.month = static_cast<int>(month);
    time.day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    time.hour = static_cast<int>(secondOfDay / 3600);
    time.minute = static_cast<int>(secondOfDay / 60 % 60);
    time.second = static_cast<int>(secondOfDay % 60);
    return time;
}

CalendarSeconds ToCalendarSeconds(const CivilTime& time)
{
    const std::int64_t monthIndex = std::int64_t{time.month} - 1;
    const std::int64_t year = std::int64_t{time.year} + FloorDiv(monthIndex, 12);
    const std::int64_t month = monthIndex - FloorDiv(monthIndex, 12) * 12 + 1;
    const std::int64_t days = DaysFromCivil(year, month, 1) + std::int64_t{time.day} - 1;
    return days * kSecondsPerDay + std::int64_t{time.hour} * 3600 + std::int64_t{time.minute} * 60 +
           std::int64_t{time.second};
}

}  // namespace veltrin
