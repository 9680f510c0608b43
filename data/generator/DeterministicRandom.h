#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ponencias::sample {

// The sample's only source of chance: splitmix64, small, well mixed and the same on every
// platform. The standard distributions differ between library versions, so every draw below is
// our own arithmetic; the same seed gives the same sample, byte for byte.
class DeterministicRandom {
public:
    explicit DeterministicRandom(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    // In [0, 1), from the top 53 bits.
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    bool chance(double p) { return unit() < p; }

    template <typename T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }
    // The index of one item, each as likely as its weight.
    template <typename T>
    std::size_t pickWeighted(const std::vector<T>& items) {
        int total = 0;
        for (const T& item : items) {
            total += item.weight;
        }
        int r = below(total);
        for (std::size_t i = 0; i < items.size(); ++i) {
            r -= items[i].weight;
            if (r < 0) {
                return i;
            }
        }
        return items.size() - 1;
    }

private:
    std::uint64_t state_;
};

}  // namespace ponencias::sample
