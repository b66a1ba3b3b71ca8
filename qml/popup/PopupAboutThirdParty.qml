import QtQuick 2.0
import QtQuick.Controls 1.1

// The libraries the player is built on and their licences.
PopupFrame {
    title: qsTr("Disclaimer")

    ScrollView {
        id: disclaimerView
        anchors.fill: parent
        frameVisible: true
        highlightOnFocus: true

        Text {
            objectName: "disclaimerText"
            width: disclaimerView.viewport.width - 10
            x: 5
            color: "black"
            wrapMode: Text.WordWrap
            text: hGlobalObject.aboutThirdParty()
        }
    }
}
