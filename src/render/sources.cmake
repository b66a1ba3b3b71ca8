# Panorama rendering: the generated fragment shader, the view item that draws it and the source of
# the frame texture, also from another process through shared memory.
target_sources(gyre-core PRIVATE
    render/HShaderCodeBuilder.cpp render/HShaderCodeBuilder.h
    render/HTextureProvider.cpp render/HTextureProvider.h
    render/VeyrixView.cpp render/VeyrixView.h
    render/VeyrixViewVertexShader.h
    render/SharedMemoryManager.cpp render/SharedMemoryManager.h
    render/SharedMemoryThread.cpp render/SharedMemoryThread.h
    render/SharedMemoryLayout.h
    render/HSharedMemorySegment.cpp render/HSharedMemorySegment.h
    render/RenderLogging.cpp render/RenderLogging.h
)
