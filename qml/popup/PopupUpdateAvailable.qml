import QtQuick 2.0
import QtQuick.Controls 1.1

// Announces a newer version with its date and change log. Only its buttons close it, so a stray
// Escape does not hide the announcement.
PopupFrame {
    id: popupUpdate

    title: qsTr("New version available") + " " + hView.newVersion()
    titleUnderline: true
    keysClose: false

    // The log keeps what the user was offered.
    Component.onCompleted: console.info("Update announced: " + title + "; " + dateLabel.text)

    leadingButtons: [
        Button {
            text: qsTr("Open Website")
            onClicked: Qt.openUrlExternally(hGlobalObject.getEnterpriseWebLink())
        },
        Button {
            text: qsTr("Show History")
            onClicked: Qt.openUrlExternally(hView.urlHistory())
        }
    ]
    trailingButtons: Button {
        text: qsTr("Download installer")
        onClicked: Qt.openUrlExternally(hView.urlDownload())
    }

    Label {
        id: dateLabel
        width: parent.width
        height: 30
        verticalAlignment: Text.AlignBottom
        elide: Text.ElideRight
        text: qsTr("A new version of this product has been released") + " (" + hView.newVersionDate() + ")"
    }

    ScrollView {
        id: changeLogView
        anchors.fill: parent
        anchors.topMargin: 30
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
}
