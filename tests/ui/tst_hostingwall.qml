import QtQuick 2.0
import QtTest 1.2
import Veyrix 1.0
import "qrc:/qml"
import "qrc:/qml/popup"

// The wall of hosted videos and its login popup against the loopback hosting service of the test
// runner, then the wall in the main scene.
Item {
    id: scene

    width: 1200
    height: 700

    H_HostingWall {
        id: wall
        state: "On"
    }

    // Takes the media the core is asked to open.
    Connections {
        target: hGlobalObject
        function onMediaRequested(fileSource, checkFile, clearPlaylist, error) {
            mediaLoader.processFileSource(fileSource, checkFile, clearPlaylist, error)
        }
    }
    QtObject {
        id: mediaLoader
        property var opened: []
        function processFileSource(fileSource, checkFile, clearPlaylist, error) {
            opened.push(String(fileSource))
        }
    }

    SignalSpy { id: stateRequests; target: root; signalName: "stateRequested" }
    SignalSpy { id: popupRequests; target: root; signalName: "popupRequested" }
    SignalSpy { id: loginCloses; signalName: "close" }

    Component {
        id: loginComponent
        PopupHostingConnection { width: scene.width; height: scene.height }
    }

    Loader {
        id: mainScene
        anchors.fill: parent
        active: false
        focus: true
        source: "qrc:/qml/main_newui.qml"
    }

    TestCase {
        name: "HostingWall"
        when: windowShown

        property var grid: null

        function videos(users, source, presets) {
            return JSON.stringify(users.map(function(user, i) {
                return {username: user, title: "Reef " + i, creation_date: "2026-11-0" + (i + 1), thumb_link: "",
                        source: source !== undefined ? source : "https://cdn.test/v" + i + ".mp4",
                        presets: presets || [{url: "https://cdn.test/low.mp4"}], key: "k" + i}
            }))
        }

        function idle() {
            return hHostingManager.requestType === HHostingManager.None
        }

        function logIn() {
            hHostingManager.requestConnection("ana", "pw")
            tryVerify(function() { return idle() && hHostingManager.hostingState === HHostingManager.Connected })
        }

        function search(category, answer) {
            findChild(wall, "contentCategory").currentIndex = category
            hostingServer.serve(category === 0 ? "public/videos" : "oauth/videos/K9", 200, answer)
            mouseClick(findChild(wall, "searchButton"))
        }

        // The view counts and lays out a new listing only when it next draws.
        function listed(count) {
            tryVerify(idle)
            waitForRendering(grid)
            compare(grid.count, count)
        }

        function initTestCase() {
            grid = findChild(wall, "hostingview")
            hostingServer.serve("oauth/ready", 200, "{}")
            hostingServer.serve("public/token/ana/pw", 200,
                                JSON.stringify({access_token: "A1", refresh_token: "R1", api_key: "K9"}))
            tryCompare(wall, "x", 0)
        }

        function init() {
            hGlobalObject.setMediaLoader(mediaLoader)
            mediaLoader.opened = []
            stateRequests.clear()
            popupRequests.clear()
            if (hHostingManager.hostingState !== HHostingManager.Connected)
                logIn()
        }

        function cleanup() {
            hostingServer.releaseAll()
        }

        function test_search_data() {
            return [
                {tag: "public, most recent, 20", category: 0, sort: 0, size: 0, path: "public/videos",
                 order: {date: "DESC"}, limit: 20, users: ["ana", "bob", "eve"]},
                {tag: "mine, most viewed, 100", category: 1, sort: 1, size: 2, path: "oauth/videos/K9",
                 order: {views: "DESC"}, limit: 100, users: ["ana"]}
            ]
        }

        function test_search(data) {
            findChild(wall, "sortOrder").currentIndex = data.sort
            findChild(wall, "pageSize").currentIndex = data.size
            var sent = hostingServer.requestCount(data.path)
            hostingServer.hold(data.path)
            search(data.category, videos(data.users))
            tryVerify(function() { return hostingServer.requestCount(data.path) === sent + 1 })
            verify(findChild(wall, "progressBar").visible)
            tryVerify(function() { return findChild(wall, "noVideosText").visible })
            hostingServer.release(data.path)
            listed(data.users.length)
            tryVerify(function() { return !findChild(wall, "noVideosText").visible })
            verify(!findChild(wall, "progressBar").visible)
            var request = hostingServer.lastRequest()
            compare(request.path, data.path)
            var filter = JSON.parse(request.body).filter
            compare(filter.order, [data.order])
            compare(filter.limit, data.limit)
        }

        function test_userNameListsTheirVideos() {
            search(0, videos(["ana", "bob"]))
            listed(2)
            hostingServer.serve("public/videos/bob", 200, videos(["bob", "bob", "bob"]))
            var userName = findChild(grid.itemAtIndex(1), "userNameText")
            mouseMove(grid, 260, 160)
            compare([userName.text, userName.font.underline], ["bob", true])
            mouseClick(grid, 260, 160)
            listed(3)
            compare(hostingServer.lastRequest().path, "public/videos/bob")
        }

        function test_thumbnailOpens_data() {
            return [
                {tag: "its source", source: "https://cdn.test/full.mp4",
                 presets: [{url: "https://cdn.test/low.mp4"}], opened: "https://cdn.test/full.mp4"},
                {tag: "no source: the last preset", source: "",
                 presets: [{url: "https://cdn.test/low.mp4"}, {url: "https://cdn.test/high.mp4"}],
                 opened: "https://cdn.test/high.mp4"}
            ]
        }

        function test_thumbnailOpens(data) {
            search(0, videos(["ana"], data.source, data.presets))
            listed(1)
            mouseClick(grid, 110, 50)
            compare(stateRequests.count, 1)
            compare(stateRequests.signalArguments[0][0], "Video")
            compare(mediaLoader.opened, [data.opened])
        }

        // Connected, Disconnected, Connecting: what the button reads and what a click on it does.
        function test_connectionButton() {
            var button = findChild(wall, "buttonConnection")
            compare(button.text, "Disconnect")
            mouseClick(button)
            compare(hHostingManager.hostingState, HHostingManager.Disconnected)
            compare(button.text, "Connect")
            compare(popupRequests.count, 0)
            mouseClick(button)
            compare(popupRequests.count, 1)
            compare(popupRequests.signalArguments[0][0], "qrc:/qml/popup/PopupHostingConnection.qml")
            compare(popupRequests.signalArguments[0][1], "Popup_Wall")

            var sent = hostingServer.requestCount("public/token/ana/pw")
            hostingServer.hold("public/token/ana/pw")
            hHostingManager.requestConnection("ana", "pw")
            compare(button.text, "...")
            tryVerify(function() { return hostingServer.requestCount("public/token/ana/pw") === sent + 1 })
            mouseClick(button)
            compare(hHostingManager.hostingState, HHostingManager.Connecting)
            compare(popupRequests.count, 1)
            hostingServer.release("public/token/ana/pw")
            tryCompare(button, "text", "Disconnect")
        }

        function test_login_data() {
            return [
                {tag: "refused", user: "eve", password: "bad", closed: 0, state: HHostingManager.Disconnected,
                 answer: '{"error":"invalid_client","error_description":"Bad credentials"}',
                 message: "Error in server response : invalid_client Bad credentials"},
                {tag: "accepted", user: "ana", password: "pw", closed: 1, state: HHostingManager.Connected,
                 message: "Success"},
                {tag: "accepted with Return", user: "ana", password: "pw", submit: Qt.Key_Return, closed: 1,
                 state: HHostingManager.Connected, message: "Success"},
                {tag: "Escape", key: Qt.Key_Escape, closed: 1, state: HHostingManager.Disconnected, message: ""},
                {tag: "Cancel", button: "cancelButton", closed: 1, state: HHostingManager.Disconnected, message: ""}
            ]
        }

        function test_login(data) {
            hHostingManager.requestDisconnection()
            var popup = createTemporaryObject(loginComponent, scene)
            loginCloses.target = popup
            loginCloses.clear()
            popup.forceActiveFocus()
            var message = findChild(popup, "messageText")
            var inputs = [findChild(popup, "userNameInput"), findChild(popup, "passwordInput")]
            compare([inputs[0].text, inputs[1].text], ["", ""])
            if (data.user) {
                var path = "public/token/" + data.user + "/" + data.password
                if (data.answer)
                    hostingServer.serve(path, 200, data.answer)
                var typed = [data.user, data.password]
                for (var i = 0; i < typed.length; ++i) {
                    mouseClick(inputs[i])
                    for (var c = 0; c < typed[i].length; ++c)
                        keyClick(typed[i][c])
                }
                hostingServer.hold(path)
                if (data.submit)
                    keyClick(data.submit)
                else
                    mouseClick(findChild(popup, "okButton"))
                compare(message.text, "Connecting...")
                hostingServer.release(path)
                tryVerify(idle)
            } else if (data.key) {
                keyClick(data.key)
            } else {
                mouseClick(findChild(popup, data.button))
            }
            compare(message.text, data.message)
            compare(String(message.color), "#ff0000")
            compare(loginCloses.count, data.closed)
            if (data.closed)
                compare(loginCloses.signalArguments[0][0], "Wall")
            compare(hHostingManager.hostingState, data.state)
        }

        // The client outlives every login popup; a closed one must not hear later answers.
        function test_closedPopupHearsNothing() {
            hHostingManager.requestDisconnection()
            loginComponent.createObject(scene).destroy()
            wait(0)
            warningCounter.start()
            logIn()
            compare(warningCounter.warnings(), 0)
        }
    }

    // The wall as the player shows it: from the menu, under the login popup, and back.
    TestCase {
        name: "MainSceneWall"
        when: windowShown

        property var main: null

        function initTestCase() {
            wall.visible = false
            mainScene.active = true
            tryCompare(mainScene, "status", Loader.Ready)
            main = mainScene.item
            mainScene.forceActiveFocus()
            // The about splash goes by itself.
            tryCompare(findChild(main, "popupLoader"), "source", "", 6000)
            tryCompare(main, "state", "Video")
        }

        function cleanupTestCase() {
            mainScene.active = false
            wall.visible = true
        }

        function test_wallFromTheMenuAndBack() {
            hHostingManager.requestDisconnection()
            var sceneWall = findChild(main, "h_wall")
            var popupLoader = findChild(main, "popupLoader")
            compare(sceneWall.state, "Off")
            main.changeState("ControlsPanel")
            var menuButton = findChild(main, "menuButton")
            tryVerify(function() { return menuButton.mapToItem(main, 0, 0).y === main.height - 40 })
            mouseClick(menuButton)
            var menu = findChild(main, "menuList")
            tryCompare(menu, "x", main.width - menu.width)
            mouseClick(findChild(menu, "videoHostingEntry"))
            compare([main.state, sceneWall.state], ["Wall", "On"])
            tryCompare(sceneWall, "x", 0)

            mouseClick(findChild(sceneWall, "buttonConnection"))
            compare([main.state, sceneWall.state], ["Popup_Wall", "Off_popup"])
            tryCompare(popupLoader, "scale", 1)
            compare(String(popupLoader.source), "qrc:/qml/popup/PopupHostingConnection.qml")
            compare(sceneWall.x, 0)
            keyClick(Qt.Key_Escape)
            tryCompare(main, "state", "Wall")
            compare(sceneWall.state, "On")

            keyClick(Qt.Key_Escape)
            compare([main.state, sceneWall.state], ["Video", "Off"])
            tryCompare(sceneWall, "x", -sceneWall.width)
            // A wider window must not bring the wall into view.
            scene.width = 1600
            wait(100)
            compare(sceneWall.x, -1600)
            scene.width = 1200
        }
    }
}
