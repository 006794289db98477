#include "sim/flight_profile.h"

#include "sim/flight_simulator_impl.h"

#include <algorithm>
#include <cmath>

namespace veltrin::sim {

GeoPoint ToGeo(const Airfield& field, Vec2 local)
{
    const double phi = field.latitude * kDegree;
    const double metresPerDegreeLat =
        111132.92 - 559.82 * std::cos(2.0 * phi) + 1.175 * std::cos(4.0 * phi);
    const double metresPerDegreeLon = 111412.84 * std::cos(phi) - 93.5 * std::cos(3.0 * phi);
    return {field.latitude + local.north / metresPerDegreeLat,
            field.longitude + local.east / metresPerDegreeLon};
}

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

    const double circuitPath =
        Length(downwindEnd - downwindStart) + kPatternOffset + kFinalLength + kTouchdownAim;
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
        const double angle = first +
                             2.0 * kPi * static_cast<double>(i) / static_cast<double>(tourCount) +
                             rng.Uniform(-0.3, 0.3);
        tour[i] = Direction(angle) * (radius * rng.Uniform(0.7, 1.1));
    }
}

double FlightSimulator::Impl::ReturnEstimate() const
{
    // Turning towards the airfield, flying there at return speed or descending,
    // whichever takes longer, then the circuit, landing and taxiing in.
    const double toEntry = Length(downwindStart - pos) / (kReturnIas * kKmh) + 20.0;
    const double descent = std::max(0.0, altitude - (elevation + kPatternHeight)) / kDescentRate;
    return std::max(toEntry, descent) + circuitSeconds + 30.0;
}

// Distance still to fly along the circuit to the touchdown aiming point.
double FlightSimulator::Impl::PathToTouchdown() const
{
    const double finalPart = kFinalLength + kTouchdownAim;
    switch (phase) {
    case Phase::Downwind: return Length(downwindEnd - pos) + kPatternOffset + finalPart;
    case Phase::Base: return Length(finalFix - pos) + finalPart;
    default: return std::max(0.0, Dot(touchdownAim - pos, along));
    }
}

void FlightSimulator::Impl::UpdatePhase(double t)
{
    const bool cruising =
        phase == Phase::Climb || phase == Phase::Enroute || phase == Phase::Return;
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
        if (t - phaseStart > lineUpHold && speed < 0.05 && AlignedWithRunway()) {
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
                if (remaining - needed > 45.0 && altitude > elevation + 150.0 &&
                    altitude > cruiseAltitude - 60.0 && Ias() > cruiseIas - 15.0 && !Turbulent(t)) {
                    StartManoeuvre(t);
                } else {
                    nextManoeuvre = t + 10.0;
                }
            }
        }
        break;
    }
    case Phase::Return:
        if (Length(downwindStart - pos) < 1500.0 && altitude > elevation + kPatternHeight + 150.0) {
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
            leg = {finalFix, touchdownAim + along * kRunwayLegLength};
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
            bumpAmplitude =
                0.25 + 0.25 * std::fabs(speed * std::sin(gamma)) + rng.Uniform(0.0, 0.35);
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

FlightSimulator::FlightSimulator(const FlightPlan& plan) : impl_(std::make_unique<Impl>(plan))
{
}
FlightSimulator::~FlightSimulator() = default;

const FlightState& FlightSimulator::Next()
{
    return impl_->Next();
}

}  // namespace veltrin::sim
