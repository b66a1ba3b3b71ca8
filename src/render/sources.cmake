# Panorama rendering: the generated fragment shader and the view item's fixed vertex shader.
target_sources(gyre-core PRIVATE
    render/HShaderCodeBuilder.cpp render/HShaderCodeBuilder.h
    render/VeyrixViewVertexShader.h
    render/RenderLogging.cpp render/RenderLogging.h
)
