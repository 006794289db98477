#include "sim/flight_profile.h"

#include "sim/sim_random.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace veltrin::sim {
namespace {

constexpr double kG = 9.80665;
constexpr double kPi = 3.14159265358979323846;
constexpr double kDegree = kPi / 180.0;
constexpr double kKmh = 1.0 / 3.6;  // km/h in m/s

// Aircraft and procedures.
constexpr double kTaxiSpeed = 6.0;      // m/s
constexpr double kRotateSpeed = 25.0;   // m/s indicated
constexpr double kClimbIas = 125.0;     // km/h
constexpr double kReturnIas = 180.0;
constexpr double kPatternIas = 150.0;
constexpr double kBaseIas = 130.0;
constexpr double kFinalIas = 110.0;
constexpr double kFlareIas = 88.0;
constexpr double kPatternHeight = 250.0;  // m above the airfield
constexpr double kPatternOffset = 750.0;  // downwind leg beside the runway, m
constexpr double kFinalLength = 900.0;    // final fix before the threshold, m
constexpr double kTouchdownAim = 100.0;   // aiming point behind the threshold, m
constexpr double kExitDistance = 300.0;   // runway exit behind the threshold, m
constexpr double kApronOffset = 70.0;     // apron beside the exit, m
constexpr double kGlideSlope = 0.07;      // tangent of the approach path
constexpr double kFlareHeight = 6.0;      // m
constexpr double kClimbOutHeight = 150.0;
constexpr double kClimbRate = 3.5;        // m/s
constexpr double kDescentRate = 5.0;
constexpr double kNormalBank = 28.0 * kDegree;
constexpr double kBankRate = 30.0 * kDegree;  // per second
constexpr double kGroundYawRate = 20.0 * kDegree;
constexpr double kAlpha = 0.05;  // pitch of the fuselage above the flight path, rad
constexpr double kLowestLoad = -1.9;  // g
constexpr double kLongFlight = 1800.0;       // s; longer flights tour further, more calmly
constexpr double kGroundAndCircuit = 290.0;  // s of a flight spent outside the cruise
constexpr double kHighestLoad = 4.8;

enum class Phase {
    PowerUp, TaxiOut, LineUp, TakeoffRoll, Climb, Enroute, Return, Orbit,
    Downwind, Base, Final, Flare, Rollout, TaxiIn, Parked,
};

enum class Manoeuvre { None, SteepTurn, PullPush, Dive };

Vec2 operator+(Vec2 a, Vec2 b) { return {a.east + b.east, a.north + b.north}; }
Vec2 operator-(Vec2 a, Vec2 b) { return {a.east - b.east, a.north - b.north}; }
Vec2 operator*(Vec2 a, double k) { return {a.east * k, a.north * k}; }
double Dot(Vec2 a, Vec2 b) { return a.east * b.east + a.north * b.north; }
double Length(Vec2 a) { return std::hypot(a.east, a.north); }
Vec2 Direction(double heading) { return {std::sin(heading), std::cos(heading)}; }
double Bearing(Vec2 from, Vec2 to) { return std::atan2(to.east - from.east, to.north - from.north); }

double Wrap(double angle)
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
double DensityRatio(double altitude)
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

}  // namespace

GeoPoint ToGeo(const Airfield& field, Vec2 local)
{
    const double phi = field.latitude * kDegree;
    const double metresPerDegreeLat =
        111132.92 - 559.82 * std::cos(2.0 * phi) + 1.175 * std::cos(4.0 * phi);
    const double metresPerDegreeLon = 111412.84 * std::cos(phi) - 93.5 * std::cos(3.0 * phi);
    return {field.latitude + local.north / metresPerDegreeLat,
            field.longitude + local.east / metresPerDegreeLon};
}

struct FlightSimulator::Impl {
    explicit Impl(const FlightPlan& flightPlan);
    const FlightState& Next();

    void Plan();
    void Advance(double t);
    void UpdatePhase(double t);
    void GroundStep(double targetSpeed, double accel, double brake, double desiredHeading);
    void FollowRoute(const Vec2* route, std::size_t count, bool stopAtEnd);
    void AirStep(double t);
    void StartManoeuvre(double t);
    void ManoeuvreStep(double t, double& nzCmd, bool& nzOverride, double& bankOverride,
                       bool& bankOverridden, double& iasTarget);
    void StartTurbulence(double t);
    double TurbulenceStep(double t);
    bool Turbulent(double t) const { return t < turbulenceEnd; }
    double ReturnEstimate() const;
    double PathToTouchdown() const;
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

FlightSimulator::Impl::Impl(const FlightPlan& flightPlan)
    : plan(flightPlan),
      rng(flightPlan.seed ^ 0x5EED0F11E5ULL),
      noise(rng.Fork()),
      dt(1.0 / std::max(1, flightPlan.rateHz)),
      elevation(flightPlan.airfield.elevation),
      runwayHeading(flightPlan.airfield.runwayHeading * kDegree)
{
    Plan();
}

void FlightSimulator::Impl::Plan()
{
    const double length = plan.airfield.runwayLength;
    along = Direction(runwayHeading);
    left = Direction(runwayHeading - kPi / 2.0);
    threshold = along * (-length / 2.0);
    exitPoint = threshold + along * kExitDistance;
    apron = exitPoint + left * kApronOffset;
    touchdownAim = threshold + along * kTouchdownAim;
    downwindStart = threshold + along * (length - 100.0) + left * kPatternOffset;
    downwindEnd = threshold + along * (-kFinalLength) + left * kPatternOffset;
    finalFix = threshold + along * (-kFinalLength);
    taxiOutRoute = {exitPoint, threshold + along * 10.0};
    taxiInRoute = {exitPoint, apron};

    const double circuitPath = Length(downwindEnd - downwindStart) + kPatternOffset +
                               kFinalLength + kTouchdownAim;
    // Flying the circuit with its turns, the landing roll, taxiing in.
    circuitSeconds = circuitPath / (kBaseIas * kKmh) + 30.0 + 15.0 +
                     (kExitDistance + kApronOffset) / kTaxiSpeed + 10.0;

    pos = apron;
    altitude = elevation;
    heading = Bearing(apron, exitPoint) + rng.Uniform(-0.7, 0.7);

    engineStartAt = rng.Uniform(4.0, 10.0);
    powerUpEnd = rng.Uniform(20.0, 35.0);
    gpsFixAt = rng.Uniform(8.0, std::min(25.0, powerUpEnd - 2.0));
    gapStart = plan.durationS * rng.Uniform(0.4, 0.6);
    gapEnd = gapStart + rng.Uniform(4.0, 9.0);
    lineUpHold = rng.Uniform(3.0, 8.0);
    shutdownDelay = rng.Uniform(5.0, 15.0);
    firstSpellStrong = rng.Chance(0.7);
    dayTemperature = rng.Uniform(14.0, 26.0);
    calmAir = rng.Uniform(0.02, 0.05);
    cruiseIas = rng.Uniform(165.0, 215.0);

    spacing = std::clamp(plan.durationS / kLongFlight, 1.0, 6.0);

    // Climb no higher than the time en route allows to climb and descend again.
    const double enRoute = std::max(0.0, plan.durationS - kGroundAndCircuit);
    const double reachable = std::max(kClimbOutHeight, kClimbRate * 0.45 * enRoute);
    cruiseAltitude = elevation + std::min(rng.Uniform(500.0, 2200.0), reachable);
    cruiseAltitude = std::min(cruiseAltitude, 2450.0);

    tourCount = static_cast<std::size_t>(rng.Int(3, 5));
    const double radius = rng.Uniform(4000.0, 12000.0) * (plan.durationS > kLongFlight ? 2.5 : 1.0);
    const double first = rng.Uniform(0.0, 2.0 * kPi);
    for (std::size_t i = 0; i < tourCount; ++i) {
        const double angle = first + 2.0 * kPi * static_cast<double>(i) /
                                         static_cast<double>(tourCount) +
                             rng.Uniform(-0.3, 0.3);
        tour[i] = Direction(angle) * (radius * rng.Uniform(0.7, 1.1));
    }
}

double FlightSimulator::Impl::ReturnEstimate() const
{
    // Turning towards the airfield, flying there at return speed or descending,
    // whichever takes longer, then the circuit, landing and taxiing in.
    const double toEntry = Length(downwindStart - pos) / (kReturnIas * kKmh) + 20.0;
    const double descent =
        std::max(0.0, altitude - (elevation + kPatternHeight)) / kDescentRate;
    return std::max(toEntry, descent) + circuitSeconds + 30.0;
}

// Distance still to fly along the circuit to the touchdown aiming point.
double FlightSimulator::Impl::PathToTouchdown() const
{
    const double finalPart = kFinalLength + kTouchdownAim;
    switch (phase) {
    case Phase::Downwind:
        return Length(downwindEnd - pos) + kPatternOffset + finalPart;
    case Phase::Base:
        return Length(finalFix - pos) + finalPart;
    default:
        return std::max(0.0, Dot(touchdownAim - pos, along));
    }
}

void FlightSimulator::Impl::GroundStep(double targetSpeed, double accel, double brake,
                                       double desiredHeading)
{
    const double error = Wrap(desiredHeading - heading);
    double wanted = targetSpeed;
    if (std::fabs(error) > kPi / 2.0) {
        wanted = std::min(wanted, 0.8);
    } else if (std::fabs(error) > kPi / 4.0) {
        wanted = std::min(wanted, 1.8);
    }
    const double maxYaw = std::min(kGroundYawRate, 0.3 * kG / std::max(speed, 0.1));
    yawRate = speed > 0.05 ? std::clamp(1.5 * error, -maxYaw, maxYaw) : 0.0;
    speedRate = std::clamp(wanted - speed, -brake, accel);
    speed = std::max(0.0, speed + speedRate * dt);
    heading = Wrap(heading + yawRate * dt);
    pos = pos + Direction(heading) * (speed * dt);
    altitude = elevation;
    gamma = 0.0;
    gammaRate = 0.0;
    bankRate = -bank / dt;
    bank = 0.0;
    nz = 1.0;
}

void FlightSimulator::Impl::FollowRoute(const Vec2* route, std::size_t count, bool stopAtEnd)
{
    if (routeIndex >= count) {
        GroundStep(0.0, 1.0, 1.5, heading);
        return;
    }
    const Vec2 target = route[routeIndex];
    const double distance = Length(target - pos);
    const bool last = routeIndex + 1 == count;
    double wanted = kTaxiSpeed;
    if (last && stopAtEnd) {
        wanted = std::min(wanted, 0.5 * distance);
    }
    GroundStep(wanted, 1.0, 1.5, Bearing(pos, target));
    if (distance < (last && stopAtEnd ? 2.5 : 6.0)) {
        ++routeIndex;
    }
}

// Picks the next manoeuvre: a steep turn, a pull-up with push-over (beyond
// the load limits) or, high enough, a dive beyond the speed limit. The first
// of a flight is a pull-up unless the aircraft is too low for it.
void FlightSimulator::Impl::StartManoeuvre(double t)
{
    manoeuvreStart = t;
    stageStart = t;
    stage = 0;
    turned = 0.0;
    const bool high = altitude > elevation + 450.0;
    const double pick = manoeuvresFlown == 0 ? 0.5 : rng.Uniform();
    if (pick < 0.35 || altitude < elevation + 300.0) {
        manoeuvre = Manoeuvre::SteepTurn;
    } else if (pick < 0.75 || !high) {
        manoeuvre = Manoeuvre::PullPush;
    } else {
        manoeuvre = Manoeuvre::Dive;
    }
    switch (manoeuvre) {
    case Manoeuvre::SteepTurn:
        turnDirection = rng.Chance(0.5) ? 1.0 : -1.0;
        turnTarget = rng.Uniform(300.0, 370.0) * kDegree;
        break;
    case Manoeuvre::PullPush:
        peak = rng.Uniform(3.9, 4.7);
        lowPeak = rng.Uniform(-1.8, -0.4);
        topAngle = rng.Uniform(30.0, 45.0) * kDegree;
        break;
    case Manoeuvre::Dive:
        peak = rng.Uniform(236.0, 252.0);
        lowPeak = rng.Uniform(2.2, 3.0);
        break;
    case Manoeuvre::None:
        break;
    }
    ++manoeuvresFlown;
}

// A spell of rough air: correlated gusts with sharp bumps now and then. The
// first spell of most flights holds one bump beyond the load limit.
void FlightSimulator::Impl::StartTurbulence(double t)
{
    turbulenceEnd = t + rng.Uniform(20.0, 50.0);
    turbulence = rng.Uniform(0.25, 0.5);
    spikeAt = t + rng.Uniform(2.0, 5.0);
    spikeLength = rng.Uniform(0.25, 0.5);
    spikeAmplitude = turbulentSpells == 0 && firstSpellStrong ? rng.Uniform(3.0, 3.4)
                                                               : rng.Uniform(1.0, 2.6);
    ++turbulentSpells;
    nextTurbulence = turbulenceEnd + rng.Uniform(120.0, 400.0) * spacing;
}

// Extra load factor of the rough air at time t.
double FlightSimulator::Impl::TurbulenceStep(double t)
{
    double extra = gustNoise.Step(noise, turbulence, 0.4, dt);
    if (t >= spikeAt) {
        const double phaseOfSpike = (t - spikeAt) / spikeLength;
        if (phaseOfSpike < 1.0) {
            extra += spikeAmplitude * std::sin(kPi * phaseOfSpike);
        } else {
            spikeAt = t + rng.Uniform(1.0, 6.0);
            spikeLength = rng.Uniform(0.2, 0.5);
            spikeAmplitude = rng.Chance(0.6) ? rng.Uniform(1.0, 3.3) : -rng.Uniform(1.0, 2.8);
        }
    }
    return extra;
}

// Applies the manoeuvre in progress to the commands.
void FlightSimulator::Impl::ManoeuvreStep(double t, double& nzCmd, bool& nzOverride,
                                          double& bankOverride, bool& bankOverridden,
                                          double& iasTarget)
{
    const double ias = speed * std::sqrt(DensityRatio(altitude)) / kKmh;
    switch (manoeuvre) {
    case Manoeuvre::None:
        break;
    case Manoeuvre::SteepTurn:
        bankOverride = turnDirection * 60.0 * kDegree;
        bankOverridden = true;
        turned += std::fabs(yawRate) * dt;
        if (turned >= turnTarget) {
            manoeuvre = Manoeuvre::None;
        }
        break;
    case Manoeuvre::PullPush:
        bankOverride = 0.0;
        bankOverridden = true;
        nzOverride = true;
        if (stage == 0) {
            nzCmd = peak;
            if (gamma >= topAngle) {
                stage = 1;
            }
        } else if (stage == 1) {
            nzCmd = 0.4;
            if (gamma <= 12.0 * kDegree) {
                stage = 2;
                stageStart = t;
            }
        } else {
            nzCmd = lowPeak;
            if (gamma <= -8.0 * kDegree && t - stageStart >= 0.8) {
                manoeuvre = Manoeuvre::None;
                nzOverride = false;
            }
        }
        if (t - manoeuvreStart > 30.0) {
            manoeuvre = Manoeuvre::None;
            nzOverride = false;
        }
        break;
    case Manoeuvre::Dive:
        bankOverride = 0.0;
        bankOverridden = true;
        if (stage == 0) {
            nzOverride = true;
            nzCmd = 0.5;
            if (gamma <= -14.0 * kDegree) {
                stage = 1;
            }
        } else if (stage == 1) {
            nzOverride = true;
            nzCmd = (std::cos(gamma) + speed * 1.2 * (-14.0 * kDegree - gamma) / kG);
            iasTarget = 270.0;
            if (ias >= peak || altitude < elevation + 300.0) {
                stage = 2;
            }
        } else {
            nzOverride = true;
            nzCmd = lowPeak;
            if (gamma >= 0.0) {
                manoeuvre = Manoeuvre::None;
                nzOverride = false;
            }
        }
        if (t - manoeuvreStart > 40.0) {
            manoeuvre = Manoeuvre::None;
            nzOverride = false;
        }
        break;
    }
    if (manoeuvre == Manoeuvre::None) {
        nextManoeuvre = t + rng.Uniform(60.0, 200.0) * spacing;
    }
}

void FlightSimulator::Impl::AirStep(double t)
{
    double iasTarget = cruiseIas;
    double altitudeTarget = cruiseAltitude;
    double vsMin = -kDescentRate;
    double vsMax = kClimbRate;
    double capture = 300.0;
    bool fixedVs = false;
    double vsFixed = 0.0;
    double thrustLimit = 2.0;

    switch (phase) {
    case Phase::Climb:
        iasTarget = kClimbIas;
        break;
    case Phase::Enroute:
        if (altitude < cruiseAltitude - 50.0) {
            iasTarget = kClimbIas;
        }
        break;
    case Phase::Return:
        iasTarget = Length(downwindStart - pos) > 3000.0 ? kReturnIas : kPatternIas;
        altitudeTarget = elevation + kPatternHeight;
        vsMin = -6.0;
        break;
    case Phase::Orbit:
        iasTarget = kPatternIas;
        altitudeTarget = elevation + kPatternHeight;
        vsMin = -6.0;
        break;
    case Phase::Downwind:
    case Phase::Base:
    case Phase::Final:
        iasTarget = phase == Phase::Downwind ? kPatternIas
                    : phase == Phase::Base   ? kBaseIas
                                             : kFinalIas;
        altitudeTarget = elevation + std::min(kPatternHeight, PathToTouchdown() * kGlideSlope);
        capture = phase == Phase::Final ? 120.0 : 250.0;
        thrustLimit = 1.2;
        break;
    case Phase::Flare:
        iasTarget = kFlareIas;
        fixedVs = true;
        vsFixed = -1.0;
        capture = 120.0;
        thrustLimit = 0.0;
        break;
    default:
        break;
    }

    // Lateral guidance.
    double bankCmd = 0.0;
    bool bankOverridden = false;
    double nzCmd = 1.0;
    bool nzOverride = false;
    double extraLoad = 0.0;
    if (phase == Phase::Orbit) {
        bankCmd = -kNormalBank;
        bankOverridden = true;
    }
    if (manoeuvre != Manoeuvre::None) {
        ManoeuvreStep(t, nzCmd, nzOverride, bankCmd, bankOverridden, iasTarget);
    }
    const bool rough = Turbulent(t);
    if (rough) {
        extraLoad = TurbulenceStep(t);
    }
    if (!bankOverridden) {
        const double error = Wrap(leg.Steer(pos, capture) - heading);
        bankCmd = std::clamp(2.0 * error, -kNormalBank, kNormalBank);
    }
    const double previousBank = bank;
    bank += std::clamp(bankCmd - bank, -kBankRate * dt, kBankRate * dt);
    bankRate = (bank - previousBank) / dt;

    // Vertical guidance: an altitude loop commanding the load factor.
    if (!nzOverride) {
        double vsCmd = fixedVs ? vsFixed : std::clamp(0.2 * (altitudeTarget - altitude), vsMin, vsMax);
        const double gammaCmd = std::asin(std::clamp(vsCmd / speed, -0.5, 0.5));
        nzCmd = (std::cos(gamma) + speed * 1.2 * (gammaCmd - gamma) / kG) / std::cos(bank);
        nzCmd = std::clamp(nzCmd, 0.2, manoeuvre == Manoeuvre::SteepTurn ? 2.6 : 2.2);
    }
    nz += (nzCmd - nz) * std::min(1.0, dt / 0.2);
    // The structure and the pilot keep the load within what the aircraft takes.
    gust = rough ? std::clamp(extraLoad, kLowestLoad - nz, kHighestLoad - nz)
                 : gustNoise.Step(noise, calmAir, 0.5, dt);
    const double load = nz + gust;

    // Point-mass dynamics.
    const double sigma = DensityRatio(altitude);
    const double tasTarget = iasTarget * kKmh / std::sqrt(sigma);
    const double gravity = kG * std::sin(gamma);
    speedRate = std::clamp(0.25 * (tasTarget - speed) + gravity, -3.0, thrustLimit) - gravity;
    gammaRate = kG * (load * std::cos(bank) - std::cos(gamma)) / speed;
    yawRate = kG * load * std::sin(bank) / (speed * std::cos(gamma));
    speed = std::max(18.0, speed + speedRate * dt);
    gamma = std::clamp(gamma + gammaRate * dt, -1.2, 1.2);
    heading = Wrap(heading + yawRate * dt);
    altitude += speed * std::sin(gamma) * dt;
    pos = pos + Direction(heading) * (speed * std::cos(gamma) * dt);
}

void FlightSimulator::Impl::UpdatePhase(double t)
{
    const bool cruising = phase == Phase::Climb || phase == Phase::Enroute || phase == Phase::Return;
    if (cruising && t >= nextTurbulence && !Turbulent(t) && manoeuvre == Manoeuvre::None &&
        altitude > elevation + 120.0) {
        StartTurbulence(t);
    }
    auto enter = [&](Phase next) {
        phase = next;
        phaseStart = t;
        routeIndex = 0;
    };
    switch (phase) {
    case Phase::PowerUp:
        engine = t >= engineStartAt;
        if (t >= powerUpEnd) {
            enter(Phase::TaxiOut);
        }
        break;
    case Phase::TaxiOut:
        if (routeIndex >= taxiOutRoute.size()) {
            enter(Phase::LineUp);
        }
        break;
    case Phase::LineUp:
        if (t - phaseStart > lineUpHold && speed < 0.05 &&
            std::fabs(Wrap(runwayHeading - heading)) < 3.0 * kDegree) {
            enter(Phase::TakeoffRoll);
        }
        break;
    case Phase::TakeoffRoll:
        if (speed * std::sqrt(DensityRatio(altitude)) >= kRotateSpeed) {
            out.onGround = false;
            out.liftOffTimeS = t;
            nextTurbulence = t + rng.Uniform(25.0, 150.0);
            leg = {threshold, threshold + along * 20000.0};
            enter(Phase::Climb);
        }
        break;
    case Phase::Climb:
        if (altitude > elevation + kClimbOutHeight) {
            leg = {pos, tour[tourIndex]};
            nextManoeuvre = t + rng.Uniform(10.0, 30.0);
            enter(Phase::Enroute);
        }
        break;
    case Phase::Enroute: {
        if (Length(tour[tourIndex] - pos) < 400.0) {
            const Vec2 from = tour[tourIndex];
            tourIndex = (tourIndex + 1) % tourCount;
            leg = {from, tour[tourIndex]};
        }
        const double remaining = plan.durationS - t;
        const double needed = ReturnEstimate();
        if (manoeuvre == Manoeuvre::None) {
            if (remaining <= needed) {
                leg = {pos, downwindStart};
                enter(Phase::Return);
            } else if (t >= nextManoeuvre) {
                const double ias = speed * std::sqrt(DensityRatio(altitude)) / kKmh;
                if (remaining - needed > 45.0 && altitude > elevation + 150.0 &&
                    altitude > cruiseAltitude - 60.0 && ias > cruiseIas - 15.0 && !Turbulent(t)) {
                    StartManoeuvre(t);
                } else {
                    nextManoeuvre = t + 10.0;
                }
            }
        }
        break;
    }
    case Phase::Return:
        if (Length(downwindStart - pos) < 1500.0 &&
            altitude > elevation + kPatternHeight + 150.0) {
            enter(Phase::Orbit);
        } else if (leg.Remaining(pos) < 250.0) {
            leg = {downwindStart, downwindEnd};
            enter(Phase::Downwind);
        }
        break;
    case Phase::Orbit:
        if (altitude < elevation + kPatternHeight + 60.0 && t - phaseStart > 20.0) {
            leg = {pos, downwindStart};
            enter(Phase::Return);
        }
        break;
    case Phase::Downwind:
        turbulenceEnd = std::min(turbulenceEnd, t);
        if (leg.Remaining(pos) < 300.0) {
            leg = {downwindEnd, finalFix};
            enter(Phase::Base);
        }
        break;
    case Phase::Base:
        if (leg.Remaining(pos) < 250.0) {
            leg = {finalFix, touchdownAim + along * 3000.0};
            enter(Phase::Final);
        }
        break;
    case Phase::Final:
        if (altitude - elevation <= kFlareHeight) {
            enter(Phase::Flare);
        }
        break;
    case Phase::Flare:
        if (altitude <= elevation) {
            out.touchdown = true;
            out.touchdownTimeS = t;
            out.onGround = true;
            bumpStart = t;
            bumpAmplitude = 0.25 + 0.25 * std::fabs(speed * std::sin(gamma)) + rng.Uniform(0.0, 0.35);
            bumpLength = rng.Uniform(0.2, 0.35);
            speed *= std::cos(gamma);
            enter(Phase::Rollout);
        }
        break;
    case Phase::Rollout:
        if (speed <= kTaxiSpeed + 0.3) {
            out.landingDone = true;
            enter(Phase::TaxiIn);
        }
        break;
    case Phase::TaxiIn:
        if (routeIndex >= taxiInRoute.size()) {
            enter(Phase::Parked);
        }
        break;
    case Phase::Parked:
        if (t - phaseStart > shutdownDelay) {
            engine = false;
        }
        break;
    }
}

void FlightSimulator::Impl::Advance(double t)
{
    UpdatePhase(t);
    switch (phase) {
    case Phase::PowerUp:
    case Phase::Parked:
        GroundStep(0.0, 1.0, 1.5, heading);
        break;
    case Phase::TaxiOut:
        FollowRoute(taxiOutRoute.data(), taxiOutRoute.size(), false);
        break;
    case Phase::LineUp: {
        const bool aligned = std::fabs(Wrap(runwayHeading - heading)) < 3.0 * kDegree;
        GroundStep(aligned ? 0.0 : 1.5, 1.0, 1.5, Bearing(pos, threshold + along * 300.0));
        break;
    }
    case Phase::TakeoffRoll: {
        const Leg runway{threshold, threshold + along * 3000.0};
        GroundStep(100.0, 2.2 - 0.03 * speed, 1.5, runway.Steer(pos, 40.0));
        break;
    }
    case Phase::Rollout: {
        const Leg runway{threshold, threshold + along * 3000.0};
        GroundStep(kTaxiSpeed, 1.0, 2.2, runway.Steer(pos, 40.0));
        break;
    }
    case Phase::TaxiIn:
        FollowRoute(taxiInRoute.data(), taxiInRoute.size(), true);
        break;
    default:
        AirStep(t);
        break;
    }
}

void FlightSimulator::Impl::FillSensors(double t)
{
    const double sigma = DensityRatio(altitude);
    out.timeS = t;
    out.position = pos;
    out.altitude = altitude;
    out.engineRunning = engine;
    out.gpsValid = t >= gpsFixAt && !(t >= gapStart && t < gapEnd);
    out.outsideTemperature = dayTemperature - 6.5 * (altitude - elevation) / 1000.0;
    double track = heading / kDegree;
    if (track < 0.0) {
        track += 360.0;
    }
    out.track = track;
    out.yawRate = yawRate / kDegree;
    out.pitchRate = gammaRate / kDegree;
    out.rollRate = bankRate / kDegree;

    const double vibration = engine ? 0.02 : 0.003;
    double ias = 0.0;
    if (out.onGround) {
        const double roughness = vibration + 0.004 * speed;
        double bump = 0.0;
        if (bumpStart >= 0.0 && t - bumpStart < bumpLength) {
            bump = bumpAmplitude * std::sin(kPi * (t - bumpStart) / bumpLength);
        }
        out.groundSpeed = speed;
        out.verticalSpeed = 0.0;
        out.accX = speedRate / kG + 0.7 * roughness * noise.Gauss();
        out.accY = speed * yawRate / kG + 0.5 * roughness * noise.Gauss();
        out.accZ = 1.0 + bump + roughness * noise.Gauss();
        ias = speed * std::sqrt(sigma) / kKmh;
        ias += iasNoise.Step(noise, 0.3, 1.0, dt);
    } else {
        const double load = nz + gust;
        out.groundSpeed = speed * std::cos(gamma);
        out.verticalSpeed = speed * std::sin(gamma);
        out.accX = speedRate / kG + std::sin(gamma + kAlpha) + 0.7 * vibration * noise.Gauss();
        out.accY = 0.5 * vibration * noise.Gauss();
        out.accZ = load * std::cos(kAlpha) + vibration * noise.Gauss();
        const double gustSpeed = Turbulent(t) ? 4.0 : 0.6;
        ias = speed * std::sqrt(sigma) / kKmh + iasNoise.Step(noise, gustSpeed, 1.5, dt);
    }
    out.ias = ias < 3.0 ? 0.0 : ias;
    out.altitude = altitude + baroNoise.Step(noise, 0.6, 3.0, dt);
}

const FlightState& FlightSimulator::Impl::Next()
{
    ++step;
    const double t = static_cast<double>(step) * dt;
    out.touchdown = false;
    if (step > 0) {
        Advance(t);
    }
    FillSensors(t);
    return out;
}

FlightSimulator::FlightSimulator(const FlightPlan& plan) : impl_(std::make_unique<Impl>(plan)) {}
FlightSimulator::~FlightSimulator() = default;

const FlightState& FlightSimulator::Next() { return impl_->Next(); }

}  // namespace veltrin::sim
