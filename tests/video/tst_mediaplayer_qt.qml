import QtQuick 2.0
import QtTest 1.2
import QtMultimedia 5.0
import "qrc:/qml"

// The media loader with the Qt Multimedia back end (GStreamer on this platform) playing the same
// H.264 clip as the libvlc tests.
Item {
    id: scene

    width: 800
    height: 600

    Component {
        id: loaderComponent

        H_MediaLoader {
        }
    }

    TestCase {
        readonly property int openTimeout: 15000
        readonly property string clip: testMediaDir + "clip-1920x960.mp4"
        // The metadata lines in the order the log shows them.
        readonly property var metaDataLabels: ["Audio bitrate : ", "Audio codec : ", "Pixel aspect ratio : ",
            "Resolution : ", "Size : ", "Video bitrate : ", "Video codec : ", "Video framerate : "]
        property var loader: null

        name: "MediaPlayerQt"
        when: windowShown

        function init() {
            // A new back end counts for players made from now on.
            hVideoPlugin.currentPlugin = "gst"
            loader = createTemporaryObject(loaderComponent, scene)
            loader.firstMedia = false
        }

        function test_plays() {
            var video = loader.mediaPlayer
            verify(String(video.source).match(/\/H_MediaPlayer_Qt\.qml$/))
            loader.processFileSource(clip, true, false, "")
            tryCompare(video, "playbackState", MediaPlayer.PlayingState, openTimeout)
            tryCompare(video, "playerStatus", MediaPlayer.Buffered, openTimeout)
            compare(video.errorString, "")
            tryCompare(video, "duration", 5000, openTimeout)
            // The picture's own size reaches the player, so the loader sees a 2:1 picture.
            tryCompare(video, "width", 1920, openTimeout)
            compare(video.height, 960)
            tryVerify(function() { return video.position > 0 }, openTimeout)
            var first = video.position
            tryVerify(function() { return video.position >= first + 500 }, openTimeout)

            // The log names the media, then what the back end knows of it, in a fixed order.
            tryVerify(function() { return video.logMessage.indexOf("Resolution : ") >= 0 }, openTimeout)
            var lines = video.logMessage.split("\n")
            compare(lines.shift(), "Media : " + clip)
            compare(lines.pop(), "")
            var last = -1
            lines.forEach(function(line) {
                // A label with a value after it, later in the list than the line before.
                var order = metaDataLabels.findIndex(function(label) {
                    return line.indexOf(label) === 0 && line.length > label.length
                })
                verify(order > last, "out of order, unknown or empty: " + line)
                last = order
            })
            verify(lines.indexOf("Resolution : 1920*960") >= 0, video.logMessage)
            compare(hGlobalObject.videoLogMessage, video.logMessage)
        }
    }
}
