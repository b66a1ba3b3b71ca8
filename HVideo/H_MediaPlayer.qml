import QtQuick 2.0
import QtMultimedia 5.0

// The one media player the interface talks to. It loads the libvlc player or the Qt Multimedia
// player, by the back end chosen when it is created (a change of back end waits for the next
// start), and mirrors the loaded player's state in its own properties.
Loader {
    id: h_mediaPlayer

    // Read once, when complete; the video plugin goes before the scene at tear-down.
    property string backend: hVideoPlugin ? hVideoPlugin.currentPlugin : ""
    property int duration: 0
    property string errorString: ""
    // How the media failed (HMediaFailure.PlayerFailure), when playerStatus is InvalidMedia.
    property int failure: 0
    // A media under way that brings nothing for this long is given up (milliseconds).
    property int stallTimeout: Number(hGlobalObject.getSetting("application/network/stallTimeout", 15000))
    property string logMessage: ""
    property variant metaData: null
    // The picture is shown at its own size; the wrapper must then be given no size of its own.
    property bool nativeSize: true
    property int playbackState: MediaPlayer.StoppedState
    property int position: 0
    // Set by screen synchronisation to keep pace with a master; 1 is the media's own pace.
    property real playbackRate: 1.0
    // Where the media is now, finer than position: clockPosition + (now - clockTime) * clockRate,
    // now in milliseconds on the monotonic clock. A clockTime of 0 means only position is known.
    property real clockPosition: 0
    property real clockTime: 0
    property real clockRate: 0
    property url mediaSource: ""
    property int playerStatus: MediaPlayer.NoMedia
    property real volume: 0.5

    function pause() {
        if (item)
            item.pause()
    }

    function play() {
        if (item)
            item.play()
    }

    function seek(offset) {
        if (item)
            item.seek(offset)
    }

    function stop() {
        if (item)
            item.stop()
    }

    function restart() {
        if (item)
            item.restart()
    }

    // Lets go of the media altogether, where the player can.
    function close() {
        if (item && item.close)
            item.close()
        else if (item)
            item.stop()
    }

    // A jump past either end starts the media over.
    function seekJump(delta) {
        var target = position + delta
        if (target < 0 || target > duration)
            target = 0
        seek(target)
    }

    function buildLogMessage() {
        var text = ""
        if (errorString !== "")
            text += qsTr("Error : ") + errorString + ".\n"
        text += qsTr("Media : ") + mediaSource + "\n"
        if (metaData !== null && metaData !== undefined) {
            var lines = [
                [qsTr("Audio bitrate : "), metaData.audioBitRate],
                [qsTr("Audio codec : "), metaData.audioCodec],
                [qsTr("Pixel aspect ratio : "), sizeText(metaData.pixelAspectRatio, "/")],
                [qsTr("Resolution : "), sizeText(metaData.resolution, "*")],
                [qsTr("Size : "), metaData.size],
                [qsTr("Video bitrate : "), metaData.videoBitRate],
                [qsTr("Video codec : "), metaData.videoCodec],
                [qsTr("Video framerate : "), metaData.videoFrameRate]
            ]
            for (var i = 0; i < lines.length; ++i) {
                var value = lines[i][1]
                if (value !== undefined && value !== null && value !== "")
                    text += lines[i][0] + value + "\n"
            }
        }
        logMessage = text
    }

    function sizeText(size, separator) {
        if (size === undefined || size === null || size.width === undefined)
            return undefined
        return size.width + separator + size.height
    }

    onErrorStringChanged: buildLogMessage()
    onMediaSourceChanged: buildLogMessage()
    onStatusChanged: buildLogMessage()

    Component.onCompleted: {
        if (backend === "vlc" || backend === "vlc_hw")
            source = "H_MediaPlayer_VLC.qml"
        else
            source = "H_MediaPlayer_Qt.qml"
    }
}
