#pragma once

// Where a media is between libvlc's time reports. Those come about four times a second, each up
// to a frame off and stamped late by however long the event took to arrive, so a position read
// from the last report is coarse and stair-stepped. The clock is a line instead: a position at an
// instant, advancing at the playback rate while the media plays. Each report pulls the line a
// fraction of the way towards itself, so one early or late report moves it little; a report far
// off the line (a seek, a loop, a stall) resets it.
//
// Instants are milliseconds on the monotonic clock (HMonotonicClock).
class HPlaybackClock
{
public:
    // A time report: libvlc said `position` at `at`.
    void report(double position, double at);
    // A jump asked for (a seek, a new media): the line starts over there.
    void jumpTo(double position, double at);
    void setPlaying(bool playing, double at);
    void setRate(double rate, double at);

    double positionAt(double at) const;
    // The line: at anchorTime() the media was at anchorPosition(), moving at speed().
    double anchorPosition() const { return anchorPos; }
    double anchorTime() const { return anchorAt; }
    // The rate while playing, 0 while not.
    double speed() const { return running ? rate : 0.0; }

private:
    void moveAnchor(double at);

    double anchorPos = 0.0;
    double anchorAt = 0.0;
    double rate = 1.0;
    bool running = false;
    bool anchored = false;
};
