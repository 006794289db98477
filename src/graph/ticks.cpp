#include "graph/ticks.h"

#include "graph/graph_constants.h"
#include "graph/graph_settings.h"

#include <charconv>
#include <cmath>
#include <string>

namespace veltrin {

namespace gc = graph_constants;

std::vector<double> TickValues(double lo, double hi, double step, bool roundStart)
{
    std::vector<double> ticks;
    if (!(step > 0.0) || !std::isfinite(lo) || !std::isfinite(hi))
        return ticks;
    // A step far too small for the range would produce millions of ticks that
    // all fall onto the same pixels; such a family is skipped.
    if ((hi - lo) / step > gc::kMaxTicksPerAxis)
        return ticks;
    const double q = roundStart ? RoundTo9(lo / step) : lo / step;
    double v = std::trunc(q) * step;
    while (v - lo < -gc::kEpsilon)
        v = v + step;
    while (v - hi < gc::kTickHighTolerance) {
        const double tick = RoundTo9(v);
        ticks.push_back(tick);
        v = tick + step;
        if (v <= tick)  // step lost in rounding: no further progress possible
            break;
    }
    return ticks;
}

int TimeStepFor(int seconds)
{
    if (seconds > 10000)
        return 1000;
    if (seconds > 3000)
        return 500;
    if (seconds > 1000)
        return 100;
    if (seconds > 200)
        return 50;
    return 10;
}

TickSteps TickStepsForSpan(double span)
{
    const double a = std::fabs(span);
    if (!(a >= gc::kEpsilon) || !std::isfinite(a))
        return {};
    const double p = std::pow(10.0, std::floor(std::log10(a)));
    const double d = a / p;
    if (d > 2.0)
        return {p, p / 2.0};
    if (d > 1.0)
        return {p / 2.0, p / 10.0};
    return {p / 10.0, p / 20.0};
}

namespace {

// printf conversion of one double, done with std::to_chars so that the process
// locale never changes the decimal point.
struct Conversion {
    bool left = false, plus = false, space = false, zero = false, alt = false;
    int width = 0;
    int precision = -1;
    char kind = 'f';
};

std::string Convert(const Conversion& c, double value)
{
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c.kind)));
    const bool upper = c.kind != lower;
    std::string body;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);
    if (std::isnan(value) || std::isinf(value)) {
        body = std::isnan(value) ? "nan" : "inf";
    } else {
        char buf[512];
        const int precision = c.precision < 0 ? 6 : c.precision;
        std::to_chars_result r{};
        switch (lower) {
        case 'e':
            r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific,
                              precision);
            break;
        case 'g':
            r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::general,
                              precision == 0 ? 1 : precision);
            break;
        case 'a':
            r = c.precision < 0
                    ? std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::hex)
                    : std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::hex,
                                    precision);
            break;
        default:
            r = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed,
                              precision);
            break;
        }
        body.assign(buf, r.ec == std::errc{} ? r.ptr : buf);
        if (lower == 'a')
            body = "0x" + body;
        if (c.alt && body.find('.') == std::string::npos && lower != 'a') {
            const auto e = body.find('e');
            body.insert(e == std::string::npos ? body.size() : e, ".");
        }
    }
    if (upper)
        for (char& ch : body)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    std::string sign;
    if (negative && !std::isnan(value))
        sign = "-";
    else if (c.plus)
        sign = "+";
    else if (c.space)
        sign = " ";
    const auto length = sign.size() + body.size();
    const auto width = static_cast<std::size_t>(c.width);
    if (length >= width)
        return sign + body;
    const std::string pad(width - length, ' ');
    if (c.left)
        return sign + body + pad;
    if (c.zero && std::isfinite(value))
        return sign + std::string(width - length, '0') + body;
    return pad + sign + body;
}

}  // namespace

QString FormatLabelRaw(const QString& format, double value)
{
    const std::string f = format.toStdString();
    std::string out;
    bool used = false;
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] != '%') {
            out += f[i];
            continue;
        }
        if (i + 1 < f.size() && f[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        Conversion c;
        std::size_t j = i + 1;
        for (; j < f.size(); ++j) {
            const char ch = f[j];
            if (ch == '-')
                c.left = true;
            else if (ch == '+')
                c.plus = true;
            else if (ch == ' ')
                c.space = true;
            else if (ch == '0')
                c.zero = true;
            else if (ch == '#')
                c.alt = true;
            else
                break;
        }
        auto number = [&](int& target) {
            int n = 0;
            while (j < f.size() && f[j] >= '0' && f[j] <= '9' && n < 1000)
                n = n * 10 + (f[j++] - '0');
            target = n;
        };
        number(c.width);
        if (j < f.size() && f[j] == '.') {
            ++j;
            number(c.precision);
        }
        while (j < f.size() && (f[j] == 'l' || f[j] == 'L'))
            ++j;
        if (j >= f.size() || used || std::string("fFeEgGaA").find(f[j]) == std::string::npos) {
            // Not a conversion of one double: kept as literal text.
            out.append(f, i, j - i + (j < f.size() ? 1 : 0));
            i = j;
            continue;
        }
        c.kind = f[j];
        out += Convert(c, value);
        used = true;
        i = j;
    }
    const auto first = out.find_first_not_of(" \t");
    const auto last = out.find_last_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return QString::fromStdString(out.substr(first, last - first + 1));
}

QString FormatLabel(const QString& format, double value)
{
    if (std::fabs(value) < gc::kLabelZero)
        value = 0.0;
    return FormatLabelRaw(format, value);
}

}  // namespace veltrin
