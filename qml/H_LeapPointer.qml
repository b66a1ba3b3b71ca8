import QtQuick 2.0
import Veyrix 1.0

// Where hand tracking would draw the pointers of the user's fingers, over the whole scene.
Item {
    id: h_leapPointer

    anchors.fill: parent

    HLeapFingerOGL {
        anchors.fill: parent
    }
}
