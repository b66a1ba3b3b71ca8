import QtQuick 2.0
import QtQuick.Controls 1.1
import Veyrix 1.0

// Logs in to the video hosting service. It stays up until the service accepts the login or the user
// gives up, and shows why a login failed. While it waits, Cancel ends the request; the password is
// masked unless the user asks to see it.
FocusScope {
    id: popupHostingConnection

    signal close(string rootState)

    readonly property bool __waiting: hHostingManager.requestType === HHostingManager.Connection
    property bool __showsError: false

    function clearError() {
        __showsError = false
        messageText.text = ""
    }

    function requestConnection() {
        __showsError = false
        messageText.text = qsTr("Waiting for %1…").arg(hHostingManager.serverName)
        hHostingManager.requestConnection(userNameField.input.text, passwordField.input.text)
    }

    function cancel() {
        if (__waiting)
            hHostingManager.cancelRequest()
        else
            popupHostingConnection.close("Wall")
    }

    function onRequestResponse(success, errorMessage) {
        if (success) {
            messageText.text = qsTr("Success")
            popupHostingConnection.close("Wall")
        } else {
            __showsError = true
            messageText.text = errorMessage
        }
    }

    Component.onCompleted: hHostingManager.requestResponse.connect(onRequestResponse)
    // The client outlives the popup: a later answer (a token refresh) must not reach a popup that is
    // gone.
    Component.onDestruction: hHostingManager.requestResponse.disconnect(onRequestResponse)

    // Return logs in, as the default button promises, or first puts an error message away; Escape
    // cancels a request in flight, puts a message away, and then gives up.
    Keys.onPressed: {
        if (event.key === Qt.Key_Escape) {
            if (__showsError)
                clearError()
            else
                cancel()
        } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
            if (__showsError)
                clearError()
            else if (!__waiting)
                requestConnection()
        }
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
                echoMode: showPassword.checked ? TextInput.Normal : TextInput.Password
            }
            CheckBox {
                id: showPassword
                objectName: "showPassword"
                anchors.right: parent.right
                text: qsTr("Show password")
                activeFocusOnPress: false
            }
        }

        Text {
            id: messageText
            objectName: "messageText"
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: 15
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 55
            color: popupHostingConnection.__showsError ? "#ff6b5e" : "white"
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            maximumLineCount: 4
            elide: Text.ElideRight
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
                enabled: !popupHostingConnection.__waiting
                onClicked: popupHostingConnection.requestConnection()
            }
            Button {
                objectName: "cancelButton"
                text: qsTr("Cancel")
                onClicked: popupHostingConnection.cancel()
            }
        }
    }
}
