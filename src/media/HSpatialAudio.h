#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// What an MP4 or MOV file says about its sound field: an ambisonic track (SA3D box) and a
// head-locked stereo track (SAND box), by their ordinal among the file's audio tracks.
struct HSpatialAudio
{
    // The first-order part of the field, in ACN order (W, Y, Z, X), SN3D-normalised after `gain`.
    bool ambisonic = false;
    int track = -1;               // ordinal of the ambisonic track among the audio tracks
    int order = 0;                // as recorded; only the first four components are rendered
    int channels = 0;             // channels of the track
    QVector<int> channelMap;      // for ACN 0..3, the track's channel that carries it
    QByteArray sampleEntry;       // the track's coding: "mp4a", "sowt", "Opus", ...
    float gain[4] = {1, 1, 1, 1}; // N3D recorded: scales back to SN3D
    int headLockedTrack = -1;     // a stereo track marked to play unrotated, or -1
    QString refusal;              // why an SA3D box was not taken, when one was found
};
