import QtQuick 2.0
import QtQuick.Controls 1.1

// One line of a form: the label on the left half, a white rounded text field on the right.
Row {
    property alias label: fieldLabel.text
    // The text field itself, for its text, focus and key navigation.
    readonly property alias input: fieldInput
    property alias inputFocus: fieldInput.focus
    // TextInput.Password for a secret.
    property alias echoMode: fieldInput.echoMode
    // The fields Tab and Shift+Tab move to.
    property Item nextField: null
    property Item previousField: null

    width: parent.width
    height: 30

    Label {
        id: fieldLabel
        width: parent.width / 2
        height: parent.height
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
    Rectangle {
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width / 2
        height: 25
        radius: 10
        color: "white"

        TextInput {
            id: fieldInput
            anchors.fill: parent
            anchors.margins: 5
            verticalAlignment: TextInput.AlignVCenter
            clip: true
            KeyNavigation.tab: nextField ? nextField.input : null
            KeyNavigation.backtab: previousField ? previousField.input : null
        }
    }
}
