// The time of day from the system clock, in the local time zone.
#pragma once

#include "platform/Clock.h"

namespace numbrelle {

class SystemClock final : public Clock {
public:
    float secondsSinceMidnight() override;
};

} // namespace numbrelle
