import QtQuick 2.0
import QtQuick.Controls 1.1

// The frame of a popup that shows a text: a rounded panel with a bold title, the body below it and
// a centred row of buttons along the bottom, the Close button among them.
Item {
    id: popupFrame

    property alias title: titleLabel.text
    property alias titleUnderline: titleLabel.font.underline
    // Escape, Return and Enter close it; an announcement that only its buttons may close says no.
    property bool keysClose: true
    // Where the body starts below the top of the panel's inside.
    property int bodyTop: 30
    default property alias body: bodyArea.data
    // Buttons before and after Close.
    property alias leadingButtons: leadingRow.data
    property alias trailingButtons: trailingRow.data

    signal close()

    Keys.onPressed: {
        if (keysClose && (event.key === Qt.Key_Escape || event.key === Qt.Key_Return
                          || event.key === Qt.Key_Enter))
            popupFrame.close()
        event.accepted = keysClose
    }

    PopupPanel {
        width: 600
        height: 400

        Item {
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
                elide: Text.ElideRight
            }

            // The body's own area, from bodyTop to 30 px above the bottom, 10 px in from each side.
            Item {
                id: bodyArea
                anchors.top: parent.top
                anchors.topMargin: popupFrame.bodyTop
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width - 20
                height: parent.height - popupFrame.bodyTop - 30
            }

            // On the panel's bottom edge, the buttons at the top of the row.
            Row {
                anchors.bottom: parent.bottom
                anchors.bottomMargin: -10
                anchors.horizontalCenter: parent.horizontalCenter
                height: 40
                spacing: 10

                Row {
                    id: leadingRow
                    spacing: 10
                }
                Button {
                    objectName: "closeButton"
                    isDefault: popupFrame.keysClose
                    text: qsTr("Close")
                    onClicked: popupFrame.close()
                }
                Row {
                    id: trailingRow
                    spacing: 10
                }
            }
        }
    }
}
