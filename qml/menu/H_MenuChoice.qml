import QtQuick 2.0
import "../widgets"

// One option of a row of choices in a panel; the current one is drawn in orange.
Rectangle {
    id: choice

    property string text: ""
    property bool current: false

    signal triggered()

    height: 30
    color: choice.current ? Qt.rgba(1, 0.25, 0.07, 0.25) : Qt.rgba(1, 1, 1, 0.08)
    radius: 3

    Text {
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
        font.bold: true
        font.pixelSize: 12
        color: choice.current ? Qt.rgba(1, 0.25, 0.07, 1) : "white"
        text: choice.text
    }

    H_MouseArea {
        anchors.fill: parent
        onPressed: choice.triggered()
    }
}
