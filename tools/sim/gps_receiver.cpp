#include "sim/gps_receiver.h"

#include "data/calendar.h"

#include <algorithm>
#include <cmath>

namespace veltrin::sim {
namespace {

constexpr double kKnot = 0.5144444444444445;  // m/s
constexpr double kMagneticVariation = 3.2;    // degrees east at the airfield
constexpr double kGeoidSeparation = 47.9;     // m
constexpr int kGsaEvery = 5;                  // seconds between GSA/GSV
constexpr int kZdaEvery = 10;                 // seconds between ZDA
constexpr int kSatellitesPerGsv = 4;
constexpr int kGsaSlots = 12;           // satellite fields of a GSA sentence
constexpr double kElevationMask = 8.0;  // degrees; lower satellites are not used

}  // namespace

GpsReceiver::GpsReceiver(const Airfield& field, std::uint64_t seed) : field_(field), rng_(seed)
{
    std::array<int, 32> prns{};
    for (int i = 0; i < 32; ++i) {
        prns[static_cast<std::size_t>(i)] = i + 1;
    }
    for (std::size_t i = 0; i < sky_.size(); ++i) {
        // Partial shuffle: twelve distinct satellites.
        const auto j = i + static_cast<std::size_t>(rng_.Int(0, static_cast<int>(31 - i)));
        std::swap(prns[i], prns[j]);
        sky_[i].prn = prns[i];
        sky_[i].elevation = rng_.Uniform(3.0, 85.0);
        sky_[i].azimuth = rng_.Uniform(0.0, 360.0);
    }
    std::sort(sky_.begin(), sky_.end(),
              [](const Satellite& a, const Satellite& b) { return a.prn < b.prn; });
}

void GpsReceiver::MoveSky(bool valid)
{
    used_ = 0;
    for (auto& sat : sky_) {
        sat.azimuth = std::fmod(sat.azimuth + 0.008, 360.0);
        sat.elevation = std::clamp(sat.elevation + rng_.Uniform(-0.004, 0.004), 1.0, 89.0);
        if (!valid) {
            sat.snr = sat.elevation > 20.0 && rng_.Chance(0.3) ? rng_.Int(18, 28) : 0;
        } else if (sat.elevation > kElevationMask) {
            sat.snr =
                std::clamp(static_cast<int>(22.0 + sat.elevation * 0.3) + rng_.Int(-3, 3), 15, 50);
            ++used_;
        } else {
            sat.snr = rng_.Int(0, 1) * rng_.Int(12, 20);
        }
    }
    hdop_ = std::clamp(6.5 / std::max(used_, 1) + rng_.Uniform(-0.05, 0.05), 0.6, 9.9);
}

void GpsReceiver::WriteBurst(SentenceBuilder& b, OutputFile& out, const FlightState& state,
                             CalendarSeconds utc)
{
    const bool valid = state.gpsValid;
    MoveSky(valid);
    const auto civil = BreakDownUtc(utc).value_or(CivilTime{});
    const long long secondOfDay = utc % 86400;

    // Wandering position error of a few metres.
    errorEast_ = 0.95 * errorEast_ + 0.3 * rng_.Gauss();
    errorNorth_ = 0.95 * errorNorth_ + 0.3 * rng_.Gauss();
    errorUp_ = 0.95 * errorUp_ + 0.9 * rng_.Gauss();
    const GeoPoint p =
        ToGeo(field_, {state.position.east + errorEast_, state.position.north + errorNorth_});
    const double gpsAltitude = state.altitude + 6.0 + errorUp_;
    const double knots = state.groundSpeed / kKnot;

    b.Start("$GPGGA").TimeOfDay(secondOfDay);
    if (valid) {
        b.Latitude(p.latitude).Longitude(p.longitude).Int(1).Int(used_, 2).Fixed(hdop_, 1);
        b.Fixed(gpsAltitude, 1).Text("M").Fixed(kGeoidSeparation, 1).Text("M").Empty().Empty();
    } else {
        b.Empty().Empty().Empty().Empty().Int(0).Int(used_, 2).Fixed(99.9, 1);
        b.Empty().Text("M").Empty().Text("M").Empty().Empty();
    }
    out.Write(b.Finish());

    const long long date = civil.day * 10000LL + civil.month * 100LL + civil.year % 100;
    b.Start("$GPRMC").TimeOfDay(secondOfDay);
    if (valid) {
        b.Text("A").Latitude(p.latitude).Longitude(p.longitude).Fixed(knots, 1);
        b.Fixed(state.track, 1).Int(date, 6).Empty().Empty().Text("A");
    } else {
        b.Text("V").Empty().Empty().Empty().Empty().Empty().Empty().Int(date, 6);
        b.Empty().Empty().Text("N");
    }
    out.Write(b.Finish());

    if (valid) {
        double magnetic = state.track - kMagneticVariation;
        if (magnetic < 0.0) {
            magnetic += 360.0;
        }
        b.Start("$GPVTG").Fixed(state.track, 1).Text("T").Fixed(magnetic, 1).Text("M");
        b.Fixed(knots, 2).Text("N").Fixed(state.groundSpeed * 3.6, 2).Text("K").Text("A");
    } else {
        b.Start("$GPVTG").Empty().Text("T").Empty().Text("M").Empty().Text("N").Empty();
        b.Text("K").Text("N");
    }
    out.Write(b.Finish());

    if (second_ % kGsaEvery == 0) {
        b.Start("$GPGSA").Text("A").Int(valid ? 3 : 1);
        int listed = 0;
        for (const auto& sat : sky_) {
            if (valid && sat.snr > 0 && sat.elevation > kElevationMask) {
                b.Int(sat.prn, 2);
                ++listed;
            }
        }
        for (; listed < kGsaSlots; ++listed) {
            b.Empty();
        }
        if (valid) {
            b.Fixed(hdop_ * 1.6, 1).Fixed(hdop_, 1).Fixed(hdop_ * 1.3, 1);
        } else {
            b.Fixed(99.9, 1).Fixed(99.9, 1).Fixed(99.9, 1);
        }
        out.Write(b.Finish());

        const int count = static_cast<int>(sky_.size());
        const int messages = (count + kSatellitesPerGsv - 1) / kSatellitesPerGsv;
        for (int m = 0; m < messages; ++m) {
            b.Start("$GPGSV").Int(messages).Int(m + 1).Int(count, 2);
            for (int k = m * kSatellitesPerGsv; k < std::min(count, (m + 1) * kSatellitesPerGsv);
                 ++k) {
                const auto& sat = sky_[static_cast<std::size_t>(k)];
                b.Int(sat.prn, 2)
                    .Int(std::lround(sat.elevation), 2)
                    .Int(std::lround(sat.azimuth) % 360, 3);
                if (sat.snr > 0) {
                    b.Int(sat.snr, 2);
                } else {
                    b.Empty();
                }
            }
            out.Write(b.Finish());
        }
    }

    if (second_ % kZdaEvery == 0) {
        b.Start("$GPZDA").TimeOfDay(secondOfDay).Int(civil.day, 2).Int(civil.month, 2);
        b.Int(civil.year, 4).Int(0, 2).Int(0, 2);
        out.Write(b.Finish());
    }
    ++second_;
}

}  // namespace veltrin::sim
