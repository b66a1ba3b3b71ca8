import QtQuick 2.0
import Veyrix 1.0

// How the picture is drawn: the projection, the stereo layout and the eye a flat screen shows,
// the stacked layout, and what part of the sphere the picture covers. Each group says what is in
// force and where that came from (the file's metadata, its shape, the user's choice).
H_MenuPanel {
    id: viewPanel

    title: qsTr("View")

    H_ViewSection {
        objectName: "projectionSection"
        title: qsTr("Projection")
        options: [
            { label: qsTr("Source"), value: HShaderCodeBuilder.NO_PROJECTION },
            { label: qsTr("Rectilinear"), value: HShaderCodeBuilder.RECTILINEAR },
            { label: qsTr("Little planet"), value: HShaderCodeBuilder.LITTLE_PLANET },
            { label: qsTr("Mirror ball"), value: HShaderCodeBuilder.MIRROR_BALL },
            { label: qsTr("Fisheye"), value: HShaderCodeBuilder.FISHEYE },
            { label: qsTr("Dome"), value: HShaderCodeBuilder.DOME }
        ]
        current: hShaderCodeBuilder.projection
        onChosen: hShaderCodeBuilder.projection = value
    }

    H_ViewSection {
        objectName: "stereoSection"
        title: qsTr("Stereo")
        detected: hPicture.stereoText
        perRow: 4
        options: [
            { label: qsTr("Auto"), value: "auto" },
            { label: qsTr("Mono"), value: "mono" },
            { label: qsTr("Over-under"), value: "overunder" },
            { label: qsTr("Side-by-side"), value: "sidebyside" }
        ]
        current: hPicture.stereoChoice
        onChosen: hPicture.stereoChoice = value
    }

    H_ViewSection {
        objectName: "eyeSection"
        title: qsTr("Eye on a flat screen")
        perRow: 2
        options: [
            { label: qsTr("Left / top"), value: "left" },
            { label: qsTr("Right / bottom"), value: "right" }
        ]
        current: hPicture.eye
        onChosen: hPicture.eye = value
    }

    H_ViewSection {
        objectName: "stackedSection"
        title: qsTr("Stacked")
        detected: hPicture.stackedText
        options: [
            { label: qsTr("Auto"), value: "auto" },
            { label: qsTr("On"), value: "on" },
            { label: qsTr("Off"), value: "off" }
        ]
        current: hPicture.stackedChoice
        onChosen: hPicture.stackedChoice = value
    }

    H_ViewSection {
        objectName: "pictureSection"
        title: qsTr("Picture")
        detected: hPicture.pictureText
        options: [
            { label: qsTr("Auto"), value: "auto" },
            { label: qsTr("Full sphere"), value: "sphere" },
            { label: qsTr("Band"), value: "band" }
        ]
        current: hPicture.pictureChoice
        onChosen: hPicture.pictureChoice = value
    }

    H_ViewSection {
        objectName: "soundSection"
        title: qsTr("Sound")
        detected: hSpatialSound.text
        perRow: 2
        options: [
            { label: qsTr("Headphones"), value: "Headphones" },
            { label: qsTr("Speakers"), value: "Speakers" }
        ]
        current: hSpatialSound.output
        onChosen: hSpatialSound.output = value
    }
}
