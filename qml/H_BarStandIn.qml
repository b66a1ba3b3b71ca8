import QtQuick 2.0
import QtMultimedia 5.0
import "widgets/"
import "lib.js" as Lib

// Stand-in for the control bar (H_Bar) until it lands: the members the scene, the video area, the
// overlay and the media loader use, and a plain strip with play/pause, the times and a timeline.
// It has no panels; effects, projections and popups are reached by keys meanwhile.
Rectangle {
    id: h_barStandIn

    property variant mediaPlayer: null
    readonly property bool containsMouse: hoverArea.containsMouse

    signal changeRootState(string newState)
    signal showPlayerImage(string playerImage)
    signal displayPopup(string qmlFile)

    function playPause() {
        if (!mediaPlayer)
            return
        if (mediaPlayer.playbackState === MediaPlayer.PlayingState)
            mediaPlayer.pause()
        else
            mediaPlayer.play()
    }

    function gyroOnOff() {
        if (!hSensor.available)
            return
        hShaderCodeBuilder.oculusMode = false
        hSensor.activated = !hSensor.activated
    }

    // The head-mounted display and hand tracking are never available here.
    function oculusOnOff() {
    }

    function leapOnOff() {
    }

    // Without the plugin panel the bar can only come up.
    function showVideoPluginsList() {
        if (hVideoPlugin.pluginsList().length > 1)
            changeRootState("ControlsPanel")
    }

    width: parent.width
    height: 40
    anchors.bottom: parent.bottom
    anchors.bottomMargin: -height
    color: Qt.rgba(0, 0, 0, 0.8)

    states: [
        State {
            name: "On"

            PropertyChanges {
                target: h_barStandIn
                anchors.bottomMargin: 0
                focus: true
            }
        },
        State {
            name: "Off"

            PropertyChanges {
                target: h_barStandIn
                anchors.bottomMargin: hView.demoMode ? 0 : -height
            }
        }
    ]

    Behavior on anchors.bottomMargin {
        NumberAnimation {
            duration: 200
        }
    }

    MouseArea {
        id: hoverArea

        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.NoButton
    }

    Row {
        anchors.fill: parent

        Item {
            width: 50
            height: parent.height

            Image {
                anchors.centerIn: parent
                width: 20
                height: 20
                source: h_barStandIn.mediaPlayer && h_barStandIn.mediaPlayer.playbackState === MediaPlayer.PlayingState
                        ? "qrc:/images/newui/pause_mini_button.png" : "qrc:/images/newui/play_mini_button.png"
            }

            H_MouseArea {
                anchors.fill: parent

                onPressed: h_barStandIn.playPause()
            }
        }

        Text {
            width: 60
            height: parent.height
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            color: "white"
            font.pixelSize: 12
            font.bold: true
            text: Lib.formatTime(h_barStandIn.mediaPlayer ? h_barStandIn.mediaPlayer.position : 0)
        }

        Item {
            width: h_barStandIn.width - 170
            height: parent.height

            H_Slider {
                id: timeline

                readonly property int position: h_barStandIn.mediaPlayer ? h_barStandIn.mediaPlayer.position : 0
                readonly property int duration: h_barStandIn.mediaPlayer ? h_barStandIn.mediaPlayer.duration : 0

                anchors.verticalCenter: parent.verticalCenter
                width: parent.width
                height: 8
                buttonSource: "qrc:/images/button_16.png"
                progression: position > 0 && duration > 0 ? (position < duration ? position / duration : 1) : 0
                enabled: h_barStandIn.mediaPlayer !== null
                         && h_barStandIn.mediaPlayer.playbackState !== MediaPlayer.StoppedState

                onNewProgressionChanged: h_barStandIn.mediaPlayer.seek(Math.round(newProgression * duration))
            }
        }

        Text {
            width: 60
            height: parent.height
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            color: "white"
            font.pixelSize: 12
            font.bold: true
            text: Lib.formatTime(h_barStandIn.mediaPlayer ? h_barStandIn.mediaPlayer.duration : 0)
        }
    }
}
