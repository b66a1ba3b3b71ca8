#include "HClockOffset.h"

#include <algorithm>

namespace {
// Long enough to hold datagrams that came through without delay even on a busy network, short
// enough to follow drifting clocks.
constexpr double windowMs = 10000.0;
// Quartz clocks differ by tens of parts per million; more than this is noise, not drift.
constexpr double maxDrift = 0.002;
constexpr double minDriftSpanMs = 1000.0;
} // namespace

void HClockOffset::addSample(double masterTime, double arrivedAt)
{
    samples.push_back({arrivedAt, arrivedAt - masterTime});
    while (!samples.empty() && samples.front().at < arrivedAt - windowMs) {
        samples.pop_front();
    }
    estimate();
}

double HClockOffset::offsetAt(double now) const
{
    return base.difference + drift * (now - base.at);
}

void HClockOffset::estimate()
{
    // The halves of the window, or of what it holds so far.
    const double newest = samples.back().at;
    const double middle = std::max(newest - windowMs / 2, (samples.front().at + newest) / 2);
    const Sample* older = nullptr;
    const Sample* recent = nullptr;
    for (const Sample& sample : samples) {
        const Sample*& lowest = sample.at < middle ? older : recent;
        if (!lowest || sample.difference < lowest->difference) {
            lowest = &sample;
        }
    }
    base = *recent;
    drift = 0.0;
    // Lows too close together say nothing about drift.
    if (older && recent->at - older->at >= minDriftSpanMs) {
        drift = std::clamp((recent->difference - older->difference) / (recent->at - older->at), -maxDrift,
                           maxDrift);
    }
}
