import QtQuick 2.12
import Veyrix 1.0

// Stand-in scene until the viewer's own lands: the photo named on the command line (the sample
// photo when started by tools/build-and-run) as a panorama, turned by dragging and zoomed with the
// wheel, through the same chain the video area uses (photo, hidden effect source, texture
// provider, view).
Rectangle {
    id: h_root
    width: 1280
    height: 720
    color: "#101418"

    readonly property url photo: photoFromArguments()

    function photoFromArguments() {
        var args = Qt.application.arguments
        for (var i = args.length - 1; i > 0; --i) {
            if (/\.(jpe?g|png)$/i.test(args[i]) && args[i].charAt(0) === "/")
                return "file://" + args[i].split("/").map(encodeURIComponent).join("/")
        }
        return ""
    }

    // Drawn only into the effect source below.
    Image {
        id: h_photo
        source: h_root.photo
    }

    ShaderEffectSource {
        id: h_frameSource
        x: h_root.width
        width: 100
        height: 100
        sourceItem: h_photo
        hideSource: true
        wrapMode: ShaderEffectSource.ClampToEdge
        Component.onCompleted: hTextureProvider.setShaderEffectSource(h_frameSource)
    }

    VeyrixView {
        id: h_view
        anchors.fill: parent
        // Frames from another process need no photo.
        visible: h_photo.status === Image.Ready || hTextureProvider.isSharedMemory()
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
            text: h_photo.status === Image.Error ? qsTr("%1 cannot be read").arg(h_photo.source)
                                                   : qsTr("Name a photo on the command line to look around in it")
            color: "#8fa3b0"
            font.pixelSize: 16
        }
    }
}
