#include "HRateController.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int playing = 1;
constexpr int paused = 2;
constexpr double maxOffset = 0.05;
// How fast the rate may change: 4 % a second, so that a change of 5 % takes over a second.
constexpr double slewPerMs = 0.04 / 1000.0;
// Nudging starts beyond 4 ms and stops within 1 ms: well under a frame, and above the jitter of
// the two clocks, which is a fraction of a millisecond.
constexpr double engageMs = 4.0;
constexpr double settledMs = 1.0;
// A paused slave seeks to its paused master when it shows another frame (at 30 frames a second).
constexpr double frameMs = 1000.0 / 30.0;
// What a seek needs before the player's position means something again.
constexpr double landingMs = 1500.0;
} // namespace

void HRateController::reset()
{
    offset = 0.0;
    engaged = false;
    lastUpdate = -1.0;
    lockedUntil = -1.0;
    learning = false;
}

HRateController::Decision HRateController::seekTo(double now, double target)
{
    ++seekCount;
    offset = 0.0;
    engaged = false;
    lockedUntil = now + landingMs;
    return Decision{1.0, true, target};
}

HRateController::Decision HRateController::update(double now, double masterPosition, double masterRate,
                                                  int masterState, double slavePosition, int slaveState)
{
    const bool masterPlaying = masterState == playing;
    const bool slavePlaying = slaveState == playing;
    const double dt = lastUpdate < 0.0 ? 0.0 : std::clamp(now - lastUpdate, 0.0, 1000.0);
    lastUpdate = now;
    if (offset != 0.0) {
        nudging += dt;
    }
    const double error = slavePosition - masterPosition;

    if (now < lockedUntil) {
        return Decision{masterRate, false, 0.0};
    }
    if (learning) {
        // Behind after landing means the seek took longer than thought, ahead shorter.
        learning = false;
        if (masterPlaying && slavePlaying && std::abs(error) < threshold) {
            // The first seek knows nothing better; later ones are averaged in.
            const double weight = landedSeeks++ == 0 ? 1.0 : 0.5;
            latency = std::clamp(latency - error / std::max(masterRate, 0.1) * weight, 0.0, 3000.0);
        }
    }
    if (!masterPlaying || !slavePlaying) {
        offset = 0.0;
        engaged = false;
        // Paused side by side, the two must show the same frame; otherwise the playback state is on
        // its way (or a media is still opening) and positions mean nothing yet.
        if (masterState == paused && slaveState == paused && std::abs(error) > frameMs / 2) {
            return seekTo(now, masterPosition);
        }
        return Decision{masterRate, false, 0.0};
    }
    if (std::abs(error) > threshold) {
        learning = true;
        return seekTo(now, masterPosition + latency * masterRate);
    }

    if (std::abs(error) > engageMs) {
        engaged = true;
    } else if (std::abs(error) < settledMs) {
        engaged = false;
    }
    // The largest offset from which the rate can still ease back to the master's by the time the
    // error is gone: the error taken out while falling back at the slew rate is offset² / 2·slew.
    double wanted = 0.0;
    if (engaged) {
        wanted = -std::copysign(std::min(maxOffset, std::sqrt(2.0 * slewPerMs * std::abs(error))), error);
    }
    const double step = slewPerMs * std::max(dt, 1.0);
    offset = std::clamp(wanted, offset - step, offset + step);
    return Decision{masterRate * (1.0 + offset), false, 0.0};
}
