import QtQuick 2.0
import QtQuick.Controls 1.1

// Logs in to the video hosting service. It stays up until the service accepts the login or the user
// gives up, and shows why a login failed.
FocusScope {
    id: popupHostingConnection

    signal close(string rootState)

    function requestConnection() {
        messageText.text = "Connecting..."
        hHostingManager.requestConnection(userNameInput.text, passwordInput.text)
    }

    function onRequestResponse(success, errorMessage) {
        if (success) {
            messageText.text = "Success"
            popupHostingConnection.close("Wall")
        } else {
            messageText.text = errorMessage
        }
    }

    Component.onCompleted: hHostingManager.requestResponse.connect(onRequestResponse)
    // The client outlives the popup: a later answer (a token refresh) must not reach a popup that is
    // gone.
    Component.onDestruction: hHostingManager.requestResponse.disconnect(onRequestResponse)

    // Return logs in, as the default button promises; Escape gives up.
    Keys.onPressed: {
        if (event.key === Qt.Key_Escape)
            popupHostingConnection.close("Wall")
        else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
            requestConnection()
        event.accepted = true
    }

    SystemPalette { id: palette }

    Rectangle {
        width: 400
        height: 300
        radius: 10
        color: palette.window
        anchors.centerIn: parent

        Column {
            anchors.centerIn: parent
            width: parent.width - 20

            Row {
                width: parent.width
                height: 30

                Label {
                    width: parent.width / 2
                    height: parent.height
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    text: qsTr("Username")
                }
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width / 2
                    height: 25
                    radius: 10
                    color: "white"

                    TextInput {
                        id: userNameInput
                        objectName: "userNameInput"
                        anchors.fill: parent
                        anchors.margins: 5
                        verticalAlignment: TextInput.AlignVCenter
                        focus: true
                        clip: true
                        KeyNavigation.tab: passwordInput
                    }
                }
            }

            Row {
                width: parent.width
                height: 30

                Label {
                    width: parent.width / 2
                    height: parent.height
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    text: qsTr("Password")
                }
                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: parent.width / 2
                    height: 25
                    radius: 10
                    color: "white"

                    TextInput {
                        id: passwordInput
                        objectName: "passwordInput"
                        anchors.fill: parent
                        anchors.margins: 5
                        verticalAlignment: TextInput.AlignVCenter
                        clip: true
                        KeyNavigation.backtab: userNameInput
                    }
                }
            }
        }

        Text {
            id: messageText
            objectName: "messageText"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 50
            color: "red"
        }

        Row {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 20
            spacing: 10

            Button {
                objectName: "okButton"
                text: qsTr("OK")
                isDefault: true
                onClicked: popupHostingConnection.requestConnection()
            }
            Button {
                objectName: "cancelButton"
                text: qsTr("Cancel")
                onClicked: popupHostingConnection.close("Wall")
            }
        }
    }
}
