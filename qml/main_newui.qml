import QtQuick 2.5
import QtQuick.Dialogs 1.1
import Veyrix 1.0
import "popup/"
import "lib.js" as Lib

// The viewer: the panorama with its overlays, the control bar and the popups, the keyboard
// shortcuts, and which of video area, control bar and popup host is active.
FocusScope {
    id: root

    function changeState(newState, menuCategory) {
        if (state === newState)
            return
        // A popup or the wall stands alone: the shortcut overlay does not stay up behind it.
        if (newState === "Popup" || newState === "Popup_Wall" || newState === "Wall")
            h_help.visible = false
        state = newState
    }

    // The topmost of the bar's panels and the shortcut overlay goes first; full screen is left
    // only when neither is up.
    function onEscape() {
        if (h_bar.panelShown)
            h_bar.hideAllElements()
        else if (h_help.visible)
            h_help.visible = false
        else
            hView.fullScreenMode(false)
    }

    // One overlay at a time: the shortcuts close the bar's panels, a panel closes the shortcuts.
    function toggleHelp() {
        h_help.visible = !h_help.visible
        if (h_help.visible)
            h_bar.hideAllElements()
    }

    function onDisplayPopup(qmlFile, rootState) {
        h_popup.load(qmlFile, rootState)
    }

    function onDisplayMessage(message, icon) {
        // The log keeps what the user was told, for support and for end-to-end tests.
        console.info("Message shown: " + message)
        messageDialog.icon = icon !== undefined && icon !== null ? icon : StandardIcon.Information
        messageDialog.text = message
        messageDialog.open()
        hGlobalObject.restoreCursor()
    }

    // Any activity brings the controls up for a while, except over a popup or the wall.
    function onMouseMoved() {
        if (state === "Popup" || state === "Popup_Wall" || state === "Wall")
            return
        changeState("ControlsPanel")
        timerHideControls.restart()
    }

    // Jumps by delta milliseconds and shows where the jump lands. The time shown is the target
    // itself: a playing media reports its new position only a moment later.
    function seekBy(delta) {
        var player = h_mediaLoader.mediaPlayer
        var target = player.position + delta
        if (target < 0 || target > player.duration)
            target = 0
        player.seekJump(delta)
        h_playerImage.onShowPlayerText(Lib.formatTime(target))
    }

    // Letters match whatever modifiers are held (Ctrl+F is F), except Ctrl+N (and Ctrl+Q, a
    // shortcut of its own).
    function onKeyPressed(event) {
        var key = event.key
        var ctrl = (event.modifiers & Qt.ControlModifier) !== 0
        var alt = (event.modifiers & Qt.AltModifier) !== 0
        var player = h_mediaLoader.mediaPlayer

        if (key === Qt.Key_Escape) {
            onEscape()
        } else if (key === Qt.Key_F) {
            hView.fullScreenMode(!hView.fullScreen)
        } else if (key === Qt.Key_Minus) {
            h_videoArea.zoom(-1, 3)
        } else if (key === Qt.Key_Plus || key === Qt.Key_Equal) {
            h_videoArea.zoom(1, 3)
        } else if (key === Qt.Key_E) {
            hShaderCodeBuilder.setNextEffect()
        } else if (key === Qt.Key_P) {
            hShaderCodeBuilder.setNextProjection()
        } else if (key === Qt.Key_V) {
            h_bar.showViewPanel()
        } else if (key === Qt.Key_S) {
            hPicture.nextStereoChoice()
            h_playerImage.onShowPlayerText(qsTr("Stereo: ") + hPicture.stereoText)
        } else if (key === Qt.Key_R) {
            hPicture.eye = hPicture.eye === "left" ? "right" : "left"
            h_playerImage.onShowPlayerText(hPicture.rightEye ? qsTr("Right eye") : qsTr("Left eye"))
        } else if (key === Qt.Key_K) {
            hPicture.nextStackedChoice()
            h_playerImage.onShowPlayerText(hPicture.stackedText)
        } else if (key === Qt.Key_B) {
            hPicture.nextPictureChoice()
            h_playerImage.onShowPlayerText(qsTr("Picture: ") + hPicture.pictureText)
        } else if (key === Qt.Key_Space) {
            h_bar.playPause()
        } else if (key === Qt.Key_O) {
            h_bar.oculusOnOff()
        } else if (key === Qt.Key_L) {
            h_bar.leapOnOff()
        } else if (key === Qt.Key_G) {
            h_bar.gyroOnOff()
        } else if ((key === Qt.Key_Left || key === Qt.Key_Right) && (ctrl || alt)) {
            seekBy(key === Qt.Key_Left ? -1000 : 1000)
        } else if (key === Qt.Key_Left || key === Qt.Key_Right) {
            if (!hGlobalObject.playListIsEmpty()) {
                if (key === Qt.Key_Left)
                    hGlobalObject.playListSetPrevious()
                else
                    hGlobalObject.playListSetNext()
            }
        } else if ((key === Qt.Key_Up || key === Qt.Key_Down) && (ctrl || alt)) {
            seekBy(key === Qt.Key_Up ? player.duration / 20 : -player.duration / 20)
        } else if (key === Qt.Key_Up || key === Qt.Key_Down) {
            // Taken, so that nothing else scrolls.
        } else if (key === Qt.Key_4 || key === Qt.Key_6) {
            if (!hOculus.activated)
                hGlobalObject.yaw += key === Qt.Key_4 ? -0.5 : 0.5
        } else if (key === Qt.Key_2 || key === Qt.Key_8) {
            if (!hOculus.activated)
                hGlobalObject.pitch += key === Qt.Key_2 ? 0.5 : -0.5
        } else if (key === Qt.Key_Home) {
            hResume.startOver()
        } else if (key === Qt.Key_H) {
            toggleHelp()
        } else if (ctrl && key === Qt.Key_N) {
            onDisplayPopup("qrc:/qml/popup/PopupOpenFile.qml")
        } else {
            event.accepted = false
            return
        }
        event.accepted = true
    }

    width: 1200
    height: 600
    focus: true
    state: "Video"

    Keys.onPressed: onKeyPressed(event)

    // Quits from wherever the keyboard is, a popup that takes every key or a message box included.
    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: hGlobalObject.quit()
    }

    // Its players are drawn only through the video area's effect source.
    H_MediaLoader {
        id: h_mediaLoader
    }

    H_VideoArea {
        id: h_videoArea

        anchors.fill: parent
        mediaPlayer: h_mediaLoader.mediaPlayer
    }

    H_Help {
        id: h_help
        objectName: "help"
    }

    H_CrashNote {
        z: 5
    }

    H_LeapPointer {
        id: h_leapPointer

        visible: hLeap.activated
        enabled: hLeap.activated
    }

    H_Bar {
        id: h_bar

        mediaPlayer: h_mediaLoader.mediaPlayer
        photo: h_mediaLoader.photo

        onPanelShownChanged: {
            if (panelShown)
                h_help.visible = false
        }

        Component.onCompleted: h_videoArea.showVideoPlugins.connect(showVideoPluginsList)
    }

    // Where the bar stands while it is out of sight or still rising: a press there brings it up and
    // acts on the button under the pointer, rather than waiting for the mouse to move first. The
    // move that comes with the press already starts the bar rising, so its state alone will not do.
    MouseArea {
        id: h_hiddenBarArea

        objectName: "hiddenBarArea"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: h_bar.height
        enabled: (root.state === "Video" || root.state === "ControlsPanel") && h_bar.anchors.bottomMargin < 0
        acceptedButtons: Qt.LeftButton

        onPressed: {
            root.onMouseMoved()
            h_bar.pressAt(mouse.x)
        }
    }

    H_PlayerImage {
        id: h_playerImage

        Component.onCompleted: h_bar.showPlayerImage.connect(onShowPlayerImage)
    }

    H_HostingWall {
        id: h_wall
        objectName: "h_wall"
    }

    H_Popup {
        id: h_popup
    }

    MessageDialog {
        id: messageDialog

        objectName: "messageDialog"
        icon: StandardIcon.Information

        onAccepted: close()
    }

    HDropArea {
        id: h_dropArea

        anchors.fill: parent

        onFilePathListChanged: hGlobalObject.openFiles(h_dropArea.filePathList)
    }

    // Hides the controls after three seconds without activity, unless the pointer rests on them.
    Timer {
        id: timerHideControls

        interval: 3000
        repeat: false

        onTriggered: {
            if (root.state === "Popup" || root.state === "Popup_Wall" || root.state === "Wall")
                return
            if (h_bar.containsMouse)
                return
            root.changeState("Video")
        }
    }

    states: [
        State {
            name: "Video"
            PropertyChanges { target: h_videoArea; state: "On" }
            PropertyChanges { target: h_bar; state: "Off" }
            PropertyChanges { target: h_popup; state: "Off" }
        },
        State {
            name: "ControlsPanel"
            PropertyChanges { target: h_videoArea; state: "Off" }
            PropertyChanges { target: h_bar; state: "On" }
            PropertyChanges { target: h_popup; state: "Off" }
        },
        State {
            name: "Popup"
            PropertyChanges { target: h_videoArea; state: "Off" }
            PropertyChanges { target: h_bar; state: "Off" }
            PropertyChanges { target: h_popup; state: "On" }
        },
        State {
            name: "Popup_Wall"
            PropertyChanges { target: h_videoArea; state: "Off" }
            PropertyChanges { target: h_wall; state: "Off_popup" }
            PropertyChanges { target: h_bar; state: "Off" }
            PropertyChanges { target: h_popup; state: "On" }
        },
        State {
            name: "Wall"
            PropertyChanges { target: h_videoArea; state: "Off" }
            PropertyChanges { target: h_wall; state: "On" }
            PropertyChanges { target: h_bar; state: "Off" }
            PropertyChanges { target: h_popup; state: "Off" }
        }
    ]

    Component.onCompleted: {
        h_videoArea.changeRootState.connect(changeState)
        h_bar.changeRootState.connect(changeState)
        h_popup.changeRootState.connect(changeState)

        hView.displayPopup.connect(onDisplayPopup)
        h_bar.displayPopup.connect(onDisplayPopup)

        // The about popup greets the user at every start outside demo mode, unless an update
        // announcement is due.
        if (!hView.demoMode && !hView.isNewVersionAvailable())
            onDisplayPopup("qrc:/qml/popup/PopupAbout.qml")

        hView.displayMessage.connect(onDisplayMessage)
        hVideoPlugin.displayMessage.connect(onDisplayMessage)
        // The hosting wall shows its own messages, inside it and without blocking the next request.
        hLanguage.displayMessage.connect(onDisplayMessage)

        hView.mouseMoved.connect(onMouseMoved)

        // The projection the user last chose, like the other view choices, holds until changed.
        var projection = Number(hGlobalObject.getSetting("view/projection", HShaderCodeBuilder.NO_PROJECTION))
        if ([HShaderCodeBuilder.NO_PROJECTION, HShaderCodeBuilder.RECTILINEAR, HShaderCodeBuilder.LITTLE_PLANET,
             HShaderCodeBuilder.MIRROR_BALL, HShaderCodeBuilder.FISHEYE, HShaderCodeBuilder.DOME].indexOf(projection) >= 0)
            hShaderCodeBuilder.projection = projection
    }

    Connections {
        target: hShaderCodeBuilder

        function onProjectionChanged() {
            hGlobalObject.setSetting("view/projection", hShaderCodeBuilder.projection)
        }
    }

    // A media reopened where it was left: its projection too, and a word that it was.
    Connections {
        target: hResume

        function onResumed(position, projection, message) {
            if (projection >= 0)
                hShaderCodeBuilder.projection = projection
            if (message !== "")
                h_playerImage.onShowPlayerText(message, 4000)
        }
    }
}
