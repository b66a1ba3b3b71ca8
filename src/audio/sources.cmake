# Sound that turns with the view: the first-order field of an ambisonic track rotated by the view
# and decoded to headphones or speakers, and the outputs it is played through.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SPATIALAUDIO REQUIRED IMPORTED_TARGET spatialaudio)
find_package(Qt5 5.15 REQUIRED COMPONENTS Multimedia)

target_sources(gyre-core PRIVATE
    audio/AudioLogging.cpp audio/AudioLogging.h
    audio/HAmbisonicDecoder.cpp audio/HAmbisonicDecoder.h
    audio/HAmbisonicRotation.cpp audio/HAmbisonicRotation.h
    audio/HAudioSink.cpp audio/HAudioSink.h
    audio/HAudioSinkFile.cpp audio/HAudioSinkFile.h
    audio/HAudioSinkQt.cpp audio/HAudioSinkQt.h
    audio/HSpatialAudioRenderer.cpp audio/HSpatialAudioRenderer.h
    audio/HSpatialSound.cpp audio/HSpatialSound.h
    audio/HStampedQueue.cpp audio/HStampedQueue.h
)
target_link_libraries(gyre-core PRIVATE PkgConfig::SPATIALAUDIO Qt5::Multimedia)
