import QtQuick 2.0
import QtQuick.Controls 1.1
import QtQuick.Dialogs 1.1

// Opens a typed path or stream URL. The text goes to the core as typed and unchecked, so a stream
// address reaches the video player whatever it looks like.
FocusScope {
    id: popupOpenFile

    signal close()

    function open() {
        if (fileInput.text !== "")
            hGlobalObject.openFile(fileInput.text, false)
        popupOpenFile.close()
    }

    Keys.onPressed: {
        if (event.key === Qt.Key_Escape)
            popupOpenFile.close()
        event.accepted = true
    }

    SystemPalette { id: palette }

    FileDialog {
        id: fileDialog
        title: qsTr("Open file")
        selectMultiple: false
        onAccepted: {
            if (fileDialog.fileUrls.length > 0)
                fileInput.text = fileDialog.fileUrls[0]
        }
    }

    PopupPanel {
        width: 600
        height: 100

        Label {
            id: titleLabel
            x: 10
            y: 10
            height: 20
            verticalAlignment: Text.AlignVCenter
            font.bold: true
            text: qsTr("Open file/stream :")
        }

        Rectangle {
            id: inputField
            anchors.top: titleLabel.bottom
            anchors.topMargin: 5
            anchors.left: parent.left
            anchors.leftMargin: 10
            anchors.right: browseButton.left
            anchors.rightMargin: 10
            height: 25
            radius: 5
            color: "white"
            border.color: fileInput.activeFocus ? palette.highlight : palette.mid
            border.width: 1

            TextInput {
                id: fileInput
                objectName: "fileInput"
                anchors.fill: parent
                anchors.leftMargin: 6
                anchors.rightMargin: 6
                verticalAlignment: TextInput.AlignVCenter
                color: "black"
                selectByMouse: true
                clip: true
                focus: true
                onAccepted: popupOpenFile.open()
            }
        }

        Button {
            id: browseButton
            objectName: "browseButton"
            anchors.verticalCenter: inputField.verticalCenter
            anchors.right: parent.right
            anchors.rightMargin: 10
            text: qsTr("Browse...")
            onClicked: fileDialog.open()
        }

        Row {
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 10
            anchors.right: parent.right
            anchors.rightMargin: 10
            spacing: 10

            Button {
                objectName: "openButton"
                text: qsTr("Open")
                isDefault: true
                enabled: fileInput.text !== ""
                onClicked: popupOpenFile.open()
            }
            Button {
                objectName: "cancelButton"
                text: qsTr("Cancel")
                onClicked: popupOpenFile.close()
            }
        }
    }
}
