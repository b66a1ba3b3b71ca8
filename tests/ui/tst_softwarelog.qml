import QtQuick 2.0
import QtTest 1.2
import QtMultimedia 5.0
import "qrc:/qml"
import "qrc:/qml/popup"

// The software log over a video played by the real libvlc item: the "Video" entry carries the
// loader's report and the item's frame counts.
Item {
    id: scene

    width: 800
    height: 600

    H_MediaLoader {
        id: h_mediaLoader
    }

    Component {
        id: logComponent
        PopupSoftwareLog {
            anchors.fill: parent
        }
    }

    TestCase {
        name: "SoftwareLog"
        when: windowShown

        function test_entries() {
            var clip = testMediaDir + "clip-640x320.mp4"
            // Played on, not paused as the first media after start-up is.
            h_mediaLoader.firstMedia = false
            h_mediaLoader.processFileSource(clip, true, false, "")
            tryCompare(h_mediaLoader.mediaPlayer, "playerStatus", MediaPlayer.Buffered, 10000)

            var popup = createTemporaryObject(logComponent, scene)
            compare(findChild(popup, "sensorLog").log, hSensor.logMessage)
            verify(hSensor.logMessage !== "")
            verify(!findChild(popup, "oculusLog").visible)
            verify(!findChild(popup, "leapLog").visible)

            var video = findChild(popup, "videoLog")
            verify(video.log.indexOf("Media : " + clip + "\n") === 0, video.log)
            tryVerify(function() {
                var decoded = /Frames decoded : (\d+)\n/.exec(video.log)
                return decoded !== null && Number(decoded[1]) > 0
            }, 5000, video.log)
            verify(/Frames uploaded : \d+\nFrames lost : \d+\n$/.test(video.log), video.log)

            // A photo has no frame counts.
            h_mediaLoader.processFileSource(testMediaDir + "photo-2000x1000.jpg", true, false, "")
            tryCompare(h_mediaLoader.mediaPlayer, "playerStatus", MediaPlayer.Buffered, 10000)
            tryCompare(video, "log", "Media : " + testMediaDir + "photo-2000x1000.jpg")
        }
    }
}
