import QtQuick 2.0
import QtMultimedia 5.0
import HVideo 1.0
import Veyrix 1.0

// Turns each request of the core into a photo or a video: photos are shown by imagePlayer, those
// too large for one texture by tiledPlayer from their tiles, videos by the media player, and `mediaPlayer` is whichever of the two is in use. The core reaches it
// only through processFileSource and syncPlaybackState.
Item {
    id: h_mediaLoader

    // The media items are seen only through the panorama, which samples their frames.
    opacity: 0

    property variant mediaPlayer: videoPlayer
    // A photo has no transport, time or sound.
    readonly property bool photo: mediaPlayer === imagePlayer || mediaPlayer === tiledPlayer
    // Set by every new source, cleared when the first media is paused.
    property bool newMedia: true
    // The first media after start-up is paused once it is under way; later media play on.
    property bool firstMedia: true

    function processFileSource(fileSource, checkFile, clearPlaylist, error) {
        mediaPlayer.mediaSource = ""
        hView.updateTitle(fileSource)

        if (clearPlaylist)
            hGlobalObject.clearPlayList()

        if (error !== undefined && error !== null && error !== "") {
            // The core has reported the failure with the file's name where it knows it.
            unloadAll()
            if (!hFailure.active)
                hFailure.reportMessage(error)
            return
        }
        hFailure.clear()

        var url = checkFile ? hGlobalObject.checkFilePath(fileSource) : fileSource
        var valid = checkFile ? hGlobalObject.isValidFilePath(url) : true
        var opened = false
        if (!valid) {
            hFailure.reportMessage(qsTr("Cannot open the file") + " '" + url + "'.")
        } else if (!hFailure.checkBeforeOpening(url)) {
            // Missing, unreadable, a folder or empty: said by the failure itself.
        } else if (hGlobalObject.isImageFile(url)) {
            videoPlayer.pause()
            videoPlayer.mediaSource = ""
            var tiled = hPhotoTiling.suits(url, hView.maxTextureSize)
            var photoPlayer = tiled ? tiledPlayer : imagePlayer
            var other = tiled ? imagePlayer : tiledPlayer
            other.mediaSource = ""
            other.visible = false
            mediaPlayer = photoPlayer
            photoPlayer.visible = true
            videoPlayer.visible = false
            opened = true
        } else if (hGlobalObject.isVideoFile(url) || !checkFile) {
            imagePlayer.mediaSource = ""
            tiledPlayer.mediaSource = ""
            mediaPlayer = videoPlayer
            videoPlayer.visible = true
            imagePlayer.visible = false
            tiledPlayer.visible = false
            opened = true
        } else {
            hFailure.reportUnsupported(url)
        }

        hView.updateTitle(url)

        if (opened) {
            // What the picture covers, from the file's own metadata, before its first frame.
            hPicture.openMedia(url)
            mediaPlayer.mediaSource = url
        } else {
            unloadAll()
        }
    }

    // Nothing of the media before stays on screen or goes on playing behind a failure.
    function unloadAll() {
        videoPlayer.close()
        imagePlayer.mediaSource = ""
        tiledPlayer.mediaSource = ""
    }

    // Follows a synchronisation master. Stopping is not followed: it left a black screen with
    // large videos.
    function syncPlaybackState(masterState) {
        if (masterState === MediaPlayer.PlayingState)
            mediaPlayer.play()
        else if (masterState === MediaPlayer.PausedState)
            mediaPlayer.pause()
        else if (masterState !== MediaPlayer.StoppedState)
            console.warn("ERROR in H_MediaLoader::syncPlaybackState() : masterState '" + masterState
                         + "' is not supported.")
    }

    // The frame's shape decides what metadata left open: a 2:1 frame is a full sphere, a band's
    // frame between 1:1 and 2:1 holds two halves stacked one above the other.
    function checkSourceRatio() {
        hPicture.setFrameSize(mediaPlayer.width, mediaPlayer.height)
    }

    onMediaPlayerChanged: checkSourceRatio()

    Binding {
        target: hShaderCodeBuilder
        property: "stacked"
        value: hPicture.stacked
    }

    Binding {
        target: hShaderCodeBuilder
        property: "stereoMode"
        value: hPicture.stereoMode
    }

    function managePlayerImage(media) {
        if (media !== mediaPlayer)
            return
        // A photo never plays, so it is never paused: no play button, no pause screen. (Handled
        // as a paused first media, whether its pause screen stayed depended on whether the photo
        // was decoded again once the window had learnt its largest texture size.)
        if (media === imagePlayer || media === tiledPlayer) {
            h_bar.showPlayerImage("")
            return
        }
        if (media.playerStatus === MediaPlayer.Buffered) {
            if (firstMedia) {
                if (media.playbackState === MediaPlayer.PlayingState) {
                    h_bar.showPlayerImage("qrc:/images/newui/play_icon.png")
                    if (newMedia) {
                        newMedia = false
                        media.pause()
                    }
                } else if (media.playbackState === MediaPlayer.PausedState) {
                    h_bar.showPlayerImage("qrc:/images/newui/pause_icon.png")
                    firstMedia = false
                }
            } else {
                h_bar.showPlayerImage("")
            }
        } else if (media.playerStatus === MediaPlayer.NoMedia) {
            h_bar.showPlayerImage("")
        }
    }

    H_MediaPlayer {
        id: videoPlayer
        objectName: "videoPlayer"

        onWidthChanged: h_mediaLoader.checkSourceRatio()
        onHeightChanged: h_mediaLoader.checkSourceRatio()
        onLogMessageChanged: hGlobalObject.videoLogMessage = logMessage
        onPlayerStatusChanged: {
            if (playerStatus === MediaPlayer.InvalidMedia) {
                hFailure.reportPlayer(mediaSource, failure, errorString, Math.round(stallTimeout / 1000))
            } else if (playerStatus === MediaPlayer.EndOfMedia) {
                // A single video loops; a playlist steps on.
                if (!hGlobalObject.playListIsEmpty())
                    hGlobalObject.playListSetNext()
                else
                    restart()
            } else if (playerStatus === MediaPlayer.Buffered || playerStatus === MediaPlayer.NoMedia) {
                h_mediaLoader.managePlayerImage(videoPlayer)
            }
        }
        onPlaybackStateChanged: h_mediaLoader.managePlayerImage(videoPlayer)
        onMediaSourceChanged: h_mediaLoader.newMedia = true
    }

    // A photo posing as a media player.
    Image {
        id: imagePlayer
        objectName: "imagePlayer"

        property int playbackState: MediaPlayer.PlayingState
        property int playerStatus: MediaPlayer.NoMedia
        property int position: 0
        property int duration: 0
        property real volume: 0
        property string errorString: ""
        property string logMessage: qsTr("Media : ") + mediaSource
        property url mediaSource: ""

        asynchronous: true
        cache: false
        smooth: false
        sourceSize: hView.maxTextureSize
        visible: false
        // Not before the window knows its largest texture: a photo asked for sooner is decoded
        // whole, then again at the size it can be shown at.
        source: sourceSize.width > 0 ? mediaSource : ""

        // A photo is always on show.
        function play() {
        }

        function pause() {
        }

        function stop() {
        }

        function seek(offset) {
        }

        function seekJump(delta) {
        }

        function restart() {
        }

        onStatusChanged: {
            if (status === Image.Error) {
                errorString = qsTr("An error occurred while loading the image")
                playerStatus = MediaPlayer.InvalidMedia
                hFailure.reportImage(mediaSource)
                return
            }
            errorString = ""
            if (status === Image.Null)
                playerStatus = MediaPlayer.NoMedia
            else if (status === Image.Loading)
                playerStatus = MediaPlayer.Loading
            else
                playerStatus = MediaPlayer.Buffered
        }

        onPlayerStatusChanged: {
            if (playerStatus === MediaPlayer.Buffered) {
                console.info("Photo shown: " + mediaSource + " at " + sourceSize.width + "x" + sourceSize.height)
                if (!hGlobalObject.playListIsEmpty())
                    hGlobalObject.startTimerNextImage()
                h_mediaLoader.managePlayerImage(imagePlayer)
            } else if (playerStatus === MediaPlayer.NoMedia) {
                h_mediaLoader.managePlayerImage(imagePlayer)
            }
        }

        onWidthChanged: h_mediaLoader.checkSourceRatio()
        onHeightChanged: h_mediaLoader.checkSourceRatio()
        onLogMessageChanged: hGlobalObject.videoLogMessage = logMessage
        onPlaybackStateChanged: h_mediaLoader.managePlayerImage(imagePlayer)
        onMediaSourceChanged: h_mediaLoader.newMedia = true
    }

    // A photo larger than one texture, shown from its tiles; the same contract as imagePlayer.
    HTiledPicture {
        id: tiledPlayer
        objectName: "tiledPlayer"

        property int playbackState: MediaPlayer.PlayingState
        property int playerStatus: MediaPlayer.NoMedia
        property int position: 0
        property int duration: 0
        property real volume: 0
        property string logMessage: qsTr("Media : ") + mediaSource
        property url mediaSource: ""

        tiling: hPhotoTiling
        visible: false
        source: mediaSource

        function play() {
        }

        function pause() {
        }

        function stop() {
        }

        function seek(offset) {
        }

        function seekJump(delta) {
        }

        function restart() {
        }

        onStatusChanged: {
            if (status === HTiledPicture.Error) {
                playerStatus = MediaPlayer.InvalidMedia
                hFailure.reportImage(mediaSource)
            } else if (status === HTiledPicture.Null) {
                playerStatus = MediaPlayer.NoMedia
            } else if (status === HTiledPicture.Loading) {
                playerStatus = MediaPlayer.Loading
            } else {
                playerStatus = MediaPlayer.Buffered
            }
        }

        onPlayerStatusChanged: {
            if (playerStatus === MediaPlayer.Buffered) {
                console.info("Photo shown: " + mediaSource + " at " + pictureSize.width + "x"
                             + pictureSize.height + " from tiles")
                if (!hGlobalObject.playListIsEmpty())
                    hGlobalObject.startTimerNextImage()
                h_mediaLoader.managePlayerImage(tiledPlayer)
            } else if (playerStatus === MediaPlayer.NoMedia) {
                h_mediaLoader.managePlayerImage(tiledPlayer)
            }
        }

        onWidthChanged: h_mediaLoader.checkSourceRatio()
        onHeightChanged: h_mediaLoader.checkSourceRatio()
        onLogMessageChanged: hGlobalObject.videoLogMessage = logMessage
        onMediaSourceChanged: h_mediaLoader.newMedia = true
    }

    // The core asks for media and playback states by these signals.
    Connections {
        target: hGlobalObject

        function onMediaRequested(fileSource, checkFile, clearPlaylist, error) {
            h_mediaLoader.processFileSource(fileSource, checkFile, clearPlaylist, error)
        }
        function onPlaybackStateRequested(masterState) {
            h_mediaLoader.syncPlaybackState(masterState)
        }
        function onSeekRequested(player, position) {
            player.seek(position)
        }
    }

    Component.onCompleted: hGlobalObject.setMediaLoader(h_mediaLoader)
}
