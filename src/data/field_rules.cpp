#include "data/field_rules.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

namespace veltrin {

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when the next characters of [p, end) spell `word` (lower case) ignoring case.
bool StartsWithWord(const char* p, const char* end, std::string_view word)
{
    if (static_cast<std::size_t>(end - p) < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(p[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

// Collects the characters the scanf real conversion takes for a number in
// decimal or (after "0x") hexadecimal form: digits, one point before the
// exponent, the exponent letter after a digit and a sign right after it.
const char* CollectRealDigits(const char* p, const char* end, bool hex)
{
    const char exponent = hex ? 'p' : 'e';
    bool gotDigit = false;
    bool gotDot = false;
    bool gotExponent = false;
    for (; p < end; ++p) {
        const char c = *p;
        if (IsDigit(c) || (hex && !gotExponent && IsHexDigit(c))) {
            gotDigit = true;
        } else if (gotExponent && Lower(p[-1]) == exponent && (c == '-' || c == '+')) {
            // sign of the exponent
        } else if (gotDigit && !gotExponent && Lower(c) == exponent) {
            gotExponent = true;
            gotDot = true;
        } else if (c == '.' && !gotDot) {
            gotDot = true;
        } else {
            break;
        }
    }
    return p;
}

// Whether a number whose conversion fell out of range was too large (rather
// than too small). Out-of-range numbers lie far beyond 1 either way, so the
// position of the leading digit plus the exponent decides.
bool IsHugeMagnitude(std::string_view text, bool hex)
{
    const char exponentLetter = hex ? 'p' : 'e';
    long long lead = 0;
    bool found = false;
    bool afterDot = false;
    long long fractionZeros = 0;
    long long integerDigits = 0;
    std::size_t i = 0;
    for (; i < text.size() && Lower(text[i]) != exponentLetter; ++i) {
        const char c = text[i];
        if (c == '.') {
            afterDot = true;
        } else if (!found && c == '0') {
            fractionZeros += afterDot ? 1 : 0;
        } else if (!found) {
            found = true;
            integerDigits = afterDot ? 0 : 1;
        } else if (!afterDot) {
            ++integerDigits;
        }
    }
    lead = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
    if (hex) {
        lead *= 4;
    }
    long long exponent = 0;
    bool negative = false;
    if (i < text.size()) {
        ++i;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
            negative = text[i] == '-';
            ++i;
        }
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            if (exponent < 1000000000LL) {
                exponent = exponent * 10 + (text[i] - '0');
            }
        }
    }
    return lead + (negative ? -exponent : exponent) > 0;
}

// Largest mantissa and power of ten that T holds exactly: a quotient of two
// such numbers is rounded once, exactly as a full conversion rounds.
template <typename T>
struct ExactLimits;
template <>
struct ExactLimits<float> {
    static constexpr std::uint64_t kMantissa = std::uint64_t{1} << 24;
    static constexpr int kPower = 10;
};
template <>
struct ExactLimits<double> {
    static constexpr std::uint64_t kMantissa = std::uint64_t{1} << 53;
    static constexpr int kPower = 22;
};

template <typename T>
constexpr T kPowersOfTen[] = {T(1e0),  T(1e1),  T(1e2),  T(1e3),  T(1e4),  T(1e5),
                              T(1e6),  T(1e7),  T(1e8),  T(1e9),  T(1e10), T(1e11),
                              T(1e12), T(1e13), T(1e14), T(1e15), T(1e16), T(1e17),
                              T(1e18), T(1e19), T(1e20), T(1e21), T(1e22)};

// The common case of recorder files: a plain decimal number (digits and at
// most one point, no exponent) with few digits. Returns the end of the number,
// or nullptr when the general conversion is needed.
template <typename T>
const char* ReadPlainDecimal(const char* p, const char* end, T& magnitude)
{
    constexpr std::ptrdiff_t kMaxDigits = 19;  // any 19 digits fit in 64 bits
    std::uint64_t mantissa = 0;
    const char* const integerStart = p;
    for (; p < end && IsDigit(*p); ++p) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    const std::ptrdiff_t integerDigits = p - integerStart;
    std::ptrdiff_t fractionDigits = 0;
    if (p < end && *p == '.') {
        const char* const fractionStart = ++p;
        for (; p < end && IsDigit(*p); ++p) {
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        }
        fractionDigits = p - fractionStart;
    }
    const std::ptrdiff_t digits = integerDigits + fractionDigits;
    if (digits == 0 || digits > kMaxDigits || fractionDigits > ExactLimits<T>::kPower ||
        mantissa > ExactLimits<T>::kMantissa) {
        return nullptr;
    }
    if (p < end && (Lower(*p) == 'e' || Lower(*p) == 'x')) {
        return nullptr;  // an exponent or a hexadecimal number follows
    }
    magnitude = static_cast<T>(mantissa) / kPowersOfTen<T>[fractionDigits];
    return p;
}

template <typename T>
bool ConvertMagnitude(std::string_view text, bool hex, T& magnitude)
{
    const auto format = hex ? std::chars_format::hex : std::chars_format::general;
    T value{};
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value, format);
    if (result.ec == std::errc::result_out_of_range) {
        magnitude = IsHugeMagnitude(text, hex) ? std::numeric_limits<T>::infinity() : T{0};
        return true;
    }
    if (result.ec != std::errc{}) {
        // "0x" followed by no digit reads as the 0 before the "x".
        magnitude = T{0};
        return hex;
    }
    magnitude = value;
    return true;
}

}  // namespace

void FieldScanner::SkipSpace()
{
    while (pos_ < end_ && IsSpace(*pos_)) {
        ++pos_;
    }
}

bool FieldScanner::ReadInt(int& value, int width)
{
    SkipSpace();
    const char* p = pos_;
    const char* limit = (width > 0 && end_ - p > width) ? p + width : end_;
    bool negative = false;
    if (p < limit && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* digits = p;
    constexpr std::uint64_t kLimit = std::uint64_t{1} << 63;
    std::uint64_t magnitude = 0;
    for (; p < limit && IsDigit(*p); ++p) {
        const auto digit = static_cast<std::uint64_t>(*p - '0');
        // Past 2^63 the exact value no longer matters: it saturates below.
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    if (p == digits) {
        return false;
    }
    // The conversion saturates at the 64-bit range and is then stored in an int.
    std::int64_t wide = 0;
    if (negative) {
        wide = magnitude >= kLimit ? std::numeric_limits<std::int64_t>::min()
                                   : -static_cast<std::int64_t>(magnitude);
    } else {
        wide = magnitude >= kLimit ? std::numeric_limits<std::int64_t>::max()
                                   : static_cast<std::int64_t>(magnitude);
    }
    value = static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
    pos_ = p;
    return true;
}

template <typename T>
bool FieldScanner::ReadReal(T& value)
{
    SkipSpace();
    const char* p = pos_;
    bool negative = false;
    if (p < end_ && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p == end_) {
        return false;
    }
    T magnitude{};
    if (const char* plainEnd = ReadPlainDecimal(p, end_, magnitude)) {
        p = plainEnd;
    } else if (Lower(*p) == 'n') {
        if (!StartsWithWord(p, end_, "nan")) {
            return false;
        }
        magnitude = std::numeric_limits<T>::quiet_NaN();
        p += 3;
    } else if (Lower(*p) == 'i') {
        if (!StartsWithWord(p, end_, "inf")) {
            return false;
        }
        p += 3;
        if (p < end_ && Lower(*p) == 'i') {
            if (!StartsWithWord(p, end_, "inity")) {
                return false;
            }
            p += 5;
        }
        magnitude = std::numeric_limits<T>::infinity();
    } else if (*p == '0' && end_ - p >= 2 && Lower(p[1]) == 'x') {
        const char* digits = p + 2;
        const char* stop = CollectRealDigits(digits, end_, true);
        if (stop == digits) {
            return false;
        }
        ConvertMagnitude(std::string_view(digits, static_cast<std::size_t>(stop - digits)), true,
                         magnitude);
        p = stop;
    } else {
        const char* stop = CollectRealDigits(p, end_, false);
        if (stop == p || !ConvertMagnitude(std::string_view(p, static_cast<std::size_t>(stop - p)),
                                           false, magnitude)) {
            return false;
        }
        p = stop;
    }
    value = negative ? -magnitude : magnitude;
    pos_ = p;
    return true;
}

bool FieldScanner::ReadDouble(double& value)
{
    return ReadReal(value);
}

bool FieldScanner::ReadFloat(float& value)
{
    return ReadReal(value);
}

namespace {

// A field that is just a plain decimal number, read without the general
// scanner; false when the field needs it.
template <typename T>
bool ReadPlainField(std::string_view field, T& value)
{
    const char* p = field.data();
    const char* const end = p + field.size();
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) {
        ++p;
    }
    T magnitude{};
    if (ReadPlainDecimal(p, end, magnitude) == nullptr) {
        return false;
    }
    value = negative ? -magnitude : magnitude;
    return true;
}

}  // namespace

int ReadIntField(std::string_view field)
{
    // Common case first: an optional sign and up to nine digits.
    const char* p = field.data();
    const char* const end = p + field.size();
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) {
        ++p;
    }
    const char* const digits = p;
    int plain = 0;
    for (; p < end && p - digits < 9 && IsDigit(*p); ++p) {
        plain = plain * 10 + (*p - '0');
    }
    if (p > digits && (p == end || !IsDigit(*p))) {
        return negative ? -plain : plain;
    }
    int value = 0;
    return FieldScanner(field).ReadInt(value) ? value : 0;
}

double ReadRealField(std::string_view field)
{
    double value = 0.0;
    if (ReadPlainField(field, value)) {
        return value;
    }
    return FieldScanner(field).ReadDouble(value) ? value : 0.0;
}

double ReadShortRealField(std::string_view field)
{
    float value = 0.0F;
    if (ReadPlainField(field, value)) {
        return static_cast<double>(value);
    }
    return FieldScanner(field).ReadFloat(value) ? static_cast<double>(value) : 0.0;
}

double ReadTimeOfDayField(std::string_view field)
{
    FieldScanner scanner(field);
    int hours = 0;
    int minutes = 0;
    double seconds = 0.0;
    if (!scanner.ReadInt(hours, 2) || !scanner.ReadInt(minutes, 2) ||
        !scanner.ReadDouble(seconds)) {
        return 0.0;
    }
    return static_cast<double>(hours * 3600 + minutes * 60) + seconds;
}

namespace {

double ReadAngle(std::string_view field, int degreeDigits)
{
    FieldScanner scanner(field);
    int degrees = 0;
    double minutes = 0.0;
    if (!scanner.ReadInt(degrees, degreeDigits) || !scanner.ReadDouble(minutes)) {
        return 0.0;
    }
    return (static_cast<double>(degrees * 60) + minutes) * (1.0 / 60.0);
}

}  // namespace

double ReadLatitudeField(std::string_view field)
{
    return ReadAngle(field, 2);
}

double ReadLongitudeField(std::string_view field)
{
    return ReadAngle(field, 3);
}

std::int32_t ReadTimeStampField(std::string_view field)
{
    return TimeStampFromSeconds(ReadRealField(field));
}

std::int32_t TimeStampFromSeconds(double seconds)
{
    const double ms = seconds * 1000.0;
    if (std::isnan(ms)) {
        return 0;
    }
    if (ms >= 2147483647.0) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (ms <= -2147483648.0) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(ms);
}

int FaaModeNumber(std::string_view field)
{
    if (field.empty()) {
        return 0;
    }
    switch (field.front()) {
    case 'A': return 1;
    case 'D': return 2;
    case 'E': return 6;
    default: return 0;
    }
}

}  // namespace veltrin
