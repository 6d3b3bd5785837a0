// The OpenGL 3.3 core device: the target is a framebuffer object with a depth
// buffer; batches are streamed through one vertex and one index buffer and
// drawn with the fixed-function program specialised for their state.
#include <epoxy/gl.h>

#include <algorithm>
#include <cstddef>
#include <map>

#include "platform/gl/batching_device.h"
#include "platform/gl/fixed_function_program.h"
#include "platform/gl/gl_context.h"
#include "platform/gl/gl_program_cache.h"
#include "platform/gl/pixel_formats.h"
#include "platform/gl/row_matrix.h"

namespace platform::gl {
namespace {

// Texture units: the stage textures, then their key masks.
constexpr int kMaskUnitBase = kStageCount;
constexpr GLenum kMaxBlend = D3DBLEND_SRCALPHASAT;

class GlTexture final : public TextureBase {
 public:
  using TextureBase::TextureBase;
  ~GlTexture() override { Detach(); }

  GLuint texture = 0;
  GLuint mask = 0;
  std::uint64_t uploaded = 0;
};

GLenum BlendFactor(std::uint32_t d3d) {
  switch (d3d) {
    case D3DBLEND_ZERO:
      return GL_ZERO;
    case D3DBLEND_ONE:
      return GL_ONE;
    case D3DBLEND_SRCCOLOR:
      return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
      return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
      return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
      return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
      return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
      return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
      return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
      return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT:
      return GL_SRC_ALPHA_SATURATE;
  }
  return GL_ONE;
}

GLenum DepthFunc(std::uint32_t d3d) {
  static_assert(D3DCMP_ALWAYS - D3DCMP_NEVER == GL_ALWAYS - GL_NEVER);
  return GL_NEVER + (d3d - D3DCMP_NEVER);  // same order in both APIs
}

GLint Wrap(std::uint32_t d3d) {
  switch (d3d) {
    case D3DTADDRESS_MIRROR:
      return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
      return GL_CLAMP_TO_EDGE;
    default:
      return GL_REPEAT;
  }
}

void SetColour(GLint location, const D3DCOLORVALUE& c) { glUniform4f(location, c.r, c.g, c.b, c.a); }

class GlDevice final : public BatchingDevice {
 public:
  GlDevice(std::unique_ptr<GlContext> context, const DeviceOptions& options, DeviceCaps caps)
      : BatchingDevice(options.width, options.height, options.kind, std::move(caps)),
        context_(std::move(context)) {}

  ~GlDevice() override {
    context_->MakeCurrent();
    ReleaseAllTextures();
    programs_.reset();
    glDeleteSamplers(kStageCount, samplers_);
    glDeleteTextures(1, &white_);
    glDeleteBuffers(1, &vertexBuffer_);
    glDeleteBuffers(1, &indexBuffer_);
    glDeleteVertexArrays(2, vaos_);
    glDeleteFramebuffers(1, &fbo_);
    glDeleteRenderbuffers(2, renderbuffers_);
  }

  bool Open(std::string& error) {
    const int w = TargetWidth(), h = TargetHeight();
    glGenRenderbuffers(2, renderbuffers_);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, w, h);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      error = "the render target cannot be made";
      return false;
    }
    programs_ = std::make_unique<ProgramCache>();
    if (!programs_->Usable(error)) return false;

    glGenBuffers(1, &vertexBuffer_);
    glGenBuffers(1, &indexBuffer_);
    glGenVertexArrays(2, vaos_);
    SetUpLayouts();
    glGenSamplers(kStageCount, samplers_);
    const std::uint8_t white[4] = {255, 255, 255, 255};
    glGenTextures(1, &white_);
    glBindTexture(GL_TEXTURE_2D, white_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // Flat shading takes the first vertex of a triangle, as the original did.
    glProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    // The picture keeps its orientation through the y flip of the target,
    // so screen-clockwise triangles are clockwise to GL too: the front.
    glFrontFace(GL_CW);
    // The target has no alpha for drawing: destination alpha reads 1.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glDepthMask(GL_TRUE);
    glViewport(0, 0, w, h);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    return glGetError() == GL_NO_ERROR || (error = "the device does not start", false);
  }

  bool Present(int scale) override {
    if (!context_->HasWindow()) return false;
    Flush();
    context_->MakeCurrent();
    int dw = 0, dh = 0;
    context_->DrawableSize(dw, dh);
    const int w = TargetWidth(), h = TargetHeight();
    if (scale <= 0) scale = std::max(1, std::min(dw / w, dh / h));
    const int ow = w * scale, oh = h * scale;
    const int x0 = (dw - ow) / 2, y0 = (dh - oh) / 2;
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glBlitFramebuffer(0, 0, w, h, x0, y0, x0 + ow, y0 + oh, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    context_->SwapWindow();
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
    return glGetError() == GL_NO_ERROR;
  }

 protected:
  std::unique_ptr<TextureBase> NewTexture(int width, int height, const DDPIXELFORMAT& format) override {
    context_->MakeCurrent();
    auto t = std::make_unique<GlTexture>(this, width, height, format);
    glGenTextures(1, &t->texture);
    glBindTexture(GL_TEXTURE_2D, t->texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    if (glGetError() != GL_NO_ERROR) {
      glDeleteTextures(1, &t->texture);
      t->texture = 0;
      return nullptr;
    }
    return t;
  }

  void ReleaseTexture(TextureBase& base) override {
    auto& t = static_cast<GlTexture&>(base);
    context_->MakeCurrent();
    glDeleteTextures(1, &t.texture);
    glDeleteTextures(1, &t.mask);
    t.texture = t.mask = 0;
  }

  void SubmitBatch(const DeviceState& state, const Batch& batch) override {
    context_->MakeCurrent();
    std::array<bool, kStageCount> keyed{};
    for (int i = 0; i < kStageCount; ++i) keyed[i] = state.textures[i] && state.textures[i]->GetColorKey();
    const ProgramKey key = KeyFor(state, batch.pretransformed, keyed);
    const ProgramCache::Program* program = programs_->Get(key);
    if (!program) return;
    glUseProgram(program->id);
    ApplyTargetState(state, batch.pretransformed);
    ApplyTextures(state, key);
    SetUniforms(*program, state, batch.pretransformed);

    glBindVertexArray(vaos_[batch.pretransformed ? 0 : 1]);
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    const std::size_t bytes = batch.VertexCount() * sizeof(D3DTLVERTEX);
    const void* data = batch.pretransformed ? static_cast<const void*>(batch.tlVertices.data())
                                            : static_cast<const void*>(batch.vertices.data());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), data, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(batch.indices.size() * sizeof(std::uint32_t)), batch.indices.data(),
                 GL_STREAM_DRAW);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(batch.indices.size()), GL_UNSIGNED_INT, nullptr);
  }

  void ClearTarget(const D3DVIEWPORT7& vp, std::uint32_t flags, D3DCOLOR color, float z) override {
    context_->MakeCurrent();
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glEnable(GL_SCISSOR_TEST);
    glScissor(static_cast<GLint>(vp.dwX), TargetHeight() - static_cast<GLint>(vp.dwY + vp.dwHeight),
              static_cast<GLsizei>(vp.dwWidth), static_cast<GLsizei>(vp.dwHeight));
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
      glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f,
                   1.0f);
      glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
      mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
      glClearDepth(z);
      glDepthMask(GL_TRUE);
      mask |= GL_DEPTH_BUFFER_BIT;
    }
    glClear(mask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_FALSE);
  }

  bool ReadPixels(std::span<std::uint32_t> out) override {
    context_->MakeCurrent();
    const int w = TargetWidth(), h = TargetHeight();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    rows_.resize(out.size());
    // BGRA bytes are 0xAARRGGBB words on this little-endian machine.
    glReadPixels(0, 0, w, h, GL_BGRA, GL_UNSIGNED_INT_8_8_8_8_REV, rows_.data());
    for (int y = 0; y < h; ++y)
      std::copy_n(rows_.begin() + static_cast<std::ptrdiff_t>(h - 1 - y) * w, w,
                  out.begin() + static_cast<std::ptrdiff_t>(y) * w);
    return glGetError() == GL_NO_ERROR;
  }

 private:
  void SetUpLayouts() {
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer_);
    glBindVertexArray(vaos_[0]);
    const auto tl = [](std::size_t offset) { return reinterpret_cast<const void*>(offset); };
    constexpr GLsizei kStride = sizeof(D3DTLVERTEX);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 4, GL_FLOAT, GL_FALSE, kStride, tl(offsetof(D3DTLVERTEX, sx)));
    glEnableVertexAttribArray(kAttribDiffuse);
    glVertexAttribPointer(kAttribDiffuse, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, kStride,
                          tl(offsetof(D3DTLVERTEX, color)));
    glEnableVertexAttribArray(kAttribSpecular);
    glVertexAttribPointer(kAttribSpecular, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, kStride,
                          tl(offsetof(D3DTLVERTEX, specular)));
    glEnableVertexAttribArray(kAttribTexCoord);
    glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, kStride, tl(offsetof(D3DTLVERTEX, tu)));

    glBindVertexArray(vaos_[1]);
    constexpr GLsizei kVStride = sizeof(D3DVERTEX);
    glEnableVertexAttribArray(kAttribPosition);
    glVertexAttribPointer(kAttribPosition, 3, GL_FLOAT, GL_FALSE, kVStride, tl(offsetof(D3DVERTEX, x)));
    glEnableVertexAttribArray(kAttribNormal);
    glVertexAttribPointer(kAttribNormal, 3, GL_FLOAT, GL_FALSE, kVStride, tl(offsetof(D3DVERTEX, nx)));
    glEnableVertexAttribArray(kAttribTexCoord);
    glVertexAttribPointer(kAttribTexCoord, 2, GL_FLOAT, GL_FALSE, kVStride, tl(offsetof(D3DVERTEX, tu)));
    glBindVertexArray(0);
  }

  void ApplyTargetState(const DeviceState& s, bool pretransformed) {
    const RenderStates& r = s.render;
    const D3DVIEWPORT7& vp = s.viewport;
    const int h = TargetHeight();
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    // Pre-transformed positions are target pixels: the viewport only clips.
    if (pretransformed) {
      glViewport(0, 0, TargetWidth(), h);
      glDepthRange(0.0, 1.0);
    } else {
      glViewport(static_cast<GLint>(vp.dwX), h - static_cast<GLint>(vp.dwY + vp.dwHeight),
                 static_cast<GLsizei>(vp.dwWidth), static_cast<GLsizei>(vp.dwHeight));
      glDepthRange(vp.dvMinZ, vp.dvMaxZ);
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(static_cast<GLint>(vp.dwX), h - static_cast<GLint>(vp.dwY + vp.dwHeight),
              static_cast<GLsizei>(vp.dwWidth), static_cast<GLsizei>(vp.dwHeight));
    if (r.zEnable) {
      glEnable(GL_DEPTH_TEST);
      glDepthFunc(DepthFunc(r.zFunc));
    } else {
      glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(r.zEnable && r.zWriteEnable ? GL_TRUE : GL_FALSE);
    if (r.cullMode == D3DCULL_NONE) {
      glDisable(GL_CULL_FACE);
    } else {
      glEnable(GL_CULL_FACE);
      glCullFace(r.cullMode == D3DCULL_CCW ? GL_BACK : GL_FRONT);
    }
    if (r.alphaBlendEnable && r.srcBlend <= kMaxBlend && r.destBlend <= kMaxBlend) {
      glEnable(GL_BLEND);
      glBlendFunc(BlendFactor(r.srcBlend), BlendFactor(r.destBlend));
    } else {
      glDisable(GL_BLEND);
    }
  }

  void Upload(GlTexture& t) {
    if (t.uploaded == t.Version()) return;
    const int w = t.Width(), h = t.Height();
    staging_.resize(static_cast<std::size_t>(w) * h * 4);
    const auto key = t.GetColorKey();
    maskStaging_.resize(key ? static_cast<std::size_t>(w) * h : 0);
    ConvertToRgba8(t.Format(), t.Pixels().data(), t.Pitch(), w, h,
                   key ? std::optional<std::uint32_t>(key->dwColorSpaceLowValue) : std::nullopt,
                   staging_.data(), maskStaging_.data());
    glBindTexture(GL_TEXTURE_2D, t.texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, w, h, GL_RGBA, GL_UNSIGNED_BYTE, staging_.data());
    if (key) {
      if (!t.mask) glGenTextures(1, &t.mask);
      glBindTexture(GL_TEXTURE_2D, t.mask);
      glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, w, h, 0, GL_RED, GL_UNSIGNED_BYTE, maskStaging_.data());
    }
    t.uploaded = t.Version();
  }

  void ApplyTextures(const DeviceState& s, const ProgramKey& key) {
    for (int i = 0; i < kStageCount; ++i) {
      auto* t = static_cast<GlTexture*>(s.textures[i]);
      if (t) Upload(*t);
      const StageState& st = s.stages[i];
      glSamplerParameteri(samplers_[i], GL_TEXTURE_MAG_FILTER,
                          st.magFilter == D3DTFG_LINEAR ? GL_LINEAR : GL_NEAREST);
      glSamplerParameteri(samplers_[i], GL_TEXTURE_MIN_FILTER,
                          st.minFilter == D3DTFN_LINEAR ? GL_LINEAR : GL_NEAREST);
      glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_S, Wrap(st.addressU));
      glSamplerParameteri(samplers_[i], GL_TEXTURE_WRAP_T, Wrap(st.addressV));
      glActiveTexture(GL_TEXTURE0 + i);
      glBindTexture(GL_TEXTURE_2D, t ? t->texture : white_);
      glBindSampler(i, samplers_[i]);
      glActiveTexture(GL_TEXTURE0 + kMaskUnitBase + i);
      glBindTexture(GL_TEXTURE_2D, key.keyed[i] && t ? t->mask : white_);
      glBindSampler(kMaskUnitBase + i, samplers_[i]);
    }
  }

  void SetUniforms(const ProgramCache::Program& p, const DeviceState& s, bool pretransformed) {
    glUniform2f(p.targetSize, static_cast<float>(TargetWidth()), static_cast<float>(TargetHeight()));
    if (pretransformed) return;
    const D3DMATRIX worldView = Multiply(s.world, s.view);
    // Row-major row-vector matrices read column-major are the column-vector
    // matrices GLSL multiplies from the left.
    glUniformMatrix4fv(p.worldView, 1, GL_FALSE, &worldView._11);
    glUniformMatrix4fv(p.projection, 1, GL_FALSE, &s.projection._11);
    const auto inverse = Inverse3x3(worldView);
    glUniformMatrix3fv(p.normalMatrix, 1, GL_TRUE, inverse.data());
    const D3DVECTOR toLight = Normalised(TransformDirection(
        D3DVECTOR{-s.light.dvDirection.x, -s.light.dvDirection.y, -s.light.dvDirection.z}, s.view));
    glUniform3f(p.lightDir, toLight.x, toLight.y, toLight.z);
    SetColour(p.lightDiffuse, s.light.dcvDiffuse);
    SetColour(p.lightSpecular, s.light.dcvSpecular);
    SetColour(p.lightAmbient, s.light.dcvAmbient);
    glUniform1f(p.lightOn, s.lightEnabled ? 1.0f : 0.0f);
    SetColour(p.matDiffuse, s.material.diffuse);
    SetColour(p.matAmbient, s.material.ambient);
    SetColour(p.matSpecular, s.material.specular);
    SetColour(p.matEmissive, s.material.emissive);
    glUniform1f(p.matPower, s.material.power);
    const D3DCOLOR a = s.render.ambient;
    glUniform4f(p.ambient, ((a >> 16) & 0xFF) / 255.0f, ((a >> 8) & 0xFF) / 255.0f, (a & 0xFF) / 255.0f,
                ((a >> 24) & 0xFF) / 255.0f);
  }

  std::unique_ptr<GlContext> context_;
  std::unique_ptr<ProgramCache> programs_;
  GLuint renderbuffers_[2] = {};
  GLuint fbo_ = 0, vertexBuffer_ = 0, indexBuffer_ = 0, white_ = 0;
  GLuint vaos_[2] = {};
  GLuint samplers_[kStageCount] = {};
  std::vector<std::uint8_t> staging_, maskStaging_;
  std::vector<std::uint32_t> rows_;
};

}  // namespace

std::unique_ptr<Device> CreateGlDevice(const DeviceOptions& options, std::string* error) {
  std::string reason;
  auto fail = [&](const std::string& why) -> std::unique_ptr<Device> {
    if (error) *error = why;
    return nullptr;
  };
  if (options.width <= 0 || options.height <= 0) return fail("the target size must be positive");
  auto context = GlContext::Create(options, reason);
  if (!context) return fail(reason);
  if (epoxy_gl_version() < 33) return fail("OpenGL 3.3 is not available");
  GLint maxSize = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
  GLint maxTarget = 0;
  glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxTarget);
  if (options.width > maxTarget || options.height > maxTarget)
    return fail("the target is larger than the driver allows");
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  auto device = std::make_unique<GlDevice>(
      std::move(context), options,
      FullCaps(renderer ? renderer : "OpenGL", static_cast<std::uint32_t>(maxSize)));
  if (!device->Open(reason)) return fail(reason);
  return device;
}

}  // namespace platform::gl
