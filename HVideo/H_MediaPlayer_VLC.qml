import QtQuick 2.0
import QtMultimedia 5.0
import VLCQt 1.0

// The libvlc player inside H_MediaPlayer: libvlc's states become Qt Multimedia's playback state
// and status, so the rest of the interface sees one kind of player.
VlcVideoPlayer {
    id: vlcPlayer

    property variant h_mediaPlayer: parent

    nativeSize: h_mediaPlayer.nativeSize
    // An empty source is ignored by the item: the old media plays on until a new one is set.
    source: h_mediaPlayer.mediaSource
    volume: h_mediaPlayer.volume
    playbackRate: h_mediaPlayer.playbackRate
    stallTimeout: h_mediaPlayer.stallTimeout
    // Ambisonic tracks turn with the view; without the program's core (a test of this module
    // alone) they play as libvlc plays them.
    spatialSound: typeof hSpatialSound !== "undefined" ? hSpatialSound : null

    onDurationChanged: h_mediaPlayer.duration = duration
    onErrorStringChanged: h_mediaPlayer.errorString = errorString
    onFailureChanged: h_mediaPlayer.failure = failure
    // The item only ever reports errors; a new media starts without one.
    onSourceChanged: h_mediaPlayer.errorString = ""
    onPositionChanged: h_mediaPlayer.position = position
    onClockChanged: {
        h_mediaPlayer.clockPosition = clockPosition
        h_mediaPlayer.clockTime = clockTime
        h_mediaPlayer.clockRate = clockRate
    }

    onVlcStateChanged: {
        var playback = MediaPlayer.StoppedState
        var status
        switch (vlcState) {
        case VlcVideoPlayer.Idle:
            status = MediaPlayer.NoMedia
            break
        case VlcVideoPlayer.Opening:
            status = MediaPlayer.Loading
            break
        case VlcVideoPlayer.Buffering:
            status = MediaPlayer.Buffering
            break
        case VlcVideoPlayer.Playing:
            playback = MediaPlayer.PlayingState
            status = MediaPlayer.Buffered
            break
        case VlcVideoPlayer.Paused:
            playback = MediaPlayer.PausedState
            status = MediaPlayer.Buffered
            break
        case VlcVideoPlayer.Stopped:
            status = MediaPlayer.NoMedia
            break
        case VlcVideoPlayer.Ended:
            status = MediaPlayer.EndOfMedia
            break
        case VlcVideoPlayer.Error:
            status = MediaPlayer.InvalidMedia
            break
        default:
            return
        }
        h_mediaPlayer.playbackState = playback
        h_mediaPlayer.playerStatus = status
    }
}
