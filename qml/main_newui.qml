import QtQuick 2.12
import QtMultimedia 5.0
import Veyrix 1.0

// Stand-in scene until the viewer's own lands: the photo or video the core opens (the files named
// on the command line; the sample photo when started by tools/build-and-run) as a panorama, turned
// by dragging and zoomed with the wheel, through the same chain the video area uses (media
// loader, hidden effect source, texture provider, view).
Rectangle {
    id: h_root
    width: 1280
    height: 720
    color: "#101418"

    // Its players are drawn only into the effect source below.
    H_MediaLoader {
        id: h_mediaLoader
    }

    ShaderEffectSource {
        id: h_frameSource
        x: h_root.width
        width: 100
        height: 100
        sourceItem: h_mediaLoader.mediaPlayer
        hideSource: true
        wrapMode: ShaderEffectSource.ClampToEdge
        Component.onCompleted: hTextureProvider.setShaderEffectSource(h_frameSource)
    }

    VeyrixView {
        id: h_view
        anchors.fill: parent
        // Frames from another process need no media.
        visible: h_mediaLoader.mediaPlayer.playerStatus === MediaPlayer.Buffered || hTextureProvider.isSharedMemory()
        Component.onCompleted: {
            init(hShaderCodeBuilder, hGlobalObject, hTextureProvider)
            // Bring the view inside the picture's band.
            hGlobalObject.pitch = hGlobalObject.pitch
        }
    }

    MouseArea {
        property real moveSpeed: 0.005
        property int lastX: 0
        property int lastY: 0

        anchors.fill: parent
        onPressed: {
            lastX = mouse.x
            lastY = mouse.y
        }
        onPositionChanged: {
            var dx = (mouse.x - lastX) * moveSpeed
            var dy = (mouse.y - lastY) * moveSpeed
            // In touch mode the picture follows the finger, otherwise the camera follows the mouse.
            var sign = hGlobalObject.touchMode ? -1 : 1
            hGlobalObject.yaw = hGlobalObject.yaw + sign * dx
            hGlobalObject.pitch = hGlobalObject.pitch + sign * dy
            lastX = mouse.x
            lastY = mouse.y
        }
        onWheel: {
            var step = wheel.angleDelta.y > 0 ? -5 : 5
            var widest = (hGlobalObject.pitchMax - hGlobalObject.pitchMin) * 57.2957795
            hGlobalObject.fov = Math.max(20, Math.min(widest, hGlobalObject.fov + step))
        }
    }

    Column {
        anchors.centerIn: parent
        spacing: 12
        visible: !h_view.visible

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: hView.title()
            color: "#e8eef2"
            font.pixelSize: 32
        }
        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            text: h_message.text !== "" ? h_message.text
                : h_mediaLoader.mediaPlayer.errorString !== "" ? h_mediaLoader.mediaPlayer.errorString
                : qsTr("Name a photo or a video on the command line to look around in it")
            color: "#8fa3b0"
            font.pixelSize: 16
        }
    }

    // The player overlay's play and pause icons.
    Image {
        id: h_playerIcon
        anchors.centerIn: parent
        opacity: 0
        NumberAnimation on opacity {
            id: h_playerIconFade
            running: false
            from: 1
            to: 0
            duration: 1200
        }
    }

    // What the main scene's message dialog would show.
    QtObject {
        id: h_message
        property string text: ""
    }

    // Stand-ins for the main scene's root and the control bar, which the media loader calls.
    QtObject {
        id: root
        function onDisplayMessage(message, icon) {
            h_message.text = message
            console.warn(message)
        }
    }
    Item {
        id: h_bar
        signal showPlayerImage(url playerImage)
        onShowPlayerImage: {
            h_playerIcon.source = playerImage
            if (String(playerImage) !== "")
                h_playerIconFade.restart()
        }
    }
}
