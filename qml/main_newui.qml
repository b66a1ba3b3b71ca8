import QtQuick 2.12

// Stand-in scene until the viewer's own lands: shows that the window, the resources and the
// render loop work.
Rectangle {
    id: h_root
    width: 1280
    height: 720
    color: "#101418"

    Column {
        anchors.centerIn: parent
        spacing: 12

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: hView.title()
            color: "#e8eef2"
            font.pixelSize: 32
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: qsTr("%1 frames per second, textures up to %2 × %3")
                  .arg(hView.fps).arg(hView.maxTextureSize.width).arg(hView.maxTextureSize.height)
            color: "#8fa3b0"
            font.pixelSize: 16
        }
    }
}
