#pragma once
// Small deterministic random source for the sample generator: the same seed
// gives the same card with every compiler and standard library.

#include <cmath>
#include <cstdint>

namespace veltrin::sim {

// splitmix64 with uniform, integer and normal draws of its own.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t Next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
    double Uniform(double low, double high) { return low + (high - low) * Uniform(); }

    // Uniform integer in [low, high]; low when high < low.
    int Int(int low, int high)
    {
        if (high <= low) {
            return low;
        }
        const auto span = static_cast<std::uint64_t>(high - low) + 1U;
        return low + static_cast<int>(Next() % span);
    }

    bool Chance(double probability) { return Uniform() < probability; }

    // Standard normal draw (Box-Muller; the second value is kept for the next call).
    double Gauss()
    {
        if (hasSpare_) {
            hasSpare_ = false;
            return spare_;
        }
        const double u1 = 1.0 - Uniform();
        const double u2 = Uniform();
        const double radius = std::sqrt(-2.0 * std::log(u1));
        const double angle = 6.283185307179586 * u2;
        spare_ = radius * std::sin(angle);
        hasSpare_ = true;
        return radius * std::cos(angle);
    }

    // An independent stream, for one start or one sensor.
    Random Fork() { return Random(Next()); }

private:
    std::uint64_t state_;
    double spare_ = 0.0;
    bool hasSpare_ = false;
};

}  // namespace veltrin::sim
