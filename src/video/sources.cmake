# Video playback: the libvlc video item with its frame pool and frame texture, and the choice of video
# back end.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBVLC REQUIRED IMPORTED_TARGET libvlc)

target_sources(gyre-core PRIVATE
    video/HuiQuickVideoPlayerVlc.cpp video/HuiQuickVideoPlayerVlc.h
    video/HFramePool.cpp video/HFramePool.h
    video/HVideoFrameTexture.cpp video/HVideoFrameTexture.h
    video/HVideoPlugin.cpp video/HVideoPlugin.h
    video/HPlaybackClock.cpp video/HPlaybackClock.h
    video/HVlcEventRelay.cpp video/HVlcEventRelay.h
    video/HVlcAudioTap.cpp video/HVlcAudioTap.h
    video/HVlcFrameSink.cpp video/HVlcFrameSink.h
    video/HVlcInstance.cpp video/HVlcInstance.h
    video/VideoLogging.cpp video/VideoLogging.h
    video/HHardwareDecoder.h
)
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
    target_sources(gyre-core PRIVATE video/HHardwareDecoderVaapi.cpp)
else()
    target_sources(gyre-core PRIVATE video/HHardwareDecoderAny.cpp)
endif()
target_link_libraries(gyre-core PRIVATE PkgConfig::LIBVLC)
