# Session state: the global object (view state, QML's bridge to the core, the playlist) and the
# drop area.
target_sources(gyre-core PRIVATE
    session/HDropArea.cpp session/HDropArea.h
    session/HGlobalObject.cpp session/HGlobalObject.h
    session/HMediaFailure.cpp session/HMediaFailure.h
    session/HMediaFiles.cpp session/HMediaFiles.h
    session/HStreamProbe.cpp session/HStreamProbe.h
    session/HPlaylist.cpp session/HPlaylist.h
    session/HViewMaths.cpp session/HViewMaths.h
    session/HPictureLayout.cpp session/HPictureLayout.h
    session/HResumeStore.cpp session/HResumeStore.h
    session/HScreenPlace.cpp session/HScreenPlace.h
    session/HPlaylistFile.cpp session/HPlaylistFile.h
    session/SessionLogging.cpp session/SessionLogging.h
)
