import QtQuick 2.0
import "../widgets"

// One video back end in the plugin panel: its name beside a tick box, its description below. Only
// a press on the tick box's strip chooses it, so reading the description does not.
Rectangle {
    id: pluginItem

    property string value: ""
    property string label: ""
    property string description: ""
    readonly property bool current: value === hVideoPlugin.currentPlugin

    width: parent ? parent.width : 0
    height: 100
    color: Qt.rgba(0, 0, 0, 0.7)

    Rectangle {
        id: tickBox
        objectName: "tickBox"
        anchors.top: parent.top
        anchors.topMargin: 10
        anchors.right: parent.right
        anchors.rightMargin: 10
        width: 16
        height: 16
        radius: 5
        color: "grey"

        Image {
            anchors.centerIn: parent
            visible: pluginItem.current
            source: "qrc:/images/tick_16.png"
        }
    }

    Text {
        anchors.verticalCenter: tickBox.verticalCenter
        anchors.right: tickBox.left
        anchors.rightMargin: 10
        anchors.left: parent.left
        anchors.leftMargin: 10
        horizontalAlignment: Text.AlignRight
        // A long name shrinks a little rather than lose its start.
        fontSizeMode: Text.HorizontalFit
        minimumPixelSize: 11
        elide: Text.ElideLeft
        font.bold: true
        font.pixelSize: 14
        color: "white"
        text: pluginItem.label
    }

    Text {
        anchors.top: tickBox.bottom
        anchors.topMargin: 8
        anchors.right: parent.right
        anchors.rightMargin: 10
        width: parent.width - 10
        height: parent.height - y - 6
        horizontalAlignment: Text.AlignRight
        wrapMode: Text.WordWrap
        elide: Text.ElideRight
        font.bold: true
        font.pixelSize: 12
        color: "white"
        text: pluginItem.description
    }

    H_MouseArea {
        objectName: "tickStrip"
        y: 10
        width: parent.width
        height: 16
        onPressed: hVideoPlugin.currentPlugin = pluginItem.value
    }
}
