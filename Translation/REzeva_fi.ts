<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fi">
<context>
    <name>Application</name>
    <message>
        <source>OpenGL 2.0 minimum is required.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HDisplay</name>
    <message>
        <source>Other display screen is not supported on this platform.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HGlobalObject</name>
    <message>
        <source>No loaded media.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 is built on the following libraries, each under its own licence.

libVLC
Decodes and plays the videos. libVLC is free software: you may redistribute it and/or modify it under the terms of the GNU Lesser General Public License as published by the Free Software Foundation, version 2.1 of the License or (at your option) any later version. It is distributed WITHOUT ANY WARRANTY. Its source code is available from the VideoLAN project.

Qt
Provides the user interface, networking and OpenGL support. Qt is used under the terms of the GNU Lesser General Public License version 3, as published by the Free Software Foundation. It is distributed WITHOUT ANY WARRANTY. Its source code is available from the Qt Project.

You may replace these libraries with modified versions of your own; the licences above give the details of your rights.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : cannot open file .vxpl</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : cannot parse json</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : json is not an array</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : json is empty</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HHostingManager</name>
    <message>
        <source>Failed to parse server response to JSON.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error in server response : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hosting service at %1 is not reached over HTTPS: the password and the tokens would travel in the clear, so nothing is sent.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hosting service at %1 did not answer within %2 s.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hosting service at %1 answered %2 %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The hosting service at %1 cannot be reached: %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HLeap</name>
    <message>
        <source>Hand tracking is not supported on this platform.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HMediaFailure</name>
    <message>
        <source>The file does not exist: it may have been moved, renamed or deleted.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is a folder, not a file: open the media inside it.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You are not allowed to read this file.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is empty (0 bytes): it was not written or copied completely.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot open the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file format is not supported.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Its name has no extension that tells a photo or a video.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Files ending in “.%1” are neither photos nor videos that this program knows.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while loading the image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be downloaded or read.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is not a picture in a format this program reads.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture is too large to load: %1 × %2 pixels.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture&apos;s data is damaged: the file is cut short or corrupt.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The picture could not be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This media cannot be played.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file holds no video track that can be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Finding out why…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file was read, but its video could not be decoded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file is cut short: it ends before its contents do. Copy or download it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file has no index (it was not written to its end). Copy or download it again.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The file ended before any picture could be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nothing arrived for %1 s: the stream has stalled.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HOculus</name>
    <message>
        <source>Head-mounted display is not supported on this platform.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HPictureGeometry</name>
    <message>
        <source>Unknown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full sphere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Half sphere 180°</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Band %1…%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 wide</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HPictureLayout</name>
    <message>
        <source>from metadata</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from spherical XMP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from XMP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from the 2:1 frame</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>default</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over-under</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Side-by-side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>chosen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>no stereo tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>from the frame&apos;s shape</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stacked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Not stacked</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HPlaylistFile</name>
    <message>
        <source>The playlist is not valid JSON: %1 at byte %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A playlist is a list of entries in square brackets.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist names no media.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HQQuickView</name>
    <message>
        <source>There is no update for this product.
Your are already running the most up to date version : %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copyright © %1 %2. All rights reserved.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Could not check for updates: %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (build %2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 closed unexpectedly on %2.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HResumeStore</name>
    <message>
        <source>Resumed at %1 — Home to start over</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HSensor</name>
    <message>
        <source>Orientation sensor is not supported on this platform.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor initialization failed.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : no orientation sensor found.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : cannot connect to sensor.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Error : sensor data type is not supported.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor initialization succeeded.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HSpatialSound</name>
    <message>
        <source>Spatial sound · turns with the view</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HStreamProbe</name>
    <message>
        <source>The server does not answer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server does not allow seeking and the file keeps its index at the end: re-save it with the index first.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent nothing.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server sent the media, but it could not be decoded.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server&apos;s name “%1” cannot be found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the connection: nothing is listening at %1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server closed the connection before it sent the media.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The secure connection failed.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The secure connection failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The connection failed: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused access (HTTP %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server has no such file (HTTP %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server failed with an error of its own (HTTP %1).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The server refused the request (HTTP %1).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HTiledPicture</name>
    <message>
        <source>Cannot read the picture&apos;s size from %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot keep the picture&apos;s tiles: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HTranslations</name>
    <message>
        <source>System language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The language changes when the program is started again.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HUpdateManager</name>
    <message>
        <source>%1 did not answer within %2 s</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 answered %2 %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cannot be reached: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the answer of %1 is larger than %2 KB</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>the answer of %1 holds no version</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HVideoPlugin</name>
    <message>
        <source>With VLC backend you should play any video, current version is </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use VLC backend with hardware decoding DXVA 2. It&apos;s not guaranteed to work everywhere.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use VLC backend with hardware decoding through VA-API. It&apos;s not guaranteed to work everywhere.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This is the Windows native backend.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use DirectShow filters, try to use this plugin when video failed to start with others plugins.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use the system&apos;s GStreamer framework through Qt Multimedia.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>You must restart to apply modifications on video plugin.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_Bar</name>
    <message>
        <source>Effect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Menu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>View Projection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Plugin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>UDP Communication</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open File/Stream</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Update</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software Log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disclaimer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video Hosting</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photo %1 of %2</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_CrashNote</name>
    <message>
        <source>Open report folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_EffectsPanel</name>
    <message>
        <source>Image Effect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Black &amp; White</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Old TV Screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Invert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Red Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yellow Only</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Blue Only</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_FailurePanel</name>
    <message>
        <source>No entry of the playlist could be shown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>The playlist goes on with the next entry in a moment.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_Help</name>
    <message>
        <source>E : change effect </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>F : fullscreen on/off </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>G : gyro on/off </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>H : show/hide shortcuts </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>O : oculus on/off </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L : leap motion on/off </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>P : change projection </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Escape : exit fullscreen </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space : play/pause </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4/6 : move camera horizontally </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left/Right : previous/next media in playlist </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl or Alt + Left/Right : slow seek rewind/forward </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl or Alt + Up/Down : fast seek rewind/forward </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>+/- : change zoom factor </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Wheel : change zoom factor </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Click &amp; Drag : move camera </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + N : open file/stream </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl + Q : quit </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>yaw : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>pitch : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>roll : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fov : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>video fps : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>V : view panel (projection, stereo, picture) </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S : stereo auto/mono/over-under/side-by-side </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>R : left/right eye of a stereo picture </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>K : stacked auto/on/off </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B : picture auto/full sphere/band </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Home : start over </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_HostingWall</name>
    <message>
        <source>Connect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Search</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Public videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>My videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Most recent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Most viewed</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No videos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_LanguagePanel</name>
    <message>
        <source>Language</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Takes effect at the next start.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_MediaLoader</name>
    <message>
        <source>Cannot open the file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>An error occurred while loading the image</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_MediaPlayer</name>
    <message>
        <source>Error : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Media : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio bitrate : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Audio codec : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pixel aspect ratio : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Size : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video bitrate : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video codec : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video framerate : </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_PlayerImage</name>
    <message>
        <source>Drag to look around</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Space to play</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_SharedMemoryStatus</name>
    <message>
        <source>Waiting for frames from “%1”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>What the producer writes there cannot be read; the log says why.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_VideoArea</name>
    <message>
        <source>Drop your file(s) here</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>change video plugin</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>H_ViewPanel</name>
    <message>
        <source>View</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Projection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Source</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rectilinear</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Little planet</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mirror ball</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fisheye</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Auto</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mono</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Over-under</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Side-by-side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Eye on a flat screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left / top</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right / bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stacked</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Full sphere</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Band</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sound</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Headphones</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Speakers</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dome</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>HuiQuickVideoPlayerVlc</name>
    <message>
        <source>This media cannot be played.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupAboutThirdParty</name>
    <message>
        <source>Disclaimer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupFrame</name>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupHostingConnection</name>
    <message>
        <source>Username</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Password</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Success</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Waiting for %1…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show password</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupOpenFile</name>
    <message>
        <source>Open file</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open file/stream :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupSoftwareCommunication</name>
    <message>
        <source>You must restart to apply modifications on UDP communication.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Communication Mode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Off</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Master</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Slave</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LocalHost</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Custom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Port :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refresh rate (ms) :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>URL decoding</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Absolute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Movies</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Camera orientation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>On</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Close</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Multicast</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TTL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>This screen</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Yaw offset (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Field of view (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pitch offset (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dome aperture (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Roll offset (°)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dome tilt (°)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupSoftwareLog</name>
    <message>
        <source>Frames decoded : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames uploaded : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Frames lost : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Software log</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oculus Rift</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Video</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Leap Motion</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>PopupUpdateAvailable</name>
    <message>
        <source>New version available</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A new version of this product has been released</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Website</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show History</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Download installer</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Udp mode, can be master or slave.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>udp</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Path of the file(s) to read.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>main_newui</name>
    <message>
        <source>Stereo: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Right eye</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Left eye</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Picture: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
