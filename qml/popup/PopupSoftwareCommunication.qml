import QtQuick 2.1
import QtQuick.Controls 1.1
import Veyrix 1.0

// The settings of screen synchronisation and of this screen's place in a room of screens. It edits
// copies and writes them only on Save; the running synchronisation keeps its settings until the next
// start, the screen's place applies at once.
FocusScope {
    id: popupCommunication

    signal close()

    property string comState
    property string comIpMode
    property string comIpCustom
    property string comMulticastGroup
    property int comUrlMode: HUdpSocket.Absolute
    property bool comOrientation: true

    function loadValues() {
        comState = hGlobalObject.getSetting("application/communication/state", "off")
        comIpMode = hGlobalObject.getSetting("application/communication/ipMode", "localhost")
        comIpCustom = hGlobalObject.getSetting("application/communication/ipCustom", "192.168.1.100")
        comMulticastGroup = hGlobalObject.getSetting("application/communication/multicastGroup", "239.255.77.55")
        ttlSpinBox.value = hGlobalObject.getSetting("application/communication/multicastTtl", 1)
        portSpinBox.value = hGlobalObject.getSetting("application/communication/port", 7755)
        rateSpinBox.value = hGlobalObject.getSetting("application/communication/rate", 20)
        comUrlMode = hGlobalObject.getSetting("application/communication/urlMode", HUdpSocket.Absolute)
        comOrientation = hGlobalObject.getSetting("application/communication/orientation", true)
        yawOffsetSpinBox.value = hScreenPlace.yawOffset
        pitchOffsetSpinBox.value = hScreenPlace.pitchOffset
        rollOffsetSpinBox.value = hScreenPlace.rollOffset
        fovSpinBox.value = hScreenPlace.fov
        domeApertureSpinBox.value = hScreenPlace.domeAperture
        domeTiltSpinBox.value = hScreenPlace.domeTilt
    }

    function customAddress() {
        var octets = []
        for (var i = 0; i < octetRepeater.count; ++i) {
            var text = octetRepeater.itemAt(i).text
            octets.push(text === "" ? "0" : text)
        }
        return octets.join(".")
    }

    function saveValues() {
        hGlobalObject.setSetting("application/communication/state", comState)
        hGlobalObject.setSetting("application/communication/ipMode", comIpMode)
        hGlobalObject.setSetting("application/communication/ipCustom", customAddress())
        hGlobalObject.setSetting("application/communication/multicastGroup", multicastGroupField.text)
        hGlobalObject.setSetting("application/communication/multicastTtl", ttlSpinBox.value | 0)
        // Spin boxes hold reals; the settings hold whole numbers.
        hGlobalObject.setSetting("application/communication/port", portSpinBox.value | 0)
        hGlobalObject.setSetting("application/communication/rate", rateSpinBox.value | 0)
        hGlobalObject.setSetting("application/communication/urlMode", comUrlMode)
        hGlobalObject.setSetting("application/communication/orientation", comOrientation)
        hScreenPlace.yawOffset = yawOffsetSpinBox.value
        hScreenPlace.pitchOffset = pitchOffsetSpinBox.value
        hScreenPlace.rollOffset = rollOffsetSpinBox.value
        hScreenPlace.fov = fovSpinBox.value
        hScreenPlace.domeAperture = domeApertureSpinBox.value
        hScreenPlace.domeTilt = domeTiltSpinBox.value
    }

    function showRestartMessage() {
        var message = qsTr("You must restart to apply modifications on UDP communication.")
        // The main scene ("root") shows messages. Loaded anywhere else there is no one to tell, and
        // naming an id that does not exist would throw.
        if (typeof root !== "undefined" && root && typeof root.onDisplayMessage === "function")
            root.onDisplayMessage(message)
        else
            console.log(message)
    }

    Component.onCompleted: loadValues()

    Keys.onPressed: {
        if (event.key === Qt.Key_Escape || event.key === Qt.Key_Return || event.key === Qt.Key_Enter)
            popupCommunication.close()
        event.accepted = true
    }

    PopupPanel {
        width: 400
        height: content.height + 20

        Column {
            id: content
            x: 10
            y: 10
            width: parent.width - 20
            spacing: 15

            GroupBox {
                title: qsTr("Communication Mode")
                width: parent.width

                ExclusiveGroup { id: stateGroup }
                Row {
                    spacing: 10
                    RadioButton {
                        objectName: "stateOff"
                        text: qsTr("Off")
                        exclusiveGroup: stateGroup
                        checked: comState === "off"
                        onClicked: comState = "off"
                    }
                    RadioButton {
                        objectName: "stateMaster"
                        text: qsTr("Master")
                        exclusiveGroup: stateGroup
                        checked: comState === "master"
                        onClicked: comState = "master"
                    }
                    RadioButton {
                        objectName: "stateSlave"
                        text: qsTr("Slave")
                        exclusiveGroup: stateGroup
                        checked: comState === "slave"
                        onClicked: comState = "slave"
                    }
                }
            }

            GroupBox {
                objectName: "configuration"
                title: qsTr("Configuration")
                width: parent.width
                enabled: comState !== "off"

                Column {
                    width: parent.width
                    spacing: 10

                    GroupBox {
                        objectName: "ipAddress"
                        title: qsTr("IP Address")
                        width: parent.width
                        // A slave joins a multicast group; the other choices are where a master sends.
                        enabled: comState === "master" || comState === "slave"

                        ExclusiveGroup { id: ipModeGroup }
                        Column {
                            spacing: 6
                            Row {
                                spacing: 10
                                RadioButton {
                                    text: qsTr("Broadcast")
                                    exclusiveGroup: ipModeGroup
                                    checked: comIpMode === "broadcast"
                                    onClicked: comIpMode = "broadcast"
                                }
                                RadioButton {
                                    text: qsTr("LocalHost")
                                    exclusiveGroup: ipModeGroup
                                    checked: comIpMode === "localhost"
                                    onClicked: comIpMode = "localhost"
                                }
                                RadioButton {
                                    objectName: "ipModeCustom"
                                    text: qsTr("Custom")
                                    exclusiveGroup: ipModeGroup
                                    checked: ["broadcast", "localhost", "multicast"].indexOf(comIpMode) < 0
                                    onClicked: comIpMode = "custom"
                                }
                                RadioButton {
                                    objectName: "ipModeMulticast"
                                    text: qsTr("Multicast")
                                    exclusiveGroup: ipModeGroup
                                    checked: comIpMode === "multicast"
                                    onClicked: comIpMode = "multicast"
                                }
                            }
                            Row {
                                objectName: "multicast"
                                visible: comIpMode === "multicast"
                                spacing: 6
                                TextField {
                                    id: multicastGroupField
                                    objectName: "multicastGroup"
                                    width: 110
                                    text: comMulticastGroup
                                    // IPv4 multicast groups: 224.0.0.0 to 239.255.255.255.
                                    validator: RegExpValidator {
                                        regExp: /^(22[4-9]|23[0-9])(\.(25[0-5]|2[0-4][0-9]|1?[0-9]?[0-9])){3}$/
                                    }
                                }
                                Label {
                                    text: qsTr("TTL")
                                    anchors.verticalCenter: parent.verticalCenter
                                }
                                SpinBox {
                                    id: ttlSpinBox
                                    objectName: "multicastTtl"
                                    minimumValue: 0
                                    maximumValue: 255
                                }
                            }
                            Row {
                                objectName: "customAddress"
                                visible: ["broadcast", "localhost", "multicast"].indexOf(comIpMode) < 0
                                Repeater {
                                    id: octetRepeater
                                    model: 4
                                    Row {
                                        property alias text: octetField.text
                                        Label {
                                            visible: index > 0
                                            text: "."
                                            anchors.verticalCenter: parent.verticalCenter
                                        }
                                        TextField {
                                            id: octetField
                                            objectName: "octet" + index
                                            width: 40
                                            horizontalAlignment: TextInput.AlignHCenter
                                            inputMethodHints: Qt.ImhDigitsOnly
                                            validator: IntValidator { bottom: 0; top: 255 }
                                            text: {
                                                var parts = comIpCustom.split(".")
                                                return index < parts.length ? parts[index] : ""
                                            }
                                        }
                                    }
                                }
                            }
                        }
                    }

                    Row {
                        spacing: 10
                        Label {
                            text: qsTr("Port :")
                            anchors.verticalCenter: parent.verticalCenter
                        }
                        SpinBox {
                            id: portSpinBox
                            objectName: "portSpinBox"
                            // A port has 16 bits; anything beyond would reach some other port.
                            minimumValue: 1
                            maximumValue: 65535
                        }
                    }

                    Row {
                        spacing: 10
                        enabled: comState === "master"
                        Label {
                            text: qsTr("Refresh rate (ms) :")
                            anchors.verticalCenter: parent.verticalCenter
                        }
                        SpinBox {
                            id: rateSpinBox
                            objectName: "rateSpinBox"
                            minimumValue: 10
                            maximumValue: 1000
                        }
                    }

                    GroupBox {
                        objectName: "urlDecoding"
                        title: qsTr("URL decoding")
                        width: parent.width
                        enabled: comState === "slave"

                        ExclusiveGroup { id: urlModeGroup }
                        Row {
                            spacing: 10
                            RadioButton {
                                text: qsTr("Absolute")
                                exclusiveGroup: urlModeGroup
                                checked: comUrlMode === HUdpSocket.Absolute
                                onClicked: comUrlMode = HUdpSocket.Absolute
                            }
                            RadioButton {
                                objectName: "urlModeMovies"
                                text: qsTr("Movies")
                                exclusiveGroup: urlModeGroup
                                checked: comUrlMode === HUdpSocket.Movies
                                onClicked: comUrlMode = HUdpSocket.Movies
                            }
                            RadioButton {
                                text: qsTr("Desktop")
                                exclusiveGroup: urlModeGroup
                                checked: comUrlMode === HUdpSocket.Desktop
                                onClicked: comUrlMode = HUdpSocket.Desktop
                            }
                            RadioButton {
                                text: qsTr("Off")
                                exclusiveGroup: urlModeGroup
                                checked: comUrlMode === HUdpSocket.Off
                                onClicked: comUrlMode = HUdpSocket.Off
                            }
                        }
                    }

                    GroupBox {
                        objectName: "cameraOrientation"
                        title: qsTr("Camera orientation")
                        width: parent.width
                        enabled: comState === "slave"

                        ExclusiveGroup { id: orientationGroup }
                        Row {
                            spacing: 10
                            RadioButton {
                                text: qsTr("On")
                                exclusiveGroup: orientationGroup
                                checked: comOrientation
                                onClicked: comOrientation = true
                            }
                            RadioButton {
                                objectName: "orientationOff"
                                text: qsTr("Off")
                                exclusiveGroup: orientationGroup
                                checked: !comOrientation
                                onClicked: comOrientation = false
                            }
                        }
                    }
                }
            }

            GroupBox {
                objectName: "screenPlace"
                // Also for a screen of its own: a dome, or a field of view across the width.
                title: qsTr("This screen")
                width: parent.width

                Grid {
                    columns: 4
                    columnSpacing: 10
                    rowSpacing: 6
                    verticalItemAlignment: Grid.AlignVCenter

                    Label { text: qsTr("Yaw offset (°)") }
                    SpinBox {
                        id: yawOffsetSpinBox
                        objectName: "yawOffset"
                        width: 64
                        minimumValue: -180
                        maximumValue: 180
                    }
                    Label { text: qsTr("Field of view (°)") }
                    SpinBox {
                        id: fovSpinBox
                        objectName: "fov"
                        width: 64
                        // 0: the view's own, which zooming changes.
                        minimumValue: 0
                        maximumValue: 360
                    }
                    Label { text: qsTr("Pitch offset (°)") }
                    SpinBox {
                        id: pitchOffsetSpinBox
                        objectName: "pitchOffset"
                        width: 64
                        minimumValue: -90
                        maximumValue: 90
                    }
                    Label { text: qsTr("Dome aperture (°)") }
                    SpinBox {
                        id: domeApertureSpinBox
                        objectName: "domeAperture"
                        width: 64
                        minimumValue: 1
                        maximumValue: 360
                    }
                    Label { text: qsTr("Roll offset (°)") }
                    SpinBox {
                        id: rollOffsetSpinBox
                        objectName: "rollOffset"
                        width: 64
                        minimumValue: -180
                        maximumValue: 180
                    }
                    Label { text: qsTr("Dome tilt (°)") }
                    SpinBox {
                        id: domeTiltSpinBox
                        objectName: "domeTilt"
                        width: 64
                        minimumValue: -90
                        maximumValue: 90
                    }
                }
            }

            Row {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 10
                Button {
                    objectName: "saveButton"
                    text: qsTr("Save")
                    onClicked: {
                        popupCommunication.saveValues()
                        popupCommunication.close()
                        popupCommunication.showRestartMessage()
                    }
                }
                Button {
                    objectName: "closeButton"
                    text: qsTr("Close")
                    isDefault: true
                    onClicked: popupCommunication.close()
                }
            }
        }
    }
}
