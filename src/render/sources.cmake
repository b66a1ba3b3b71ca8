# Panorama rendering: the generated fragment shader, the view item and the scene-graph node and
# material that draw it, the frame textures it samples and their providers, also for frames from
# another process through shared memory, and panorama photos larger than one texture, shown from tiles.
target_sources(gyre-core PRIVATE
    render/HShaderCodeBuilder.cpp render/HShaderCodeBuilder.h
    render/HTextureProvider.cpp render/HTextureProvider.h
    render/VeyrixView.cpp render/VeyrixView.h
    render/VeyrixViewVertexShader.h
    render/HPanoramaNode.cpp render/HPanoramaNode.h
    render/HPanoramaMaterial.cpp render/HPanoramaMaterial.h
    render/HFrameFormat.cpp render/HFrameFormat.h
    render/HFrameTexture.cpp render/HFrameTexture.h
    render/HFrameTextureProvider.cpp render/HFrameTextureProvider.h
    render/HSharedMemoryTexture.cpp render/HSharedMemoryTexture.h
    render/SharedMemoryManager.cpp render/SharedMemoryManager.h
    render/SharedMemoryThread.cpp render/SharedMemoryThread.h
    render/SharedMemoryFrame.cpp render/SharedMemoryFrame.h
    render/SharedMemoryInput.cpp render/SharedMemoryInput.h
    render/HSigbusGuard.cpp render/HSigbusGuard.h
    render/SharedMemoryLayout.h
    render/HSharedMemorySegment.cpp render/HSharedMemorySegment.h
    render/HTileLayout.cpp render/HTileLayout.h
    render/HTileKey.h
    render/HTileStore.cpp render/HTileStore.h
    render/HTileBands.cpp render/HTileBands.h
    render/HTileBuilder.cpp render/HTileBuilder.h
    render/HTileLoader.cpp render/HTileLoader.h
    render/HTiledTexture.cpp render/HTiledTexture.h
    render/HTileFeedback.cpp render/HTileFeedback.h
    render/HTiledPicture.cpp render/HTiledPicture.h
    render/HPhotoTiling.cpp render/HPhotoTiling.h
    render/HLiveTextures.cpp render/HLiveTextures.h
    render/RenderLogging.cpp render/RenderLogging.h
)
