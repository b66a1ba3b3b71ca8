import QtQuick 2.0
import QtTest 1.2
import "qrc:/qml/popup"

// The popup host with the popups it shows, in a scene that follows its state requests the way the
// main scene does.
Item {
    id: scene

    property string rootState: "Video"
    readonly property string popupDir: "qrc:/qml/popup/"

    width: 1000
    height: 700

    H_Popup {
        id: host
        onChangeRootState: {
            scene.rootState = newState
            state = newState === "Popup" || newState === "Popup_Wall" ? "On" : "Off"
        }
    }

    SignalSpy {
        id: rootStates
        target: host
        signalName: "changeRootState"
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
        property var requests: []
        function processFileSource(fileSource, checkFile, clearPlaylist, error) {
            requests.push({url: String(fileSource), checkFile: checkFile})
        }
    }

    TestCase {
        id: testCase

        property var loader: null
        property var shownSources: []

        name: "Popup"
        when: windowShown

        function requestedStates() {
            var states = []
            for (var i = 0; i < rootStates.count; ++i)
                states.push(rootStates.signalArguments[i][0])
            return states
        }

        // Waits for the popup to be loaded and fully scaled in.
        function waitShown(file) {
            tryCompare(loader, "source", file.indexOf(":") >= 0 ? file : Qt.resolvedUrl(file))
            tryCompare(loader, "status", 1 /* Loader.Ready */)
            tryCompare(loader, "scale", 1)
            return loader.item
        }

        function waitClosed() {
            tryCompare(loader, "source", "", 3000)
            compare(loader.item, null)
        }

        function initTestCase() {
            loader = findChild(host, "popupLoader")
            loader.sourceChanged.connect(function() { shownSources.push(String(loader.source)) })
            hGlobalObject.setMediaLoader(mediaLoader)
        }

        function init() {
            rootStates.clear()
            shownSources = []
            mediaLoader.requests = []
        }

        function cleanup() {
            if (loader.item)
                loader.item.close()
            waitClosed()
        }

        function test_queueOfOne() {
            host.load(popupDir + "PopupAboutThirdParty.qml")
            compare(host.state, "On")
            waitShown(popupDir + "PopupAboutThirdParty.qml")
            host.load(popupDir + "PopupOpenFile.qml")
            host.load(popupDir + "PopupSoftwareLog.qml", "Popup_Wall")
            compare(loader.source, popupDir + "PopupAboutThirdParty.qml")

            loader.item.close()
            waitShown(popupDir + "PopupSoftwareLog.qml")
            compare(shownSources, [popupDir + "PopupAboutThirdParty.qml", "", popupDir + "PopupSoftwareLog.qml"])
            compare(requestedStates(), ["Popup", "Popup_Wall"])
            compare(host.nextQmlFile, "")

            loader.item.close()
            waitClosed()
            compare(requestedStates(), ["Popup", "Popup_Wall", "Video"])
            compare(host.state, "Off")
        }

        function test_rootStates_data() {
            return [
                {tag: "none requested, none returned", requested: undefined, file: popupDir + "PopupSoftwareLog.qml",
                 returned: undefined, shown: "Popup", after: "Video"},
                {tag: "requested and returned", requested: "Popup_Wall", file: "data/StatePopup.qml",
                 returned: "Wall", shown: "Popup_Wall", after: "Wall"},
                {tag: "empty ones", requested: "", file: "data/StatePopup.qml", returned: "",
                 shown: "Popup", after: "Video"}
            ]
        }

        function test_rootStates(data) {
            host.load(data.file.indexOf(":") >= 0 ? data.file : Qt.resolvedUrl(data.file), data.requested)
            compare(scene.rootState, data.shown)
            var popup = waitShown(data.file)
            if (data.returned === undefined)
                popup.close()
            else
                popup.close(data.returned)
            waitClosed()
            compare(scene.rootState, data.after)
        }

        function test_loadError() {
            var missing = popupDir + "PopupDoesNotExist.qml"
            ignoreWarning("ERROR in H_Popup::onStatusChanged : an error occurs when loading qml file '"
                          + missing + "'.")
            host.load(missing)
            compare(scene.rootState, "Popup")
            waitClosed()
            compare(scene.rootState, "Video")
            compare(host.state, "Off")
        }

        function test_aboutSplashCannotBeDismissed() {
            var started = Date.now()
            host.load(popupDir + "PopupAbout.qml")
            var splash = waitShown(popupDir + "PopupAbout.qml")
            compare(splash.loaded, false)
            keyClick(Qt.Key_Escape)
            keyClick(Qt.Key_Return)
            mouseClick(host)
            wait(500)
            compare(loader.item, splash)
            compare(loader.scale, 1)

            waitClosed()
            verify(Date.now() - started >= 2000, "closed after " + (Date.now() - started) + " ms")
            compare(scene.rootState, "Video")
        }

        // Typed into the popup as shown by the host: the input must have the keyboard.
        function test_openFile_data() {
            return [
                {tag: "empty", typed: "", opened: []},
                {tag: "path", typed: "/no/such/dir/clip.xyz",
                 opened: [{url: "file:///no/such/dir/clip.xyz", checkFile: false}]},
                {tag: "stream", typed: "http://127.0.0.1:9/live?channel=2",
                 opened: [{url: "http://127.0.0.1:9/live?channel=2", checkFile: false}]}
            ]
        }

        function test_openFile(data) {
            host.load(popupDir + "PopupOpenFile.qml")
            var popup = waitShown(popupDir + "PopupOpenFile.qml")
            for (var i = 0; i < data.typed.length; ++i)
                keyClick(data.typed[i])
            compare(findChild(popup, "fileInput").text, data.typed)
            keyClick(Qt.Key_Return)
            waitClosed()
            compare(mediaLoader.requests, data.opened)
        }

        function test_keysClose_data() {
            return [
                {tag: "disclaimer, Escape", file: "PopupAboutThirdParty.qml", key: Qt.Key_Escape, closes: true},
                {tag: "log, Return", file: "PopupSoftwareLog.qml", key: Qt.Key_Return, closes: true},
                {tag: "log, Space", file: "PopupSoftwareLog.qml", key: Qt.Key_Space, closes: false},
                {tag: "open file, Escape", file: "PopupOpenFile.qml", key: Qt.Key_Escape, closes: true}
            ]
        }

        function test_keysClose(data) {
            host.load(popupDir + data.file)
            waitShown(popupDir + data.file)
            keyClick(data.key)
            if (data.closes) {
                waitClosed()
                compare(scene.rootState, "Video")
            } else {
                wait(600)
                compare(loader.source, popupDir + data.file)
            }
        }
    }
}
