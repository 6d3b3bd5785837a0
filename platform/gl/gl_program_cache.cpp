#include "platform/gl/gl_program_cache.h"

#include <epoxy/gl.h>

#include <cstdio>

namespace platform::gl {
namespace {

GLuint Compile(GLenum type, const std::string& source, std::string& error) {
  GLuint shader = glCreateShader(type);
  const char* text = source.c_str();
  glShaderSource(shader, 1, &text, nullptr);
  glCompileShader(shader);
  GLint ok = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    error = log;
    glDeleteShader(shader);
    return 0;
  }
  return shader;
}

}  // namespace

ProgramCache::~ProgramCache() {
  for (auto& [key, program] : programs_) glDeleteProgram(program->id);
}

bool ProgramCache::Usable(std::string& error) {
  DeviceState state = DefaultState(1, 1);
  const ProgramKey key = KeyFor(state, true, {});
  auto program = Build(key, error);
  if (!program) return false;
  programs_.emplace(key, std::move(program));
  return true;
}

const ProgramCache::Program* ProgramCache::Get(const ProgramKey& key) {
  if (lastKey_ && *lastKey_ == key) return last_;
  auto it = programs_.find(key);
  if (it == programs_.end()) {
    std::string error;
    auto program = Build(key, error);
    // A failure here is a fault of the generated code; say so once per key
    // and draw nothing with it.
    if (!program) std::fprintf(stderr, "fixed-function program failed: %s\n", error.c_str());
    it = programs_.emplace(key, std::move(program)).first;
  }
  lastKey_ = &it->first;
  last_ = it->second.get();
  return last_;
}

std::unique_ptr<ProgramCache::Program> ProgramCache::Build(const ProgramKey& key, std::string& error) {
  const GLuint vs = Compile(GL_VERTEX_SHADER, VertexSource(key), error);
  if (!vs) return nullptr;
  const GLuint fs = Compile(GL_FRAGMENT_SHADER, FragmentSource(key), error);
  if (!fs) {
    glDeleteShader(vs);
    return nullptr;
  }
  const GLuint id = glCreateProgram();
  glAttachShader(id, vs);
  glAttachShader(id, fs);
  glLinkProgram(id);
  glDeleteShader(vs);
  glDeleteShader(fs);
  GLint ok = 0;
  glGetProgramiv(id, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024] = {};
    glGetProgramInfoLog(id, sizeof log, nullptr, log);
    error = log;
    glDeleteProgram(id);
    return nullptr;
  }
  auto p = std::make_unique<Program>();
  p->id = id;
  const auto at = [&](const char* name) { return glGetUniformLocation(id, name); };
  p->targetSize = at("uTargetSize");
  p->worldView = at("uWorldView");
  p->projection = at("uProjection");
  p->normalMatrix = at("uNormalMatrix");
  p->lightDir = at("uLightDir");
  p->lightDiffuse = at("uLightDiffuse");
  p->lightSpecular = at("uLightSpecular");
  p->lightAmbient = at("uLightAmbient");
  p->lightOn = at("uLightOn");
  p->matDiffuse = at("uMatDiffuse");
  p->matAmbient = at("uMatAmbient");
  p->matSpecular = at("uMatSpecular");
  p->matEmissive = at("uMatEmissive");
  p->matPower = at("uMatPower");
  p->ambient = at("uAmbient");
  glUseProgram(id);
  const char* samplers[] = {"uTexture0", "uTexture1", "uMask0", "uMask1"};
  for (int i = 0; i < 4; ++i) glUniform1i(at(samplers[i]), i);
  return p;
}

}  // namespace platform::gl
