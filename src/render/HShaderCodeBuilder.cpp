#include "HShaderCodeBuilder.h"
#include "base/HAssign.h"

#include <QLatin1String>

namespace {

// The shader is the concatenation of these pieces, in the order build() appends them; nothing is
// inserted between them, and every byte (spaces and line feeds included) is part of the text.

// Precision for OpenGL ES, nothing for desktop GLSL, and the constants every other piece uses.
const char header[] = "#ifdef GL_ES \n"
                      "precision mediump float; \n"
                      "#else \n"
                      "#   define lowp \n"
                      "#   define mediump \n"
                      "#   define highp \n"
                      "#endif \n"
                      " #ifdef GL_ES \n"
                      "precision highp float; \n"
                      "#endif \n"
                      "#define pi 3.141592654\n"
                      "#define halfpi 1.570796327\n"
                      "#define twopi 6.283185308\n"
                      "#define fourpi 12.5663706\n"
                      "#define BlendHardLight(src, dest) "
                      "(src < 0.5 ? (2.0 * src * dest) : (1.0 - 2.0 * (1.0 - src) * (1.0 - dest)))\n"
                      "#define jjj (vec2(-1.))\n";

// Equirectangular angles to texture coordinates of one picture; a stereo frame's eye is placed
// in its half of the frame only after the picture's range is fitted (eyePlacement*).
const char texCoordsPlain[] = "#define toTexCoords(a) (vec2(a.x / twopi, a.y / pi))\n";

// Every uniform is declared in every variant, read or not, so the view item can always set them.
const char uniforms[] = "uniform sampler2D uSampler;uniform mat4 uMatViewInverse;uniform mat4 uColorMatrix;"
                        "uniform mat4 uMatViewInverseLeft;uniform mat4 uMatViewInverseRight;"
                        "uniform float uBrightness;uniform float uContrast;uniform float uHue;"
                        "uniform float uSaturation;uniform float uVibrance;uniform float uFov;"
                        "uniform float uTime;uniform float uVignettingRadius;uniform float uVignettingAmount;"
                        "uniform vec2 uViewportSize;uniform vec2 uViewportSizeMin;"
                        "uniform vec2 uViewportSizeRatio;uniform float uViewportWidth;"
                        "uniform vec2 uLensCenterLeft;uniform vec2 uLensCenterRight;"
                        "uniform vec2 uScreenCenterLeft;uniform vec2 uScreenCenterRight;uniform vec2 uScale;"
                        "uniform vec2 uScaleIn;uniform vec4 uHmdWarpParam;uniform float uScaleCorrector;"
                        "uniform float uCameraYaw;uniform float uCameraPitch;";
const char sphericalHelpers[] = "vec3 toSpherical(in vec3 a){float b,c,d;b=length(a);c=-atan(a.x,a.z);"
                                "c+=(1.0-step(0.0,c))*twopi;d=acos(a.y/b);return vec3(b,c,d);}\n"
                                "vec3 toCartesian(in vec3 rtp){float r=rtp.x,theta=rtp.y,phi=rtp.z;"
                                "return vec3(r*sin(theta)*sin(phi),r*cos(theta)*sin(phi),r*cos(phi));}\n";
// The same for a tiled photo, whose finest level shows single pixels of pictures tens of thousands
// wide: the colatitude from atan, since acos near the poles is off by more than a pixel in single
// precision.
const char sphericalHelpersPrecise[] =
    "vec3 toSpherical(in vec3 a){float b,c,d;b=length(a);c=-atan(a.x,a.z);"
    "c+=(1.0-step(0.0,c))*twopi;d=atan(length(a.xz),a.y);return vec3(b,c,d);}\n"
    "vec3 toCartesian(in vec3 rtp){float r=rtp.x,theta=rtp.y,phi=rtp.z;"
    "return vec3(r*sin(theta)*sin(phi),r*cos(theta)*sin(phi),r*cos(phi));}\n";
const char imageRangeUniforms[] = "uniform float uYawMin;uniform float uYawMax;uniform float uPitchMin;"
                                  "uniform float uPitchMax;\n";

// Pixel position and view matrix: one screen, or two eye halves split at uViewportWidth with a lens warp.
const char screenHelpers[] = "vec2 fragCoord() { return vec2(gl_FragCoord.x,gl_FragCoord.y); }\n"
                             "mat4 getMatViewInverse() { return uMatViewInverse; }\n";
const char screenHelpersHeadMounted[] =
    "vec2 fragCoord() {"
    " return vec2(gl_FragCoord.x-(step(uViewportWidth,gl_FragCoord.x)*uViewportWidth),gl_FragCoord.y);"
    " }\n"
    "mat4 getMatViewInverse() {"
    " return (step(uViewportWidth,gl_FragCoord.x)*uMatViewInverseRight) + "
    "(step(-uViewportWidth,-gl_FragCoord.x)*uMatViewInverseLeft);"
    " }\n"
    "vec2 getLensCenter() {"
    " return (step(uViewportWidth,gl_FragCoord.x)*uLensCenterRight) + "
    "(step(-uViewportWidth,-gl_FragCoord.x)*uLensCenterLeft);"
    " }\n"
    "vec2 getScreenCenter() {"
    " return (step(uViewportWidth,gl_FragCoord.x)*uScreenCenterRight) + "
    "(step(-uViewportWidth,-gl_FragCoord.x)*uScreenCenterLeft);"
    " }\n"
    "vec2 hmdWarp(vec2 in01) { vec2 theta = (in01 - getLensCenter()) * uScaleIn;"
    "float rSq = theta.x * theta.x + theta.y * theta.y;"
    "vec2 rvector= theta * (uHmdWarpParam.x + uHmdWarpParam.y * rSq + uHmdWarpParam.z * rSq * rSq + "
    "uHmdWarpParam.w * rSq * rSq * rSq);"
    "return getLensCenter() + uScale * rvector;}\n"
    "vec2 getDistoCoord() {"
    " return hmdWarp(vec2(gl_FragCoord.x/ (uViewportSize.x*2.0), gl_FragCoord.y / uViewportSize.y));"
    " }\n";

// p(fov in radians, pixel) -> texture coordinates, one definition per projection.
const char projectionFlat[] =
    "vec2 p(in float a, in vec2 fragCoord) {"
    "  vec2 screenPt = ((2.0 * fragCoord / uViewportSizeMin) - uViewportSizeRatio);"
    "  float scale = a / 2.0;"
    "  vec2 tp = screenPt * scale + vec2(pi + uCameraYaw, halfpi - uCameraPitch);"
    "  tp.x += twopi*(1.0-step(0.0,tp.x));  tp.x -= twopi*step(twopi,tp.x);"
    "  vec2 uv = toTexCoords(tp);  uv.y = 1.0 - uv.y;  uv.x = mod(uv.x, 1.0);  return uv;}";
const char projectionRectilinearBegin[] =
    "vec2 p(in float a, in vec2 fragCoord){float b=tan(a/2.0);"
    "vec3 screenPt = vec3(vec2(b * (2.0 * fragCoord / uViewportSizeMin - uViewportSizeRatio)), -1.0);";
const char projectionRectilinearHeadMountedCorrection[] = "screenPt.y /= uScaleCorrector;";
const char projectionRectilinearEnd[] = "vec3 pt = vec3(getMatViewInverse() * vec4(screenPt,1.0));"
                                        "return toTexCoords(toSpherical(pt).yz);}";
const char projectionLittlePlanet[] =
    "vec2 p(in float a, in vec2 fragCoord){float b,d,e,f;b=.25;"
    "vec2 c=a*(fragCoord*2./uViewportSizeMin-uViewportSizeRatio);d=dot(c,c);"
    "e=d+(b+1.)*(b+1.);f=2.*(b+1.)/e;vec3 g,h;g=vec3(vec2(f*c),1.-f);"
    "vec3 pt=vec3(getMatViewInverse()*vec4(g,1.0));return toTexCoords(toSpherical(pt).yz);}";
const char projectionMirrorBall[] =
    "vec2 p(in float a, in vec2 fragCoord){"
    "vec2 b=-a*(fragCoord*2./uViewportSizeMin-uViewportSizeRatio);vec3 c,e,f,g,h;"
    "c=vec3(b,sqrt(1.-dot(b,b)));e=vec3(getMatViewInverse()*vec4(c,1.0));"
    "f=vec3(getMatViewInverse()*vec4(0,0,1,1));g=normalize(f-2.*dot(e,f)*e);h=toSpherical(g);"
    "h.y=twopi-h.y;h.z=pi-h.z;return 1.0-toTexCoords(h.yz);} ";
// Equidistant: the angle from the axis grows with the distance from the centre. The fisheye goes
// on to a whole turn; the dome's circle ends at the shorter side's edge.
const char projectionFisheyeBegin[] =
    "vec2 p(in float a, in vec2 fragCoord){"
    " vec2 screenPt = 2.0 * fragCoord / uViewportSizeMin - uViewportSizeRatio;"
    "float r = sqrt(dot(screenPt, screenPt));";
const char projectionFisheyeLimit[] = "if (r * a > twopi) { return vec2(-1.); }";
const char projectionDomeLimit[] = "if (r > 1.0) { return vec2(-1.); }";
const char projectionFisheyeEnd[] =
    "float agl = r * a / 2.0;vec3 worldPt = vec3(screenPt * sin(agl) / r, -cos(agl));"
    "return toTexCoords(toSpherical(vec3(getMatViewInverse() * vec4(worldPt,1.0))).yz);}";

// main(): project, fit the picture's range, place the eye's picture, unstack, sample, colour.
const char mainBegin[] =
    "void main(){vec2 pixel = fragCoord() / uViewportSize;vec2 a;float qb=.017453293*uFov;"
    "highp vec3 color,frag;";
const char projectionCallBegin[] = "{ a=p(qb,fragCoord());";
// A stereo frame holds the first picture in its upper (over-under) or left (side-by-side) half;
// pixels at or right of uViewportWidth read the second. Placed after the range fit, so that a
// picture covering part of the sphere (a half sphere) is fitted within its own half and what lies
// outside it stays black instead of showing the other eye.
const char eyePlacementOverUnder[] = "if (a.x >= 0.0 && a.x <= 1.0 && a.y >= 0.0 && a.y <= 1.0) {"
                                     " a.y = 0.5 * a.y + 0.5 * step(uViewportWidth, gl_FragCoord.x); }";
const char eyePlacementSideBySide[] = "if (a.x >= 0.0 && a.x <= 1.0 && a.y >= 0.0 && a.y <= 1.0) {"
                                      " a.x = 0.5 * a.x + 0.5 * step(uViewportWidth, gl_FragCoord.x); }";
const char projectionCallEnd[] = "}";
const char yawRangeRemap[] = "float f_x = 1.0 / (abs(uYawMin - uYawMax)/twopi);\n"
                             "float g_x = f_x * (abs(-pi - uYawMin)/twopi);\n"
                             "a.x *= f_x;\n"
                             "a.x -= g_x;\n";
const char pitchRangeRemap[] = "float f_y = 1.0 / (abs(uPitchMin - uPitchMax)/pi);\n"
                               "float g_y = f_y * (abs(halfpi - uPitchMax)/pi);\n"
                               "a.y *= f_y;\n"
                               "a.y -= g_y;\n";
const char stackedRemap[] =
    "if (a.x >= 0.0 && a.x <= 1.0 && a.y >= 0.0 && a.y <= 1.0) {   if (a.x < 0.5) {"
    "       a.x *= 2.0;       a.y /= 2.0;   }   else {       a.x -= 0.5;       a.x *= 2.0;"
    "       a.y /= 2.0;       a.y += 0.5;   }}";

// A YUV frame: uSampler holds Y in its first channel, uSamplerUV U and V in its first and alpha
// channels, and the matrix takes them to RGB with the source's coefficients and levels.
const char yuvSampling[] = "uniform sampler2D uSamplerUV;uniform mat4 uYuvToRgb;\n"
                           "vec3 frameColor(in vec2 a){vec2 c=texture2D(uSamplerUV,a).ra;"
                           "return vec3(uYuvToRgb*vec4(texture2D(uSampler,a).r,c.x,c.y,1.0));}\n";

// A tiled photo: each pixel's level from how many of the picture's pixels it spans across its
// narrower side (the 360° wrap is no span): towards the poles, where a pixel spans many of the
// picture's columns but few rows, the rows keep their detail, its tile at that level, and from the page table
// the slot of the finest tile there or coarser that is loaded (alpha 0: none yet, black). The derivatives are
// core in desktop GLSL and an extension on OpenGL ES 2.0, enabled before anything else in the text.
const char tiledExtensions[] = "#ifdef GL_ES\n#extension GL_OES_standard_derivatives : enable\n#endif\n";
const char tiledSampling[] =
    "uniform sampler2D uTilePages;uniform vec4 uTilePicture;uniform vec4 uTileAtlas;uniform vec4 uTilePage;"
    "uniform float uTileFootprint;\n"
    "float tileLevel(in vec2 a){vec2 x=dFdx(a),y=dFdy(a);x.x-=floor(x.x+0.5);y.x-=floor(y.x+0.5);"
    "vec2 s=uTilePicture.xy*uTileFootprint;float t=min(length(x*s),length(y*s));"
    "return clamp(floor(log2(max(t,1.0))+0.5),0.0,uTilePage.w);}\n"
    "vec2 tileTexel(in vec2 a){return min(clamp(a,0.0,1.0)*uTilePicture.xy,uTilePicture.xy-0.001);}\n"
    "vec3 frameColor(in vec2 a){float l=tileLevel(a);vec2 c=tileTexel(a);"
    "vec2 t=floor(c/(exp2(l)*uTilePicture.z));"
    "vec4 e=texture2D(uTilePages,(vec2(uTilePage.z*2.0*(1.0-exp2(-l))+t.x,t.y)+0.5)/uTilePage.xy)*255.0;"
    "float r=floor(e.b+0.5);vec2 local=c/exp2(r)-floor(t/exp2(r-l))*uTilePicture.z;"
    "vec2 at=(floor(e.rg+0.5)*uTileAtlas.x+uTilePicture.w+local)/uTileAtlas.yz;"
    "return texture2D(uSampler,at).rgb*step(128.0,e.a);}\n";
// The request pass: the tile each pixel wants (column, row, level; alpha 0 outside the picture).
const char tileRequest[] = "{float l=tileLevel(a);vec2 t=floor(tileTexel(a)/(exp2(l)*uTilePicture.z));"
                           "float inside=step(0.0,a.x)*step(a.x,1.0)*step(0.0,a.y)*step(a.y,1.0);"
                           "gl_FragColor=vec4(t/255.0,l/255.0,inside);}";

// The colour pipeline; outside the picture is black.
const char sampling[] = "color = texture2D(uSampler,a).rgb;";
const char samplingYuv[] = "color = frameColor(a);";
const char outsideIsBlack[] = "color *= (step(0.0, a.x) * step(0.0, 1.0 - a.x));"
                              "color *= (step(0.0, a.y) * step(0.0, 1.0 - a.y));";
const char colorMatrix[] = "frag = vec4(uColorMatrix * vec4(color,1.0)).xyz;";
const char vibrance[] = "float maverage = (frag.r + frag.g + frag.b) / 3.0;"
                        "float mx = max(frag.r, max(frag.g, frag.b));"
                        "float amt = (mx - maverage) * (-uVibrance * 3.0);frag = mix(frag, vec3(mx), amt);";
const char hueAndSaturation[] =
    "float wangle = uHue * pi;float ws = sin(wangle);float wc = cos(wangle);"
    "vec3 wweights = (vec3(2.0 * wc, -sqrt(3.0) * ws - wc, sqrt(3.0) * ws - wc) + 1.0) / 3.0;"
    "float wlen = length(frag);"
    "frag = vec3(dot(frag, wweights.xyz), dot(frag, wweights.zxy), dot(frag, wweights.yzx));"
    "float waverage = (frag.r + frag.g + frag.b) / 3.0;"
    "float satPositive = step(0.0, uSaturation);"
    "float mulSat = satPositive * (1.0 - 1.0 / (1.001 - uSaturation)) + (1.0 - satPositive) * (-uSaturation);"
    "frag += (vec3(waverage) - frag) * mulSat;";
const char brightnessAndContrast[] = "frag += uBrightness;frag = (frag - 0.5) / (1.0 - uContrast) + 0.5;";

// Colour effects, applied after the adjustments.
const char effectSepia[] = "float y = 0.3 * frag.r + 0.59 * frag.g + 0.11 * frag.b;"
                           "frag = vec3(y + 0.15, y + 0.07, y - 0.12);";
const char effectBlackAndWhite[] =
    "float threshold = 0.5;float y = 0.3 *frag.r + 0.59 * frag.g + 0.11 * frag.b;"
    "y = y < threshold ? 0.0 : 1.0;frag = vec3(y, y, y);";
const char effectTv[] =
    "vec3 fxtmp = frag;fxtmp = clamp(1.4 * fxtmp * fxtmp, 0.0, 1.0);"
    "float sweepDensity = uViewportSize.y * 1.50;float sweepRate = 60.0;"
    "float v = 0.5 + ((fragCoord() / uViewportSize).y - 0.5) * (0.9 + 0.1 * sin(0.2 * uTime));"
    "fxtmp *= 0.92 + 0.08 * sin(sweepRate * uTime + sweepDensity * v);"
    "fxtmp *= 1.3 + 0.04 * (0.9 * cos(10.0 * uTime) + cos(40.0 * uTime));"
    "frag = clamp(fxtmp * vec3(0.95, 1.05, 0.95), 0.0, 1.0);";
const char effectInvert[] = "frag = 1.0 - frag;";
const char effectRedOnly[] =
    "vec3 fxtmp = frag;fxtmp.r = clamp(1.5 * fxtmp.r, 0.0, 1.0);"
    "float fxavg = (fxtmp.r + fxtmp.g + fxtmp.b) / 3.0;"
    "float thr = smoothstep(0.2, 0.8, fxtmp.r) * (1.0 - step(0.1, fxtmp.g)) * (1.0 - step(0.1, fxtmp.b));"
    "float gb = fxavg * (1.0 - thr);fxtmp = vec3(max(fxavg, thr), gb, gb);frag = fxtmp;";
const char effectYellowOnly[] =
    "vec3 fxtmp = frag;fxtmp.r = clamp(1.5 * fxtmp.r, 0.0, 1.0);"
    "fxtmp.g = clamp(1.5 * fxtmp.g, 0.0, 1.0);"
    "float fxavg = (fxtmp.r + fxtmp.g + fxtmp.b) / 3.0;"
    "float thr = smoothstep(0.2, 0.8, fxtmp.r) * smoothstep(0.2, 0.8, fxtmp.g) * (1.0 - step(0.1, fxtmp.b));"
    "float gb = fxavg * (1.0 - thr);fxtmp = vec3(max(fxavg, thr), max(fxavg, thr), gb);"
    "frag = fxtmp;";
const char effectBlueOnly[] =
    "vec3 fxtmp = frag;fxtmp.b = clamp(1.5 * fxtmp.b, 0.0, 1.0);"
    "float fxavg = (fxtmp.r + fxtmp.g + fxtmp.b) / 3.0;"
    "float thr = smoothstep(0.2, 0.8, fxtmp.b) * (1.0 - step(0.1, fxtmp.r)) * (1.0 - step(0.1, fxtmp.g));"
    "float gb = fxavg * (1.0 - thr);fxtmp = vec3(gb, gb, max(fxavg, thr));frag = fxtmp;";

const char vignetting[] = "vec3 vigtmp = frag * smoothstep(0.8, uVignettingRadius * 0.799,"
                          " distance(pixel, vec2(0.5, 0.5)) * (uVignettingAmount + uVignettingRadius));";
const char output[] = "gl_FragColor = vec4(vigtmp, 1.0);";
const char mainEnd[] = "}";

const char* eyePlacementFor(int stereoMode)
{
    switch (stereoMode) {
    case HShaderCodeBuilder::STEREO_3D_OVERUNDER:
        return eyePlacementOverUnder;
    case HShaderCodeBuilder::STEREO_3D_SIDEBYSIDE:
        return eyePlacementSideBySide;
    default:
        return "";
    }
}

const char* effectFor(int effect)
{
    switch (effect) {
    case HShaderCodeBuilder::SEPIA:
        return effectSepia;
    case HShaderCodeBuilder::BLACK_AND_WHITE:
        return effectBlackAndWhite;
    case HShaderCodeBuilder::TV:
        return effectTv;
    case HShaderCodeBuilder::INVERT:
        return effectInvert;
    case HShaderCodeBuilder::RED_ONLY:
        return effectRedOnly;
    case HShaderCodeBuilder::YELLOW_ONLY:
        return effectYellowOnly;
    case HShaderCodeBuilder::BLUE_ONLY:
        return effectBlueOnly;
    default:
        return "";
    }
}

// The next value of a cycle 0 .. bound-1. Values below 0 step up towards 0; the sum is taken wide
// so that the largest int wraps to 0 like every other value at or beyond the bound.
int nextInCycle(int value, int bound)
{
    const qint64 next = qint64(value) + 1;
    return next >= bound ? 0 : int(next);
}

} // namespace

HShaderCodeBuilder::HShaderCodeBuilder(QObject* parent) : QObject(parent)
{
}

void HShaderCodeBuilder::setOculusMode(bool value)
{
    if (assignChanged(oculusModeValue, value)) {
        emit oculusModeChanged();
    }
}

void HShaderCodeBuilder::setEffect(int value)
{
    if (assignChanged(effectValue, value)) {
        emit effectChanged();
    }
}

void HShaderCodeBuilder::setProjection(int value)
{
    if (assignChanged(projectionValue, value)) {
        emit projectionChanged();
    }
}

void HShaderCodeBuilder::setStereoMode(int value)
{
    if (assignChanged(stereoModeValue, value)) {
        emit stereoModeChanged();
    }
}

void HShaderCodeBuilder::setStacked(bool value)
{
    if (assignChanged(stackedValue, value)) {
        emit stackedChanged();
    }
}

void HShaderCodeBuilder::setNextEffect()
{
    setEffect(nextInCycle(effectValue, LAST_VALUE_EFFECT));
}

void HShaderCodeBuilder::setNextProjection()
{
    setProjection(nextInCycle(projectionValue, LAST_VALUE_PROJECTION));
}

QString HShaderCodeBuilder::build(bool oculusMode, int input) const
{
    const bool yuv = input == YUV_INPUT;
    const bool tiled = input == TILED_INPUT || input == TILE_REQUEST_INPUT;
    QString text;
    text.reserve(8192);
    const auto append = [&text](const char* piece) { text += QLatin1String(piece); };

    if (tiled) {
        append(tiledExtensions);
    }
    append(header);
    append(texCoordsPlain);
    append(uniforms);
    append(tiled ? sphericalHelpersPrecise : sphericalHelpers);
    append(imageRangeUniforms);
    if (yuv) {
        append(yuvSampling);
    }
    if (tiled) {
        append(tiledSampling);
    }
    append(oculusMode ? screenHelpersHeadMounted : screenHelpers);

    switch (projectionValue) {
    case NO_PROJECTION:
        append(projectionFlat);
        break;
    case RECTILINEAR:
        append(projectionRectilinearBegin);
        if (oculusMode) {
            append(projectionRectilinearHeadMountedCorrection);
        }
        append(projectionRectilinearEnd);
        break;
    case LITTLE_PLANET:
        append(projectionLittlePlanet);
        break;
    case MIRROR_BALL:
        append(projectionMirrorBall);
        break;
    case FISHEYE:
    case DOME:
        append(projectionFisheyeBegin);
        append(projectionValue == DOME ? projectionDomeLimit : projectionFisheyeLimit);
        append(projectionFisheyeEnd);
        break;
    default:
        // No p() at all: the text does not compile, and the view draws nothing until the
        // projection changes again.
        break;
    }

    append(mainBegin);
    append(projectionCallBegin);
    append(projectionCallEnd);
    append(yawRangeRemap);
    append(pitchRangeRemap);
    append(eyePlacementFor(stereoModeValue));
    if (stackedValue) {
        append(stackedRemap);
    }

    if (input == TILE_REQUEST_INPUT) {
        append(tileRequest);
        append(mainEnd);
        return text;
    }
    append(yuv || tiled ? samplingYuv : sampling);
    append(outsideIsBlack);
    append(colorMatrix);
    append(vibrance);
    append(hueAndSaturation);
    append(brightnessAndContrast);
    append(effectFor(effectValue));

    append(vignetting);
    append(output);
    append(mainEnd);
    return text;
}
