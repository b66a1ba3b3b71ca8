import QtQuick 2.0

// One entry of the software log: an icon with a title, the component's report under it and, when
// the component names one, a link for further help.
Item {
    id: softwareLogItem

    property string imageSource: ""
    property string title: ""
    property string log: ""
    property string link: ""

    width: parent ? parent.width : 0
    height: imageTile.height + textColumn.height + 10
    clip: true

    // The icons are drawn white for the dark control bar; a dark tile keeps them visible here.
    Rectangle {
        id: imageTile
        width: logImage.width + 8
        height: logImage.height + 8
        radius: 5
        color: "#222222"

        Image {
            id: logImage
            anchors.centerIn: parent
            source: softwareLogItem.imageSource
        }
    }

    Text {
        anchors.left: imageTile.right
        anchors.leftMargin: 10
        anchors.verticalCenter: imageTile.verticalCenter
        font.bold: true
        text: softwareLogItem.title
    }

    Column {
        id: textColumn
        anchors.top: imageTile.bottom
        anchors.topMargin: 10
        width: softwareLogItem.width

        Text {
            objectName: "logText"
            width: parent.width
            wrapMode: Text.WordWrap
            // Reports end their lines with a line break; a last empty line would only add a gap.
            text: softwareLogItem.log.replace(/\n+$/, "")
        }

        Text {
            objectName: "linkText"
            width: parent.width
            visible: softwareLogItem.link !== ""
            wrapMode: Text.WordWrap
            textFormat: Text.RichText
            text: softwareLogItem.link
            onLinkActivated: Qt.openUrlExternally(link)
        }
    }
}
