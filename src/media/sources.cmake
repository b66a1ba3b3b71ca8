# What a media file says about the picture it holds: the spherical boxes of MP4 and MOV files, the
# panorama XMP of photos, read with strict bounds because the bytes come from anyone.
target_sources(gyre-core PRIVATE
    media/HJpegReader.cpp media/HJpegReader.h
    media/HMp4Index.cpp media/HMp4Index.h
    media/HPanoramaXmp.cpp media/HPanoramaXmp.h
    media/HPhotoXmpReader.cpp media/HPhotoXmpReader.h
    media/HPictureGeometry.cpp media/HPictureGeometry.h
    media/HPictureMetadata.cpp media/HPictureMetadata.h
    media/HSphericalBoxReader.cpp media/HSphericalBoxReader.h media/HSpatialAudio.h
    media/MediaLogging.cpp media/MediaLogging.h
)
