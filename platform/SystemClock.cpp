#include "platform/SystemClock.h"

#include <ctime>

namespace numbrelle {

float SystemClock::secondsSinceMidnight()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    localtime_r(&now.tv_sec, &local);
    // Whole seconds from the broken-down local time, so that a change of
    // daylight-saving time is seen the way the wall clock shows it.
    double seconds = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec;
    return static_cast<float>(seconds + now.tv_nsec * 1e-9);
}

} // namespace numbrelle
