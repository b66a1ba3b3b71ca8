import QtQuick 2.0

// One place of the control bar: an image or a bold label, thin separators at its edges, and the
// press. A place that is not shown takes no room, so the timeline gets it.
Item {
    id: barButton

    property alias source: image.source
    property alias imageWidth: image.width
    property alias imageHeight: image.height
    // Qt.AlignHCenter, or Qt.AlignLeft / Qt.AlignRight to stand 12 px from that edge.
    property int imageAlignment: Qt.AlignHCenter
    property alias text: label.text
    property alias textSize: label.font.pixelSize
    property bool shown: true
    property int buttonWidth: 50
    property bool leftSeparator: false
    property bool rightSeparator: true

    signal pressed
    signal clicked

    width: shown ? buttonWidth : 0
    height: 40
    visible: shown

    Image {
        id: image
        anchors.verticalCenter: parent.verticalCenter
        x: barButton.imageAlignment === Qt.AlignLeft ? 12
           : barButton.imageAlignment === Qt.AlignRight ? parent.width - width - 12
           : (parent.width - width) / 2
    }
    Text {
        id: label
        anchors.centerIn: parent
        color: "white"
        font.bold: true
        font.pixelSize: 14
    }
    Rectangle {
        visible: barButton.leftSeparator
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: 1
        height: parent.height - 4
        color: "white"
        opacity: 0.5
    }
    Rectangle {
        visible: barButton.rightSeparator
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: 1
        height: parent.height - 4
        color: "white"
        opacity: 0.5
    }
    H_MouseArea {
        anchors.fill: parent
        onPressed: barButton.pressed()
        onClicked: barButton.clicked()
    }
}
