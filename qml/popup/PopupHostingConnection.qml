import QtQuick 2.0
import QtQuick.Controls 1.1

// Logs in to the video hosting service. It stays up until the service accepts the login or the user
// gives up, and shows why a login failed.
FocusScope {
    id: popupHostingConnection

    signal close(string rootState)

    function requestConnection() {
        messageText.text = qsTr("Connecting...")
        hHostingManager.requestConnection(userNameField.input.text, passwordField.input.text)
    }

    function onRequestResponse(success, errorMessage) {
        if (success) {
            messageText.text = qsTr("Success")
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

    PopupPanel {
        width: 400
        height: 300

        Column {
            anchors.centerIn: parent
            width: parent.width - 20

            PopupField {
                id: userNameField
                objectName: "userNameInput"
                label: qsTr("Username")
                nextField: passwordField
                inputFocus: true
            }
            PopupField {
                id: passwordField
                objectName: "passwordInput"
                label: qsTr("Password")
                previousField: userNameField
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
