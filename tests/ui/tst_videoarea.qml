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
    }

    // A media item as the video area sees one.
    Item {
        id: fakeMedia

        property int playerStatus: MediaPlayer.NoMedia
        property string errorString: ""
        property url mediaSource: ""
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
        id: spyComponent

        SignalSpy {
        }
    }

    Component {
        id: focusComponent

        Item {
            focus: true
        }
    }

    SignalSpy {
        id: activity

        target: root
        signalName: "mouseMoved"
    }

    TestCase {
        name: "FormatTime"

        function test_formatTime_data() {
            return [
                {tag: "hours", time: 3723000, text: "1:02:03"},
                {tag: "minutes", time: 65400, text: "01:05"},
                {tag: "nothing", time: 0, text: "00:00"},
                {tag: "rounds up to a minute", time: 59999, text: "01:00"},
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
        property var area: null
        property var states: null

        name: "VideoArea"
        when: windowShown

        function init() {
            hShaderCodeBuilder.projection = HShaderCodeBuilder.NO_PROJECTION
            hGlobalObject.pitchMin = -0.2617994
            hGlobalObject.pitchMax = 0.7853982
            hGlobalObject.fov = 60
            hGlobalObject.yaw = 0
            hGlobalObject.touchMode = true
            hSensor.activated = false
            fakeMedia.playerStatus = MediaPlayer.NoMedia
            fakeMedia.errorString = ""
            area = createTemporaryObject(areaComponent, scene)
            states = createTemporaryObject(spyComponent, scene, {target: area, signalName: "changeRootState"})
            activity.clear()
        }

        // Each row: the projection and fov the area starts with, a step (zoom in, zoom out or a new
        // projection) and the fov after it; "again" repeats the step and expects the same.
        function test_fovLimits_data() {
            var sphere = {min: -Math.PI / 2, max: Math.PI / 2}
            return [
                {tag: "rectilinear, in stops at 20", projection: HShaderCodeBuilder.RECTILINEAR, fov: 21,
                 step: "in", expected: 20, again: true},
                {tag: "rectilinear, out stops at the picture's height",
                 projection: HShaderCodeBuilder.RECTILINEAR, fov: 59, step: "out", expected: 60},
                {tag: "little planet, in stops at 10", projection: HShaderCodeBuilder.LITTLE_PLANET, fov: 12,
                 step: "in", expected: 10},
                {tag: "fisheye, out stops at 360", projection: HShaderCodeBuilder.FISHEYE, fov: 359,
                 step: "out", expected: 360},
                {tag: "mirror ball has only 60", projection: HShaderCodeBuilder.MIRROR_BALL, fov: 60,
                 step: "in", expected: 60},
                {tag: "to mirror ball at 90 resets", projection: HShaderCodeBuilder.FISHEYE, fov: 90,
                 step: HShaderCodeBuilder.MIRROR_BALL, expected: 60},
                {tag: "to fisheye at 90 keeps it", projection: HShaderCodeBuilder.NO_PROJECTION, fov: 90,
                 step: HShaderCodeBuilder.FISHEYE, expected: 90},
                {tag: "to rectilinear at 15 resets", projection: HShaderCodeBuilder.LITTLE_PLANET, fov: 15,
                 step: HShaderCodeBuilder.RECTILINEAR, expected: 60},
                {tag: "sensor, rectilinear shows the whole height", projection: HShaderCodeBuilder.RECTILINEAR,
                 fov: 60, sensor: true, limits: sphere, step: "in", expected: 180, again: true},
                {tag: "sensor, flat zooming out", projection: HShaderCodeBuilder.NO_PROJECTION, fov: 30,
                 sensor: true, step: "out", expected: 60},
                {tag: "sensor, fisheye zooms freely", projection: HShaderCodeBuilder.FISHEYE, fov: 90,
                 sensor: true, step: "in", expected: 87},
                {tag: "no sensor, full sphere", projection: HShaderCodeBuilder.RECTILINEAR, fov: 178,
                 limits: sphere, step: "out", expected: 180}
            ]
        }

        function test_fovLimits(data) {
            // The area follows projection changes: the starting one is set before it exists.
            area.destroy()
            hShaderCodeBuilder.projection = data.projection
            if (data.limits) {
                hGlobalObject.pitchMin = data.limits.min
                hGlobalObject.pitchMax = data.limits.max
            }
            hGlobalObject.fov = data.fov
            hSensor.activated = data.sensor === true
            area = createTemporaryObject(areaComponent, scene)

            for (var i = 0; i < (data.again ? 2 : 1); ++i) {
                if (data.step === "in")
                    area.zoom(1, 3)
                else if (data.step === "out")
                    area.zoom(-1, 3)
                else
                    hShaderCodeBuilder.projection = data.step
                compare(hGlobalObject.fov, data.expected)
            }
        }

        function test_wheel() {
            hGlobalObject.fov = 40
            // A pixel delta (touch pads) counts before an angle delta; a direction of 0 narrows.
            area.wheelZoom(120, 0)
            compare(hGlobalObject.fov, 38)
            area.wheelZoom(-120, 120)
            compare(hGlobalObject.fov, 40)
            area.zoom(0, 3)
            compare(hGlobalObject.fov, 37)
            // A mouse wheel gives only an angle delta; towards the user widens.
            mouseWheel(area, 200, 150, 0, -120)
            compare(hGlobalObject.fov, 42)
            mouseWheel(area, 200, 150, 0, 120)
            compare(hGlobalObject.fov, 37)
        }

        // A field of view of 30 degrees opens a vertical range around the start (pitch -15
        // degrees), so that vertical drags show too.
        function test_drag_data() {
            return [
                {tag: "3 pixels is a click", dx: 3, dy: 0, touch: true, moved: false},
                {tag: "3 pixels up is a click", dx: 0, dy: -3, touch: true, moved: false},
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
            var pitch = hGlobalObject.pitch
            area.forceActiveFocus()
            mousePress(area, 200, 150)
            mouseMove(area, 200 + data.dx, 150 + data.dy, -1, Qt.LeftButton)
            // The whole distance from the press point, at the first move beyond the threshold.
            var sign = !data.moved ? 0 : data.touch ? -1 : 1
            fuzzyCompare(hGlobalObject.yaw, sign * data.dx * area.moveSpeed, 1e-6)
            fuzzyCompare(hGlobalObject.pitch, pitch + sign * data.dy * area.moveSpeed, 1e-6)
            compare(activity.count > 0, data.moved)
            mouseRelease(area, 200 + data.dx, 150 + data.dy)
            // A click with the focus asks for the controls; the end of a drag asks for nothing.
            compare(states.count, data.moved ? 0 : 1)
            if (!data.moved) {
                compare(states.signalArguments[0][0], "ControlsPanel")
                verify(timerHideControls.running)
            }
        }

        function test_clickWithoutFocusAsksForVideo() {
            createTemporaryObject(focusComponent, scene).forceActiveFocus()
            mouseClick(area, 50, 50)
            compare(states.count, 1)
            compare(states.signalArguments[0][0], "Video")
        }

        // What the placeholder says for each state of the media.
        function test_placeholder_data() {
            return [
                {tag: "nothing opened", status: MediaPlayer.NoMedia, error: "", loading: false},
                {tag: "loading", status: MediaPlayer.Loading, error: "", loading: true},
                {tag: "failed", status: MediaPlayer.InvalidMedia, error: "No such file", loading: false},
                {tag: "failed while loading", status: MediaPlayer.Loading, error: "No such file",
                 loading: false},
                {tag: "showing", status: MediaPlayer.Buffered, error: "", loading: false, shown: true}
            ]
        }

        function test_placeholder(data) {
            fakeMedia.playerStatus = data.status
            fakeMedia.errorString = data.error
            compare(findChild(area, "placeholder").opacity, data.shown ? 0 : 1)
            compare(findChild(area, "panorama").opacity, data.shown ? 1 : 0)
            compare(findChild(area, "helpButton").visible, !data.shown)
            compare(findChild(area, "dropText").visible, !data.loading)
            compare(findChild(area, "dropText").text, "Drop your file(s) here")
            compare(findChild(area, "errorText").text, data.error)
            compare(findChild(area, "loadingBar").visible, data.loading)
            // This platform offers more than one video plugin.
            compare(findChild(area, "pluginButton").visible, data.error !== "")
        }

        function test_pluginButton() {
            fakeMedia.errorString = "No such file"
            var plugins = createTemporaryObject(spyComponent, scene, {target: area, signalName: "showVideoPlugins"})
            var button = findChild(area, "pluginButton")
            mouseClick(button, button.width / 2, button.height / 2)
            compare(plugins.count, 1)
        }
    }

    Component {
        id: overlayComponent

        H_PlayerImage {
        }
    }

    TestCase {
        property var overlay: null
        property var pauseScreen: null

        name: "PlayerImage"
        when: windowShown

        function init() {
            overlay = createTemporaryObject(overlayComponent, scene)
            pauseScreen = findChild(overlay, "pauseScreen")
        }

        function test_pauseScreen_data() {
            return [
                {tag: "pause icon", url: "qrc:/images/newui/pause_icon.png", enabled: true},
                {tag: "play icon", url: "qrc:/images/newui/play_icon.png", enabled: false},
                {tag: "nothing", url: "", enabled: false}
            ]
        }

        // From either state, the flag follows the URL; the icon grows in and fades out.
        function test_pauseScreen(data) {
            for (var i = 0; i < 2; ++i) {
                overlay.onShowPlayerImage(i === 0 ? "" : "qrc:/images/newui/pause_icon.png")
                overlay.onShowPlayerImage(data.url)
                compare(pauseScreen.enabled, data.enabled)
            }
            tryCompare(pauseScreen, "opacity", data.enabled ? 1 : 0)
            var icon = findChild(overlay, "imagePlayer")
            tryCompare(icon, "opacity", 0, 2000)
            compare(icon.scale, 1)
        }

        function test_playButton() {
            var calls = createTemporaryObject(spyComponent, scene, {target: h_bar, signalName: "playPauseCalled"})
            overlay.onShowPlayerImage("qrc:/images/newui/pause_icon.png")
            mouseClick(overlay, overlay.width / 2, overlay.height / 2)
            compare(calls.count, 1)
            overlay.onShowPlayerImage("")
            mouseClick(overlay, overlay.width / 2, overlay.height / 2)
            compare(calls.count, 1)
        }

        function test_text() {
            var text = findChild(overlay, "textPlayer")
            overlay.onShowPlayerText("01:05")
            compare(text.text, "01:05")
            compare(text.opacity, 1)
            tryCompare(text, "opacity", 0, 3000)
        }
    }
}
