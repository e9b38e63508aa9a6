// A small seeded random source (splitmix64) whose sequences are the same on every platform,
// so that a seed always gives the same cranes, graphs and fault decisions.
#pragma once

#include <cstdint>

class simRandom {
public:
    explicit simRandom(uint64_t seed) : state(seed) {}

    uint64_t next()
    {
        uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

    // Uniform integer in [low, high], both included.
    int64_t range(int64_t low, int64_t high)
    {
        if (high <= low)
            return low;
        const uint64_t span = static_cast<uint64_t>(high - low) + 1;
        return low + static_cast<int64_t>(next() % span);
    }

    // Uniform real in [low, high).
    double between(double low, double high) { return low + (high - low) * uniform(); }

    bool chance(double probability) { return uniform() < probability; }

private:
    uint64_t state;
};
