import QtQuick 2.0

// Shows the popups one at a time: loads a popup file, scales it in, and when the popup asks to
// close, scales it out, unloads it and either loads the one request that waited meanwhile or hands
// the scene back to the state the popup asked for.
FocusScope {
    id: h_popup

    property string nextQmlFile: ""
    property string nextRootState: ""

    signal changeRootState(string newState)

    function load(qmlFile, rootState) {
        // A trace of what the user was shown, for the log and for end-to-end tests.
        console.info("Popup requested: " + qmlFile)
        if (String(popupLoader.source) === "") {
            changeRootState(rootState !== undefined && rootState !== null && rootState !== ""
                            ? rootState : "Popup")
            popupLoader.source = qmlFile
        } else {
            // Only the latest request waits.
            nextQmlFile = qmlFile
            nextRootState = rootState !== undefined && rootState !== null ? rootState : ""
        }
    }

    function close() {
        console.info("Popup closed")
        popupLoader.source = ""
        if (nextQmlFile === "") {
            changeRootState(closeAnimation.rootState)
        } else {
            var qmlFile = nextQmlFile
            var rootState = nextRootState
            nextQmlFile = ""
            nextRootState = ""
            load(qmlFile, rootState)
        }
    }

    anchors.fill: parent
    state: "Off"

    states: [
        State {
            name: "On"
            PropertyChanges { target: h_popup; focus: true; opacity: 1; enabled: true }
        },
        State {
            name: "Off"
            PropertyChanges { target: h_popup; opacity: 0; enabled: false }
        }
    ]

    Behavior on opacity {
        NumberAnimation { duration: 200 }
    }

    Rectangle {
        anchors.fill: parent
        color: "black"
        opacity: 0.7
    }

    // Whatever the popup leaves untaken stops here, not in the video area below.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Loader {
        id: popupLoader
        objectName: "popupLoader"

        function onPopupClose(rootState) {
            closeAnimation.rootState = rootState !== undefined && rootState !== null && rootState !== ""
                    ? rootState : "Video"
            showAnimation.stop()
            closeAnimation.restart()
        }

        anchors.fill: parent
        asynchronous: true
        focus: true
        scale: 0

        onStatusChanged: {
            if (status === Loader.Ready) {
                closeAnimation.rootState = "Video"
                showAnimation.restart()
                item.close.connect(onPopupClose)
                item.focus = true
            } else if (status === Loader.Error) {
                console.warn("ERROR in H_Popup::onStatusChanged : an error occurs when loading qml file '"
                            + source + "'.")
                closeAnimation.rootState = "Video"
                closeAnimation.restart()
            }
        }

        SequentialAnimation {
            id: closeAnimation

            property string rootState: "Video"

            NumberAnimation {
                target: popupLoader
                property: "scale"
                to: 0
                duration: 500
                easing.type: Easing.InBack
                easing.amplitude: 3.0
            }
            ScriptAction {
                script: h_popup.close()
            }
        }

        NumberAnimation {
            id: showAnimation

            target: popupLoader
            property: "scale"
            from: 0
            to: 1
            duration: 500
            easing.type: Easing.OutBack
            easing.amplitude: 3.0
        }
    }
}
