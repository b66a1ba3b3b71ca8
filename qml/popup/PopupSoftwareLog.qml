import QtQuick 2.0
import QtQuick.Controls 1.1

// What the devices and the video player report about themselves: the first place to look when
// something does not work, or a video stutters.
PopupFrame {
    id: popupSoftwareLog

    title: qsTr("Software log")

    // The libvlc item counts its frames; a photo or another back end has no such counts. The media
    // loader is the main scene's; a popup shown anywhere else has none.
    readonly property string playbackStatistics: {
        var player = typeof h_mediaLoader !== "undefined" && h_mediaLoader ? h_mediaLoader.mediaPlayer : null
        var video = player ? player.item : null
        if (!video || video.framesDecoded === undefined)
            return ""
        return qsTr("Frames decoded : ") + video.framesDecoded + "\n"
                + qsTr("Frames uploaded : ") + video.framesUploaded + "\n"
                + qsTr("Frames lost : ") + video.framesLost + "\n"
    }

    ScrollView {
        id: logView
        anchors.fill: parent
        frameVisible: true
        highlightOnFocus: true

        Item {
            width: logView.viewport.width
            height: logColumn.height + 20

            Column {
                id: logColumn
                x: 10
                y: 10
                width: parent.width - 20
                spacing: 20

                SoftwareLogItem {
                    objectName: "oculusLog"
                    visible: hOculus.isSupported()
                    imageSource: "qrc:/images/newui/oculus_off_mini_button.png"
                    title: qsTr("Oculus Rift")
                    log: hOculus.logMessage
                }
                SoftwareLogItem {
                    objectName: "sensorLog"
                    imageSource: "qrc:/images/newui/gyro_off_mini_button.png"
                    title: qsTr("Sensor")
                    log: hSensor.logMessage
                }
                SoftwareLogItem {
                    objectName: "videoLog"
                    imageSource: "qrc:/images/newui/play_mini_button.png"
                    title: qsTr("Video")
                    log: hGlobalObject.videoLogMessage + popupSoftwareLog.playbackStatistics
                }
                SoftwareLogItem {
                    objectName: "leapLog"
                    visible: hLeap.isSupported()
                    imageSource: "qrc:/images/newui/leap_off_mini_button.png"
                    title: qsTr("Leap Motion")
                    log: hLeap.logMessage
                    link: hLeap.logLink
                }
            }
        }
    }
}
