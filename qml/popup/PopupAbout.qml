import QtQuick 2.0
import "../widgets"

// The greeting at start: the product's emblem while its outer ring turns once. It closes itself
// after the turn; before that neither keys nor clicks dismiss it.
Item {
    id: popupAbout

    property bool loaded: false

    signal close()

    function closeIfLoaded() {
        if (loaded)
            popupAbout.close()
    }

    Keys.onPressed: {
        if (event.key === Qt.Key_Escape || event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
            closeIfLoaded()
        event.accepted = true
    }

    H_MouseArea {
        anchors.fill: parent
        cursorShape: Qt.ArrowCursor
        onPressed: popupAbout.closeIfLoaded()
    }

    Image {
        id: outerCircle
        objectName: "outerCircle"
        anchors.centerIn: parent
        source: "qrc:/images/newui/SplashScreen_OuterCircle.png"
    }

    Image {
        anchors.centerIn: outerCircle
        source: "qrc:/images/newui/Gyre_SplashScreen.png"
    }

    SequentialAnimation {
        running: true

        NumberAnimation {
            target: outerCircle
            property: "rotation"
            from: 0
            to: 360
            duration: 2000
        }
        ScriptAction {
            script: {
                popupAbout.loaded = true
                popupAbout.close()
            }
        }
    }
}
