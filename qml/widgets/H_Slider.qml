import QtQuick 2.0

// A rounded bar that shows a progression from 0 to 1 and lets the user pick a new one. The caller
// sets `progression` and listens to `newProgression`, which a press or a drag writes; the two are
// kept apart so that a playing media can move the bar while the user's choice is a request.
Rectangle {
    id: h_slider

    property real progression: 0
    property real newProgression: 0
    property bool horizontalMode: true
    property url buttonSource: "qrc:/images/button_32.png"

    // Where along the bar a point of the slider lies, as a fraction limited to 0..1; vertical
    // bars count from the bottom.
    function progressionAt(x, y) {
        var value = horizontalMode ? x / width : (height - y) / height
        return Math.max(0, Math.min(1, value))
    }

    radius: 5
    color: "white"

    Rectangle {
        id: progressBar

        readonly property real shown: Math.max(0, Math.min(1, h_slider.progression))

        x: 0
        y: h_slider.horizontalMode ? 0 : h_slider.height - height
        width: h_slider.horizontalMode ? h_slider.width * shown : h_slider.width
        height: h_slider.horizontalMode ? h_slider.height : h_slider.height * shown
        radius: h_slider.radius
        color: Qt.rgba(1, 0.25, 0.07, 1)
    }

    Image {
        id: handle

        source: h_slider.buttonSource
        x: h_slider.horizontalMode ? progressBar.width - width / 2 : (h_slider.width - width) / 2
        y: h_slider.horizontalMode ? (h_slider.height - height) / 2 : progressBar.y - height / 2
    }

    // Reaches past the bar so that a thin bar is easy to grab.
    H_MouseArea {
        id: sliderMouseArea

        objectName: "sliderMouseArea"
        anchors.fill: parent
        anchors.margins: -8

        function follow(mouse) {
            var point = mapToItem(h_slider, mouse.x, mouse.y)
            h_slider.newProgression = h_slider.progressionAt(point.x, point.y)
        }

        onPressed: follow(mouse)
        onPositionChanged: {
            if (pressed)
                follow(mouse)
        }
    }
}
