// The uniform pseudo-random generator behind the random statement: one sequence
// for the whole program run, seeded once.
#pragma once

#include <cstdint>

namespace numbrelle {

class RandomSource {
public:
    virtual ~RandomSource() = default;
    virtual void seed(std::uint32_t value) = 0;
    // A single-precision value r with 0 <= r < 1.
    virtual float next() = 0;
};

} // namespace numbrelle
