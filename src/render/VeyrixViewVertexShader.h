#pragma once

// The fixed vertex shader of the panorama view item. It only places the item's one rectangle, so
// that gl_FragCoord in the generated fragment shader is the pixel's position inside the item.
namespace VeyrixViewVertexShader {

inline constexpr char source[] = "attribute highp vec4 vertex;\n"
                                 "uniform highp mat4 matrix;\n"
                                 "void main(void)\n"
                                 "{\n"
                                 "   gl_Position = matrix * vertex;\n"
                                 "}";

} // namespace VeyrixViewVertexShader
