import QtQuick 2.0

// Stand-in for the popup host (H_Popup) until it lands: it takes the scene's popup requests and
// names them on the console, but shows nothing, so the scene never waits in the "Popup" state.
FocusScope {
    id: h_popupStandIn

    // Every popup file asked for so far, in order.
    property var requestedFiles: []

    signal changeRootState(string newState)

    function load(qmlFile, rootState) {
        requestedFiles = requestedFiles.concat([String(qmlFile)])
        console.info("Popup requested: " + qmlFile)
    }

    function close() {
    }

    anchors.fill: parent
    enabled: false

    states: [
        State {
            name: "On"

            PropertyChanges {
                target: h_popupStandIn
                focus: true
                enabled: true
            }
        },
        State {
            name: "Off"
        }
    ]
}
