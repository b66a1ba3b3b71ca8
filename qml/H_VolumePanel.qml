import QtQuick 2.0
import "widgets"

// The volume slider that rises out of the control bar above its sound button.
Rectangle {
    id: soundSlider

    // The media item whose volume this sets.
    property variant mediaPlayer: null
    property real volume: 0
    readonly property bool containsMouse: soundArea.containsMouse

    width: parent.width
    height: parent.height
    anchors.bottom: parent.bottom
    color: Qt.rgba(0, 0, 0, 0.7)
    state: "Hidden"

    states: [
        State {
            name: "Shown"
            PropertyChanges { target: soundSlider; anchors.bottomMargin: 0 }
        },
        State {
            name: "Hidden"
            PropertyChanges { target: soundSlider; anchors.bottomMargin: -soundSlider.height }
        }
    ]

    Behavior on anchors.bottomMargin {
        NumberAnimation { duration: 200 }
    }

    MouseArea {
        id: soundArea

        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true

        H_Slider {
            id: volumeSlider
            objectName: "volumeSlider"
            anchors.centerIn: parent
            width: 8
            height: parent.height - 20
            horizontalMode: false
            buttonSource: "qrc:/images/button_16.png"
            progression: soundSlider.volume
            onNewProgressionChanged: {
                if (soundSlider.mediaPlayer)
                    soundSlider.mediaPlayer.volume = newProgression
            }
        }
    }
}
