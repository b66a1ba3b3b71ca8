import QtQuick 2.0

// The mouse area of every control: touching a control counts as activity, so the controls stay
// up while they are being used.
MouseArea {
    cursorShape: Qt.PointingHandCursor

    onPressed: root.onMouseMoved()
}
