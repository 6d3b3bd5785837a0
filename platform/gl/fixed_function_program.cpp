#include "platform/gl/fixed_function_program.h"

namespace platform::gl {
namespace {

// Pre-transformed: pixel position to clip space over the whole target (the
// viewport clips through the scissor); depth goes straight to the buffer.
// Untransformed: clip = p x world x view x projection, with the [0, w]
// depth of the row-vector projection moved to GL's [-w, w].
constexpr const char* kVertexBody = R"(
uniform vec2 uTargetSize;
uniform mat4 uWorldView;
uniform mat4 uProjection;
uniform mat3 uNormalMatrix;
uniform vec3 uLightDir;  // towards the light, view space, unit length
uniform vec4 uLightDiffuse, uLightSpecular, uLightAmbient;
uniform float uLightOn;
uniform vec4 uMatDiffuse, uMatAmbient, uMatSpecular, uMatEmissive;
uniform float uMatPower;
uniform vec4 uAmbient;

layout(location = 0) in vec4 aPosition;
layout(location = 1) in vec4 aDiffuse;
layout(location = 2) in vec4 aSpecular;
layout(location = 3) in vec3 aNormal;
layout(location = 4) in vec2 aTexCoord;

SHADE out vec4 vDiffuse;
SHADE out vec4 vSpecular;
out vec2 vTexCoord;

void main() {
  vTexCoord = aTexCoord;
#ifdef PRETRANSFORMED
  float w = aPosition.w > 0.0 ? 1.0 / aPosition.w : 1.0;
  vec2 ndc = vec2(aPosition.x * 2.0 / uTargetSize.x - 1.0, 1.0 - aPosition.y * 2.0 / uTargetSize.y);
  gl_Position = vec4(ndc * w, (aPosition.z * 2.0 - 1.0) * w, w);
  vDiffuse = aDiffuse;
  vSpecular = aSpecular;
#else
  vec4 eye = uWorldView * vec4(aPosition.xyz, 1.0);
  vec4 clip = uProjection * eye;
  clip.z = clip.z * 2.0 - clip.w;
  gl_Position = clip;
#ifdef LIGHTING
  vec3 n = uNormalMatrix * aNormal;
#ifdef NORMALIZE
  n = normalize(n);
#endif
  float d = max(dot(n, uLightDir), 0.0) * uLightOn;
  vec3 c = uMatEmissive.rgb + uAmbient.rgb * uMatAmbient.rgb +
           uLightOn * uLightAmbient.rgb * uMatAmbient.rgb + uLightDiffuse.rgb * uMatDiffuse.rgb * d;
  vDiffuse = vec4(clamp(c, 0.0, 1.0), clamp(uMatDiffuse.a, 0.0, 1.0));
  vec3 s = vec3(0.0);
#ifdef SPECULAR
  if (d > 0.0 && uMatPower > 0.0) {
    vec3 h = normalize(uLightDir + normalize(-eye.xyz));
    s = uLightSpecular.rgb * uMatSpecular.rgb * pow(max(dot(n, h), 0.0), uMatPower);
  }
#endif
  vSpecular = vec4(clamp(s, 0.0, 1.0), 0.0);
#else
  vDiffuse = vec4(1.0);
  vSpecular = vec4(0.0);
#endif
#endif
}
)";

constexpr const char* kFragmentHead = R"(
uniform sampler2D uTexture0, uTexture1, uMask0, uMask1;
SHADE in vec4 vDiffuse;
SHADE in vec4 vSpecular;
in vec2 vTexCoord;
out vec4 fragColor;
)";

std::string Prelude(const ProgramKey& key) {
  std::string s = "#version 330 core\n";
  if (key.pretransformed) s += "#define PRETRANSFORMED\n";
  if (key.lighting) s += "#define LIGHTING\n";
  if (key.specular) s += "#define SPECULAR\n";
  if (key.normalize) s += "#define NORMALIZE\n";
  s += key.flat ? "#define SHADE flat\n" : "#define SHADE smooth\n";
  return s;
}

std::string Arg(std::uint32_t arg, int stage) {
  std::string v;
  switch (arg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
      v = "vDiffuse";
      break;
    case D3DTA_TEXTURE:
      v = stage == 0 ? "t0" : "t1";
      break;
    case D3DTA_SPECULAR:
      v = "vSpecular";
      break;
    default:
      v = "cur";
      break;
  }
  if (arg & D3DTA_ALPHAREPLICATE) v = "vec4(" + v + ".a)";
  if (arg & D3DTA_COMPLEMENT) v = "(vec4(1.0) - " + v + ")";
  return v;
}

std::string Op(std::uint32_t op, const std::string& a, const std::string& b) {
  switch (op) {
    case D3DTOP_SELECTARG1:
      return a;
    case D3DTOP_SELECTARG2:
      return b;
    case D3DTOP_MODULATE:
      return a + " * " + b;
    case D3DTOP_MODULATE2X:
      return a + " * " + b + " * 2.0";
    case D3DTOP_MODULATE4X:
      return a + " * " + b + " * 4.0";
    case D3DTOP_ADD:
      return a + " + " + b;
    case D3DTOP_SUBTRACT:
      return a + " - " + b;
    case D3DTOP_ADDSMOOTH:
      return a + " + " + b + " - " + a + " * " + b;
    case D3DTOP_BLENDDIFFUSEALPHA:
      return "mix(" + b + ", " + a + ", vDiffuse.a)";
    default:
      return "cur";
  }
}

}  // namespace

ProgramKey KeyFor(const DeviceState& state, bool pretransformed, const std::array<bool, kStageCount>& keyed) {
  ProgramKey k;
  k.pretransformed = pretransformed;
  k.lighting = !pretransformed && state.render.lighting != 0;
  k.flat = state.render.shadeMode == D3DSHADE_FLAT;
  k.specular = state.render.specularEnable != 0;
  k.normalize = k.lighting && state.render.normalizeNormals != 0;
  bool enabled = true;
  for (int i = 0; i < kStageCount; ++i) {
    const StageState& s = state.stages[i];
    enabled = enabled && s.colorOp != D3DTOP_DISABLE;
    if (!enabled) break;  // a disabled stage ends the cascade
    k.stages[i] = {s.colorOp, s.colorArg1, s.colorArg2, s.alphaOp, s.alphaArg1, s.alphaArg2};
    k.keyed[i] = keyed[i] && state.render.colorKeyEnable != 0;
  }
  return k;
}

std::string VertexSource(const ProgramKey& key) { return Prelude(key) + kVertexBody; }

std::string FragmentSource(const ProgramKey& key) {
  std::string s = Prelude(key) + kFragmentHead;
  s += "void main() {\n";
  // A fetch per fragment is what software rasterisers pay for most: stage 1's
  // texture is read only when that stage runs.
  s += "  vec4 t0 = texture(uTexture0, vTexCoord);\n";
  s += key.stages[1].colorOp != 0 ? "  vec4 t1 = texture(uTexture1, vTexCoord);\n"
                                  : "  vec4 t1 = vec4(1.0);\n";
  if (key.keyed[0]) s += "  if (texture(uMask0, vTexCoord).r < 0.5) discard;\n";
  if (key.keyed[1]) s += "  if (texture(uMask1, vTexCoord).r < 0.5) discard;\n";
  s += "  vec4 cur = vDiffuse;\n";
  for (int i = 0; i < kStageCount; ++i) {
    const StageOps& st = key.stages[i];
    if (st.colorOp == 0) break;  // not reached: disabled
    // Each stage reads `cur` as the previous stage left it, so both halves
    // are computed before either is stored.
    const std::string colour = Op(st.colorOp, Arg(st.colorArg1, i), Arg(st.colorArg2, i));
    const std::string alpha = st.alphaOp == D3DTOP_DISABLE
                                  ? std::string("cur")
                                  : Op(st.alphaOp, Arg(st.alphaArg1, i), Arg(st.alphaArg2, i));
    s += "  {\n    vec3 c = (" + colour + ").rgb;\n    float a = (" + alpha + ").a;\n";
    s += "    cur = clamp(vec4(c, a), 0.0, 1.0);\n  }\n";
  }
  if (key.specular) s += "  cur.rgb = clamp(cur.rgb + vSpecular.rgb, 0.0, 1.0);\n";
  s += "  fragColor = cur;\n}\n";
  return s;
}

}  // namespace platform::gl
