import QtQuick 2.12
import VLCQt 1.0

// The chain that is measured: the player and what presents its picture. Today the player draws
// straight into the window; the panorama view will take over the presenting here, fed through a
// ShaderEffectSource as the video area does, with the player at its native size.
Item {
    width: 1280
    height: 720

    VlcVideoPlayer {
        id: player
        objectName: "player"
        anchors.fill: parent
        nativeSize: false
    }
}
