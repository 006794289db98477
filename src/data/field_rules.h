#pragma once
// Numeric field rules of the sentence parser. Each rule reads from the start of
// one field, skipping leading white space before every conversion, with the
// results of the C library's scanf conversion named, in the C locale, whatever
// the process locale is. A field that does not hold every value a rule needs
// (an empty field included) yields 0. Reading stops at the first character that
// cannot continue a number, so a trailing "*hh" does no harm.

#include <cstdint>
#include <string_view>

namespace veltrin {

// Reads numbers one after another from a field, like successive scanf
// conversions. A failed read leaves the cursor where it was.
class FieldScanner {
public:
    explicit FieldScanner(std::string_view field)
        : pos_(field.data()), end_(field.data() + field.size())
    {
    }

    // "%d" or "%<width>d" (width > 0; the width counts a sign character).
    // Out-of-range values wrap the way the 64-bit conversion stored in an int does.
    bool ReadInt(int& value, int width = 0);
    // "%lf": decimal, hexadecimal ("0x…p…"), "inf", "infinity" and "nan" forms.
    bool ReadDouble(double& value);
    // "%f": rounded once to single precision.
    bool ReadFloat(float& value);

private:
    void SkipSpace();
    template <typename T>
    bool ReadReal(T& value);

    const char* pos_;
    const char* end_;
};

// "%d"; 0 when no number.
int ReadIntField(std::string_view field);
// "%lf"; 0 when no number.
double ReadRealField(std::string_view field);
// "%f" widened to double; 0 when no number.
double ReadShortRealField(std::string_view field);
// "%2d%2d%lf": hours × 3600 + minutes × 60 + seconds; 0 unless all three were read.
double ReadTimeOfDayField(std::string_view field);
// "%2d%lf": (degrees × 60 + minutes) / 60; 0 unless both were read.
double ReadLatitudeField(std::string_view field);
// "%3d%lf": as the latitude, with up to three degree digits.
double ReadLongitudeField(std::string_view field);
// Recorder time stamp: "%lf" seconds times 1000, truncated toward zero.
// 0 when unreadable or not a number; values beyond the 32-bit range saturate.
std::int32_t ReadTimeStampField(std::string_view field);
// The time stamp rule applied to seconds already read.
std::int32_t TimeStampFromSeconds(double seconds);

// FAA mode letter as a number: N 0, A 1, D 2, E 6; anything else 0.
int FaaModeNumber(std::string_view field);

}  // namespace veltrin
