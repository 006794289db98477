#pragma once
// A light-aircraft flight around the home airfield, advanced sample by sample:
// power-up, taxi, take-off, climb, cruise with manoeuvres, circuit, landing,
// taxi back and shut-down, with what the recorder's sensors measure.

#include <cstdint>
#include <memory>

namespace veltrin::sim {

// Metres east and north of the airfield reference point.
struct Vec2 {
    double east = 0.0;
    double north = 0.0;
};

struct GeoPoint {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
};

// The home airfield: reference point, elevation and its one runway.
struct Airfield {
    double latitude = 50.0236;
    double longitude = 8.9841;
    double elevation = 118.0;     // m above mean sea level
    double runwayHeading = 72.0;  // degrees true of the direction in use
    double runwayLength = 800.0;  // m
};

// Position of a local point on the ellipsoid, flat around the reference point.
GeoPoint ToGeo(const Airfield& field, Vec2 local);

struct FlightPlan {
    std::uint64_t seed = 1;
    double durationS = 600.0;  // length of the recording; the flight is fitted into it
    int rateHz = 20;           // samples per second
    Airfield airfield;
};

// Shortest recording that still holds a complete traffic circuit.
inline constexpr double kMinimumFlightSeconds = 420.0;

// The aircraft and its sensors at one sample.
struct FlightState {
    double timeS = 0.0;          // since the first sample
    Vec2 position;               // true position
    double altitude = 0.0;       // m above mean sea level
    double ias = 0.0;            // indicated air speed, km/h
    double groundSpeed = 0.0;    // m/s
    double track = 0.0;          // degrees true, 0 to 360
    double verticalSpeed = 0.0;  // m/s
    double accX = 0.0;           // measured accelerations, g
    double accY = 0.0;
    double accZ = 1.0;
    double rollRate = 0.0;  // degrees per second
    double pitchRate = 0.0;
    double yawRate = 0.0;
    double outsideTemperature = 15.0;  // degrees Celsius
    bool onGround = true;
    bool engineRunning = false;
    bool gpsValid = false;         // the receiver has a fix
    bool touchdown = false;        // the wheels touched at this sample
    bool landingDone = false;      // the landing roll has ended (stays true)
    double touchdownTimeS = -1.0;  // time of the touchdown, < 0 before it
    double liftOffTimeS = -1.0;    // time of the lift-off, < 0 before it
};

// Generates one flight; deterministic for a plan.
class FlightSimulator {
public:
    explicit FlightSimulator(const FlightPlan& plan);
    ~FlightSimulator();
    FlightSimulator(const FlightSimulator&) = delete;
    FlightSimulator& operator=(const FlightSimulator&) = delete;

    // The state at the next sample; the first call gives the state at time 0.
    const FlightState& Next();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace veltrin::sim
