# Panorama rendering: the generated fragment shader, the view item that draws it and the source of
# the frame texture.
target_sources(gyre-core PRIVATE
    render/HShaderCodeBuilder.cpp render/HShaderCodeBuilder.h
    render/HTextureProvider.cpp render/HTextureProvider.h
    render/VeyrixView.cpp render/VeyrixView.h
    render/VeyrixViewVertexShader.h
    render/RenderLogging.cpp render/RenderLogging.h
)
