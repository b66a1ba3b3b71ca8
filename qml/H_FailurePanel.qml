import QtQuick 2.0

// What went wrong with the media the user asked for: a headline, the media's name, and beneath
// them why and what to do, as the failure state says it.
Column {
    id: h_failurePanel

    readonly property string __shown: visible ? [hFailure.headline, hFailure.mediaName, hFailure.reason].join(" | ") : ""

    spacing: 10

    // The log keeps what the user was told, for support and for end-to-end tests.
    on__ShownChanged: {
        if (__shown !== "")
            console.info("Failure shown: " + __shown)
    }

    Text {
        objectName: "failureHeadline"
        width: parent.width
        text: hFailure.headline
        color: "white"
        font.pixelSize: 20
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }

    Text {
        objectName: "failureName"
        width: parent.width
        visible: text !== ""
        text: hFailure.mediaName
        color: "#ff4012"
        font.pixelSize: 17
        font.bold: true
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideMiddle
    }

    Text {
        objectName: "failureReason"
        width: parent.width
        visible: text !== ""
        text: hFailure.reason
        color: "#e8e8e8"
        font.pixelSize: 16
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }

    Text {
        objectName: "failurePlaylist"
        width: parent.width
        visible: text !== ""
        // Read again with each failure: the playlist has marked its entry by then.
        text: hFailure.headline === "" || hGlobalObject.playListIsEmpty() ? ""
              : hGlobalObject.playListAllFailed() ? qsTr("No entry of the playlist could be shown.")
              : qsTr("The playlist goes on with the next entry in a moment.")
        color: "#b0b0b0"
        font.pixelSize: 14
        font.italic: true
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.WordWrap
    }
}
