#pragma once

#include <deque>
#include <optional>

// A master's view direction as a slave shows it: the datagrams' samples, placed on the master's
// clock, are played out a little behind the master and interpolated between, so that a turning
// master is followed smoothly instead of in steps of one datagram, and a late, lost or reordered
// datagram changes nothing visible. The delay is what the datagrams need: one and a half intervals
// plus the largest lateness of the last seconds; past the newest sample the turn is carried on.
//
// Times are milliseconds on the master's clock; angles radians.
class HOrientationFollower
{
public:
    struct View
    {
        float yaw = 0.0f;
        float pitch = 0.0f;
        float roll = 0.0f;
    };

    // `lateness`: how much longer than the quickest datagrams this one took to arrive.
    void add(double masterTime, const View& view, double lateness);
    // The view to show when the master's clock reads `masterNow`; nothing before the first sample.
    std::optional<View> viewAt(double masterNow);
    // How far behind the master the view is played out.
    double delay() const { return playoutDelay; }
    void clear();

private:
    struct Sample
    {
        double at;
        View view;
        double lateness;
    };

    // From a (f = 0) to b (f = 1), and on beyond b.
    static View interpolate(const Sample& a, const Sample& b, double f);

    std::deque<Sample> samples;
    double interval = 20.0;
    double latestLateness = 0.0;
    double playoutDelay = -1.0;
    double lastViewAt = 0.0;
};
