import QtQuick 2.0
import "../widgets"

// One entry of a slide-out panel; the current choice is drawn in orange.
Rectangle {
    id: menuItem

    property string text: ""
    property bool current: false

    signal triggered()

    width: parent ? parent.width : 0
    height: 40
    color: Qt.rgba(0, 0, 0, 0.7)

    Text {
        anchors.fill: parent
        anchors.rightMargin: 10
        horizontalAlignment: Text.AlignRight
        verticalAlignment: Text.AlignVCenter
        font.bold: true
        font.pixelSize: 14
        color: menuItem.current ? Qt.rgba(1, 0.25, 0.07, 1) : "white"
        text: menuItem.text
    }

    H_MouseArea {
        anchors.fill: parent
        onPressed: menuItem.triggered()
    }
}
