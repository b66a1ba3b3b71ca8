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
    // A photo gets no play button, timeline, times or volume.
    property bool photo: false
    // Previous and next only where there is something to step to.
    readonly property bool __stepping: hGlobalObject.playListCount > 1
    readonly property bool panelShown: soundSlider.state === "Shown" || menuList.state === "Shown"
                                       || viewPanel.state === "Shown" || effectsList.state === "Shown"
                                       || videoPluginsList.state === "Shown"
                                       || languagesList.state === "Shown"
    // The scene does not hide the controls while the pointer rests on them.
    property bool containsMouse: barArea.containsMouse || soundSlider.containsMouse
                                 || menuList.containsMouse || viewPanel.containsMouse
                                 || effectsList.containsMouse || videoPluginsList.containsMouse
                                 || languagesList.containsMouse
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

    // A press that arrived while the bar was out of sight, at x along it: it acts on the button
    // there as if the bar had been up (the logo, which acts on a click, does not).
    function pressAt(x) {
        var item = barFlow.childAt(x, height / 2)
        if (!item || !item.visible)
            return
        if (item === timelineItem) {
            hideAllElements()
            if (!photo && timeline.enabled && timeline.width > 0)
                timeline.newProgression = Math.max(0, Math.min(1, (x - item.x - timeline.x) / timeline.width))
        } else {
            item.pressed()
        }
    }

    function hideAllElements() {
        soundSlider.state = "Hidden"
        menuList.state = "Hidden"
        viewPanel.state = "Hidden"
        effectsList.state = "Hidden"
        videoPluginsList.state = "Hidden"
        languagesList.state = "Hidden"
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

    // The volume panel of a video does not stay up over the photo that follows it.
    onPhotoChanged: {
        if (photo)
            soundSlider.state = "Hidden"
    }

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
            id: barFlow
            anchors.fill: parent

            BarButton {
                id: logoItem
                buttonWidth: 100
                source: "qrc:/images/logo_halvane_horizontal_small.png"
                onClicked: Qt.openUrlExternally(hGlobalObject.getEnterpriseWebLink())
            }

            BarButton {
                id: playPauseItem
                objectName: "playPauseButton"
                shown: !h_bar.photo
                imageWidth: 20
                imageHeight: 20
                source: h_bar.__playbackState === MediaPlayer.PlayingState
                        ? "qrc:/images/newui/pause_mini_button.png" : "qrc:/images/newui/play_mini_button.png"
                onPressed: {
                    h_bar.hideAllElements()
                    h_bar.playPause()
                }
            }

            BarButton {
                id: positionItem
                objectName: "positionText"
                shown: !h_bar.photo
                buttonWidth: 60
                rightSeparator: false
                textSize: 12
                text: Lib.formatTime(h_bar.__position)
                onPressed: h_bar.hideAllElements()
            }

            Item {
                id: timelineItem
                objectName: "timeline"
                width: h_bar.width - h_bar.__busyWidth
                height: 40

                // Where a playlist shows photos one after another: which one this is.
                Text {
                    anchors.centerIn: parent
                    visible: h_bar.photo && h_bar.__stepping
                    color: "white"
                    font.bold: true
                    font.pixelSize: 12
                    text: qsTr("Photo %1 of %2").arg(hGlobalObject.playListIndex + 1).arg(hGlobalObject.playListCount)
                }

                H_Slider {
                    id: timeline
                    objectName: "timelineSlider"
                    visible: !h_bar.photo
                    anchors.verticalCenter: parent.verticalCenter
                    x: 10
                    width: parent.width - 20
                    height: 8
                    buttonSource: "qrc:/images/button_16.png"
                    enabled: h_bar.__playbackState !== MediaPlayer.StoppedState
                    progression: Lib.progressionOf(h_bar.__position, h_bar.__duration)
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

            BarButton {
                id: durationItem
                objectName: "durationText"
                shown: !h_bar.photo
                buttonWidth: 60
                rightSeparator: false
                textSize: 12
                text: Lib.formatTime(h_bar.__duration)
                onPressed: h_bar.hideAllElements()
            }

            BarButton {
                id: soundItem
                objectName: "soundButton"
                shown: !h_bar.photo
                leftSeparator: true
                source: "qrc:/images/newui/sound_" + Lib.soundLevel(h_bar.__volume) + "_mini_button.png"
                onPressed: h_bar.showElement(soundSlider)
            }

            BarButton {
                id: fullScreenItem
                source: hView.fullScreen ? "qrc:/images/newui/fullscreen_off_mini_button.png"
                                         : "qrc:/images/newui/fullscreen_on_mini_button.png"
                onPressed: {
                    h_bar.hideAllElements()
                    hView.fullScreenMode(!hView.fullScreen)
                }
            }

            BarButton {
                id: sensorItem
                objectName: "sensorButton"
                shown: hSensor.available
                source: hSensor.activated ? "qrc:/images/newui/gyro_on_mini_button.png"
                                          : "qrc:/images/newui/gyro_off_mini_button.png"
                onPressed: {
                    h_bar.hideAllElements()
                    h_bar.gyroOnOff()
                }
            }

            BarButton {
                id: previousItem
                objectName: "previousButton"
                shown: h_bar.__stepping
                rightSeparator: false
                imageAlignment: Qt.AlignLeft
                source: "qrc:/images/newui/arrow_left.png"
                onPressed: {
                    h_bar.hideAllElements()
                    hGlobalObject.playListSetPrevious()
                }
            }

            BarButton {
                id: nextItem
                objectName: "nextButton"
                shown: h_bar.__stepping
                imageAlignment: Qt.AlignRight
                source: "qrc:/images/newui/arrow_right.png"
                onPressed: {
                    h_bar.hideAllElements()
                    hGlobalObject.playListSetNext()
                }
            }

            BarButton {
                id: effectsItem
                objectName: "effectsButton"
                buttonWidth: 80
                text: qsTr("Effect")
                onPressed: h_bar.showElement(effectsList)
            }

            BarButton {
                id: menuItem
                objectName: "menuButton"
                buttonWidth: 80
                rightSeparator: false
                text: qsTr("Menu")
                onPressed: h_bar.showElement(menuList)
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

        H_VolumePanel {
            id: soundSlider
            objectName: "soundSlider"
            mediaPlayer: h_bar.mediaPlayer
            volume: h_bar.__volume
        }
    }

    H_EffectsPanel {
        id: effectsList
        objectName: "effectsList"
        anchors.right: parent.right
        anchors.bottom: parent.top
        width: h_bar.__menuWidth
        entryHeight: h_bar.__menuItemHeight
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

    H_LanguagePanel {
        id: languagesList
        objectName: "languagesList"
        anchors.right: parent.right
        anchors.bottom: parent.top
        // Two columns of names in their own scripts.
        width: 440
    }

    H_MenuPanel {
        id: menuList
        objectName: "menuList"
        anchors.right: parent.right
        anchors.bottom: parent.top
        width: h_bar.__menuWidth
        title: qsTr("Menu")

        H_MenuItem { text: qsTr("View Projection"); onTriggered: h_bar.showElement(viewPanel) }
        H_MenuItem {
            readonly property bool choice: hVideoPlugin.pluginsList().length > 1
            objectName: "videoPluginEntry"
            height: choice ? h_bar.__menuItemHeight : 0
            visible: choice
            text: qsTr("Video Plugin")
            onTriggered: h_bar.showElement(videoPluginsList)
        }
        H_MenuItem { text: qsTr("UDP Communication"); onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupSoftwareCommunication.qml") }
        H_MenuItem { text: qsTr("Open File/Stream"); onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupOpenFile.qml") }
        H_MenuItem { objectName: "videoHostingEntry"; text: qsTr("Video Hosting"); onTriggered: h_bar.changeRootState("Wall") }
        H_MenuItem { text: qsTr("Update"); onTriggered: hView.checkUpdate() }
        H_MenuItem { objectName: "languageEntry"; text: qsTr("Language"); onTriggered: h_bar.showElement(languagesList) }
        H_MenuItem { text: qsTr("Software Log"); onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupSoftwareLog.qml") }
        H_MenuItem { text: qsTr("Disclaimer"); onTriggered: h_bar.displayPopup("qrc:/qml/popup/PopupAboutThirdParty.qml") }
    }
}
