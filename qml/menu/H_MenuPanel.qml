import QtQuick 2.0

// A panel that slides in from the right edge above the control bar: a title and a column of
// entries. It takes every pointer event over it, so nothing reaches the video behind.
Rectangle {
    id: menuPanel

    property string title: ""
    property int entryHeight: 40
    readonly property bool containsMouse: panelArea.containsMouse
    default property alias entries: entryColumn.data

    height: entryColumn.y + entryColumn.height + 20
    color: Qt.rgba(0, 0, 0, 0.7)
    state: "Hidden"

    states: [
        State {
            name: "Shown"
            PropertyChanges { target: menuPanel; anchors.rightMargin: 0 }
        },
        State {
            name: "Hidden"
            PropertyChanges { target: menuPanel; anchors.rightMargin: -menuPanel.width }
        }
    ]

    Behavior on anchors.rightMargin {
        NumberAnimation { duration: 200 }
    }

    MouseArea {
        id: panelArea

        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true

        Text {
            id: titleText
            x: entryColumn.x
            y: 10
            width: entryColumn.width
            height: 30
            horizontalAlignment: Text.AlignRight
            verticalAlignment: Text.AlignVCenter
            font.bold: true
            font.pixelSize: 14
            color: Qt.rgba(0.75, 0.75, 0.75, 1)
            text: menuPanel.title
        }

        Column {
            id: entryColumn
            anchors.top: titleText.bottom
            anchors.topMargin: 2
            anchors.horizontalCenter: parent.horizontalCenter
            width: menuPanel.width - 40
            spacing: 2
        }
    }
}
