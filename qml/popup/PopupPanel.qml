import QtQuick 2.0

// The rounded panel, in the desktop's window colour, that a dialog-like popup stands on, in the
// middle of the popup.
Rectangle {
    radius: 10
    color: panelPalette.window
    anchors.centerIn: parent

    SystemPalette { id: panelPalette }
}
