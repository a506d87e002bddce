#pragma once
// A small repeatable random source, so every run measures the same generated data.

#include <cstdint>

namespace orv {

class BenchRandom {
public:
    explicit BenchRandom(std::uint32_t seed)
        : m_state(seed)
    {
    }
    int Below(int n)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<int>((m_state >> 8) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t m_state;
};

} // namespace orv
