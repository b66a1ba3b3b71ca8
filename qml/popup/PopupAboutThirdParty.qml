import QtQuick 2.0
import QtQuick.Controls 1.1

// The libraries the player is built on and their licences.
Item {
    id: popupAboutThirdParty

    signal close()

    Keys.onPressed: {
        if (event.key === Qt.Key_Escape || event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
            popupAboutThirdParty.close()
        event.accepted = true
    }

    SystemPalette { id: palette }

    Rectangle {
        width: 600
        height: 400
        radius: 10
        color: palette.window
        anchors.centerIn: parent

        Item {
            anchors.fill: parent
            anchors.margins: 10

            Label {
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                height: 30
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                font.bold: true
                text: qsTr("Disclaimer")
            }

            ScrollView {
                id: disclaimerView
                anchors.top: parent.top
                anchors.topMargin: 30
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width - 20
                height: parent.height - 60
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

            Button {
                objectName: "closeButton"
                anchors.bottom: parent.bottom
                anchors.horizontalCenter: parent.horizontalCenter
                isDefault: true
                text: qsTr("Close")
                onClicked: popupAboutThirdParty.close()
            }
        }
    }
}
