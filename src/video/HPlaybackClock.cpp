#include "HPlaybackClock.h"

#include <algorithm>
#include <cmath>

namespace {
// How far each report pulls the line: about a second (four reports) to follow a real change of
// pace, while a single report's frame of jitter moves it by a few milliseconds.
constexpr double pull = 0.25;
// Further off than this, a report is a jump, not jitter.
constexpr double jumpMs = 250.0;
} // namespace

void HPlaybackClock::report(double position, double at)
{
    // Sent before the line last moved (a seek above all): it describes what no longer is.
    if (anchored && at < anchorAt) {
        return;
    }
    const double error = position - positionAt(at);
    if (!anchored || !running || std::abs(error) > jumpMs) {
        jumpTo(position, at);
        return;
    }
    moveAnchor(at);
    anchorPos += pull * error;
}

void HPlaybackClock::jumpTo(double position, double at)
{
    anchorPos = position;
    anchorAt = at;
    anchored = true;
}

void HPlaybackClock::setPlaying(bool playing, double at)
{
    moveAnchor(at);
    running = playing;
}

void HPlaybackClock::setRate(double newRate, double at)
{
    moveAnchor(at);
    rate = newRate;
}

double HPlaybackClock::positionAt(double at) const
{
    return anchorPos + (at - anchorAt) * speed();
}

void HPlaybackClock::moveAnchor(double at)
{
    // An event older than the line's anchor (stamped before a seek, heard after it) moves it no
    // further back.
    at = std::max(at, anchorAt);
    anchorPos = positionAt(at);
    anchorAt = at;
}
