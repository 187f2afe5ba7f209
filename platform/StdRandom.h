// The random generator the program and the runner use: a Mersenne Twister,
// which repeats its sequence for a given seed on every machine.
#pragma once

#include "platform/Random.h"

#include <random>

namespace numbrelle {

class StdRandom final : public RandomSource {
public:
    void seed(std::uint32_t value) override { m_engine.seed(value); }
    // The top 24 bits of one draw: every float in [0, 1) with that spacing,
    // equally likely, and never 1 (generate_canonical<float> can round up to it).
    float next() override { return static_cast<float>(m_engine() >> 8) * 0x1p-24f; }

private:
    std::mt19937 m_engine;
};

} // namespace numbrelle
