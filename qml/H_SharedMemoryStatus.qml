import QtQuick 2.0

// In shared-memory mode, while no producer writes into the segment (or none has for a while), or
// while what it writes cannot be read: says so instead of a black window or a frozen picture.
Rectangle {
    id: h_sharedMemoryStatus

    readonly property bool __shown: hTextureProvider.isSharedMemory()
                                    && (hTextureProvider.sharedMemoryWaiting || hTextureProvider.sharedMemoryInvalid)

    visible: __shown
    width: Math.min(560, parent.width - 40)
    height: h_statusColumn.height + 40
    radius: 20
    color: Qt.rgba(0.18, 0.19, 0.2, 0.8)
    border.color: Qt.rgba(1, 1, 1, 0.25)

    Column {
        id: h_statusColumn

        anchors.centerIn: parent
        width: parent.width - 40
        spacing: 8

        Text {
            objectName: "sharedMemoryWaiting"
            width: parent.width
            text: qsTr("Waiting for frames from “%1”").arg(hTextureProvider.sharedMemoryName)
            color: "white"
            font.pixelSize: 18
            font.bold: true
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
        }

        Text {
            width: parent.width
            visible: hTextureProvider.sharedMemoryInvalid
            text: qsTr("What the producer writes there cannot be read; the log says why.")
            color: "#e8e8e8"
            font.pixelSize: 15
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
        }
    }
}
