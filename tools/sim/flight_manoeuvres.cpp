#include "sim/flight_simulator_impl.h"

#include <algorithm>
#include <cmath>

namespace veltrin::sim {

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
    case Manoeuvre::None: break;
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
    spikeAmplitude =
        turbulentSpells == 0 && firstSpellStrong ? rng.Uniform(3.0, 3.4) : rng.Uniform(1.0, 2.6);
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
    const double ias = Ias();
    switch (manoeuvre) {
    case Manoeuvre::None: break;
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

}  // namespace veltrin::sim
