#pragma once
// The recorder's GPS receiver: once a second a burst of standard sentences
// (GGA, RMC, VTG, and every few seconds GSA, GSV and ZDA) for the aircraft's
// position, with a small wandering position error and a sky of satellites.

#include "data/recording.h"
#include "sim/flight_profile.h"
#include "sim/sentence_writer.h"
#include "sim/sim_random.h"

#include <array>

namespace veltrin::sim {

class GpsReceiver {
public:
    GpsReceiver(const Airfield& field, std::uint64_t seed);

    // Writes the burst of the UTC second `utc` for `state` into `out`.
    void WriteBurst(SentenceBuilder& builder, OutputFile& out, const FlightState& state,
                    CalendarSeconds utc);

    int SatellitesUsed() const { return used_; }

private:
    struct Satellite {
        int prn = 0;
        double elevation = 0.0;  // degrees
        double azimuth = 0.0;    // degrees
        int snr = 0;
    };

    void MoveSky(bool valid);

    Airfield field_;
    Random rng_;
    std::array<Satellite, 12> sky_{};
    int used_ = 0;
    long long second_ = 0;
    double errorEast_ = 0.0;
    double errorNorth_ = 0.0;
    double errorUp_ = 0.0;
    double hdop_ = 1.0;
};

}  // namespace veltrin::sim
