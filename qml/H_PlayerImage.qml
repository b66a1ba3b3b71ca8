import QtQuick 2.0
import "widgets/"

// The transparent overlay above the panorama: it pops up an icon (play, pause) or a short text
// (the time after a seek), and shows a pause screen while the media is paused.
Item {
    id: h_playerImage

    readonly property url __pauseIcon: "qrc:/images/newui/pause_icon.png"

    // Pops up the icon; the pause icon also brings up the pause screen, anything else (an empty
    // URL too) takes it away.
    function onShowPlayerImage(playerImage) {
        iconAnimation.stop()
        imagePlayer.scale = 0
        imagePlayer.opacity = 1
        imagePlayer.source = playerImage
        iconAnimation.restart()
        pauseScreen.enabled = String(playerImage) === String(__pauseIcon)
        if (pauseScreen.enabled)
            console.info("Pause screen shown")
    }

    // holdMs: how long the text stays before it fades; a short flash unless given.
    function onShowPlayerText(playerText, holdMs) {
        textAnimation.stop()
        textHold.duration = holdMs === undefined ? 500 : holdMs
        textPlayer.opacity = 1
        textPlayer.text = playerText
        textAnimation.restart()
    }

    anchors.fill: parent

    Item {
        id: pauseScreen

        objectName: "pauseScreen"
        anchors.fill: parent
        enabled: false
        opacity: enabled ? 1 : 0

        Behavior on opacity {
            NumberAnimation {
                duration: 500
            }
        }

        Image {
            id: playButton

            anchors.centerIn: parent
            source: "qrc:/images/newui/PlayBtn.png"

            H_MouseArea {
                anchors.fill: parent

                onClicked: h_bar.playPause()
            }
        }

        // Previous and next, where the playlist has somewhere to go.
        Image {
            objectName: "pausePrevious"
            anchors.left: parent.left
            anchors.leftMargin: 38
            anchors.verticalCenter: parent.verticalCenter
            visible: hGlobalObject.playListCount > 1
            source: "qrc:/images/newui/ArrowLeft.png"

            H_MouseArea {
                anchors.fill: parent
                onClicked: hGlobalObject.playListSetPrevious()
            }
        }

        Image {
            objectName: "pauseNext"
            anchors.right: parent.right
            anchors.rightMargin: 38
            anchors.verticalCenter: parent.verticalCenter
            visible: hGlobalObject.playListCount > 1
            source: "qrc:/images/newui/ArrowRight.png"

            H_MouseArea {
                anchors.fill: parent
                onClicked: hGlobalObject.playListSetNext()
            }
        }

        // Drawn rather than a picture of the words, so that it speaks the user's language.
        Rectangle {
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.verticalCenter: parent.bottom
            anchors.verticalCenterOffset: -parent.height / 4
            width: directions.width + 54
            height: 48
            radius: 24
            color: Qt.rgba(0, 0, 0, 0.55)

            Row {
                id: directions
                anchors.centerIn: parent
                spacing: 22

                Text { font.family: "DejaVu Sans"; font.pixelSize: 20; color: "white"; text: qsTr("Drag to look around") }
                Text { font.family: "DejaVu Sans"; font.pixelSize: 20; color: "#ff4012"; text: "•" }
                Text { font.family: "DejaVu Sans"; font.pixelSize: 20; color: "white"; text: qsTr("Space to play") }
            }
        }
    }

    Image {
        id: imagePlayer

        objectName: "imagePlayer"
        anchors.centerIn: parent
        scale: 0
    }

    Rectangle {
        anchors.fill: textPlayer
        anchors.margins: -10
        radius: 10
        color: "black"
        opacity: 0.7 * textPlayer.opacity
        visible: textPlayer.text !== ""
    }

    Text {
        id: textPlayer

        objectName: "textPlayer"
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.verticalCenter: parent.verticalCenter
        // Above the pause screen's play button rather than over its middle.
        anchors.verticalCenterOffset: pauseScreen.enabled ? -(playButton.height / 2 + height / 2 + 30) : 0
        opacity: 0
        color: "white"
        font.pixelSize: 28
        font.bold: true
    }

    // Grows the icon in, then fades it out.
    SequentialAnimation {
        id: iconAnimation

        NumberAnimation {
            target: imagePlayer
            property: "scale"
            from: 0
            to: 1
            duration: 500
        }
        NumberAnimation {
            target: imagePlayer
            property: "opacity"
            to: 0
            duration: 200
        }
    }

    // Leaves the text up for a moment, then fades it out.
    SequentialAnimation {
        id: textAnimation

        PauseAnimation {
            id: textHold
            duration: 500
        }
        NumberAnimation {
            target: textPlayer
            property: "opacity"
            to: 0
            duration: 1000
        }
    }
}
