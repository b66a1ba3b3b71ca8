#pragma once

#include <QDeadlineTimer>

// Milliseconds, with their fraction, on the system's monotonic clock: the clock that never jumps
// and that every process of one machine shares, so that positions stamped with it in two players
// can be compared.
namespace HMonotonicClock {
inline double nowMs()
{
    return double(QDeadlineTimer::current(Qt::PreciseTimer).deadlineNSecs()) / 1e6;
}
} // namespace HMonotonicClock
