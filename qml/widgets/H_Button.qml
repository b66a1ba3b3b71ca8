import QtQuick 2.0

// A rounded push button with a bold label. It can show a toggled state; hovering lightens it and
// pressing darkens it.
Rectangle {
    id: h_button

    property string labelText: "Button"
    property int labelSize: 12
    property color labelColor: "white"
    property color borderColor: "white"
    property color colorDefault: "#222222"
    property color colorToggled: "#e59a10"
    property int colorAnimationDuration: 300
    property bool toggled: false

    // Only a release inside the button counts, so a press can still be taken back by moving away.
    signal buttonReleased

    width: 70
    height: 30
    radius: 5
    border.width: 2
    border.color: borderColor
    color: {
        var base = toggled ? colorToggled : colorDefault
        if (buttonMouseArea.pressed)
            return Qt.darker(base, 1.3)
        if (buttonMouseArea.containsMouse)
            return Qt.lighter(base, 1.5)
        return base
    }

    Behavior on color {
        ColorAnimation {
            duration: h_button.colorAnimationDuration
        }
    }

    Text {
        anchors.centerIn: parent
        text: h_button.labelText
        color: h_button.labelColor
        font.pixelSize: h_button.labelSize
        font.bold: true
    }

    H_MouseArea {
        id: buttonMouseArea

        objectName: "buttonMouseArea"
        anchors.fill: parent
        hoverEnabled: true

        onReleased: {
            if (containsMouse)
                h_button.buttonReleased()
        }
    }
}
