#pragma once
// The state of a simulated flight and the steps that advance it. The flight's
// schedule and phases are in flight_profile.cpp, manoeuvres and rough air in
// flight_manoeuvres.cpp, the point-mass model and the sensors in
// flight_dynamics.cpp.

#include "sim/flight_model.h"

#include <array>
#include <cstddef>

namespace veltrin::sim {

enum class Phase {
    PowerUp,
    TaxiOut,
    LineUp,
    TakeoffRoll,
    Climb,
    Enroute,
    Return,
    Orbit,
    Downwind,
    Base,
    Final,
    Flare,
    Rollout,
    TaxiIn,
    Parked,
};

enum class Manoeuvre { None, SteepTurn, PullPush, Dive };

struct FlightSimulator::Impl {
    explicit Impl(const FlightPlan& flightPlan);
    const FlightState& Next();

    // Schedule and phases (flight_profile.cpp).
    void Plan();
    void UpdatePhase(double t);
    double ReturnEstimate() const;
    double PathToTouchdown() const;

    // Manoeuvres and rough air (flight_manoeuvres.cpp).
    void StartManoeuvre(double t);
    void ManoeuvreStep(double t, double& nzCmd, bool& nzOverride, double& bankOverride,
                       bool& bankOverridden, double& iasTarget);
    void StartTurbulence(double t);
    double TurbulenceStep(double t);
    bool Turbulent(double t) const { return t < turbulenceEnd; }

    // Indicated air speed, km/h.
    double Ias() const { return speed * std::sqrt(DensityRatio(altitude)) / kKmh; }
    bool AlignedWithRunway() const
    {
        return std::fabs(Wrap(runwayHeading - heading)) < kAlignedTolerance;
    }
    // The runway's centre line from the threshold on.
    Leg RunwayLeg() const { return {threshold, threshold + along * kRunwayLegLength}; }

    // Motion and sensors (flight_dynamics.cpp).
    void Advance(double t);
    void GroundStep(double targetSpeed, double accel, double brake, double desiredHeading);
    void FollowRoute(const Vec2* route, std::size_t count, bool stopAtEnd);
    void AirStep(double t);
    void FillSensors(double t);

    FlightPlan plan;
    Random rng;
    Random noise;
    double dt;
    long long step = -1;
    FlightState out;

    // Airfield geometry.
    double elevation;
    double runwayHeading;
    Vec2 along, left;
    Vec2 threshold, exitPoint, apron, touchdownAim, downwindStart, downwindEnd, finalFix;
    std::array<Vec2, 2> taxiOutRoute;
    std::array<Vec2, 2> taxiInRoute;
    double circuitSeconds = 0.0;
    double spacing = 1.0;  // stretches the pauses between manoeuvres on long flights

    // Schedule of this flight.
    double engineStartAt, powerUpEnd, gpsFixAt, gapStart, gapEnd, lineUpHold;
    double cruiseAltitude, cruiseIas, dayTemperature, calmAir, shutdownDelay;
    std::array<Vec2, 6> tour{};
    std::size_t tourCount = 3;
    std::size_t tourIndex = 0;
    double nextManoeuvre = 0.0;
    int manoeuvresFlown = 0;
    double nextTurbulence = 0.0;
    int turbulentSpells = 0;
    bool firstSpellStrong = false;

    // Kinematic state.
    Phase phase = Phase::PowerUp;
    double phaseStart = 0.0;
    std::size_t routeIndex = 0;
    Leg leg;
    Vec2 pos;
    double heading = 0.0;
    double speed = 0.0;  // true air speed in flight, ground speed on the ground
    double speedRate = 0.0;
    double gamma = 0.0;
    double gammaRate = 0.0;
    double altitude = 0.0;
    double bank = 0.0;
    double bankRate = 0.0;
    double yawRate = 0.0;
    double nz = 1.0;
    double gust = 0.0;
    bool engine = false;
    double bumpStart = -1.0;
    double bumpAmplitude = 0.0;
    double bumpLength = 0.3;

    // Manoeuvre in progress.
    Manoeuvre manoeuvre = Manoeuvre::None;
    int stage = 0;
    double manoeuvreStart = 0.0;
    double stageStart = 0.0;
    double peak = 0.0;
    double lowPeak = 0.0;
    double topAngle = 0.0;
    double turned = 0.0;
    double turnTarget = 0.0;
    double turnDirection = 1.0;
    double turbulenceEnd = -1.0;
    double spikeAt = 0.0;
    double spikeLength = 0.3;
    double spikeAmplitude = 0.0;
    double turbulence = 0.0;
    Correlated gustNoise;
    Correlated iasNoise;
    Correlated baroNoise;
};

}  // namespace veltrin::sim
