import QtQuick 2.0

// A titled group of choices in the view panel: the name, what is in force and why, then the
// options. Each option is { label, value }; the one equal to `current` is marked.
Column {
    id: section

    property string title: ""
    property string detected: ""
    property var options: []
    property var current
    property int perRow: 3

    signal chosen(var value)

    width: parent ? parent.width : 0
    spacing: 2

    Item {
        width: section.width
        height: 22

        Text {
            anchors.left: parent.left
            anchors.verticalCenter: parent.verticalCenter
            font.bold: true
            font.pixelSize: 13
            color: Qt.rgba(0.75, 0.75, 0.75, 1)
            text: section.title
        }
        Text {
            objectName: "detected"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: section.width * 0.7
            horizontalAlignment: Text.AlignRight
            elide: Text.ElideLeft
            font.pixelSize: 11
            color: Qt.rgba(0.75, 0.75, 0.75, 1)
            text: section.detected
        }
    }

    Flow {
        width: section.width
        spacing: 2

        Repeater {
            model: section.options
            H_MenuChoice {
                objectName: "choice_" + modelData.value
                width: (section.width - (section.perRow - 1) * 2) / section.perRow
                text: modelData.label
                current: modelData.value === section.current
                onTriggered: section.chosen(modelData.value)
            }
        }
    }
}
