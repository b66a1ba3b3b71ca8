#ifdef GL_ES 
precision mediump float; 
#else 
#   define lowp 
#   define mediump 
#   define highp 
#endif 
 #ifdef GL_ES 
precision highp float; 
#endif 
#define pi 3.141592654
#define halfpi 1.570796327
#define twopi 6.283185308
#define fourpi 12.5663706
#define BlendHardLight(src, dest) (src < 0.5 ? (2.0 * src * dest) : (1.0 - 2.0 * (1.0 - src) * (1.0 - dest)))
#define jjj (vec2(-1.))
#define toTexCoords(a) (vec2(a.x / twopi, a.y / pi))
uniform sampler2D uSampler;uniform mat4 uMatViewInverse;uniform mat4 uColorMatrix;uniform mat4 uMatViewInverseLeft;uniform mat4 uMatViewInverseRight;uniform float uBrightness;uniform float uContrast;uniform float uHue;uniform float uSaturation;uniform float uVibrance;uniform float uFov;uniform float uTime;uniform float uVignettingRadius;uniform float uVignettingAmount;uniform vec2 uViewportSize;uniform vec2 uViewportSizeMin;uniform vec2 uViewportSizeRatio;uniform float uViewportWidth;uniform vec2 uLensCenterLeft;uniform vec2 uLensCenterRight;uniform vec2 uScreenCenterLeft;uniform vec2 uScreenCenterRight;uniform vec2 uScale;uniform vec2 uScaleIn;uniform vec4 uHmdWarpParam;uniform float uScaleCorrector;uniform float uCameraYaw;uniform float uCameraPitch;vec3 toSpherical(in vec3 a){float b,c,d;b=length(a);c=-atan(a.x,a.z);c+=(1.0-step(0.0,c))*twopi;d=acos(a.y/b);return vec3(b,c,d);}
vec3 toCartesian(in vec3 rtp){float r=rtp.x,theta=rtp.y,phi=rtp.z;return vec3(r*sin(theta)*sin(phi),r*cos(theta)*sin(phi),r*cos(phi));}
uniform float uYawMin;uniform float uYawMax;uniform float uPitchMin;uniform float uPitchMax;
vec2 fragCoord() { return vec2(gl_FragCoord.x,gl_FragCoord.y); }
mat4 getMatViewInverse() { return uMatViewInverse; }
vec2 p(in float a, in vec2 fragCoord) {  vec2 screenPt = ((2.0 * fragCoord / uViewportSizeMin) - uViewportSizeRatio);  float scale = a / 2.0;  vec2 tp = screenPt * scale + vec2(pi + uCameraYaw, halfpi - uCameraPitch);  tp.x += twopi*(1.0-step(0.0,tp.x));  tp.x -= twopi*step(twopi,tp.x);  vec2 uv = toTexCoords(tp);  uv.y = 1.0 - uv.y;  uv.x = mod(uv.x, 1.0);  return uv;}void main(){vec2 pixel = fragCoord() / uViewportSize;vec2 a;float qb=.017453293*uFov;highp vec3 color,frag;{ a=p(qb,fragCoord());}float f_x = 1.0 / (abs(uYawMin - uYawMax)/twopi);
float g_x = f_x * (abs(-pi - uYawMin)/twopi);
a.x *= f_x;
a.x -= g_x;
float f_y = 1.0 / (abs(uPitchMin - uPitchMax)/pi);
float g_y = f_y * (abs(halfpi - uPitchMax)/pi);
a.y *= f_y;
a.y -= g_y;
color = texture2D(uSampler,a).rgb;color *= (step(0.0, a.x) * step(0.0, 1.0 - a.x));color *= (step(0.0, a.y) * step(0.0, 1.0 - a.y));frag = vec4(uColorMatrix * vec4(color,1.0)).xyz;float maverage = (frag.r + frag.g + frag.b) / 3.0;float mx = max(frag.r, max(frag.g, frag.b));float amt = (mx - maverage) * (-uVibrance * 3.0);frag = mix(frag, vec3(mx), amt);float wangle = uHue * pi;float ws = sin(wangle);float wc = cos(wangle);vec3 wweights = (vec3(2.0 * wc, -sqrt(3.0) * ws - wc, sqrt(3.0) * ws - wc) + 1.0) / 3.0;float wlen = length(frag);frag = vec3(dot(frag, wweights.xyz), dot(frag, wweights.zxy), dot(frag, wweights.yzx));float waverage = (frag.r + frag.g + frag.b) / 3.0;float satPositive = step(0.0, uSaturation);float mulSat = satPositive * (1.0 - 1.0 / (1.001 - uSaturation)) + (1.0 - satPositive) * (-uSaturation);frag += (vec3(waverage) - frag) * mulSat;frag += uBrightness;frag = (frag - 0.5) / (1.0 - uContrast) + 0.5;vec3 vigtmp = frag * smoothstep(0.8, uVignettingRadius * 0.799, distance(pixel, vec2(0.5, 0.5)) * (uVignettingAmount + uVignettingRadius));gl_FragColor = vec4(vigtmp, 1.0);}