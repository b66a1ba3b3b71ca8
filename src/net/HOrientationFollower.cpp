#include "HOrientationFollower.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Samples kept: enough for the delay, and for the lateness to remember a burst for a while.
constexpr double historyMs = 2000.0;
constexpr double pi = 3.14159265358979323846;

// From a to b the short way round, for yaw, which wraps at ±π.
double turn(double a, double b)
{
    return std::remainder(b - a, 2.0 * pi);
}
} // namespace

void HOrientationFollower::add(double masterTime, const View& view, double lateness)
{
    const auto place = std::lower_bound(samples.begin(), samples.end(), masterTime,
                                        [](const Sample& sample, double at) { return sample.at < at; });
    if (place != samples.end() && place->at == masterTime) {
        return;
    }
    samples.insert(place, Sample{masterTime, view, std::max(0.0, lateness)});
    while (samples.front().at < samples.back().at - historyMs) {
        samples.pop_front();
    }

    // What the play-out needs changes only here, not at every frame. The master's pace is the
    // median gap: a lost datagram makes one gap longer, not the pace.
    latestLateness = 0.0;
    std::vector<double> gaps;
    for (size_t i = 0; i < samples.size(); ++i) {
        latestLateness = std::max(latestLateness, samples[i].lateness);
        if (i > 0) {
            gaps.push_back(samples[i].at - samples[i - 1].at);
        }
    }
    if (!gaps.empty()) {
        std::nth_element(gaps.begin(), gaps.begin() + long(gaps.size() / 2), gaps.end());
        interval = std::min(gaps[gaps.size() / 2], 200.0);
    }
}

std::optional<HOrientationFollower::View> HOrientationFollower::viewAt(double masterNow)
{
    if (samples.empty()) {
        return std::nullopt;
    }
    // The delay follows what the datagrams need, but slowly: the play-out never runs more than a
    // tenth faster or slower than the master's clock.
    const double wanted = 1.5 * interval + latestLateness;
    const double step = 0.1 * std::max(0.0, masterNow - lastViewAt);
    playoutDelay = playoutDelay < 0.0 ? wanted : std::clamp(wanted, playoutDelay - step, playoutDelay + step);
    lastViewAt = masterNow;
    const double at = masterNow - playoutDelay;
    if (at <= samples.front().at) {
        return samples.front().view;
    }
    if (at >= samples.back().at) {
        // A datagram lost or late: the turn goes on as it went for up to two intervals, then stops.
        if (samples.size() < 2) {
            return samples.back().view;
        }
        const Sample& a = samples[samples.size() - 2];
        const Sample& b = samples.back();
        return interpolate(a, b, (std::min(at, b.at + 2.0 * interval) - a.at) / (b.at - a.at));
    }
    const auto after = std::lower_bound(samples.begin(), samples.end(), at,
                                        [](const Sample& sample, double t) { return sample.at < t; });
    const Sample& b = *after;
    const Sample& a = *(after - 1);
    return interpolate(a, b, (at - a.at) / (b.at - a.at));
}

HOrientationFollower::View HOrientationFollower::interpolate(const Sample& a, const Sample& b, double f)
{
    View view;
    view.yaw = float(double(a.view.yaw) + f * turn(a.view.yaw, b.view.yaw));
    view.pitch = float(double(a.view.pitch) + f * (double(b.view.pitch) - double(a.view.pitch)));
    view.roll = float(double(a.view.roll) + f * turn(a.view.roll, b.view.roll));
    return view;
}

void HOrientationFollower::clear()
{
    samples.clear();
    playoutDelay = -1.0;
}
