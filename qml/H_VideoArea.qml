import QtQuick 2.0
import QtMultimedia 5.0
import QtQuick.Controls 1.1
import Veyrix 1.0
import "widgets/"

// Where the panorama is seen and steered. The panorama view samples the current media item's frames
// straight from its texture provider; drags turn the view, the wheel and pinches zoom it, and while
// nothing is showing a placeholder invites the user to drop files and tells what went wrong.
Item {
    id: h_videoArea

    // The current media item (video player or photo), as the media loader offers it.
    property variant mediaPlayer: null
    // Radians of turn per pixel of drag.
    property real moveSpeed: 0.005
    property int __moveX: 0
    property int __moveY: 0
    // The current press has become a drag.
    property bool __moving: false
    property bool __pinching: false
    property int __pinchIterator: 1

    // What the panorama samples: the player the media player wrapper has loaded, or the photo.
    readonly property Item __frameItem: mediaPlayer ? (mediaPlayer.item !== undefined ? mediaPlayer.item : mediaPlayer)
                                                    : null
    // A panorama that cannot be drawn on this OpenGL shows nothing but why.
    readonly property bool __buffered: mediaPlayer !== null && mediaPlayer !== undefined
                                       && mediaPlayer.playerStatus === MediaPlayer.Buffered
                                       && h_view.errorString === "" && !hFailure.active
    // Media failures are the failure panel's; this is what stops the panorama itself.
    readonly property string __errorString: h_view.errorString
    readonly property bool __loading: mediaPlayer !== null && mediaPlayer !== undefined
                                      && mediaPlayer.playerStatus === MediaPlayer.Loading
                                      && __errorString === "" && !hFailure.active
    // Pinching needs touch events, which this platform's mouse handling does not give.
    readonly property bool __pinchAvailable: hGlobalObject.platformOS() !== "Q_OS_MACX"

    signal changeRootState(string newState)
    signal showVideoPlugins

    // Negative directions widen the view, all others narrow it.
    function zoom(direction, zoomFactor) {
        var fov = direction < 0 ? hGlobalObject.fov + zoomFactor : hGlobalObject.fov - zoomFactor
        checkFovValue(fov, false)
    }

    // Zooming in goes on until a pixel of the picture spans two of the window's, however large the
    // picture: a gigapixel panorama is looked at far closer than 20 degrees.
    function finestFov() {
        var pictureWidth = mediaPlayer ? mediaPlayer.width : 0
        var shorter = Math.min(width, height)
        if (!(pictureWidth > 0) || !(shorter > 0))
            return 20
        return 2 * Math.atan(shorter * Math.PI / (pictureWidth * 2)) * 57.2957795
    }

    // Keeps the field of view within what the projection can show. A zoom stops at the limit it
    // crosses; a change of projection that leaves the old value out of range starts again at 60.
    function checkFovValue(fov, resetFov) {
        var projection = hShaderCodeBuilder.projection
        var lower
        var upper
        if (projection === HShaderCodeBuilder.FISHEYE || projection === HShaderCodeBuilder.LITTLE_PLANET) {
            lower = 10
            upper = 360
        } else if (projection === HShaderCodeBuilder.RECTILINEAR
                   || projection === HShaderCodeBuilder.NO_PROJECTION) {
            var pictureHeight = (hGlobalObject.pitchMax - hGlobalObject.pitchMin) * 57.2957795
            // The sensor steers the view over the whole picture: it always shows all of its height.
            lower = hSensor.activated ? pictureHeight : Math.min(20, finestFov())
            upper = pictureHeight
        } else {
            lower = 60
            upper = 60
        }

        if (fov >= lower && fov <= upper)
            hGlobalObject.fov = fov
        else if (resetFov)
            hGlobalObject.fov = 60
        else
            hGlobalObject.fov = fov < lower ? lower : upper
    }

    // A wheel's pixel delta (touch pads) counts before its angle delta. Turning the wheel away
    // from the user narrows the view.
    function wheelZoom(pixelDeltaY, angleDeltaY) {
        if (pixelDeltaY !== 0)
            zoom(pixelDeltaY, 2)
        else if (angleDeltaY !== 0)
            zoom(angleDeltaY, 5)
    }

    // Turns the view by the distance from the last pointer position. In touch mode the picture
    // follows the finger; otherwise the camera follows the mouse.
    function move(newMoveX, newMoveY) {
        root.onMouseMoved()
        var deltaX = newMoveX - __moveX
        var deltaY = newMoveY - __moveY
        if (hGlobalObject.touchMode) {
            hGlobalObject.yaw -= deltaX * moveSpeed
            hGlobalObject.pitch -= deltaY * moveSpeed
        } else {
            hGlobalObject.yaw += deltaX * moveSpeed
            hGlobalObject.pitch += deltaY * moveSpeed
        }
        __moveX = newMoveX
        __moveY = newMoveY
    }

    function onProjectionChanged() {
        checkFovValue(hGlobalObject.fov, true)
    }

    // The logo of the media, when its playlist names one, takes a strip at the right.
    anchors.rightMargin: h_logo.width

    onStateChanged: {
        if (state === "On") {
            focus = true
            if (!messageDialog.visible)
                hGlobalObject.hideCursor()
        } else if (state === "Off") {
            hGlobalObject.restoreCursor()
        }
    }

    // The view repaints by itself on every change of what it draws; a new projection also has its
    // own range of fields of view.
    Connections {
        target: hShaderCodeBuilder

        function onProjectionChanged() {
            h_videoArea.onProjectionChanged()
        }
    }

    // A new picture brings its own latitude band, and with it the widest field of view it allows.
    Connections {
        target: hGlobalObject

        function onPitchMinChanged() {
            h_videoArea.checkFovValue(hGlobalObject.fov, false)
        }
        function onPitchMaxChanged() {
            h_videoArea.checkFovValue(hGlobalObject.fov, false)
        }
    }

    // A field of view given by a picture's metadata is horizontal; ours spans the shorter side.
    Binding {
        target: hPicture
        property: "viewAspect"
        value: h_videoArea.height > 0 ? h_videoArea.width / h_videoArea.height : 16 / 9
    }

    on__FrameItemChanged: hTextureProvider.setShaderEffectSource(__frameItem)

    VeyrixView {
        id: h_view

        objectName: "panorama"
        anchors.fill: parent
        opacity: h_videoArea.__buffered ? 1 : 0
        rightEye: hPicture.rightEye

        onFpsChanged: h_help.fps = fps

        Component.onCompleted: {
            hTextureProvider.setShaderEffectSource(h_videoArea.__frameItem)
            init(hShaderCodeBuilder, hGlobalObject, hTextureProvider)
            // Frames from another process are there at once; there is nothing to wait for.
            if (hTextureProvider.isSharedMemory() && h_videoArea.mediaPlayer)
                h_videoArea.mediaPlayer.playerStatus = MediaPlayer.Buffered
        }
    }

    H_SharedMemoryStatus {
        anchors.centerIn: parent
    }

    PinchArea {
        id: h_pinchArea

        property real lastScale: 1

        anchors.fill: parent
        visible: h_videoArea.__pinchAvailable
        enabled: visible

        onPinchStarted: {
            h_videoArea.__pinching = true
            h_videoArea.__pinchIterator = 1
            lastScale = pinch.scale
        }
        // Every second update zooms by a fixed step, which makes pinching feel even whatever
        // rate the touch screen reports at.
        onPinchUpdated: {
            if (h_videoArea.__pinchIterator % 2 === 0) {
                h_videoArea.zoom(pinch.scale > lastScale ? 1 : -1, 3)
                h_videoArea.__pinchIterator = 1
            } else {
                ++h_videoArea.__pinchIterator
            }
            lastScale = pinch.scale
        }
        onPinchFinished: h_videoArea.__pinching = false
    }

    MouseArea {
        id: h_mouseArea

        objectName: "videoMouseArea"
        // Inside the pinch area where there is one, so that both get their events.
        parent: h_pinchArea.visible ? h_pinchArea : h_videoArea
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton
        // Without hover tracking the area is left at every release too, which ends the drag.
        hoverEnabled: false

        onPressed: {
            if (h_videoArea.__pinching)
                return
            h_videoArea.__moveX = mouse.x
            h_videoArea.__moveY = mouse.y
        }
        // Touch screens report small moves of a resting finger: only a move of more than 3 pixels
        // turns a press into a drag, and that first move applies the whole distance.
        onPositionChanged: {
            if (h_videoArea.__pinching) {
                h_videoArea.__moveX = mouse.x
                h_videoArea.__moveY = mouse.y
                return
            }
            if (Math.abs(mouse.x - h_videoArea.__moveX) > 3 || Math.abs(mouse.y - h_videoArea.__moveY) > 3)
                h_videoArea.__moving = true
            if (h_videoArea.__moving)
                h_videoArea.move(mouse.x, mouse.y)
        }
        onExited: h_videoArea.__moving = false
        onClicked: {
            if (h_videoArea.__moving || h_videoArea.__pinching)
                return
            if (h_videoArea.activeFocus) {
                h_videoArea.changeRootState("ControlsPanel")
                timerHideControls.restart()
            } else {
                h_videoArea.changeRootState("Video")
            }
        }
        onDoubleClicked: {
            if (!hView.demoMode)
                h_fullScreenTimer.restart()
        }
        onWheel: {
            if (!h_videoArea.__pinching)
                h_videoArea.wheelZoom(wheel.pixelDelta.y, wheel.angleDelta.y)
        }
    }

    // The window changes only once the double click's own events have arrived.
    Timer {
        id: h_fullScreenTimer

        interval: 500
        onTriggered: hView.fullScreenMode(!hView.fullScreen)
    }

    Rectangle {
        id: h_placeholder

        objectName: "placeholder"
        anchors.fill: parent
        color: "#5b5f63"
        opacity: h_videoArea.__buffered ? 0 : 1

        Rectangle {
            id: h_messageBox

            anchors.centerIn: parent
            width: h_failurePanel.visible ? Math.min(560, h_placeholder.width - 40) : 300
            height: h_failurePanel.visible ? h_failurePanel.height + 50 : 200
            radius: 20
            color: Qt.rgba(0, 0, 0, h_failurePanel.visible ? 0.65 : 0.5)

            Image {
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.bottom: h_dropText.top
                anchors.bottomMargin: 12
                visible: h_dropText.visible
                source: "qrc:/images/newui/drop_files.png"
            }

            H_FailurePanel {
                id: h_failurePanel

                anchors.centerIn: parent
                width: parent.width - 50
                visible: hFailure.active && h_videoArea.__errorString === ""
            }

            Text {
                id: h_dropText

                objectName: "dropText"
                anchors.centerIn: parent
                visible: !h_loadingBar.visible && !h_failurePanel.visible
                text: qsTr("Drop your file(s) here")
                color: "white"
                font.pixelSize: 20
                font.bold: true
            }

            Text {
                id: h_errorText

                objectName: "errorText"
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                anchors.margins: 10
                anchors.bottomMargin: 30
                height: 50
                text: h_videoArea.__errorString
                color: "#ff3b30"
                font.pixelSize: 16
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                wrapMode: Text.WordWrap
                elide: Text.ElideRight
            }

            ProgressBar {
                id: h_loadingBar

                objectName: "loadingBar"
                anchors.centerIn: parent
                width: parent.width - 60
                indeterminate: true
                visible: h_videoArea.__loading
            }
        }

        H_Button {
            id: h_pluginButton

            objectName: "pluginButton"
            anchors.horizontalCenter: parent.horizontalCenter
            y: parent.height / 2 + h_messageBox.height / 2 + 10
            width: 180
            labelText: qsTr("change video plugin")
            // Only a file that was read but not decoded may play with another back end.
            visible: h_failurePanel.visible && hFailure.otherBackendMayHelp && hVideoPlugin.pluginsList().length > 1

            onButtonReleased: h_videoArea.showVideoPlugins()
        }
    }

    Image {
        id: h_helpButton

        objectName: "helpButton"
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.margins: 20
        source: "qrc:/images/help_24.png"
        visible: !h_videoArea.__buffered

        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor

            onClicked: h_help.visible = !h_help.visible
        }
    }

    // The logo that the playlist file gave the current media, if any.
    Image {
        id: h_logo

        objectName: "logo"
        x: h_videoArea.width
        y: 0
        source: h_videoArea.mediaPlayer ? hGlobalObject.getDynamicLogo(h_videoArea.mediaPlayer.mediaSource) : ""
    }
}
