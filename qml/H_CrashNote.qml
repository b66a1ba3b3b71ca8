import QtQuick 2.0
import "widgets/"

// At the first start after a crash: says so and when, without stopping anything; the report's
// folder opens from here, and the note goes when dismissed.
Rectangle {
    id: h_crashNote

    readonly property string __shown: visible ? hView.crashNote : ""

    visible: hView.crashNote !== ""
    anchors.top: parent.top
    anchors.horizontalCenter: parent.horizontalCenter
    anchors.topMargin: 20
    width: Math.min(640, parent.width - 40)
    height: h_crashColumn.height + 24
    radius: 10
    color: Qt.rgba(0.15, 0.15, 0.16, 0.92)
    border.color: "#e59a10"

    // The log keeps what the user was told, for support and for end-to-end tests.
    on__ShownChanged: {
        if (__shown !== "")
            console.info("Crash note shown: " + __shown)
    }

    Column {
        id: h_crashColumn

        anchors.centerIn: parent
        width: parent.width - 24
        spacing: 10

        Text {
            objectName: "crashNoteText"
            width: parent.width
            text: hView.crashNote
            color: "white"
            font.pixelSize: 15
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
        }
        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            spacing: 10

            H_Button {
                objectName: "crashFolderButton"
                width: 170
                labelText: qsTr("Open report folder")
                onButtonReleased: hView.openCrashFolder()
            }
            H_Button {
                objectName: "crashDismissButton"
                width: 100
                labelText: qsTr("Dismiss")
                onButtonReleased: hView.dismissCrashNote()
            }
        }
    }
}
