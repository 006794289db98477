#include "shell/limits_settings.h"

#include <QSettings>
#include <QStringList>

#include <charconv>
#include <string>
#include <system_error>

namespace veltrin {

namespace {

constexpr auto kGroup = "Limits";

// The keys of one set of limits: negative load, positive load, speed.
struct LimitKeys {
    const char* negativeLoad;
    const char* positiveLoad;
    const char* speed;
};

constexpr LimitKeys kAircraftKeys{"Negative load", "Positive load", "Speed"};
constexpr LimitKeys kRecorderKeys{"Recorder negative load", "Recorder positive load",
                                  "Recorder speed"};

// The shortest text that reads back as `value`, with a decimal point.
QString NumberText(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, static_cast<int>(result.ptr - buffer));
}

// The number `text` holds in full, with a decimal point; nullopt otherwise.
std::optional<double> ParseNumber(const QString& text)
{
    const std::string latin = text.trimmed().toStdString();
    double value = 0.0;
    const char* end = latin.data() + latin.size();
    const auto result = std::from_chars(latin.data(), end, value);
    if (latin.empty() || result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

std::optional<AircraftLimits> ReadSet(QSettings& store, const LimitKeys& keys)
{
    const auto read = [&store](const char* key) {
        const QVariant value = store.value(QString::fromLatin1(key));
        return value.isValid() ? ParseNumber(value.toString()) : std::nullopt;
    };
    const std::optional<double> negativeLoad = read(keys.negativeLoad);
    const std::optional<double> positiveLoad = read(keys.positiveLoad);
    const std::optional<double> speed = read(keys.speed);
    if (!negativeLoad || !positiveLoad || !speed)
        return std::nullopt;
    const AircraftLimits limits{*negativeLoad, *positiveLoad, *speed};
    if (!LimitsArePlausible(limits))
        return std::nullopt;
    return limits;
}

void WriteSet(QSettings& store, const LimitKeys& keys, const std::optional<AircraftLimits>& limits)
{
    store.beginGroup(QString::fromLatin1(kGroup));
    if (limits) {
        store.setValue(QString::fromLatin1(keys.negativeLoad), NumberText(limits->negativeLoad));
        store.setValue(QString::fromLatin1(keys.positiveLoad), NumberText(limits->positiveLoad));
        store.setValue(QString::fromLatin1(keys.speed), NumberText(limits->speed));
    } else {
        for (const char* key : {keys.negativeLoad, keys.positiveLoad, keys.speed})
            store.remove(QString::fromLatin1(key));
    }
    store.endGroup();
    store.sync();
}

}  // namespace

bool LimitsArePlausible(const AircraftLimits& limits)
{
    return LimitsAreUsable(limits) && limits.negativeLoad < 0.0 && limits.positiveLoad > 0.0;
}

LimitsSettings ReadLimitsSettings(QSettings& store)
{
    store.beginGroup(QString::fromLatin1(kGroup));
    LimitsSettings settings;
    settings.limits = ReadSet(store, kAircraftKeys);
    settings.recorder = ReadSet(store, kRecorderKeys);
    store.endGroup();
    return settings;
}

void WriteLimits(QSettings& store, const std::optional<AircraftLimits>& limits)
{
    WriteSet(store, kAircraftKeys, limits);
}

void WriteRecorderLimits(QSettings& store, const AircraftLimits& limits)
{
    WriteSet(store, kRecorderKeys, limits);
}

}  // namespace veltrin
