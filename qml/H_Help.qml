import QtQuick 2.0

// The shortcut help: the keys on the left, the view's state on the right. Lines for devices
// this machine does not have are left out.
Item {
    id: h_help

    // Frames per second of the panorama, set by the video area.
    property int fps: 0

    function __lines(list) {
        var text = ""
        for (var i = 0; i < list.length; ++i) {
            if (list[i] !== null)
                text += list[i] + "\n"
        }
        return text.slice(0, -1)
    }

    anchors.fill: parent
    visible: false

    // Keeps the lines readable over a bright picture.
    Rectangle {
        anchors.fill: h_keysText
        anchors.margins: -10
        radius: 8
        color: Qt.rgba(0, 0, 0, 0.45)
    }

    Rectangle {
        anchors.fill: h_stateText
        anchors.margins: -10
        radius: 8
        color: Qt.rgba(0, 0, 0, 0.45)
    }

    Text {
        id: h_keysText

        objectName: "keysText"
        anchors.left: parent.left
        anchors.leftMargin: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 40
        color: "white"
        font.pixelSize: 14
        text: h_help.__lines([
            qsTr("E : change effect "),
            qsTr("F : fullscreen on/off "),
            hSensor.available ? qsTr("G : gyro on/off ") : null,
            qsTr("H : show/hide shortcuts "),
            hOculus.available ? qsTr("O : oculus on/off ") : null,
            hLeap.available ? qsTr("L : leap motion on/off ") : null,
            qsTr("P : change projection "),
            qsTr("V : view panel (projection, stereo, picture) "),
            qsTr("S : stereo auto/mono/over-under/side-by-side "),
            qsTr("R : left/right eye of a stereo picture "),
            qsTr("K : stacked auto/on/off "),
            qsTr("Home : start over "),
            qsTr("B : picture auto/full sphere/band "),
            qsTr("Escape : exit fullscreen "),
            qsTr("Space : play/pause "),
            qsTr("4/6 : move camera horizontally "),
            qsTr("Left/Right : previous/next media in playlist "),
            qsTr("Ctrl or Alt + Left/Right : slow seek rewind/forward "),
            qsTr("Ctrl or Alt + Up/Down : fast seek rewind/forward "),
            qsTr("+/- : change zoom factor "),
            qsTr("Wheel : change zoom factor "),
            qsTr("Click & Drag : move camera "),
            qsTr("Ctrl + N : open file/stream "),
            qsTr("Ctrl + Q : quit ")
        ])
    }

    Text {
        id: h_stateText

        objectName: "stateText"
        anchors.right: parent.right
        anchors.rightMargin: 20
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 40
        color: "white"
        font.pixelSize: 14
        text: h_help.__lines([
            qsTr("yaw : ") + hGlobalObject.yaw.toFixed(3),
            qsTr("pitch : ") + hGlobalObject.pitch.toFixed(3),
            qsTr("roll : ") + hGlobalObject.roll.toFixed(3),
            qsTr("fov : ") + hGlobalObject.fov.toFixed(1),
            qsTr("video fps : ") + h_help.fps
        ])
    }
}
