import QtQuick 2.0

// The interface's languages in two columns, the one chosen in orange. The choice is stored at
// once and takes effect at the next start, which the panel's last line says.
H_MenuPanel {
    id: languagePanel

    title: qsTr("Language")

    Grid {
        width: parent.width
        columns: 2
        spacing: 2

        Repeater {
            model: hLanguage.languages
            H_MenuItem {
                objectName: "language_" + modelData.code
                width: (languagePanel.width - 40 - 2) / 2
                height: 30
                text: modelData.name
                current: hLanguage.chosen === modelData.code
                onTriggered: hLanguage.choose(modelData.code)
            }
        }
    }

    Text {
        width: parent.width
        height: contentHeight + 6
        horizontalAlignment: Text.AlignRight
        verticalAlignment: Text.AlignBottom
        wrapMode: Text.WordWrap
        font.pixelSize: 12
        color: Qt.rgba(0.75, 0.75, 0.75, 1)
        text: qsTr("Takes effect at the next start.")
    }
}
