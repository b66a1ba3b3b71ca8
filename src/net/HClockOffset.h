#pragma once

#include <deque>

// How far a slave's monotonic clock is from its master's, learnt from the stamps of the datagrams
// it receives. Each datagram says when the master sent it; the slave notes when it arrived. The
// difference is the offset plus that datagram's delay, and delays are never negative, so the
// smallest differences of the last few seconds, the datagrams that came through quickest, are
// the offset itself: late, bunched or reordered datagrams only make differences larger, and leave
// the estimate alone. Two clocks may also run at slightly different speeds; the lowest difference
// of each half of the window gives the drift, which the estimate follows.
//
// Times are milliseconds; a master's are on its clock, the rest on the slave's.
class HClockOffset
{
public:
    void addSample(double masterTime, double arrivedAt);
    bool isKnown() const { return !samples.empty(); }
    // The master's clock at an instant of the slave's.
    double toMaster(double localTime) const { return localTime - offsetAt(localTime); }
    // Local minus master, at local time `now`.
    double offsetAt(double now) const;
    void clear() { samples.clear(); }

private:
    struct Sample
    {
        double at;
        double difference;
    };
    void estimate();

    std::deque<Sample> samples;
    // The estimate: `difference` at local time `at`, changing by `drift` per millisecond.
    Sample base{0.0, 0.0};
    double drift = 0.0;
};
