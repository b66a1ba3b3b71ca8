#pragma once

// What a slave does about the difference between its position and its master's, both read for
// the same instant. Small differences are taken out by playing a little faster or slower, within
// 5 % of the master's rate, eased in and out so that the picture never jumps: the rate rises no
// faster than the remaining error can be taken out again while it falls back. Only a difference
// over the seek threshold seeks; the seek aims at where the master will be when it has landed,
// and how long landing takes is learnt from each seek. A paused slave that shows another frame
// than its paused master seeks to it.
//
// Times and positions are milliseconds.
class HRateController
{
public:
    struct Decision
    {
        double rate = 1.0;
        bool seek = false;
        double seekTo = 0.0;
    };

    explicit HRateController(double seekThresholdMs = 1000.0) : threshold(seekThresholdMs) {}
    void setSeekThreshold(double ms) { threshold = ms; }

    // Both positions at local time `now`; the states are players' playbackState (1 playing,
    // 2 paused).
    Decision update(double now, double masterPosition, double masterRate, int masterState,
                    double slavePosition, int slaveState);
    // A new media, or the master's: nothing learnt about the last position carries over.
    void reset();

    double seekThreshold() const { return threshold; }
    double seekLatency() const { return latency; }
    int seeks() const { return seekCount; }
    // How long the rate was off the master's, in all.
    double nudgingMs() const { return nudging; }

private:
    Decision seekTo(double now, double target);

    double threshold;
    // The rate offset applied, and where it is heading.
    double offset = 0.0;
    bool engaged = false;
    double lastUpdate = -1.0;
    // After a seek, until the player has landed: no judgement on a position still in flight.
    double lockedUntil = -1.0;
    bool learning = false;
    double latency = 150.0;
    int seekCount = 0;
    int landedSeeks = 0;
    double nudging = 0.0;
};
