import QtQuick 2.0
import QtTest 1.2
import QtMultimedia 5.0
import Veyrix 1.0
import "qrc:/qml"

// The control bar over a media player stand-in, driven with the pointer.
Item {
    id: scene

    width: 1200
    height: 600

    // The media player contract as far as the bar uses it; seeks are recorded.
    QtObject {
        id: player
        property int playbackState: MediaPlayer.PlayingState
        property int position: 0
        property int duration: 0
        property real volume: 0.5
        property var seeks: []
        function play() { playbackState = MediaPlayer.PlayingState }
        function pause() { playbackState = MediaPlayer.PausedState }
        function seek(offset) { seeks.push(offset) }
    }

    H_Bar {
        id: bar
        mediaPlayer: player
    }

    SignalSpy {
        id: rootStates
        target: bar
        signalName: "changeRootState"
    }

    TestCase {
        name: "Bar"
        when: windowShown

        readonly property var panels: ["soundSlider", "menuList", "viewPanel", "effectsList", "videoPluginsList"]

        function item(name) {
            var found = findChild(bar, name)
            verify(found, name)
            return found
        }

        function click(target, x, y) {
            mousePress(target, x, y)
            mouseRelease(target, x, y)
        }

        function press(name) {
            click(item(name))
        }

        function shownPanels() {
            return panels.filter(function(name) { return item(name).state === "Shown" })
        }

        function waitSettled(panel) {
            tryCompare(item(panel), "x", item(panel).state === "Shown" ? bar.width - item(panel).width : bar.width)
        }

        // The entries of a panel, recursively, by their label.
        function entry(parent, label) {
            for (var i = 0; i < parent.children.length; ++i) {
                var child = parent.children[i]
                if ((child.text === label || child.label === label) && child.height > 0)
                    return child
                var inner = entry(child, label)
                if (inner)
                    return inner
            }
            return null
        }

        function init() {
            bar.state = "On"
            tryCompare(bar, "y", scene.height - bar.height)
            player.playbackState = MediaPlayer.PlayingState
            player.seeks = []
            rootStates.clear()
        }

        function cleanup() {
            bar.hideAllElements()
            hGlobalObject.playListIndex = -1
            hSensor.setPresent(false)
        }

        function test_soundImage_data() {
            return [{tag: "0", volume: 0, level: 0}, {tag: "0.49", volume: 0.49, level: 1},
                    {tag: "0.5", volume: 0.5, level: 2}, {tag: "1.0", volume: 1.0, level: 3}]
        }

        function test_soundImage(data) {
            player.volume = data.volume
            compare(String(item("soundImage").source), "qrc:/images/newui/sound_" + data.level + "_mini_button.png")
        }

        function test_timelineProgression_data() {
            return [{tag: "position 0", position: 0, duration: 60000, progression: 0},
                    {tag: "duration 0", position: 2000, duration: 0, progression: 0},
                    {tag: "midway", position: 15000, duration: 60000, progression: 0.25},
                    {tag: "at the end", position: 60000, duration: 60000, progression: 1},
                    {tag: "beyond", position: 61000, duration: 60000, progression: 1}]
        }

        function test_timelineProgression(data) {
            player.position = data.position
            player.duration = data.duration
            compare(item("timelineSlider").progression, data.progression)
        }

        function test_timelineSeeks_data() {
            return [{tag: "playing", state: MediaPlayer.PlayingState, seeks: true},
                    {tag: "paused", state: MediaPlayer.PausedState, seeks: true},
                    {tag: "stopped", state: MediaPlayer.StoppedState, seeks: false}]
        }

        function test_timelineSeeks(data) {
            player.duration = 80000
            player.position = 0
            player.playbackState = data.state
            bar.showElement(item("effectsList"))
            var slider = item("timelineSlider")
            click(slider, slider.width * 0.75, slider.height / 2)
            compare(shownPanels(), [])
            if (data.seeks) {
                compare(player.seeks.length, 1)
                verify(Math.abs(player.seeks[0] - 60000) <= 80000 / slider.width, player.seeks[0])
                compare(player.seeks[0] % 1, 0)
            } else {
                compare(player.seeks, [])
            }
        }

        function test_playPause() {
            press("playPauseButton")
            compare(player.playbackState, MediaPlayer.PausedState)
            compare(String(item("playPauseImage").source), "qrc:/images/newui/play_mini_button.png")
            press("playPauseButton")
            compare(player.playbackState, MediaPlayer.PlayingState)
            compare(String(item("playPauseImage").source), "qrc:/images/newui/pause_mini_button.png")
        }

        function test_volumePanel() {
            press("soundButton")
            compare(shownPanels(), ["soundSlider"])
            var slider = item("volumeSlider")
            tryCompare(item("soundSlider"), "y", 0)
            click(slider, slider.width / 2, slider.height * 0.2)
            verify(Math.abs(player.volume - 0.8) < 0.02, player.volume)
            compare(String(item("soundImage").source), "qrc:/images/newui/sound_2_mini_button.png")
            press("soundButton")
            compare(shownPanels(), [])
        }

        // Items that may be absent take no room; the timeline takes what is left.
        function test_optionalButtons() {
            var timeline = item("timeline")
            var full = timeline.width
            compare(item("previousButton").width, 0)
            compare(item("sensorButton").width, 0)
            bar.gyroOnOff()
            compare(hSensor.activated, false)

            hGlobalObject.playListIndex = 0
            compare(item("previousButton").width, 50)
            compare(item("nextButton").width, 50)
            compare(timeline.width, full - 100)

            hSensor.setPresent(true)
            compare(timeline.width, full - 150)
            waitForRendering(bar)
            hShaderCodeBuilder.oculusMode = true
            press("sensorButton")
            compare(hSensor.activated, true)
            compare(hShaderCodeBuilder.oculusMode, false)
            bar.gyroOnOff()
            compare(hSensor.activated, false)
        }

        function test_panels() {
            press("effectsButton")
            compare(shownPanels(), ["effectsList"])
            press("effectsButton")
            compare(shownPanels(), [])
            press("effectsButton")
            press("menuButton")
            compare(shownPanels(), ["menuList"])
            waitSettled("menuList")
            waitSettled("effectsList")
            click(entry(item("menuList"), "View Projection"))
            compare(shownPanels(), ["viewPanel"])
            bar.state = "Off"
            compare(shownPanels(), [])
            tryCompare(bar, "y", scene.height)
        }

        // Each choice of a panel, from a different value; the view panel's choices hold until
        // changed, so each row puts its own back.
        function test_choices_data() {
            return [
                {tag: "effect", button: "effectsButton", panel: "effectsList", label: "Old TV Screen",
                 target: hShaderCodeBuilder, property: "effect", from: HShaderCodeBuilder.BLUE_ONLY,
                 value: HShaderCodeBuilder.TV},
                {tag: "no effect", button: "effectsButton", panel: "effectsList", label: "None",
                 target: hShaderCodeBuilder, property: "effect", from: HShaderCodeBuilder.BLUE_ONLY,
                 value: HShaderCodeBuilder.NO_EFFECT},
                {tag: "projection", button: "menuButton", panel: "viewPanel", label: "Little planet",
                 target: hShaderCodeBuilder, property: "projection", from: HShaderCodeBuilder.NO_PROJECTION,
                 value: HShaderCodeBuilder.LITTLE_PLANET},
                {tag: "stereo", button: "menuButton", panel: "viewPanel", label: "Side-by-side",
                 target: hPicture, property: "stereoChoice", from: "auto", value: "sidebyside"},
                {tag: "eye", button: "menuButton", panel: "viewPanel", label: "Right / bottom",
                 target: hPicture, property: "eye", from: "left", value: "right"},
                {tag: "stacked", button: "menuButton", panel: "viewPanel", label: "Off",
                 target: hPicture, property: "stackedChoice", from: "auto", value: "off"},
                {tag: "picture", button: "menuButton", panel: "viewPanel", label: "Full sphere",
                 target: hPicture, property: "pictureChoice", from: "auto", value: "sphere"}
            ]
        }

        function test_choices(data) {
            data.target[data.property] = data.from
            press(data.button)
            if (data.panel === "viewPanel")
                click(entry(item("menuList"), "View Projection"))
            waitSettled(data.panel)
            var chosen = entry(item(data.panel), data.label)
            verify(!chosen.current)
            click(chosen)
            compare(data.target[data.property], data.value)
            verify(chosen.current)
            compare(shownPanels(), [data.panel])
            var others = 0
            var column = chosen.parent
            for (var i = 0; i < column.children.length; ++i)
                others += column.children[i].current ? 1 : 0
            compare(others, 1)
            data.target[data.property] = data.from
        }

        function test_videoPlugins() {
            var plugins = hVideoPlugin.pluginsList()
            press("menuButton")
            waitSettled("menuList")
            click(entry(item("menuList"), "Video Plugin"))
            compare(shownPanels(), ["videoPluginsList"])
            waitSettled("videoPluginsList")

            var ticked = []
            for (var i = 0; i < plugins.length; ++i) {
                var pluginEntry = entry(item("videoPluginsList"), plugins[i][1])
                verify(pluginEntry, plugins[i][1])
                compare(pluginEntry.description, plugins[i][2])
                if (findChild(pluginEntry, "tickBox").children[0].visible)
                    ticked.push(plugins[i][0])
            }
            compare(ticked, [hVideoPlugin.currentPlugin])

            var before = hVideoPlugin.currentPlugin
            var other = entry(item("videoPluginsList"), plugins[1][1])
            click(other, other.width / 2, 60)
            compare(hVideoPlugin.currentPlugin, before)
            click(other, other.width / 2, 18)
            compare(hVideoPlugin.currentPlugin, plugins[1][0])
            verify(findChild(other, "tickBox").children[0].visible)
            compare(shownPanels(), ["videoPluginsList"])

            bar.hideAllElements()
            bar.showVideoPluginsList()
            compare(rootStates.signalArguments[0][0], "ControlsPanel")
            compare(shownPanels(), ["videoPluginsList"])
        }

        function test_containsMouse() {
            mouseMove(scene, 600, 100)
            compare(bar.containsMouse, false)
            mouseMove(item("timeline"), 5, 5)
            compare(bar.containsMouse, true)
            press("effectsButton")
            waitSettled("effectsList")
            mouseMove(item("effectsList"), 100, 20)
            compare(bar.containsMouse, true)
            mouseMove(scene, 600, 100)
            compare(bar.containsMouse, false)
        }
    }
}
