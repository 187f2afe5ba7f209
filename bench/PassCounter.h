// Counting statement passes, the unit in which the language's speed is given:
// every pass of the run loop, skipped and block statements included.
#pragma once

#include "script/Interpreter.h"

#include <cstdint>

namespace numbrelle {

class PassCounter final : public RunObserver {
public:
    void statementPassed(std::int32_t, bool, std::size_t) override { ++passes; }
    std::int64_t passes = 0;
};

// The passes of one run of interp's statement list; the observer is taken
// off again, so that timed runs are not observed.
inline std::int64_t countPasses(Interpreter& interp)
{
    PassCounter counter;
    interp.setObserver(&counter);
    interp.RunScript();
    interp.setObserver(nullptr);
    return counter.passes;
}

} // namespace numbrelle
