import QtQuick 2.0
import QtQuick.Controls 1.1
import Veyrix 1.0

// The wall of hosted videos: a bar to choose what to list, how to sort it and how much of it, and to
// log in or out; below it the thumbnails of the last listing. A thumbnail opens its video like any
// other media, a user name lists that user's videos. The selectors only set up the next listing;
// nothing is fetched until Search is pressed or a user name is clicked.
FocusScope {
    id: h_hostingWall

    // One line under a thumbnail.
    component WallCaption: Text {
        anchors.horizontalCenter: parent.horizontalCenter
        width: 200
        height: 20
        color: "white"
        elide: Text.ElideRight
    }

    function requestContent() {
        wallMessage.text = ""
        hHostingManager.requestContent(contentCategory.model[contentCategory.currentIndex].value)
    }

    function requestUserContent(userName) {
        hHostingManager.requestContent(HHostingManager.UserVideos, 0, userName)
    }

    function checkHostingState() {
        var value = hHostingManager.hostingState
        if (value === HHostingManager.Disconnected)
            buttonConnection.text = qsTr("Connect")
        else if (value === HHostingManager.Connecting)
            buttonConnection.text = "..."
        else if (value === HHostingManager.Connected)
            buttonConnection.text = qsTr("Disconnect")
        else
            console.log("ERROR in H_HostingWall::checkHostingState() : hostingState '" + value
                        + "' is not supported.")
    }

    // A hosted video without a source of its own is played from its last preset.
    function openVideo(sourceUrl, presets) {
        var url = sourceUrl
        if (url === "" && presets && presets.length > 0)
            url = presets[presets.length - 1].url
        root.changeState("Video")
        hGlobalObject.openFile(url)
    }

    width: parent ? parent.width : 0
    height: parent ? parent.height : 0
    anchors.left: parent ? parent.left : undefined
    // At rest as "Off" has it, so that the wall does not slide out when the scene starts.
    anchors.leftMargin: -width
    enabled: false
    state: "Off"

    function showMessage(message) {
        wallMessage.text = message
        wallMessage.forceActiveFocus()
    }

    Component.onCompleted: {
        hHostingManager.hostingStateChanged.connect(checkHostingState)
        hHostingManager.displayMessage.connect(showMessage)
        checkHostingState()
    }
    Component.onDestruction: {
        hHostingManager.hostingStateChanged.disconnect(checkHostingState)
        hHostingManager.displayMessage.disconnect(showMessage)
    }

    // The wall offers no way back of its own.
    Keys.onPressed: {
        if (event.key === Qt.Key_Escape) {
            root.changeState("Video")
            event.accepted = true
        }
    }

    states: [
        State {
            name: "On"
            PropertyChanges { target: h_hostingWall; focus: true; anchors.leftMargin: 0; enabled: true }
        },
        State {
            name: "Off"
            PropertyChanges { target: h_hostingWall; anchors.leftMargin: -h_hostingWall.width; enabled: false }
        },
        State {
            name: "Off_popup"
            PropertyChanges { target: h_hostingWall; anchors.leftMargin: 0; enabled: false }
        }
    ]

    // Only a change of state slides the wall: a resize of the window must not bring it into view.
    transitions: Transition {
        NumberAnimation { property: "anchors.leftMargin"; duration: 200 }
    }

    // Nothing behind the wall is reachable while it is up.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Rectangle {
        id: bar

        width: parent.width
        height: 50
        color: "grey"

        Row {
            anchors.centerIn: parent
            spacing: 10

            ComboBox {
                id: contentCategory
                objectName: "contentCategory"
                width: 150
                anchors.verticalCenter: parent.verticalCenter
                textRole: "text"
                model: [
                    { text: qsTr("Public videos"), value: HHostingManager.PublicVideos },
                    { text: qsTr("My videos"), value: HHostingManager.MyVideos }
                ]
            }

            ComboBox {
                id: sortOrder
                objectName: "sortOrder"
                width: 150
                anchors.verticalCenter: parent.verticalCenter
                textRole: "text"
                model: [
                    { text: qsTr("Most recent"), value: "date" },
                    { text: qsTr("Most viewed"), value: "views" }
                ]
                onCurrentIndexChanged: {
                    if (currentIndex >= 0)
                        hHostingManager.setFirstOrderType(model[currentIndex].value)
                }
            }

            ComboBox {
                id: pageSize
                objectName: "pageSize"
                width: 80
                anchors.verticalCenter: parent.verticalCenter
                textRole: "text"
                model: [
                    { text: "20", value: 20 },
                    { text: "50", value: 50 },
                    { text: "100", value: 100 }
                ]
                onCurrentIndexChanged: {
                    if (currentIndex >= 0)
                        hHostingManager.setLimit(model[currentIndex].value)
                }
            }

            Button {
                objectName: "searchButton"
                anchors.verticalCenter: parent.verticalCenter
                text: qsTr("Search")
                onClicked: h_hostingWall.requestContent()
            }

            Button {
                id: buttonConnection
                objectName: "buttonConnection"
                anchors.verticalCenter: parent.verticalCenter
                onClicked: {
                    var value = hHostingManager.hostingState
                    if (value === HHostingManager.Disconnected)
                        root.onDisplayPopup("qrc:/qml/popup/PopupHostingConnection.qml", "Popup_Wall")
                    else if (value === HHostingManager.Connected)
                        hHostingManager.requestDisconnection()
                }
            }
        }
    }

    Rectangle {
        anchors.top: bar.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        color: Qt.rgba(0, 0, 0, 0.7)

        Text {
            objectName: "noVideosText"
            anchors.centerIn: parent
            color: "white"
            text: qsTr("No videos")
            visible: hostingview.count === 0
        }

        // While a request is out: words and a way to give up, not an animation that would repaint
        // the window for as long as the server keeps silent.
        Column {
            objectName: "progressBar"
            anchors.centerIn: parent
            spacing: 10
            z: 1
            visible: hHostingManager.requestType !== HHostingManager.None

            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                color: "white"
                text: qsTr("Waiting for %1…").arg(hHostingManager.serverName)
            }
            Button {
                objectName: "cancelRequestButton"
                anchors.horizontalCenter: parent.horizontalCenter
                text: qsTr("Cancel")
                onClicked: hHostingManager.cancelRequest()
            }
        }

        // Why the last listing failed, inside the wall: it wraps, and Return, Escape or a click
        // puts it away; the next Search goes out whether it is up or not.
        Rectangle {
            id: wallMessage
            objectName: "wallMessage"
            property alias text: wallMessageText.text
            anchors.centerIn: parent
            width: Math.min(parent.width - 60, 520)
            height: wallMessageText.height + 30
            radius: 10
            z: 2
            color: Qt.rgba(0, 0, 0, 0.8)
            visible: text !== ""

            Text {
                id: wallMessageText
                anchors.centerIn: parent
                width: parent.width - 30
                color: "#ff6b5e"
                wrapMode: Text.Wrap
                horizontalAlignment: Text.AlignHCenter
            }
            MouseArea {
                anchors.fill: parent
                onClicked: wallMessage.text = ""
            }
            Keys.onPressed: {
                if (event.key === Qt.Key_Escape || event.key === Qt.Key_Return || event.key === Qt.Key_Enter) {
                    wallMessage.text = ""
                    hostingview.forceActiveFocus()
                    event.accepted = true
                }
            }
        }

        GridView {
            id: hostingview
            objectName: "hostingview"

            anchors.fill: parent
            anchors.margins: 30
            cellWidth: 220
            cellHeight: 180
            focus: true
            clip: true
            model: videosListModel

            delegate: Item {
                width: hostingview.cellWidth
                height: hostingview.cellHeight

                Image {
                    anchors.horizontalCenter: parent.horizontalCenter
                    width: 200
                    height: 100
                    source: thumbLink

                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.PointingHandCursor
                        onClicked: h_hostingWall.openVideo(sourceUrl, presets)
                    }
                }

                WallCaption {
                    y: 110
                    text: title
                }

                WallCaption {
                    y: 130
                    text: creationDate
                }

                WallCaption {
                    y: 150
                    objectName: "userNameText"
                    font.underline: userArea.containsMouse
                    text: userName

                    MouseArea {
                        id: userArea
                        anchors.fill: parent
                        hoverEnabled: true
                        cursorShape: Qt.PointingHandCursor
                        onClicked: h_hostingWall.requestUserContent(userName)
                    }
                }
            }
        }
    }
}
