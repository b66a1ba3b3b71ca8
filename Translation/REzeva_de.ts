<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Application</name>
    <message>
        <source>OpenGL 2.0 minimum is required.</source>
        <translation>Mindestens OpenGL 2.0 ist erforderlich.</translation>
    </message>
</context>
<context>
    <name>HDisplay</name>
    <message>
        <source>Other display screen is not supported on this platform.</source>
        <translation>Ein weiterer Bildschirm wird auf dieser Plattform nicht unterstützt.</translation>
    </message>
</context>
<context>
    <name>HGlobalObject</name>
    <message>
        <source>No loaded media.</source>
        <translation>Kein Medium geladen.</translation>
    </message>
    <message>
        <source>%1 is built on the following libraries, each under its own licence.

libVLC
Decodes and plays the videos. libVLC is free software: you may redistribute it and/or modify it under the terms of the GNU Lesser General Public License as published by the Free Software Foundation, version 2.1 of the License or (at your option) any later version. It is distributed WITHOUT ANY WARRANTY. Its source code is available from the VideoLAN project.

Qt
Provides the user interface, networking and OpenGL support. Qt is used under the terms of the GNU Lesser General Public License version 3, as published by the Free Software Foundation. It is distributed WITHOUT ANY WARRANTY. Its source code is available from the Qt Project.

You may replace these libraries with modified versions of your own; the licences above give the details of your rights.</source>
        <translation>%1 baut auf den folgenden Bibliotheken auf, jede unter ihrer eigenen Lizenz.

libVLC
Dekodiert und spielt die Videos. libVLC ist freie Software: Sie können sie unter den Bedingungen der GNU Lesser General Public License, wie von der Free Software Foundation veröffentlicht, weitergeben und/oder verändern, entweder gemäß Version 2.1 der Lizenz oder (nach Ihrer Wahl) jeder späteren Version. Sie wird OHNE JEDE GEWÄHRLEISTUNG verbreitet. Ihr Quelltext ist beim VideoLAN-Projekt erhältlich.

Qt
Stellt die Benutzeroberfläche, die Netzwerkfunktionen und die OpenGL-Unterstützung bereit. Qt wird unter den Bedingungen der GNU Lesser General Public License Version 3, wie von der Free Software Foundation veröffentlicht, verwendet. Es wird OHNE JEDE GEWÄHRLEISTUNG verbreitet. Sein Quelltext ist beim Qt-Projekt erhältlich.

Sie dürfen diese Bibliotheken durch eigene veränderte Fassungen ersetzen; die genannten Lizenzen beschreiben Ihre Rechte im Einzelnen.</translation>
    </message>
    <message>
        <source>Error : cannot open file .vxpl</source>
        <translation>Fehler: Die .vxpl-Datei lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>Error : cannot parse json</source>
        <translation>Fehler: Das JSON lässt sich nicht lesen</translation>
    </message>
    <message>
        <source>Error : json is not an array</source>
        <translation>Fehler: Das JSON ist keine Liste</translation>
    </message>
    <message>
        <source>Error : json is empty</source>
        <translation>Fehler: Das JSON ist leer</translation>
    </message>
</context>
<context>
    <name>HHostingManager</name>
    <message>
        <source>Failed to parse server response to JSON.</source>
        <translation>Die Antwort des Servers ist kein gültiges JSON.</translation>
    </message>
    <message>
        <source>Error in server response : </source>
        <translation>Fehler in der Antwort des Servers: </translation>
    </message>
    <message>
        <source>The hosting service at %1 is not reached over HTTPS: the password and the tokens would travel in the clear, so nothing is sent.</source>
        <translation>Der Hosting-Dienst unter %1 wird nicht über HTTPS erreicht: Passwort und Tokens gingen unverschlüsselt über das Netz, daher wird nichts gesendet.</translation>
    </message>
    <message>
        <source>Cancelled.</source>
        <translation>Abgebrochen.</translation>
    </message>
    <message>
        <source>The hosting service at %1 did not answer within %2 s.</source>
        <translation>Der Hosting-Dienst unter %1 antwortete nicht innerhalb von %2 s.</translation>
    </message>
    <message>
        <source>The hosting service at %1 answered %2 %3.</source>
        <translation>Der Hosting-Dienst unter %1 antwortete %2 %3.</translation>
    </message>
    <message>
        <source>The hosting service at %1 cannot be reached: %2</source>
        <translation>Der Hosting-Dienst unter %1 ist nicht erreichbar: %2</translation>
    </message>
</context>
<context>
    <name>HLeap</name>
    <message>
        <source>Hand tracking is not supported on this platform.</source>
        <translation>Handverfolgung wird auf dieser Plattform nicht unterstützt.</translation>
    </message>
</context>
<context>
    <name>HMediaFailure</name>
    <message>
        <source>The file does not exist: it may have been moved, renamed or deleted.</source>
        <translation>Die Datei existiert nicht: Sie wurde vielleicht verschoben, umbenannt oder gelöscht.</translation>
    </message>
    <message>
        <source>This is a folder, not a file: open the media inside it.</source>
        <translation>Das ist ein Ordner, keine Datei: Öffnen Sie die Medien darin.</translation>
    </message>
    <message>
        <source>You are not allowed to read this file.</source>
        <translation>Sie dürfen diese Datei nicht lesen.</translation>
    </message>
    <message>
        <source>The file cannot be read: %1</source>
        <translation>Die Datei kann nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>The file is empty (0 bytes): it was not written or copied completely.</source>
        <translation>Die Datei ist leer (0 Byte): Sie wurde nicht vollständig geschrieben oder kopiert.</translation>
    </message>
    <message>
        <source>Cannot open the file</source>
        <translation>Die Datei lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>The file format is not supported.</source>
        <translation>Dieses Dateiformat wird nicht unterstützt.</translation>
    </message>
    <message>
        <source>Its name has no extension that tells a photo or a video.</source>
        <translation>Ihr Name hat keine Endung, die ein Foto oder ein Video kennzeichnet.</translation>
    </message>
    <message>
        <source>Files ending in “.%1” are neither photos nor videos that this program knows.</source>
        <translation>Dateien mit der Endung „.%1“ sind weder Fotos noch Videos, die dieses Programm kennt.</translation>
    </message>
    <message>
        <source>An error occurred while loading the image</source>
        <translation>Beim Laden des Bildes ist ein Fehler aufgetreten</translation>
    </message>
    <message>
        <source>The picture could not be downloaded or read.</source>
        <translation>Das Bild konnte nicht heruntergeladen oder gelesen werden.</translation>
    </message>
    <message>
        <source>The file is not a picture in a format this program reads.</source>
        <translation>Die Datei ist kein Bild in einem Format, das dieses Programm liest.</translation>
    </message>
    <message>
        <source>The picture is too large to load: %1 × %2 pixels.</source>
        <translation>Das Bild ist zu groß zum Laden: %1 × %2 Pixel.</translation>
    </message>
    <message>
        <source>The picture&apos;s data is damaged: the file is cut short or corrupt.</source>
        <translation>Die Bilddaten sind beschädigt: Die Datei ist abgeschnitten oder fehlerhaft.</translation>
    </message>
    <message>
        <source>The picture could not be shown.</source>
        <translation>Das Bild konnte nicht angezeigt werden.</translation>
    </message>
    <message>
        <source>This media cannot be played.</source>
        <translation>Dieses Medium lässt sich nicht abspielen.</translation>
    </message>
    <message>
        <source>The file holds no video track that can be shown.</source>
        <translation>Die Datei enthält keine Videospur, die angezeigt werden kann.</translation>
    </message>
    <message>
        <source>Finding out why…</source>
        <translation>Die Ursache wird ermittelt …</translation>
    </message>
    <message>
        <source>The file was read, but its video could not be decoded.</source>
        <translation>Die Datei wurde gelesen, aber ihr Video konnte nicht dekodiert werden.</translation>
    </message>
    <message>
        <source>The file is cut short: it ends before its contents do. Copy or download it again.</source>
        <translation>Die Datei ist abgeschnitten: Sie endet vor ihrem Inhalt. Kopieren oder laden Sie sie erneut herunter.</translation>
    </message>
    <message>
        <source>The file has no index (it was not written to its end). Copy or download it again.</source>
        <translation>Die Datei hat keinen Index (sie wurde nicht bis zum Ende geschrieben). Kopieren oder laden Sie sie erneut herunter.</translation>
    </message>
    <message>
        <source>The file ended before any picture could be shown.</source>
        <translation>Die Datei endete, bevor ein Bild angezeigt werden konnte.</translation>
    </message>
    <message>
        <source>Nothing arrived for %1 s: the stream has stalled.</source>
        <translation>%1 s lang kam nichts an: Der Stream stockt.</translation>
    </message>
</context>
<context>
    <name>HOculus</name>
    <message>
        <source>Head-mounted display is not supported on this platform.</source>
        <translation>Datenbrillen werden auf dieser Plattform nicht unterstützt.</translation>
    </message>
</context>
<context>
    <name>HPictureGeometry</name>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>Full sphere</source>
        <translation>Vollkugel</translation>
    </message>
    <message>
        <source>Half sphere 180°</source>
        <translation>Halbkugel 180°</translation>
    </message>
    <message>
        <source>Band %1…%2</source>
        <translation>Band %1…%2</translation>
    </message>
    <message>
        <source>%1 wide</source>
        <translation>%1 breit</translation>
    </message>
</context>
<context>
    <name>HPictureLayout</name>
    <message>
        <source>from metadata</source>
        <translation>aus den Metadaten</translation>
    </message>
    <message>
        <source>from spherical XMP</source>
        <translation>aus sphärischem XMP</translation>
    </message>
    <message>
        <source>from XMP</source>
        <translation>aus XMP</translation>
    </message>
    <message>
        <source>from the 2:1 frame</source>
        <translation>aus dem 2:1-Bild</translation>
    </message>
    <message>
        <source>default</source>
        <translation>Vorgabe</translation>
    </message>
    <message>
        <source>Over-under</source>
        <translation>Übereinander</translation>
    </message>
    <message>
        <source>Side-by-side</source>
        <translation>Nebeneinander</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>chosen</source>
        <translation>gewählt</translation>
    </message>
    <message>
        <source>no stereo tag</source>
        <translation>keine Stereo-Angabe</translation>
    </message>
    <message>
        <source>from the frame&apos;s shape</source>
        <translation>aus der Bildform</translation>
    </message>
    <message>
        <source>Stacked</source>
        <translation>Gestapelt</translation>
    </message>
    <message>
        <source>Not stacked</source>
        <translation>Nicht gestapelt</translation>
    </message>
</context>
<context>
    <name>HPlaylistFile</name>
    <message>
        <source>The playlist is not valid JSON: %1 at byte %2.</source>
        <translation>Die Wiedergabeliste ist kein gültiges JSON: %1 bei Byte %2.</translation>
    </message>
    <message>
        <source>A playlist is a list of entries in square brackets.</source>
        <translation>Eine Wiedergabeliste ist eine Liste von Einträgen in eckigen Klammern.</translation>
    </message>
    <message>
        <source>The playlist names no media.</source>
        <translation>Die Wiedergabeliste nennt keine Medien.</translation>
    </message>
</context>
<context>
    <name>HQQuickView</name>
    <message>
        <source>There is no update for this product.
Your are already running the most up to date version : %1.</source>
        <translation>Für dieses Produkt gibt es keine Aktualisierung.
Sie verwenden bereits die neueste Version: %1.</translation>
    </message>
    <message>
        <source>Copyright © %1 %2. All rights reserved.</source>
        <translation>Copyright © %1 %2. Alle Rechte vorbehalten.</translation>
    </message>
    <message>
        <source>Could not check for updates: %1.</source>
        <translation>Die Suche nach Aktualisierungen ist fehlgeschlagen: %1.</translation>
    </message>
    <message>
        <source>%1 (build %2)</source>
        <translation>%1 (Build %2)</translation>
    </message>
    <message>
        <source>%1 closed unexpectedly on %2.</source>
        <translation>%1 wurde am %2 unerwartet beendet.</translation>
    </message>
</context>
<context>
    <name>HResumeStore</name>
    <message>
        <source>Resumed at %1 — Home to start over</source>
        <translation>Fortgesetzt bei %1 — Pos1 beginnt von vorn</translation>
    </message>
</context>
<context>
    <name>HSensor</name>
    <message>
        <source>Orientation sensor is not supported on this platform.
</source>
        <translation>Lagesensoren werden auf dieser Plattform nicht unterstützt.
</translation>
    </message>
    <message>
        <source>Sensor initialization failed.
</source>
        <translation>Der Sensor ließ sich nicht einrichten.
</translation>
    </message>
    <message>
        <source>Error : no orientation sensor found.
</source>
        <translation>Fehler: Kein Lagesensor gefunden.
</translation>
    </message>
    <message>
        <source>Error : cannot connect to sensor.
</source>
        <translation>Fehler: Keine Verbindung zum Sensor.
</translation>
    </message>
    <message>
        <source>Error : sensor data type is not supported.
</source>
        <translation>Fehler: Die Datenart des Sensors wird nicht unterstützt.
</translation>
    </message>
    <message>
        <source>Sensor initialization succeeded.
</source>
        <translation>Der Sensor ist eingerichtet.
</translation>
    </message>
</context>
<context>
    <name>HSpatialSound</name>
    <message>
        <source>Spatial sound · turns with the view</source>
        <translation>Raumklang · dreht sich mit der Ansicht</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
</context>
<context>
    <name>HStreamProbe</name>
    <message>
        <source>The server does not answer.</source>
        <translation>Der Server antwortet nicht.</translation>
    </message>
    <message>
        <source>The server does not allow seeking and the file keeps its index at the end: re-save it with the index first.</source>
        <translation>Der Server erlaubt kein Springen, und die Datei hat ihren Index am Ende: Speichern Sie sie mit dem Index am Anfang neu.</translation>
    </message>
    <message>
        <source>The server sent nothing.</source>
        <translation>Der Server hat nichts gesendet.</translation>
    </message>
    <message>
        <source>The server sent the media, but it could not be decoded.</source>
        <translation>Der Server hat das Medium gesendet, aber es konnte nicht dekodiert werden.</translation>
    </message>
    <message>
        <source>The server&apos;s name “%1” cannot be found.</source>
        <translation>Der Servername „%1“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>The server refused the connection: nothing is listening at %1.</source>
        <translation>Der Server hat die Verbindung abgelehnt: Unter %1 wartet nichts auf Verbindungen.</translation>
    </message>
    <message>
        <source>The server closed the connection before it sent the media.</source>
        <translation>Der Server hat die Verbindung geschlossen, bevor er das Medium gesendet hat.</translation>
    </message>
    <message>
        <source>The secure connection failed.</source>
        <translation>Die sichere Verbindung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The secure connection failed: %1</source>
        <translation>Die sichere Verbindung ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The connection failed: %1</source>
        <translation>Die Verbindung ist fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>The server refused access (HTTP %1).</source>
        <translation>Der Server hat den Zugriff verweigert (HTTP %1).</translation>
    </message>
    <message>
        <source>The server has no such file (HTTP %1).</source>
        <translation>Der Server hat keine solche Datei (HTTP %1).</translation>
    </message>
    <message>
        <source>The server failed with an error of its own (HTTP %1).</source>
        <translation>Auf dem Server ist ein Fehler aufgetreten (HTTP %1).</translation>
    </message>
    <message>
        <source>The server refused the request (HTTP %1).</source>
        <translation>Der Server hat die Anfrage abgelehnt (HTTP %1).</translation>
    </message>
</context>
<context>
    <name>HTiledPicture</name>
    <message>
        <source>Cannot read the picture&apos;s size from %1</source>
        <translation>Die Größe des Bildes in %1 ist nicht lesbar</translation>
    </message>
    <message>
        <source>Cannot keep the picture&apos;s tiles: %1</source>
        <translation>Die Kacheln des Bildes können nicht abgelegt werden: %1</translation>
    </message>
</context>
<context>
    <name>HTranslations</name>
    <message>
        <source>System language</source>
        <translation>Sprache des Systems</translation>
    </message>
    <message>
        <source>The language changes when the program is started again.</source>
        <translation>Die Sprache wechselt beim nächsten Start des Programms.</translation>
    </message>
</context>
<context>
    <name>HUpdateManager</name>
    <message>
        <source>%1 did not answer within %2 s</source>
        <translation>%1 antwortete nicht innerhalb von %2 s</translation>
    </message>
    <message>
        <source>%1 answered %2 %3</source>
        <translation>%1 antwortete %2 %3</translation>
    </message>
    <message>
        <source>%1 cannot be reached: %2</source>
        <translation>%1 ist nicht erreichbar: %2</translation>
    </message>
    <message>
        <source>the answer of %1 is larger than %2 KB</source>
        <translation>die Antwort von %1 ist größer als %2 KB</translation>
    </message>
    <message>
        <source>the answer of %1 holds no version</source>
        <translation>die Antwort von %1 enthält keine Version</translation>
    </message>
</context>
<context>
    <name>HVideoPlugin</name>
    <message>
        <source>With VLC backend you should play any video, current version is </source>
        <translation>Mit dem VLC-Backend sollte sich jedes Video abspielen lassen, aktuelle Version ist </translation>
    </message>
    <message>
        <source>Use VLC backend with hardware decoding DXVA 2. It&apos;s not guaranteed to work everywhere.</source>
        <translation>VLC-Backend mit Hardware-Dekodierung über DXVA 2. Das funktioniert nicht überall.</translation>
    </message>
    <message>
        <source>Use VLC backend with hardware decoding through VA-API. It&apos;s not guaranteed to work everywhere.</source>
        <translation>VLC-Backend mit Hardware-Dekodierung über VA-API. Das funktioniert nicht überall.</translation>
    </message>
    <message>
        <source>This is the Windows native backend.</source>
        <translation>Das eigene Backend von Windows.</translation>
    </message>
    <message>
        <source>Use DirectShow filters, try to use this plugin when video failed to start with others plugins.</source>
        <translation>DirectShow-Filter; versuchen Sie dieses Plugin, wenn ein Video mit den anderen nicht startet.</translation>
    </message>
    <message>
        <source>Use the system&apos;s GStreamer framework through Qt Multimedia.</source>
        <translation>Das GStreamer des Systems über Qt Multimedia.</translation>
    </message>
    <message>
        <source>You must restart to apply modifications on video plugin.</source>
        <translation>Das geänderte Video-Plugin gilt nach einem Neustart.</translation>
    </message>
</context>
<context>
    <name>H_Bar</name>
    <message>
        <source>Effect</source>
        <translation>Effekt</translation>
    </message>
    <message>
        <source>Menu</source>
        <translation>Menü</translation>
    </message>
    <message>
        <source>View Projection</source>
        <translation>Ansicht und Projektion</translation>
    </message>
    <message>
        <source>Video Plugin</source>
        <translation>Video-Plugin</translation>
    </message>
    <message>
        <source>UDP Communication</source>
        <translation>UDP-Kommunikation</translation>
    </message>
    <message>
        <source>Open File/Stream</source>
        <translation>Datei/Stream öffnen</translation>
    </message>
    <message>
        <source>Update</source>
        <translation>Aktualisierung</translation>
    </message>
    <message>
        <source>Software Log</source>
        <translation>Software-Protokoll</translation>
    </message>
    <message>
        <source>Disclaimer</source>
        <translation>Haftungsausschluss</translation>
    </message>
    <message>
        <source>Video Hosting</source>
        <translation>Video-Hosting</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Photo %1 of %2</source>
        <translation>Foto %1 von %2</translation>
    </message>
</context>
<context>
    <name>H_CrashNote</name>
    <message>
        <source>Open report folder</source>
        <translation>Berichtsordner öffnen</translation>
    </message>
    <message>
        <source>Dismiss</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>H_EffectsPanel</name>
    <message>
        <source>Image Effect</source>
        <translation>Bildeffekt</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keiner</translation>
    </message>
    <message>
        <source>Sepia</source>
        <translation>Sepia</translation>
    </message>
    <message>
        <source>Black &amp; White</source>
        <translation>Schwarzweiß</translation>
    </message>
    <message>
        <source>Old TV Screen</source>
        <translation>Alter Fernseher</translation>
    </message>
    <message>
        <source>Invert</source>
        <translation>Umkehren</translation>
    </message>
    <message>
        <source>Red Only</source>
        <translation>Nur Rot</translation>
    </message>
    <message>
        <source>Yellow Only</source>
        <translation>Nur Gelb</translation>
    </message>
    <message>
        <source>Blue Only</source>
        <translation>Nur Blau</translation>
    </message>
</context>
<context>
    <name>H_FailurePanel</name>
    <message>
        <source>No entry of the playlist could be shown.</source>
        <translation>Kein Eintrag der Wiedergabeliste konnte angezeigt werden.</translation>
    </message>
    <message>
        <source>The playlist goes on with the next entry in a moment.</source>
        <translation>Die Wiedergabeliste macht gleich mit dem nächsten Eintrag weiter.</translation>
    </message>
</context>
<context>
    <name>H_Help</name>
    <message>
        <source>E : change effect </source>
        <translation>E : Effekt wechseln </translation>
    </message>
    <message>
        <source>F : fullscreen on/off </source>
        <translation>F : Vollbild ein/aus </translation>
    </message>
    <message>
        <source>G : gyro on/off </source>
        <translation>G : Lagesensor ein/aus </translation>
    </message>
    <message>
        <source>H : show/hide shortcuts </source>
        <translation>H : Tastenkürzel zeigen/verbergen </translation>
    </message>
    <message>
        <source>O : oculus on/off </source>
        <translation>O : Datenbrille ein/aus </translation>
    </message>
    <message>
        <source>L : leap motion on/off </source>
        <translation>L : Handverfolgung ein/aus </translation>
    </message>
    <message>
        <source>P : change projection </source>
        <translation>P : Projektion wechseln </translation>
    </message>
    <message>
        <source>Escape : exit fullscreen </source>
        <translation>Escape : Vollbild verlassen </translation>
    </message>
    <message>
        <source>Space : play/pause </source>
        <translation>Leertaste : Wiedergabe/Pause </translation>
    </message>
    <message>
        <source>4/6 : move camera horizontally </source>
        <translation>4/6 : Kamera seitlich drehen </translation>
    </message>
    <message>
        <source>Left/Right : previous/next media in playlist </source>
        <translation>Links/Rechts : voriges/nächstes Medium der Liste </translation>
    </message>
    <message>
        <source>Ctrl or Alt + Left/Right : slow seek rewind/forward </source>
        <translation>Strg oder Alt + Links/Rechts : langsam zurück/vor </translation>
    </message>
    <message>
        <source>Ctrl or Alt + Up/Down : fast seek rewind/forward </source>
        <translation>Strg oder Alt + Hoch/Runter : schnell zurück/vor </translation>
    </message>
    <message>
        <source>+/- : change zoom factor </source>
        <translation>+/- : Zoom ändern </translation>
    </message>
    <message>
        <source>Wheel : change zoom factor </source>
        <translation>Mausrad : Zoom ändern </translation>
    </message>
    <message>
        <source>Click &amp; Drag : move camera </source>
        <translation>Klicken und Ziehen : Kamera drehen </translation>
    </message>
    <message>
        <source>Ctrl + N : open file/stream </source>
        <translation>Strg + N : Datei/Stream öffnen </translation>
    </message>
    <message>
        <source>Ctrl + Q : quit </source>
        <translation>Strg + Q : beenden </translation>
    </message>
    <message>
        <source>yaw : </source>
        <translation>Gieren : </translation>
    </message>
    <message>
        <source>pitch : </source>
        <translation>Nicken : </translation>
    </message>
    <message>
        <source>roll : </source>
        <translation>Rollen : </translation>
    </message>
    <message>
        <source>fov : </source>
        <translation>Blickfeld : </translation>
    </message>
    <message>
        <source>video fps : </source>
        <translation>Video-Bilder/s : </translation>
    </message>
    <message>
        <source>V : view panel (projection, stereo, picture) </source>
        <translation>V : Ansichtsfeld (Projektion, Stereo, Bild) </translation>
    </message>
    <message>
        <source>S : stereo auto/mono/over-under/side-by-side </source>
        <translation>S : Stereo automatisch/mono/übereinander/nebeneinander </translation>
    </message>
    <message>
        <source>R : left/right eye of a stereo picture </source>
        <translation>R : linkes/rechtes Auge eines Stereobilds </translation>
    </message>
    <message>
        <source>K : stacked auto/on/off </source>
        <translation>K : gestapelt automatisch/ein/aus </translation>
    </message>
    <message>
        <source>B : picture auto/full sphere/band </source>
        <translation>B : Bild automatisch/Vollkugel/Band </translation>
    </message>
    <message>
        <source>Home : start over </source>
        <translation>Pos1 : von vorn beginnen </translation>
    </message>
</context>
<context>
    <name>H_HostingWall</name>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Disconnect</source>
        <translation>Trennen</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Public videos</source>
        <translation>Öffentliche Videos</translation>
    </message>
    <message>
        <source>My videos</source>
        <translation>Meine Videos</translation>
    </message>
    <message>
        <source>Most recent</source>
        <translation>Neueste</translation>
    </message>
    <message>
        <source>Most viewed</source>
        <translation>Meistgesehen</translation>
    </message>
    <message>
        <source>No videos</source>
        <translation>Keine Videos</translation>
    </message>
    <message>
        <source>Waiting for %1…</source>
        <translation>Warte auf %1…</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>H_LanguagePanel</name>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Takes effect at the next start.</source>
        <translation>Gilt ab dem nächsten Start.</translation>
    </message>
</context>
<context>
    <name>H_MediaLoader</name>
    <message>
        <source>Cannot open the file</source>
        <translation>Die Datei lässt sich nicht öffnen</translation>
    </message>
    <message>
        <source>Media : </source>
        <translation>Medium: </translation>
    </message>
    <message>
        <source>An error occurred while loading the image</source>
        <translation>Beim Laden des Bildes ist ein Fehler aufgetreten</translation>
    </message>
</context>
<context>
    <name>H_MediaPlayer</name>
    <message>
        <source>Error : </source>
        <translation>Fehler: </translation>
    </message>
    <message>
        <source>Media : </source>
        <translation>Medium: </translation>
    </message>
    <message>
        <source>Audio bitrate : </source>
        <translation>Audio-Bitrate: </translation>
    </message>
    <message>
        <source>Audio codec : </source>
        <translation>Audio-Codec: </translation>
    </message>
    <message>
        <source>Pixel aspect ratio : </source>
        <translation>Pixel-Seitenverhältnis: </translation>
    </message>
    <message>
        <source>Resolution : </source>
        <translation>Auflösung: </translation>
    </message>
    <message>
        <source>Size : </source>
        <translation>Größe: </translation>
    </message>
    <message>
        <source>Video bitrate : </source>
        <translation>Video-Bitrate: </translation>
    </message>
    <message>
        <source>Video codec : </source>
        <translation>Video-Codec: </translation>
    </message>
    <message>
        <source>Video framerate : </source>
        <translation>Video-Bildrate: </translation>
    </message>
</context>
<context>
    <name>H_PlayerImage</name>
    <message>
        <source>Drag to look around</source>
        <translation>Ziehen zum Umsehen</translation>
    </message>
    <message>
        <source>Space to play</source>
        <translation>Leertaste zum Abspielen</translation>
    </message>
</context>
<context>
    <name>H_SharedMemoryStatus</name>
    <message>
        <source>Waiting for frames from “%1”</source>
        <translation>Warte auf Bilder von „%1“</translation>
    </message>
    <message>
        <source>What the producer writes there cannot be read; the log says why.</source>
        <translation>Was der Erzeuger dort schreibt, ist nicht lesbar; das Protokoll nennt den Grund.</translation>
    </message>
</context>
<context>
    <name>H_VideoArea</name>
    <message>
        <source>Drop your file(s) here</source>
        <translation>Datei(en) hier ablegen</translation>
    </message>
    <message>
        <source>change video plugin</source>
        <translation>Video-Plugin wechseln</translation>
    </message>
</context>
<context>
    <name>H_ViewPanel</name>
    <message>
        <source>View</source>
        <translation>Ansicht</translation>
    </message>
    <message>
        <source>Projection</source>
        <translation>Projektion</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Quelle</translation>
    </message>
    <message>
        <source>Rectilinear</source>
        <translation>Geradlinig</translation>
    </message>
    <message>
        <source>Little planet</source>
        <translation>Kleiner Planet</translation>
    </message>
    <message>
        <source>Mirror ball</source>
        <translation>Spiegelkugel</translation>
    </message>
    <message>
        <source>Fisheye</source>
        <translation>Fischauge</translation>
    </message>
    <message>
        <source>Stereo</source>
        <translation>Stereo</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Automatisch</translation>
    </message>
    <message>
        <source>Mono</source>
        <translation>Mono</translation>
    </message>
    <message>
        <source>Over-under</source>
        <translation>Übereinander</translation>
    </message>
    <message>
        <source>Side-by-side</source>
        <translation>Nebeneinander</translation>
    </message>
    <message>
        <source>Eye on a flat screen</source>
        <translation>Auge auf einem flachen Bildschirm</translation>
    </message>
    <message>
        <source>Left / top</source>
        <translation>Links / oben</translation>
    </message>
    <message>
        <source>Right / bottom</source>
        <translation>Rechts / unten</translation>
    </message>
    <message>
        <source>Stacked</source>
        <translation>Gestapelt</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Picture</source>
        <translation>Bild</translation>
    </message>
    <message>
        <source>Full sphere</source>
        <translation>Vollkugel</translation>
    </message>
    <message>
        <source>Band</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>Sound</source>
        <translation>Ton</translation>
    </message>
    <message>
        <source>Headphones</source>
        <translation>Kopfhörer</translation>
    </message>
    <message>
        <source>Speakers</source>
        <translation>Lautsprecher</translation>
    </message>
    <message>
        <source>Dome</source>
        <translation>Kuppel</translation>
    </message>
</context>
<context>
    <name>HuiQuickVideoPlayerVlc</name>
    <message>
        <source>This media cannot be played.</source>
        <translation>Dieses Medium lässt sich nicht abspielen.</translation>
    </message>
</context>
<context>
    <name>PopupAboutThirdParty</name>
    <message>
        <source>Disclaimer</source>
        <translation>Haftungsausschluss</translation>
    </message>
</context>
<context>
    <name>PopupFrame</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>PopupHostingConnection</name>
    <message>
        <source>Username</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Passwort</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Success</source>
        <translation>Erfolgreich</translation>
    </message>
    <message>
        <source>Waiting for %1…</source>
        <translation>Warte auf %1…</translation>
    </message>
    <message>
        <source>Show password</source>
        <translation>Passwort zeigen</translation>
    </message>
</context>
<context>
    <name>PopupOpenFile</name>
    <message>
        <source>Open file</source>
        <translation>Datei öffnen</translation>
    </message>
    <message>
        <source>Open file/stream :</source>
        <translation>Datei/Stream öffnen:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen …</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PopupSoftwareCommunication</name>
    <message>
        <source>You must restart to apply modifications on UDP communication.</source>
        <translation>Die geänderte UDP-Kommunikation gilt nach einem Neustart.</translation>
    </message>
    <message>
        <source>Communication Mode</source>
        <translation>Kommunikationsmodus</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Master</source>
        <translation>Master</translation>
    </message>
    <message>
        <source>Slave</source>
        <translation>Slave</translation>
    </message>
    <message>
        <source>Configuration</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>IP Address</source>
        <translation>IP-Adresse</translation>
    </message>
    <message>
        <source>Broadcast</source>
        <translation>Broadcast</translation>
    </message>
    <message>
        <source>LocalHost</source>
        <translation>Localhost</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Eigene</translation>
    </message>
    <message>
        <source>Port :</source>
        <translation>Port:</translation>
    </message>
    <message>
        <source>Refresh rate (ms) :</source>
        <translation>Senderate (ms):</translation>
    </message>
    <message>
        <source>URL decoding</source>
        <translation>URL-Auflösung</translation>
    </message>
    <message>
        <source>Absolute</source>
        <translation>Absolut</translation>
    </message>
    <message>
        <source>Movies</source>
        <translation>Filme</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Schreibtisch</translation>
    </message>
    <message>
        <source>Camera orientation</source>
        <translation>Kamerarichtung</translation>
    </message>
    <message>
        <source>On</source>
        <translation>Ein</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Multicast</source>
        <translation>Multicast</translation>
    </message>
    <message>
        <source>TTL</source>
        <translation>TTL</translation>
    </message>
    <message>
        <source>This screen</source>
        <translation>Dieser Bildschirm</translation>
    </message>
    <message>
        <source>Yaw offset (°)</source>
        <translation>Gierversatz (°)</translation>
    </message>
    <message>
        <source>Field of view (°)</source>
        <translation>Sichtfeld (°)</translation>
    </message>
    <message>
        <source>Pitch offset (°)</source>
        <translation>Nickversatz (°)</translation>
    </message>
    <message>
        <source>Dome aperture (°)</source>
        <translation>Kuppelöffnung (°)</translation>
    </message>
    <message>
        <source>Roll offset (°)</source>
        <translation>Rollversatz (°)</translation>
    </message>
    <message>
        <source>Dome tilt (°)</source>
        <translation>Kuppelneigung (°)</translation>
    </message>
</context>
<context>
    <name>PopupSoftwareLog</name>
    <message>
        <source>Frames decoded : </source>
        <translation>Dekodierte Bilder: </translation>
    </message>
    <message>
        <source>Frames uploaded : </source>
        <translation>Hochgeladene Bilder: </translation>
    </message>
    <message>
        <source>Frames lost : </source>
        <translation>Verlorene Bilder: </translation>
    </message>
    <message>
        <source>Software log</source>
        <translation>Software-Protokoll</translation>
    </message>
    <message>
        <source>Oculus Rift</source>
        <translation>Oculus Rift</translation>
    </message>
    <message>
        <source>Sensor</source>
        <translation>Sensor</translation>
    </message>
    <message>
        <source>Video</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>Leap Motion</source>
        <translation>Leap Motion</translation>
    </message>
</context>
<context>
    <name>PopupUpdateAvailable</name>
    <message>
        <source>New version available</source>
        <translation>Neue Version verfügbar</translation>
    </message>
    <message>
        <source>A new version of this product has been released</source>
        <translation>Eine neue Version dieses Produkts ist erschienen</translation>
    </message>
    <message>
        <source>Open Website</source>
        <translation>Webseite öffnen</translation>
    </message>
    <message>
        <source>Show History</source>
        <translation>Versionsgeschichte</translation>
    </message>
    <message>
        <source>Download installer</source>
        <translation>Installationsprogramm laden</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Udp mode, can be master or slave.</source>
        <translation>UDP-Modus, master oder slave.</translation>
    </message>
    <message>
        <source>udp</source>
        <translation>udp</translation>
    </message>
    <message>
        <source>Path of the file(s) to read.</source>
        <translation>Pfad der zu lesenden Datei(en).</translation>
    </message>
</context>
<context>
    <name>main_newui</name>
    <message>
        <source>Stereo: </source>
        <translation>Stereo: </translation>
    </message>
    <message>
        <source>Right eye</source>
        <translation>Rechtes Auge</translation>
    </message>
    <message>
        <source>Left eye</source>
        <translation>Linkes Auge</translation>
    </message>
    <message>
        <source>Picture: </source>
        <translation>Bild: </translation>
    </message>
</context>
</TS>
