import QtQuick 2.0
import QtTest 1.2
import QtMultimedia 5.0
import Veyrix 1.0
import "qrc:/qml"
import "qrc:/qml/lib.js" as Lib

// The pieces of the main scene that decide something by themselves: the time formatter, the
// video area's field-of-view limits, wheel, drag and placeholder, and the player overlay.
Item {
    id: scene

    width: 800
    height: 600

    // What the video area reaches of the main scene by id.
    Timer {
        id: timerHideControls

        interval: 60000
    }

    Item {
        id: messageDialog

        visible: false
    }

    Item {
        id: h_help

        property int fps: 0

        visible: false
    }

    // A media item as the video area sees one.
    Item {
        id: fakeMedia

        property int playerStatus: MediaPlayer.NoMedia
        property string errorString: ""
        property url mediaSource: ""

        width: 20
        height: 10
    }

    Component {
        id: areaComponent

        H_VideoArea {
            width: 400
            height: 300
            mediaPlayer: fakeMedia
        }
    }

    Component {
        id: overlayComponent

        H_PlayerImage {
        }
    }

    SignalSpy {
        id: activity

        target: root
        signalName: "mouseMoved"
    }

    SignalSpy {
        id: playPauses

        target: h_bar
        signalName: "playPauseCalled"
    }

    TestCase {
        name: "FormatTime"

        function test_formatTime_data() {
            return [
                {tag: "hours", time: 3723000, text: "1:02:03"},
                {tag: "minutes", time: 65400, text: "01:05"},
                {tag: "nothing", time: 0, text: "00:00"},
                {tag: "rounds up to a minute", time: 59999, text: "01:00"},
                {tag: "rounds down", time: 59499, text: "00:59"},
                {tag: "ten hours", time: 36000000, text: "10:00:00"},
                {tag: "unknown", time: undefined, text: "00:00"},
                {tag: "negative", time: -5000, text: "00:00"}
            ]
        }

        function test_formatTime(data) {
            compare(Lib.formatTime(data.time), data.text)
        }
    }

    TestCase {
        id: areaTest

        property var area: null
        property var spy: null
        readonly property real degrees: 57.2957795

        function findChild(item, objectName) {
            if (item.objectName === objectName)
                return item
            var children = item.children
            for (var i = 0; i < children.length; ++i) {
                var found = findChild(children[i], objectName)
                if (found)
                    return found
            }
            return null
        }

        name: "VideoArea"
        when: windowShown

        function init() {
            hShaderCodeBuilder.projection = HShaderCodeBuilder.NO_PROJECTION
            hGlobalObject.pitchMin = -0.2617994
            hGlobalObject.pitchMax = 0.7853982
            hGlobalObject.fov = 60
            hGlobalObject.yaw = 0
            hGlobalObject.pitch = 0
            hGlobalObject.touchMode = true
            hSensor.activated = false
            fakeMedia.playerStatus = MediaPlayer.NoMedia
            fakeMedia.errorString = ""
            area = createTemporaryObject(areaComponent, scene)
            verify(area !== null)
            spy = createTemporaryObject(spyComponent, scene, {target: area})
            activity.clear()
        }

        function cleanup() {
            hSensor.activated = false
            timerHideControls.stop()
        }

        // Each row: a projection set before the area sees a change, a fov, what happens, the fov
        // after it; "again" repeats the step and expects the same result.
        function test_fovLimits_data() {
            var fullSphere = {min: -Math.PI / 2, max: Math.PI / 2}
            return [
                {tag: "rectilinear zoom in stops at 20", projection: HShaderCodeBuilder.RECTILINEAR,
                 fov: 21, step: "in", expected: 20, again: true},
                {tag: "rectilinear zoom out stops at the picture's height",
                 projection: HShaderCodeBuilder.RECTILINEAR, fov: 59, step: "out", expected: 60},
                {tag: "flat zoom inside the range", projection: HShaderCodeBuilder.NO_PROJECTION,
                 fov: 40, step: "in", expected: 37},
                {tag: "little planet zoom in stops at 10", projection: HShaderCodeBuilder.LITTLE_PLANET,
                 fov: 12, step: "in", expected: 10},
                {tag: "fisheye zoom out stops at 360", projection: HShaderCodeBuilder.FISHEYE, fov: 359,
                 step: "out", expected: 360},
                {tag: "mirror ball only has 60", projection: HShaderCodeBuilder.MIRROR_BALL, fov: 60,
                 step: "in", expected: 60},
                {tag: "to mirror ball at 90 resets", projection: HShaderCodeBuilder.FISHEYE, fov: 90,
                 step: HShaderCodeBuilder.MIRROR_BALL, expected: 60},
                {tag: "to fisheye at 90 keeps it", projection: HShaderCodeBuilder.NO_PROJECTION, fov: 90,
                 step: HShaderCodeBuilder.FISHEYE, expected: 90},
                {tag: "to rectilinear at 15 resets", projection: HShaderCodeBuilder.LITTLE_PLANET, fov: 15,
                 step: HShaderCodeBuilder.RECTILINEAR, expected: 60},
                {tag: "sensor shows the whole height", projection: HShaderCodeBuilder.RECTILINEAR, fov: 60,
                 sensor: true, limits: fullSphere, step: "in", expected: 180, again: true},
                {tag: "sensor, zooming out", projection: HShaderCodeBuilder.RECTILINEAR, fov: 60,
                 sensor: true, limits: fullSphere, step: "out", expected: 180},
                {tag: "full sphere without sensor", projection: HShaderCodeBuilder.RECTILINEAR, fov: 178,
                 limits: fullSphere, step: "out", expected: 180}
            ]
        }

        function test_fovLimits(data) {
            // The area is told about projection changes: set the starting one without it.
            area.destroy()
            wait(0)
            hShaderCodeBuilder.projection = data.projection
            if (data.limits) {
                hGlobalObject.pitchMin = data.limits.min
                hGlobalObject.pitchMax = data.limits.max
            }
            hGlobalObject.fov = data.fov
            hSensor.activated = data.sensor === true
            area = createTemporaryObject(areaComponent, scene)

            var steps = data.again ? 2 : 1
            for (var i = 0; i < steps; ++i) {
                if (data.step === "in")
                    area.zoom(1, 3)
                else if (data.step === "out")
                    area.zoom(-1, 3)
                else
                    hShaderCodeBuilder.projection = data.step
                compare(hGlobalObject.fov, data.expected)
            }
        }

        function test_zoomDirection() {
            area.zoom(0, 3)
            compare(hGlobalObject.fov, 57)
            area.zoom(-120, 3)
            compare(hGlobalObject.fov, 60)
        }

        function test_wheel() {
            hGlobalObject.fov = 40
            // A pixel delta (touch pads) counts before an angle delta.
            area.wheelZoom(120, 0)
            compare(hGlobalObject.fov, 38)
            area.wheelZoom(-120, 120)
            compare(hGlobalObject.fov, 40)
            // A mouse wheel turned towards the user gives only an angle delta.
            mouseWheel(area, 200, 150, 0, -120)
            compare(hGlobalObject.fov, 45)
            mouseWheel(area, 200, 150, 0, 120)
            compare(hGlobalObject.fov, 40)
            area.wheelZoom(0, 0)
            compare(hGlobalObject.fov, 40)
        }

        // A narrower view opens a vertical range around the start (pitch -15 degrees) so that
        // vertical drags show too.
        function test_drag_data() {
            return [
                {tag: "3 pixels is a click", dx: 3, dy: 0, touch: true, moved: false},
                {tag: "3 pixels down is a click", dx: 0, dy: -3, touch: true, moved: false},
                {tag: "4 pixels start a drag", dx: 4, dy: 0, touch: true, moved: true},
                {tag: "4 pixels up start a drag", dx: 1, dy: -4, touch: true, moved: true},
                {tag: "mouse mode turns the other way", dx: 4, dy: 0, touch: false, moved: true},
                {tag: "mouse mode, vertical", dx: 0, dy: 10, touch: false, moved: true}
            ]
        }

        function test_drag(data) {
            hGlobalObject.fov = 30
            hGlobalObject.pitch = -0.2617994
            hGlobalObject.touchMode = data.touch
            var yaw = hGlobalObject.yaw
            var pitch = hGlobalObject.pitch
            area.forceActiveFocus()
            mousePress(area, 200, 150)
            mouseMove(area, 200 + data.dx, 150 + data.dy, -1, Qt.LeftButton)
            var sign = data.touch ? -1 : 1
            if (data.moved) {
                // The whole distance from the press point, at the first move beyond the threshold.
                fuzzyCompare(hGlobalObject.yaw, yaw + sign * data.dx * area.moveSpeed, 1e-6)
                fuzzyCompare(hGlobalObject.pitch, pitch + sign * data.dy * area.moveSpeed, 1e-6)
                verify(activity.count > 0)
            } else {
                compare(hGlobalObject.yaw, yaw)
                compare(hGlobalObject.pitch, pitch)
                compare(activity.count, 0)
            }
            mouseRelease(area, 200 + data.dx, 150 + data.dy)
            // A click asks for the controls; the end of a drag asks for nothing.
            compare(spy.count, data.moved ? 0 : 1)
            if (!data.moved) {
                compare(spy.signalArguments[0][0], "ControlsPanel")
                verify(timerHideControls.running)
            }
        }

        function test_dragFollowsEveryMove() {
            hGlobalObject.touchMode = false
            mousePress(area, 100, 100)
            mouseMove(area, 110, 100, -1, Qt.LeftButton)
            mouseMove(area, 112, 100, -1, Qt.LeftButton)
            mouseMove(area, 130, 100, -1, Qt.LeftButton)
            fuzzyCompare(hGlobalObject.yaw, 30 * area.moveSpeed, 1e-6)
            mouseRelease(area, 130, 100)
            // The next press starts a new gesture: a small move is a click again.
            mousePress(area, 100, 100)
            mouseMove(area, 102, 100, -1, Qt.LeftButton)
            mouseRelease(area, 102, 100)
            fuzzyCompare(hGlobalObject.yaw, 30 * area.moveSpeed, 1e-6)
            compare(spy.count, 1)
        }

        function test_clickWithoutFocusAsksForVideo() {
            var other = createTemporaryObject(focusComponent, scene)
            other.forceActiveFocus()
            verify(!area.activeFocus)
            mouseClick(area, 50, 50)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], "Video")
        }

        // What the placeholder says for each state of the media.
        function test_placeholder_data() {
            return [
                {tag: "nothing opened", status: MediaPlayer.NoMedia, error: "", drop: true, loading: false,
                 shown: false},
                {tag: "loading", status: MediaPlayer.Loading, error: "", drop: false, loading: true,
                 shown: false},
                {tag: "failed", status: MediaPlayer.InvalidMedia, error: "No such file", drop: true,
                 loading: false, shown: false},
                {tag: "failed while loading", status: MediaPlayer.Loading, error: "No such file", drop: true,
                 loading: false, shown: false},
                {tag: "showing", status: MediaPlayer.Buffered, error: "", drop: true, loading: false,
                 shown: true}
            ]
        }

        function test_placeholder(data) {
            fakeMedia.playerStatus = data.status
            fakeMedia.errorString = data.error
            var placeholder = findChild(area, "placeholder")
            compare(placeholder.opacity, data.shown ? 0 : 1)
            compare(findChild(area, "panorama").opacity, data.shown ? 1 : 0)
            compare(findChild(area, "helpButton").visible, !data.shown)
            compare(findChild(area, "dropText").visible, data.drop)
            compare(findChild(area, "dropText").text, "Drop your file(s) here")
            compare(findChild(area, "errorText").text, data.error)
            compare(findChild(area, "loadingBar").visible, data.loading)
            // This platform offers more than one video plugin.
            verify(hVideoPlugin.pluginsList().length > 1)
            compare(findChild(area, "pluginButton").visible, data.error !== "")
        }

        function test_pluginButtonAndHelp() {
            fakeMedia.errorString = "No such file"
            var plugins = createTemporaryObject(pluginSpyComponent, scene, {target: area})
            var button = findChild(area, "pluginButton")
            mouseClick(button, button.width / 2, button.height / 2)
            compare(plugins.count, 1)

            var help = findChild(area, "helpButton")
            mouseClick(help, 5, 5)
            verify(h_help.visible)
            mouseClick(help, 5, 5)
            verify(!h_help.visible)
        }
    }

    Component {
        id: spyComponent

        SignalSpy {
            signalName: "changeRootState"
        }
    }

    Component {
        id: pluginSpyComponent

        SignalSpy {
            signalName: "showVideoPlugins"
        }
    }

    Component {
        id: focusComponent

        Item {
            focus: true
        }
    }

    TestCase {
        property var overlay: null

        function pauseScreen() {
            return areaTest.findChild(overlay, "pauseScreen")
        }

        name: "PlayerImage"
        when: windowShown

        function init() {
            overlay = createTemporaryObject(overlayComponent, scene)
            verify(overlay !== null)
            playPauses.clear()
        }

        function test_pauseScreen_data() {
            return [
                {tag: "pause icon", url: "qrc:/images/newui/pause_icon.png", enabled: true},
                {tag: "play icon", url: "qrc:/images/newui/play_icon.png", enabled: false},
                {tag: "nothing", url: "", enabled: false}
            ]
        }

        function test_pauseScreen(data) {
            // Enabled first, so that every row shows the flag following the URL both ways.
            overlay.onShowPlayerImage("qrc:/images/newui/pause_icon.png")
            overlay.onShowPlayerImage("qrc:/images/newui/play_icon.png")
            verify(!pauseScreen().enabled)
            overlay.onShowPlayerImage(data.url)
            compare(pauseScreen().enabled, data.enabled)
            tryCompare(pauseScreen(), "opacity", data.enabled ? 1 : 0)
            var icon = areaTest.findChild(overlay, "imagePlayer")
            // The icon grows in and fades out again.
            tryCompare(icon, "opacity", 0, 2000)
            compare(icon.scale, 1)
        }

        function test_playButton() {
            overlay.onShowPlayerImage("qrc:/images/newui/pause_icon.png")
            mouseClick(overlay, overlay.width / 2, overlay.height / 2)
            compare(playPauses.count, 1)
            overlay.onShowPlayerImage("")
            mouseClick(overlay, overlay.width / 2, overlay.height / 2)
            compare(playPauses.count, 1)
        }

        function test_text() {
            var text = areaTest.findChild(overlay, "textPlayer")
            overlay.onShowPlayerText("01:05")
            compare(text.text, "01:05")
            compare(text.opacity, 1)
            wait(300)
            compare(text.opacity, 1)
            tryCompare(text, "opacity", 0, 3000)
        }
    }
}
