import QtQuick 2.0
import Veyrix 1.0

// The image effects the shader can apply, one of them current.
H_MenuPanel {
    id: effectsPanel

    title: qsTr("Image Effect")

    Repeater {
        model: [
            { label: qsTr("None"), value: HShaderCodeBuilder.NO_EFFECT },
            { label: qsTr("Sepia"), value: HShaderCodeBuilder.SEPIA },
            { label: qsTr("Black & White"), value: HShaderCodeBuilder.BLACK_AND_WHITE },
            { label: qsTr("Old TV Screen"), value: HShaderCodeBuilder.TV },
            { label: qsTr("Invert"), value: HShaderCodeBuilder.INVERT },
            { label: qsTr("Red Only"), value: HShaderCodeBuilder.RED_ONLY },
            { label: qsTr("Yellow Only"), value: HShaderCodeBuilder.YELLOW_ONLY },
            { label: qsTr("Blue Only"), value: HShaderCodeBuilder.BLUE_ONLY }
        ]
        H_MenuItem {
            height: effectsPanel.entryHeight
            text: modelData.label
            current: hShaderCodeBuilder.effect === modelData.value
            onTriggered: hShaderCodeBuilder.effect = modelData.value
        }
    }
}
