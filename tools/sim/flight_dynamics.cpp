#include "sim/flight_simulator_impl.h"

#include <algorithm>
#include <cmath>

namespace veltrin::sim {

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
    case Phase::Climb: iasTarget = kClimbIas; break;
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
    default: break;
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
        double vsCmd =
            fixedVs ? vsFixed : std::clamp(0.2 * (altitudeTarget - altitude), vsMin, vsMax);
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

void FlightSimulator::Impl::Advance(double t)
{
    UpdatePhase(t);
    switch (phase) {
    case Phase::PowerUp:
    case Phase::Parked: GroundStep(0.0, 1.0, 1.5, heading); break;
    case Phase::TaxiOut: FollowRoute(taxiOutRoute.data(), taxiOutRoute.size(), false); break;
    case Phase::LineUp:
        GroundStep(AlignedWithRunway() ? 0.0 : 1.5, 1.0, 1.5,
                   Bearing(pos, threshold + along * 300.0));
        break;
    case Phase::TakeoffRoll:
        GroundStep(100.0, 2.2 - 0.03 * speed, 1.5, RunwayLeg().Steer(pos, 40.0));
        break;
    case Phase::Rollout: GroundStep(kTaxiSpeed, 1.0, 2.2, RunwayLeg().Steer(pos, 40.0)); break;
    case Phase::TaxiIn: FollowRoute(taxiInRoute.data(), taxiInRoute.size(), true); break;
    default: AirStep(t); break;
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

}  // namespace veltrin::sim
