// The time of day, which times a drill and seeds the random generator.
#pragma once

namespace numbrelle {

class Clock {
public:
    virtual ~Clock() = default;
    // Seconds since local midnight, with the fraction.
    virtual float secondsSinceMidnight() = 0;
};

} // namespace numbrelle
