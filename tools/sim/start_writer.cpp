#include "sim/start_writer.h"

#include "data/calendar.h"
#include "sim/gps_receiver.h"
#include "sim/sentence_writer.h"
#include "sim/sim_random.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace veltrin::sim {
namespace {

constexpr int kRawEvery = 10;     // seconds between "$VLTRW" lines
constexpr int kStatusEvery = 30;  // seconds between "$VLTST" lines
constexpr int kEventFlag = 1;     // "$VLTDR" flags bit 0

// `value` rounded to `decimals` places, as the sample line will carry it.
double Quantised(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// ISA static pressure in Pa.
double StaticPressure(double altitude)
{
    return 101325.0 * std::pow(1.0 - 2.25577e-5 * altitude, 5.25588);
}

std::optional<EventType> Exceeded(const FlightState& s, const RecorderSetup& setup)
{
    if (s.accZ > setup.positiveLoadLimit) {
        return EventType::PositiveLoad;
    }
    if (s.accZ < setup.negativeLoadLimit) {
        return EventType::NegativeLoad;
    }
    if (s.ias > setup.speedLimit) {
        return EventType::Speed;
    }
    return std::nullopt;
}

double ValueOf(EventType type, const FlightState& s)
{
    return type == EventType::Speed ? s.ias : s.accZ;
}

double LimitOf(EventType type, const RecorderSetup& setup)
{
    switch (type) {
    case EventType::PositiveLoad: return setup.positiveLoadLimit;
    case EventType::NegativeLoad: return setup.negativeLoadLimit;
    case EventType::Speed: return setup.speedLimit;
    }
    return 0.0;
}

void BuildEventLine(SentenceBuilder& b, const RecordedEvent& event)
{
    const auto civil = BreakDownUtc(event.time).value_or(CivilTime{});
    b.Start("$VLTEV").Int(event.number).Int(static_cast<int>(event.type));
    b.Int(civil.day).Int(civil.month).Int(civil.year).Int(civil.hour).Int(civil.minute);
    b.Int(civil.second).Fixed(event.peak, 2).Fixed(event.limit, 2);
}

class StartRecorder {
public:
    StartRecorder(const StartSettings& settings, const RecorderSetup& setup, OutputFile& out)
        : settings_(settings),
          setup_(setup),
          out_(out),
          sim_(settings.flight),
          gps_(settings.flight.airfield, settings.flight.seed ^ 0x6A5ULL),
          rng_(settings.flight.seed ^ 0x7EC0ADE5ULL)
    {
        bootMs_ = rng_.Int(1200, 3800);
        supply_ = rng_.Uniform(12.2, 13.1);
        freeMegabytes_ = rng_.Int(900, 3600);
        result_.written = true;
    }

    StartResult Run()
    {
        const int rate = settings_.flight.rateHz;
        WriteConfig();
        long long nextSecond = 0;
        for (long long k = 0; k < settings_.samples; ++k) {
            // Limits are checked on the values as written, so that a flagged
            // sample always shows a value beyond its limit.
            FlightState s = sim_.Next();
            s.accX = Quantised(s.accX, 2);
            s.accY = Quantised(s.accY, 2);
            s.accZ = Quantised(s.accZ, 2);
            s.ias = Quantised(s.ias, 1);
            s.altitude = std::round(s.altitude);
            const std::int64_t ms = bootMs_ + k * 1000 / rate;
            const auto exceeded = Exceeded(s, setup_);
            if (run_ && (!exceeded || *exceeded != run_->type)) {
                CloseRun();
            }
            if (exceeded) {
                TrackRun(*exceeded, s);
            }
            WriteSample(s, ms, exceeded.has_value());
            if (s.touchdown) {
                result_.touchdown = settings_.startTime + static_cast<long long>(s.touchdownTimeS);
                airborne_ = s.touchdownTimeS - std::max(0.0, s.liftOffTimeS);
            }
            if (s.landingDone && !landingWritten_) {
                WriteLanding(ms);
            }
            if (s.timeS >= static_cast<double>(nextSecond)) {
                gps_.WriteBurst(b_, out_, s, settings_.startTime + nextSecond);
                if (nextSecond % kRawEvery == 0) {
                    WriteRaw(s, ms);
                }
                if (nextSecond % kStatusEvery == 0) {
                    WriteStatus(ms);
                }
                ++nextSecond;
            }
            ++result_.samples;
            lastMs_ = ms;
        }
        if (run_) {
            CloseRun();
        }
        if (result_.touchdown >= 0 && !landingWritten_) {
            WriteLanding(lastMs_);
        }
        return result_;
    }

    // Where each event line began, counted in bytes written.
    std::vector<std::size_t>& EventLines() { return eventLines_; }

private:
    struct OpenRun {
        EventType type;
        CalendarSeconds time;
        double peak;
        double ias;
        double altitude;
    };

    void TrackRun(EventType type, const FlightState& s)
    {
        const double value = ValueOf(type, s);
        if (!run_) {
            run_ = OpenRun{type, settings_.startTime + static_cast<long long>(s.timeS), value,
                           s.ias, s.altitude};
            return;
        }
        const bool more = type == EventType::NegativeLoad ? value < run_->peak : value > run_->peak;
        if (more) {
            run_->peak = value;
            run_->ias = s.ias;
            run_->altitude = s.altitude;
        }
    }

    void CloseRun()
    {
        RecordedEvent event;
        event.number = settings_.firstEventNumber + static_cast<int>(result_.events.size());
        event.type = run_->type;
        event.time = run_->time;
        event.peak = run_->peak;
        event.limit = LimitOf(run_->type, setup_);
        event.ias = run_->ias;
        event.altitude = run_->altitude;
        run_.reset();

        eventLines_.push_back(static_cast<std::size_t>(out_.BytesWritten()));
        BuildEventLine(b_, event);
        out_.Write(b_.Finish());
        result_.events.push_back(event);
    }

    void WriteConfig()
    {
        b_.Start("$VLTCF").Int(setup_.configVersion).Int(settings_.flight.rateHz);
        b_.Fixed(setup_.negativeLoadLimit, 1).Fixed(setup_.positiveLoadLimit, 1);
        b_.Fixed(setup_.speedLimit, 1).Fixed(setup_.referencePressure, 1).Text(setup_.registration);
        out_.Write(b_.Finish());
    }

    void WriteSample(const FlightState& s, std::int64_t ms, bool event)
    {
        b_.Start("$VLTDR").RecorderTime(ms).Fixed(s.accX, 2).Fixed(s.accY, 2).Fixed(s.accZ, 2);
        b_.Fixed(s.ias, 1).Fixed(s.verticalSpeed, 1).Fixed(s.outsideTemperature, 1);
        b_.Int(std::lround(s.altitude)).Int(event ? kEventFlag : 0);
        out_.Write(b_.Finish());
    }

    void WriteLanding(std::int64_t ms)
    {
        const auto civil = BreakDownUtc(result_.touchdown).value_or(CivilTime{});
        b_.Start("$VLTLD").RecorderTime(ms).Int(std::lround(airborne_));
        b_.Int(civil.hour * 10000 + civil.minute * 100 + civil.second);
        out_.Write(b_.Finish());
        landingWritten_ = true;
    }

    void WriteRaw(const FlightState& s, std::int64_t ms)
    {
        const double staticPa = StaticPressure(s.altitude);
        const double dynamicPa = 0.5 * 1.225 * std::pow(s.ias / 3.6, 2.0);
        const double boardTemperature = s.outsideTemperature + 9.0 + rng_.Uniform(-0.3, 0.3);
        b_.Start("$VLTRW").RecorderTime(ms);
        b_.Int(std::lround(staticPa / 110000.0 * 4095.0));
        b_.Int(std::lround(200.0 + dynamicPa / 3500.0 * 3800.0));
        b_.Int(std::lround(1240.0 + boardTemperature * 10.0));
        b_.Int(std::lround(supply_ / 16.0 * 4095.0));
        b_.Fixed(s.accX, 3).Fixed(s.accY, 3).Fixed(s.accZ, 3);
        b_.Fixed(s.rollRate, 1).Fixed(s.pitchRate, 1).Fixed(s.yawRate, 1);
        b_.Int(std::lround(staticPa)).Int(std::lround(dynamicPa)).Fixed(boardTemperature, 1);
        out_.Write(b_.Finish());
    }

    void WriteStatus(std::int64_t ms)
    {
        supply_ += rng_.Uniform(-0.03, 0.03);
        b_.Start("$VLTST").RecorderTime(ms).Fixed(supply_, 2).Int(gps_.SatellitesUsed());
        b_.Int(freeMegabytes_);
        out_.Write(b_.Finish());
    }

    const StartSettings& settings_;
    const RecorderSetup& setup_;
    OutputFile& out_;
    FlightSimulator sim_;
    GpsReceiver gps_;
    Random rng_;
    SentenceBuilder b_;
    StartResult result_;
    std::optional<OpenRun> run_;
    std::vector<std::size_t> eventLines_;
    std::int64_t bootMs_ = 0;
    std::int64_t lastMs_ = 0;
    double supply_ = 12.6;
    double airborne_ = 0.0;
    int freeMegabytes_ = 0;
    bool landingWritten_ = false;
};

}  // namespace

long long SamplesFor(double seconds, int rateHz)
{
    return std::llround(seconds * rateHz);
}

StartResult WriteStart(const std::filesystem::path& file, const StartSettings& settings,
                       const RecorderSetup& setup)
{
    OutputFile out;
    if (!out.Open(file)) {
        return {};
    }
    StartResult result = StartRecorder(settings, setup, out).Run();
    result.bytes = out.BytesWritten();
    result.written = out.Commit();
    return result;
}

RenderedStart RenderStart(const StartSettings& settings, const RecorderSetup& setup)
{
    OutputFile out;
    out.Hold();
    StartRecorder recorder(settings, setup, out);
    RenderedStart rendered;
    rendered.result = recorder.Run();
    rendered.result.written = false;
    rendered.eventLines = std::move(recorder.EventLines());
    rendered.bytes = std::move(out.Held());
    return rendered;
}

StartResult WriteRenderedStart(const std::filesystem::path& file, const RenderedStart& rendered,
                               int firstEventNumber)
{
    StartResult result = rendered.result;
    OutputFile out;
    if (!out.Open(file)) {
        return {};
    }
    const std::string_view bytes = rendered.bytes;
    SentenceBuilder b;
    std::size_t from = 0;
    for (std::size_t k = 0; k < rendered.eventLines.size(); ++k) {
        const std::size_t line = rendered.eventLines[k];
        out.Write(bytes.substr(from, line - from));
        RecordedEvent& event = result.events[k];
        event.number = firstEventNumber + static_cast<int>(k);
        BuildEventLine(b, event);
        out.Write(b.Finish());
        from = bytes.find('\n', line) + 1;
    }
    out.Write(bytes.substr(from));
    result.bytes = out.BytesWritten();
    result.written = out.Commit();
    return result;
}

}  // namespace veltrin::sim
