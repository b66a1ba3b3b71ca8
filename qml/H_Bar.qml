import QtQuick 2.0
import QtMultimedia 5.0
import Veyrix 1.0
import "widgets"
import "menu"
import "lib.js" as Lib

// The control bar along the bottom of the window, with its volume panel and the slide-out panels
// for effects, the view (projection, stereo, picture), video plugin and the menu. It slides in
// while the scene shows the controls; in demo mode it never leaves.
Rectangle {
    id: h_bar

    // The current media item, video or photo.
    property variant mediaPlayer: null
    // The scene does not hide the controls while the pointer rests on them.
    property bool containsMouse: barArea.containsMouse || soundSlider.containsMouse
                                 || menuList.containsMouse || viewPanel.containsMouse
                                 || effectsList.containsMouse || videoPluginsList.containsMouse
    // What every item but the timeline takes; the timeline has the rest.
    property int __busyWidth: logoItem.width + playPauseItem.width + positionItem.width
                              + durationItem.width + soundItem.width + fullScreenItem.width
                              + sensorItem.width + previousItem.width + nextItem.width
                              + effectsItem.width + menuItem.width
    property int __menuWidth: 310
    property int __menuItemHeight: 40

    readonly property int __position: mediaPlayer ? mediaPlayer.position : 0
    readonly property int __duration: mediaPlayer ? mediaPlayer.duration : 0
    readonly property real __volume: mediaPlayer ? mediaPlayer.volume : 0
    readonly property int __playbackState: mediaPlayer ? mediaPlayer.playbackState : MediaPlayer.StoppedState

    signal changeRootState(string newState)
    // Emitted by the media loader through the bar, for the player overlay.
    signal showPlayerImage(string playerImage)
    signal displayPopup(string qmlFile)

    function playPause() {
        if (!mediaPlayer)
            return
        if (mediaPlayer.playbackState === MediaPlayer.PlayingState)
            mediaPlayer.pause()
        else
            mediaPlayer.play()
    }

    function gyroOnOff() {
        if (!hSensor.available)
            return
        hShaderCodeBuilder.oculusMode = false
        hSensor.activated = !hSensor.activated
    }

    function oculusOnOff() {
        if (!hOculus.available)
            return
        hOculus.activated = !hOculus.activated
        hShaderCodeBuilder.oculusMode = hOculus.activated
    }

    function leapOnOff() {
        if (!hLeap.available)
            return
        hLeap.activated = !hLeap.activated
    }

    // A second press on the button of the panel that is shown closes it.
    function showElement(element) {
        var wasHidden = element.state === "Hidden"
        hideAllElements()
        element.state = wasHidden ? "Shown" : "Hidden"
    }

    function hideAllElements() {
        soundSlider.state = "Hidden"
        menuList.state = "Hidden"
        viewPanel.state = "Hidden"
        effectsList.state = "Hidden"
        videoPluginsList.state = "Hidden"
    }

    // The view panel from the keyboard: the controls come up with it, a second press closes it.
    function showViewPanel() {
        changeRootState("ControlsPanel")
        showElement(viewPanel)
    }

    function showVideoPluginsList() {
        if (hVideoPlugin.pluginsList().length <= 1)
            return
        changeRootState("ControlsPanel")
        hideAllElements()
        videoPluginsList.state = "Shown"
    }

    // The timeline's share of the media: 1 once the end is reached, 0 while nothing is known.
    function progressionOf(position, duration) {
        if (duration > 0 && position > 0 && position < duration)
            return position / duration
        if (duration > 0 && position >= duration)
            return 1
        return 0
    }

    function soundLevel(volume) {
        if (volume <= 0)
            return 0
        if (volume < 0.5)
            return 1
        if (volume < 1)
            return 2
        return 3
    }

    width: parent ? parent.width : 0
    height: 40
    anchors.bottom: parent ? parent.bottom : undefined
    color: Qt.rgba(0, 0, 0, 0.8)
    state: "Off"

    states: [
        State {
            name: "On"
            PropertyChanges { target: h_bar; anchors.bottomMargin: 0; focus: true }
        },
        State {
            name: "Off"
            PropertyChanges { target: h_bar; anchors.bottomMargin: hView.demoMode ? 0 : -h_bar.height }
            StateChangeScript { script: h_bar.hideAllElements() }
        }
    ]

    Behavior on anchors.bottomMargin {
        NumberAnimation { duration: 200 }
    }

    // Holds the bar's items, so that hovering any of them counts as hovering the bar; presses
    // between the items stop here.
    MouseArea {
        id: barArea

        anchors.fill: parent
        hoverEnabled: true
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true

        Flow {
            anchors.fill: parent

            Item {
                id: logoItem
                width: 100
                height: 40

                Image {
                    anchors.centerIn: parent
                    source: "qrc:/images/logo_halvane_horizontal_small.png"
                }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onClicked: Qt.openUrlExternally(hGlobalObject.getEnterpriseWebLink())
                }
            }

            Item {
                id: playPauseItem
                objectName: "playPauseButton"
                width: 50
                height: 40

                Image {
                    objectName: "playPauseImage"
                    anchors.centerIn: parent
                    width: 20
                    height: 20
                    source: h_bar.__playbackState === MediaPlayer.PlayingState
                            ? "qrc:/images/newui/pause_mini_button.png" : "qrc:/images/newui/play_mini_button.png"
                }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        h_bar.hideAllElements()
                        h_bar.playPause()
                    }
                }
            }

            Item {
                id: positionItem
                width: 60
                height: 40

                Text {
                    objectName: "positionText"
                    anchors.centerIn: parent
                    color: "white"
                    font.pixelSize: 12
                    font.bold: true
                    text: Lib.formatTime(h_bar.__position)
                }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: h_bar.hideAllElements()
                }
            }

            Item {
                id: timelineItem
                objectName: "timeline"
                width: h_bar.width - h_bar.__busyWidth
                height: 40

                H_Slider {
                    id: timeline
                    objectName: "timelineSlider"
                    anchors.verticalCenter: parent.verticalCenter
                    x: 10
                    width: parent.width - 20
                    height: 8
                    buttonSource: "qrc:/images/button_16.png"
                    enabled: h_bar.__playbackState !== MediaPlayer.StoppedState
                    progression: h_bar.progressionOf(h_bar.__position, h_bar.__duration)
                    // Each request is taken once and forgotten, so a press where the previous
                    // one landed seeks again although the media has moved on since.
                    onNewProgressionChanged: {
                        if (newProgression < 0)
                            return
                        if (h_bar.mediaPlayer)
                            h_bar.mediaPlayer.seek(Math.round(newProgression * h_bar.__duration))
                        newProgression = -1
                    }
                }
                // Closes the panels and lets the press through to the slider.
                MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        h_bar.hideAllElements()
                        mouse.accepted = false
                    }
                }
            }

            Item {
                id: durationItem
                width: 60
                height: 40

                Text {
                    objectName: "durationText"
                    anchors.centerIn: parent
                    color: "white"
                    font.pixelSize: 12
                    font.bold: true
                    text: Lib.formatTime(h_bar.__duration)
                }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: h_bar.hideAllElements()
                }
            }

            Item {
                id: soundItem
                objectName: "soundButton"
                width: 50
                height: 40

                Image {
                    objectName: "soundImage"
                    anchors.centerIn: parent
                    source: "qrc:/images/newui/sound_" + h_bar.soundLevel(h_bar.__volume) + "_mini_button.png"
                }
                Rectangle { anchors.left: parent.left; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: h_bar.showElement(soundSlider)
                }
            }

            Item {
                id: fullScreenItem
                width: 50
                height: 40

                Image {
                    anchors.centerIn: parent
                    source: hView.fullScreen ? "qrc:/images/newui/fullscreen_off_mini_button.png"
                                             : "qrc:/images/newui/fullscreen_on_mini_button.png"
                }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        h_bar.hideAllElements()
                        hView.fullScreenMode(!hView.fullScreen)
                    }
                }
            }

            Item {
                id: sensorItem
                objectName: "sensorButton"
                width: hSensor.available ? 50 : 0
                height: 40
                visible: hSensor.available

                Image {
                    anchors.centerIn: parent
                    source: hSensor.activated ? "qrc:/images/newui/gyro_on_mini_button.png"
                                              : "qrc:/images/newui/gyro_off_mini_button.png"
                }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        h_bar.hideAllElements()
                        h_bar.gyroOnOff()
                    }
                }
            }

            Item {
                id: previousItem
                objectName: "previousButton"
                width: hGlobalObject.playListIndex !== -1 ? 50 : 0
                height: 40
                visible: hGlobalObject.playListIndex !== -1

                Image {
                    anchors.left: parent.left
                    anchors.leftMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    source: "qrc:/images/newui/arrow_left.png"
                }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        h_bar.hideAllElements()
                        hGlobalObject.playListSetPrevious()
                    }
                }
            }

            Item {
                id: nextItem
                objectName: "nextButton"
                width: hGlobalObject.playListIndex !== -1 ? 50 : 0
                height: 40
                visible: hGlobalObject.playListIndex !== -1

                Image {
                    anchors.right: parent.right
                    anchors.rightMargin: 12
                    anchors.verticalCenter: parent.verticalCenter
                    source: "qrc:/images/newui/arrow_right.png"
                }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: {
                        h_bar.hideAllElements()
                        hGlobalObject.playListSetNext()
                    }
                }
            }

            Item {
                id: effectsItem
                objectName: "effectsButton"
                width: 80
                height: 40

                Text {
                    anchors.centerIn: parent
                    color: "white"
                    font.bold: true
                    font.pixelSize: 14
                    text: qsTr("Effect")
                }
                Rectangle { anchors.right: parent.right; anchors.verticalCenter: parent.verticalCenter; width: 1; height: parent.height - 4; color: "white"; opacity: 0.5 }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: h_bar.showElement(effectsList)
                }
            }

            Item {
                id: menuItem
                objectName: "menuButton"
                width: 80
                height: 40

                Text {
                    anchors.centerIn: parent
                    color: "white"
                    font.bold: true
                    font.pixelSize: 14
                    text: qsTr("Menu")
                }
                H_MouseArea {
                    anchors.fill: parent
                    onPressed: h_bar.showElement(menuList)
                }
            }
        }
    }

    // The volume panel rises out of the bar above the sound button; outside that region it is cut
    // off, and so are the presses that would reach it there.
    Item {
        x: soundItem.x
        width: soundItem.width
        height: 150
        anchors.bottom: parent.top
        clip: true

        Rectangle {
            id: soundSlider
            objectName: "soundSlider"

            readonly property bool containsMouse: soundArea.containsMouse

            width: parent.width
            height: parent.height
            anchors.bottom: parent.bottom
            color: Qt.rgba(0, 0, 0, 0.7)
            state: "Hidden"

            states: [
                State {
                    name: "Shown"
                    PropertyChanges { target: soundSlider; anchors.bottomMargin: 0 }
                },
                State {
                    name: "Hidden"
                    PropertyChanges { target: soundSlider; anchors.bottomMargin: -soundSlider.height }
                }
            ]

            Behavior on anchors.bottomMargin {
                NumberAnimation { duration: 200 }
            }

            MouseArea {
                id: soundArea

                anchors.fill: parent
                hoverEnabled: true
                acceptedButtons: Qt.AllButtons
                onWheel: wheel.accepted = true

                H_Slider {
                    id: volumeSlider
                    objectName: "volumeSlider"
                    anchors.centerIn: parent
                    width: 8
                    height: parent.height - 20
                    horizontalMode: false
                    buttonSource: "qrc:/images/button_16.png"
                    progression: h_bar.__volume
                    onNewProgressionChanged: {
                        if (h_bar.mediaPlayer)
                            h_bar.mediaPlayer.volume = newProgression
                    }
                }
            }
        }
    }

    H_MenuPanel {
        id: effectsList
        objectName: "effectsList"
        anchors.right: parent.right
        anchors.bottom: parent.top
        width: h_bar.__menuWidth
        title: qsTr("Image Effect")

        Repeater {
            model: [
                { label: qsTr("None"), value: HShaderCodeBuilder.NO_EFFECT },
                { label: qsTr("Sepia"), value: HShaderCodeBuilder.SEPIA },
                { label: qsTr("Black & White"), value: HShaderCodeBuilder.BLACK_AND_WHITE },
                { label: qsTr("Old TV Screen"), value: HShaderCodeBuilder.TV },
                { label: qsTr("Invert"), value: HShaderCodeBuilder.INVERT },
                { label: qsTr("Red Only"), value: HShaderCodeBuilder.RED_ONLY },
                { label: qsTr("Yellow Only"), value: HShaderCodeBuilder.YELLOW_ONLY },
                { label: qsTr("Blue Only"), value: HShaderCodeBuilder.BLUE_ONLY }
            ]
            H_MenuItem {
                height: h_bar.__menuItemHeight
                text: modelData.label
                current: hShaderCodeBuilder.effect === modelData.value
                onTriggered: hShaderCodeBuilder.effect = modelData.value
            }
        }
    }

    H_ViewPanel {
        id: viewPanel
        objectName: "viewPanel"
        anchors.right: parent.right
        anchors.bottom: parent.top
        // Wider than the other panels: its choices stand in rows.
        width: 380
    }

    H_MenuPanel {
        id: videoPluginsList
        objectName: "videoPluginsList"
        anchors.right: parent.right
        anchors.bottom: parent.top
        width: h_bar.__menuWidth
        title: qsTr("Video Plugin")

        Repeater {
            id: pluginRepeater
            H_VideoPluginItem {
                value: modelData[0]
                label: modelData[1]
                description: modelData[2]
            }
        }

        // The choices are fixed for the program's life.
        Component.onCompleted: pluginRepeater.model = hVideoPlugin.pluginsList()
    }

    H_MenuPanel {
        id: menuList
        objectName: "menuList"
        anchors.right: parent.right
        anchors.bottom: parent.top
        width: h_bar.__menuWidth
        title: qsTr("Menu")

        H_MenuItem {
            height: h_bar.__menuItemHeight
            text: qsTr("View Projection")
            onTriggered: h_bar.showElement(viewPanel)
        }
        H_MenuItem {
            readonly property bool choice: hVideoPlugin.pluginsList().length > 1
            objectName: "videoPluginEntry"
            height: choice ? h_bar.__menuItemHeight : 0
            visible: choice
            text: qsTr("Video Plugin")
            onTriggered: h_bar.showElement(videoPluginsList)
        }
        H_MenuItem {
            height: h_bar.__menuItemHeight
            text: qsTr("UDP Communication")
            onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupSoftwareCommunication.qml")
        }
        H_MenuItem {
            height: h_bar.__menuItemHeight
            text: qsTr("Open File/Stream")
            onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupOpenFile.qml")
        }
        H_MenuItem {
            objectName: "videoHostingEntry"
            height: h_bar.__menuItemHeight
            text: qsTr("Video Hosting")
            onTriggered: h_bar.changeRootState("Wall")
        }
        H_MenuItem {
            height: h_bar.__menuItemHeight
            text: qsTr("Update")
            onTriggered: hView.checkUpdate()
        }
        H_MenuItem {
            height: h_bar.__menuItemHeight
            text: qsTr("Software Log")
            onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupSoftwareLog.qml")
        }
        H_MenuItem {
            height: h_bar.__menuItemHeight
            text: qsTr("Disclaimer")
            onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupAboutThirdParty.qml")
        }
    }
}
