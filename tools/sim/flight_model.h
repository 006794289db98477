#pragma once
// Units, vectors, the standard atmosphere, track following and correlated
// noise: the building blocks of the simulated flight.

#include "sim/flight_profile.h"
#include "sim/sim_random.h"

#include <algorithm>
#include <cmath>

namespace veltrin::sim {

inline constexpr double kG = 9.80665;
inline constexpr double kPi = 3.14159265358979323846;
inline constexpr double kDegree = kPi / 180.0;
inline constexpr double kKmh = 1.0 / 3.6;  // km/h in m/s

// Aircraft and procedures.
inline constexpr double kTaxiSpeed = 6.0;     // m/s
inline constexpr double kRotateSpeed = 25.0;  // m/s indicated
inline constexpr double kClimbIas = 125.0;    // km/h
inline constexpr double kReturnIas = 180.0;
inline constexpr double kPatternIas = 150.0;
inline constexpr double kBaseIas = 130.0;
inline constexpr double kFinalIas = 110.0;
inline constexpr double kFlareIas = 88.0;
inline constexpr double kPatternHeight = 250.0;  // m above the airfield
inline constexpr double kPatternOffset = 750.0;  // downwind leg beside the runway, m
inline constexpr double kFinalLength = 900.0;    // final fix before the threshold, m
inline constexpr double kTouchdownAim = 100.0;   // aiming point behind the threshold, m
inline constexpr double kExitDistance = 300.0;   // runway exit behind the threshold, m
inline constexpr double kApronOffset = 70.0;     // apron beside the exit, m
inline constexpr double kGlideSlope = 0.07;      // tangent of the approach path
inline constexpr double kFlareHeight = 6.0;      // m
inline constexpr double kClimbOutHeight = 150.0;
inline constexpr double kClimbRate = 3.5;  // m/s
inline constexpr double kDescentRate = 5.0;
inline constexpr double kNormalBank = 28.0 * kDegree;
inline constexpr double kBankRate = 30.0 * kDegree;  // per second
inline constexpr double kGroundYawRate = 20.0 * kDegree;
inline constexpr double kAlignedTolerance = 3.0 * kDegree;  // lined up on the runway within this
inline constexpr double kRunwayLegLength = 3000.0;  // centre line followed beyond the threshold, m
inline constexpr double kAlpha = 0.05;       // pitch of the fuselage above the flight path, rad
inline constexpr double kLowestLoad = -1.9;  // g
inline constexpr double kHighestLoad = 4.8;
inline constexpr double kLongFlight = 1800.0;       // s; longer flights tour further, more calmly
inline constexpr double kGroundAndCircuit = 290.0;  // s of a flight spent outside the cruise

inline Vec2 operator+(Vec2 a, Vec2 b)
{
    return {a.east + b.east, a.north + b.north};
}
inline Vec2 operator-(Vec2 a, Vec2 b)
{
    return {a.east - b.east, a.north - b.north};
}
inline Vec2 operator*(Vec2 a, double k)
{
    return {a.east * k, a.north * k};
}
inline double Dot(Vec2 a, Vec2 b)
{
    return a.east * b.east + a.north * b.north;
}
inline double Length(Vec2 a)
{
    return std::hypot(a.east, a.north);
}
inline Vec2 Direction(double heading)
{
    return {std::sin(heading), std::cos(heading)};
}
inline double Bearing(Vec2 from, Vec2 to)
{
    return std::atan2(to.east - from.east, to.north - from.north);
}

inline double Wrap(double angle)
{
    while (angle > kPi) {
        angle -= 2.0 * kPi;
    }
    while (angle <= -kPi) {
        angle += 2.0 * kPi;
    }
    return angle;
}

// Air density relative to sea level in the standard atmosphere.
inline double DensityRatio(double altitude)
{
    return std::pow(std::max(0.1, 1.0 - 2.25577e-5 * altitude), 4.2559);
}

// A straight track from one point to another, flown with cross-track correction.
struct Leg {
    Vec2 from;
    Vec2 to;

    double Length() const { return sim::Length(to - from); }
    Vec2 Unit() const { return (to - from) * (1.0 / std::max(1.0, Length())); }
    double Remaining(Vec2 pos) const { return Length() - Dot(pos - from, Unit()); }
    // Heading that brings the aircraft onto the track; positive cross-track is right of it.
    double Steer(Vec2 pos, double captureDistance) const
    {
        const Vec2 u = Unit();
        const Vec2 rel = pos - from;
        const double cross = rel.east * u.north - rel.north * u.east;
        return std::atan2(u.east, u.north) - std::atan(cross / captureDistance);
    }
};

// Ornstein-Uhlenbeck noise: correlated over `tau` seconds, standard deviation `sigma`.
struct Correlated {
    double value = 0.0;
    double Step(Random& rng, double sigma, double tau, double dt)
    {
        const double a = std::exp(-dt / tau);
        value = value * a + sigma * std::sqrt(1.0 - a * a) * rng.Gauss();
        return value;
    }
};

}  // namespace veltrin::sim
