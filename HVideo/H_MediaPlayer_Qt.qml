import QtQuick 2.0
import QtMultimedia 5.0

// The Qt Multimedia player inside H_MediaPlayer, for the back ends that are not libvlc.
VideoOutput {
    id: videoOutput

    property variant h_mediaPlayer: parent

    fillMode: h_mediaPlayer.nativeSize ? VideoOutput.PreserveAspectFit : VideoOutput.Stretch
    source: player
    // Drawn into a texture of its own, which the panorama samples like any other frame.
    layer.enabled: true

    function pause() {
        player.pause()
    }

    function play() {
        player.play()
    }

    function seek(offset) {
        player.seek(offset)
    }

    function stop() {
        player.stop()
    }

    function restart() {
        player.seek(0)
        player.play()
    }

    MediaPlayer {
        id: player

        autoPlay: true
        volume: h_mediaPlayer.volume
        playbackRate: h_mediaPlayer.playbackRate
        source: h_mediaPlayer.mediaSource

        onDurationChanged: h_mediaPlayer.duration = duration
        onErrorChanged: h_mediaPlayer.errorString = errorString
        onPositionChanged: h_mediaPlayer.position = position
        onPlaybackStateChanged: h_mediaPlayer.playbackState = playbackState
        onStatusChanged: h_mediaPlayer.playerStatus = status
        onSourceChanged: h_mediaPlayer.metaData = metaData
    }

    // The metadata arrive once the media is loaded, after the source changed: the log follows them.
    Connections {
        target: player.metaData
        function onMetaDataChanged() {
            h_mediaPlayer.buildLogMessage()
        }
    }
}
