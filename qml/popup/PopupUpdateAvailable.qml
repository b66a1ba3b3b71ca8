import QtQuick 2.0
import QtQuick.Controls 1.1

// Announces a newer version with its date and change log. It has no key handling: only its buttons
// close it, so a stray Escape does not hide the announcement.
Item {
    id: popupUpdate

    signal close()

    // The log keeps what the user was offered.
    Component.onCompleted: console.info("Update announced: " + titleLabel.text + "; " + dateLabel.text)

    SystemPalette { id: palette }

    Rectangle {
        id: frame
        width: 600
        height: 400
        radius: 10
        color: palette.window
        anchors.centerIn: parent

        Item {
            id: inside
            anchors.fill: parent
            anchors.margins: 10

            Label {
                id: titleLabel
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                height: 30
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                font.bold: true
                font.underline: true
                elide: Text.ElideRight
                text: qsTr("New version available") + " " + hView.newVersion()
            }

            Label {
                id: dateLabel
                anchors.top: parent.top
                anchors.topMargin: 30
                anchors.left: parent.left
                anchors.leftMargin: 10
                width: parent.width - 20
                height: 30
                verticalAlignment: Text.AlignBottom
                elide: Text.ElideRight
                text: qsTr("A new version of this product has been released") + " (" + hView.newVersionDate() + ")"
            }

            ScrollView {
                id: changeLogView
                anchors.top: parent.top
                anchors.topMargin: 60
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width - 20
                height: parent.height - 90
                frameVisible: true
                highlightOnFocus: true

                Text {
                    width: changeLogView.width - 20
                    color: "black"
                    wrapMode: Text.WordWrap
                    textFormat: Text.RichText
                    text: hView.newChangeLog()
                    onLinkActivated: Qt.openUrlExternally(link)
                }
            }

            Row {
                anchors.bottom: parent.bottom
                anchors.bottomMargin: -10
                anchors.horizontalCenter: parent.horizontalCenter
                height: 40
                spacing: 10

                Button {
                    text: qsTr("Open Website")
                    onClicked: Qt.openUrlExternally(hGlobalObject.getEnterpriseWebLink())
                }
                Button {
                    text: qsTr("Show History")
                    onClicked: Qt.openUrlExternally(hView.urlHistory())
                }
                Button {
                    objectName: "closeButton"
                    text: qsTr("Close")
                    onClicked: popupUpdate.close()
                }
                Button {
                    text: qsTr("Download installer")
                    onClicked: Qt.openUrlExternally(hView.urlDownload())
                }
            }
        }
    }
}
